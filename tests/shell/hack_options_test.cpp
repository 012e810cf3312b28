// The Linux command line: xscreensaver's options beside the Windows switches, window ids as
// X writes them, and the single-instance guard per host window.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <chrono>
#include <string>
#include <vector>

#include "shell/launch.h"
#include "shell/linux/hack_options.h"

namespace {

struct IdCase {
  const char* text;
  bool ok;
  NativeWindow id;
};

class XWindowIdTest : public ::testing::TestWithParam<IdCase> {};

TEST_P(XWindowIdTest, Parses) {
  const IdCase c = GetParam();
  NativeWindow id = 12345;
  EXPECT_EQ(ParseXWindowId(c.text, &id), c.ok) << (c.text ? c.text : "(null)");
  EXPECT_EQ(id, c.id) << (c.text ? c.text : "(null)");
}

INSTANTIATE_TEST_SUITE_P(Texts, XWindowIdTest,
                         ::testing::Values(IdCase{"4194311", true, 4194311}, IdCase{"0x400007", true, 0x400007},
                                           IdCase{"0X1aF", true, 0x1af}, IdCase{" 42\n", true, 42},
                                           IdCase{"0xFFFFFFFF", true, 0xFFFFFFFFu}, IdCase{nullptr, false, 0},
                                           IdCase{"", false, 0}, IdCase{"0x", false, 0}, IdCase{"0", false, 0},
                                           IdCase{"-5", false, 0}, IdCase{"12abc", false, 0},
                                           IdCase{"0x100000000", false, 0}, IdCase{"4294967338", false, 0},
                                           IdCase{"99999999999999999999999", false, 0}, IdCase{"4 2", false, 0}));

struct CommandCase {
  std::vector<std::string> arguments;
  const char* environment;  // XSCREENSAVER_WINDOW, null when unset
  HackCommand::Action action;
  const char* commandLine;  // for Run; for Refuse, the text that the one line must name
  bool hosted;
};

std::string describe(const CommandCase& c) {
  std::string text = "args:";
  for (const std::string& a : c.arguments) text += " [" + a + "]";
  return text + " XSCREENSAVER_WINDOW=" + (c.environment ? c.environment : "(unset)");
}

class HackCommandTest : public ::testing::TestWithParam<CommandCase> {};

TEST_P(HackCommandTest, Reads) {
  const CommandCase& c = GetParam();
  const HackCommand command = ParseHackCommand(c.arguments, c.environment);
  ASSERT_EQ(command.action, c.action) << describe(c);
  if (c.action == HackCommand::Run) {
    EXPECT_EQ(command.commandLine, c.commandLine) << describe(c);
    EXPECT_EQ(command.hosted, c.hosted) << describe(c);
    if (c.hosted) {
      EXPECT_EQ(ParseCommandLine(command.commandLine.c_str()).targetWindow, command.host) << describe(c);
    }
  }
  if (c.action == HackCommand::Refuse) {
    EXPECT_NE(command.problem.find(c.commandLine), std::string::npos) << describe(c) << ": " << command.problem;
  }
}

constexpr auto Run = HackCommand::Run;
constexpr auto Refuse = HackCommand::Refuse;

INSTANTIATE_TEST_SUITE_P(
    WindowsSwitches, HackCommandTest,
    ::testing::Values(CommandCase{{}, nullptr, Run, "", false}, CommandCase{{"/s"}, nullptr, Run, "/s", false},
                      CommandCase{{"/c"}, "0x2a", Run, "/c", false},
                      CommandCase{{"/p", "1234"}, nullptr, Run, "/p 1234", false},
                      // X writes window ids in hex
                      CommandCase{{"/p", "0x2a"}, nullptr, Run, "/p 42", false},
                      CommandCase{{"/p:0X2A"}, nullptr, Run, "/p 42", false},
                      // beyond 32 bits stays beyond: the X layer refuses it, nothing wraps
                      CommandCase{{"/p", "0x10000002a"}, nullptr, Run, "/p 4294967338", false},
                      CommandCase{{"/p", "0xffffffffffffffffff"}, nullptr, Run, "/p 18446744073709551615", false},
                      // a negative handle is a number, not an option
                      CommandCase{{"/p", "-5"}, nullptr, Run, "/p -5", false},
                      // the variable fills in only a preview switch with no number at all
                      CommandCase{{"/p"}, "0x2a", Run, "/p 42", false},
                      CommandCase{{"/p"}, "junk", Run, "/p", false},
                      CommandCase{{"/p", "7"}, "0x2a", Run, "/p 7", false},
                      CommandCase{{"/p", "0"}, "0x2a", Run, "/p 0", false},
                      CommandCase{{"/p", "77", "/"}, "0x2a", Run, "/p 77 /", false}));

INSTANTIATE_TEST_SUITE_P(
    DaemonOptions, HackCommandTest,
    ::testing::Values(CommandCase{{"--root"}, "0x2a", Run, "/p 42", true},
                      CommandCase{{"-root"}, "42", Run, "/p 42", true},
                      CommandCase{{"--root"}, nullptr, Run, "/s", false},
                      CommandCase{{"--root"}, "", Run, "/s", false},
                      CommandCase{{"--root"}, "junk", Refuse, "junk", false},
                      CommandCase{{"--root"}, "0x100000000", Refuse, "XSCREENSAVER_WINDOW", false},
                      CommandCase{{"--window-id", "0x2a"}, nullptr, Run, "/p 42", true},
                      CommandCase{{"-window-id", "42"}, "0x10", Run, "/p 42", true},
                      CommandCase{{"--window-id=0x2a"}, nullptr, Run, "/p 42", true},
                      // the settings dialog appends its preview window to the user's line
                      CommandCase{{"--root", "--window-id", "0x10"}, "0x2a", Run, "/p 16", true},
                      // the daemon's options decide over stray switches
                      CommandCase{{"/c", "--root"}, "0x2a", Run, "/p 42", true},
                      CommandCase{{"--window-id"}, nullptr, Refuse, "--window-id", false},
                      CommandCase{{"--window-id", "abc"}, nullptr, Refuse, "abc", false},
                      CommandCase{{"--window-id", "0x100000000"}, nullptr, Refuse, "0x100000000", false},
                      CommandCase{{"--window-id=0"}, nullptr, Refuse, "--window-id", false},
                      CommandCase{{"--help"}, nullptr, HackCommand::ShowHelp, nullptr, false},
                      CommandCase{{"-help"}, nullptr, HackCommand::ShowHelp, nullptr, false},
                      CommandCase{{"--root", "--version"}, "0x2a", HackCommand::ShowVersion, nullptr, false},
                      CommandCase{{"--anything"}, nullptr, Refuse, "--anything", false},
                      CommandCase{{"-x"}, nullptr, Refuse, "-x", false},
                      CommandCase{{"/s", "--fps"}, nullptr, Refuse, "--fps", false},
                      CommandCase{{"--root=1"}, "0x2a", Refuse, "--root=1", false},
                      CommandCase{{"--help=1"}, nullptr, Refuse, "--help=1", false}));

TEST(HackUsage, NamesEveryOptionAndSwitch) {
  for (const char* word : {"--root", "--window-id", "--help", "--version", "/s", "/p", "/c", "XSCREENSAVER_WINDOW"}) {
    EXPECT_NE(std::string(kHackUsage).find(word), std::string::npos) << word;
  }
}

// Each test gets a runtime folder of its own, and with it guards of its own.
class HostGuardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* previous = getenv("XDG_RUNTIME_DIR");
    saved_ = previous ? previous : "";
    hadValue_ = previous != nullptr;
    runtime_ = "/lumivane-guard-test-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
    setenv("XDG_RUNTIME_DIR", runtime_.c_str(), 1);
  }
  void TearDown() override {
    if (hadValue_) {
      setenv("XDG_RUNTIME_DIR", saved_.c_str(), 1);
    } else {
      unsetenv("XDG_RUNTIME_DIR");
    }
    delete gLaunchOptions;
    gLaunchOptions = nullptr;
  }
  bool checkAs(const char* commandLine) {
    delete gLaunchOptions;
    gLaunchOptions = new LaunchOptions(ParseCommandLine(commandLine));
    return CheckSingleInstancePerHost();
  }
  std::string runtime_, saved_;
  bool hadValue_ = false;
};

TEST_F(HostGuardTest, OneCopyPerWindowAndOneFullScreenRun) {
  setenv("DISPLAY", ":93", 1);
  EXPECT_TRUE(checkAs("/p 4194311"));
  EXPECT_TRUE(checkAs("/p 6291463")) << "a second monitor's window";
  EXPECT_FALSE(checkAs("/p 4194311")) << "two copies on one window";
  EXPECT_TRUE(checkAs("")) << "the full-screen run has its own guard";
  EXPECT_FALSE(checkAs(""));
  EXPECT_FALSE(checkAs("/S")) << "no recognised switch is the same full-screen run";
  setenv("DISPLAY", ":94", 1);
  EXPECT_TRUE(checkAs("/p 4194311")) << "the same id on another display is another window";
}

TEST_F(HostGuardTest, LongRuntimeFolderStillGuards) {
  // Longer than a socket name can hold: the guard name is shortened, and must stay distinct.
  setenv("XDG_RUNTIME_DIR", (runtime_ + std::string(200, 'x')).c_str(), 1);
  EXPECT_TRUE(platform::AcquireInstanceGuard("A"));
  EXPECT_TRUE(platform::AcquireInstanceGuard("B"));
  EXPECT_FALSE(platform::AcquireInstanceGuard("A"));
}

TEST(HostGuardName, DistinguishesWindowAndDisplay) {
  EXPECT_EQ(HostGuardName(":0", 0x400007), HostGuardName(":0", 0x400007));
  EXPECT_NE(HostGuardName(":0", 0x400007), HostGuardName(":0", 0x600007));
  EXPECT_NE(HostGuardName(":0", 0x400007), HostGuardName(":1", 0x400007));
  EXPECT_NE(HostGuardName(nullptr, 0x400007), std::string(kSingleInstanceName));
}

}  // namespace
