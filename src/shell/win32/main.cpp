#include <windows.h>

#include "shell/launch.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand) {
  return LumivaneMain(instance, commandLine, showCommand);
}
