#include "shell/launch.h"

// The drawing modes arrive with the GL window; until then there is nothing to show.
void RunSaver(LaunchOptions*) {}
