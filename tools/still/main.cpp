// lumivane-still --time SECONDS --size WIDTHxHEIGHT --out FILE.png
// Renders the effect at that time and size in a hidden window, through the same program,
// sky and frame path as the saver, and writes the picture as an 8-bit RGB PNG.
#include <GLFW/glfw3.h>
#include <png.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "common/gl_window.h"
#include "platform/platform.h"
#include "shell/frame.h"

namespace {

constexpr int kMaxSide = 8192;

int usage(const char* problem) {
  std::fprintf(stderr, "lumivane-still: %s\nusage: lumivane-still --time SECONDS --size WIDTHxHEIGHT --out FILE.png\n",
               problem);
  return 2;
}

bool parseTime(const char* text, float* out) {
  char* end = nullptr;
  errno = 0;
  const double value = std::strtod(text, &end);
  if (end == text || *end != '\0' || errno != 0 || !std::isfinite(value) || value < 0 || value > 1e7) return false;
  *out = static_cast<float>(value);
  return true;
}

bool parseSide(const char* begin, const char* end, int* out) {
  if (begin == end || end - begin > 5) return false;
  int value = 0;
  for (const char* p = begin; p < end; ++p) {
    if (*p < '0' || *p > '9') return false;
    value = value * 10 + (*p - '0');
  }
  if (value < 1 || value > kMaxSide) return false;
  *out = value;
  return true;
}

bool parseSize(const char* text, int* width, int* height) {
  const char* x = std::strchr(text, 'x');
  return x != nullptr && parseSide(text, x, width) && parseSide(x + 1, text + std::strlen(text), height);
}

// Rows come bottom first from GL; PNG wants the top row first.
bool writePng(const std::string& path, int width, int height, const std::vector<std::uint8_t>& bottomUp) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  bool ok = false;
  if (info != nullptr && setjmp(png_jmpbuf(png)) == 0) {
    png_init_io(png, file);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int row = height - 1; row >= 0; --row) {
      png_write_row(png, bottomUp.data() + static_cast<std::size_t>(row) * width * 3);
    }
    png_write_end(png, nullptr);
    ok = true;
  }
  png_destroy_write_struct(&png, &info);
  return std::fclose(file) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
  float time = 0;
  int width = 0, height = 0;
  std::string out;
  bool haveTime = false, haveSize = false;
  for (int i = 1; i < argc; ++i) {
    const std::string flag = argv[i];
    if (i + 1 >= argc) return usage(("missing value after " + flag).c_str());
    const char* value = argv[++i];
    if (flag == "--time") {
      if (!parseTime(value, &time)) return usage("--time takes a number of seconds from 0 to 10000000");
      haveTime = true;
    } else if (flag == "--size") {
      if (!parseSize(value, &width, &height)) return usage("--size takes WIDTHxHEIGHT, each 1 to 8192");
      haveSize = true;
    } else if (flag == "--out") {
      out = value;
      if (out.empty()) return usage("--out needs a file name");
    } else {
      return usage(("unknown argument " + flag).c_str());
    }
  }
  if (!haveTime || !haveSize || out.empty()) return usage("--time, --size and --out are all needed");

  GlWindow window(width, height, /*visible=*/false);
  if (!window.ok()) {
    std::fprintf(stderr, "lumivane-still: cannot open an OpenGL window (is DISPLAY set?)\n");
    return 1;
  }
  // The model reader's progress lines are for the saver; keep this tool's output to its own line.
  std::streambuf* console = std::cout.rdbuf(nullptr);
  setupScene();
  std::cout.rdbuf(console);
  std::cout.clear();
  advanceFrameAt(time);
  const std::vector<std::uint8_t> pixels = window.readBackBuffer();
  if (!writePng(out, width, height, pixels)) {
    std::fprintf(stderr, "lumivane-still: cannot write %s\n", out.c_str());
    return 1;
  }
  std::printf("%s: %dx%d at %g s\n", out.c_str(), width, height, static_cast<double>(time));
  return 0;
}
