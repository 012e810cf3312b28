#include "platform/linux/process_linux.h"

#include <X11/Xlib.h>
#include <signal.h>
#include <unistd.h>

#include <cstring>
#include <initializer_list>

namespace platform {
namespace {

void writeError(const char* text) {
  ssize_t ignored = write(STDERR_FILENO, text, std::strlen(text));
  (void)ignored;
}

extern "C" void onStopSignal(int) {
  // Only async-signal-safe calls here: the signal may land inside Xlib, GL or malloc.
  _exit(0);
}

int onLostDisplay(Display*) {
  // Xlib ends the process itself (with code 1) if this returns.
  writeError("X connection lost\n");
  _exit(0);
}

}  // namespace

void InstallStopHandlers() {
  struct sigaction action {};
  action.sa_handler = onStopSignal;
  sigemptyset(&action.sa_mask);
  for (int signal : {SIGTERM, SIGINT, SIGHUP}) sigaction(signal, &action, nullptr);
  XSetIOErrorHandler(onLostDisplay);
}

}  // namespace platform
