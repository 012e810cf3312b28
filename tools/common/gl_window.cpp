#include "gl_window.h"

#include <GLFW/glfw3.h>

#include "drawables/drawable_sky.h"
#include "shell/app.h"
#include "shell/frame.h"
#include "shell/gl_loader.h"

GlWindow::GlWindow(int width, int height, bool visible) : width_(width), height_(height) {
  if (glfwInit() == GLFW_FALSE) return;
  glfwDefaultWindowHints();
  glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 2);
  glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 0);
  glfwWindowHint(GLFW_CONTEXT_ROBUSTNESS, GLFW_LOSE_CONTEXT_ON_RESET);
  glfwWindowHint(GLFW_RESIZABLE, GLFW_FALSE);
  glfwWindowHint(GLFW_VISIBLE, visible ? GLFW_TRUE : GLFW_FALSE);
  window_ = glfwCreateWindow(width, height, "lumivane test", nullptr, nullptr);
  if (window_ == nullptr) return;
  makeCurrent();
  GlLoaderInit();
}

void GlWindow::makeCurrent() const {
  glfwMakeContextCurrent(window_);
  SetDrawingSize(width_, height_);
}

GlWindow::~GlWindow() {
  if (window_ != nullptr) glfwDestroyWindow(window_);
}

std::vector<std::uint8_t> ReadBackBuffer(int width, int height) {
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * height * 3);
  gl.Finish();
  gl.PixelStorei(glc::PACK_ALIGNMENT, 1);
  gl.ReadBuffer(glc::BACK);
  gl.ReadPixels(0, 0, width, height, glc::RGB, glc::UNSIGNED_BYTE, rgb.data());
  return rgb;
}

std::vector<std::uint8_t> GlWindow::readBackBuffer() const { return ReadBackBuffer(width_, height_); }

void TearDownScene() {
  delete gFrame.sky;
  delete gFrame.registry;
  delete gFrame.camera;
  delete gFrame.scene;
  delete gFrame.clock;
  if (gFrame.bufferATexture != 0) gl.DeleteTextures(1, &gFrame.bufferATexture);
  if (gFrame.bufferAFramebuffer != 0) gl.DeleteFramebuffers(1, &gFrame.bufferAFramebuffer);
  gFrame = FrameState{};
}
