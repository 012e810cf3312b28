#include "shell/main_loop.h"

#include <GLFW/glfw3.h>

#include "platform/platform.h"
#include "shell/frame.h"
#include "shell/app.h"
#include "shell/monitors.h"

void RunMainLoop() {
  setupScene();
  GLFWwindow* window = gScreensaverApp->window;
  const LaunchOptions* options = gLaunchOptions;
  bool running = true;
  while (true) {
    advanceFrame();
    glfwSwapBuffers(window);  // waits for the vertical blank, where the display has one
    DrawOtherMonitors(window);
    PaceFrame();              // where it did not, holds the display's refresh rate
    glfwPollEvents();         // a key or a button ends the process from in here
    running = running && glfwGetKey(window, GLFW_KEY_ESCAPE) == GLFW_RELEASE;
    running = running && glfwWindowShouldClose(window) != GLFW_TRUE;
    if (options->mode == Preview) {
      FollowPreviewHost(window);
      if (!platform::IsWindowEnabled(options->targetWindow)) break;
    }
    if (!running) break;
  }
}
