#include "model/model_reader.h"

#include <algorithm>
#include <cmath>
#include <iostream>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "platform/platform.h"

using objl::Material;
using objl::Mesh;
using objl::Vector2;
using objl::Vector3;
using objl::Vertex;

std::string readTextResource(int resourceId) {
  platform::ResourceData data;
  if (!platform::FindResourceData(resourceId, "TEXTFILE", &data) || data.bytes == nullptr) return {};
  return std::string(reinterpret_cast<const char*>(data.bytes), data.size);
}

namespace {

// Calls `onLine` for every line of `text`: a line ends at a line feed (not part of it); a
// last line without one still counts, the empty rest after a final line feed does not.
template <typename OnLine>
bool forEachLine(std::string_view text, OnLine onLine) {
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t eol = text.find('\n', pos);
    const std::size_t end = eol == std::string_view::npos ? text.size() : eol;
    if (!onLine(text.substr(pos, end - pos))) return false;
    pos = end + 1;
  }
  return true;
}

// Drops every carriage return together with the character after it.
std::string_view withoutCarriageReturns(std::string_view line, std::string& scratch) {
  const std::size_t first = line.find('\r');
  if (first == std::string_view::npos) return line;
  if (first + 1 == line.size()) return line.substr(0, first);  // the usual CR LF line end
  scratch.clear();
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '\r') {
      ++i;
      continue;
    }
    scratch.push_back(line[i]);
  }
  return scratch;
}

bool isFinite(const Vector3& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

// Faces with shared positions (or positions that compare unequal to themselves) fall outside
// what the ear clipping can emit three indices per triangle for.
bool hasRepeatedPosition(const std::vector<Vertex>& corners) {
  for (const Vertex& c : corners) {
    if (!isFinite(c.pos)) return true;
  }
  const std::size_t n = corners.size();
  if (n <= 16) {
    for (std::size_t a = 0; a < n; ++a) {
      for (std::size_t b = a + 1; b < n; ++b) {
        if (corners[a].pos == corners[b].pos) return true;
      }
    }
    return false;
  }
  std::vector<Vector3> sorted;
  sorted.reserve(n);
  for (const Vertex& c : corners) sorted.push_back(c.pos);
  std::sort(sorted.begin(), sorted.end(), [](const Vector3& a, const Vector3& b) {
    if (a.x != b.x) return a.x < b.x;
    if (a.y != b.y) return a.y < b.y;
    return a.z < b.z;
  });
  for (std::size_t i = 1; i < n; ++i) {
    if (sorted[i] == sorted[i - 1]) return true;
  }
  return false;
}

}  // namespace

ModelReader::ModelReader() : progressOut(&std::cout) {}

bool ModelReader::readModel(int objResourceId, int mtlResourceId) {
  const std::string text = readTextResource(objResourceId);
  return readModelText(text, [mtlResourceId] { return readTextResource(mtlResourceId); });
}

bool ModelReader::readMaterials(int mtlResourceId) { return readMaterialsText(readTextResource(mtlResourceId)); }

FaceResult ModelReader::buildFaceVertices(std::string_view faceLine, const std::vector<Vector3>& positions,
                                          const std::vector<Vector2>& texCoords,
                                          const std::vector<Vector3>& normals,
                                          std::vector<Vertex>& corners) const {
  corners.clear();
  std::vector<std::string_view>& tokens = tokenScratch_;
  std::vector<std::string_view>& parts = partScratch_;
  objl::splitOnViews(objl::restOfLineView(faceLine), tokens, " ");

  Vertex working;
  bool lacksNormal = false;
  for (std::string_view token : tokens) {
    // Two spaces in a row, or corners separated by tabs: not a corner this reader can place.
    if (token.empty() || token.find('\t') != std::string_view::npos) return FaceResult::Rejected;
    objl::splitOnViews(token, parts, "/");
    if (parts.size() > 3) return FaceResult::Rejected;

    const Vector3* pos = objl::elementAt(positions, parts[0]);
    if (pos == nullptr) return FaceResult::Rejected;
    working.pos = *pos;
    if (parts.size() == 1 || (parts.size() == 3 && parts[1].empty())) {
      working.texCoord = Vector2(0.0f, 0.0f);
    } else {
      const Vector2* texCoord = objl::elementAt(texCoords, parts[1]);
      if (texCoord == nullptr) return FaceResult::Rejected;
      working.texCoord = *texCoord;
    }
    if (parts.size() == 3) {
      const Vector3* normal = objl::elementAt(normals, parts[2]);
      if (normal == nullptr) return FaceResult::Rejected;
      working.normal = *normal;
    } else {
      lacksNormal = true;
    }
    corners.push_back(working);
  }

  if (corners.size() < 3) return FaceResult::Skipped;
  if (lacksNormal) {
    const Vector3 normal =
        objl::crossProduct(corners[0].pos - corners[1].pos, corners[2].pos - corners[1].pos);
    for (Vertex& corner : corners) corner.normal = normal;
  }
  if (corners.size() >= 4 && hasRepeatedPosition(corners)) return FaceResult::Skipped;
  return FaceResult::Read;
}

void ModelReader::triangulateFace(std::vector<std::uint32_t>& out, const std::vector<Vertex>& corners) const {
  if (corners.size() >= 4 && hasRepeatedPosition(corners)) return;
  clipper_.cut(corners, out);
}

bool ModelReader::readModelText(std::string_view objText, const MaterialSource& materialSource) {
  meshes.clear();
  flatVertices.clear();
  flatIndices.clear();
  rejectReason_.clear();

  std::vector<Vector3> rawPositions;
  std::vector<Vector2> rawTexCoords;
  std::vector<Vector3> rawNormals;
  std::vector<Vertex> meshVertices;
  std::vector<std::uint32_t> meshIndices;
  std::vector<std::string> materialNames;
  bool groupSeen = false;
  std::string currentMeshName;
  std::uint32_t progressCounter = 1000;
  bool libraryRead = false;

  // Every mesh name so far, and per base name the first "_n" suffix that may still be free:
  // names only ever get added, so the search never needs to look back.
  std::unordered_set<std::string> meshNames;
  std::unordered_map<std::string, unsigned long> nextSuffix;

  std::string cleaned;
  std::vector<std::string_view> parts;
  std::vector<Vertex> corners;
  std::vector<std::uint32_t> triangles;
  std::size_t lineNumber = 0;

  auto lineEnd = [this] {
    if (progressOut != nullptr) *progressOut << std::endl;
  };
  auto progressLine = [&] {
    if (progressOut == nullptr) return;
    std::ostream& out = *progressOut;
    out << "\r- " << currentMeshName << "\t| vertices > " << rawPositions.size() << "\t| texcoords > "
        << rawTexCoords.size() << "\t| normals > " << rawNormals.size() << "\t| triangles > "
        << meshVertices.size() / 3;
    if (!materialNames.empty()) out << "\t| material: " << materialNames.back();
  };
  auto closeMesh = [&](std::string name) {
    Mesh mesh;
    mesh.vertices = std::move(meshVertices);
    mesh.indices = std::move(meshIndices);
    meshVertices.clear();
    meshIndices.clear();
    meshNames.insert(name);
    mesh.meshName = std::move(name);
    meshes.push_back(std::move(mesh));
  };
  auto freeSuffixedName = [&](const std::string& base) {
    unsigned long& n = nextSuffix[base];
    if (n < 2) n = 2;
    for (;; ++n) {
      std::string candidate = base + "_" + std::to_string(n);
      if (meshNames.count(candidate) == 0) return candidate;
    }
  };
  auto reject = [&](const char* cause) {
    rejectReason_ = "line " + std::to_string(lineNumber) + ": " + cause;
    return false;
  };
  auto readVector3 = [&](std::string_view line, std::vector<Vector3>& list) {
    objl::splitOnViews(objl::restOfLineView(line), parts, " ");
    Vector3 v;
    if (parts.size() < 3) return reject("fewer than three numbers");
    if (!objl::parseFloat(parts[0], &v.x) || !objl::parseFloat(parts[1], &v.y) ||
        !objl::parseFloat(parts[2], &v.z)) {
      return reject("malformed or out-of-range number");
    }
    list.push_back(v);
    return true;
  };

  const bool completed = forEachLine(objText, [&](std::string_view rawLine) {
    ++lineNumber;
    const std::string_view line = withoutCarriageReturns(rawLine, cleaned);

    progressCounter = (progressCounter + 1) % 1000;
    if (progressCounter == 1 && !currentMeshName.empty()) progressLine();

    const std::string_view word = objl::leadingWordView(line);
    if (word == "o" || word == "g" || (!line.empty() && line[0] == 'g')) {
      const bool named = word == "o" || word == "g";
      const std::string_view rest = objl::restOfLineView(line);
      if (!groupSeen) {
        groupSeen = true;
        currentMeshName = named ? std::string(rest) : std::string("unnamed");
      } else if (!meshIndices.empty() && !meshVertices.empty()) {
        closeMesh(currentMeshName);
        currentMeshName = std::string(rest);
      } else {
        currentMeshName = named ? std::string(rest) : std::string("unnamed");
      }
      lineEnd();
      progressCounter = 0;
    } else if (word == "v") {
      return readVector3(line, rawPositions);
    } else if (word == "vt") {
      objl::splitOnViews(objl::restOfLineView(line), parts, " ");
      Vector2 t;
      if (parts.size() < 2) return reject("fewer than two texture coordinates");
      if (!objl::parseFloat(parts[0], &t.x) || !objl::parseFloat(parts[1], &t.y)) {
        return reject("malformed or out-of-range number");
      }
      rawTexCoords.push_back(t);
    } else if (word == "vn") {
      return readVector3(line, rawNormals);
    } else if (word == "f") {
      const FaceResult result = buildFaceVertices(line, rawPositions, rawTexCoords, rawNormals, corners);
      if (result == FaceResult::Rejected) {
        return reject("face corner that is malformed or refers outside the lists read so far");
      }
      if (result == FaceResult::Skipped) return true;
      triangles.clear();
      clipper_.cut(corners, triangles);
      meshVertices.insert(meshVertices.end(), corners.begin(), corners.end());
      flatVertices.insert(flatVertices.end(), corners.begin(), corners.end());
      const std::size_t meshBase = meshVertices.size() - corners.size();
      const std::size_t flatBase = flatVertices.size() - corners.size();
      for (std::uint32_t k : triangles) {
        meshIndices.push_back(static_cast<std::uint32_t>(meshBase + k));
        flatIndices.push_back(static_cast<std::uint32_t>(flatBase + k));
      }
    } else if (word == "usemtl") {
      materialNames.emplace_back(objl::restOfLineView(line));
      if (!meshIndices.empty() && !meshVertices.empty()) closeMesh(freeSuffixedName(currentMeshName));
      progressCounter = 0;
    } else if (word == "mtllib" && !libraryRead) {
      // Every "mtllib" line reads the same library, and the first material of a name is the
      // one that matches: reading it again would add only copies.
      libraryRead = true;
      readMaterialsText(materialSource ? materialSource() : std::string());
    }
    return true;
  });

  lineEnd();
  if (!completed) {
    meshes.clear();
    flatVertices.clear();
    flatIndices.clear();
    return false;
  }
  if (!meshIndices.empty() && !meshVertices.empty()) closeMesh(currentMeshName);

  // The first material of each name wins.
  std::unordered_map<std::string_view, std::size_t> firstMaterial;
  for (std::size_t i = 0; i < materials.size(); ++i) firstMaterial.emplace(materials[i].materialName, i);
  for (std::size_t i = 0; i < materialNames.size() && i < meshes.size(); ++i) {
    const auto found = firstMaterial.find(materialNames[i]);
    if (found != firstMaterial.end()) meshes[i].material = materials[found->second];
  }

  return !(meshes.empty() && flatVertices.empty() && flatIndices.empty());
}

bool ModelReader::readMaterialsText(std::string_view mtlText) {
  Material material;
  bool materialSeen = false;
  std::vector<std::string_view> parts;

  auto readColour = [&](std::string_view line, Vector3* colour) {
    objl::splitOnViews(objl::restOfLineView(line), parts, " ");
    Vector3 value;
    if (parts.size() == 3 && objl::parseFloat(parts[0], &value.x) && objl::parseFloat(parts[1], &value.y) &&
        objl::parseFloat(parts[2], &value.z)) {
      *colour = value;
    }
  };
  auto readFloat = [](std::string_view line, float* field) {
    float value;
    if (objl::parseFloat(objl::restOfLineView(line), &value)) *field = value;
  };

  forEachLine(mtlText, [&](std::string_view line) {
    const std::string_view word = objl::leadingWordView(line);
    if (word == "newmtl") {
      if (materialSeen) {
        materials.push_back(std::move(material));
        material = Material();
      } else {
        materialSeen = true;
      }
      if (line.size() > 7) {
        std::string name(objl::restOfLineView(line));
        material.materialName = std::move(objl::trimLineEnd(name));
      } else {
        material.materialName = "none";
      }
    } else if (word == "Ka") {
      readColour(line, &material.ambient);
    } else if (word == "Kd") {
      readColour(line, &material.diffuse);
    } else if (word == "Ks") {
      readColour(line, &material.specular);
    } else if (word == "Ns") {
      readFloat(line, &material.specularExponent);
    } else if (word == "Ni") {
      readFloat(line, &material.opticalDensity);
    } else if (word == "d") {
      readFloat(line, &material.dissolve);
    } else if (word == "illum") {
      std::int32_t value;
      if (objl::parseInt(objl::restOfLineView(line), &value)) material.illumination = value;
    } else if (word == "map_Ka") {
      material.ambientMap = std::string(objl::restOfLineView(line));
    } else if (word == "map_Kd") {
      material.diffuseMap = std::string(objl::restOfLineView(line));
    } else if (word == "map_Ks") {
      material.specularMap = std::string(objl::restOfLineView(line));
    } else if (word == "map_Ns") {
      material.specularExponentMap = std::string(objl::restOfLineView(line));
    } else if (word == "map_d") {
      material.dissolveMap = std::string(objl::restOfLineView(line));
    } else if (word == "map_Bump" || word == "map_bump" || word == "bump") {
      material.bumpMap = std::string(objl::restOfLineView(line));
    }
    return true;
  });

  materials.push_back(std::move(material));
  return !materials.empty();
}
