#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/linux/process_linux.h"
#include "platform/platform.h"
#include "shell/launch.h"
#include "shell/linux/hack_options.h"

int main(int argc, char** argv) {
  platform::InstallStopHandlers();
  const HackCommand command =
      ParseHackCommand(std::vector<std::string>(argv + 1, argv + argc), std::getenv("XSCREENSAVER_WINDOW"));
  switch (command.action) {
    case HackCommand::ShowHelp:
      std::fputs(kHackUsage, stdout);
      return 0;
    case HackCommand::ShowVersion:
      std::printf("lumivane %s\n", LUMIVANE_VERSION);
      return 0;
    case HackCommand::Refuse:
      std::fprintf(stderr, "lumivane: %s\n%s", command.problem.c_str(), kHackUsage);
      return 0;
    case HackCommand::Run:
      break;
  }
  if (command.hosted) {
    const NativeWindow host = command.host;
    platform::SetStartupFailureWait([host] {
      while (platform::IsWindowEnabled(host)) platform::SleepMilliseconds(200);
    });
  }
  LaunchHandlers handlers;
  handlers.checkSingleInstance = CheckSingleInstancePerHost;
  return LumivaneMain(nullptr, command.commandLine.c_str(), 1, handlers);
}
