#include "drawables/drawable_object.h"

#include <fstream>

#include "drawables/mesh_data.h"

GLFWDrawableObject::GLFWDrawableObject(SceneState* sceneState, Camera* sharedCamera, ProgramRegistry* programs,
                                       const char* name, std::int32_t objResourceId, std::int32_t mtlResourceId,
                                       float scale)
    : scene(sceneState),
      registry(programs),
      meshData(nullptr),
      buffers(nullptr),
      camera(sharedCamera),
      programName(name),
      model(translate(0, 0, 0)) {
  meshData = new MeshData(objResourceId, mtlResourceId, scale);
  buffers = new MeshBuffers(registry);
  buffers->setVertexData(meshData->vertexBytes(), meshData->vertices(), meshData->floatsPerVertex());
  buffers->setIndexData(meshData->indexBytes(), meshData->indices(), meshData->indexCount());
}

GLFWDrawableObject::~GLFWDrawableObject() {
  delete meshData;
  delete buffers;
}

void GLFWDrawableObject::init() {
  setupAttributes();
  buffers->upload();
}

void GLFWDrawableObject::draw() {
  registry->useProgram(programName);
  prepareDraw();
  updateTransforms();
  setUniforms();
  buffers->bind();
  gl.DrawElements(glc::TRIANGLES, buffers->getIndexCount(), glc::UNSIGNED_INT, nullptr);
}

void GLFWDrawableObject::updateTransforms() {
  const Mat4 view = camera->getView();
  const Mat4 projection = camera->getProjection();
  const Mat4 worldToClip = projection * view;
  const Mat4 modelToClip = worldToClip * model;
  GLFWProgram* program = registry->getProgram(programName);
  if (program == nullptr) return;
  gl.UniformMatrix4fv(program->getUniformLocation("model_world"), 1, glc::FALSE_, model.data());
  gl.UniformMatrix4fv(program->getUniformLocation("world_projection"), 1, glc::FALSE_, worldToClip.data());
  gl.UniformMatrix4fv(program->getUniformLocation("model_projection"), 1, glc::FALSE_, modelToClip.data());
}

bool GLFWDrawableObject::writeBinaryFile(const std::string& path, const void* data, std::size_t bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out.write(static_cast<const char*>(data), static_cast<std::streamsize>(bytes));
  return static_cast<bool>(out);
}

void GLFWDrawableObject::dumpToFiles() const {
  writeBinaryFile("GLFWDrawableObject_data.bin", meshData->vertices(), static_cast<std::size_t>(meshData->vertexBytes()));
  writeBinaryFile("GLFWDrawableObject_index.bin", meshData->indices(), static_cast<std::size_t>(meshData->indexBytes()));
}
