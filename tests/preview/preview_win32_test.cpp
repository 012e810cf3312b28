// The adoption layer over GLFW on Windows: the record it makes, the flags it reads from the
// host's styles, the context by the hinted creation API, and the host handed back intact by
// glfwDestroyWindow and glfwTerminate.
#include <gtest/gtest.h>
#include <windows.h>

#include <GLFW/glfw3.h>
#define GLFW_EXPOSE_NATIVE_WIN32
#include <GLFW/glfw3native.h>

#include <string>
#include <vector>

#include "platform/platform.h"
#include "shell/app.h"
#include "shell/win32/glfw_adopt_win32.h"

namespace {

std::vector<std::pair<int, std::string>> errors;
void recordError(int code, const char* description) { errors.emplace_back(code, description ? description : ""); }

int hostMessages = 0;
LRESULT CALLBACK hostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_APP) ++hostMessages;
  return DefWindowProcW(window, message, wParam, lParam);
}

const wchar_t* hostClass() {
  static const wchar_t* name = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = hostProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"LumivaneAdoptTestHost";
    RegisterClassExW(&wc);
    return wc.lpszClassName;
  }();
  return name;
}

// GLFW initialised with the saver's hints for each test, and the host windows it made.
// Hosts stay hidden where being seen does not matter: Wine without a window manager takes
// two seconds to take a shown window down.
class AdoptTest : public ::testing::Test {
 protected:
  void SetUp() override {
    errors.clear();
    glfwSetErrorCallback(recordError);
    ASSERT_EQ(glfwInit(), GLFW_TRUE);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 2);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 0);
    glfwWindowHint(GLFW_CONTEXT_ROBUSTNESS, GLFW_LOSE_CONTEXT_ON_RESET);
  }
  void TearDown() override {
    glfwTerminate();
    for (HWND window : made_) {
      if (IsWindow(window)) DestroyWindow(window);
    }
    glfwSetErrorCallback(nullptr);
  }
  HWND makeHost(DWORD style, DWORD exStyle = 0, HWND parent = nullptr, int width = 160, int height = 120) {
    HWND window = CreateWindowExW(exStyle, hostClass(), L"adopt test", style, 10, 10, width, height, parent, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    made_.push_back(window);
    return window;
  }
  static NativeWindow native(HWND window) { return reinterpret_cast<NativeWindow>(window); }
  // The host as its owner left it: its procedure, no "GLFW" property, its own properties.
  static void expectHandedBack(HWND host) {
    EXPECT_TRUE(IsWindow(host));
    EXPECT_EQ(GetWindowLongPtrW(host, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(hostProc));
    EXPECT_EQ(GetPropW(host, L"GLFW"), nullptr);
    EXPECT_EQ(GetPropW(host, L"Owner"), reinterpret_cast<HANDLE>(0x1234));
    const int before = hostMessages;
    SendMessageW(host, WM_APP, 0, 0);
    EXPECT_EQ(hostMessages, before + 1) << "the host's procedure gets its messages again";
  }

 private:
  std::vector<HWND> made_;
};

TEST_F(AdoptTest, RecordTakesOverTheHostAndDestroyHandsItBack) {
  HWND host = makeHost(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  SetPropW(host, L"Owner", reinterpret_cast<HANDLE>(0x1234));
  HICON ownIcon = LoadIcon(nullptr, IDI_APPLICATION);
  SendMessageW(host, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(ownIcon));

  GLFWwindow* window = glfwAdoptNativeWindow(native(host), nullptr);
  ASSERT_NE(window, nullptr) << (errors.empty() ? "" : errors.back().second);
  EXPECT_EQ(glfwGetWin32Window(window), host);
  WNDPROC saved = nullptr;
  EXPECT_EQ(glfwGetAdoptedWindowWin32(window, &saved), GLFW_TRUE);
  EXPECT_EQ(saved, hostProc);
  EXPECT_EQ(GetPropW(host, L"GLFW"), static_cast<HANDLE>(window));
  EXPECT_NE(GetWindowLongPtrW(host, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(hostProc));
  const int before = hostMessages;
  SendMessageW(host, WM_APP, 0, 0);
  EXPECT_EQ(hostMessages, before) << "GLFW's procedure passes on to DefWindowProcW, not to the host's";

  // The ordinary calls of the saver's start-up and loop.
  RECT client;
  GetClientRect(host, &client);
  int width = 0, height = 0;
  glfwGetWindowSize(window, &width, &height);
  EXPECT_EQ(width, client.right);
  EXPECT_EQ(height, client.bottom);
  glfwMakeContextCurrent(window);
  EXPECT_EQ(glfwGetCurrentContext(), window);
  EXPECT_EQ(glfwGetWindowAttrib(window, GLFW_CONTEXT_VERSION_MAJOR) >= 2, true);
  unsigned char pixels[16 * 16 * 4] = {255};
  GLFWimage icon{16, 16, pixels};
  glfwSetWindowIcon(window, 1, &icon);
  glfwSwapInterval(1);
  glfwSetInputMode(window, GLFW_CURSOR, GLFW_CURSOR_HIDDEN);
  glfwSwapBuffers(window);
  glfwPollEvents();
  EXPECT_EQ(glfwGetKey(window, GLFW_KEY_ESCAPE), GLFW_RELEASE);
  EXPECT_EQ(glfwWindowShouldClose(window), GLFW_FALSE);
  static int buttons = 0;
  glfwSetMouseButtonCallback(window, [](GLFWwindow*, int, int, int) { ++buttons; });
  SendMessageW(host, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(buttons, 1) << "the host's mouse messages reach the saver's callbacks";
  PostMessageW(host, WM_CLOSE, 0, 0);
  glfwPollEvents();
  EXPECT_EQ(glfwWindowShouldClose(window), GLFW_TRUE) << "a close request reaches GLFW and leaves the host be";
  EXPECT_TRUE(IsWindow(host));

  glfwDestroyWindow(window);
  expectHandedBack(host);
  EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(host, WM_GETICON, ICON_BIG, 0)), ownIcon)
      << "the host keeps no icon GLFW destroyed";
  EXPECT_EQ(glfwGetAdoptedWindowWin32(window, nullptr), GLFW_FALSE);
  EXPECT_TRUE(errors.empty()) << errors.front().second;
}

TEST_F(AdoptTest, TerminateHandsTheHostBackToo) {
  HWND host = makeHost(WS_OVERLAPPEDWINDOW);
  SetPropW(host, L"Owner", reinterpret_cast<HANDLE>(0x1234));
  ASSERT_NE(glfwAdoptNativeWindow(native(host), nullptr), nullptr);
  glfwTerminate();
  expectHandedBack(host);
  ASSERT_EQ(glfwInit(), GLFW_TRUE);  // for TearDown
}

TEST_F(AdoptTest, SizeMessagesOfTheHostReachTheSizeCallback) {
  HWND host = makeHost(WS_OVERLAPPEDWINDOW);
  GLFWwindow* window = glfwAdoptNativeWindow(native(host), nullptr);
  ASSERT_NE(window, nullptr);
  static int reported[2];
  reported[0] = reported[1] = -1;
  glfwSetWindowSizeCallback(window, [](GLFWwindow*, int w, int h) {
    reported[0] = w;
    reported[1] = h;
  });
  RECT rect{0, 0, 230, 170};
  AdjustWindowRectEx(&rect, WS_OVERLAPPEDWINDOW, FALSE, 0);
  SetWindowPos(host, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top, SWP_NOMOVE | SWP_NOZORDER);
  glfwPollEvents();
  EXPECT_EQ(reported[0], 230);
  EXPECT_EQ(reported[1], 170);
}

struct StyleCase {
  const char* name;
  DWORD style;
  DWORD exStyle;
  bool child;
  int resizable, decorated, floating, maximized, iconified;
};

class AdoptStyleTest : public AdoptTest, public ::testing::WithParamInterface<StyleCase> {};

TEST_P(AdoptStyleTest, FlagsFollowTheHost) {
  const StyleCase c = GetParam();
  HWND parent = c.child ? makeHost(WS_OVERLAPPEDWINDOW, 0, nullptr, 300, 200) : nullptr;
  HWND host = makeHost(c.style, c.exStyle, parent);
  ASSERT_NE(host, nullptr);
  glfwWindowHint(GLFW_CLIENT_API, GLFW_NO_API);  // flags only; contexts have a test of their own
  GLFWwindow* window = glfwAdoptNativeWindow(native(host), nullptr);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(glfwGetWindowAttrib(window, GLFW_RESIZABLE), c.resizable);
  EXPECT_EQ(glfwGetWindowAttrib(window, GLFW_DECORATED), c.decorated);
  EXPECT_EQ(glfwGetWindowAttrib(window, GLFW_FLOATING), c.floating);
  EXPECT_EQ(glfwGetWindowAttrib(window, GLFW_MAXIMIZED), c.maximized);
  EXPECT_EQ(glfwGetWindowAttrib(window, GLFW_ICONIFIED), c.iconified);
  EXPECT_EQ(glfwGetWindowAttrib(window, GLFW_CLIENT_API), GLFW_NO_API);
  glfwDestroyWindow(window);
  EXPECT_EQ(GetWindowLongPtrW(host, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(hostProc));
}

INSTANTIATE_TEST_SUITE_P(
    Styles, AdoptStyleTest,
    ::testing::Values(
        //    name         style                               exStyle   child   R  D  F  Max Min
        StyleCase{"ThickFrame", WS_OVERLAPPEDWINDOW, 0, false, 1, 1, 0, 0, 0},
        StyleCase{"BorderOnly", WS_POPUP | WS_BORDER, 0, false, 0, 1, 0, 0, 0},
        StyleCase{"PlainChild", WS_CHILD, 0, true, 0, 0, 0, 0, 0},
        StyleCase{"Topmost", WS_POPUP, WS_EX_TOPMOST, false, 0, 0, 1, 0, 0},
        StyleCase{"Maximised", WS_OVERLAPPEDWINDOW | WS_MAXIMIZE, 0, false, 1, 1, 0, 1, 0},
        StyleCase{"Minimised", WS_OVERLAPPEDWINDOW | WS_MINIMIZE, 0, false, 1, 1, 0, 0, 1}),
    [](const auto& info) { return std::string(info.param.name); });

struct ApiCase {
  const char* name;
  int client, source;
  bool adopts;
};

class AdoptApiTest : public AdoptTest, public ::testing::WithParamInterface<ApiCase> {};

TEST_P(AdoptApiTest, ContextByTheHintedApi) {
  const ApiCase c = GetParam();
  HWND host = makeHost(WS_OVERLAPPEDWINDOW);
  SetPropW(host, L"Owner", reinterpret_cast<HANDLE>(0x1234));
  glfwWindowHint(GLFW_CLIENT_API, c.client);
  glfwWindowHint(GLFW_CONTEXT_CREATION_API, c.source);
  GLFWwindow* window = glfwAdoptNativeWindow(native(host), nullptr);
  if (c.adopts) {
    ASSERT_NE(window, nullptr) << (errors.empty() ? "" : errors.back().second);
    EXPECT_EQ(glfwGetWindowAttrib(window, GLFW_CLIENT_API), c.client);
    if (c.client != GLFW_NO_API) {
      EXPECT_EQ(glfwGetWindowAttrib(window, GLFW_CONTEXT_CREATION_API), c.source);
    }
    glfwDestroyWindow(window);
  } else {
    // No such library under this system: the failure is reported and the host restored.
    EXPECT_EQ(window, nullptr);
    ASSERT_FALSE(errors.empty());
    EXPECT_EQ(errors.back().first, GLFW_API_UNAVAILABLE) << errors.back().second;
  }
  expectHandedBack(host);
}

INSTANTIATE_TEST_SUITE_P(Apis, AdoptApiTest,
                         ::testing::Values(ApiCase{"Wgl", GLFW_OPENGL_API, GLFW_NATIVE_CONTEXT_API, true},
                                           ApiCase{"NoApi", GLFW_NO_API, GLFW_NATIVE_CONTEXT_API, true},
                                           ApiCase{"Egl", GLFW_OPENGL_API, GLFW_EGL_CONTEXT_API, false},
                                           ApiCase{"OsMesa", GLFW_OPENGL_API, GLFW_OSMESA_CONTEXT_API, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(AdoptTest, RefusesWhatGlfwCreateWindowRefuses) {
  HWND host = makeHost(WS_OVERLAPPEDWINDOW);
  SetPropW(host, L"Owner", reinterpret_cast<HANDLE>(0x1234));
  // Sharing with a window that has no context.
  HWND other = makeHost(WS_OVERLAPPEDWINDOW);
  glfwWindowHint(GLFW_CLIENT_API, GLFW_NO_API);
  GLFWwindow* contextless = glfwAdoptNativeWindow(native(other), nullptr);
  ASSERT_NE(contextless, nullptr);
  glfwWindowHint(GLFW_CLIENT_API, GLFW_OPENGL_API);
  EXPECT_EQ(glfwAdoptNativeWindow(native(host), contextless), nullptr);
  ASSERT_FALSE(errors.empty());
  EXPECT_EQ(errors.back().first, GLFW_NO_WINDOW_CONTEXT);
  // A context configuration glfwCreateWindow would not take either.
  glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 5);  // there never was an OpenGL 2.5
  EXPECT_EQ(glfwAdoptNativeWindow(native(host), nullptr), nullptr);
  EXPECT_EQ(errors.back().first, GLFW_INVALID_VALUE);
  expectHandedBack(host);
}

TEST_F(AdoptTest, NamesNoWindow) {
  HWND gone = makeHost(WS_OVERLAPPEDWINDOW);
  DestroyWindow(gone);
  for (HWND handle : {static_cast<HWND>(nullptr), gone}) {
    errors.clear();
    EXPECT_EQ(glfwAdoptNativeWindow(native(handle), nullptr), nullptr);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].first, GLFW_PLATFORM_ERROR);
  }
}

TEST_F(AdoptTest, HostOfNoSizeDrawsNothingAndKeepsGoing) {
  HWND host = makeHost(WS_POPUP, 0, nullptr, 0, 0);
  GLFWwindow* window = glfwAdoptNativeWindow(native(host), nullptr);
  ASSERT_NE(window, nullptr) << (errors.empty() ? "" : errors.back().second);
  int width = -1, height = -1;
  glfwGetFramebufferSize(window, &width, &height);
  EXPECT_EQ(width, 0);
  EXPECT_EQ(height, 0);
  glfwMakeContextCurrent(window);
  glfwSwapBuffers(window);
  glfwPollEvents();
  glfwDestroyWindow(window);
  EXPECT_EQ(GetWindowLongPtrW(host, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(hostProc));
}

TEST_F(AdoptTest, DisabledOrDestroyedHostEndsThePreviewTest) {
  HWND host = makeHost(WS_OVERLAPPEDWINDOW);
  GLFWwindow* window = glfwAdoptNativeWindow(native(host), nullptr);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(platform::IsWindowEnabled(native(host)));
  EnableWindow(host, FALSE);
  EXPECT_FALSE(platform::IsWindowEnabled(native(host)));
  EnableWindow(host, TRUE);
  DestroyWindow(host);
  EXPECT_FALSE(platform::IsWindowEnabled(native(host)));
  glfwDestroyWindow(window);  // on a host that is gone: nothing to hand back, nothing to crash
}

}  // namespace
