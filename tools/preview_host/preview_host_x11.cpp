// lumivane-preview-host (X11): a stand-in for a settings dialog's preview pane. Opens a
// window, starts the saver in it with "/p <window id>" and resizes or destroys the window on
// command, then reports how the saver ended.
//
//   lumivane-preview-host [--size WxH] [--step SECONDS:COMMAND]... [--stdin]
//                         [--xscreensaver | --root | --window-id] [--] SAVER [ARGS...]
//
// COMMAND is "resize WxH" or "destroy"; --step runs one at a time after the start, --stdin
// reads them line by line. How the window is handed over: "/p <id>" by default;
// --xscreensaver passes it in XSCREENSAVER_WINDOW (hex) with "/p" alone; --root passes it
// there with "--root", as the xscreensaver daemon starts its hacks; --window-id appends
// "--window-id 0x<id>" and sets the variable too, as xscreensaver's settings dialog does. Lines on standard output: "host <id>", "saver <pid>",
// "resized WxH", "destroyed", "saver exited code <n> [<ms> ms after destroy]". The host's exit
// code is the saver's; 3 when the saver outlives its host by 10 s (it is then killed).
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

struct Step {
  double seconds;
  std::string command;
};

double millisecondsSince(Clock::time_point t) {
  return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}

bool parseSize(const std::string& text, int* width, int* height) {
  return std::sscanf(text.c_str(), "%dx%d", width, height) == 2 && *width > 0 && *height > 0;
}

int usage() {
  std::fprintf(stderr,
               "usage: lumivane-preview-host [--size WxH] [--step SECONDS:COMMAND]... [--stdin] "
               "[--xscreensaver | --root | --window-id] [--] SAVER [ARGS...]\n"
               "  COMMAND: \"resize WxH\" or \"destroy\"\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  int width = 320, height = 240;
  std::vector<Step> steps;
  bool fromStdin = false;
  std::string handOver = "/p";
  int i = 1;
  for (; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--size" && i + 1 < argc) {
      if (!parseSize(argv[++i], &width, &height)) return usage();
    } else if (arg == "--step" && i + 1 < argc) {
      std::string step = argv[++i];
      std::size_t colon = step.find(':');
      if (colon == std::string::npos) return usage();
      steps.push_back({std::atof(step.substr(0, colon).c_str()), step.substr(colon + 1)});
    } else if (arg == "--stdin") {
      fromStdin = true;
    } else if (arg == "--xscreensaver" || arg == "--root" || arg == "--window-id") {
      handOver = arg;
    } else if (arg == "--") {
      ++i;
      break;
    } else if (arg.rfind("--", 0) == 0) {
      return usage();
    } else {
      break;
    }
  }
  if (i >= argc) return usage();

  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "cannot open display\n");
    return 2;
  }
  const int screen = DefaultScreen(display);
  // Magenta where the saver does not draw, so a picture that misses part of the host shows.
  Window host = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, width, height, 0, 0, 0xFF00FF);
  XStoreName(display, host, "Lumivane preview host");
  XMapWindow(display, host);
  XSync(display, False);
  std::printf("host %lu\n", host);
  std::fflush(stdout);

  std::vector<std::string> args(argv + i, argv + argc);
  std::vector<std::string> environment;
  for (char** e = environ; *e != nullptr; ++e) {
    if (std::strncmp(*e, "XSCREENSAVER_WINDOW=", 20) != 0) environment.emplace_back(*e);
  }
  char hex[32];
  std::snprintf(hex, sizeof hex, "0x%lx", host);
  if (handOver == "/p") {
    args.emplace_back("/p");
    args.emplace_back(std::to_string(host));
  } else {
    environment.emplace_back(std::string("XSCREENSAVER_WINDOW=") + hex);
    if (handOver == "--xscreensaver") args.emplace_back("/p");
    if (handOver == "--root") args.emplace_back("--root");
    if (handOver == "--window-id") {
      args.emplace_back("--window-id");
      args.emplace_back(hex);
    }
  }
  std::vector<char*> argvOut, envOut;
  for (auto& a : args) argvOut.push_back(a.data());
  argvOut.push_back(nullptr);
  for (auto& e : environment) envOut.push_back(e.data());
  envOut.push_back(nullptr);
  pid_t saver;
  if (posix_spawn(&saver, argvOut[0], nullptr, nullptr, argvOut.data(), envOut.data()) != 0) {
    std::fprintf(stderr, "cannot start %s\n", argvOut[0]);
    return 2;
  }
  std::printf("saver %d\n", static_cast<int>(saver));
  std::fflush(stdout);

  const Clock::time_point started = Clock::now();
  Clock::time_point destroyedAt{};
  bool destroyed = false;
  std::size_t nextStep = 0;
  std::string input;
  auto run = [&](const std::string& command) {
    int w, h;
    if (command.rfind("resize ", 0) == 0 && parseSize(command.substr(7), &w, &h) && !destroyed) {
      XResizeWindow(display, host, w, h);
      XSync(display, False);
      std::printf("resized %dx%d\n", w, h);
    } else if (command == "destroy" && !destroyed) {
      XDestroyWindow(display, host);
      XSync(display, False);
      destroyed = true;
      destroyedAt = Clock::now();
      std::printf("destroyed\n");
    } else if (!command.empty()) {
      std::fprintf(stderr, "unknown command: %s\n", command.c_str());
    }
    std::fflush(stdout);
  };

  while (true) {
    int status = 0;
    if (waitpid(saver, &status, WNOHANG) == saver) {
      const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      if (destroyed) {
        std::printf("saver exited code %d %.0f ms after destroy\n", code, millisecondsSince(destroyedAt));
      } else {
        std::printf("saver exited code %d\n", code);
      }
      std::fflush(stdout);
      return code;
    }
    if (destroyed && millisecondsSince(destroyedAt) > 10000) {
      std::printf("saver still running 10 s after destroy; killed\n");
      std::fflush(stdout);
      kill(saver, SIGKILL);
      waitpid(saver, &status, 0);
      return 3;
    }
    while (nextStep < steps.size() && millisecondsSince(started) >= steps[nextStep].seconds * 1000.0) {
      run(steps[nextStep++].command);
    }
    while (XPending(display) > 0) {
      XEvent event;
      XNextEvent(display, &event);
    }
    pollfd fds[2] = {{ConnectionNumber(display), POLLIN, 0}, {0, POLLIN, 0}};
    const int count = fromStdin ? 2 : 1;
    if (poll(fds, count, 10) > 0 && fromStdin && (fds[1].revents & (POLLIN | POLLHUP))) {
      char buffer[256];
      ssize_t n = read(0, buffer, sizeof buffer);
      if (n <= 0) {
        fromStdin = false;
      } else {
        input.append(buffer, static_cast<std::size_t>(n));
        std::size_t end;
        while ((end = input.find('\n')) != std::string::npos) {
          run(input.substr(0, end));
          input.erase(0, end + 1);
        }
      }
    }
  }
}
