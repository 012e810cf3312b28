#include "shell/app.h"

#include <GLFW/glfw3.h>

#include "shell/gl_loader.h"

ScreensaverApp* gScreensaverApp = nullptr;
std::int32_t WindowWidth = 0;
std::int32_t WindowHeight = 0;
float AspectRatio = 1.0f;

void SetDrawingSize(std::int32_t width, std::int32_t height) {
  WindowWidth = width;
  WindowHeight = height;
  // A host window of no height (or a minimised one) would make the ratio infinite or NaN,
  // and that would reach the driver through the projection.
  AspectRatio = (width > 0 && height > 0) ? static_cast<float>(width) / static_cast<float>(height) : 1.0f;
}

void OnGlfwError(int, const char* description) {
  platform::ShowMessageBox(description != nullptr ? description : "", "Error", platform::kIconInformation);
}

void OnWindowSize(GLFWwindow*, int width, int height) { SetDrawingSize(width, height); }
void OnKey(GLFWwindow*, int, int, int, int) { platform::EndProcess(0); }
void OnMouseButton(GLFWwindow*, int, int, int) { platform::EndProcess(0); }
void OnCursorPos(GLFWwindow*, double, double) {}
void OnScroll(GLFWwindow*, double, double) {}

ScreensaverApp::ScreensaverApp(LaunchOptions* launchOptions) : options(launchOptions) {
  InitGlfw();
  ComputeWindowSize();
  OpenWindow();
  InitGlState();
}

void ScreensaverApp::InitGlfw() {
  glfwSetErrorCallback(OnGlfwError);
  if (glfwInit() == GLFW_FALSE) {
    // Going on would only chain one "not initialized" report after another (on Windows, a
    // box to click through for each): one report, after GLFW's own, ends the run.
    platform::ShowMessageBox("Failed to initialize GLFW", "Debug", platform::kIconInformation);
    platform::EndAfterStartupFailure();
  }
}

int ScreensaverApp::WindowsVersionNumber() { return platform::OsVersionNumber(); }

int ScreensaverApp::VideoModeDimension(int selector) {
  GLFWmonitor* monitor = glfwGetPrimaryMonitor();
  const GLFWvidmode* mode = monitor != nullptr ? glfwGetVideoMode(monitor) : nullptr;
  if (mode == nullptr) return selector == 0 ? 800 : 600;
  return selector == 0 ? mode->width : mode->height;
}

void ScreensaverApp::ComputeWindowSize() {
  int width = 0;
  int height = 0;
  if (options->mode == Preview) {
    platform::GetWindowClientSize(options->targetWindow, &width, &height);
  } else if (WindowsVersionNumber() >= 60) {
    width = VideoModeDimension(0);
    height = VideoModeDimension(1);
  } else {
    width = 800;
    height = 600;
  }
  SetDrawingSize(width, height);
}

void SetContextHints() {
  glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 2);
  glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 0);
  glfwWindowHint(GLFW_CONTEXT_ROBUSTNESS, GLFW_LOSE_CONTEXT_ON_RESET);
  glfwWindowHint(GLFW_SAMPLES, 0);
  glfwWindowHint(GLFW_STEREO, GLFW_FALSE);
}

void ApplyFirstGlState() {
  gl.CullFace(glc::BACK);
  gl.FrontFace(glc::CW);
  gl.Disable(glc::MULTISAMPLE);
  gl.Disable(glc::LINE_SMOOTH);
  gl.Disable(glc::POLYGON_SMOOTH);
}

void ScreensaverApp::OpenWindow() {
  SetContextHints();

  if (options->mode == Preview) {
    window = glfwAdoptNativeWindow(options->targetWindow, nullptr);
  } else {
    window = glfwCreateWindow(WindowWidth, WindowHeight, "Lumivane 3D Screensaver", glfwGetPrimaryMonitor(), nullptr);
  }
  if (window == nullptr) {
    platform::ShowMessageBox("Failed to open window", "Debug", platform::kIconInformation);
    glfwTerminate();
    platform::EndAfterStartupFailure();
  }

  glfwSetWindowSizeCallback(window, OnWindowSize);
  glfwSetKeyCallback(window, OnKey);
  glfwSetMouseButtonCallback(window, OnMouseButton);
  glfwSetCursorPosCallback(window, OnCursorPos);
  glfwSetScrollCallback(window, OnScroll);
  glfwMakeContextCurrent(window);
  ApplyWindowIcon();
  GlLoaderInit();  // an old driver still gets its chance to draw
}

void ScreensaverApp::ApplyWindowIcon() {
  // GLFW takes a non-const pointer but only reads; it copies the pixels into its own icon.
  static std::array<unsigned char, kWindowIconPixels.size()> pixels = kWindowIconPixels;
  GLFWimage image{kWindowIconSize, kWindowIconSize, pixels.data()};
  glfwSetWindowIcon(window, 1, &image);
}

void ScreensaverApp::InitGlState() {
  ApplyFirstGlState();
  SetSwapInterval(true);
  glfwSetInputMode(window, GLFW_CURSOR, GLFW_CURSOR_HIDDEN);
}

void ScreensaverApp::SetSwapInterval(bool on) { glfwSwapInterval(on ? 1 : 0); }

void ScreensaverApp::Shutdown() {
  glfwDestroyWindow(window);
  glfwTerminate();
}
