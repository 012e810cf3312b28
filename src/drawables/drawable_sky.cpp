#include "drawables/drawable_sky.h"

void GLFWDrawableSky::setupAttributes() {
  buffers->addAttribute(programName, "position", 3, 0);
  buffers->addAttribute(programName, "position_tex", 2, 3);
  buffers->addAttribute(programName, "position_normal", 3, 5);
}

void GLFWDrawableSky::setUniforms() {
  GLFWProgram* program = registry->getProgram(programName);
  if (program == nullptr) return;
  gl.Uniform1f(program->getUniformLocation("iTime"), scene->getTime());
  gl.Uniform1f(program->getUniformLocation("viewportWidth"), scene->getViewportWidth());
  gl.Uniform1f(program->getUniformLocation("viewportHeight"), scene->getViewportHeight());
}

void GLFWDrawableSky::prepareDraw() {}
