// bench_frame: the saver's own frame path (the scene set-up, then advanceFrame and drawFrame
// every frame) against a bare draw of the same program (the same shader texts compiled in a
// context of their own, one rectangle, nothing else bound), at 800x600, 1280x720 and
// 1920x1080, in one run with alternating rounds. Every frame is drawn to the end (glFinish),
// so the figures are the driver's time per frame. A ratio below 1 is time the saver spends
// that the picture does not need.
//   DISPLAY=... build/linux/tools/bench_frame/bench_frame [--rounds N] [--seconds S] [--floor]
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

// Frames per second over one round of the given length.
template <typename Draw>
double round(double seconds, float* time, Draw draw) {
  draw(*time);  // the first frame after a context switch is not counted
  gl.Finish();
  int frames = 0;
  const Clock::time_point start = Clock::now();
  std::chrono::duration<double> elapsed{0};
  while (elapsed.count() < seconds) {
    *time += 1.0f / 60.0f;
    draw(*time);
    gl.Finish();
    ++frames;
    elapsed = Clock::now() - start;
  }
  return frames / elapsed.count();
}

int largestDifference(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
  if (a.size() != b.size()) return 255;
  int largest = 0;
  for (std::size_t i = 0; i < a.size(); ++i) largest = std::max(largest, std::abs(int(a[i]) - int(b[i])));
  return largest;
}

}  // namespace

int main(int argc, char** argv) {
  int rounds = 5;
  double seconds = 1.0;
  bool floor = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--rounds" && i + 1 < argc) {
      rounds = std::max(1, std::atoi(argv[++i]));
    } else if (arg == "--seconds" && i + 1 < argc) {
      seconds = std::max(0.1, std::atof(argv[++i]));
    } else if (arg == "--floor") {
      floor = true;
    } else {
      std::fprintf(stderr, "usage: bench_frame [--rounds N] [--seconds S] [--floor]\n");
      return 2;
    }
  }
  struct Size {
    int width, height;
  };
  const Size sizes[] = {{800, 600}, {1280, 720}, {1920, 1080}};
  std::printf("bench_frame: frames per second, median of %d alternating rounds of %.1f s, each frame finished\n",
              rounds, seconds);
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
    std::vector<double> saverFps, bareFps, flatFps;
    float saverTime = 1.0f, bareTime = 1.0f, flatTime = 1.0f;
    for (int r = 0; r < rounds; ++r) {
      // Alternate which path goes first in a round.
      auto runSaver = [&] {
        saver.makeCurrent();
        saverFps.push_back(round(seconds, &saverTime, [&](float t) { saver.draw(t); }));
        saver.keep();
      };
      auto runBare = [&] {
        bare.makeCurrent();
        bareFps.push_back(round(seconds, &bareTime, [&](float t) { bare.draw(t); }));
      };
      if (r % 2 == 0) {
        runSaver();
        runBare();
      } else {
        runBare();
        runSaver();
      }
      if (flat) {
        flat->makeCurrent();
        flatFps.push_back(round(seconds, &flatTime, [&](float t) { flat->draw(t); }));
      }
    }
    // The same frame through both paths: the comparison is fair only if the pictures agree.
    saver.makeCurrent();
    saver.draw(2.0f);
    const std::vector<std::uint8_t> saverPixels = saver.read();
    bare.makeCurrent();
    bare.draw(2.0f);
    const int difference = largestDifference(saverPixels, bare.read());

    const double s = median(saverFps), b = median(bareFps);
    worst = std::min(worst, s / b);
    char label[32];
    std::snprintf(label, sizeof label, "%dx%d", size.width, size.height);
    std::printf("%-10s %7.1f fps %6.2f ms %7.1f fps %6.2f ms %8.3f %9d", label, s, 1000.0 / s, b, 1000.0 / b, s / b,
                difference);
    if (flat) std::printf(" %7.1f fps", median(flatFps));
    std::printf("\n");
    std::fflush(stdout);
  }
  std::printf("ratio saver/bare (lowest of the three sizes): %.3f\n", worst);
  return 0;
}
