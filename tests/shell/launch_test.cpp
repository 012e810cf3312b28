#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "shell/launch.h"

namespace {

struct ParseCase {
  const char* text;
  LaunchMode mode;
  long long target;
};

class ParseCommandLineTest : public ::testing::TestWithParam<ParseCase> {};

// The text is copied into a buffer of exactly its size, so AddressSanitizer sees any read
// past the terminating NUL.
LaunchOptions parseExact(const char* text) {
  const std::size_t size = std::strlen(text) + 1;
  std::unique_ptr<char[]> exact(new char[size]);
  std::memcpy(exact.get(), text, size);
  return ParseCommandLine(exact.get());
}

TEST_P(ParseCommandLineTest, YieldsModeAndHandle) {
  const ParseCase& c = GetParam();
  const LaunchOptions options = parseExact(c.text);
  EXPECT_EQ(options.mode, c.mode) << '"' << c.text << '"';
  EXPECT_EQ(options.targetWindow, static_cast<NativeWindow>(static_cast<std::intptr_t>(c.target)))
      << '"' << c.text << '"';
  EXPECT_FALSE(options.showAbout);
}

INSTANTIATE_TEST_SUITE_P(
    DocumentedExamples, ParseCommandLineTest,
    ::testing::Values(ParseCase{"/p 1234", Preview, 1234}, ParseCase{"/c:5678", Configure, 5678},
                      ParseCase{"/c", Configure, 0}, ParseCase{"/s", Screensaver, 0}, ParseCase{"", Default, 0},
                      ParseCase{"/S", Default, 0}, ParseCase{"/p 12 /x 34", Preview, 34},
                      ParseCase{"/x 34 /p 12", Preview, 12}, ParseCase{"/p:+42", Preview, 42}));

INSTANTIATE_TEST_SUITE_P(
    MalformedInput, ParseCommandLineTest,
    ::testing::Values(ParseCase{"/", Default, 0}, ParseCase{"////", Default, 0}, ParseCase{"/p", Preview, 0},
                      ParseCase{"/p ", Preview, 0}, ParseCase{"/s/", Screensaver, 0},
                      ParseCase{"/p 77 /", Preview, 0}, ParseCase{"/p -5", Preview, -5},
                      ParseCase{"/p 99999999999999999999999999", Preview, static_cast<long long>(INTPTR_MAX)},
                      ParseCase{"/p -99999999999999999999999999", Preview, static_cast<long long>(INTPTR_MIN)},
                      ParseCase{"/P 5", Default, 0}, ParseCase{"/C", Default, 0}, ParseCase{"/p   \t 8x", Preview, 8},
                      ParseCase{"/pX12", Preview, 12}, ParseCase{"/p 1 /S 2", Preview, 2},
                      ParseCase{"xyz /s", Screensaver, 0}, ParseCase{"/c /s /p 3", Preview, 3}));

TEST(ParseCommandLine, NullTextIsEmpty) {
  const LaunchOptions options = ParseCommandLine(nullptr);
  EXPECT_EQ(options.mode, Default);
  EXPECT_EQ(options.targetWindow, 0u);
}

TEST(ParseCommandLine, HugeTextOfSlashesStaysInBounds) {
  const std::string text(1 << 16, '/');
  EXPECT_EQ(parseExact(text.c_str()).mode, Default);
  const std::string manySwitches = [] {
    std::string s;
    for (int i = 0; i < 5000; ++i) s += "/p " + std::to_string(i) + " ";
    return s + "/p";
  }();
  const LaunchOptions options = parseExact(manySwitches.c_str());
  EXPECT_EQ(options.mode, Preview);
  EXPECT_EQ(options.targetWindow, 0u);
}

// Records what the entry point dispatched to, in order.
std::vector<std::string> calls;
bool guardAnswer = true;
bool fakeGuard() {
  calls.push_back("guard");
  return guardAnswer;
}
void fakeAbout(NativeInstance, int show) { calls.push_back("about " + std::to_string(show)); }
void fakeSaver(LaunchOptions* options) {
  calls.push_back("saver " + std::to_string(options->mode) + " " + std::to_string(options->targetWindow));
}

struct DispatchCase {
  const char* text;
  bool guardFree;
  std::vector<std::string> expected;
};

class DispatchTest : public ::testing::TestWithParam<DispatchCase> {};

TEST_P(DispatchTest, GuardsAndDispatchesByMode) {
  const DispatchCase& c = GetParam();
  calls.clear();
  guardAnswer = c.guardFree;
  LaunchHandlers handlers;
  handlers.checkSingleInstance = fakeGuard;
  handlers.runAboutWindow = fakeAbout;
  handlers.runSaver = fakeSaver;
  EXPECT_EQ(LumivaneMain(nullptr, c.text, 5, handlers), 0);
  EXPECT_EQ(calls, c.expected) << '"' << c.text << '"';
  ASSERT_NE(gLaunchOptions, nullptr);
  delete gLaunchOptions;  // the process keeps its one; each test call makes another
  gLaunchOptions = nullptr;
}

INSTANTIATE_TEST_SUITE_P(
    Modes, DispatchTest,
    ::testing::Values(DispatchCase{"/p 42", true, {"guard", "saver 0 42"}},
                      DispatchCase{"/p 42", false, {"guard"}},
                      DispatchCase{"", true, {"guard", "saver 3 0"}},
                      DispatchCase{"/S", false, {"guard"}},
                      DispatchCase{"/s", false, {"saver 1 0"}},
                      DispatchCase{"/c", false, {"about 5"}},
                      DispatchCase{"/c:77", true, {"about 5"}}));

TEST(SingleInstanceGuard, SecondHolderOfTheSameNameIsRefused) {
  // A name of this run alone, so parallel test runs do not meet.
  const std::string name =
      "LUMIVANE_TEST_GUARD_" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
  EXPECT_TRUE(platform::AcquireInstanceGuard(name.c_str()));
  EXPECT_FALSE(platform::AcquireInstanceGuard(name.c_str()));
  EXPECT_FALSE(platform::AcquireInstanceGuard(name.c_str()));
}

}  // namespace
