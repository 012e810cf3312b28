// Test helper: the part of a window manager that answers _NET_REQUEST_FRAME_EXTENTS, so a
// window can learn the frame it would get on a real desktop. It frames nothing itself.
//   x11_frame_wm <left> <right> <top> <bottom>
// Prints "ready" once it answers; ends on SIGTERM or after a minute, and then takes its
// properties off the root window again.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {
volatile std::sig_atomic_t stopping = 0;
void stop(int) { stopping = 1; }
}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: %s <left> <right> <top> <bottom>\n", argv[0]);
    return 2;
  }
  long extents[4];
  for (int i = 0; i < 4; ++i) extents[i] = std::strtol(argv[i + 1], nullptr, 10);
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "no display\n");
    return 1;
  }
  std::signal(SIGTERM, stop);
  std::signal(SIGINT, stop);
  const Window root = DefaultRootWindow(display);
  const Atom checkAtom = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
  const Atom supportedAtom = XInternAtom(display, "_NET_SUPPORTED", False);
  const Atom requestAtom = XInternAtom(display, "_NET_REQUEST_FRAME_EXTENTS", False);
  const Atom extentsAtom = XInternAtom(display, "_NET_FRAME_EXTENTS", False);

  const Window check = XCreateSimpleWindow(display, root, -10, -10, 1, 1, 0, 0, 0);
  XChangeProperty(display, check, checkAtom, XA_WINDOW, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&check), 1);
  XChangeProperty(display, root, checkAtom, XA_WINDOW, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&check), 1);
  XChangeProperty(display, root, supportedAtom, XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&requestAtom), 1);
  XSelectInput(display, root, SubstructureNotifyMask);
  XSync(display, False);
  std::printf("ready\n");
  std::fflush(stdout);

  const std::time_t end = std::time(nullptr) + 60;
  while (!stopping && std::time(nullptr) < end) {
    while (XPending(display) > 0) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type == ClientMessage && event.xclient.message_type == requestAtom) {
        XChangeProperty(display, event.xclient.window, extentsAtom, XA_CARDINAL, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(extents), 4);
        XFlush(display);
      }
    }
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    poll(&connection, 1, 100);
  }
  XDeleteProperty(display, root, supportedAtom);
  XDeleteProperty(display, root, checkAtom);
  XDestroyWindow(display, check);
  XCloseDisplay(display);
  return 0;
}
