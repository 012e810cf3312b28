/* The window layer the preview adds to GLFW on Windows. */
#ifndef LUMIVANE_GLFW_ADOPT_WIN32_H
#define LUMIVANE_GLFW_ADOPT_WIN32_H

#include <stdint.h>
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

struct GLFWwindow;

/* Wraps the native window in a GLFW window record, gives its messages to GLFW's window
   procedure and creates the context on it by the hinted creation API. Null on failure,
   reported through the GLFW error callback. */
struct GLFWwindow* glfwAdoptNativeWindow(uintptr_t window, struct GLFWwindow* share);

/* The two fields the layer keeps beside an adopted record: GLFW_TRUE for a window that
   glfwAdoptNativeWindow made (its procedure before the adoption in *savedWindowProc),
   GLFW_FALSE for any other window. */
int glfwGetAdoptedWindowWin32(struct GLFWwindow* window, WNDPROC* savedWindowProc);

#ifdef __cplusplus
}
#endif

#endif
