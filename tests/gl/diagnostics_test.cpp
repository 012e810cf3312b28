// Development reports and the input callbacks of the saver window.
#include <gtest/gtest.h>

#include "shell/app.h"
#include "shell/diagnostics.h"
#include "support/gl_recorder.h"
#include "support/test_support.h"

namespace {

TEST(Reports, ValuesInDefaultStreamFormatting) {
  EXPECT_EQ(FloatTripleText(1.0f, 2.5f, 1000000.0f), "Float X: 1\r\nFloat Y: 2.5\r\nFloat Z: 1e+06");
  EXPECT_EQ(FrameStatsText(4.0f, 16.6667f, 0.125f), "Min: 4\r\nMax: 16.6667\r\nAverage: 0.125");
  MessageBoxCapture boxes;
  ShowFloatTriple(1, 2, 3);
  ShowDebugText("hello");
  ASSERT_EQ(boxes.boxes.size(), 2u);
  EXPECT_EQ(boxes.boxes[0].title, "Info");
  EXPECT_EQ(boxes.boxes[1].title, "Debug");
  EXPECT_EQ(boxes.boxes[1].text, "hello");
}

TEST(Reports, CapabilityReportListsLabelsInOrder) {
  GlRecorder recorder;
  recorder.integers = {{glc::MAJOR_VERSION, 4}, {glc::MINOR_VERSION, 5}, {glc::MAX_TEXTURE_SIZE, 8192},
                       {glc::MAX_VERTEX_ATTRIBS, 16}, {glc::MAX_UNIFORM_LOCATIONS, 4096}};
  const GlCapabilities caps = QueryGlCapabilities();
  EXPECT_EQ(caps.majorVersion, 4);
  EXPECT_EQ(caps.minorVersion, 5);
  const std::string text = CapabilityReportText(caps);
  EXPECT_EQ(text.rfind("OpenGL Major and Minor version: 4.5\r\nOpenGL Version string: recorded\r\n", 0), 0u) << text;
  std::size_t at = 0;
  for (const char* label : {"OpenGL Renderer string: ", "Max Attrib Count: 16", "Max Uniform Locations: 4096",
                            "Max Vertex Uniform Count: ", "Max Fragment Uniform Count: ", "Max Elements Indices: ",
                            "Max Elements Vertices: ", "Max Texture Size: 8192"}) {
    const std::size_t found = text.find(label, at);
    ASSERT_NE(found, std::string::npos) << label;
    at = found;
  }
  EXPECT_EQ(text.substr(text.size() - 4), "8192") << "no line break at the end";
}

TEST(Reports, ExtensionTestMatchesWholeNamesOnly) {
  GlRecorder recorder;
  recorder.integers[glc::NUM_EXTENSIONS] = 0;
  EXPECT_FALSE(HasGlExtension("GL_ARB_debug_output"));
  EXPECT_EQ(recorder.count("GetStringi"), 0) << "an empty list asks for no name";
  recorder.extensions = {"GL_ARB_sync", "GL_ARB_debug_output"};
  recorder.integers[glc::NUM_EXTENSIONS] = 2;
  EXPECT_TRUE(HasGlExtension("GL_ARB_debug_output"));
  EXPECT_FALSE(HasGlExtension("GL_ARB_debug"));
  EXPECT_FALSE(HasGlExtension("gl_arb_sync"));
}

TEST(InputCallbacks, KeysAndButtonsEndTheSaverMotionDoesNot) {
  ProcessEndCatcher catcher;
  for (int action : {0, 1, 2}) {  // release, press, repeat
    try {
      OnKey(nullptr, 65, 38, action, 0);
      ADD_FAILURE() << "key action " << action << " did not end the process";
    } catch (const ProcessEnded& ended) {
      EXPECT_EQ(ended.code, 0);
    }
    try {
      OnMouseButton(nullptr, 0, action, 0);
      ADD_FAILURE() << "button action " << action << " did not end the process";
    } catch (const ProcessEnded& ended) {
      EXPECT_EQ(ended.code, 0);
    }
  }
  EXPECT_NO_THROW(OnCursorPos(nullptr, 10.0, 20.0));
  EXPECT_NO_THROW(OnScroll(nullptr, 0.0, -1.0));
}

TEST(InputCallbacks, GlfwErrorsShowTheirDescription) {
  MessageBoxCapture boxes;
  OnGlfwError(0x10001, "The GLFW library is not initialized");
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "The GLFW library is not initialized");
  EXPECT_EQ(boxes.boxes[0].title, "Error");
  EXPECT_EQ(boxes.boxes[0].style, 0x40u);
}

}  // namespace
