// Preview mode end to end inside one process: the saver's start-up adopts a host window the
// test owns, draws the effect at the host's size, follows the host's size changes and
// survives the host going away; bad hosts end in "Failed to open window".
#include <gtest/gtest.h>

#include <GLFW/glfw3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "common/gl_window.h"
#include "shell/app.h"
#include "shell/frame.h"
#include "shell/gl_loader.h"
#include "support/effect_reference.h"
#include "support/test_support.h"
#include "test_host.h"

namespace {

// The drawn frame against the formula at that size, with the picture tests' tolerance.
void expectFormulaPicture(int width, int height, float time) {
  const auto actual = ReadBackBuffer(width, height);
  const auto expected = effect::referenceImage(width, height, time);
  const effect::PictureDifference d = effect::comparePictures(actual, expected);
  std::printf("%dx%d t=%.2f: largest channel difference %d, %.4f%% beyond 2\n", width, height, time, d.largest,
              100.0 * d.shareBeyondTwo);
  EXPECT_LE(d.shareBeyondTwo, effect::kMaxShareBeyondTwo) << width << "x" << height;
  EXPECT_LE(d.largest, effect::kMaxChannelDifference) << width << "x" << height;
}

// Runs what the main loop runs between frames until the drawing size is the wanted one.
bool pumpUntilSize(GLFWwindow* window, int width, int height) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (std::chrono::steady_clock::now() < deadline) {
    glfwPollEvents();
    FollowPreviewHost(window);
    if (WindowWidth == width && WindowHeight == height) return true;
    platform::SleepMilliseconds(5);
  }
  return false;
}

TEST(PreviewAdopt, NeedsAnInitialisedLibrary) {
  static int reported = 0;
  glfwTerminate();
  glfwSetErrorCallback([](int code, const char*) { reported = code; });
  EXPECT_EQ(glfwAdoptNativeWindow(1234, nullptr), nullptr);
  EXPECT_EQ(reported, GLFW_NOT_INITIALIZED);
  glfwSetErrorCallback(nullptr);
}

struct BadHostCase {
  const char* name;
  NativeWindow (*handle)();
};

class PreviewBadHost : public ::testing::TestWithParam<BadHostCase> {};

TEST_P(PreviewBadHost, FailsToOpenTheWindowAndEndsWithZero) {
  MessageBoxCapture boxes;
  ProcessEndCatcher catcher;
  LaunchOptions options;
  options.mode = Preview;
  options.targetWindow = GetParam().handle();
  try {
    ScreensaverApp app(&options);
    FAIL() << "start-up went on with a bad host";
  } catch (const ProcessEnded& ended) {
    EXPECT_EQ(ended.code, 0);
  }
  ASSERT_GE(boxes.boxes.size(), 2u);
  // GLFW's own description first, then the start-up's.
  EXPECT_EQ(boxes.boxes.front().title, "Error");
  EXPECT_EQ(boxes.boxes.back().text, "Failed to open window");
  EXPECT_EQ(boxes.boxes.back().title, "Debug");
}

// A live host's id plus 2^32: a handle of 64 bits must not be cut down to the live window's.
// (A Windows handle has 32 bits: nothing to cut there, and the case is left out.)
NativeWindow LiveHostBeyond32Bits() {
  static TestHost* host = new TestHost(64, 48);  // alive until the process ends
  const std::uint64_t wide = static_cast<std::uint64_t>(host->handle()) + (std::uint64_t{1} << 32);
  return static_cast<NativeWindow>(wide);
}

std::vector<BadHostCase> badHosts() {
  std::vector<BadHostCase> cases = {{"Zero", [] { return NativeWindow{0}; }}, {"NoSuchWindow", StaleWindowHandle}};
  if (sizeof(NativeWindow) > 4) cases.push_back({"LiveHostBeyond32Bits", LiveHostBeyond32Bits});
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Handles, PreviewBadHost, ::testing::ValuesIn(badHosts()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PreviewApp, DrawsInTheHostFollowsItsSizeAndOutlivesIt) {
  TestHost host(200, 150);
  ASSERT_NE(host.handle(), 0u) << "no host window (is DISPLAY set?)";
  MessageBoxCapture boxes;
  LaunchOptions options;
  options.mode = Preview;
  options.targetWindow = host.handle();
  auto app = std::make_unique<ScreensaverApp>(&options);
  gScreensaverApp = app.get();
  ASSERT_NE(app->window, nullptr);
  EXPECT_EQ(WindowWidth, 200);
  EXPECT_EQ(WindowHeight, 150);

  KeepGlDriverLoaded();
  setupScene();
  advanceFrameAt(1.7f);
  expectFormulaPicture(200, 150, 1.7f);
  glfwSwapBuffers(app->window);

  host.resize(260, 120);
  ASSERT_TRUE(pumpUntilSize(app->window, 260, 120)) << "drawing size still " << WindowWidth << "x" << WindowHeight;
  EXPECT_FLOAT_EQ(AspectRatio, 260.0f / 120.0f);
  advanceFrameAt(12.3f);
  expectFormulaPicture(260, 120, 12.3f);

  // The host goes; frames, swaps and polls go on until the loop's test sees it, and nothing
  // on the way ends the process.
  host.destroy();
  for (int frame = 0; frame < 3; ++frame) {
    advanceFrameAt(13.0f + frame);
    glfwSwapBuffers(app->window);
    glfwPollEvents();
    FollowPreviewHost(app->window);
  }
  EXPECT_FALSE(platform::IsWindowEnabled(options.targetWindow));
  EXPECT_TRUE(boxes.boxes.empty()) << boxes.boxes.front().title << ": " << boxes.boxes.front().text;

  TearDownScene();
  app->Shutdown();
  gScreensaverApp = nullptr;
}

}  // namespace
