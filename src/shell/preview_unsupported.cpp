#include "shell/app.h"

// No preview attachment yet: the caller reports "Failed to open window" and ends cleanly.
GLFWwindow* glfwAdoptNativeWindow(NativeWindow, GLFWwindow*) { return nullptr; }
