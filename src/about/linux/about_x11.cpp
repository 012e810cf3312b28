// The About window on X11: Xlib for the window and the picture, Xft for the text. Nothing
// here runs unless configure mode asks for the window.
#include <X11/Xatom.h>
#include <X11/Xft/Xft.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <dlfcn.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <string>
#include <type_traits>
#include <vector>

#include "about/about.h"
#include "about/bitmap.h"
#include "about/text_layout.h"

namespace {

// Xft and fontconfig are opened with the About window, not linked: linked, they and what
// they need (freetype, libpng, expat, ...) would be loaded by every mode of the saver before
// its first frame. Until they load, or where they cannot, every entry is a stand-in that
// does nothing and answers zero: the window then shows its picture and button without text.
template <typename F>
struct Absent;
template <typename R, typename... A>
struct Absent<R (*)(A...)> {
  static R call(A...) {
    if constexpr (!std::is_void_v<R>) return R{};
  }
};

#define LV_XFT_FUNCTIONS(X) \
  X(FcPatternAddBool) \
  X(FcPatternAddDouble) \
  X(FcPatternAddInteger) \
  X(FcPatternAddMatrix) \
  X(FcPatternAddString) \
  X(FcPatternCreate) \
  X(FcPatternDestroy) \
  X(XftColorAllocValue) \
  X(XftColorFree) \
  X(XftDrawCreate) \
  X(XftDrawDestroy) \
  X(XftDrawRect) \
  X(XftDrawSetClip) \
  X(XftDrawSetClipRectangles) \
  X(XftDrawStringUtf8) \
  X(XftFontClose) \
  X(XftFontMatch) \
  X(XftFontOpenPattern) \
  X(XftTextExtentsUtf8)

struct XftApi {
#define LV_XFT_ENTRY(name) decltype(&::name) name = Absent<decltype(&::name)>::call;
  LV_XFT_FUNCTIONS(LV_XFT_ENTRY)
#undef LV_XFT_ENTRY
};
XftApi xft;

void loadXft() {
  static bool tried = false;
  if (tried) return;
  tried = true;
  // fontconfig's entries are found through libXft's own dependency on it.
  void* library = dlopen("libXft.so.2", RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) return;
  XftApi loaded;
  bool complete = true;
#define LV_XFT_RESOLVE(name)                                                  \
  if (void* symbol = dlsym(library, #name); symbol != nullptr) {              \
    loaded.name = reinterpret_cast<decltype(loaded.name)>(symbol);            \
  } else {                                                                    \
    complete = false;                                                         \
  }
  LV_XFT_FUNCTIONS(LV_XFT_RESOLVE)
#undef LV_XFT_RESOLVE
  if (complete) xft = loaded;
}

}  // namespace

namespace about {
void OpenLinkWithSystem(NativeWindow, const char* link) {
  // xdg-open may wait for the browser it starts until that browser quits, so the window
  // must not wait for it: a short-lived child starts the opener in a grandchild and leaves
  // at once; only that child is waited for. A link that cannot be opened is not reported.
  const pid_t child = fork();
  if (child == 0) {
    if (fork() == 0) {
      // Keep no copy of the X connection (or anything else) open while the opener runs:
      // the server would keep the window alive as long as a copy exists.
      close_range(3, ~0U, 0);
      platform::OpenUrl(link);
      _exit(0);
    }
    _exit(0);
  }
  if (child > 0) {
    while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
  }
}
}  // namespace about

namespace {

struct Font {
  XftFont* font = nullptr;
  bool underline = false;
};

struct AboutX11 {
  Display* display = nullptr;
  int screen = 0;
  Window window = 0;
  GC gc = nullptr;
  XftDraw* draw = nullptr;
  Visual* visual = nullptr;
  Colormap colormap = 0;
  unsigned long backgroundPixel = 0;
  XftColor titleColour{};
  XftColor noticeColour{};
  XftColor buttonTextColour{};
  Font normalFont;
  Font titleFont;
  XImage* picture = nullptr;
  Atom protocols = 0;
  Atom deleteWindow = 0;
  bool buttonHeld = false;   // pressed on the button and not yet released
  bool pointerInside = false;
  bool windowGone = false;   // destroyed by someone else
  const AboutWindow* texts = nullptr;
};
AboutX11 gX11;

constexpr long kEventMask =
    ExposureMask | ButtonPressMask | ButtonReleaseMask | ButtonMotionMask | StructureNotifyMask;

int ignoreXError(Display*, XErrorEvent*) { return 0; }
int leaveOnLostDisplay(Display*) {
  // Xlib would end the process with code 1 once this returns.
  std::exit(0);
}

unsigned long allocatePixel(about::Rgb colour) {
  XColor c{};
  c.red = static_cast<unsigned short>(colour.red * 257);
  c.green = static_cast<unsigned short>(colour.green * 257);
  c.blue = static_cast<unsigned short>(colour.blue * 257);
  c.flags = DoRed | DoGreen | DoBlue;
  if (!XAllocColor(gX11.display, gX11.colormap, &c)) return BlackPixel(gX11.display, gX11.screen);
  return c.pixel;
}

XftColor allocateXftColour(about::Rgb colour) {
  XRenderColor render{static_cast<unsigned short>(colour.red * 257), static_cast<unsigned short>(colour.green * 257),
                      static_cast<unsigned short>(colour.blue * 257), 0xffff};
  XftColor result{};
  xft.XftColorAllocValue(gX11.display, gX11.visual, gX11.colormap, &render, &result);
  return result;
}

XftFont* openFont(double pixelSize, int weight, double widthScale) {
  FcPattern* pattern = xft.FcPatternCreate();
  if (pattern == nullptr) return nullptr;
  xft.FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(about::kFontFace));
  xft.FcPatternAddDouble(pattern, FC_PIXEL_SIZE, pixelSize);
  xft.FcPatternAddInteger(pattern, FC_WEIGHT, weight >= 700 ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  xft.FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
  xft.FcPatternAddBool(pattern, FC_ANTIALIAS, FcTrue);
  FcMatrix matrix;
  FcMatrixInit(&matrix);
  matrix.xx = widthScale;
  xft.FcPatternAddMatrix(pattern, FC_MATRIX, &matrix);
  XftResult result;
  FcPattern* match = xft.XftFontMatch(gX11.display, gX11.screen, pattern, &result);
  xft.FcPatternDestroy(pattern);
  if (match == nullptr) return nullptr;
  XftFont* font = xft.XftFontOpenPattern(gX11.display, match);
  if (font == nullptr) xft.FcPatternDestroy(match);
  return font;
}

int textWidth(XftFont* font, const std::string& text) {
  if (font == nullptr || text.empty()) return 0;
  XGlyphInfo extents;
  xft.XftTextExtentsUtf8(gX11.display, font, reinterpret_cast<const FcChar8*>(text.data()),
                         static_cast<int>(text.size()), &extents);
  return extents.xOff;
}

// The font's size is given as Win32 gives it: the character cell's height and the average
// character width. Scale the pixel size to the cell, then squeeze or widen to the width.
Font openFittedFont(const about::FontLayout& layout) {
  Font fitted;
  fitted.underline = layout.underline;
  XftFont* probe = openFont(layout.height, layout.weight, 1.0);
  if (probe == nullptr) return fitted;
  const int cell = probe->ascent + probe->descent;
  const double pixelSize = cell > 0 ? layout.height * static_cast<double>(layout.height) / cell : layout.height;
  xft.XftFontClose(gX11.display, probe);
  probe = openFont(pixelSize, layout.weight, 1.0);
  if (probe == nullptr) return fitted;
  static const std::string alphabet = "abcdefghijklmnopqrstuvwxyz";
  const double average = textWidth(probe, alphabet) / static_cast<double>(alphabet.size());
  xft.XftFontClose(gX11.display, probe);
  fitted.font = openFont(pixelSize, layout.weight, average > 0 ? layout.width / average : 1.0);
  return fitted;
}

XImage* makePicture() {
  platform::ResourceData resource;
  if (!platform::FindResourceData(about::kPictureResource, "BITMAP", &resource)) return nullptr;
  about::Picture picture;
  if (!about::DecodeBitmap(resource.bytes, resource.size, &picture)) return nullptr;
  const int depth = DefaultDepth(gX11.display, gX11.screen);
  XImage* image = XCreateImage(gX11.display, gX11.visual, static_cast<unsigned>(depth), ZPixmap, 0, nullptr,
                               static_cast<unsigned>(picture.width), static_cast<unsigned>(picture.height), 32, 0);
  if (image == nullptr) return nullptr;
  image->data = static_cast<char*>(std::calloc(static_cast<std::size_t>(image->bytes_per_line) * picture.height, 1));
  if (image->data == nullptr) {
    XDestroyImage(image);
    return nullptr;
  }
  // Channel masks of the visual: every depth the server offers gets the right pixels.
  auto shiftFor = [](unsigned long mask) {
    int shift = 0;
    while (mask != 0 && (mask & 1) == 0) {
      mask >>= 1;
      ++shift;
    }
    return shift;
  };
  auto scale = [](std::uint8_t value, unsigned long mask, int shift) {
    const unsigned long max = mask >> shift;
    return ((static_cast<unsigned long>(value) * max + 127) / 255) << shift;
  };
  const unsigned long rm = gX11.visual->red_mask, gm = gX11.visual->green_mask, bm = gX11.visual->blue_mask;
  const int rs = shiftFor(rm), gs = shiftFor(gm), bs = shiftFor(bm);
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      const about::Rgb& p = picture.pixels[static_cast<std::size_t>(y) * picture.width + x];
      XPutPixel(image, x, y, scale(p.red, rm, rs) | scale(p.green, gm, gs) | scale(p.blue, bm, bs));
    }
  }
  return image;
}

bool insideButton(int x, int y) {
  const about::ControlLayout& b = about::kWebsiteButton;
  return x >= b.x && x < b.x + b.width && y >= b.y && y < b.y + b.height;
}

void clipTo(const about::ControlLayout& area) {
  XRectangle rect{static_cast<short>(area.x), static_cast<short>(area.y), static_cast<unsigned short>(area.width),
                  static_cast<unsigned short>(area.height)};
  xft.XftDrawSetClipRectangles(gX11.draw, 0, 0, &rect, 1);
}

// A static control: its own background, then its lines from the top-left corner, one cell apart.
void drawStatic(const about::ControlLayout& area, const Font& font, const about::FontLayout& layout,
                const char* text, XftColor* colour) {
  XSetForeground(gX11.display, gX11.gc, gX11.backgroundPixel);
  XFillRectangle(gX11.display, gX11.window, gX11.gc, area.x, area.y, static_cast<unsigned>(area.width),
                 static_cast<unsigned>(area.height));
  if (font.font == nullptr) return;
  clipTo(area);
  const auto lines =
      about::WrapText(text, area.width, [&](const std::string& piece) { return textWidth(font.font, piece); });
  int top = area.y;
  for (const std::string& line : lines) {
    const int baseline = top + font.font->ascent;
    xft.XftDrawStringUtf8(gX11.draw, colour, font.font, area.x, baseline,
                          reinterpret_cast<const FcChar8*>(line.data()), static_cast<int>(line.size()));
    if (font.underline && !line.empty()) {
      const int thickness = layout.weight >= 700 ? 2 : 1;
      xft.XftDrawRect(gX11.draw, colour, area.x, baseline + 1 + font.font->descent / 4,
                      static_cast<unsigned>(textWidth(font.font, line)), static_cast<unsigned>(thickness));
    }
    top += layout.height;
  }
  xft.XftDrawSetClip(gX11.draw, nullptr);
}

unsigned long buttonPixel(int red, int green, int blue) {
  return allocatePixel(about::Rgb{static_cast<std::uint8_t>(red), static_cast<std::uint8_t>(green),
                                  static_cast<std::uint8_t>(blue)});
}

void drawButton() {
  const about::ControlLayout& b = about::kWebsiteButton;
  const bool pressed = gX11.buttonHeld && gX11.pointerInside;
  Display* d = gX11.display;
  XSetForeground(d, gX11.gc, pressed ? buttonPixel(204, 228, 247) : buttonPixel(225, 225, 225));
  XFillRectangle(d, gX11.window, gX11.gc, b.x, b.y, static_cast<unsigned>(b.width), static_cast<unsigned>(b.height));
  XSetForeground(d, gX11.gc, pressed ? buttonPixel(0, 84, 153) : buttonPixel(173, 173, 173));
  XDrawRectangle(d, gX11.window, gX11.gc, b.x, b.y, static_cast<unsigned>(b.width - 1),
                 static_cast<unsigned>(b.height - 1));
  XftFont* font = gX11.normalFont.font;
  if (font == nullptr) return;
  const std::string caption = gX11.texts->buttonCaption;
  clipTo(b);
  const int x = b.x + (b.width - textWidth(font, caption)) / 2;
  const int baseline = b.y + (b.height - (font->ascent + font->descent)) / 2 + font->ascent;
  xft.XftDrawStringUtf8(gX11.draw, &gX11.buttonTextColour, font, x, baseline,
                        reinterpret_cast<const FcChar8*>(caption.data()), static_cast<int>(caption.size()));
  xft.XftDrawSetClip(gX11.draw, nullptr);
}

void drawAll() {
  Display* d = gX11.display;
  XWindowAttributes attributes;
  XGetWindowAttributes(d, gX11.window, &attributes);
  XSetForeground(d, gX11.gc, gX11.backgroundPixel);
  XFillRectangle(d, gX11.window, gX11.gc, 0, 0, static_cast<unsigned>(attributes.width),
                 static_cast<unsigned>(attributes.height));
  if (gX11.picture != nullptr) {
    XPutImage(d, gX11.window, gX11.gc, gX11.picture, 0, 0, about::kPictureX, about::kPictureY,
              static_cast<unsigned>(gX11.picture->width), static_cast<unsigned>(gX11.picture->height));
  }
  drawStatic(about::kNoticeControl, gX11.normalFont, about::kNormalFont, gX11.texts->infoText, &gX11.noticeColour);
  drawStatic(about::kTitleControl, gX11.titleFont, about::kTitleFont, gX11.texts->titleText, &gX11.titleColour);
  drawButton();
}

// The frame a window manager draws around the window, in pixels.
struct FrameExtents {
  long left = 0, right = 0, top = 0, bottom = 0;
};

// Reads a 32-bit property into values; false when it is missing, short or of another type.
bool readLongs(Window window, const char* name, Atom type, std::vector<long>* values, unsigned long minimum) {
  Atom actualType;
  int format;
  unsigned long count, remaining;
  unsigned char* data = nullptr;
  const Atom property = XInternAtom(gX11.display, name, False);
  if (XGetWindowProperty(gX11.display, window, property, 0, 1024, False, type, &actualType, &format, &count,
                         &remaining, &data) != Success) {
    return false;
  }
  const bool ok = data != nullptr && actualType == type && format == 32 && count >= minimum;
  if (ok) values->assign(reinterpret_cast<long*>(data), reinterpret_cast<long*>(data) + count);
  if (data != nullptr) XFree(data);
  return ok;
}

// A running window manager that answers _NET_REQUEST_FRAME_EXTENTS. Its check window must be
// alive: the root's properties outlive a window manager that has gone.
bool windowManagerTellsFrames() {
  Display* d = gX11.display;
  const Window root = RootWindow(d, gX11.screen);
  std::vector<long> check, checkOfCheck, supported;
  if (!readLongs(root, "_NET_SUPPORTING_WM_CHECK", XA_WINDOW, &check, 1)) return false;
  if (!readLongs(static_cast<Window>(check[0]), "_NET_SUPPORTING_WM_CHECK", XA_WINDOW, &checkOfCheck, 1) ||
      checkOfCheck[0] != check[0]) {
    return false;
  }
  if (!readLongs(root, "_NET_SUPPORTED", XA_ATOM, &supported, 1)) return false;
  const long request = static_cast<long>(XInternAtom(d, "_NET_REQUEST_FRAME_EXTENTS", False));
  for (long atom : supported) {
    if (atom == request) return true;
  }
  return false;
}

// Asks the window manager which frame it will give the (still unmapped) window. No answer
// within a quarter of a second counts as no frame.
FrameExtents askFrameExtents() {
  FrameExtents frame;
  if (!windowManagerTellsFrames()) return frame;
  Display* d = gX11.display;
  const Window root = RootWindow(d, gX11.screen);
  const Atom extentsAtom = XInternAtom(d, "_NET_FRAME_EXTENTS", False);
  XSelectInput(d, gX11.window, kEventMask | PropertyChangeMask);
  XEvent request{};
  request.xclient.type = ClientMessage;
  request.xclient.window = gX11.window;
  request.xclient.message_type = XInternAtom(d, "_NET_REQUEST_FRAME_EXTENTS", False);
  request.xclient.format = 32;
  XSendEvent(d, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &request);
  XFlush(d);
  std::vector<long> extents;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(250);
  while (true) {
    XEvent event;
    if (XCheckTypedWindowEvent(d, gX11.window, PropertyNotify, &event)) {
      if (event.xproperty.atom == extentsAtom) break;
      continue;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    pollfd connection{ConnectionNumber(d), POLLIN, 0};
    poll(&connection, 1, static_cast<int>(left.count()));
  }
  XSelectInput(d, gX11.window, kEventMask);
  if (readLongs(gX11.window, "_NET_FRAME_EXTENTS", XA_CARDINAL, &extents, 4)) {
    const FrameExtents told{extents[0], extents[1], extents[2], extents[3]};
    const bool fits = told.left >= 0 && told.right >= 0 && told.top >= 0 && told.bottom >= 0 &&
                      told.left + told.right < about::kWindowWidth / 2 &&
                      told.top + told.bottom < about::kWindowHeight / 2;
    if (fits) frame = told;
  }
  return frame;
}

// Window-manager hints: fixed size, a close box but no minimise, maximise or resize.
void setWindowManagerHints(const AboutWindow& texts, const about::Point& origin, int width, int height) {
  Display* d = gX11.display;
  XSizeHints* size = XAllocSizeHints();
  if (size != nullptr) {
    size->flags = USPosition | PPosition | PSize | PMinSize | PMaxSize | PWinGravity;
    size->x = origin.x;
    size->y = origin.y;
    size->width = size->min_width = size->max_width = width;
    size->height = size->min_height = size->max_height = height;
    // The frame's top-left corner goes to the position asked for.
    size->win_gravity = NorthWestGravity;
    XSetWMNormalHints(d, gX11.window, size);
    XFree(size);
  }
  XStoreName(d, gX11.window, texts.caption);
  const Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
  const std::string caption = texts.caption;
  XChangeProperty(d, gX11.window, XInternAtom(d, "_NET_WM_NAME", False), utf8, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(caption.data()), static_cast<int>(caption.size()));
  XClassHint* classHint = XAllocClassHint();
  if (classHint != nullptr) {
    std::string name = "lumivane";
    std::string className = texts.windowClassName;
    classHint->res_name = name.data();
    classHint->res_class = className.data();
    XSetClassHint(d, gX11.window, classHint);
    XFree(classHint);
  }
  // Motif hints, read by most window managers: move and close only.
  const long motifFunctionsAndDecorations = 1 | 2;
  const long moveAndClose = 4 | 32;
  const long borderTitleMenu = 2 | 8 | 16;
  long motif[5] = {motifFunctionsAndDecorations, moveAndClose, borderTitleMenu, 0, 0};
  const Atom motifAtom = XInternAtom(d, "_MOTIF_WM_HINTS", False);
  XChangeProperty(d, gX11.window, motifAtom, motifAtom, 32, PropModeReplace, reinterpret_cast<unsigned char*>(motif),
                  5);
  gX11.protocols = XInternAtom(d, "WM_PROTOCOLS", False);
  gX11.deleteWindow = XInternAtom(d, "WM_DELETE_WINDOW", False);
  XSetWMProtocols(d, gX11.window, &gX11.deleteWindow, 1);
}

void failAndEnd(const char* text) {
  platform::ShowMessageBox(text, "Error!", platform::kIconExclamation);
  // Without a window nothing could ever end the message loop.
  platform::EndProcess(0);
}

void releaseAll() {
  Display* d = gX11.display;
  if (d == nullptr) return;
  if (gX11.picture != nullptr) XDestroyImage(gX11.picture);
  if (gX11.normalFont.font != nullptr) xft.XftFontClose(d, gX11.normalFont.font);
  if (gX11.titleFont.font != nullptr) xft.XftFontClose(d, gX11.titleFont.font);
  if (gX11.draw != nullptr) xft.XftDrawDestroy(gX11.draw);
  xft.XftColorFree(d, gX11.visual, gX11.colormap, &gX11.titleColour);
  xft.XftColorFree(d, gX11.visual, gX11.colormap, &gX11.noticeColour);
  xft.XftColorFree(d, gX11.visual, gX11.colormap, &gX11.buttonTextColour);
  if (gX11.gc != nullptr) XFreeGC(d, gX11.gc);
  if (gX11.window != 0 && !gX11.windowGone) XDestroyWindow(d, gX11.window);
  XCloseDisplay(d);
  gX11 = AboutX11{};
}

}  // namespace

void AboutWindow::Create(NativeInstance, int) {
  gX11 = AboutX11{};
  gX11.texts = this;
  loadXft();
  gX11.display = XOpenDisplay(nullptr);
  if (gX11.display == nullptr) failAndEnd("Window Creation Failed!");
  Display* d = gX11.display;
  XSetErrorHandler(ignoreXError);
  XSetIOErrorHandler(leaveOnLostDisplay);
  gX11.screen = DefaultScreen(d);
  gX11.visual = DefaultVisual(d, gX11.screen);
  gX11.colormap = DefaultColormap(d, gX11.screen);

  const about::Point origin = about::CenteredOrigin(DisplayWidth(d, gX11.screen), DisplayHeight(d, gX11.screen));
  gX11.backgroundPixel = allocatePixel(about::kBackgroundColour);
  XSetWindowAttributes attributes{};
  attributes.background_pixel = gX11.backgroundPixel;
  attributes.event_mask = kEventMask;
  gX11.window = XCreateWindow(d, RootWindow(d, gX11.screen), origin.x, origin.y, about::kWindowWidth,
                              about::kWindowHeight, 0, CopyFromParent, InputOutput, CopyFromParent,
                              CWBackPixel | CWEventMask, &attributes);
  if (gX11.window == 0) {
    releaseAll();
    failAndEnd("Window Creation Failed!");
  }
  // The 400 x 300 are the outer size, frame included, when a window manager frames the window.
  const FrameExtents frame = askFrameExtents();
  const int width = about::kWindowWidth - static_cast<int>(frame.left + frame.right);
  const int height = about::kWindowHeight - static_cast<int>(frame.top + frame.bottom);
  if (width != about::kWindowWidth || height != about::kWindowHeight) {
    XResizeWindow(d, gX11.window, static_cast<unsigned>(width), static_cast<unsigned>(height));
  }
  setWindowManagerHints(*this, origin, width, height);

  gX11.picture = makePicture();
  gX11.normalFont = openFittedFont(about::kNormalFont);
  gX11.titleFont = openFittedFont(about::kTitleFont);
  gX11.gc = XCreateGC(d, gX11.window, 0, nullptr);
  gX11.draw = xft.XftDrawCreate(d, gX11.window, gX11.visual, gX11.colormap);
  gX11.titleColour = allocateXftColour(about::kTitleColour);
  gX11.noticeColour = allocateXftColour(about::kNoticeColour);
  gX11.buttonTextColour = allocateXftColour(about::Rgb{0, 0, 0});

  XMapWindow(d, gX11.window);
  XFlush(d);
}

void AboutWindow::RunMessageLoop() {
  Display* d = gX11.display;
  if (d == nullptr) return;
  bool open = true;
  while (open) {
    XEvent event;
    XNextEvent(d, &event);
    switch (event.type) {
      case Expose:
        if (event.xexpose.count == 0) drawAll();
        break;
      case ButtonPress:
        if (event.xbutton.button == Button1 && insideButton(event.xbutton.x, event.xbutton.y)) {
          gX11.buttonHeld = true;
          gX11.pointerInside = true;
          drawButton();
        }
        break;
      case MotionNotify:
        if (gX11.buttonHeld) {
          const bool inside = insideButton(event.xmotion.x, event.xmotion.y);
          if (inside != gX11.pointerInside) {
            gX11.pointerInside = inside;
            drawButton();
          }
        }
        break;
      case ButtonRelease:
        if (event.xbutton.button == Button1 && gX11.buttonHeld) {
          const bool clicked = insideButton(event.xbutton.x, event.xbutton.y);
          gX11.buttonHeld = false;
          drawButton();
          XFlush(d);
          // Like a Win32 push button: a press and a release both on the button.
          if (clicked) about::OpenWebsite(static_cast<NativeWindow>(gX11.window));
        }
        break;
      case ClientMessage:
        if (event.xclient.message_type == gX11.protocols &&
            static_cast<Atom>(event.xclient.data.l[0]) == gX11.deleteWindow) {
          open = false;
        }
        break;
      case DestroyNotify:
        if (event.xdestroywindow.window == gX11.window) {
          gX11.windowGone = true;
          open = false;
        }
        break;
      default:
        break;
    }
  }
  releaseAll();
}
