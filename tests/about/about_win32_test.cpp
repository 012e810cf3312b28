// The Win32 About window in a real (Wine or Windows) session: placement, controls, fonts,
// colours, the painted client area, the button, closing, and the failure paths.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "about/about.h"
#include "about/win32/about_win32.h"
#include "support/test_support.h"

namespace {

struct OpenedLink {
  HWND owner = nullptr;
  std::string link;
  int calls = 0;
};
OpenedLink opened;
void recordLink(NativeWindow owner, const char* link) {
  opened.owner = reinterpret_cast<HWND>(owner);
  opened.link = link;
  ++opened.calls;
}

HINSTANCE thisModule() { return GetModuleHandleA(nullptr); }

// Handles what is queued, up to the quit message; true when the quit message came.
bool pumpUntilQuit(DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  MSG message;
  while (GetTickCount() - start < timeoutMs) {
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) return true;
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    Sleep(5);
  }
  return false;
}

void pumpPending() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

class AboutWin32 : public ::testing::Test {
 protected:
  // Hidden unless the test looks at the screen: Wine waits two seconds for a window manager
  // when a shown window goes away on a bare X server.
  virtual int showCommand() const { return SW_HIDE; }

  void SetUp() override {
    opened = OpenedLink{};
    previousOpener_ = about::SetLinkOpener(recordLink);
    about_.Create(thisModule(), showCommand());
    window_ = gAboutHandles.window;
    ASSERT_NE(window_, nullptr);
    ASSERT_TRUE(boxes_.boxes.empty());
  }
  void TearDown() override {
    if (IsWindow(window_)) DestroyWindow(window_);
    pumpUntilQuit(2000);
    UnregisterClassA(about_.windowClassName, thisModule());
    gAboutHandles = AboutHandles{};
    about::SetLinkOpener(previousOpener_);
  }

  RECT childRect(HWND child) {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  }

  MessageBoxCapture boxes_;
  AboutWindow about_;
  HWND window_ = nullptr;
  about::LinkOpener previousOpener_ = nullptr;
};

class AboutWin32Shown : public AboutWin32 {
 protected:
  int showCommand() const override { return SW_SHOWNOACTIVATE; }
};

TEST_F(AboutWin32, FixedSizeWindowCentredOnTheScreenWithACloseBoxOnly) {
  HDC screen = GetDC(nullptr);
  const about::Point origin = about::CenteredOrigin(GetDeviceCaps(screen, HORZRES), GetDeviceCaps(screen, VERTRES));
  ReleaseDC(nullptr, screen);
  RECT outer;
  GetWindowRect(window_, &outer);
  EXPECT_EQ(outer.left, origin.x);
  EXPECT_EQ(outer.top, origin.y);
  EXPECT_EQ(outer.right - outer.left, 400);
  EXPECT_EQ(outer.bottom - outer.top, 300);

  const LONG style = GetWindowLongA(window_, GWL_STYLE);
  EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CHILD));

  char text[64] = {};
  GetWindowTextA(window_, text, sizeof(text));
  EXPECT_STREQ(text, "About");
  GetClassNameA(window_, text, sizeof(text));
  EXPECT_STREQ(text, "NorvantisWindowClass");
}

struct ControlCase {
  const char* name;
  HWND AboutHandles::*handle;
  const char* className;
  const char* text;  // null: the window's notice
  about::ControlLayout layout;
  about::FontLayout font;
  bool tabStop;
};

class AboutWin32Controls : public AboutWin32, public ::testing::WithParamInterface<ControlCase> {};

TEST_P(AboutWin32Controls, PlacedNamedAndLetteredAsLaidOut) {
  const ControlCase& c = GetParam();
  HWND control = gAboutHandles.*c.handle;
  ASSERT_TRUE(IsWindow(control));
  EXPECT_EQ(GetParent(control), window_);

  char text[256] = {};
  GetClassNameA(control, text, sizeof(text));
  EXPECT_EQ(lstrcmpiA(text, c.className), 0) << text;
  GetWindowTextA(control, text, sizeof(text));
  EXPECT_STREQ(text, c.text != nullptr ? c.text : about_.infoText);
  EXPECT_EQ(GetDlgCtrlID(control), c.layout.id);

  const RECT rect = childRect(control);
  EXPECT_EQ(rect.left, c.layout.x);
  EXPECT_EQ(rect.top, c.layout.y);
  EXPECT_EQ(rect.right - rect.left, c.layout.width);
  EXPECT_EQ(rect.bottom - rect.top, c.layout.height);

  const LONG style = GetWindowLongA(control, GWL_STYLE);
  EXPECT_TRUE(style & WS_CHILD);
  EXPECT_TRUE(style & WS_VISIBLE);  // shown with the window
  EXPECT_EQ((style & WS_TABSTOP) != 0, c.tabStop);
  EXPECT_EQ(GetWindowLongA(control, GWL_EXSTYLE) & ~WS_EX_NOPARENTNOTIFY, 0);

  HFONT font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
  ASSERT_NE(font, nullptr);
  LOGFONTA logFont{};
  ASSERT_EQ(GetObjectA(font, sizeof(logFont), &logFont), static_cast<int>(sizeof(logFont)));
  EXPECT_EQ(logFont.lfHeight, c.font.height);
  EXPECT_EQ(logFont.lfWidth, c.font.width);
  EXPECT_EQ(logFont.lfWeight, c.font.weight);
  EXPECT_EQ(logFont.lfUnderline != 0, c.font.underline);
  EXPECT_EQ(logFont.lfItalic, 0);
  EXPECT_EQ(logFont.lfStrikeOut, 0);
  EXPECT_EQ(logFont.lfCharSet, DEFAULT_CHARSET);
  EXPECT_EQ(logFont.lfOutPrecision, OUT_OUTLINE_PRECIS);
  EXPECT_EQ(logFont.lfQuality, CLEARTYPE_QUALITY);
  EXPECT_EQ(logFont.lfPitchAndFamily, VARIABLE_PITCH);
  EXPECT_STREQ(logFont.lfFaceName, "Arial");
}

INSTANTIATE_TEST_SUITE_P(
    Controls, AboutWin32Controls,
    ::testing::Values(
        ControlCase{"Notice", &AboutHandles::notice, "Static", nullptr, about::kNoticeControl, about::kNormalFont, true},
        ControlCase{"Title", &AboutHandles::title, "Static", "Lumivane 3D Screensaver", about::kTitleControl,
                    about::kTitleFont, true},
        ControlCase{"Button", &AboutHandles::button, "Button", "Visit website", about::kWebsiteButton,
                    about::kNormalFont, false}),
    [](const ::testing::TestParamInfo<ControlCase>& info) { return std::string(info.param.name); });

struct StaticColourCase {
  const char* name;
  HWND AboutHandles::*handle;
  about::Rgb text;
};

class AboutWin32StaticColours : public AboutWin32, public ::testing::WithParamInterface<StaticColourCase> {};

TEST_P(AboutWin32StaticColours, TextColourOnTheBackgroundBrush) {
  const StaticColourCase& c = GetParam();
  HDC dc = GetDC(gAboutHandles.*c.handle);
  SetTextColor(dc, RGB(1, 2, 3));
  SetBkColor(dc, RGB(4, 5, 6));
  HBRUSH brush = reinterpret_cast<HBRUSH>(SendMessageA(window_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                                       reinterpret_cast<LPARAM>(gAboutHandles.*c.handle)));
  const COLORREF background = RGB(177, 232, 179);
  EXPECT_EQ(GetTextColor(dc), RGB(c.text.red, c.text.green, c.text.blue));
  EXPECT_EQ(GetBkColor(dc), background);
  ReleaseDC(gAboutHandles.*c.handle, dc);
  LOGBRUSH logBrush{};
  ASSERT_EQ(GetObjectA(brush, sizeof(logBrush), &logBrush), static_cast<int>(sizeof(logBrush)));
  EXPECT_EQ(logBrush.lbStyle, static_cast<UINT>(BS_SOLID));
  EXPECT_EQ(logBrush.lbColor, background);
}

INSTANTIATE_TEST_SUITE_P(Statics, AboutWin32StaticColours,
                         ::testing::Values(StaticColourCase{"TitleBlack", &AboutHandles::title, {0, 0, 0}},
                                           StaticColourCase{"NoticeBlue", &AboutHandles::notice, {0, 51, 255}}),
                         [](const ::testing::TestParamInfo<StaticColourCase>& info) {
                           return std::string(info.param.name);
                         });

TEST_F(AboutWin32Shown, PaintsTheBackgroundAndThePictureAtItsPlace) {
  EXPECT_TRUE(IsWindowVisible(window_));
  ASSERT_NE(gAboutHandles.picture, nullptr);
  BITMAP bitmap{};
  ASSERT_TRUE(GetObjectA(gAboutHandles.picture, sizeof(bitmap), &bitmap));
  EXPECT_EQ(bitmap.bmWidth, 110);
  EXPECT_EQ(bitmap.bmHeight, 83);

  RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE | RDW_ALLCHILDREN);
  pumpPending();
  HDC windowDc = GetDC(window_);
  HDC pictureDc = CreateCompatibleDC(windowDc);
  HGDIOBJ previous = SelectObject(pictureDc, gAboutHandles.picture);
  const COLORREF background = RGB(177, 232, 179);
  // Corners of the client area that no control covers, and just outside the picture.
  const POINT backgroundPoints[] = {{2, 2}, {100, 120}, {380, 120}, {5, 260}, {141, 60}, {252, 60}, {150, 54}, {150, 138}};
  for (const POINT& p : backgroundPoints) {
    EXPECT_EQ(GetPixel(windowDc, p.x, p.y), background) << p.x << "," << p.y;
  }
  int compared = 0;
  for (int y = 0; y < bitmap.bmHeight; y += 7) {
    for (int x = 0; x < bitmap.bmWidth; x += 9) {
      EXPECT_EQ(GetPixel(windowDc, about::kPictureX + x, about::kPictureY + y), GetPixel(pictureDc, x, y))
          << x << "," << y;
      ++compared;
    }
  }
  EXPECT_GT(compared, 100);
  SelectObject(pictureDc, previous);
  DeleteDC(pictureDc);
  ReleaseDC(window_, windowDc);
}

struct CommandCase {
  const char* name;
  WPARAM wParam;
  bool opens;
};

class AboutWin32Commands : public AboutWin32, public ::testing::WithParamInterface<CommandCase> {};

TEST_P(AboutWin32Commands, OnlyAButtonClickOpensTheLinkAndTheWindowStays) {
  SendMessageA(window_, WM_COMMAND, GetParam().wParam, reinterpret_cast<LPARAM>(gAboutHandles.button));
  EXPECT_EQ(opened.calls, GetParam().opens ? 1 : 0);
  EXPECT_TRUE(IsWindow(window_));
}

INSTANTIATE_TEST_SUITE_P(
    Commands, AboutWin32Commands,
    ::testing::Values(CommandCase{"Click", MAKEWPARAM(10, BN_CLICKED), true},
                      CommandCase{"FocusOfTheButton", MAKEWPARAM(10, BN_SETFOCUS), false},
                      CommandCase{"DoubleClick", MAKEWPARAM(10, BN_DOUBLECLICKED), false},
                      CommandCase{"TitleId", MAKEWPARAM(30, 0), false}, CommandCase{"Zero", 0, false}),
    [](const ::testing::TestParamInfo<CommandCase>& info) { return std::string(info.param.name); });

TEST_F(AboutWin32, ClickingTheButtonOpensTheSiteOwnedByTheWindow) {
  SendMessageA(gAboutHandles.button, BM_CLICK, 0, 0);
  pumpPending();
  EXPECT_EQ(opened.calls, 1);
  EXPECT_EQ(opened.owner, window_);
  EXPECT_EQ(opened.link, "https://www.lumivane.net/?utm_source=About");
  EXPECT_TRUE(IsWindow(window_));
}

TEST_F(AboutWin32, ClickingTheNoticeDoesNothingAlthoughItSharesTheButtonsId) {
  const LPARAM inside = MAKELPARAM(10, 10);
  SendMessageA(gAboutHandles.notice, WM_LBUTTONDOWN, MK_LBUTTON, inside);
  SendMessageA(gAboutHandles.notice, WM_LBUTTONUP, 0, inside);
  pumpPending();
  EXPECT_EQ(opened.calls, 0);
}

void CALLBACK quitLoop(HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(99); }

TEST_F(AboutWin32, CloseDestroysTheWindowAndEndsTheLoop) {
  PostMessageA(window_, WM_CLOSE, 0, 0);
  // The loop must end by itself; a timer ends a loop that would not, so the test fails instead of hanging.
  const UINT_PTR guard = SetTimer(nullptr, 0, 5000, quitLoop);
  const DWORD start = GetTickCount();
  about_.RunMessageLoop();
  KillTimer(nullptr, guard);
  EXPECT_LT(GetTickCount() - start, 4000u);
  EXPECT_FALSE(IsWindow(window_));
  EXPECT_EQ(opened.calls, 0);
}

// Failures: the box, then the process ends with code 0 instead of waiting in a loop forever.
HHOOK creationBlocker = nullptr;
LRESULT CALLBACK refuseAboutWindow(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND) {
    char name[64] = {};
    GetClassNameA(reinterpret_cast<HWND>(wParam), name, sizeof(name));
    if (lstrcmpA(name, "NorvantisWindowClass") == 0) return 1;
  }
  return CallNextHookEx(creationBlocker, code, wParam, lParam);
}

struct FailureCase {
  const char* name;
  void (*arrange)();
  void (*undo)();
  const char* box;
};

class AboutWin32Failures : public ::testing::TestWithParam<FailureCase> {};

TEST_P(AboutWin32Failures, ShowTheErrorBoxAndEndTheProcessWithCodeZero) {
  const FailureCase& c = GetParam();
  c.arrange();
  MessageBoxCapture boxes;
  int endCode = -1;
  {
    ProcessEndCatcher catcher;
    AboutWindow about;
    try {
      about.Create(thisModule(), SW_SHOWNOACTIVATE);
    } catch (const ProcessEnded& ended) {
      endCode = ended.code;
    }
  }
  c.undo();
  UnregisterClassA("NorvantisWindowClass", thisModule());
  gAboutHandles = AboutHandles{};
  EXPECT_EQ(endCode, 0);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, c.box);
  EXPECT_EQ(boxes.boxes[0].title, "Error!");
  EXPECT_EQ(boxes.boxes[0].style, 0x30u);
  EXPECT_EQ(FindWindowA(nullptr, "About"), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, AboutWin32Failures,
    ::testing::Values(
        FailureCase{"ClassAlreadyRegistered",
                    [] {
                      WNDCLASSA taken{};
                      taken.lpfnWndProc = DefWindowProcA;
                      taken.hInstance = thisModule();
                      taken.lpszClassName = "NorvantisWindowClass";
                      RegisterClassA(&taken);
                    },
                    [] {}, "Window Registration Failed!"},
        FailureCase{"CreationRefused",
                    [] { creationBlocker = SetWindowsHookExA(WH_CBT, refuseAboutWindow, nullptr, GetCurrentThreadId()); },
                    [] {
                      UnhookWindowsHookEx(creationBlocker);
                      creationBlocker = nullptr;
                    },
                    "Window Creation Failed!"}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

}  // namespace
