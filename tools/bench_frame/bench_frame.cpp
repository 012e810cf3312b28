// bench_frame: how long one frame of the effect takes on this machine's GL (Mesa llvmpipe
// here), against a flat-colour shader over the same rectangle at the same size.
//   DISPLAY=... build/linux/tools/bench_frame/bench_frame
#include <benchmark/benchmark.h>

#include <cstdio>
#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/gl_window.h"
#include "drawables/drawable_sky.h"
#include "shell/frame.h"

namespace {

constexpr const char* kFloorProgram = "FloorProgram";

// One window per size, with its own scene and a second sky drawn by the flat shader.
struct SizedScene {
  std::unique_ptr<GlWindow> window;
  FrameState frame;
  GLFWDrawableSky* effectSky = nullptr;
  GLFWDrawableSky* floorSky = nullptr;
};

std::map<std::string, SizedScene> scenes;

SizedScene* sceneFor(int width, int height) {
  const std::string key = std::to_string(width) + "x" + std::to_string(height);
  SizedScene& scene = scenes[key];
  if (!scene.window) {
    scene.window = std::make_unique<GlWindow>(width, height, /*visible=*/false);
    if (!scene.window->ok()) return nullptr;
    std::streambuf* console = std::cout.rdbuf(nullptr);  // the model reader's progress lines
    gFrame = FrameState{};
    setupScene();
    gFrame.registry->addProgram(kFloorProgram, 137, 961);
    scene.floorSky = new GLFWDrawableSky(gFrame.scene, gFrame.camera, gFrame.registry, kFloorProgram, 141, 140, 1.0f);
    scene.floorSky->init();
    std::cout.rdbuf(console);
    std::cout.clear();
    scene.effectSky = gFrame.sky;
    scene.frame = gFrame;
  }
  scene.window->makeCurrent();
  gFrame = scene.frame;
  return &scene;
}

void drawFrames(benchmark::State& state, bool floor) {
  SizedScene* scene = sceneFor(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  if (scene == nullptr) {
    state.SkipWithError("no OpenGL window (is DISPLAY set?)");
    return;
  }
  gFrame.sky = floor ? scene->floorSky : scene->effectSky;
  float time = 1.0f;
  for (auto _ : state) {
    advanceFrameAt(time);
    gl.Finish();  // the frame is done only when the driver has drawn every pixel
    time += 1.0f / 60.0f;
  }
  scene->frame.frameCounter = gFrame.frameCounter;
}

void BM_Effect(benchmark::State& state) { drawFrames(state, false); }
void BM_FlatFloor(benchmark::State& state) { drawFrames(state, true); }

BENCHMARK(BM_FlatFloor)->Args({800, 600})->Args({1920, 1080})->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_Effect)->Args({800, 600})->Args({1920, 1080})->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

// Keeps the per-frame times and prints each size's ratio of effect to floor at the end.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred || run.iterations == 0) continue;
      const double msPerFrame = run.GetAdjustedRealTime();  // in the benchmark's unit, ms
      times_[run.benchmark_name()] = msPerFrame;
    }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    for (const char* size : {"800/600", "1920/1080"}) {
      const auto effect = times_.find(std::string("BM_Effect/") + size + "/min_time:2.000/real_time");
      const auto floor = times_.find(std::string("BM_FlatFloor/") + size + "/min_time:2.000/real_time");
      if (effect == times_.end() || floor == times_.end()) continue;
      std::printf("%-10s effect %.2f ms/frame, flat floor %.2f ms/frame, ratio %.2f\n", size, effect->second,
                  floor->second, effect->second / floor->second);
    }
  }

 private:
  std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
