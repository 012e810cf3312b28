// lumivane-match-shot SHOT.png [--max-time SECONDS] [--max-share FRACTION] [--region X Y W H]
// A running saver's clock is unknown from outside, so the time is searched: coarse steps
// over a sample of pixels, then finer steps over every pixel near the best one. Prints the
// time, the largest per-channel difference and the share of channels off by more than 2.
// Exits 0 when that share is at most --max-share (default 0.002), 1 otherwise, 2 on errors.
// --region compares only that rectangle (top-left origin) of the whole-window picture.
#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/effect_reference.h"

namespace {

struct Image {
  int width = 0, height = 0;
  std::vector<std::uint8_t> rgb;  // top row first
};

bool readPng(const char* path, Image* image) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&png, path)) return false;
  png.format = PNG_FORMAT_RGB;
  image->width = static_cast<int>(png.width);
  image->height = static_cast<int>(png.height);
  image->rgb.resize(PNG_IMAGE_SIZE(png));
  return png_image_finish_read(&png, nullptr, image->rgb.data(), 0, nullptr) != 0;
}

struct Region {
  int x = 0, y = 0, width = 0, height = 0;
};

struct Score {
  double time;
  int largest;
  double share;         // of compared channels off by more than 2
  double meanDistance;  // smooth in time, so the search follows it
};

Score compare(const Image& image, const Region& region, double time, int step) {
  int largest = 0;
  std::size_t beyond = 0, compared = 0;
  double total = 0;
  for (int y = region.y; y < region.y + region.height; y += step) {
    for (int x = region.x; x < region.x + region.width; x += step) {
      const int glY = image.height - 1 - y;  // the formula counts rows from the bottom
      const auto colour = effect::referenceColour(x, glY, image.width, image.height, time);
      for (int c = 0; c < 3; ++c) {
        const int expected = static_cast<int>(std::lround(colour[c] * 255.0));
        const int actual = image.rgb[(static_cast<std::size_t>(y) * image.width + x) * 3 + c];
        const int difference = std::abs(expected - actual);
        largest = std::max(largest, difference);
        total += std::fabs(colour[c] * 255.0 - actual);
        if (difference > 2) ++beyond;
        ++compared;
      }
    }
  }
  const double n = compared ? double(compared) : 1.0;
  return {time, largest, double(beyond) / n, total / n};
}

Score search(const Image& image, const Region& region, double from, double to, double stepSeconds, int pixelStep) {
  Score best{from, 256, 2.0, 1e30};
  for (double t = from; t <= to; t += stepSeconds) {
    const Score s = compare(image, region, t, pixelStep);
    if (s.meanDistance < best.meanDistance) best = s;
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: lumivane-match-shot SHOT.png [--max-time SECONDS] [--max-share FRACTION]\n");
    return 2;
  }
  // sin(T) and cos(0.8 T) repeat together every 10 pi seconds: so does the whole picture.
  double maxTime = 31.4159266, maxShare = 0.002;
  Region region;
  bool haveRegion = false;
  for (int i = 2; i + 1 < argc; i += 2) {
    const std::string flag = argv[i];
    const double value = std::atof(argv[i + 1]);
    if (flag == "--region" && i + 4 < argc) {
      region = {std::atoi(argv[i + 1]), std::atoi(argv[i + 2]), std::atoi(argv[i + 3]), std::atoi(argv[i + 4])};
      haveRegion = true;
      i += 3;
    } else if (flag == "--max-time" && value > 0 && value < 1e5) {
      maxTime = value;
    } else if (flag == "--max-share" && value >= 0 && value <= 1) {
      maxShare = value;
    } else {
      std::fprintf(stderr, "lumivane-match-shot: bad argument %s\n", argv[i]);
      return 2;
    }
  }
  Image image;
  if (!readPng(argv[1], &image) || image.width < 8 || image.height < 8) {
    std::fprintf(stderr, "lumivane-match-shot: cannot read %s as a picture\n", argv[1]);
    return 2;
  }
  if (!haveRegion) region = {0, 0, image.width, image.height};
  if (region.x < 0 || region.y < 0 || region.width < 8 || region.height < 8 || region.x + region.width > image.width ||
      region.y + region.height > image.height) {
    std::fprintf(stderr, "lumivane-match-shot: the region lies outside the picture\n");
    return 2;
  }
  const int coarseStep = std::max(1, std::min(region.width, region.height) / 48);
  Score best = search(image, region, 0.0, maxTime, 0.02, coarseStep);
  best = search(image, region, std::max(0.0, best.time - 0.03), best.time + 0.03, 0.002, std::max(1, coarseStep / 4));
  best = search(image, region, std::max(0.0, best.time - 0.003), best.time + 0.003, 0.0002, 1);
  std::printf("%s: %dx%d (region %dx%d at %d,%d) best time %.4f s, largest channel difference %d, %.4f%% of channels beyond 2\n", argv[1],
              image.width, image.height, region.width, region.height, region.x, region.y, best.time, best.largest, 100.0 * best.share);
  return best.share <= maxShare ? 0 : 1;
}
