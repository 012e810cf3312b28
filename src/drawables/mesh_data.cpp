#include "drawables/mesh_data.h"

#include <GLFW/glfw3.h>

#include <algorithm>

#include "model/model_reader.h"
#include "platform/platform.h"
#include "render/math.h"

namespace {

[[noreturn]] void failToLoad() {
  platform::ShowMessageBox("Failed to load mesh", "Debug", platform::kIconInformation);
  glfwTerminate();
  platform::EndAfterStartupFailure();
}

Vec3 at3(const std::vector<float>& a, std::uint32_t i) { return Vec3(a[3 * i], a[3 * i + 1], a[3 * i + 2]); }
Vec2 at2(const std::vector<float>& a, std::uint32_t i) { return Vec2(a[2 * i], a[2 * i + 1]); }
void put3(std::vector<float>& a, std::size_t i, const Vec3& v) {
  a[3 * i] = v[0];
  a[3 * i + 1] = v[1];
  a[3 * i + 2] = v[2];
}

}  // namespace

ModelArrays::ModelArrays(int objResourceId, int mtlResourceId, float scale) : scale_(scale) {
  ModelReader reader;
  const bool loaded = reader.readModel(objResourceId, mtlResourceId);
  build(reader, loaded);
}

ModelArrays::ModelArrays(const ModelTexts& texts, float scale) : scale_(scale) {
  ModelReader reader;
  const bool loaded = reader.readModelText(texts.obj, [&texts] { return texts.mtl; });
  build(reader, loaded);
}

ModelArrays::ModelArrays(const ModelReader& loaded, float scale) : scale_(scale) { build(loaded, true); }

void ModelArrays::build(const ModelReader& reader, bool loaded) {
  if (!loaded) failToLoad();

  std::size_t vertices = 0;
  std::size_t indices = 0;
  for (const objl::Mesh& mesh : reader.meshes) {
    vertices += mesh.vertices.size();
    indices += mesh.indices.size();
  }
  vertexCount_ = static_cast<int>(vertices);
  indexCount_ = static_cast<int>(indices);
  positions_.assign(3 * vertices, 0.0f);
  texCoords_.assign(2 * vertices, 0.0f);
  normals_.assign(3 * vertices, 0.0f);
  tangents_.assign(3 * vertices, 0.0f);
  bitangents_.assign(3 * vertices, 0.0f);
  ambient_.assign(3 * vertices, 0.0f);
  diffuse_.assign(3 * vertices, 0.0f);
  specular_.assign(4 * vertices, 0.0f);
  indices_.assign(indices, 0);

  std::size_t vb = 0;
  std::size_t ib = 0;
  for (const objl::Mesh& mesh : reader.meshes) {
    const objl::Material& m = mesh.material;
    for (std::size_t j = 0; j < mesh.vertices.size(); ++j) {
      const objl::Vertex& vertex = mesh.vertices[j];
      const std::size_t v = vb + j;
      put3(positions_, v, Vec3(vertex.pos.x * scale_, vertex.pos.y * scale_, vertex.pos.z * scale_));
      put3(normals_, v, normalize(Vec3(vertex.normal.x, vertex.normal.y, vertex.normal.z)));
      texCoords_[2 * v] = vertex.texCoord.x;
      texCoords_[2 * v + 1] = vertex.texCoord.y;
      put3(ambient_, v, Vec3(m.ambient.x, m.ambient.y, m.ambient.z));
      put3(diffuse_, v, Vec3(m.diffuse.x, m.diffuse.y, m.diffuse.z));
      specular_[4 * v] = m.specular.x;
      specular_[4 * v + 1] = m.specular.y;
      specular_[4 * v + 2] = m.specular.z;
      specular_[4 * v + 3] = m.specularExponent;
    }
    for (std::size_t k = 0; k < mesh.indices.size(); ++k) {
      indices_[ib + k] = static_cast<std::uint32_t>(vb + mesh.indices[k]);
    }
    vb += mesh.vertices.size();
    ib += mesh.indices.size();
  }

  // One tangent frame per triangle; a vertex keeps the frame of the last triangle using it.
  // An incomplete last triangle is left out.
  for (std::size_t t = 0; t + 2 < indices; t += 3) {
    const std::uint32_t i0 = indices_[t], i1 = indices_[t + 1], i2 = indices_[t + 2];
    const Vec3 p0 = at3(positions_, i0), p1 = at3(positions_, i1), p2 = at3(positions_, i2);
    const Vec2 w0 = at2(texCoords_, i0), w1 = at2(texCoords_, i1), w2 = at2(texCoords_, i2);
    const Vec3 e1 = p1 - p0;
    const Vec3 e2 = p2 - p0;
    const Vec2 d1 = w1 - w0;
    const Vec2 d2 = w2 - w0;
    const float r = 1.0f / (d1[0] * d2[1] - d2[0] * d1[1]);
    const Vec3 tangent = normalize((e1 * d2[1] - e2 * d1[1]) * r);
    const Vec3 bitangent = normalize((e2 * d1[0] - e1 * d2[0]) * r);
    for (std::uint32_t i : {i0, i1, i2}) {
      put3(tangents_, i, tangent);
      put3(bitangents_, i, bitangent);
    }
  }
}

MeshData::MeshData(int objResourceId, int mtlResourceId, float scale) : arrays_(objResourceId, mtlResourceId, scale) {
  interleave();
}

MeshData::MeshData(const ModelTexts& texts, float scale) : arrays_(texts, scale) { interleave(); }

MeshData::MeshData(const ModelReader& loaded, float scale) : arrays_(loaded, scale) { interleave(); }

void MeshData::interleave() {
  vertexCount_ = arrays_.vertexCount();
  indexCount_ = arrays_.indexCount();
  vertices_.assign(static_cast<std::size_t>(vertexCount_) * kFloatsPerVertex, 0.0f);
  const float* sources[] = {arrays_.positions().data(), arrays_.texCoords().data(), arrays_.normals().data(),
                            arrays_.tangents().data(),  arrays_.bitangents().data(), arrays_.ambient().data(),
                            arrays_.diffuse().data(),   arrays_.specular().data()};
  const int widths[] = {3, 2, 3, 3, 3, 3, 3, 4};
  const int offsets[] = {positionOffset, texCoordOffset, normalOffset,  tangentOffset,
                         bitangentOffset, ambientOffset, diffuseOffset, specularOffset};
  for (std::size_t v = 0; v < static_cast<std::size_t>(vertexCount_); ++v) {
    float* out = &vertices_[v * kFloatsPerVertex];
    for (int a = 0; a < 8; ++a) {
      std::copy_n(sources[a] + v * widths[a], widths[a], out + offsets[a]);
    }
  }
  indices_ = arrays_.indices();
}
