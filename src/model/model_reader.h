// Reads a Wavefront OBJ model and its MTL materials into meshes of one vertex per face
// corner, with polygons cut into triangles. The texts normally come from the executable's
// "TEXTFILE" resources; the *Text entry points read texts from anywhere else.
#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "model/ear_clipping.h"
#include "model/objl.h"

// A resource's bytes as text; empty when the resource is missing.
std::string readTextResource(int resourceId);

// What became of one face line.
enum class FaceResult {
  Read,      // corners built
  Skipped,   // well-formed but unusable (fewer than three corners, a repeated position): ignored
  Rejected,  // malformed (bad index or token): the whole model is rejected
};

class ModelReader {
 public:
  std::vector<objl::Mesh> meshes;
  std::vector<objl::Vertex> flatVertices;
  std::vector<std::uint32_t> flatIndices;
  std::vector<objl::Material> materials;

  // Where the progress lines go; null keeps them quiet.
  std::ostream* progressOut;

  // The MTL text that the "mtllib" lines read; a model reads it once, at the first of them.
  using MaterialSource = std::function<std::string()>;

  ModelReader();

  // True when the model yielded anything; false when it held no faces or was malformed
  // (see rejectReason).
  bool readModel(int objResourceId, int mtlResourceId);
  bool readModelText(std::string_view objText, const MaterialSource& materialSource);

  // Appends the materials of the text; true when `materials` is not empty afterwards.
  bool readMaterials(int mtlResourceId);
  bool readMaterialsText(std::string_view mtlText);

  // Turns one "f" line into its corners, in the order written. Corners without a normal make
  // the face take the computed normal of its first three corners.
  FaceResult buildFaceVertices(std::string_view faceLine, const std::vector<objl::Vector3>& positions,
                               const std::vector<objl::Vector2>& texCoords,
                               const std::vector<objl::Vector3>& normals,
                               std::vector<objl::Vertex>& corners) const;

  // Appends the face's triangles to `out`, three indices into `corners` each (see
  // objl::EarClipper). A face of four or more corners where two share a position yields
  // nothing.
  void triangulateFace(std::vector<std::uint32_t>& out, const std::vector<objl::Vertex>& corners) const;

  // Why the last readModel rejected its text (empty when it did not): the line and the cause.
  const std::string& rejectReason() const { return rejectReason_; }

 private:
  std::string rejectReason_;
  // Reused between faces so a face line costs no allocations.
  mutable std::vector<std::string_view> tokenScratch_;
  mutable std::vector<std::string_view> partScratch_;
  mutable objl::EarClipper clipper_;
};
