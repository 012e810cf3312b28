// The About window drawn with Win32 and GDI.
#include "about/win32/about_win32.h"

#include <shellapi.h>

#include "about/about.h"

AboutHandles gAboutHandles;

namespace {

COLORREF toColorRef(about::Rgb colour) { return RGB(colour.red, colour.green, colour.blue); }

HFONT createFont(const about::FontLayout& font) {
  return CreateFontA(font.height, font.width, 0, 0, font.weight, FALSE, font.underline ? TRUE : FALSE, FALSE,
                     DEFAULT_CHARSET, OUT_OUTLINE_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, VARIABLE_PITCH,
                     about::kFontFace);
}

HWND createControl(const char* className, const char* text, DWORD style, const about::ControlLayout& layout,
                   HINSTANCE instance) {
  return CreateWindowExA(0, className, text, style, layout.x, layout.y, layout.width, layout.height,
                         gAboutHandles.window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.id)), instance,
                         nullptr);
}

void failAndEnd(const char* text) {
  platform::ShowMessageBox(text, "Error!", MB_ICONEXCLAMATION);
  // Without a window nothing could ever end the message loop.
  platform::EndProcess(0);
}

void paint(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT client;
  GetClientRect(window, &client);
  SetBkColor(dc, toColorRef(about::kBackgroundColour));
  ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &client, nullptr, 0, nullptr);
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ previous = SelectObject(memory, gAboutHandles.picture);
  BITMAP bitmap{};
  GetObjectA(gAboutHandles.picture, sizeof(bitmap), &bitmap);
  BitBlt(dc, about::kPictureX, about::kPictureY, bitmap.bmWidth, bitmap.bmHeight, memory, 0, 0, SRCCOPY);
  SelectObject(memory, previous);
  DeleteDC(memory);
  EndPaint(window, &paint);
}

}  // namespace

LRESULT CALLBACK AboutWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  static HBRUSH backgroundBrush = CreateSolidBrush(toColorRef(about::kBackgroundColour));
  switch (message) {
    case WM_CLOSE:
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      DeleteObject(gAboutHandles.picture);
      PostQuitMessage(0);
      return 0;
    case WM_PAINT:
      paint(window);
      return 0;
    case WM_COMMAND:
      // Only a click of the button: its id with notification code 0 makes up the whole wParam.
      if (wParam == static_cast<WPARAM>(about::kWebsiteButton.id)) {
        about::OpenWebsite(reinterpret_cast<NativeWindow>(window));
      }
      return 0;
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      const bool isTitle = reinterpret_cast<HWND>(lParam) == gAboutHandles.title;
      SetTextColor(dc, toColorRef(isTitle ? about::kTitleColour : about::kNoticeColour));
      SetBkColor(dc, toColorRef(about::kBackgroundColour));
      return reinterpret_cast<LRESULT>(backgroundBrush);
    }
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

namespace about {
void OpenLinkWithSystem(NativeWindow owner, const char* link) {
  // A link that cannot be opened leaves the window as it is; nothing is reported.
  ShellExecuteA(reinterpret_cast<HWND>(owner), "open", link, nullptr, nullptr, SW_SHOWNORMAL);
}
}  // namespace about

void AboutWindow::Create(NativeInstance nativeInstance, int showCommand) {
  HINSTANCE instance = static_cast<HINSTANCE>(nativeInstance);
  HICON smallIcon = static_cast<HICON>(
      LoadImageA(GetModuleHandleA("user32.dll"), MAKEINTRESOURCEA(104), IMAGE_ICON, 16, 16, LR_SHARED));

  WNDCLASSA windowClass{};
  windowClass.style = 0;
  windowClass.lpfnWndProc = AboutWindowProc;
  windowClass.cbClsExtra = 0;
  windowClass.cbWndExtra = 0;
  windowClass.hInstance = instance;
  windowClass.hIcon = smallIcon;
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
  windowClass.lpszMenuName = nullptr;
  windowClass.lpszClassName = windowClassName;
  if (!RegisterClassA(&windowClass)) failAndEnd("Window Registration Failed!");

  // Sizes and positions are physical pixels.
  SetProcessDPIAware();

  HDC screen = GetDC(nullptr);
  const about::Point origin = about::CenteredOrigin(GetDeviceCaps(screen, HORZRES), GetDeviceCaps(screen, VERTRES));

  // WS_SYSMENU alone: a caption with a close box, no minimise or maximise box, no sizing border.
  gAboutHandles.window = CreateWindowExA(0, windowClassName, caption, WS_SYSMENU, origin.x, origin.y,
                                         about::kWindowWidth, about::kWindowHeight, nullptr, nullptr, instance,
                                         nullptr);
  if (gAboutHandles.window == nullptr) failAndEnd("Window Creation Failed!");

  gAboutHandles.picture = static_cast<HBITMAP>(
      LoadImageA(instance, MAKEINTRESOURCEA(about::kPictureResource), IMAGE_BITMAP, 0, 0, LR_SHARED));

  HFONT normalFont = createFont(about::kNormalFont);
  HFONT titleFont = createFont(about::kTitleFont);

  const DWORD staticStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
  gAboutHandles.notice = createControl("static", "ST_U", staticStyle, about::kNoticeControl, instance);
  SetWindowTextA(gAboutHandles.notice, infoText);
  SendMessageA(gAboutHandles.notice, WM_SETFONT, reinterpret_cast<WPARAM>(normalFont), TRUE);

  gAboutHandles.title = createControl("static", "ST_U", staticStyle, about::kTitleControl, instance);
  SetWindowTextA(gAboutHandles.title, titleText);
  SendMessageA(gAboutHandles.title, WM_SETFONT, reinterpret_cast<WPARAM>(titleFont), TRUE);

  gAboutHandles.button = createControl("BUTTON", buttonCaption, WS_CHILD | WS_VISIBLE, about::kWebsiteButton, instance);
  SendMessageA(gAboutHandles.button, WM_SETFONT, reinterpret_cast<WPARAM>(normalFont), TRUE);

  ShowWindow(gAboutHandles.window, showCommand);
  UpdateWindow(gAboutHandles.window);
}

void AboutWindow::RunMessageLoop() {
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}
