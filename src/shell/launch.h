// Launch modes: what the operating system asked for on the command line.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/platform.h"

enum LaunchMode : std::int32_t {
  Preview = 0,
  Screensaver = 1,
  Configure = 2,
  Default = 3,
};

struct LaunchOptions {
  LaunchMode mode = Default;
  NativeWindow targetWindow = 0;
  bool showAbout = false;
};

// The one set of options of this process, valid for the whole run once parsed.
extern LaunchOptions* gLaunchOptions;

// Parses the command-line text (program name already removed, NUL-terminated).
// A null text reads as empty. When handleOffset is given it receives where the text of the
// handle begins, or kNoHandleText when the handle came from no text at all.
LaunchOptions ParseCommandLine(const char* commandLine, std::size_t* handleOffset = nullptr);
constexpr std::size_t kNoHandleText = static_cast<std::size_t>(-1);

// True when this process may go on; false when a preview or default-mode saver runs already.
bool CheckSingleInstance();

// The name of the system-wide guard.
extern const char* const kSingleInstanceName;

// Owners of the modes, filled by their subsystems.
void RunAboutWindow(NativeInstance instance, int showCommand);
void RunSaver(LaunchOptions* options);

// What the entry point dispatches to; tests put recorders in their place.
struct LaunchHandlers {
  bool (*checkSingleInstance)() = CheckSingleInstance;
  void (*runAboutWindow)(NativeInstance, int) = RunAboutWindow;
  void (*runSaver)(LaunchOptions*) = RunSaver;
};

// The whole entry point: parse, guard, dispatch. Returns the process exit code (always 0).
int LumivaneMain(NativeInstance instance, const char* commandLine, int showCommand,
                 const LaunchHandlers& handlers = LaunchHandlers{});
