// A real window with the saver's GL context, for the tests and tools that draw the effect
// and read its pixels back.
#pragma once

#include <cstdint>
#include <vector>

struct GLFWwindow;

class GlWindow {
 public:
  // Opens a window of the given client size with the saver's hints, makes its context
  // current and resolves the GL table. ok() tells whether that worked.
  GlWindow(int width, int height, bool visible = true);
  ~GlWindow();
  GlWindow(const GlWindow&) = delete;
  GlWindow& operator=(const GlWindow&) = delete;

  bool ok() const { return window_ != nullptr; }
  GLFWwindow* handle() const { return window_; }
  // Makes this window's context current and its size the drawing size.
  void makeCurrent() const;
  // The back buffer as RGB bytes, bottom row first.
  std::vector<std::uint8_t> readBackBuffer() const;

 private:
  GLFWwindow* window_ = nullptr;
  int width_, height_;
};

// The current context's back buffer as RGB bytes, bottom row first.
std::vector<std::uint8_t> ReadBackBuffer(int width, int height);

// Frees what the scene set-up made, so the next test starts from nothing.
void TearDownScene();
