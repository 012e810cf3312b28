// Feeds arbitrary bytes to the OBJ and MTL readers and checks what they promise: no crash,
// no read outside the lists, and a result that matches what was built.
//   input = OBJ text [ "\n%MTL\n" MTL text ]
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "drawables/mesh_data.h"
#include "model/model_reader.h"

namespace {

void check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "broken promise: %s\n", what);
    std::abort();
  }
}

bool finite(const objl::Vector3& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  constexpr std::string_view kMarker = "\n%MTL\n";
  const std::size_t split = input.find(kMarker);
  const std::string_view obj = input.substr(0, split);
  const std::string mtl(split == std::string_view::npos ? std::string_view() : input.substr(split + kMarker.size()));

  // The MTL reader alone, on the whole input.
  {
    ModelReader reader;
    check(reader.readMaterialsText(input), "readMaterials appends at least one material");
  }

  ModelReader reader;
  reader.progressOut = nullptr;
  int libraryReads = 0;
  const bool loaded = reader.readModelText(obj, [&] {
    ++libraryReads;
    return mtl;
  });
  check(libraryReads <= 1, "the material library is read at most once per model");
  check(loaded == !(reader.meshes.empty() && reader.flatVertices.empty() && reader.flatIndices.empty()),
        "the result says whether anything was read");
  if (!loaded) return 0;
  check(reader.rejectReason().empty(), "no reject reason on success");
  check(reader.flatIndices.size() % 3 == 0, "whole triangles");
  for (std::uint32_t i : reader.flatIndices) check(i < reader.flatVertices.size(), "flat index in range");
  std::size_t meshVertices = 0;
  for (const objl::Mesh& mesh : reader.meshes) {
    check(!mesh.vertices.empty() && !mesh.indices.empty(), "no empty meshes");
    check(mesh.indices.size() % 3 == 0, "whole triangles per mesh");
    for (std::uint32_t i : mesh.indices) check(i < mesh.vertices.size(), "mesh index in range");
    for (const objl::Vertex& v : mesh.vertices) check(finite(v.pos), "finite positions");
    meshVertices += mesh.vertices.size();
  }
  check(meshVertices <= reader.flatVertices.size(), "meshes hold no more than was read");

  const MeshData arrays(reader, 1.5f);
  check(static_cast<std::size_t>(arrays.vertexCount()) == meshVertices, "every mesh vertex interleaved");
  return 0;
}
