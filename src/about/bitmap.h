// Reading an uncompressed Windows bitmap file (.bmp) held in memory, for systems that have no
// LoadImage of their own.
#pragma once

#include <cstddef>
#include <vector>

#include "about/about.h"

namespace about {

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<Rgb> pixels;  // rows from the top, left to right
};

// Largest side accepted; a header that claims more is treated as damaged.
constexpr int kMaxPictureSide = 8192;

// 24 and 32 bits per pixel, BI_RGB, bottom-up or top-down rows. False for anything else,
// including files whose pixel rows do not fit in the given bytes.
bool DecodeBitmap(const unsigned char* bytes, std::size_t size, Picture* out);

}  // namespace about
