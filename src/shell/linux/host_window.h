// Where the X11 preview finds its host window.
#pragma once

#include <string>

#include "platform/platform.h"

// An X window id as xscreensaver writes it: decimal or "0x" hex, blanks around it allowed.
// False (and 0) for anything else, zero and ids beyond 32 bits included.
bool ParseXWindowId(const char* text, NativeWindow* out);

// xscreensaver starts its hacks with the window to draw in named by XSCREENSAVER_WINDOW.
// A preview switch without a window id then gets that window: the command line becomes
// "/p <id>". Anything else comes back unchanged.
std::string ApplyXScreensaverWindow(const std::string& commandLine, const char* environmentValue);
