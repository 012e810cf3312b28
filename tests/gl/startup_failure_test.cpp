// A start-up that cannot go on says so once and ends: no chain of reports after it.
#include <gtest/gtest.h>

#include <GLFW/glfw3.h>

#include <cstdlib>
#include <string>

#ifndef _WIN32
#include <dlfcn.h>
#endif

#include "shell/app.h"
#include "support/test_support.h"

namespace {

TEST(StartupFailure, GlfwThatDoesNotInitializeIsReportedOnceAfterItsOwnError) {
#ifdef _WIN32
  GTEST_SKIP() << "nothing makes glfwInit fail on Windows";
#else
  // Without a display GLFW's X11 platform cannot start.
  const char* display = std::getenv("DISPLAY");
  const std::string saved = display != nullptr ? display : "";
  // glfwTerminate unloads libGL; the allocations it keeps until the process ends must stay
  // attributable to it for the leak check's suppressions.
  dlopen("libGL.so.1", RTLD_NOW | RTLD_NOLOAD);
  glfwTerminate();
  unsetenv("DISPLAY");
  MessageBoxCapture boxes;
  {
    ProcessEndCatcher ends;
    LaunchOptions options;
    options.mode = Screensaver;
    try {
      ScreensaverApp app(&options);
      ADD_FAILURE() << "start-up went on without GLFW";
    } catch (const ProcessEnded& ended) {
      EXPECT_EQ(ended.code, 0);
    }
  }
  if (display != nullptr) setenv("DISPLAY", saved.c_str(), 1);
  ASSERT_EQ(boxes.boxes.size(), 2u);
  EXPECT_EQ(boxes.boxes[0].title, "Error");
  EXPECT_EQ(boxes.boxes[1].text, "Failed to initialize GLFW");
  EXPECT_EQ(boxes.boxes[1].title, "Debug");
#endif
}

}  // namespace
