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

GlCapabilities QueryGlCapabilities() {
  GlCapabilities caps;
  glText(glc::VERSION);
  caps.majorVersion = glInteger(glc::MAJOR_VERSION);
  caps.minorVersion = glInteger(glc::MINOR_VERSION);
  caps.profileMask = glInteger(glc::CONTEXT_PROFILE_MASK);
  caps.contextFlags = glInteger(glc::CONTEXT_FLAGS);
  caps.maxAttribs = glInteger(glc::MAX_VERTEX_ATTRIBS);
  caps.maxVertexUniforms = glInteger(glc::MAX_VERTEX_UNIFORM_COMPONENTS);
  caps.maxFragmentUniforms = glInteger(glc::MAX_FRAGMENT_UNIFORM_COMPONENTS);
  caps.maxIndices = glInteger(glc::MAX_ELEMENTS_INDICES);
  caps.maxVertices = glInteger(glc::MAX_ELEMENTS_VERTICES);
  caps.maxTextureSize = glInteger(glc::MAX_TEXTURE_SIZE);
  caps.maxUniformLocations = glInteger(glc::MAX_UNIFORM_LOCATIONS);
  caps.version = glText(glc::VERSION);
  caps.renderer = glText(glc::RENDERER);
  return caps;
}

std::string CapabilityReportText(const GlCapabilities& caps) {
  std::ostringstream text;
  text << "OpenGL Major and Minor version: " << caps.majorVersion << "." << caps.minorVersion
       << "\r\nOpenGL Version string: " << caps.version << "\r\nOpenGL Renderer string: " << caps.renderer
       << "\r\nMax Attrib Count: " << caps.maxAttribs << "\r\nMax Uniform Locations: " << caps.maxUniformLocations
       << "\r\nMax Vertex Uniform Count: " << caps.maxVertexUniforms
       << "\r\nMax Fragment Uniform Count: " << caps.maxFragmentUniforms
       << "\r\nMax Elements Indices: " << caps.maxIndices << "\r\nMax Elements Vertices: " << caps.maxVertices
       << "\r\nMax Texture Size: " << caps.maxTextureSize;
  return text.str();
}

void ReportGlCapabilities(ScreensaverApp* app) {
  const GlCapabilities caps = QueryGlCapabilities();
  app->glMajorVersion = caps.majorVersion;
  app->glMinorVersion = caps.minorVersion;
  app->glProfileMask = caps.profileMask;
  app->glContextFlags = caps.contextFlags;
  showInfo(CapabilityReportText(caps));
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
