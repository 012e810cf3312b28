// The Win32 About window's process-wide handles, reachable by its window procedure and tests.
#pragma once

#include <windows.h>

struct AboutHandles {
  HWND window = nullptr;
  HWND title = nullptr;
  HWND notice = nullptr;
  HWND button = nullptr;
  HBITMAP picture = nullptr;
};
extern AboutHandles gAboutHandles;

LRESULT CALLBACK AboutWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
