// The real Win32 services behind the platform interface.
#include "platform/platform.h"
#include "platform/win32/resources_win32.h"

#include <windows.h>
#include <mmsystem.h>
#include <shellapi.h>

namespace platform {
namespace detail {
void showNativeMessageBox(const std::string& text, const std::string& title, unsigned style) {
  MessageBoxA(nullptr, text.c_str(), title.c_str(), style);
}
}  // namespace detail

bool FindResourceData(int id, const char* type, ResourceData* out) {
  return FindNamedResourceData(MAKEINTRESOURCEA(id), type, out);
}

bool FindNamedResourceData(const char* name, const char* type, ResourceData* out) {
  *out = ResourceData{};
  if (type == nullptr) return false;
  HRSRC info = FindResourceA(nullptr, name, type);
  if (info == nullptr) return false;
  HGLOBAL handle = LoadResource(nullptr, info);
  if (handle == nullptr) return false;
  const void* bytes = LockResource(handle);
  if (bytes == nullptr) return false;
  out->bytes = static_cast<const unsigned char*>(bytes);
  out->size = SizeofResource(nullptr, info);
  return true;
}

bool AcquireInstanceGuard(const char* name) {
  wchar_t wideName[MAX_PATH];
  if (MultiByteToWideChar(CP_ACP, 0, name, -1, wideName, MAX_PATH) == 0) return true;
  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, wideName);
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(event);
    return false;
  }
  return true;  // the handle stays open until the process ends
}

int OsVersionNumber() {
  DWORD version = GetVersion();
  return static_cast<int>(LOBYTE(LOWORD(version))) * 10 + static_cast<int>(HIBYTE(LOWORD(version)));
}

bool GetWindowClientSize(NativeWindow window, int* width, int* height) {
  RECT rect{};
  if (!GetClientRect(reinterpret_cast<HWND>(window), &rect)) {
    *width = 0;
    *height = 0;
    return false;
  }
  *width = rect.right - rect.left;
  *height = rect.bottom - rect.top;
  return true;
}

bool IsWindowEnabled(NativeWindow window) { return ::IsWindowEnabled(reinterpret_cast<HWND>(window)) != FALSE; }

void DebugOutput(const char* text) { OutputDebugStringA(text); }

bool OpenUrl(const char* url) {
  HINSTANCE result = ShellExecuteA(nullptr, "open", url, nullptr, nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

void SleepMilliseconds(unsigned milliseconds) { Sleep(milliseconds); }

void SleepMicroseconds(unsigned microseconds) {
  // Sleep counts in scheduler ticks of 15.6 ms by default; ask for 1 ms ticks once, for the
  // rest of the process, so a frame's remaining milliseconds are slept and not rounded up
  // to a whole tick.
  static const bool fineTicks = timeBeginPeriod(1) == TIMERR_NOERROR;
  (void)fineTicks;
  Sleep((microseconds + 500) / 1000);
}

namespace {
HMODULE glLibrary = nullptr;
}

bool OpenGlLibrary() {
  if (glLibrary == nullptr) glLibrary = LoadLibraryA("opengl32.dll");
  return glLibrary != nullptr;
}

GlProc GetGlProcAddress(const char* name) {
  PROC proc = wglGetProcAddress(name);
  // Some drivers answer small sentinel values instead of null for unknown names.
  const INT_PTR value = reinterpret_cast<INT_PTR>(proc);
  if (value >= -1 && value <= 3) proc = nullptr;
  if (proc == nullptr && glLibrary != nullptr) proc = GetProcAddress(glLibrary, name);
  return reinterpret_cast<GlProc>(proc);
}

void CloseGlLibrary() {
  if (glLibrary != nullptr) FreeLibrary(glLibrary);
  glLibrary = nullptr;
}

}  // namespace platform
