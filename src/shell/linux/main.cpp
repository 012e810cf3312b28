#include <cstdlib>
#include <string>

#include "shell/launch.h"
#include "shell/linux/host_window.h"

// The arguments joined by blanks read the same as a Windows command line: "/p 1234".
int main(int argc, char** argv) {
  std::string commandLine;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) commandLine += ' ';
    commandLine += argv[i];
  }
  commandLine = ApplyXScreensaverWindow(commandLine, std::getenv("XSCREENSAVER_WINDOW"));
  return LumivaneMain(nullptr, commandLine.c_str(), 1);
}
