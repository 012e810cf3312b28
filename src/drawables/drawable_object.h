// The base of everything drawn: a model from the resources, its GPU buffers, the program
// it is drawn with (by name) and its model matrix.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "drawables/mesh_buffers.h"
#include "render/camera.h"
#include "render/math.h"
#include "render/program_registry.h"

class MeshData;

class GLFWDrawableObject {
 public:
  GLFWDrawableObject(SceneState* scene, Camera* camera, ProgramRegistry* registry, const char* programName,
                     std::int32_t objResourceId, std::int32_t mtlResourceId, float scale);
  virtual ~GLFWDrawableObject();
  GLFWDrawableObject(const GLFWDrawableObject&) = delete;
  GLFWDrawableObject& operator=(const GLFWDrawableObject&) = delete;

  void init();
  void setModelMatrix(Mat4 matrix) { model = matrix; }
  void draw();
  void updateTransforms();
  void dumpToFiles() const;

  // Writes the bytes to a new file (truncating); true when all of them were written.
  static bool writeBinaryFile(const std::string& path, const void* data, std::size_t bytes);

  virtual void setupAttributes() = 0;
  virtual void setUniforms() = 0;
  virtual void prepareDraw() = 0;

  SceneState* scene;
  ProgramRegistry* registry;
  MeshData* meshData;
  MeshBuffers* buffers;
  Camera* camera;
  const char* programName;
  Mat4 model;
};
