#include "shell/linux/hack_options.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "shell/launch.h"

namespace {

bool isOption(const std::string& argument) {
  // "-5" stays a number (a handle after "/p"); options start with a letter.
  std::size_t dashes = argument.rfind("--", 0) == 0 ? 2 : (argument.rfind('-', 0) == 0 ? 1 : 0);
  return dashes > 0 && argument.size() > dashes && std::isalpha(static_cast<unsigned char>(argument[dashes]));
}

bool hasDigit(const std::string& text) {
  for (char c : text) {
    if (c >= '0' && c <= '9') return true;
  }
  return false;
}

// A "0x" number where the Windows parse reads only decimal: the hex value, saturating past the
// range of a handle so that it never wraps round to a window that exists. False when the text
// is not hex.
bool readHexHandle(const char* text, NativeWindow* out) {
  while (std::isspace(static_cast<unsigned char>(*text))) ++text;
  if (text[0] != '0' || (text[1] != 'x' && text[1] != 'X') || !std::isxdigit(static_cast<unsigned char>(text[2]))) {
    return false;
  }
  NativeWindow value = 0;
  for (const char* p = text + 2; std::isxdigit(static_cast<unsigned char>(*p)); ++p) {
    const int c = std::tolower(static_cast<unsigned char>(*p));
    const unsigned digit = static_cast<unsigned>(c <= '9' ? c - '0' : c - 'a' + 10);
    if (value > (UINTPTR_MAX - digit) / 16) {
      value = UINTPTR_MAX;
      break;
    }
    value = value * 16 + digit;
  }
  *out = value;
  return true;
}

HackCommand refuse(std::string problem) {
  HackCommand command;
  command.action = HackCommand::Refuse;
  command.problem = std::move(problem);
  return command;
}

HackCommand hostedIn(NativeWindow window) {
  HackCommand command;
  command.commandLine = "/p " + std::to_string(window);
  command.hosted = true;
  command.host = window;
  return command;
}

// The switches as Windows passes them, with what X adds: a "0x" handle, and the window of
// XSCREENSAVER_WINDOW for a preview switch that names none.
HackCommand slashCommand(const std::string& text, const char* xscreensaverWindow) {
  HackCommand command;
  command.commandLine = text;
  std::size_t handleAt = kNoHandleText;
  const LaunchOptions options = ParseCommandLine(text.c_str(), &handleAt);
  if (options.mode != Preview) return command;
  NativeWindow window = 0;
  if (!hasDigit(text)) {
    // Only where no number was written at all: a handle that reads as 0 stays a failure.
    if (ParseXWindowId(xscreensaverWindow, &window)) command.commandLine = "/p " + std::to_string(window);
  } else if (handleAt != kNoHandleText && readHexHandle(text.c_str() + handleAt, &window)) {
    command.commandLine = "/p " + std::to_string(window);
  }
  return command;
}

}  // namespace

const char* const kHackUsage =
    "Usage: lumivane [OPTION]\n"
    "       lumivane [/s | /p ID | /c]\n"
    "Lumivane 3D Screensaver: glowing curved streaks waving over a dark ground.\n"
    "\n"
    "Options (one dash or two):\n"
    "  --root          draw into the window named by XSCREENSAVER_WINDOW, as xscreensaver\n"
    "                  asks of its hacks; without that variable, the same as /s\n"
    "  --window-id ID  draw into the window ID (decimal or 0x hex)\n"
    "  --help          show this text\n"
    "  --version       show the version\n"
    "\n"
    "Switches, as Windows passes them to a screensaver:\n"
    "  /s              full screen until a key or a click\n"
    "  /p ID           a live preview inside the window ID (decimal or 0x hex)\n"
    "  /c              the About window\n"
    "  (none)          full screen as /s, one such copy at a time\n"
    "\n"
    "SIGTERM, SIGINT and SIGHUP end it. The exit status is always 0.\n";

bool ParseXWindowId(const char* text, NativeWindow* out) {
  *out = 0;
  if (text == nullptr) return false;
  const char* p = text;
  while (std::isspace(static_cast<unsigned char>(*p))) ++p;
  unsigned base = 10;
  if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
    base = 16;
    p += 2;
  }
  std::uint64_t value = 0;
  int digits = 0;
  for (;; ++p, ++digits) {
    const unsigned char c = static_cast<unsigned char>(*p);
    unsigned digit;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (base == 16 && std::isxdigit(c)) {
      digit = static_cast<unsigned>(std::tolower(c) - 'a' + 10);
    } else {
      break;
    }
    value = value * base + digit;
    if (value > 0xFFFFFFFFull) return false;  // X resource ids have 29 bits, never more than 32
  }
  while (std::isspace(static_cast<unsigned char>(*p))) ++p;
  if (digits == 0 || *p != '\0' || value == 0) return false;
  *out = static_cast<NativeWindow>(value);
  return true;
}

HackCommand ParseHackCommand(const std::vector<std::string>& arguments, const char* xscreensaverWindow) {
  bool root = false;
  bool haveWindowId = false;
  NativeWindow windowId = 0;
  std::string switches;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (!isOption(argument)) {
      if (!switches.empty()) switches += ' ';
      switches += argument;
      continue;
    }
    const std::size_t dashes = argument[1] == '-' ? 2 : 1;
    const std::size_t equals = argument.find('=');
    const std::string name = argument.substr(dashes, equals == std::string::npos ? std::string::npos : equals - dashes);
    if (name == "help" && equals == std::string::npos) {
      HackCommand command;
      command.action = HackCommand::ShowHelp;
      return command;
    }
    if (name == "version" && equals == std::string::npos) {
      HackCommand command;
      command.action = HackCommand::ShowVersion;
      return command;
    }
    if (name == "root" && equals == std::string::npos) {
      root = true;
    } else if (name == "window-id") {
      std::string value;
      if (equals != std::string::npos) {
        value = argument.substr(equals + 1);
      } else if (i + 1 < arguments.size()) {
        value = arguments[++i];
      } else {
        return refuse("option '" + argument + "' needs a window id");
      }
      if (!ParseXWindowId(value.c_str(), &windowId)) {
        return refuse("option '" + argument.substr(0, equals) + "' needs a window id (decimal or 0x hex), not '" +
                      value + "'");
      }
      haveWindowId = true;
    } else {
      return refuse("unknown option '" + argument + "'");
    }
  }
  // The settings dialog appends its preview window to the user's "--root" line: that wins.
  if (haveWindowId) return hostedIn(windowId);
  if (root) {
    if (xscreensaverWindow == nullptr || *xscreensaverWindow == '\0') {
      HackCommand command;
      command.commandLine = "/s";
      return command;
    }
    NativeWindow window = 0;
    if (!ParseXWindowId(xscreensaverWindow, &window)) {
      return refuse(std::string("XSCREENSAVER_WINDOW does not name a window: '") + xscreensaverWindow + "'");
    }
    return hostedIn(window);
  }
  return slashCommand(switches, xscreensaverWindow);
}

std::string HostGuardName(const char* display, NativeWindow host) {
  char window[32];
  std::snprintf(window, sizeof window, "0x%llx", static_cast<unsigned long long>(host));
  return std::string(kSingleInstanceName) + "@" + (display != nullptr ? display : "") + "#" + window;
}

bool CheckSingleInstancePerHost() {
  if (gLaunchOptions == nullptr || gLaunchOptions->mode != Preview) return CheckSingleInstance();
  return platform::AcquireInstanceGuard(HostGuardName(std::getenv("DISPLAY"), gLaunchOptions->targetWindow).c_str());
}
