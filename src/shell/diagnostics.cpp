#include "shell/diagnostics.h"

#include <GLFW/glfw3.h>

#include <cmath>
#include <cstring>
#include <sstream>

#include "platform/platform.h"

namespace {

void showInfo(const std::string& text) { platform::ShowMessageBox(text, "Info", platform::kIconInformation); }

const char* glText(GLenum name) {
  const GLubyte* text = gl.GetString != nullptr ? gl.GetString(name) : nullptr;
  return text != nullptr ? reinterpret_cast<const char*>(text) : "";
}

GLint glInteger(GLenum name) {
  GLint value = 0;
  if (gl.GetIntegerv != nullptr) gl.GetIntegerv(name, &value);
  return value;
}

}  // namespace

void ReportGlCapabilities(ScreensaverApp* app) {
  glText(glc::VERSION);
  app->glMajorVersion = glInteger(glc::MAJOR_VERSION);
  app->glMinorVersion = glInteger(glc::MINOR_VERSION);
  app->glProfileMask = glInteger(glc::CONTEXT_PROFILE_MASK);
  app->glContextFlags = glInteger(glc::CONTEXT_FLAGS);
  const GLint maxAttribs = glInteger(glc::MAX_VERTEX_ATTRIBS);
  const GLint maxVertexUniforms = glInteger(glc::MAX_VERTEX_UNIFORM_COMPONENTS);
  const GLint maxFragmentUniforms = glInteger(glc::MAX_FRAGMENT_UNIFORM_COMPONENTS);
  const GLint maxIndices = glInteger(glc::MAX_ELEMENTS_INDICES);
  const GLint maxVertices = glInteger(glc::MAX_ELEMENTS_VERTICES);
  const GLint maxTexture = glInteger(glc::MAX_TEXTURE_SIZE);
  const GLint maxUniformLocations = glInteger(glc::MAX_UNIFORM_LOCATIONS);

  std::ostringstream text;
  text << "OpenGL Major and Minor version: " << app->glMajorVersion << "." << app->glMinorVersion
       << "\r\nOpenGL Version string: " << glText(glc::VERSION) << "\r\nOpenGL Renderer string: "
       << glText(glc::RENDERER) << "\r\nMax Attrib Count: " << maxAttribs
       << "\r\nMax Uniform Locations: " << maxUniformLocations << "\r\nMax Vertex Uniform Count: " << maxVertexUniforms
       << "\r\nMax Fragment Uniform Count: " << maxFragmentUniforms << "\r\nMax Elements Indices: " << maxIndices
       << "\r\nMax Elements Vertices: " << maxVertices << "\r\nMax Texture Size: " << maxTexture;
  showInfo(text.str());
}

std::string FloatTripleText(float x, float y, float z) {
  std::ostringstream text;
  text << "Float X: " << x << "\r\nFloat Y: " << y << "\r\nFloat Z: " << z;
  return text.str();
}

std::string FrameStatsText(float minMs, float maxMs, float averageMs) {
  std::ostringstream text;
  text << "Min: " << minMs << "\r\nMax: " << maxMs << "\r\nAverage: " << averageMs;
  return text.str();
}

void ShowFloatTriple(float x, float y, float z) { showInfo(FloatTripleText(x, y, z)); }
void ShowFrameStats(float minMs, float maxMs, float averageMs) { showInfo(FrameStatsText(minMs, maxMs, averageMs)); }

bool HasGlExtension(const char* name) {
  if (name == nullptr || gl.GetStringi == nullptr) return false;
  const GLint count = glInteger(glc::NUM_EXTENSIONS);
  for (GLint i = 0; i < count; ++i) {
    const GLubyte* extension = gl.GetStringi(glc::EXTENSIONS, static_cast<GLuint>(i));
    if (extension != nullptr && std::strcmp(reinterpret_cast<const char*>(extension), name) == 0) return true;
  }
  return false;
}

void LV_GLAPI OnGlDebugMessage(GLenum, GLenum, GLuint, GLenum, GLsizei, const GLchar* message, const void*) {
  platform::DebugOutput(message != nullptr ? message : "");
  platform::DebugOutput("\n");
}

void ShowDebugText(const std::string& text) { platform::ShowMessageBox(text, "Debug", platform::kIconInformation); }

void GetCursorPixel(GLFWwindow* window, int* x, int* y) {
  double cursorX = 0.0, cursorY = 0.0;
  glfwGetCursorPos(window, &cursorX, &cursorY);
  *x = static_cast<int>(std::floor(cursorX));
  *y = static_cast<int>(std::floor(cursorY));
}
