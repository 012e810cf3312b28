// lumivane-preview-host (Windows): a stand-in for the settings dialog's preview pane. Opens a
// window, runs the saver in it with "/p <window handle>" and resizes, disables or destroys
// the window at set times, then reports how the saver ended.
//
//   lumivane-preview-host [--size WxH] [--step SECONDS:COMMAND]... [--report FILE]
//                         (--in-process | SAVER.scr)
//
// COMMAND is "resize WxH", "disable", "enable" or "destroy". With SAVER.scr the saver is a
// process of its own, as Windows starts it. --in-process runs the saver's entry point on the
// host's own thread instead: Wine shows GL only in windows of the drawing process, so this is
// how to watch the preview there. Lines (standard output or FILE): "host <handle>",
// "saver <pid>", "resized WxH", "disabled", "enabled", "destroyed (DestroyWindow took <ms> ms)", "saver exited code <n>
// [<ms> ms after destroy]". The host's exit code is the saver's; 3 when the saver outlives its
// host by 10 s (it is then ended).
#include <windows.h>

#include <chrono>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "shell/launch.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Step {
  double seconds;
  std::string command;
};

HWND host = nullptr;
FILE* report = stdout;
std::vector<Step> steps;
std::size_t nextStep = 0;
Clock::time_point started;
Clock::time_point destroyedAt;
bool destroyed = false;

double millisecondsSince(Clock::time_point t) {
  return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}

void say(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::vfprintf(report, format, args);
  va_end(args);
  std::fputc('\n', report);
  std::fflush(report);
}

bool parseSize(const std::string& text, int* width, int* height) {
  return std::sscanf(text.c_str(), "%dx%d", width, height) == 2 && *width >= 0 && *height >= 0;
}

void resizeClient(int width, int height) {
  RECT rect{0, 0, width, height};
  AdjustWindowRectEx(&rect, static_cast<DWORD>(GetWindowLongW(host, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongW(host, GWL_EXSTYLE)));
  SetWindowPos(host, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void run(const std::string& command) {
  int width, height;
  if (destroyed) return;
  if (command.rfind("resize ", 0) == 0 && parseSize(command.substr(7), &width, &height)) {
    resizeClient(width, height);
    say("resized %dx%d", width, height);
  } else if (command == "disable") {
    EnableWindow(host, FALSE);
    say("disabled");
  } else if (command == "enable") {
    EnableWindow(host, TRUE);
    say("enabled");
  } else if (command == "destroy") {
    // Wine without a window manager takes seconds to take a shown window down; the saver's
    // time counts from the moment the window is gone.
    const Clock::time_point asked = Clock::now();
    destroyed = true;
    DestroyWindow(host);
    destroyedAt = Clock::now();
    say("destroyed (DestroyWindow took %.0f ms)", millisecondsSince(asked));
  } else {
    say("unknown command: %s", command.c_str());
  }
}

void runDueSteps() {
  while (nextStep < steps.size() && millisecondsSince(started) >= steps[nextStep].seconds * 1000.0) {
    run(steps[nextStep++].command);
  }
}

// In-process the host's messages go to GLFW's window procedure, so the steps come from a
// thread timer, which the saver's own event polling dispatches.
void CALLBACK onStepTimer(HWND, UINT, UINT_PTR, DWORD) { runDueSteps(); }

LRESULT CALLBACK hostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(window, message, wParam, lParam);
}

int usage() {
  say("usage: lumivane-preview-host [--size WxH] [--step SECONDS:COMMAND]... [--report FILE] "
      "(--in-process | SAVER.scr)");
  return 2;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  int width = 320, height = 240;
  bool inProcess = false;
  std::string saver;
  for (int i = 1; i < __argc; ++i) {
    std::string arg = __argv[i];
    if (arg == "--size" && i + 1 < __argc) {
      if (!parseSize(__argv[++i], &width, &height)) return usage();
    } else if (arg == "--step" && i + 1 < __argc) {
      std::string step = __argv[++i];
      std::size_t colon = step.find(':');
      if (colon == std::string::npos) return usage();
      steps.push_back({std::atof(step.substr(0, colon).c_str()), step.substr(colon + 1)});
    } else if (arg == "--report" && i + 1 < __argc) {
      FILE* file = std::fopen(__argv[++i], "wb");
      if (file == nullptr) return usage();
      report = file;
    } else if (arg == "--in-process") {
      inProcess = true;
    } else if (saver.empty() && arg.rfind("--", 0) != 0) {
      saver = arg;
    } else {
      return usage();
    }
  }
  if (inProcess == !saver.empty()) return usage();

  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = hostProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  // Magenta where the saver does not draw, so a picture that misses part of the host shows.
  wc.hbrBackground = CreateSolidBrush(RGB(255, 0, 255));
  wc.lpszClassName = L"LumivanePreviewHost";
  RegisterClassExW(&wc);
  RECT rect{0, 0, width, height};
  AdjustWindowRectEx(&rect, WS_OVERLAPPEDWINDOW, FALSE, 0);
  host = CreateWindowExW(0, wc.lpszClassName, L"Lumivane preview host", WS_OVERLAPPEDWINDOW, 40, 40,
                         rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr, instance, nullptr);
  ShowWindow(host, SW_SHOW);
  UpdateWindow(host);
  const std::string handle = std::to_string(reinterpret_cast<std::uintptr_t>(host));
  say("host %s", handle.c_str());
  started = Clock::now();

  if (inProcess) {
    SetTimer(nullptr, 0, 10, onStepTimer);
    say("saver %lu", GetCurrentProcessId());
    const std::string commandLine = "/p " + handle;
    const int code = LumivaneMain(instance, commandLine.c_str(), SW_SHOW);
    if (destroyed) {
      say("saver exited code %d %.0f ms after destroy", code, millisecondsSince(destroyedAt));
    } else {
      say("saver exited code %d", code);
    }
    return code;
  }

  std::string commandLine = "\"" + saver + "\" /p " + handle;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(saver.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    say("cannot start %s", saver.c_str());
    return 2;
  }
  CloseHandle(process.hThread);
  say("saver %lu", process.dwProcessId);
  while (true) {
    if (MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 10, QS_ALLINPUT) == WAIT_OBJECT_0) {
      DWORD code = 0;
      GetExitCodeProcess(process.hProcess, &code);
      if (destroyed) {
        say("saver exited code %lu %.0f ms after destroy", code, millisecondsSince(destroyedAt));
      } else {
        say("saver exited code %lu", code);
      }
      return static_cast<int>(code);
    }
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    runDueSteps();
    if (destroyed && millisecondsSince(destroyedAt) > 10000) {
      say("saver still running 10 s after destroy; ended");
      TerminateProcess(process.hProcess, 3);
      return 3;
    }
  }
}
