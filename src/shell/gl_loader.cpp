#include "shell/gl_loader.h"

#include <string>

#include "platform/platform.h"

GlFunctionTable gl;
GLint gGlMajorVersion = 0;
GLint gGlMinorVersion = 0;

const char* const kGlFunctionNames[] = {
#define LV_GL_NAME(ret, name, params, args) "gl" #name,
    LV_GL_FUNCTIONS(LV_GL_NAME)
#undef LV_GL_NAME
};
const std::size_t kGlFunctionCount = sizeof kGlFunctionNames / sizeof kGlFunctionNames[0];

int GlLoaderInit() {
  platform::OpenGlLibrary();
#define LV_GL_RESOLVE(ret, name, params, args) \
  gl.name = reinterpret_cast<decltype(gl.name)>(platform::GetGlProcAddress("gl" #name));
  LV_GL_FUNCTIONS(LV_GL_RESOLVE)
#undef LV_GL_RESOLVE
  platform::CloseGlLibrary();

  if (gl.GetIntegerv == nullptr) return -1;
  gl.GetIntegerv(glc::MAJOR_VERSION, &gGlMajorVersion);
  gl.GetIntegerv(glc::MINOR_VERSION, &gGlMinorVersion);
  return gGlMajorVersion < 3 ? -1 : 0;
}

bool GlLoaderIsSupported(int major, int minor) {
  if (major < 3) return false;
  if (gGlMajorVersion == major) return gGlMinorVersion >= minor;
  return gGlMajorVersion >= major;
}
