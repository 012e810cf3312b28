// Seams shared by the tests: captured message boxes and a process end that can be caught.
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"

struct CapturedBox {
  std::string text;
  std::string title;
  unsigned style;
};

// Thrown instead of ending the process while a ProcessEndCatcher is alive.
struct ProcessEnded {
  int code;
};

// Collects message boxes for its lifetime instead of showing them.
class MessageBoxCapture {
 public:
  MessageBoxCapture() {
    previous_ = platform::SetMessageBoxSink(
        [this](const std::string& text, const std::string& title, unsigned style) {
          boxes.push_back({text, title, style});
        });
  }
  ~MessageBoxCapture() { platform::SetMessageBoxSink(previous_); }
  MessageBoxCapture(const MessageBoxCapture&) = delete;
  MessageBoxCapture& operator=(const MessageBoxCapture&) = delete;

  std::vector<CapturedBox> boxes;

 private:
  platform::MessageBoxSink previous_;
};

// Turns a process end into a ProcessEnded exception for its lifetime.
class ProcessEndCatcher {
 public:
  ProcessEndCatcher() {
    previous_ = platform::SetEndProcessHook([](int code) { throw ProcessEnded{code}; });
  }
  ~ProcessEndCatcher() { platform::SetEndProcessHook(previous_); }
  ProcessEndCatcher(const ProcessEndCatcher&) = delete;
  ProcessEndCatcher& operator=(const ProcessEndCatcher&) = delete;

 private:
  platform::EndProcessHook previous_;
};
