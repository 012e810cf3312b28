// The main loop's pacing, on a simulated clock: each iteration's work (drawing and a swap
// that may or may not have waited for the display) moves the clock, and so does every sleep.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "shell/frame_pacer.h"

namespace {

using Ns = FramePacer::Nanoseconds;
constexpr Ns kMs = 1000000;

struct SimulatedLoop {
  SimulatedLoop(int reportedHz, Ns sleepOvershoot)
      : overshoot(sleepOvershoot),
        pacer(reportedHz, FramePacer::Clock{[this] { return now; },
                                            [this](Ns duration) {
                                              ++sleeps;
                                              now += duration + overshoot;
                                            }}) {}

  // Iterations per second over n iterations after a first one, which only starts the clock.
  double run(int n, const std::function<Ns(int)>& work) {
    now += work(0);
    pacer.wait();
    sleeps = 0;
    const Ns start = now;
    for (int i = 1; i <= n; ++i) {
      now += work(i);
      pacer.wait();
    }
    return n / (static_cast<double>(now - start) / 1e9);
  }

  Ns now = 5 * 1000 * kMs;
  Ns overshoot;
  int sleeps = 0;
  FramePacer pacer;
};

TEST(FramePacer, HoldsTheRefreshRateOnlyWhereTheSwapDidNotWait) {
  struct Case {
    std::string what;
    int reportedHz;
    std::function<Ns(int)> work;  // one iteration's own time
    Ns overshoot;
    double rate;  // iterations per second
    bool sleeps;
  };
  const Case cases[] = {
      {"swap does not wait, no refresh reported (Xvfb)", 0, [](int) { return 2 * kMs; }, 0, 60.0, true},
      {"the same with sleeps that run 1 ms long", 0, [](int) { return 2 * kMs; }, kMs, 60.0, true},
      {"swap does not wait on a 144 Hz monitor", 144, [](int) { return kMs; }, 0, 144.0, true},
      {"frames just shorter than the period", 60, [](int) { return 15 * kMs; }, 0, 60.0, true},
      {"swap waits for a 60 Hz display", 60, [](int) { return 16666667; }, 0, 60.0, false},
      {"vertical blank with 0.45 ms jitter", 60, [](int i) { return i % 2 ? 16216667 : 17116667; }, 0, 60.0, false},
      {"display of 59.94 Hz reported as 59 Hz", 59, [](int) { return 16683350; }, 0, 59.94, false},
      {"frames longer than the period keep their rate", 60, [](int) { return 25 * kMs; }, 0, 40.0, false},
  };
  for (const Case& c : cases) {
    SimulatedLoop loop(c.reportedHz, c.overshoot);
    EXPECT_NEAR(loop.run(600, c.work), c.rate, c.rate * 0.002) << c.what;
    EXPECT_EQ(loop.sleeps > 0, c.sleeps) << c.what;
  }
}

TEST(FramePacer, AfterAStallPacesAgainWithoutABurst) {
  SimulatedLoop loop(60, 0);
  loop.run(10, [](int) { return kMs; });
  loop.now += 2000 * kMs;  // the process was stopped, or one frame took two seconds
  loop.pacer.wait();
  loop.sleeps = 0;
  for (int i = 0; i < 5; ++i) {
    loop.now += kMs;
    loop.pacer.wait();
  }
  EXPECT_EQ(loop.sleeps, 5) << "every iteration after the stall waits out its period";
}

TEST(FramePacer, NoReportedRateMeansSixtyHertz) {
  struct Case {
    int reported, used;
  };
  for (const Case& c : {Case{0, 60}, Case{-1, 60}, Case{60, 60}, Case{75, 75}, Case{144, 144}}) {
    EXPECT_EQ(PacingRate(c.reported), c.used) << c.reported;
    EXPECT_EQ(FramePacer(c.reported, FramePacer::Clock{}).period(), 1000000000 / c.used) << c.reported;
  }
}

}  // namespace
