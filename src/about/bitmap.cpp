#include "about/bitmap.h"

#include <cstdint>

namespace about {

namespace {
constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;

std::uint32_t readU32(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
std::uint16_t readU16(const unsigned char* p) {
  return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}
}  // namespace

bool DecodeBitmap(const unsigned char* bytes, std::size_t size, Picture* out) {
  *out = Picture{};
  if (bytes == nullptr || size < kFileHeaderSize + kInfoHeaderSize) return false;
  if (bytes[0] != 'B' || bytes[1] != 'M') return false;
  const std::uint32_t pixelOffset = readU32(bytes + 10);
  const unsigned char* info = bytes + kFileHeaderSize;
  const std::uint32_t infoSize = readU32(info);
  if (infoSize < kInfoHeaderSize || infoSize > size - kFileHeaderSize) return false;
  const std::int64_t width = static_cast<std::int32_t>(readU32(info + 4));
  const std::int64_t signedHeight = static_cast<std::int32_t>(readU32(info + 8));
  const std::uint16_t planes = readU16(info + 12);
  const std::uint16_t bitsPerPixel = readU16(info + 14);
  const std::uint32_t compression = readU32(info + 16);
  if (planes != 1 || compression != 0 || (bitsPerPixel != 24 && bitsPerPixel != 32)) return false;
  // A negative height stores the rows from the top.
  const bool topDown = signedHeight < 0;
  const std::int64_t height = topDown ? -signedHeight : signedHeight;
  if (width <= 0 || height <= 0 || width > kMaxPictureSide || height > kMaxPictureSide) return false;

  const std::uint64_t bytesPerPixel = bitsPerPixel / 8;
  const std::uint64_t stride = (static_cast<std::uint64_t>(width) * bitsPerPixel + 31) / 32 * 4;
  if (pixelOffset < kFileHeaderSize + infoSize) return false;
  // The last row needs only its pixels, not its padding.
  const std::uint64_t needed =
      static_cast<std::uint64_t>(pixelOffset) + stride * static_cast<std::uint64_t>(height - 1) +
      bytesPerPixel * static_cast<std::uint64_t>(width);
  if (needed > size) return false;

  out->width = static_cast<int>(width);
  out->height = static_cast<int>(height);
  out->pixels.resize(static_cast<std::size_t>(width * height));
  for (std::int64_t row = 0; row < height; ++row) {
    const std::int64_t storedRow = topDown ? row : height - 1 - row;
    const unsigned char* source = bytes + pixelOffset + stride * static_cast<std::uint64_t>(storedRow);
    Rgb* target = &out->pixels[static_cast<std::size_t>(row * width)];
    for (std::int64_t x = 0; x < width; ++x, source += bytesPerPixel) {
      target[x] = Rgb{source[2], source[1], source[0]};  // stored blue, green, red
    }
  }
  return true;
}

}  // namespace about
