// The drawable that fills the screen with the background effect.
#pragma once

#include "drawables/drawable_object.h"

class GLFWDrawableSky : public GLFWDrawableObject {
 public:
  using GLFWDrawableObject::GLFWDrawableObject;

  void setupAttributes() override;
  void setUniforms() override;
  void prepareDraw() override;
};
