// A host window that the test owns, as a settings dialog owns its preview pane.
#pragma once

#include "platform/platform.h"

class TestHost {
 public:
  // A visible top-level window with this client size. X11: made on a connection of its own,
  // like a window of another program.
  TestHost(int width, int height);
  ~TestHost();
  TestHost(const TestHost&) = delete;
  TestHost& operator=(const TestHost&) = delete;

  NativeWindow handle() const { return handle_; }
  void resize(int width, int height);
  void destroy();
  // True while the host exists, on Windows with its own window procedure in place.
  bool intact() const;

 private:
  NativeWindow handle_ = 0;
};

// A handle that named a window a moment ago and names none now.
NativeWindow StaleWindowHandle();

// glfwTerminate unloads the GL driver; the leak checker then cannot name (nor its
// suppressions match) what the driver keeps until the process ends. Holds the loaded driver
// for the rest of the run (X11; nothing to do on Windows).
void KeepGlDriverLoaded();
