// Linux stand-ins for the Win32 services the core uses.
#include "platform/platform.h"
#include "platform/resource_table.h"

#include <X11/Xlib.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

extern char** environ;

namespace platform {
namespace detail {
void showNativeMessageBox(const std::string& text, const std::string& title, unsigned) {
  std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
  std::fflush(stderr);
}
}  // namespace detail

namespace {
std::vector<ResourceEntry>& resourceTable() {
  static std::vector<ResourceEntry> table;
  return table;
}
}  // namespace

ResourceRegistration::ResourceRegistration(const ResourceEntry* entries, std::size_t count) {
  resourceTable().insert(resourceTable().end(), entries, entries + count);
}

bool FindResourceData(int id, const char* type, ResourceData* out) {
  *out = ResourceData{};
  if (type == nullptr) return false;
  for (const ResourceEntry& entry : resourceTable()) {
    // Win32 compares resource type names without regard to case.
    if (entry.id == id && strcasecmp(entry.type, type) == 0) {
      out->bytes = entry.bytes;
      out->size = entry.size;
      return true;
    }
  }
  return false;
}

bool AcquireInstanceGuard(const char* name) {
  // An flock dies with its process, so a crashed saver never blocks the next start.
  const char* dir = std::getenv("XDG_RUNTIME_DIR");
  std::string path;
  if (dir != nullptr && *dir != '\0') {
    path = std::string(dir) + "/" + name + ".lock";
  } else {
    path = "/tmp/" + std::string(name) + "-" + std::to_string(getuid()) + ".lock";
  }
  int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return true;  // like a failed CreateEvent: go on unguarded
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    bool held = errno == EWOULDBLOCK;
    close(fd);
    return !held;
  }
  return true;  // fd stays open until the process ends
}

int OsVersionNumber() {
  // Any desktop this build runs on is "version 6.2 or later": take the video-mode size.
  return 62;
}

namespace {
Display* sharedDisplay() {
  static Display* display = XOpenDisplay(nullptr);
  return display;
}

int lastXError = 0;
int recordXError(Display*, XErrorEvent* event) {
  lastXError = event->error_code;
  return 0;
}

bool windowAttributes(NativeWindow window, XWindowAttributes* attributes) {
  Display* display = sharedDisplay();
  if (display == nullptr || window == 0) return false;
  XSync(display, False);
  lastXError = 0;
  auto previous = XSetErrorHandler(recordXError);
  Status ok = XGetWindowAttributes(display, static_cast<Window>(window), attributes);
  XSync(display, False);
  XSetErrorHandler(previous);
  return ok != 0 && lastXError == 0;
}
}  // namespace

bool GetWindowClientSize(NativeWindow window, int* width, int* height) {
  XWindowAttributes attributes;
  if (!windowAttributes(window, &attributes)) {
    *width = 0;
    *height = 0;
    return false;
  }
  *width = attributes.width;
  *height = attributes.height;
  return true;
}

bool IsWindowEnabled(NativeWindow window) {
  XWindowAttributes attributes;
  return windowAttributes(window, &attributes);
}

void DebugOutput(const char* text) {
  std::fputs(text, stderr);
  std::fflush(stderr);
}

bool OpenUrl(const char* url) {
  char opener[] = "xdg-open";
  char* argv[] = {opener, const_cast<char*>(url), nullptr};
  pid_t pid;
  if (posix_spawnp(&pid, opener, nullptr, nullptr, argv, environ) != 0) return false;
  // xdg-open hands the link over and returns; reap it so no zombie is left.
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void SleepMilliseconds(unsigned milliseconds) {
  timespec t{static_cast<time_t>(milliseconds / 1000), static_cast<long>(milliseconds % 1000) * 1000000L};
  while (nanosleep(&t, &t) != 0 && errno == EINTR) {
  }
}

namespace {
void* glLibrary = nullptr;
using GetProcAddressFn = GlProc (*)(const unsigned char*);
GetProcAddressFn glxGetProcAddress = nullptr;
}  // namespace

bool OpenGlLibrary() {
  if (glLibrary == nullptr) glLibrary = dlopen("libGL.so.1", RTLD_NOW | RTLD_GLOBAL);
  if (glLibrary == nullptr) return false;
  glxGetProcAddress = reinterpret_cast<GetProcAddressFn>(dlsym(glLibrary, "glXGetProcAddressARB"));
  return true;
}

GlProc GetGlProcAddress(const char* name) {
  if (glLibrary == nullptr) return nullptr;
  // Exported symbols first: glXGetProcAddress answers non-null even for names no driver has.
  if (void* symbol = dlsym(glLibrary, name)) return reinterpret_cast<GlProc>(symbol);
  return glxGetProcAddress != nullptr ? glxGetProcAddress(reinterpret_cast<const unsigned char*>(name)) : nullptr;
}

void CloseGlLibrary() {
  // The entry points stay valid while GLFW keeps its own reference to libGL.
  if (glLibrary != nullptr) dlclose(glLibrary);
  glLibrary = nullptr;
  glxGetProcAddress = nullptr;
}

}  // namespace platform
