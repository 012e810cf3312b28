// The Linux command line: the Windows switches ("/s", "/p ID", "/c"), plus the options that
// xscreensaver gives its hacks ("--root" with XSCREENSAVER_WINDOW, "--window-id ID").
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"

// An X window id as xscreensaver writes it: decimal or "0x" hex, blanks around it allowed.
// False (and 0) for anything else, zero and ids beyond 32 bits included.
bool ParseXWindowId(const char* text, NativeWindow* out);

struct HackCommand {
  enum Action { Run, ShowHelp, ShowVersion, Refuse };
  Action action = Run;
  // What the entry point runs, in the Windows form: "/p 4194311", "/s", "/c".
  std::string commandLine;
  // The daemon's options named the window to draw in: a run that cannot draw there waits for
  // the window to go instead of ending into the daemon's restart.
  bool hosted = false;
  NativeWindow host = 0;
  // For Refuse: one line that names what was wrong.
  std::string problem;
};

// The arguments after the program name, and the value of XSCREENSAVER_WINDOW (null when unset).
HackCommand ParseHackCommand(const std::vector<std::string>& arguments, const char* xscreensaverWindow);

// The text of --help: every option and every switch.
extern const char* const kHackUsage;

// The single-instance guard of the Linux build: a saver drawn into a window guards that
// window (on that display) only, so the copies a daemon starts for each monitor, and its
// settings preview, never stop each other; the no-switch full-screen run keeps the one guard.
std::string HostGuardName(const char* display, NativeWindow host);
bool CheckSingleInstancePerHost();
