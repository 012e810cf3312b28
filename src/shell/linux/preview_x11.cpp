// Preview on X11: GLFW cannot wrap a foreign X window, so the saver opens a GLFW window of
// its own, reparents it into the host window and keeps it at the host's size. Every GLFW
// call then works on a real GLFW window, and the host's owner sees the frames inside its
// window.
#include <X11/Xlib.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "shell/app.h"

#include <GLFW/glfw3.h>

// GLFW's native access, declared here as glfw3native.h has it: that header would also pull
// in the XRandR and GLX headers, which nothing else here needs.
extern "C" {
Display* glfwGetX11Display(void);
Window glfwGetX11Window(GLFWwindow* window);
XID glfwGetGLXWindow(GLFWwindow* window);
}

namespace {

struct Adoption {
  GLFWwindow* window = nullptr;
  Window host = 0;
  Window child = 0;
  XID drawable = 0;  // GLFW's GLX window, which GL errors name
  // A connection of our own that listens to the host's structure events; GLFW's connection
  // drops events of windows it did not create.
  Display* watch = nullptr;
  int width = 0, height = 0;
  bool lost = false;  // the host (and with it our window) is gone
};

std::vector<Adoption*>& adoptions() {
  // Never destroyed: the error handler may still look at it while the process exits.
  static auto* list = new std::vector<Adoption*>;
  return *list;
}

Adoption* findAdoption(GLFWwindow* window) {
  for (Adoption* a : adoptions()) {
    if (a->window == window) return a;
  }
  return nullptr;
}

bool trapping = false;
bool errorSeen = false;
bool errorReported = false;

// When the host is destroyed, our reparented window goes with it, and the next GL or X call
// on it fails. Xlib's default handler would end the process with code 1; this one notes the
// loss and lets the main loop find the host gone.
int onXError(Display*, XErrorEvent* event) {
  errorSeen = true;
  if (trapping) return 0;  // the request's caller looks at errorSeen
  bool ours = false;
  for (Adoption* a : adoptions()) {
    if (event->resourceid == a->host || event->resourceid == a->child ||
        (a->drawable != 0 && event->resourceid == a->drawable)) {
      a->lost = true;
      ours = true;
    }
  }
  if (!ours && !errorReported) {
    errorReported = true;
    std::fprintf(stderr, "X error %d (request %d) ignored\n", event->error_code, event->request_code);
  }
  return 0;
}

void installErrorHandler() {
  // GLFW swaps in its own handler around some calls and puts back what it found, so once
  // this is in place it stays for the run.
  auto previous = XSetErrorHandler(onXError);
  (void)previous;
}

// Runs the requests and waits for the server's answer; false when any of them failed.
template <typename Requests>
bool trapErrors(Display* display, Requests requests) {
  XSync(display, False);
  errorSeen = false;
  trapping = true;
  auto previous = XSetErrorHandler(onXError);
  bool result = requests();
  XSync(display, False);
  XSetErrorHandler(previous);
  trapping = false;
  return result && !errorSeen;
}

void reportError(int code, const char* description) {
  // GLFW offers no way to raise its error from outside; its callback gets it directly.
  GLFWerrorfun callback = glfwSetErrorCallback(nullptr);
  glfwSetErrorCallback(callback);
  if (callback != nullptr) callback(code, description);
}

void forget(Adoption* adoption) {
  auto& list = adoptions();
  list.erase(std::remove(list.begin(), list.end(), adoption), list.end());
  if (adoption->watch != nullptr) XCloseDisplay(adoption->watch);
  delete adoption;
}

}  // namespace

extern "C" GLFWwindow* glfwAdoptNativeWindow(NativeWindow handle, GLFWwindow* share) {
  Display* display = glfwGetX11Display();  // reports GLFW_NOT_INITIALIZED by itself
  if (display == nullptr) return nullptr;
  const Window host = static_cast<Window>(handle);
  XWindowAttributes attributes{};
  // An input-only window shows nothing (and a stale id may name GLFW's own helper window,
  // which is one).
  // X resource ids have 32 bits at most; Xlib would cut a larger number down to another window.
  if (host == 0 || handle > 0xFFFFFFFFu || !trapErrors(display, [&] { return XGetWindowAttributes(display, host, &attributes) != 0; }) ||
      attributes.c_class != InputOutput) {
    reportError(GLFW_PLATFORM_ERROR, "X11: The preview host is not a window");
    return nullptr;
  }

  // Hidden until it sits inside the host, so no window manager ever frames it.
  glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
  GLFWwindow* window = glfwCreateWindow(std::max(attributes.width, 1), std::max(attributes.height, 1),
                                        "Lumivane 3D Screensaver", nullptr, share);
  glfwWindowHint(GLFW_VISIBLE, GLFW_TRUE);
  if (window == nullptr) return nullptr;

  // Entries left by windows destroyed earlier may carry this address again.
  while (Adoption* stale = findAdoption(window)) forget(stale);
  auto* adoption = new Adoption;
  adoption->window = window;
  adoption->host = host;
  adoption->child = glfwGetX11Window(window);
  // Asked only where there is one: GLFW reports an error for a window without a GLX context.
  if (glfwGetWindowAttrib(window, GLFW_CLIENT_API) != GLFW_NO_API &&
      glfwGetWindowAttrib(window, GLFW_CONTEXT_CREATION_API) == GLFW_NATIVE_CONTEXT_API) {
    adoption->drawable = glfwGetGLXWindow(window);
  }
  adoption->width = attributes.width;
  adoption->height = attributes.height;
  adoptions().push_back(adoption);

  // Mapped by hand: glfwShowWindow would also take the keyboard focus from the host.
  bool ok = trapErrors(display, [&] {
    XReparentWindow(display, adoption->child, host, 0, 0);
    XMapWindow(display, adoption->child);
    return true;
  });
  if (ok) {
    adoption->watch = XOpenDisplay(DisplayString(display));
    ok = adoption->watch != nullptr && trapErrors(adoption->watch, [&] {
           XSelectInput(adoption->watch, host, StructureNotifyMask);
           return true;
         });
  }
  if (!ok) {
    // The host vanished while we settled in.
    forget(adoption);
    trapErrors(display, [&] {
      glfwDestroyWindow(window);
      return true;
    });
    reportError(GLFW_PLATFORM_ERROR, "X11: The preview host went away");
    return nullptr;
  }
  installErrorHandler();
  return window;
}

void FollowPreviewHost(GLFWwindow* window) {
  Adoption* adoption = findAdoption(window);
  if (adoption == nullptr || adoption->lost) return;
  int width = adoption->width, height = adoption->height;
  while (XPending(adoption->watch) > 0) {
    XEvent event;
    XNextEvent(adoption->watch, &event);
    if (event.type == ConfigureNotify && event.xconfigure.window == adoption->host) {
      width = event.xconfigure.width;
      height = event.xconfigure.height;
    } else if (event.type == DestroyNotify && event.xdestroywindow.window == adoption->host) {
      adoption->lost = true;
    }
  }
  if (adoption->lost) return;
  if (width != adoption->width || height != adoption->height) {
    adoption->width = width;
    adoption->height = height;
    // GLFW's ConfigureNotify for our window then brings the size callback.
    glfwSetWindowSize(window, width, height);
  }
}
