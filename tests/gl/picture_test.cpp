// Frames of the real program, sky and frame path on Mesa, read back and compared with a
// CPU evaluation of the effect's formula.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstdio>

#include "common/gl_window.h"
#include "shell/frame.h"
#include "support/effect_reference.h"

namespace {

struct PictureCase {
  int width, height;
};

class PictureTest : public ::testing::TestWithParam<PictureCase> {};

TEST_P(PictureTest, MatchesTheFormula) {
  const PictureCase c = GetParam();
  GlWindow window(c.width, c.height);
  ASSERT_TRUE(window.ok()) << "no GL window (is DISPLAY set?)";
  setupScene();
  for (float time : {0.0f, 1.7f, 12.3f, 400.25f}) {
    advanceFrameAt(time);
    const auto actual = window.readBackBuffer();
    const auto expected = effect::referenceImage(c.width, c.height, time);
    ASSERT_EQ(actual.size(), expected.size());
    const effect::PictureDifference d = effect::comparePictures(actual, expected);
    std::printf("%dx%d t=%.2f: largest channel difference %d, %.4f%% beyond 2\n", c.width, c.height, time, d.largest,
                100.0 * d.shareBeyondTwo);
    EXPECT_LE(d.shareBeyondTwo, effect::kMaxShareBeyondTwo) << c.width << "x" << c.height << " at " << time;
    EXPECT_LE(d.largest, effect::kMaxChannelDifference) << c.width << "x" << c.height << " at " << time;
  }
  TearDownScene();
}

INSTANTIATE_TEST_SUITE_P(Sizes, PictureTest,
                         ::testing::Values(PictureCase{256, 256}, PictureCase{480, 270}, PictureCase{173, 91}),
                         [](const auto& info) {
                           return std::to_string(info.param.width) + "x" + std::to_string(info.param.height);
                         });

}  // namespace
