// Shader texts that the real driver refuses end the run with their reports.
#include <gtest/gtest.h>

#include "common/gl_window.h"
#include "render/program.h"
#include "support/test_support.h"

namespace {

TEST(ShaderFailures, RealDriverReportsEachStage) {
  GlWindow window(64, 64);
  ASSERT_TRUE(window.ok());
  struct Case {
    int vertex, fragment;
    const char* message;
  };
  for (const Case& c : {Case{920, 136, "Vertex shader compilation error"},
                        Case{922, 921, "Fragment shader compilation error"},
                        Case{922, 923, "Shader program link error"}}) {
    MessageBoxCapture boxes;
    ProcessEndCatcher ends;
    try {
      GLFWProgram program(c.vertex, c.fragment);
      ADD_FAILURE() << c.message << ": the program was built";
    } catch (const ProcessEnded& ended) {
      EXPECT_EQ(ended.code, 0);
    }
    ASSERT_EQ(boxes.boxes.size(), 2u) << c.message;
    EXPECT_FALSE(boxes.boxes[0].text.empty()) << "the driver's log comes first";
    EXPECT_EQ(boxes.boxes[1].text, c.message);
    EXPECT_EQ(boxes.boxes[1].title, "Debug");
  }
}

TEST(ShaderFailures, ShippedProgramBuildsAndAnswersMinusOneForUnknownNames) {
  GlWindow window(64, 64);
  ASSERT_TRUE(window.ok());
  MessageBoxCapture boxes;
  GLFWProgram program(137, 136);
  EXPECT_TRUE(boxes.boxes.empty());
  EXPECT_GE(program.getUniformLocation("iTime"), 0);
  EXPECT_GE(program.getUniformLocation("viewportWidth"), 0);
  EXPECT_GE(program.getAttribLocation("position"), 0);
  EXPECT_EQ(program.getUniformLocation("notThere"), -1);
}

}  // namespace
