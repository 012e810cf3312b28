// The frame a window over another monitor shows: drawn through a second context that
// shares the primary's program and buffers, at that window's own size, while the primary's
// shared drawing size, frame counter and next frame stay its own.
#include <gtest/gtest.h>

#include <GLFW/glfw3.h>

#include <algorithm>
#include <cstdio>

#include "common/gl_window.h"
#include "shell/frame.h"
#include "shell/app.h"
#include "support/effect_reference.h"

namespace {

void ExpectFormula(const std::vector<std::uint8_t>& actual, int width, int height, float time) {
  const auto expected = effect::referenceImage(width, height, time);
  ASSERT_EQ(actual.size(), expected.size());
  const effect::PictureDifference d = effect::comparePictures(actual, expected);
  std::printf("%dx%d t=%.2f: largest channel difference %d, %.4f%% beyond 2\n", width, height, time, d.largest,
              100.0 * d.shareBeyondTwo);
  EXPECT_LE(d.shareBeyondTwo, effect::kMaxShareBeyondTwo) << width << "x" << height << " at " << time;
  EXPECT_LE(d.largest, effect::kMaxChannelDifference) << width << "x" << height << " at " << time;
}

TEST(OtherMonitorFrame, DrawsAtItsOwnSizeThroughASharedContext) {
  constexpr int kWidth = 200, kHeight = 150;       // the primary
  constexpr int kOtherWidth = 173, kOtherHeight = 91;  // another monitor of another shape
  GlWindow primary(kWidth, kHeight);
  ASSERT_TRUE(primary.ok()) << "no GL window (is DISPLAY set?)";
  glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 2);
  glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 0);
  glfwWindowHint(GLFW_CONTEXT_ROBUSTNESS, GLFW_LOSE_CONTEXT_ON_RESET);
  glfwWindowHint(GLFW_RESIZABLE, GLFW_FALSE);
  GLFWwindow* other = glfwCreateWindow(kOtherWidth, kOtherHeight, "lumivane other monitor", nullptr, primary.handle());
  ASSERT_NE(other, nullptr);

  // Before the scene exists the other monitor is still covered, in black.
  glfwMakeContextCurrent(other);
  drawFrameSized(kOtherWidth, kOtherHeight);
  const auto black = ReadBackBuffer(kOtherWidth, kOtherHeight);
  EXPECT_TRUE(std::all_of(black.begin(), black.end(), [](std::uint8_t v) { return v == 0; }));

  primary.makeCurrent();
  setupScene();
  for (float time : {1.7f, 400.25f}) {
    advanceFrameAt(time);
    const std::int32_t frames = gFrame.frameCounter;
    glfwMakeContextCurrent(other);
    drawFrameSized(kOtherWidth, kOtherHeight);
    ExpectFormula(ReadBackBuffer(kOtherWidth, kOtherHeight), kOtherWidth, kOtherHeight, time);
    EXPECT_EQ(WindowWidth, kWidth);
    EXPECT_EQ(WindowHeight, kHeight);
    EXPECT_FLOAT_EQ(AspectRatio, float(kWidth) / float(kHeight));
    EXPECT_EQ(gFrame.frameCounter, frames);
    EXPECT_FLOAT_EQ(gFrame.scene->getViewportWidth(), float(kWidth));
    EXPECT_FLOAT_EQ(gFrame.scene->getViewportHeight(), float(kHeight));
    glfwMakeContextCurrent(primary.handle());
  }
  advanceFrameAt(12.3f);
  ExpectFormula(primary.readBackBuffer(), kWidth, kHeight, 12.3f);
  TearDownScene();
  glfwDestroyWindow(other);
}

}  // namespace
