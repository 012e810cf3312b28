#include "shell/frame_pacer.h"

#include <GLFW/glfw3.h>

#include <algorithm>
#include <chrono>

#include "platform/platform.h"
#include "shell/main_loop.h"

namespace {
constexpr FramePacer::Nanoseconds kSecond = 1000000000;
}  // namespace

FramePacer::FramePacer(int refreshHz, Clock clock)
    : clock_(std::move(clock)),
      period_(kSecond / PacingRate(refreshHz)),
      // An iteration this close to the period was paced by the swap: a driver's vertical
      // blank comes back with some jitter, and a monitor reported as 59 Hz may run at 59.94.
      slack_(period_ / 25) {}

void FramePacer::wait() {
  const Nanoseconds now = clock_.now();
  if (!started_) {
    started_ = true;
    next_ = now + period_;
    return;
  }
  const Nanoseconds early = next_ - now;
  if (early > slack_) {
    clock_.sleep(std::min(early, period_));
    // The next period counts from this one's end, not from when the sleep returned, so
    // sleeping a little long does not lower the rate.
    next_ += period_;
  } else {
    // The swap waited for the display, or the frame took the whole period.
    next_ = now + period_;
  }
}

FramePacer::Clock FramePacer::SystemClock() {
  return Clock{[] {
                 return static_cast<Nanoseconds>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                                     std::chrono::steady_clock::now().time_since_epoch())
                                                     .count());
               },
               [](Nanoseconds duration) {
                 if (duration > 0) platform::SleepMicroseconds(static_cast<unsigned>(duration / 1000));
               }};
}

int PacingRate(int reportedHz) { return reportedHz > 0 ? reportedHz : 60; }

namespace {
// With several monitors the loop draws to all of them in one iteration; the fastest one
// sets the pace, the others' swaps wait where they can.
int HighestRefreshRate() {
  int count = 0;
  GLFWmonitor** monitors = glfwGetMonitors(&count);
  int highest = 0;
  for (int i = 0; i < count; ++i) {
    const GLFWvidmode* mode = glfwGetVideoMode(monitors[i]);
    if (mode != nullptr) highest = std::max(highest, mode->refreshRate);
  }
  return highest;
}
}  // namespace

// The refresh rate is read once, at the first frame.
void PaceFrame() {
  static FramePacer pacer(HighestRefreshRate(), FramePacer::SystemClock());
  pacer.wait();
}
