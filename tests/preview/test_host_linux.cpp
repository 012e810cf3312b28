#include "test_host.h"

#include <X11/Xlib.h>
#include <dlfcn.h>
#include <link.h>

#include <cstring>

namespace {

Display* hostDisplay() {
  static Display* display = XOpenDisplay(nullptr);
  return display;
}
int ignoreError(Display*, XErrorEvent*) { return 0; }
}  // namespace

TestHost::TestHost(int width, int height) {
  Display* d = hostDisplay();
  if (d == nullptr) return;
  Window w = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, width, height, 0, 0, 0xFF00FF);
  XMapWindow(d, w);
  XSync(d, False);
  handle_ = w;
}

TestHost::~TestHost() { destroy(); }

void TestHost::resize(int width, int height) {
  XResizeWindow(hostDisplay(), handle_, width, height);
  XSync(hostDisplay(), False);
}

void TestHost::destroy() {
  if (handle_ == 0) return;
  XDestroyWindow(hostDisplay(), handle_);
  XSync(hostDisplay(), False);
}

bool TestHost::intact() const {
  Display* d = hostDisplay();
  auto previous = XSetErrorHandler(ignoreError);
  XWindowAttributes attributes;
  bool ok = XGetWindowAttributes(d, handle_, &attributes) != 0;
  XSync(d, False);
  XSetErrorHandler(previous);
  return ok;
}

NativeWindow StaleWindowHandle() {
  Display* d = hostDisplay();
  Window w = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 10, 10, 0, 0, 0);
  XDestroyWindow(d, w);
  XSync(d, False);
  return w;
}

void KeepGlDriverLoaded() {
  dl_iterate_phdr(
      [](dl_phdr_info* info, std::size_t, void*) {
        if (info->dlpi_name != nullptr && std::strstr(info->dlpi_name, "_dri.so") != nullptr) {
          dlopen(info->dlpi_name, RTLD_NOW | RTLD_NOLOAD);  // one more reference, never dropped
        }
        return 0;
      },
      nullptr);
}
