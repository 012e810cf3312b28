// Shader programs and their registry, through the recording GL table.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "render/program_registry.h"
#include "support/gl_recorder.h"
#include "support/test_support.h"

namespace {

TEST(ShaderText, EndsAtTheMarkerAndStaysInBounds) {
  struct Case {
    int id;
    GLFWProgram::TextStatus status;
    std::string text;
  };
  const Case cases[] = {
      {910, GLFWProgram::TextStatus::Ok, "abc"},
      {911, GLFWProgram::TextStatus::Ok, ""},
      {914, GLFWProgram::TextStatus::Ok, std::string(32768, '/')},
      {912, GLFWProgram::TextStatus::NoEndMarker, ""},
      {913, GLFWProgram::TextStatus::TooLong, ""},
      {4242, GLFWProgram::TextStatus::Missing, ""},
  };
  for (const Case& c : cases) {
    std::string buffer(ShaderTextCapacity + 4, 'x');
    EXPECT_EQ(GLFWProgram::loadShaderText(c.id, buffer.data(), ShaderTextCapacity), c.status) << c.id;
    EXPECT_EQ(std::string(buffer.c_str()), c.text) << c.id;
    for (std::size_t i = c.text.size(); i < c.text.size() + 4; ++i) EXPECT_EQ(buffer[i], '\0') << c.id;
  }
}

TEST(ShaderText, ShippedShadersFitAndEndWithEmptyComment) {
  for (int id : {136, 137}) {
    std::string buffer(ShaderTextCapacity + 4, 'x');
    ASSERT_EQ(GLFWProgram::loadShaderText(id, buffer.data(), ShaderTextCapacity), GLFWProgram::TextStatus::Ok);
    const std::string text = buffer.c_str();
    EXPECT_EQ(text.substr(text.size() - 2), "//") << id;
  }
}

class ProgramTest : public ::testing::Test {
 protected:
  GlRecorder recorder;
  MessageBoxCapture boxes;
  ProcessEndCatcher ends;
};

TEST_F(ProgramTest, BuildsInOrderAndCachesLocationsByNameAlone) {
  recorder.uniformLocations = {{"iTime", 4}};
  recorder.attribLocations = {{"iTime", 99}, {"position", 0}};
  GLFWProgram program(137, 136);
  EXPECT_EQ(recorder.texts({"CreateProgram", "CreateShader", "CompileShader", "AttachShader", "LinkProgram"}),
            (std::vector<std::string>{"CreateProgram()", "CreateShader(35633)", "CompileShader(2)",
                                      "CreateShader(35632)", "CompileShader(3)", "AttachShader(1, 2)",
                                      "AttachShader(1, 3)", "LinkProgram(1)"}));
  recorder.clear();
  EXPECT_EQ(program.getUniformLocation("missing"), -1);
  EXPECT_EQ(program.getUniformLocation("missing"), -1);
  EXPECT_EQ(program.getUniformLocation("iTime"), 4);
  EXPECT_EQ(program.getAttribLocation("iTime"), 4) << "the cache is keyed by name, whichever kind asked first";
  EXPECT_EQ(program.getAttribLocation("position"), 0);
  EXPECT_EQ(program.getAttribLocation("Position"), -1) << "names are case-sensitive";
  EXPECT_EQ(recorder.texts(), (std::vector<std::string>{"GetUniformLocation(1, missing)", "GetUniformLocation(1, iTime)",
                                                        "GetAttribLocation(1, position)",
                                                        "GetAttribLocation(1, Position)"}));
  program.use();
  EXPECT_EQ(recorder.calls.back().text(), "UseProgram(1)");
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(ProgramTest, StageThatDoesNotCompileReportsAndEnds) {
  struct Case {
    GLenum failing;
    const char* message;
    int shadersCreated;
  };
  for (const Case& c : {Case{glc::VERTEX_SHADER, "Vertex shader compilation error", 1},
                        Case{glc::FRAGMENT_SHADER, "Fragment shader compilation error", 2}}) {
    recorder.clear();
    boxes.boxes.clear();
    recorder.failingStage = c.failing;
    recorder.infoLog = "0:2(1): error: oops";
    EXPECT_THROW({ GLFWProgram program(137, 136); }, ProcessEnded);
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[0].text, "0:2(1): error: oops");
    EXPECT_EQ(boxes.boxes[0].title, "Debug");
    EXPECT_EQ(boxes.boxes[1].text, c.message);
    EXPECT_EQ(boxes.boxes[1].title, "Debug");
    EXPECT_EQ(boxes.boxes[1].style, platform::kIconInformation);
    EXPECT_EQ(recorder.count("CreateShader"), c.shadersCreated);
    EXPECT_EQ(recorder.count("DeleteShader"), 1);
    EXPECT_EQ(recorder.count("LinkProgram"), 0);
  }
}

TEST_F(ProgramTest, ProgramThatDoesNotLinkIsReportedNotUsed) {
  recorder.linkStatus = 0;
  recorder.infoLog = "link failed";
  EXPECT_THROW({ GLFWProgram program(137, 136); }, ProcessEnded);
  ASSERT_EQ(boxes.boxes.size(), 2u);
  EXPECT_EQ(boxes.boxes[0].text, "link failed");
  EXPECT_EQ(boxes.boxes[1].text, "Shader program link error");
  EXPECT_EQ(boxes.boxes[1].title, "Debug");
}

TEST_F(ProgramTest, UnreadableTextsAreStartupFailures) {
  for (auto [vertex, fragment] : {std::pair{912, 136}, {137, 913}, {4242, 136}}) {
    boxes.boxes.clear();
    recorder.clear();
    EXPECT_THROW({ GLFWProgram program(vertex, fragment); }, ProcessEnded);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].title, "Debug");
    EXPECT_EQ(recorder.count("CreateProgram"), 0) << "nothing reaches the driver";
  }
}

TEST_F(ProgramTest, RegistryKeepsFirstProgramOfAName) {
  ProgramRegistry registry;
  registry.addProgram("BackgroundProgram", 137, 136);
  GLFWProgram* first = registry.getProgram("BackgroundProgram");
  ASSERT_NE(first, nullptr);
  registry.addProgram("BackgroundProgram", 137, 136);
  EXPECT_EQ(registry.getProgram("BackgroundProgram"), first);
  EXPECT_EQ(recorder.count("CreateProgram"), 1) << "a duplicate builds nothing";
  EXPECT_EQ(registry.getProgram("backgroundprogram"), nullptr);
  EXPECT_EQ(registry.getProgram("Nothing"), nullptr);
  recorder.clear();
  registry.useProgram("Nothing");
  EXPECT_TRUE(recorder.calls.empty());
  registry.useProgram("BackgroundProgram");
  EXPECT_EQ(recorder.texts(), (std::vector<std::string>{"UseProgram(1)"}));
}

}  // namespace
