/* LD_PRELOAD library for the saver's Linux build (GLFW is a shared library there): counts
 * the buffer swaps of each window and, with LV_VBLANK_HZ set, makes every swap of a window
 * whose context asked for a swap interval wait for the next tick of one common clock, as a
 * display's vertical blank would (Xvfb and Xorg's dummy driver have none).
 *   LV_VBLANK_HZ=60          the display's refresh rate (unset: swaps never wait)
 *   LV_VBLANK_EVERY_WINDOW=1  wait on every window's swap, whatever its interval: the cost
 *                             of one vertical-blank wait per window
 *   LV_SWAP_LOG=FILE         one line per window and second: "window N: F fps"
 * Windows are numbered in the order of their first swap; window 0 is the primary. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

typedef struct GLFWwindow GLFWwindow;

enum { kMaxWindows = 16 };
static struct {
  GLFWwindow* window;
  int interval;
  long swaps;
  double since;
} windows[kMaxWindows];
static int windowCount;

static double now(void) {
  struct timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return ts.tv_sec + ts.tv_nsec / 1e9;
}

static int slot(GLFWwindow* window) {
  for (int i = 0; i < windowCount; ++i) {
    if (windows[i].window == window) return i;
  }
  if (windowCount == kMaxWindows || window == NULL) return -1;
  windows[windowCount].window = window;
  windows[windowCount].since = now();
  return windowCount++;
}

void glfwSwapInterval(int interval) {
  static void (*real)(int);
  static GLFWwindow* (*current)(void);
  if (real == NULL) real = (void (*)(int))dlsym(RTLD_NEXT, "glfwSwapInterval");
  if (current == NULL) current = (GLFWwindow * (*)(void)) dlsym(RTLD_NEXT, "glfwGetCurrentContext");
  const int i = slot(current());
  if (i >= 0) windows[i].interval = interval;
  real(interval);
}

void glfwSwapBuffers(GLFWwindow* window) {
  static void (*real)(GLFWwindow*);
  if (real == NULL) real = (void (*)(GLFWwindow*))dlsym(RTLD_NEXT, "glfwSwapBuffers");
  real(window);
  const int i = slot(window);
  if (i < 0) return;
  const char* hz = getenv("LV_VBLANK_HZ");
  const char* every = getenv("LV_VBLANK_EVERY_WINDOW");
  if (hz != NULL && atof(hz) > 0 && (windows[i].interval > 0 || (every != NULL && *every == '1'))) {
    const double period = 1.0 / atof(hz);
    const double t = now();
    const double next = ((long long)(t / period) + 1) * period;
    const struct timespec wait = {(time_t)(next - t), (long)((next - t - (time_t)(next - t)) * 1e9)};
    nanosleep(&wait, NULL);
  }
  windows[i].swaps += 1;
  const double t = now();
  if (t - windows[i].since >= 1.0) {
    const char* path = getenv("LV_SWAP_LOG");
    FILE* log = path != NULL ? fopen(path, "a") : NULL;
    if (log != NULL) {
      fprintf(log, "window %d: %.1f fps\n", i, windows[i].swaps / (t - windows[i].since));
      fclose(log);
    }
    windows[i].swaps = 0;
    windows[i].since = t;
  }
}
