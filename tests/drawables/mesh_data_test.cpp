#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "drawables/mesh_data.h"
#include "support/test_support.h"

namespace {

constexpr int kPlaneObj = 141;
constexpr int kPlaneMtl = 140;

float length3(const float* v) { return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]); }

TEST(MeshData, EmbeddedRectangleInterleaved) {
  const MeshData data(kPlaneObj, kPlaneMtl, 1.0f);
  ASSERT_EQ(data.vertexCount(), 6);
  ASSERT_EQ(data.indexCount(), 6);
  EXPECT_EQ(data.floatsPerVertex(), 24);
  EXPECT_EQ(data.vertexBytes(), 6u * 96u);
  EXPECT_EQ(data.indexBytes(), 24u);
  EXPECT_EQ(std::vector<std::uint32_t>(data.indices(), data.indices() + 6),
            (std::vector<std::uint32_t>{0, 1, 2, 3, 4, 5}));

  const float positions[6][3] = {{-1, 1, 0}, {-1, -1, 0}, {1, 1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, -1, 0}};
  const float texCoords[6][2] = {{0, 1}, {0, 0}, {1, 1}, {1, 0}, {1, 1}, {0, 0}};
  for (int v = 0; v < 6; ++v) {
    const float* p = data.vertices() + 24 * v;
    const float expected[24] = {positions[v][0], positions[v][1], positions[v][2],
                                texCoords[v][0], texCoords[v][1],
                                0, 0, 1,                      // normal
                                1, 0, 0,                      // tangent
                                0, 1, 0,                      // bitangent
                                0.7765f, 0.8824f, 0.3412f,    // ambient
                                0.7765f, 0.8824f, 0.3412f,    // diffuse
                                0.35f, 0.35f, 0.35f, 32.0f};  // specular and exponent
    for (int f = 0; f < 24; ++f) EXPECT_FLOAT_EQ(p[f], expected[f]) << "vertex " << v << " float " << f;
  }
}

TEST(MeshData, ScaleMovesPositionsOnly) {
  const MeshData one(kPlaneObj, kPlaneMtl, 1.0f);
  const MeshData two(kPlaneObj, kPlaneMtl, 2.0f);
  ASSERT_EQ(two.vertexCount(), one.vertexCount());
  EXPECT_EQ(two.arrays().scale(), 2.0f);
  for (int v = 0; v < two.vertexCount(); ++v) {
    const float* a = one.vertices() + 24 * v;
    const float* b = two.vertices() + 24 * v;
    for (int k = 0; k < 3; ++k) EXPECT_EQ(b[MeshData::positionOffset + k], 2.0f * a[MeshData::positionOffset + k]);
    for (int off : {MeshData::normalOffset, MeshData::tangentOffset, MeshData::bitangentOffset}) {
      EXPECT_FLOAT_EQ(length3(b + off), 1.0f) << "vertex " << v << " offset " << off;
    }
  }
}

TEST(MeshData, MeshesFollowEachOtherWithShiftedIndices) {
  const ModelTexts texts{
      "mtllib x\nv 0 0 0\nv 4 0 0\nv 4 2 0\nv 0 2 0\nvn 0 0 3\nvt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n"
      "g first\nusemtl red\nf 1/1/1 2/2/1 3/3/1\n"
      "g second\nusemtl blue\nf 1/1/1 2/2/1 3/3/1 4/4/1\n",
      "newmtl red\nKa 1 0 0\nKd 0.5 0 0\nKs 0.1 0.2 0.3\nNs 10\nnewmtl blue\nKd 0 0 1\n"};
  const MeshData data(texts, 1.0f);
  ASSERT_EQ(data.vertexCount(), 7);
  ASSERT_EQ(data.indexCount(), 9);
  EXPECT_EQ(std::vector<std::uint32_t>(data.indices(), data.indices() + 9),
            (std::vector<std::uint32_t>{0, 1, 2, 3, 4, 6, 4, 5, 6}));
  const float* first = data.vertices();
  const float* second = data.vertices() + 24 * 3;
  EXPECT_EQ(first[MeshData::ambientOffset], 1.0f);
  EXPECT_EQ(first[MeshData::diffuseOffset], 0.5f);
  EXPECT_EQ(first[MeshData::specularOffset + 2], 0.3f);
  EXPECT_EQ(first[MeshData::specularOffset + 3], 10.0f);
  EXPECT_EQ(second[MeshData::diffuseOffset + 2], 1.0f);
  EXPECT_EQ(second[MeshData::specularOffset + 3], 0.0f);
  EXPECT_EQ(second[MeshData::normalOffset + 2], 1.0f) << "normals come out unit length";
  EXPECT_EQ(second[MeshData::texCoordOffset + 1], 0.0f);
  // The tangent frame follows u and v across the stretched rectangle.
  EXPECT_FLOAT_EQ(second[MeshData::tangentOffset], 1.0f);
  EXPECT_FLOAT_EQ(second[MeshData::bitangentOffset + 1], 1.0f);
  // The separate arrays stay alongside the interleaved copy.
  EXPECT_EQ(data.arrays().specular().size(), 4u * 7u);
  EXPECT_EQ(data.arrays().positions()[3 * 5], 4.0f);
}

TEST(MeshData, LoadedModelWithoutTrianglesGivesEmptyArrays) {
  // Five corners on one line: the corners are read but no triangle comes of them.
  const MeshData data(ModelTexts{"v 0 0 0\nv 1 0 0\nv 2 0 0\nv 3 0 0\nv 4 0 0\nf 1 2 3 4 5\n", ""}, 1.0f);
  EXPECT_EQ(data.vertexCount(), 0);
  EXPECT_EQ(data.indexCount(), 0);
  EXPECT_EQ(data.vertexBytes(), 0u);
  EXPECT_EQ(data.indexBytes(), 0u);
}

TEST(MeshData, ModelThatDoesNotLoadEndsTheProcessAfterTheBox) {
  struct Case {
    const char* name;
    ModelTexts texts;
  };
  const std::vector<Case> cases = {
      {"no faces", {"v 1 2 3\n", ""}},
      {"face index out of range", {"v 1 2 3\nf 1 2 3\n", ""}},
      {"malformed position", {"v 1 two 3\nv 0 0 0\nv 1 1 1\nf 1 2 3\n", ""}},
  };
  for (const Case& c : cases) {
    MessageBoxCapture boxes;
    ProcessEndCatcher catcher;
    try {
      MeshData data(c.texts, 1.0f);
      ADD_FAILURE() << c.name << ": the process went on";
    } catch (const ProcessEnded& ended) {
      EXPECT_EQ(ended.code, 0) << c.name;
    }
    ASSERT_EQ(boxes.boxes.size(), 1u) << c.name;
    EXPECT_EQ(boxes.boxes[0].text, "Failed to load mesh");
    EXPECT_EQ(boxes.boxes[0].title, "Debug");
    EXPECT_EQ(boxes.boxes[0].style, platform::kIconInformation);
  }
}

TEST(MeshData, MissingResourceEndsTheProcess) {
  MessageBoxCapture boxes;
  ProcessEndCatcher catcher;
  EXPECT_THROW(MeshData(9999, kPlaneMtl, 1.0f), ProcessEnded);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "Failed to load mesh");
}

}  // namespace
