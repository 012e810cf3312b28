// bench_frame: the saver's own frame path (the scene set-up, then advanceFrame and drawFrame
// every frame) against a bare draw of the same program (the same shader texts compiled in a
// context of their own, one rectangle, nothing else bound), at 800x600, 1280x720 and
// 1920x1080. The two paths take turns frame by frame, each frame drawn to the end (glFinish)
// and timed on its own; the figures are the median frame times, so a burst of load on a
// shared machine weighs on both alike. A ratio below 1 is time the saver spends that the
// picture does not need.
//   DISPLAY=... build/linux/tools/bench_frame/bench_frame [--seconds S] [--floor]
//   scripts/wine-run build/windows/tools/bench_frame/bench_frame.exe
// --floor adds a bare draw of a flat-colour shader: the fill-rate floor of this machine.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "common/gl_window.h"
#include "platform/platform.h"
#include "shell/app.h"
#include "shell/frame.h"
#include "shell/gl_loader.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kVertexText = 137;
constexpr int kEffectText = 136;
constexpr int kFloorText = 961;

// The same shader text the saver compiles; the "~" line closes it.
std::string shaderText(int id) {
  platform::ResourceData data;
  if (!platform::FindResourceData(id, "TEXTFILE", &data)) return {};
  std::string text(reinterpret_cast<const char*>(data.bytes), data.size);
  const std::size_t marker = text.find('~');
  return marker == std::string::npos ? text : text.substr(0, marker);
}

GLuint compile(GLenum type, const std::string& text) {
  const GLuint shader = gl.CreateShader(type);
  const GLchar* source = text.c_str();
  gl.ShaderSource(shader, 1, &source, nullptr);
  gl.CompileShader(shader);
  return shader;
}

// A program and a rectangle in a window of its own: nothing the saver's set-up binds can
// reach it.
class BareDraw {
 public:
  BareDraw(int width, int height, int fragmentText) : window_(width, height, /*visible=*/false) {
    if (!window_.ok()) return;
    window_.makeCurrent();
    program_ = gl.CreateProgram();
    gl.AttachShader(program_, compile(glc::VERTEX_SHADER, shaderText(kVertexText)));
    gl.AttachShader(program_, compile(glc::FRAGMENT_SHADER, shaderText(fragmentText)));
    gl.LinkProgram(program_);
    GLint linked = 0;
    gl.GetProgramiv(program_, glc::LINK_STATUS, &linked);
    if (linked == 0) return;
    gl.UseProgram(program_);
    time_ = gl.GetUniformLocation(program_, "iTime");
    gl.Uniform1f(gl.GetUniformLocation(program_, "viewportWidth"), static_cast<float>(width));
    gl.Uniform1f(gl.GetUniformLocation(program_, "viewportHeight"), static_cast<float>(height));
    const GLfloat corners[] = {-1, -1, 0, 1, -1, 0, -1, 1, 0, 1, 1, 0};
    GLuint buffer = 0;
    gl.GenBuffers(1, &buffer);
    gl.BindBuffer(glc::ARRAY_BUFFER, buffer);
    gl.BufferData(glc::ARRAY_BUFFER, sizeof corners, corners, glc::STATIC_DRAW);
    const GLint position = gl.GetAttribLocation(program_, "position");
    if (position < 0) return;
    gl.EnableVertexAttribArray(static_cast<GLuint>(position));
    gl.VertexAttribPointer(static_cast<GLuint>(position), 3, glc::FLOAT, glc::FALSE_, 0, nullptr);
    gl.Viewport(0, 0, width, height);
    ok_ = true;
  }
  bool ok() const { return ok_; }
  void makeCurrent() const { window_.makeCurrent(); }
  void draw(float t) const {
    gl.Uniform1f(time_, t);
    gl.DrawArrays(glc::TRIANGLE_STRIP, 0, 4);
  }
  std::vector<std::uint8_t> read() const { return window_.readBackBuffer(); }

 private:
  GlWindow window_;
  GLuint program_ = 0;
  GLint time_ = -1;
  bool ok_ = false;
};

// The saver's scene, set up by its own code, in a window of its own.
class SaverPath {
 public:
  SaverPath(int width, int height) : window_(width, height, /*visible=*/false) {
    if (!window_.ok()) return;
    window_.makeCurrent();
    std::streambuf* console = std::cout.rdbuf(nullptr);  // the model reader's progress lines
    gFrame = FrameState{};
    setupScene();
    std::cout.rdbuf(console);
    std::cout.clear();
    frame_ = gFrame;
  }
  bool ok() const { return window_.ok(); }
  void makeCurrent() {
    window_.makeCurrent();
    gFrame = frame_;
  }
  void draw(float t) { advanceFrameAt(t); }
  void keep() { frame_ = gFrame; }
  std::vector<std::uint8_t> read() const { return window_.readBackBuffer(); }

 private:
  GlWindow window_;
  FrameState frame_;
};

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Milliseconds of one frame, drawn to the end.
template <typename Draw>
double timeFrame(float t, Draw draw) {
  const Clock::time_point start = Clock::now();
  draw(t);
  gl.Finish();
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

int largestDifference(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
  if (a.size() != b.size()) return 255;
  int largest = 0;
  for (std::size_t i = 0; i < a.size(); ++i) largest = std::max(largest, std::abs(int(a[i]) - int(b[i])));
  return largest;
}

}  // namespace

int main(int argc, char** argv) {
  double seconds = 8.0;
  bool floor = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--seconds" && i + 1 < argc) {
      seconds = std::max(0.5, std::atof(argv[++i]));
    } else if (arg == "--floor") {
      floor = true;
    } else {
      std::fprintf(stderr, "usage: bench_frame [--seconds S] [--floor]\n");
      return 2;
    }
  }
  struct Size {
    int width, height;
  };
  const Size sizes[] = {{800, 600}, {1280, 720}, {1920, 1080}};
  std::printf("bench_frame: median frame times over %.1f s per size, the paths taking turns frame by frame\n",
              seconds);
  std::printf("%-10s %20s %20s %8s %9s%s\n", "size", "saver frame path", "bare draw", "ratio", "max diff",
              floor ? "    flat floor" : "");
  double worst = 1e9;
  for (const Size& size : sizes) {
    SaverPath saver(size.width, size.height);
    BareDraw bare(size.width, size.height, kEffectText);
    std::unique_ptr<BareDraw> flat;
    if (floor) flat = std::make_unique<BareDraw>(size.width, size.height, kFloorText);
    if (!saver.ok() || !bare.ok() || (flat && !flat->ok())) {
      std::fprintf(stderr, "bench_frame: no OpenGL window of %dx%d (is DISPLAY set?)\n", size.width, size.height);
      return 1;
    }
    std::vector<double> saverMs, bareMs, flatMs;
    float time = 1.0f;
    const Clock::time_point start = Clock::now();
    // The first frames compile the shader's machine code and make the offscreen buffer.
    constexpr int kWarmUp = 3;
    for (int frame = 0; std::chrono::duration<double>(Clock::now() - start).count() < seconds; ++frame) {
      time += 1.0f / 60.0f;
      auto saverFrame = [&] {
        saver.makeCurrent();
        const double ms = timeFrame(time, [&](float t) { saver.draw(t); });
        saver.keep();
        return ms;
      };
      auto bareFrame = [&] {
        bare.makeCurrent();
        return timeFrame(time, [&](float t) { bare.draw(t); });
      };
      // Which path goes first alternates too.
      double s = 0, b = 0;
      if (frame % 2 == 0) {
        s = saverFrame();
        b = bareFrame();
      } else {
        b = bareFrame();
        s = saverFrame();
      }
      double f = 0;
      if (flat) {
        flat->makeCurrent();
        f = timeFrame(time, [&](float t) { flat->draw(t); });
      }
      if (frame < kWarmUp) continue;
      saverMs.push_back(s);
      bareMs.push_back(b);
      if (flat) flatMs.push_back(f);
    }
    // The same frame through both paths: the comparison is fair only if the pictures agree.
    saver.makeCurrent();
    saver.draw(2.0f);
    const std::vector<std::uint8_t> saverPixels = saver.read();
    bare.makeCurrent();
    bare.draw(2.0f);
    const int difference = largestDifference(saverPixels, bare.read());

    const double s = median(saverMs), b = median(bareMs);
    worst = std::min(worst, b / s);
    char label[32];
    std::snprintf(label, sizeof label, "%dx%d", size.width, size.height);
    std::printf("%-10s %7.1f fps %6.2f ms %7.1f fps %6.2f ms %8.3f %9d", label, 1000.0 / s, s, 1000.0 / b, b, b / s,
                difference);
    if (flat) std::printf(" %7.1f fps", 1000.0 / median(flatMs));
    std::printf("   (%zu frames each)\n", saverMs.size());
    std::fflush(stdout);
  }
  std::printf("ratio of frame rates, saver/bare, lowest of the three sizes: %.3f\n", worst);
  return 0;
}
