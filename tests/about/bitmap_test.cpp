// Reading the About picture's .bmp bytes: pixel order, row padding, and damaged headers.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "about/bitmap.h"

namespace {

void putU32(std::vector<unsigned char>& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<unsigned char>(v >> (8 * i));
}
void putU16(std::vector<unsigned char>& b, std::size_t at, std::uint16_t v) {
  b[at] = static_cast<unsigned char>(v);
  b[at + 1] = static_cast<unsigned char>(v >> 8);
}

// A file as a paint program writes it: rows padded to four bytes, bottom row first unless
// topDown. pixels are given from the top.
std::vector<unsigned char> makeBitmap(int width, int height, int bitsPerPixel, bool topDown,
                                      const std::vector<about::Rgb>& pixels) {
  const std::size_t stride = (static_cast<std::size_t>(width) * bitsPerPixel + 31) / 32 * 4;
  std::vector<unsigned char> b(54 + stride * height, 0xEE);  // padding bytes are not zero on purpose
  b[0] = 'B';
  b[1] = 'M';
  putU32(b, 2, static_cast<std::uint32_t>(b.size()));
  putU32(b, 6, 0);
  putU32(b, 10, 54);
  putU32(b, 14, 40);
  putU32(b, 18, static_cast<std::uint32_t>(width));
  putU32(b, 22, static_cast<std::uint32_t>(topDown ? -height : height));
  putU16(b, 26, 1);
  putU16(b, 28, static_cast<std::uint16_t>(bitsPerPixel));
  putU32(b, 30, 0);
  for (int y = 0; y < height; ++y) {
    const int storedRow = topDown ? y : height - 1 - y;
    for (int x = 0; x < width; ++x) {
      const about::Rgb& p = pixels[static_cast<std::size_t>(y * width + x)];
      const std::size_t at = 54 + stride * storedRow + static_cast<std::size_t>(x) * (bitsPerPixel / 8);
      b[at] = p.blue;
      b[at + 1] = p.green;
      b[at + 2] = p.red;
    }
  }
  return b;
}

bool samePixels(const std::vector<about::Rgb>& a, const std::vector<about::Rgb>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].red != b[i].red || a[i].green != b[i].green || a[i].blue != b[i].blue) return false;
  }
  return true;
}

// Three columns make 24-bit rows of nine bytes, so every row carries three bytes of padding.
const std::vector<about::Rgb> kThreeByTwo = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255},
                                             {10, 20, 30}, {40, 50, 60}, {70, 80, 90}};

struct GoodCase {
  const char* name;
  int bitsPerPixel;
  bool topDown;
};

class DecodeBitmapGood : public ::testing::TestWithParam<GoodCase> {};

TEST_P(DecodeBitmapGood, GivesThePixelsFromTheTopLeft) {
  const GoodCase& c = GetParam();
  const auto file = makeBitmap(3, 2, c.bitsPerPixel, c.topDown, kThreeByTwo);
  about::Picture picture;
  ASSERT_TRUE(about::DecodeBitmap(file.data(), file.size(), &picture));
  EXPECT_EQ(picture.width, 3);
  EXPECT_EQ(picture.height, 2);
  EXPECT_TRUE(samePixels(picture.pixels, kThreeByTwo));
}

INSTANTIATE_TEST_SUITE_P(Layouts, DecodeBitmapGood,
                         ::testing::Values(GoodCase{"BottomUp24", 24, false}, GoodCase{"TopDown24", 24, true},
                                           GoodCase{"BottomUp32", 32, false}),
                         [](const ::testing::TestParamInfo<GoodCase>& info) { return std::string(info.param.name); });

TEST(DecodeBitmap, LastRowWithoutItsPaddingIsEnough) {
  auto file = makeBitmap(3, 2, 24, false, kThreeByTwo);
  file.resize(file.size() - 3);
  about::Picture picture;
  ASSERT_TRUE(about::DecodeBitmap(file.data(), file.size(), &picture));
  EXPECT_TRUE(samePixels(picture.pixels, kThreeByTwo));
}

struct BadCase {
  const char* name;
  std::function<void(std::vector<unsigned char>&)> damage;
};

class DecodeBitmapBad : public ::testing::TestWithParam<BadCase> {};

TEST_P(DecodeBitmapBad, RefusesWithoutReadingPastTheBytes) {
  auto file = makeBitmap(3, 2, 24, false, kThreeByTwo);
  GetParam().damage(file);
  about::Picture picture;
  picture.width = 7;
  EXPECT_FALSE(about::DecodeBitmap(file.data(), file.size(), &picture));
  EXPECT_EQ(picture.width, 0);
  EXPECT_TRUE(picture.pixels.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Damage, DecodeBitmapBad,
    ::testing::Values(
        BadCase{"NotBM", [](auto& b) { b[1] = 'A'; }},
        BadCase{"EightBitsPerPixel", [](auto& b) { putU16(b, 28, 8); }},
        BadCase{"RunLengthCompressed", [](auto& b) { putU32(b, 30, 1); }},
        BadCase{"TwoPlanes", [](auto& b) { putU16(b, 26, 2); }},
        BadCase{"ZeroWidth", [](auto& b) { putU32(b, 18, 0); }},
        BadCase{"NegativeWidth", [](auto& b) { putU32(b, 18, static_cast<std::uint32_t>(-3)); }},
        BadCase{"ZeroHeight", [](auto& b) { putU32(b, 22, 0); }},
        BadCase{"MostNegativeHeight", [](auto& b) { putU32(b, 22, 0x80000000u); }},
        BadCase{"HugeSides", [](auto& b) { putU32(b, 18, 0x7fffffffu); putU32(b, 22, 0x7fffffffu); }},
        BadCase{"TallerThanTheBytes", [](auto& b) { putU32(b, 22, 3); }},
        BadCase{"OneByteShort", [](auto& b) { b.resize(b.size() - 4); }},
        BadCase{"PixelsInsideTheHeader", [](auto& b) { putU32(b, 10, 20); }},
        BadCase{"PixelOffsetPastTheEnd", [](auto& b) { putU32(b, 10, 0xfffffff0u); }},
        BadCase{"InfoHeaderTooShort", [](auto& b) { putU32(b, 14, 12); }},
        BadCase{"InfoHeaderPastTheEnd", [](auto& b) { putU32(b, 14, 0xffffffffu); }},
        BadCase{"OnlyTheFileHeader", [](auto& b) { b.resize(14); }},
        BadCase{"Empty", [](auto& b) { b.clear(); }}),
    [](const ::testing::TestParamInfo<BadCase>& info) { return std::string(info.param.name); });

TEST(DecodeBitmap, NullBytesAreRefused) {
  about::Picture picture;
  EXPECT_FALSE(about::DecodeBitmap(nullptr, 100, &picture));
}

}  // namespace
