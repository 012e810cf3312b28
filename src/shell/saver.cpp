#include "shell/app.h"
#include "shell/launch.h"
#include "shell/main_loop.h"

void RunSaver(LaunchOptions* options) {
  // Lives until the process ends: the callbacks and the loop reach it through the pointer.
  gScreensaverApp = new ScreensaverApp(options);
  RunMainLoop();
}
