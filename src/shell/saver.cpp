#include "shell/app.h"
#include "shell/launch.h"
#include "shell/main_loop.h"
#include "shell/monitors.h"

void RunSaver(LaunchOptions* options) {
  // Lives until the process ends: the callbacks and the loop reach it through the pointer.
  gScreensaverApp = new ScreensaverApp(options);
  if (options->mode != Preview) CoverOtherMonitors(gScreensaverApp->window);
  RunMainLoop();
}
