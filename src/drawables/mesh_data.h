// The model's CPU-side vertex data: the reader's meshes gathered into one array per vertex
// attribute (ModelArrays), then interleaved into the fixed 24-float layout that the GPU
// buffers take (MeshData).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class ModelReader;

// An OBJ text and the MTL text that its "mtllib" lines read, for models that do not come
// from the executable's resources.
struct ModelTexts {
  std::string obj;
  std::string mtl;
};

class ModelArrays {
 public:
  // Reads the model from the two "TEXTFILE" resources. A model that does not load is
  // reported ("Failed to load mesh") and ends the process.
  ModelArrays(int objResourceId, int mtlResourceId, float scale);
  ModelArrays(const ModelTexts& texts, float scale);
  // From a reader whose read succeeded (tools that read the model themselves).
  ModelArrays(const ModelReader& loaded, float scale);

  int vertexCount() const { return vertexCount_; }
  int indexCount() const { return indexCount_; }
  float scale() const { return scale_; }

  // Vertex i starts at 3i in the three-wide arrays, 2i in texCoords, 4i in specular
  // (the colour, then the exponent).
  const std::vector<float>& positions() const { return positions_; }
  const std::vector<float>& texCoords() const { return texCoords_; }
  const std::vector<float>& normals() const { return normals_; }
  const std::vector<float>& tangents() const { return tangents_; }
  const std::vector<float>& bitangents() const { return bitangents_; }
  const std::vector<float>& ambient() const { return ambient_; }
  const std::vector<float>& diffuse() const { return diffuse_; }
  const std::vector<float>& specular() const { return specular_; }
  const std::vector<std::uint32_t>& indices() const { return indices_; }

 private:
  void build(const ModelReader& reader, bool loaded);

  std::vector<float> positions_;
  std::vector<float> texCoords_;
  std::vector<float> normals_;
  std::vector<float> tangents_;
  std::vector<float> bitangents_;
  std::vector<float> ambient_;
  std::vector<float> diffuse_;
  std::vector<float> specular_;
  std::vector<std::uint32_t> indices_;
  int vertexCount_ = 0;
  int indexCount_ = 0;
  float scale_;
};

class MeshData {
 public:
  static constexpr int kFloatsPerVertex = 24;
  // Float offsets inside one interleaved vertex.
  static constexpr int positionOffset = 0;
  static constexpr int texCoordOffset = 3;
  static constexpr int normalOffset = 5;
  static constexpr int tangentOffset = 8;
  static constexpr int bitangentOffset = 11;
  static constexpr int ambientOffset = 14;
  static constexpr int diffuseOffset = 17;
  static constexpr int specularOffset = 20;

  MeshData(int objResourceId, int mtlResourceId, float scale);
  MeshData(const ModelTexts& texts, float scale);
  MeshData(const ModelReader& loaded, float scale);

  const float* vertices() const { return vertices_.data(); }
  int floatsPerVertex() const { return kFloatsPerVertex; }
  std::size_t vertexBytes() const {
    return static_cast<std::size_t>(vertexCount_) * kFloatsPerVertex * sizeof(float);
  }
  const std::uint32_t* indices() const { return indices_.data(); }
  int vertexCount() const { return vertexCount_; }
  int indexCount() const { return indexCount_; }
  std::size_t indexBytes() const { return static_cast<std::size_t>(indexCount_) * sizeof(std::uint32_t); }
  const ModelArrays& arrays() const { return arrays_; }

 private:
  void interleave();

  // Declared in reverse order of release: vertices, then indices, then the source arrays.
  ModelArrays arrays_;
  std::vector<std::uint32_t> indices_;
  std::vector<float> vertices_;
  int vertexCount_ = 0;
  int indexCount_ = 0;
};
