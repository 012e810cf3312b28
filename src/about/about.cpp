#include "shell/launch.h"

// The About window arrives with its own subsystem; until then configure mode just ends.
void RunAboutWindow(NativeInstance, int) {}
