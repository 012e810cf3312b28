// One frame of the saver seen through the recording GL table.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "drawables/drawable_sky.h"
#include "shell/app.h"
#include "shell/frame.h"
#include "support/gl_recorder.h"

namespace {

class FrameCallsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    recorder.uniformLocations = {{"model_world", 10},    {"world_projection", 11}, {"model_projection", 12},
                                 {"iTime", 13},          {"viewportWidth", 14},    {"viewportHeight", 15},
                                 {"renderMode", 16},     {"iFrame", 17},           {"bufferA", 18}};
    // Registered as position, position_tex, position_normal; pointed in name order.
    recorder.attribLocations = {{"position", 0}, {"position_tex", 1}, {"position_normal", 2}};
    SetDrawingSize(800, 600);
  }
  void TearDown() override {
    delete gFrame.sky;
    delete gFrame.registry;
    delete gFrame.camera;
    delete gFrame.scene;
    delete gFrame.clock;
    gFrame = FrameState{};
  }

  // The 16 floats a UniformMatrix4fv call sent.
  static std::vector<float> matrixOf(const GlCall& call) {
    std::vector<float> values;
    for (std::size_t i = 3; i < call.args.size(); ++i) values.push_back(std::stof(call.args[i]));
    return values;
  }

  GlRecorder recorder;
};

TEST_F(FrameCallsTest, OneFrameInOrderWithItsArguments) {
  setupScene();
  const GLuint program = gFrame.registry->getProgram(kBackgroundProgram)->getProgramId();
  const GLuint vertexBuffer = gFrame.sky->buffers->getVertexBuffer();
  const GLuint indexBuffer = gFrame.sky->buffers->getIndexBuffer();
  advanceFrameAt(2.0f);  // the first frame also fills the location cache
  advanceFrameAt(2.25f);  // the second one also makes the offscreen buffer
  recorder.clear();

  advanceFrameAt(2.5f);

  const std::vector<std::string> expected = {
      "BindFramebuffer(36160, 0)",
      "Viewport(0, 0, 800, 600)",
      "Uniform1i(16, 0)",
      "Uniform1i(17, 2)",
      "UseProgram(" + std::to_string(program) + ")",
      "UniformMatrix4fv(10)",
      "UniformMatrix4fv(11)",
      "UniformMatrix4fv(12)",
      "Uniform1f(13, 2.5)",
      "Uniform1f(14, 800)",
      "Uniform1f(15, 600)",
      "BindBuffer(34962, " + std::to_string(vertexBuffer) + ")",
      "BindBuffer(34963, " + std::to_string(indexBuffer) + ")",
      "EnableVertexAttribArray(0)",
      "VertexAttribPointer(0, 3, 5126, 0, 96, 0)",
      "EnableVertexAttribArray(2)",
      "VertexAttribPointer(2, 3, 5126, 0, 96, 20)",
      "EnableVertexAttribArray(1)",
      "VertexAttribPointer(1, 2, 5126, 0, 96, 12)",
      "DrawElements(4, 6, 5125, 0)",
  };
  std::vector<std::string> actual;
  for (const GlCall& call : recorder.calls) {
    actual.push_back(call.name == "UniformMatrix4fv" ? "UniformMatrix4fv(" + call.args[0] + ")" : call.text());
    if (call.name == "UniformMatrix4fv") {
      EXPECT_EQ(call.args[1], "1");
      EXPECT_EQ(call.args[2], "0") << "matrices go up untransposed";
    }
  }
  EXPECT_EQ(actual, expected);
}

TEST_F(FrameCallsTest, MatricesAreModelViewProjectionProducts) {
  setupScene();
  recorder.clear();
  advanceFrameAt(1.0f);
  std::vector<std::vector<float>> sent;
  for (const GlCall& call : recorder.calls)
    if (call.name == "UniformMatrix4fv") sent.push_back(matrixOf(call));
  ASSERT_EQ(sent.size(), 3u);
  const Mat4 model = translate(0, 0, -100);
  const Mat4 worldToClip = gFrame.camera->getProjection() * gFrame.camera->getView();
  const Mat4 modelToClip = worldToClip * model;
  for (int i = 0; i < 16; ++i) {
    EXPECT_FLOAT_EQ(sent[0][i], model.data()[i]) << i;
    EXPECT_FLOAT_EQ(sent[1][i], worldToClip.data()[i]) << i;
    EXPECT_FLOAT_EQ(sent[2][i], modelToClip.data()[i]) << i;
  }
  // The projection is the 50-degree one for this window's aspect.
  EXPECT_NEAR(gFrame.camera->getProjection()[0][0], (1.0 / std::tan(25.0 * 3.14159265358979 / 180.0)) * 600.0 / 800.0, 1e-5);
}

TEST_F(FrameCallsTest, FrameCounterRisesAfterBeingSentAndLocationsAreAskedOnce) {
  setupScene();
  advanceFrameAt(0.25f);
  advanceFrameAt(0.5f);
  advanceFrameAt(0.75f);
  std::vector<std::string> frames;
  for (const GlCall& call : recorder.calls)
    if (call.name == "Uniform1i" && call.args[0] == "17") frames.push_back(call.args[1]);
  EXPECT_EQ(frames, (std::vector<std::string>{"0", "1", "2"}));
  EXPECT_EQ(gFrame.scene->startTime, 0.25f) << "the first frame's time stays the start time";
  EXPECT_EQ(gFrame.scene->getTime(), 0.75f);
  EXPECT_EQ(recorder.count("GetUniformLocation"), 9) << "one driver query per name over the whole run";
  EXPECT_EQ(recorder.count("GetAttribLocation"), 3);
  EXPECT_EQ(recorder.count("DrawElements"), 3);
}

TEST_F(FrameCallsTest, OffscreenBufferComesWithTheSecondFrameAndIsLeftUnbound) {
  setupScene();
  EXPECT_EQ(recorder.count("UseProgram"), 0) << "no program is made current during set-up";
  advanceFrameAt(1.0f);
  EXPECT_EQ(recorder.count("GenFramebuffers") + recorder.count("TexImage2D"), 0)
      << "the first frame goes out before the buffer's texture is allocated";
  recorder.clear();
  advanceFrameAt(1.5f);
  const std::vector<std::string> fbo = recorder.texts({"BindFramebuffer", "BindTexture", "TexImage2D", "TexParameteri",
                                                       "FramebufferTexture", "DrawBuffers", "DrawElements"});
  const std::string framebuffer = std::to_string(gFrame.bufferAFramebuffer);
  const std::string texture = std::to_string(gFrame.bufferATexture);
  const std::vector<std::string> expected = {
      "BindFramebuffer(36160, " + framebuffer + ")",
      "BindTexture(3553, " + texture + ")",
      "TexImage2D(3553, 0, 6408, 1024, 768, 0, 6408, 5126, null)",
      "TexParameteri(3553, 10240, 9729)",
      "TexParameteri(3553, 10241, 9729)",
      "TexParameteri(3553, 33084, 0)",
      "TexParameteri(3553, 33085, 0)",
      "FramebufferTexture(36160, 36064, " + texture + ", 0)",
      "DrawBuffers(1, ptr)",
      "BindTexture(3553, 0)",
      "BindFramebuffer(36160, 0)",
      "BindFramebuffer(36160, 0)",
      "DrawElements(4, 6, 5125, 0)",
  };
  EXPECT_EQ(fbo, expected);
  recorder.clear();
  advanceFrameAt(2.0f);
  EXPECT_EQ(recorder.count("GenFramebuffers") + recorder.count("TexImage2D"), 0) << "made once";
}

// What the recorded calls leave bound when each draw call is made: the texture of every
// (unit, target) that was ever bound, and the framebuffer.
struct Bindings {
  std::map<std::string, std::string> textures;
  std::string framebuffer = "0";
};
std::vector<Bindings> bindingsAtDraws(const std::vector<GlCall>& calls) {
  std::vector<Bindings> draws;
  Bindings now;
  std::string unit = "33984";  // GL_TEXTURE0
  for (const GlCall& call : calls) {
    if (call.name == "ActiveTexture") unit = call.args[0];
    if (call.name == "BindTexture") now.textures["unit " + unit + ", target " + call.args[0]] = call.args[1];
    if (call.name == "BindFramebuffer") now.framebuffer = call.args[1];
    if (call.name == "DrawElements" || call.name == "DrawArrays") draws.push_back(now);
  }
  return draws;
}

// Render mode 0 reads no texture; a texture left bound still costs its sampling on drivers
// that run both sides of the shader's branch.
TEST_F(FrameCallsTest, FramesDrawWithNothingBoundThatTheyDoNotRead) {
  setupScene();
  for (float t : {1.0f, 1.5f, 2.0f}) advanceFrameAt(t);
  const std::vector<Bindings> draws = bindingsAtDraws(recorder.calls);
  ASSERT_EQ(draws.size(), 3u);
  for (std::size_t i = 0; i < draws.size(); ++i) {
    EXPECT_EQ(draws[i].framebuffer, "0") << "frame " << i << " draws into the window";
    for (const auto& [where, texture] : draws[i].textures) EXPECT_EQ(texture, "0") << "frame " << i << ", " << where;
  }
  EXPECT_EQ(recorder.texts({"Uniform1i"})[0], "Uniform1i(16, 0)") << "render mode 0";
}

TEST_F(FrameCallsTest, DriverWithoutFramebufferObjectsStillDraws) {
  gl.GenFramebuffers = nullptr;
  gl.BindFramebuffer = nullptr;
  gl.FramebufferTexture = nullptr;
  gl.CheckFramebufferStatus = nullptr;
  setupScene();
  for (float t : {1.0f, 1.5f, 2.0f}) advanceFrameAt(t);
  EXPECT_EQ(recorder.count("DrawElements"), 3);
  EXPECT_EQ(gFrame.bufferAFramebuffer, 0u);
}

TEST_F(FrameCallsTest, ZeroHeightHostSendsOnlyFiniteMatrices) {
  SetDrawingSize(640, 0);
  EXPECT_TRUE(std::isfinite(AspectRatio));
  setupScene();
  recorder.clear();
  advanceFrameAt(1.0f);
  int matrices = 0;
  for (const GlCall& call : recorder.calls) {
    if (call.name != "UniformMatrix4fv") continue;
    ++matrices;
    for (float value : matrixOf(call)) EXPECT_TRUE(std::isfinite(value)) << call.text();
  }
  EXPECT_EQ(matrices, 3);
  EXPECT_EQ(recorder.texts({"Viewport"}), (std::vector<std::string>{"Viewport(0, 0, 640, 0)"}));
}

TEST(FirstFrameSeed, IsTimeInTenMicrosecondStepsModuloTenThousand) {
  struct Case {
    float time;
    unsigned seed;
  };
  for (const Case& c : {Case{0.25f, 5000}, Case{1.5f, 0}, Case{0.0f, 0}, Case{123.45678f, 5678}}) {
    EXPECT_EQ(firstFrameSeed(c.time), c.seed) << c.time;
  }
  EXPECT_EQ(firstFrameSeed(INFINITY), 0u);
  EXPECT_EQ(firstFrameSeed(NAN), 0u);
}

TEST(DrawingSize, AspectRatioFollowsSizeAndStaysFinite) {
  struct Case {
    int width, height;
    float aspect;
  };
  for (const Case& c : {Case{1920, 1080, 1920.0f / 1080.0f}, Case{100, 100, 1.0f}, Case{0, 0, 1.0f},
                        Case{640, 0, 1.0f}, Case{0, 480, 1.0f}, Case{-5, 10, 1.0f}}) {
    OnWindowSize(nullptr, c.width, c.height);
    EXPECT_EQ(WindowWidth, c.width);
    EXPECT_EQ(WindowHeight, c.height);
    EXPECT_FLOAT_EQ(AspectRatio, c.aspect) << c.width << "x" << c.height;
  }
}

}  // namespace

namespace {

class DrawableTest : public ::testing::Test {
 protected:
  GlRecorder recorder;
  ProgramRegistry registry;
  SceneState scene{0.0f};
  Camera camera{0, 0, 100};
};

TEST_F(DrawableTest, BuffersKeepFirstRegistrationAndPointInNameOrder) {
  recorder.attribLocations = {{"b", 5}, {"a", 6}, {"c", -1}};
  registry.addProgram("P", 137, 136);
  MeshBuffers buffers(&registry);
  const float vertex[8] = {};
  buffers.setVertexData(32, vertex, 8);
  buffers.addAttribute("P", "b", 3, 0);
  buffers.addAttribute("P", "a", 2, 3);
  buffers.addAttribute("P", "b", 4, 7);  // a second registration of a name changes nothing
  buffers.addAttribute("P", "c", 1, 5);  // dropped by the linker: nothing to point
  recorder.clear();
  buffers.enableAttributes();
  EXPECT_EQ(recorder.texts(), (std::vector<std::string>{"EnableVertexAttribArray(6)",
                                                        "VertexAttribPointer(6, 2, 5126, 0, 32, 12)",
                                                        "EnableVertexAttribArray(5)",
                                                        "VertexAttribPointer(5, 3, 5126, 0, 32, 0)"}));
}

TEST_F(DrawableTest, EmptyModelUploadsEmptyStoresAndDrawsNothing) {
  registry.addProgram("P", 137, 136);
  MeshBuffers buffers(&registry);
  buffers.setVertexData(0, nullptr, 24);
  buffers.setIndexData(0, nullptr, 0);
  recorder.clear();
  buffers.upload();
  EXPECT_EQ(recorder.texts({"BufferData"}),
            (std::vector<std::string>{"BufferData(34962, 0, null, 35044)", "BufferData(34963, 0, null, 35044)"}));
  EXPECT_EQ(buffers.getIndexCount(), 0);
}

TEST_F(DrawableTest, DumpWritesTheInterleavedArraysAsRawBytes) {
  registry.addProgram(kBackgroundProgram, 137, 136);
  GLFWDrawableSky sky(&scene, &camera, &registry, kBackgroundProgram, 141, 140, 1.0f);
  const std::filesystem::path before = std::filesystem::current_path();
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "lumivane_dump_test";
  std::filesystem::create_directories(dir);
  std::filesystem::current_path(dir);
  sky.dumpToFiles();
  const auto dataSize = std::filesystem::file_size("GLFWDrawableObject_data.bin");
  const auto indexSize = std::filesystem::file_size("GLFWDrawableObject_index.bin");
  std::ifstream data("GLFWDrawableObject_data.bin", std::ios::binary);
  float first[24] = {};
  data.read(reinterpret_cast<char*>(first), sizeof first);
  data.close();
  std::filesystem::current_path(before);
  std::filesystem::remove_all(dir);
  EXPECT_EQ(dataSize, 576u);
  EXPECT_EQ(indexSize, 24u);
  EXPECT_EQ(first[0], -1.0f);
  EXPECT_EQ(first[1], 1.0f);
  EXPECT_EQ(first[23], 32.0f) << "the specular exponent closes each vertex";
  EXPECT_FALSE(GLFWDrawableObject::writeBinaryFile((dir / "no" / "such" / "dir.bin").string(), first, 4));
}

}  // namespace
