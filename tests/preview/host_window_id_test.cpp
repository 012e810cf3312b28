// Where the X11 preview finds its host: the window id as xscreensaver writes it, and the
// command line the entry point then runs with.
#include <gtest/gtest.h>

#include "shell/linux/host_window.h"

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
                                           IdCase{"0x100000000", false, 0},
                                           IdCase{"99999999999999999999999", false, 0}, IdCase{"4 2", false, 0}));

struct CommandCase {
  const char* commandLine;
  const char* environment;
  const char* expected;
};

class XScreensaverWindowTest : public ::testing::TestWithParam<CommandCase> {};

TEST_P(XScreensaverWindowTest, ReplacesOnlyAMissingPreviewHandle) {
  const CommandCase c = GetParam();
  EXPECT_EQ(ApplyXScreensaverWindow(c.commandLine, c.environment), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Lines, XScreensaverWindowTest,
                         ::testing::Values(CommandCase{"/p", "0x2a", "/p 42"}, CommandCase{"/p", "42", "/p 42"},
                                           CommandCase{"/p:", "0x2a", "/p 42"},
                                           // an id on the command line wins
                                           CommandCase{"/p 7", "0x2a", "/p 7"},
                                           // other modes never look at it
                                           CommandCase{"/s", "0x2a", "/s"}, CommandCase{"", "0x2a", ""},
                                           CommandCase{"/c", "0x2a", "/c"},
                                           // nothing usable: the preview fails as it would without it
                                           CommandCase{"/p", nullptr, "/p"}, CommandCase{"/p", "window", "/p"}));

}  // namespace
