// Holds the main loop to the display's refresh rate where presenting a frame does not wait
// for the vertical blank (software GL, Xvfb, some virtual machines, a preview's child window
// on some drivers). Where the swap did wait, or a frame took the whole period, it adds nothing.
#pragma once

#include <cstdint>
#include <functional>

class FramePacer {
 public:
  using Nanoseconds = std::int64_t;
  struct Clock {
    std::function<Nanoseconds()> now;         // a monotonic time
    std::function<void(Nanoseconds)> sleep;   // sleeps about that long
  };

  FramePacer(int refreshHz, Clock clock);

  // Once per loop iteration, after the frame (or the frames of every window) went out.
  void wait();

  Nanoseconds period() const { return period_; }

  // steady_clock and the platform's sleep.
  static Clock SystemClock();

 private:
  Clock clock_;
  Nanoseconds period_;
  Nanoseconds slack_;
  Nanoseconds next_ = 0;
  bool started_ = false;
};

// The rate to hold the loop to for a reported refresh rate: 60 Hz where none is reported
// (Xvfb reports 0).
int PacingRate(int reportedHz);
