// The small set of operating-system services the core needs. Windows gets the real
// Win32 calls; Linux gets stand-ins of our own with the same results.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

// A native window: an HWND on Windows, an X11 window id on Linux.
using NativeWindow = std::uintptr_t;
// The module instance handed to the entry point (HINSTANCE on Windows, unused on Linux).
using NativeInstance = void*;

namespace platform {

constexpr unsigned kIconInformation = 0x40;  // MB_ICONINFORMATION
constexpr unsigned kIconExclamation = 0x30;  // MB_ICONEXCLAMATION

// A modal box with no owner window. On Linux: one line "Title: text" on standard error.
void ShowMessageBox(const std::string& text, const std::string& title, unsigned style);

// Tests divert boxes here (a real box would wait for a click). Returns the previous sink;
// an empty sink restores the real box.
using MessageBoxSink = std::function<void(const std::string& text, const std::string& title, unsigned style)>;
MessageBoxSink SetMessageBoxSink(MessageBoxSink sink);

// Bytes of a resource embedded in the executable, found by integer id and type name.
struct ResourceData {
  const unsigned char* bytes = nullptr;
  std::size_t size = 0;
};
bool FindResourceData(int id, const char* type, ResourceData* out);

// System-wide guard by name. True when this process now holds it, false when another
// process (or an earlier call in this one) already does. The guard lives until the
// process ends, crashed or not.
bool AcquireInstanceGuard(const char* name);

// Major version times 10 plus minor version, as GetVersion reports it.
int OsVersionNumber();

// Client-area size of a window; false (and 0 x 0) when the handle names no window.
bool GetWindowClientSize(NativeWindow window, int* width, int* height);
// Windows: IsWindowEnabled. X11: the window still exists.
bool IsWindowEnabled(NativeWindow window);

void DebugOutput(const char* text);
// Opens a link with the desktop's handler; false when that could not be started.
bool OpenUrl(const char* url);
void SleepMilliseconds(unsigned milliseconds);
// For the frame pacing: as close to the given time as the system's timer allows.
void SleepMicroseconds(unsigned microseconds);

// The system's OpenGL library and its entry points.
using GlProc = void (*)();
bool OpenGlLibrary();
GlProc GetGlProcAddress(const char* name);
void CloseGlLibrary();

// Ends the process at once with the given code. Tests install a hook that throws instead;
// a hook that returns still ends the process.
[[noreturn]] void EndProcess(int code);
using EndProcessHook = std::function<void(int code)>;
EndProcessHook SetEndProcessHook(EndProcessHook hook);

// A start-up failure has been reported: runs the wait that this run asked for, if any, and
// ends the process with code 0. A run that a screensaver daemon started in its own window
// waits there until it is stopped or the window goes: exiting at once would only have the
// daemon start it again, over and over.
[[noreturn]] void EndAfterStartupFailure();
using StartupFailureWait = std::function<void()>;
StartupFailureWait SetStartupFailureWait(StartupFailureWait wait);

}  // namespace platform
