/* Loaded with LD_PRELOAD into a GLFW program (the saver or the bare program) to see its
 * start-up and frame rate from outside: it wraps a few GLFW entry points and writes, into
 * the file named by LV_PROBE_FILE, the monotonic time at which each start-up step ended and
 * the running count of buffer swaps. Nothing is printed, so the measured program's own
 * output and timing stay as they are. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/mman.h>
#include <time.h>
#include <unistd.h>

#include "probe_record.h"

static struct ProbeRecord* record;

static unsigned long long nowNs(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return (unsigned long long)t.tv_sec * 1000000000ull + (unsigned long long)t.tv_nsec;
}

static void mark(volatile unsigned long long* slot) {
  if (record != NULL && *slot == 0) *slot = nowNs();
}

/* Runs once every library is loaded and relocated, just before main. */
__attribute__((constructor)) static void openRecord(void) {
  const char* path = getenv("LV_PROBE_FILE");
  if (path == NULL) return;
  int fd = open(path, O_RDWR | O_CLOEXEC);
  if (fd < 0) return;
  void* map = mmap(NULL, sizeof(struct ProbeRecord), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  close(fd);
  if (map == MAP_FAILED) return;
  record = (struct ProbeRecord*)map;
  mark(&record->librariesLoadedNs);
}

/* The wrapped entry point of GLFW itself, looked up on first use. */
#define NEXT(ret, name, params)      \
  static ret(*next) params = NULL;   \
  if (next == NULL) *(void**)(&next) = dlsym(RTLD_NEXT, name)

int glfwInit(void) {
  NEXT(int, "glfwInit", (void));
  int result = next();
  if (record != NULL) mark(&record->glfwReadyNs);
  return result;
}

void* glfwCreateWindow(int width, int height, const char* title, void* monitor, void* share) {
  NEXT(void*, "glfwCreateWindow", (int, int, const char*, void*, void*));
  void* window = next(width, height, title, monitor, share);
  if (record != NULL) mark(&record->windowReadyNs);
  return window;
}

void glfwSetWindowIcon(void* window, int count, const void* images) {
  NEXT(void, "glfwSetWindowIcon", (void*, int, const void*));
  unsigned long long start = nowNs();
  next(window, count, images);
  if (record != NULL) record->iconNs += nowNs() - start;
}

/* Both programs read the clock for the first time just before they draw their first frame. */
double glfwGetTime(void) {
  NEXT(double, "glfwGetTime", (void));
  if (record != NULL) mark(&record->firstClockNs);
  return next();
}

void glfwSwapBuffers(void* window) {
  NEXT(void, "glfwSwapBuffers", (void*));
  next(window);
  if (record == NULL) return;
  mark(&record->firstSwapNs);
  __atomic_add_fetch(&record->swaps, 1, __ATOMIC_RELAXED);
}
