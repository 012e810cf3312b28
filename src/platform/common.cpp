// Platform pieces that are the same on every system: the test seams.
#include "platform/platform.h"

#include <cstdlib>
#include <utility>

namespace platform {
namespace detail {
MessageBoxSink& messageBoxSink() {
  static MessageBoxSink sink;
  return sink;
}
void showNativeMessageBox(const std::string& text, const std::string& title, unsigned style);
}  // namespace detail

void ShowMessageBox(const std::string& text, const std::string& title, unsigned style) {
  if (detail::messageBoxSink()) {
    detail::messageBoxSink()(text, title, style);
    return;
  }
  detail::showNativeMessageBox(text, title, style);
}

MessageBoxSink SetMessageBoxSink(MessageBoxSink sink) {
  return std::exchange(detail::messageBoxSink(), std::move(sink));
}

namespace {
EndProcessHook& endProcessHook() {
  static EndProcessHook hook;
  return hook;
}
}  // namespace

void EndProcess(int code) {
  if (endProcessHook()) endProcessHook()(code);
  std::exit(code);
}

EndProcessHook SetEndProcessHook(EndProcessHook hook) {
  return std::exchange(endProcessHook(), std::move(hook));
}

namespace {
StartupFailureWait& startupFailureWait() {
  static StartupFailureWait wait;
  return wait;
}
}  // namespace

void EndAfterStartupFailure() {
  if (startupFailureWait()) startupFailureWait()();
  EndProcess(0);
}

StartupFailureWait SetStartupFailureWait(StartupFailureWait wait) {
  return std::exchange(startupFailureWait(), std::move(wait));
}

}  // namespace platform
