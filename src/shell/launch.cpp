#include "shell/launch.h"

#include <cctype>
#include <cstddef>
#include <cstdint>

LaunchOptions* gLaunchOptions = nullptr;
const char* const kSingleInstanceName = "K_OPENGL_SCREENSAVER";

namespace {

// Signed decimal as strtol reads it (white space, sign, digits), bounded by the text's own
// NUL and saturating at the range of a handle instead of overflowing.
std::intptr_t readSignedDecimal(const char* text) {
  std::size_t i = 0;
  while (text[i] != '\0' && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (text[i] == '+' || text[i] == '-') {
    negative = text[i] == '-';
    ++i;
  }
  const std::uintmax_t limit = negative ? static_cast<std::uintmax_t>(INTPTR_MAX) + 1 : INTPTR_MAX;
  std::uintmax_t magnitude = 0;
  for (; text[i] >= '0' && text[i] <= '9'; ++i) {
    const std::uintmax_t digit = static_cast<std::uintmax_t>(text[i] - '0');
    if (magnitude > (limit - digit) / 10) {
      magnitude = limit;
      while (text[i + 1] >= '0' && text[i + 1] <= '9') ++i;
      break;
    }
    magnitude = magnitude * 10 + digit;
  }
  if (!negative) return static_cast<std::intptr_t>(magnitude);
  return magnitude == limit ? INTPTR_MIN : -static_cast<std::intptr_t>(magnitude);
}

}  // namespace

LaunchOptions ParseCommandLine(const char* commandLine, std::size_t* handleOffset) {
  std::size_t handleAt = kNoHandleText;
  LaunchOptions options;
  options.showAbout = false;
  options.mode = Default;
  options.targetWindow = 0;
  for (std::size_t i = 0; commandLine != nullptr && commandLine[i] != '\0'; ++i) {
    if (commandLine[i] != '/') continue;
    switch (commandLine[i + 1]) {
      case 'p': options.mode = Preview; break;
      case 's': options.mode = Screensaver; break;
      case 'c': options.mode = Configure; break;
      default: break;
    }
    if (options.mode == Default) continue;
    // The number starts after the switch letter and one separator; never step past the NUL.
    if (commandLine[i + 1] == '\0' || commandLine[i + 2] == '\0') {
      options.targetWindow = 0;
      handleAt = kNoHandleText;
    } else {
      handleAt = i + 3;
      // A negative number becomes the handle with the same bits.
      options.targetWindow = static_cast<NativeWindow>(readSignedDecimal(commandLine + i + 3));
    }
  }
  if (handleOffset != nullptr) *handleOffset = handleAt;
  return options;
}

bool CheckSingleInstance() { return platform::AcquireInstanceGuard(kSingleInstanceName); }

int LumivaneMain(NativeInstance instance, const char* commandLine, int showCommand,
                 const LaunchHandlers& handlers) {
  // Lives for the whole run: the main loop reads it through the process-wide pointer.
  gLaunchOptions = new LaunchOptions(ParseCommandLine(commandLine));
  if (gLaunchOptions->mode == Preview || gLaunchOptions->mode == Default) {
    if (!handlers.checkSingleInstance()) return 0;
  }
  if (gLaunchOptions->mode == Configure || gLaunchOptions->showAbout) {
    handlers.runAboutWindow(instance, showCommand);
    return 0;
  }
  handlers.runSaver(gLaunchOptions);
  return 0;
}
