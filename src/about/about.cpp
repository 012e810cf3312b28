#include "about/about.h"

#include <utility>

#include "shell/launch.h"

namespace about {

const char* const kWebsiteLink = "https://www.lumivane.net/?utm_source=About";

Point CenteredOrigin(int screenWidth, int screenHeight) {
  // Computed in double and truncated, so a negative half pixel also goes toward zero.
  return Point{static_cast<int>((screenWidth - kWindowWidth) * 0.5),
               static_cast<int>((screenHeight - kWindowHeight) * 0.5)};
}

namespace {
LinkOpener currentOpener = nullptr;
}

LinkOpener SetLinkOpener(LinkOpener opener) { return std::exchange(currentOpener, opener); }

void OpenWebsite(NativeWindow owner) {
  if (currentOpener != nullptr) {
    currentOpener(owner, kWebsiteLink);
  } else {
    OpenLinkWithSystem(owner, kWebsiteLink);
  }
}

}  // namespace about

AboutWindow::AboutWindow(NativeInstance instance, int showCommand) {
  Create(instance, showCommand);
  RunMessageLoop();
}

namespace {
// Lives until the process ends, like every long-lived object of the saver.
AboutWindow* gAboutWindow = nullptr;
}  // namespace

void RunAboutWindow(NativeInstance instance, int showCommand) {
  gAboutWindow = new AboutWindow(instance, showCommand);
}
