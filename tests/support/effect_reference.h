// An independent evaluation of the background effect on the CPU, in double precision,
// for comparing rendered frames with what the formula says.
#pragma once

#include <algorithm>
#include <array>
#include <cstdlib>
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

// How far a read-back frame is from the formula's picture of the same size.
struct PictureDifference {
  int largest = 0;             // largest difference of one channel, in 8-bit steps
  double shareBeyondTwo = 0;   // share of channels more than 2 steps apart
};

inline PictureDifference comparePictures(const std::vector<std::uint8_t>& actual,
                                         const std::vector<std::uint8_t>& expected) {
  PictureDifference result;
  std::size_t beyondTwo = 0;
  const std::size_t n = std::min(actual.size(), expected.size());
  for (std::size_t i = 0; i < n; ++i) {
    const int difference = std::abs(int(actual[i]) - int(expected[i]));
    result.largest = std::max(result.largest, difference);
    if (difference > 2) ++beyondTwo;
  }
  result.shareBeyondTwo = n ? double(beyondTwo) / double(n) : 1.0;
  return result;
}

// The tolerance every read-back is held to. The GPU works in single precision with its own
// sine, the reference in double, and both round to 8 bits: one step apart is expected
// (measured: never more than 1 on llvmpipe, natively and under Wine). The light term is steep
// next to a streak, so a handful of channels there may land a few steps apart; a wrong term
// anywhere moves far more.
constexpr double kMaxShareBeyondTwo = 0.001;
constexpr int kMaxChannelDifference = 6;

}  // namespace effect
