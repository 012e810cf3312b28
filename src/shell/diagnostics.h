// Development reports: shown on demand in "Info" boxes; a normal run shows none of them.
#pragma once

#include <string>

#include "shell/app.h"
#include "shell/gl_loader.h"

// What the capability report shows, read from the current context.
struct GlCapabilities {
  GLint majorVersion = 0, minorVersion = 0, profileMask = 0, contextFlags = 0;
  GLint maxAttribs = 0, maxVertexUniforms = 0, maxFragmentUniforms = 0, maxIndices = 0, maxVertices = 0;
  GLint maxTextureSize = 0, maxUniformLocations = 0;
  std::string version, renderer;
};
GlCapabilities QueryGlCapabilities();
std::string CapabilityReportText(const GlCapabilities& capabilities);
// Queries, stores the version, profile and flags in the app, and shows the report.
void ReportGlCapabilities(ScreensaverApp* app);
void ShowFloatTriple(float x, float y, float z);
void ShowFrameStats(float minMs, float maxMs, float averageMs);
bool HasGlExtension(const char* name);
void LV_GLAPI OnGlDebugMessage(GLenum source, GLenum type, GLuint id, GLenum severity, GLsizei length,
                               const GLchar* message, const void* userParam);
void ShowDebugText(const std::string& text);
void GetCursorPixel(GLFWwindow* window, int* x, int* y);

// The report texts, for the boxes above and for tests.
std::string FloatTripleText(float x, float y, float z);
std::string FrameStatsText(float minMs, float maxMs, float averageMs);
