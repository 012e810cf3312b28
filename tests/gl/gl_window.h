// A real window with the saver's GL context, for tests that read pixels back.
#pragma once

#include <cstdint>
#include <vector>

struct GLFWwindow;

class GlWindow {
 public:
  // Opens a visible window of the given client size with the saver's hints, makes its
  // context current and resolves the GL table. ok() tells whether that worked.
  GlWindow(int width, int height);
  ~GlWindow();
  GlWindow(const GlWindow&) = delete;
  GlWindow& operator=(const GlWindow&) = delete;

  bool ok() const { return window_ != nullptr; }
  // The back buffer as RGB bytes, bottom row first.
  std::vector<std::uint8_t> readBackBuffer() const;

 private:
  GLFWwindow* window_ = nullptr;
  int width_, height_;
};

// Frees what the scene set-up made, so the next test starts from nothing.
void TearDownScene();
