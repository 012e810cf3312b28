#include "shell/monitors.h"

#include <GLFW/glfw3.h>

#include <algorithm>
#include <vector>

#include "shell/frame.h"
#include "shell/app.h"
#include "shell/gl_loader.h"

namespace {

struct Cover {
  GLFWmonitor* monitor;  // null once GLFW has reported the monitor gone
  GLFWwindow* window;
  bool drawsEffect;  // false: a context of its own that only clears to black
  int width, height;
};

GLFWwindow* gPrimary = nullptr;
std::vector<Cover> gCovers;
bool gMonitorsChanged = false;

// A cover that cannot be had must not stop the saver behind a modal box on the screen.
void IgnoreGlfwError(int, const char*) {}

void OnCoverFramebufferSize(GLFWwindow* window, int width, int height) {
  for (Cover& cover : gCovers) {
    if (cover.window == window) {
      cover.width = width;
      cover.height = height;
    }
  }
}

// Closing any of the saver's windows closes the saver, as closing the primary does.
void OnCoverClose(GLFWwindow*) { glfwSetWindowShouldClose(gPrimary, GLFW_TRUE); }

void OnMonitor(GLFWmonitor* monitor, int event) {
  // The handle is freed after this call and may come back for another monitor: forget it now.
  if (event == GLFW_DISCONNECTED) {
    for (Cover& cover : gCovers) {
      if (cover.monitor == monitor) cover.monitor = nullptr;
    }
  }
  gMonitorsChanged = true;
}

void SetCoverHints() {
  glfwDefaultWindowHints();
  SetContextHints();  // contexts that share objects must be alike
  // A plain borderless window over the monitor rather than a second full-screen window:
  // GLFW minimises a full-screen window that loses the focus, and the covers must neither
  // take the focus from the primary nor give up their place.
  glfwWindowHint(GLFW_DECORATED, GLFW_FALSE);
  glfwWindowHint(GLFW_RESIZABLE, GLFW_FALSE);
  glfwWindowHint(GLFW_FLOATING, GLFW_TRUE);
  glfwWindowHint(GLFW_FOCUSED, GLFW_FALSE);
  glfwWindowHint(GLFW_FOCUS_ON_SHOW, GLFW_FALSE);
  glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);  // shown once it stands on its monitor
}

void ClearToBlack() {
  gl.ClearColor(0, 0, 0, 1);
  gl.Clear(glc::COLOR_BUFFER_BIT);
}

void PlaceOnMonitor(GLFWwindow* window, GLFWmonitor* monitor) {
  const GLFWvidmode* mode = glfwGetVideoMode(monitor);
  if (mode == nullptr) return;
  int x = 0;
  int y = 0;
  glfwGetMonitorPos(monitor, &x, &y);
  glfwSetWindowPos(window, x, y);
  glfwSetWindowSize(window, mode->width, mode->height);
}

void OpenCover(GLFWmonitor* monitor) {
  const GLFWvidmode* mode = glfwGetVideoMode(monitor);
  if (mode == nullptr) return;
  const GLFWerrorfun reporter = glfwSetErrorCallback(IgnoreGlfwError);
  SetCoverHints();
  GLFWwindow* window = glfwCreateWindow(mode->width, mode->height, "Lumivane 3D Screensaver", nullptr, gPrimary);
  const bool drawsEffect = window != nullptr;
  if (window == nullptr) {  // no sharing with the primary here: black is still a cover
    window = glfwCreateWindow(mode->width, mode->height, "Lumivane 3D Screensaver", nullptr, nullptr);
  }
  glfwDefaultWindowHints();
  glfwSetErrorCallback(reporter);
  if (window == nullptr) return;

  PlaceOnMonitor(window, monitor);
  glfwSetFramebufferSizeCallback(window, OnCoverFramebufferSize);
  glfwSetWindowCloseCallback(window, OnCoverClose);
  // The primary's input callbacks, but not its size callback: that one sets the shared size.
  glfwSetKeyCallback(window, OnKey);
  glfwSetMouseButtonCallback(window, OnMouseButton);
  glfwSetCursorPosCallback(window, OnCursorPos);
  glfwSetScrollCallback(window, OnScroll);
  glfwSetInputMode(window, GLFW_CURSOR, GLFW_CURSOR_HIDDEN);

  Cover cover{monitor, window, drawsEffect, 0, 0};
  glfwGetFramebufferSize(window, &cover.width, &cover.height);
  gCovers.push_back(cover);

  glfwMakeContextCurrent(window);
  ApplyFirstGlState();  // the primary's, so that both draw alike
  // Only the primary's swap waits for the vertical blank: one wait per window would divide
  // the frame rate by the number of monitors.
  glfwSwapInterval(0);
  glfwShowWindow(window);
  ClearToBlack();  // covered from the start, before the first frame
  glfwSwapBuffers(window);
  glfwMakeContextCurrent(gPrimary);
}

bool IsConnected(GLFWmonitor* monitor) {
  int count = 0;
  GLFWmonitor** monitors = glfwGetMonitors(&count);
  return monitor != nullptr && monitors != nullptr && std::find(monitors, monitors + count, monitor) != monitors + count;
}

// Brings the covers in line with the monitors there are now.
void FollowMonitors() {
  GLFWmonitor* primaryMonitor = glfwGetWindowMonitor(gPrimary);
  if (primaryMonitor == nullptr) primaryMonitor = glfwGetPrimaryMonitor();
  for (auto it = gCovers.begin(); it != gCovers.end();) {
    if (it->monitor == primaryMonitor || !IsConnected(it->monitor)) {
      glfwDestroyWindow(it->window);
      it = gCovers.erase(it);
    } else {
      PlaceOnMonitor(it->window, it->monitor);  // its mode or place may have changed
      ++it;
    }
  }
  int count = 0;
  GLFWmonitor** monitors = glfwGetMonitors(&count);
  for (int i = 0; i < count; ++i) {
    GLFWmonitor* monitor = monitors[i];
    if (monitor == primaryMonitor) continue;
    const bool covered =
        std::any_of(gCovers.begin(), gCovers.end(), [monitor](const Cover& c) { return c.monitor == monitor; });
    if (!covered) OpenCover(monitor);
  }
  glfwMakeContextCurrent(gPrimary);
}

}  // namespace

void CoverOtherMonitors(GLFWwindow* primary) {
  if (primary == nullptr) return;
  gPrimary = primary;
  glfwSetMonitorCallback(OnMonitor);
  FollowMonitors();
}

void DrawOtherMonitors(GLFWwindow* primary) {
  if (gMonitorsChanged && gPrimary != nullptr) {
    gMonitorsChanged = false;
    FollowMonitors();
  }
  if (gCovers.empty()) return;
  for (const Cover& cover : gCovers) {
    if (cover.width <= 0 || cover.height <= 0) continue;
    glfwMakeContextCurrent(cover.window);
    if (cover.drawsEffect) {
      drawFrameSized(cover.width, cover.height);
    } else {
      ClearToBlack();
    }
    glfwSwapBuffers(cover.window);
  }
  glfwMakeContextCurrent(primary);
}

int CoveredMonitorCount() { return static_cast<int>(gCovers.size()); }
