// The window icon, computed once by the compiler: a bright streak over a dark disc.
#include <array>
#include <cstddef>

#include "shell/app.h"

namespace {

constexpr unsigned char clampByte(int value) { return static_cast<unsigned char>(value < 0 ? 0 : (value > 255 ? 255 : value)); }

constexpr std::array<unsigned char, kWindowIconSize * kWindowIconSize * 4> makeIcon() {
  std::array<unsigned char, kWindowIconSize * kWindowIconSize * 4> pixels{};
  for (int y = 0; y < kWindowIconSize; ++y) {
    for (int x = 0; x < kWindowIconSize; ++x) {
      const int dx = 2 * x - 63, dy = 2 * y - 63;
      const int radius2 = dx * dx + dy * dy;  // up to about 2 * 63^2
      // Distance from the curve y = x^2 (scaled) gives the streak; glow falls off as 1/(1+d^2).
      const int curve = dy - (dx * dx) / 64 + 20;
      const int glow = 255 * 400 / (400 + curve * curve * 4);
      const bool inside = radius2 <= 63 * 63;
      const std::size_t at = static_cast<std::size_t>(y * kWindowIconSize + x) * 4;
      pixels[at + 0] = clampByte(10 + glow * 6 / 10);
      pixels[at + 1] = clampByte(20 + glow);
      pixels[at + 2] = clampByte(40 + glow / 2);
      pixels[at + 3] = inside ? 255 : 0;
    }
  }
  return pixels;
}

}  // namespace

// constexpr-initialised: the pixels are constant data in the executable, not start-up work.
constexpr std::array<unsigned char, kWindowIconSize * kWindowIconSize * 4> kWindowIconPixels = makeIcon();
