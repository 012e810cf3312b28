// Linux stand-ins for the Win32 services the core uses.
#include "platform/platform.h"
#include "platform/resource_table.h"

#include <X11/Xlib.h>
#include <dlfcn.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
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
  // A name in the abstract socket namespace: it dies with its process, crashed or killed,
  // and leaves no file behind. The runtime folder (or the user) is part of the name, so
  // each user, and each test run with a folder of its own, has its own guards.
  const char* dir = std::getenv("XDG_RUNTIME_DIR");
  std::string scope = (dir != nullptr && *dir != '\0') ? std::string(dir) : "uid" + std::to_string(getuid());
  std::string key = "lumivane:" + scope + ":" + name;
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::size_t room = sizeof address.sun_path - 1;  // the leading NUL marks the abstract namespace
  if (key.size() > room) {
    char digest[32];
    std::snprintf(digest, sizeof digest, "#%016zx", std::hash<std::string>{}(key));
    key = key.substr(0, room - std::strlen(digest)) + digest;
  }
  std::memcpy(address.sun_path + 1, key.data(), key.size());
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return true;  // like a failed CreateEvent: go on unguarded
  const socklen_t length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + key.size());
  if (bind(fd, reinterpret_cast<const sockaddr*>(&address), length) != 0) {
    const bool held = errno == EADDRINUSE;
    close(fd);
    return !held;
  }
  return true;  // the socket stays open until the process ends
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
  // X resource ids have 32 bits at most; Xlib would cut a larger number down to another window.
  if (display == nullptr || window == 0 || window > 0xFFFFFFFFu) return false;
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

void SleepMicroseconds(unsigned microseconds) {
  timespec t{static_cast<time_t>(microseconds / 1000000), static_cast<long>(microseconds % 1000000) * 1000L};
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
