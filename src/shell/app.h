// The start-up of the drawing modes: GLFW, the window, its GL context and first GL state.
#pragma once

#include <array>
#include <cstdint>

#include "platform/platform.h"
#include "shell/launch.h"

struct GLFWwindow;

class ScreensaverApp {
 public:
  // Runs the whole start-up; on a failure it reports and ends the process.
  explicit ScreensaverApp(LaunchOptions* options);

  void Shutdown();
  void SetSwapInterval(bool on);
  // Width (selector 0) or height (any other) of the primary monitor's current video mode;
  // 800 or 600 when there is no monitor to ask.
  static int VideoModeDimension(int selector);
  static int WindowsVersionNumber();

  GLFWwindow* window = nullptr;
  LaunchOptions* options;
  std::int32_t glMajorVersion;
  std::int32_t glMinorVersion;
  std::int32_t glProfileMask;
  std::int32_t glContextFlags;

 private:
  void InitGlfw();
  void ComputeWindowSize();
  void OpenWindow();
  void InitGlState();
  void ApplyWindowIcon();
};

extern ScreensaverApp* gScreensaverApp;

// The shared drawing size, kept current by the window-size callback.
extern std::int32_t WindowWidth;
extern std::int32_t WindowHeight;
extern float AspectRatio;

// Sets the three shared values; a zero or negative side keeps the aspect ratio finite.
void SetDrawingSize(std::int32_t width, std::int32_t height);

// The window hints of the saver's context (every window whose context shares with it needs
// the same), and the first GL state of a new context.
void SetContextHints();
void ApplyFirstGlState();

void OnGlfwError(int code, const char* description);
void OnWindowSize(GLFWwindow* window, int width, int height);
void OnKey(GLFWwindow* window, int key, int scancode, int action, int mods);
void OnMouseButton(GLFWwindow* window, int button, int action, int mods);
void OnCursorPos(GLFWwindow* window, double x, double y);
void OnScroll(GLFWwindow* window, double xOffset, double yOffset);

// The window icon: 64 x 64 pixels, red, green, blue, alpha.
constexpr int kWindowIconSize = 64;
extern const std::array<unsigned char, kWindowIconSize * kWindowIconSize * 4> kWindowIconPixels;

// The entry point the preview adds to GLFW (a C entry point like GLFW's own): wraps an
// existing native window, the preview host, in a GLFW window with a GL context. Uses the
// hints current at the call; null after reporting through the GLFW error callback.
extern "C" GLFWwindow* glfwAdoptNativeWindow(NativeWindow window, GLFWwindow* share);

// Keeps an adopted window in step with its host between frames. X11 matches the window's
// size to the host's (the size callback follows from GLFW's own events); on Windows the
// host's size messages reach GLFW's window procedure directly, so there is nothing to do.
void FollowPreviewHost(GLFWwindow* window);
