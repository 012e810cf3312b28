#include "drawables/mesh_buffers.h"

MeshBuffers::MeshBuffers(ProgramRegistry* programRegistry) : registry(programRegistry) {
  gl.GenBuffers(1, &vertexBuffer);
  gl.GenBuffers(1, &indexBuffer);
}

MeshBuffers::~MeshBuffers() {
  gl.DeleteBuffers(1, &vertexBuffer);
  gl.DeleteBuffers(1, &indexBuffer);
}

void MeshBuffers::setVertexData(std::int32_t bytes, const float* data, std::int32_t perVertex) {
  vertexBytes = bytes;
  vertexData = data;
  floatsPerVertex = perVertex;
}

void MeshBuffers::setIndexData(std::int32_t bytes, const std::uint32_t* data, std::int32_t count) {
  indexBytes = bytes;
  indexData = data;
  indexCount = count;
}

void MeshBuffers::addAttribute(const std::string& programName, const std::string& name, std::int32_t components,
                               std::int32_t offsetFloats) {
  addAttribute(registry->getProgram(programName), name, components, offsetFloats);
}

void MeshBuffers::addAttribute(GLFWProgram* program, const std::string& name, std::int32_t components,
                               std::int32_t offsetFloats) {
  // Without a program there is no location to ask for.
  const std::int32_t location = program != nullptr ? program->getAttribLocation(name.c_str()) : -1;
  attribLocations.emplace(name, location);
  attribSizes.emplace(name, components);
  attribOffsets.emplace(name, offsetFloats);
}

void MeshBuffers::bindBuffers() const {
  gl.BindBuffer(glc::ARRAY_BUFFER, vertexBuffer);
  gl.BindBuffer(glc::ELEMENT_ARRAY_BUFFER, indexBuffer);
}

void MeshBuffers::enableAttributes() const {
  for (const auto& [name, location] : attribLocations) {
    // An attribute the linker dropped has no slot to point; skipping it changes no pixel
    // and keeps the GL's error state clean.
    if (location < 0) continue;
    const GLuint index = static_cast<GLuint>(location);
    gl.EnableVertexAttribArray(index);
    const std::intptr_t byteOffset = static_cast<std::intptr_t>(attribOffsets.at(name)) * 4;
    gl.VertexAttribPointer(index, attribSizes.at(name), glc::FLOAT, glc::FALSE_, floatsPerVertex * 4,
                           reinterpret_cast<const void*>(byteOffset));
  }
}

void MeshBuffers::bind() const {
  bindBuffers();
  enableAttributes();
}

void MeshBuffers::upload() const {
  bind();
  gl.BufferData(glc::ARRAY_BUFFER, vertexBytes, vertexData, glc::STATIC_DRAW);
  gl.BufferData(glc::ELEMENT_ARRAY_BUFFER, indexBytes, indexData, glc::STATIC_DRAW);
}

void MeshBuffers::refresh() const {
  bindBuffers();
  gl.BufferSubData(glc::ARRAY_BUFFER, 0, vertexBytes, vertexData);
  gl.BufferSubData(glc::ELEMENT_ARRAY_BUFFER, 0, indexBytes, indexData);
}
