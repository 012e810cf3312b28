#include "shell/app.h"

// The host's own size messages reach GLFW's window procedure, which now handles them.
void FollowPreviewHost(GLFWwindow*) {}
