#include "test_host.h"

#include <windows.h>

namespace {
LRESULT CALLBACK hostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window, message, wParam, lParam);
}

const wchar_t* hostClass() {
  static const wchar_t* name = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = hostProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = CreateSolidBrush(RGB(255, 0, 255));
    wc.lpszClassName = L"LumivaneTestHost";
    RegisterClassExW(&wc);
    return wc.lpszClassName;
  }();
  return name;
}

HWND asHwnd(NativeWindow window) { return reinterpret_cast<HWND>(window); }
}  // namespace

TestHost::TestHost(int width, int height) {
  RECT rect{0, 0, width, height};
  AdjustWindowRectEx(&rect, WS_OVERLAPPEDWINDOW, FALSE, 0);
  HWND window = CreateWindowExW(0, hostClass(), L"test host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20,
                                rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  handle_ = reinterpret_cast<NativeWindow>(window);
}

TestHost::~TestHost() { destroy(); }

void TestHost::resize(int width, int height) {
  RECT rect{0, 0, width, height};
  AdjustWindowRectEx(&rect, WS_OVERLAPPEDWINDOW, FALSE, 0);
  SetWindowPos(asHwnd(handle_), nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TestHost::destroy() {
  if (IsWindow(asHwnd(handle_))) DestroyWindow(asHwnd(handle_));
}

bool TestHost::intact() const {
  return IsWindow(asHwnd(handle_)) &&
         GetWindowLongPtrW(asHwnd(handle_), GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(hostProc);
}

NativeWindow StaleWindowHandle() {
  HWND window = CreateWindowExW(0, hostClass(), L"gone", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  DestroyWindow(window);
  return reinterpret_cast<NativeWindow>(window);
}

void KeepGlDriverLoaded() {}
