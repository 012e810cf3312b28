// An independent evaluation of the background effect on the CPU, in double precision,
// for comparing rendered frames with what the formula says.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

namespace effect {

// Colour of the pixel whose centre is at (px + 0.5, py + 0.5) from the bottom-left corner,
// clamped to 0..1 as a unorm framebuffer stores it.
inline std::array<double, 3> referenceColour(int px, int py, double width, double height, double time) {
  const double fx = px + 0.5, fy = py + 0.5;
  const double shorter = std::fmin(width, height);
  const double u = (2.0 * fx - width) / shorter;
  const double v = (2.0 * fy - height) / shorter;
  double light = 0.0;
  double tintX = 0.5, tintY = 0.5;
  for (int pass = 0; pass < 6; ++pass) {
    const double x = 0.1 + pass;
    const double k = (x + v) * (std::sin(x) + std::cos(x));
    const double s = std::sin(std::sin(time + u * x) - v * k);
    const double q = std::sin(time + v);
    light += 0.04 / std::hypot(u - s, v - s) - 0.01 * std::hypot(q - u, q - v);
    tintY = std::sin(time + x) * 0.2 + 0.6;
    tintX = std::cos(time * 0.8 + x) * 0.1 + 0.6;
  }
  auto clamp01 = [](double c) { return c < 0 ? 0.0 : (c > 1 ? 1.0 : c); };
  return {clamp01(tintX * light), clamp01(tintY * light), clamp01(0.5 * light)};
}

// The whole picture as 8-bit RGB rows, bottom row first (the order glReadPixels gives).
inline std::vector<std::uint8_t> referenceImage(int width, int height, double time) {
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * height * 3);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const auto c = referenceColour(x, y, width, height, time);
      for (int ch = 0; ch < 3; ++ch) {
        rgb[(static_cast<std::size_t>(y) * width + x) * 3 + ch] = static_cast<std::uint8_t>(std::lround(c[ch] * 255.0));
      }
    }
  }
  return rgb;
}

}  // namespace effect
