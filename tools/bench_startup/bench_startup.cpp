// bench_startup: the saver seen from outside, against lumivane-bare (the least GLFW program
// that shows the same picture), in one run with alternating rounds. Each run starts the
// program with the swap probe preloaded and prints, as medians over the rounds:
//   - exec to first frame: from just before the exec to the return of the first buffer swap,
//     with the start-up split into loading the libraries, GLFW's initialisation, the window,
//     the scene (up to the first read of the clock), the icon and the first frame;
//   - frames per second and CPU use (percent of one core) over a stretch after the start;
//   - resident memory 4 s after the start.
// Then the saver in preview mode ("/p <window>") in a window of 320x240 that this tool opens,
// with its frame rate against the primary monitor's refresh rate.
//
//   xvfb-run -s "-screen 0 1280x720x24" build/linux/tools/bench_startup/bench_startup
//       [--rounds N] [--seconds S] [--saver PATH] [--bare PATH] [--probe PATH] [--no-preview]
// The defaults are the programs of the build the tool belongs to.
#include <GLFW/glfw3.h>
#include <X11/Xlib.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "probe_record.h"

extern char** environ;

namespace {

double nowMs() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * 1000.0 + t.tv_nsec / 1.0e6;
}

double nsToMs(unsigned long long ns) { return static_cast<double>(ns) / 1.0e6; }

void sleepMs(double ms) {
  timespec t{static_cast<time_t>(ms / 1000), static_cast<long>((ms - static_cast<time_t>(ms / 1000) * 1000) * 1e6)};
  while (nanosleep(&t, &t) != 0) {
  }
}

double median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// utime + stime of a process, in milliseconds.
double cpuMs(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::size_t close = text.rfind(')');
  if (close == std::string::npos) return 0;
  std::istringstream fields(text.substr(close + 2));
  std::string field;
  unsigned long long utime = 0, stime = 0;
  for (int i = 3; i <= 15 && fields >> field; ++i) {
    if (i == 14) utime = std::stoull(field);
    if (i == 15) stime = std::stoull(field);
  }
  return (utime + stime) * 1000.0 / sysconf(_SC_CLK_TCK);
}

long rssKb(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(in, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
  return 0;
}

struct Run {
  bool ok = false;
  double firstFrameMs = 0;  // exec to the first swap's return
  double librariesMs = 0, glfwMs = 0, windowMs = 0, sceneMs = 0, iconMs = 0, firstDrawMs = 0;
  double fps = 0;
  double cpuPercent = 0;
  long rss = 0;
};

struct Options {
  int rounds = 5;
  double seconds = 3;
  std::string saver, bare, probe;
  bool preview = true;
};

// Starts one program with the probe, measures it and ends it.
Run measure(const Options& options, const std::vector<std::string>& args) {
  Run run;
  char path[] = "/tmp/lumivane-probe-XXXXXX";
  const int fd = mkstemp(path);
  if (fd < 0) return run;
  if (ftruncate(fd, sizeof(ProbeRecord)) != 0) {
    close(fd);
    return run;
  }
  void* map = mmap(nullptr, sizeof(ProbeRecord), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  close(fd);
  if (map == MAP_FAILED) return run;
  auto* record = static_cast<ProbeRecord*>(map);

  std::vector<std::string> env = {"LD_PRELOAD=" + options.probe, std::string("LV_PROBE_FILE=") + path};
  for (char** e = environ; *e != nullptr; ++e)
    if (std::strncmp(*e, "LD_PRELOAD=", 11) != 0 && std::strncmp(*e, "LV_PROBE_FILE=", 14) != 0) env.push_back(*e);
  std::vector<char*> envp, argv;
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  std::vector<std::string> argsCopy = args;
  for (std::string& a : argsCopy) argv.push_back(a.data());
  argv.push_back(nullptr);

  // The model reader's progress lines and any report go nowhere, as they would on a desktop.
  posix_spawn_file_actions_t quiet;
  posix_spawn_file_actions_init(&quiet);
  posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const double start = nowMs();
  const int spawned = posix_spawn(&pid, argv[0], &quiet, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&quiet);
  if (spawned != 0) {
    munmap(map, sizeof(ProbeRecord));
    unlink(path);
    return run;
  }
  while (record->firstSwapNs == 0 && nowMs() - start < 30000) {
    if (waitpid(pid, nullptr, WNOHANG) == pid) {
      pid = 0;
      break;
    }
    sleepMs(0.2);
  }
  if (pid != 0 && record->firstSwapNs != 0) {
    run.ok = true;
    const double first = nsToMs(record->firstSwapNs);
    run.firstFrameMs = first - start;
    run.librariesMs = nsToMs(record->librariesLoadedNs) - start;
    run.glfwMs = nsToMs(record->glfwReadyNs) - nsToMs(record->librariesLoadedNs);
    run.windowMs = nsToMs(record->windowReadyNs) - nsToMs(record->glfwReadyNs);
    run.sceneMs = nsToMs(record->firstClockNs) - nsToMs(record->windowReadyNs);
    run.iconMs = nsToMs(record->iconNs);
    run.firstDrawMs = first - nsToMs(record->firstClockNs);
    // Frame rate and CPU over a stretch that starts a second after the first frame.
    while (nowMs() - first < 1000) sleepMs(5);
    const double t0 = nowMs();
    const unsigned long long swaps0 = record->swaps;
    const double cpu0 = cpuMs(pid);
    sleepMs(options.seconds * 1000);
    const double t1 = nowMs();
    run.fps = (record->swaps - swaps0) * 1000.0 / (t1 - t0);
    run.cpuPercent = (cpuMs(pid) - cpu0) * 100.0 / (t1 - t0);
    while (nowMs() - start < 4000) sleepMs(5);
    run.rss = rssKb(pid);
  }
  if (pid != 0) {
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
  }
  munmap(map, sizeof(ProbeRecord));
  unlink(path);
  return run;
}

struct Series {
  std::vector<Run> runs;
  double med(double Run::*field) const {
    std::vector<double> v;
    for (const Run& r : runs) v.push_back(r.*field);
    return median(v);
  }
  double medRss() const {
    std::vector<double> v;
    for (const Run& r : runs) v.push_back(static_cast<double>(r.rss));
    return median(v);
  }
};

std::string besideSelf(const char* self, const std::string& relative) {
  std::string dir = self;
  const std::size_t slash = dir.rfind('/');
  dir = slash == std::string::npos ? "." : dir.substr(0, slash);
  return dir + "/" + relative;
}

int refreshRate() {
  if (glfwInit() == GLFW_FALSE) return 0;
  GLFWmonitor* monitor = glfwGetPrimaryMonitor();
  const GLFWvidmode* mode = monitor != nullptr ? glfwGetVideoMode(monitor) : nullptr;
  const int rate = mode != nullptr ? mode->refreshRate : 0;
  glfwTerminate();
  return rate;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  options.saver = besideSelf(argv[0], "../../src/lumivane");
  options.bare = besideSelf(argv[0], "lumivane-bare");
  options.probe = besideSelf(argv[0], "liblumivane_swap_probe.so");
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--rounds" && hasValue) {
      options.rounds = std::max(1, std::atoi(argv[++i]));
    } else if (arg == "--seconds" && hasValue) {
      options.seconds = std::max(0.5, std::atof(argv[++i]));
    } else if (arg == "--saver" && hasValue) {
      options.saver = argv[++i];
    } else if (arg == "--bare" && hasValue) {
      options.bare = argv[++i];
    } else if (arg == "--probe" && hasValue) {
      options.probe = argv[++i];
    } else if (arg == "--no-preview") {
      options.preview = false;
    } else {
      std::fprintf(stderr,
                   "usage: bench_startup [--rounds N] [--seconds S] [--saver PATH] [--bare PATH] [--probe PATH] "
                   "[--no-preview]\n");
      return 2;
    }
  }
  if (std::getenv("DISPLAY") == nullptr) {
    std::fprintf(stderr, "bench_startup: no DISPLAY\n");
    return 1;
  }

  Series saver, bare;
  for (int round = 0; round < options.rounds; ++round) {
    // Alternate which program goes first, so neither always meets a warmer cache.
    if (round % 2 == 0) {
      saver.runs.push_back(measure(options, {options.saver, "/s"}));
      bare.runs.push_back(measure(options, {options.bare}));
    } else {
      bare.runs.push_back(measure(options, {options.bare}));
      saver.runs.push_back(measure(options, {options.saver, "/s"}));
    }
    const Run& s = saver.runs.back();
    const Run& b = bare.runs.back();
    std::printf("round %d: saver %s first frame %.1f ms, %.1f fps | bare %s first frame %.1f ms, %.1f fps\n", round + 1,
                s.ok ? "" : "FAILED", s.firstFrameMs, s.fps, b.ok ? "" : "FAILED", b.firstFrameMs, b.fps);
    std::fflush(stdout);
  }

  std::printf("\nmedians of %d rounds (full screen, frame rate over %.1f s)\n", options.rounds, options.seconds);
  std::printf("%-28s %12s %12s %8s\n", "", "saver /s", "bare", "ratio");
  auto row = [&](const char* name, double Run::*field, const char* unit) {
    const double a = saver.med(field), b = bare.med(field);
    std::printf("%-28s %9.1f %-2s %9.1f %-2s %8.2f\n", name, a, unit, b, unit, b != 0 ? a / b : 0.0);
  };
  row("exec to first frame", &Run::firstFrameMs, "ms");
  row("  loading libraries", &Run::librariesMs, "ms");
  row("  GLFW initialisation", &Run::glfwMs, "ms");
  row("  window and context", &Run::windowMs, "ms");
  row("  to the first clock read", &Run::sceneMs, "ms");
  row("  of which the icon", &Run::iconMs, "ms");
  row("  first frame drawn", &Run::firstDrawMs, "ms");
  row("frames per second", &Run::fps, "");
  row("CPU, % of one core", &Run::cpuPercent, "%");
  const double rssSaver = saver.medRss(), rssBare = bare.medRss();
  std::printf("%-28s %9.0f kB %9.0f kB %8.2f\n", "resident memory after 4 s", rssSaver, rssBare,
              rssBare != 0 ? rssSaver / rssBare : 0.0);

  if (options.preview) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return 1;
    const int reported = refreshRate();
    const double refresh = reported > 0 ? reported : 60;
    Series preview;
    for (int round = 0; round < std::max(1, options.rounds / 2); ++round) {
      Window host = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 320, 240, 0, 0, 0);
      XMapWindow(display, host);
      XSync(display, False);
      preview.runs.push_back(measure(options, {options.saver, "/p", std::to_string(host)}));
      XDestroyWindow(display, host);
      XSync(display, False);
    }
    XCloseDisplay(display);
    const double fps = preview.med(&Run::fps);
    std::printf("\npreview 320x240, median of %zu runs: %.1f fps against a refresh of %.0f Hz (%d reported): ratio %.2f;"
                " CPU %.1f %% of one core\n",
                preview.runs.size(), fps, refresh, reported, fps / refresh, preview.med(&Run::cpuPercent));
  }
  return 0;
}
