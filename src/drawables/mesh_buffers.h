// The GPU side of a drawable: one vertex and one index buffer and the named attributes
// that point into the vertex buffer.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "render/program_registry.h"
#include "shell/gl_loader.h"

class MeshBuffers {
 public:
  explicit MeshBuffers(ProgramRegistry* registry);
  ~MeshBuffers();
  MeshBuffers(const MeshBuffers&) = delete;
  MeshBuffers& operator=(const MeshBuffers&) = delete;

  void setVertexData(std::int32_t bytes, const float* data, std::int32_t floatsPerVertex);
  void setIndexData(std::int32_t bytes, const std::uint32_t* data, std::int32_t count);
  void addAttribute(const std::string& programName, const std::string& name, std::int32_t components,
                    std::int32_t offsetFloats);
  void addAttribute(GLFWProgram* program, const std::string& name, std::int32_t components, std::int32_t offsetFloats);
  void bindBuffers() const;
  void enableAttributes() const;
  void bind() const;
  void upload() const;
  void refresh() const;

  GLuint getVertexBuffer() const { return vertexBuffer; }
  GLuint getIndexBuffer() const { return indexBuffer; }
  std::int32_t getIndexCount() const { return indexCount; }

  ProgramRegistry* registry;
  GLuint vertexBuffer = 0;
  GLuint indexBuffer = 0;
  const float* vertexData = nullptr;
  std::int32_t vertexBytes = 0;
  std::int32_t floatsPerVertex = 0;
  std::map<std::string, std::int32_t> attribLocations;
  std::map<std::string, std::int32_t> attribSizes;
  std::map<std::string, std::int32_t> attribOffsets;
  const std::uint32_t* indexData = nullptr;
  std::int32_t indexBytes = 0;
  std::int32_t indexCount = 0;
};
