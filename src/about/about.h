// The configure-mode window: a still of the effect, the product title, a short notice and a
// button that opens the web site. The layout below is shared by the Win32 and X11 windows.
#pragma once

#include <cstdint>

#include "platform/platform.h"

class AboutWindow {
 public:
  // Builds and shows the window, runs its message loop and returns once it has been closed.
  AboutWindow(NativeInstance instance, int showCommand);

  // For tests: the texts only. Create and RunMessageLoop then do what the constructor does.
  AboutWindow() = default;
  // Builds and shows the window. A failure shows its "Error!" box and ends the process with
  // code 0, since no window would ever end the loop.
  void Create(NativeInstance instance, int showCommand);
  // Returns when the window has been closed.
  void RunMessageLoop();

  const char* caption = "About";
  const char* windowClassName = "NorvantisWindowClass";
  const char* buttonClassName = "NorvantisButtonClass";  // kept for the name; the button is a system "BUTTON"
  const char* buttonCaption = "Visit website";
  const char* infoText =
      "Copyright (C) Lumivane. All rights reserved.\r\n"
      "More free screensavers at https://www.lumivane.net/\r\n"
      "Questions or ideas? Write to support@lumivane.net";
  const char* titleText = "Lumivane 3D Screensaver";
};

namespace about {

struct Rgb {
  std::uint8_t red, green, blue;
};
constexpr Rgb kBackgroundColour{177, 232, 179};
constexpr Rgb kTitleColour{0, 0, 0};
constexpr Rgb kNoticeColour{0, 51, 255};

constexpr int kWindowWidth = 400;
constexpr int kWindowHeight = 300;

struct Point {
  int x, y;
};
// Top-left corner that centres the window on a screen of the given size; the half pixel of
// an odd difference is dropped toward zero.
Point CenteredOrigin(int screenWidth, int screenHeight);

struct ControlLayout {
  int x, y, width, height;
  int id;
};
constexpr ControlLayout kNoticeControl{20, 150, 380, 80, 10};
constexpr ControlLayout kTitleControl{110, 20, 280, 20, 30};
constexpr ControlLayout kWebsiteButton{150, 210, 100, 32, 10};

struct FontLayout {
  int height;  // character cell height, pixels
  int width;   // average character width, pixels
  int weight;  // 400 normal, 700 bold
  bool underline;
};
constexpr const char* kFontFace = "Arial";
constexpr FontLayout kNormalFont{16, 6, 400, false};
constexpr FontLayout kTitleFont{18, 8, 700, true};

constexpr int kPictureResource = 101;
constexpr int kPictureX = 142;
constexpr int kPictureY = 55;

extern const char* const kWebsiteLink;

// Opens the web-site link for the window that owns the button. Its result is not reported:
// a link that cannot be opened leaves the window as it is.
using LinkOpener = void (*)(NativeWindow owner, const char* link);
// The platform's own opener (the shell on Windows, the desktop's handler on Linux).
void OpenLinkWithSystem(NativeWindow owner, const char* link);
// Tests put a recorder here; returns the previous opener. Null restores the system's.
LinkOpener SetLinkOpener(LinkOpener opener);
// What a click on the button does.
void OpenWebsite(NativeWindow owner);

}  // namespace about
