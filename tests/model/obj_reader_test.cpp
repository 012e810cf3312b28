#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "model/model_reader.h"

using objl::Vector2;
using objl::Vector3;

namespace {

constexpr int kPlaneObj = 141;
constexpr int kPlaneMtl = 140;

// Reads texts with the progress lines caught in `progress`.
struct TextRead {
  ModelReader reader;
  std::ostringstream progress;
  bool result = false;

  TextRead(const std::string& obj, const std::string& mtl = "newmtl m1\nKd 1 0 0\n") {
    reader.progressOut = &progress;
    result = reader.readModelText(obj, [mtl] { return mtl; });
  }
};

std::vector<std::string> meshNames(const ModelReader& reader) {
  std::vector<std::string> names;
  for (const objl::Mesh& m : reader.meshes) names.push_back(m.meshName);
  return names;
}

void expectVec3(const Vector3& v, float x, float y, float z, const std::string& what) {
  EXPECT_EQ(v.x, x) << what;
  EXPECT_EQ(v.y, y) << what;
  EXPECT_EQ(v.z, z) << what;
}

TEST(ObjReader, EmbeddedRectangle) {
  ModelReader reader;
  std::ostringstream progress;
  reader.progressOut = &progress;
  ASSERT_TRUE(reader.readModel(kPlaneObj, kPlaneMtl));

  ASSERT_EQ(reader.meshes.size(), 1u);
  const objl::Mesh& mesh = reader.meshes[0];
  EXPECT_EQ(mesh.meshName, "Plane001");
  const float pos[6][3] = {{-1, 1, 0}, {-1, -1, -0.0f}, {1, 1, 0}, {1, -1, -0.0f}, {1, 1, 0}, {-1, -1, -0.0f}};
  const float tex[6][2] = {{0, 1}, {0, 0}, {1, 1}, {1, 0}, {1, 1}, {0, 0}};
  ASSERT_EQ(mesh.vertices.size(), 6u);
  for (int i = 0; i < 6; ++i) {
    const objl::Vertex& v = mesh.vertices[i];
    const std::string what = "corner " + std::to_string(i);
    expectVec3(v.pos, pos[i][0], pos[i][1], pos[i][2], what);
    EXPECT_EQ(std::signbit(v.pos.z), std::signbit(pos[i][2])) << what;
    EXPECT_EQ(v.texCoord.x, tex[i][0]) << what;
    EXPECT_EQ(v.texCoord.y, tex[i][1]) << what;
    expectVec3(v.normal, 0, 0, 1, what);
  }
  EXPECT_EQ(mesh.indices, (std::vector<std::uint32_t>{0, 1, 2, 3, 4, 5}));
  EXPECT_EQ(reader.flatIndices, mesh.indices);
  ASSERT_EQ(reader.flatVertices.size(), 6u);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(reader.flatVertices[i].pos, mesh.vertices[i].pos);

  const objl::Material& m = mesh.material;
  EXPECT_EQ(m.materialName, "wire_198225087");
  expectVec3(m.ambient, 0.7765f, 0.8824f, 0.3412f, "Ka");
  expectVec3(m.diffuse, 0.7765f, 0.8824f, 0.3412f, "Kd");
  expectVec3(m.specular, 0.35f, 0.35f, 0.35f, "Ks");
  EXPECT_EQ(m.specularExponent, 32.0f);
  EXPECT_EQ(reader.materials.size(), 1u);

  const std::string counts = "\r- Plane001\t| vertices > 4\t| texcoords > 4\t| normals > 1\t| triangles > 0";
  EXPECT_EQ(progress.str(), "\n" + counts + "\n" + counts + counts + "\t| material: wire_198225087\n");
}

TEST(ObjReader, QuadOfPositionsGetsOneComputedNormal) {
  TextRead t("v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf 1 2 3 4\n");
  ASSERT_TRUE(t.result);
  ASSERT_EQ(t.reader.meshes.size(), 1u);
  const objl::Mesh& mesh = t.reader.meshes[0];
  EXPECT_EQ(mesh.meshName, "");
  EXPECT_EQ(mesh.indices, (std::vector<std::uint32_t>{0, 1, 3, 1, 2, 3}));
  ASSERT_EQ(mesh.vertices.size(), 4u);
  for (const objl::Vertex& v : mesh.vertices) {
    expectVec3(v.normal, 0, 0, -1, "normal");
    EXPECT_EQ(v.texCoord.x, 0.0f);
    EXPECT_EQ(v.texCoord.y, 0.0f);
  }
}

TEST(ObjReader, ComputedNormalIsNotNormalisedAndReplacesGivenOnes) {
  // One corner lacks a normal, so all three take (P0 - P1) x (P2 - P1).
  TextRead t("v 0 0 0\nv 2 0 0\nv 2 3 0\nvn 1 0 0\nvt 0.5 0.25\nf 1//1 2/1 3/1/1\n");
  ASSERT_TRUE(t.result);
  const objl::Mesh& mesh = t.reader.meshes.at(0);
  for (const objl::Vertex& v : mesh.vertices) expectVec3(v.normal, 0, 0, -6, "normal");
  EXPECT_EQ(mesh.vertices[0].texCoord.x, 0.0f);
  EXPECT_EQ(mesh.vertices[1].texCoord.x, 0.5f);
  EXPECT_EQ(mesh.vertices[2].texCoord.y, 0.25f);
}

TEST(ObjReader, CornerForms) {
  TextRead t(
      "v 1 0 0\nv 2 0 0\nv 3 0 0\nv 4 0 0\nv 5 5 0\n"
      "vt 0.1 0.2\nvt 0.3 0.4\nvn 0 1 0\nvn 0 0 1\n"
      "f -3 -2 -1\n"          // the last three positions read
      "f 1//2 2//2 5//1\n"    // position and normal
      "f 1/1/1 2/2/2 5/-1/-2\n");
  ASSERT_TRUE(t.result);
  const auto& v = t.reader.meshes.at(0).vertices;
  ASSERT_EQ(v.size(), 9u);
  EXPECT_EQ(v[0].pos.x, 3.0f);
  EXPECT_EQ(v[1].pos.x, 4.0f);
  EXPECT_EQ(v[2].pos.x, 5.0f);
  for (int i = 3; i < 6; ++i) {
    EXPECT_EQ(v[i].texCoord.x, 0.0f);
    EXPECT_EQ(v[i].texCoord.y, 0.0f);
  }
  expectVec3(v[3].normal, 0, 0, 1, "1//2");
  expectVec3(v[5].normal, 0, 1, 0, "5//1");
  EXPECT_EQ(v[6].texCoord.x, 0.1f);
  EXPECT_EQ(v[8].texCoord.x, 0.3f);
  expectVec3(v[8].normal, 0, 1, 0, "5/-1/-2");
  EXPECT_EQ(t.reader.meshes[0].indices, (std::vector<std::uint32_t>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
}

const std::string kThreePositions = "v 0 0 0\nv 1 0 0\nv 0 1 0\n";

TEST(ObjReader, GroupsAndMaterialChangesCutMeshes) {
  struct Case {
    const char* name;
    std::string obj;
    std::vector<std::string> meshes;
  };
  const std::string f = "f 1 2 3\n";
  const std::vector<Case> cases = {
      {"faces before the first group join it", kThreePositions + f + "g first\n" + f, {"first"}},
      {"no group statement", kThreePositions + f, {""}},
      {"consecutive groups rename", kThreePositions + "o a\ng b\n" + f + "g c\n" + f, {"b", "c"}},
      {"a line starting with g that is no g statement", kThreePositions + "group x y\n" + f + "gx z\n" + f,
       {"unnamed", "z"}},
      {"material changes split a group",
       kThreePositions + "g A\nusemtl m1\n" + f + "usemtl m2\n" + f + f + "usemtl m3\n" + f,
       {"A_2", "A_3", "A"}},
      {"suffixes skip taken names",
       kThreePositions + "g A_2\n" + f + "g A\n" + f + "usemtl x\n" + f + "usemtl y\n" + f,
       {"A_2", "A_3", "A_4", "A"}},
      {"a change before any face closes nothing", kThreePositions + "usemtl a\nusemtl b\ng G\n" + f, {"G"}},
  };
  for (const Case& c : cases) {
    TextRead t(c.obj);
    EXPECT_TRUE(t.result) << c.name;
    EXPECT_EQ(meshNames(t.reader), c.meshes) << c.name;
  }
}

TEST(ObjReader, MaterialsGoToMeshesByPosition) {
  const std::string mtl = "newmtl m1\nKd 1 0 0\nnewmtl m2\nKd 0 1 0\nnewmtl m3\nKd 0 0 1\nnewmtl m1\nKd 9 9 9\n";
  const std::string f = "f 1 2 3\n";
  TextRead t("mtllib x.mtl\nmtllib y.mtl\n" + kThreePositions + "g A\nusemtl m1\n" + f + "usemtl m2\n" + f + f +
                 "usemtl m3\n" + f + "usemtl nowhere\n",
             mtl);
  ASSERT_TRUE(t.result);
  ASSERT_EQ(t.reader.meshes.size(), 3u);
  // The library is read once, however many "mtllib" lines name it; the first of equal names
  // wins.
  EXPECT_EQ(t.reader.materials.size(), 4u);
  EXPECT_EQ(t.reader.meshes[0].material.diffuse, Vector3(1, 0, 0));
  EXPECT_EQ(t.reader.meshes[0].vertices.size(), 3u);
  EXPECT_EQ(t.reader.meshes[1].material.diffuse, Vector3(0, 1, 0));
  EXPECT_EQ(t.reader.meshes[1].vertices.size(), 6u);
  EXPECT_EQ(t.reader.meshes[1].indices, (std::vector<std::uint32_t>{0, 1, 2, 3, 4, 5}));
  EXPECT_EQ(t.reader.meshes[2].material.diffuse, Vector3(0, 0, 1));
  EXPECT_EQ(t.reader.flatIndices.size(), 12u);
  EXPECT_EQ(t.reader.flatIndices.back(), 11u);
}

// Re-reading the library would only append copies that never match: thousands of "mtllib"
// lines naming a large library once ran the reader out of memory.
TEST(ObjReader, EachModelReadsItsLibraryOnce) {
  std::string library;
  for (int m = 0; m < 300; ++m) library += "newmtl m" + std::to_string(m) + "\nKd 0.5 0.5 0.5\n";
  std::string obj = kThreePositions + "usemtl m7\nf 1 2 3\n";
  for (int k = 0; k < 3000; ++k) obj += "mtllib lib.mtl\n";
  ModelReader reader;
  reader.progressOut = nullptr;
  int reads = 0;
  ASSERT_TRUE(reader.readModelText(obj, [&] {
    ++reads;
    return library;
  }));
  EXPECT_EQ(reads, 1);
  EXPECT_EQ(reader.materials.size(), 300u);
  EXPECT_EQ(reader.meshes.at(0).material.materialName, "m7");

  // A model without "mtllib" reads none.
  reads = 0;
  ASSERT_TRUE(reader.readModelText(kThreePositions + "f 1 2 3\n", [&] {
    ++reads;
    return library;
  }));
  EXPECT_EQ(reads, 0);
}

TEST(ObjReader, UnknownMaterialLeavesTheDefault) {
  TextRead t(kThreePositions + "usemtl missing\nf 1 2 3\n");
  ASSERT_TRUE(t.result);
  EXPECT_EQ(t.reader.meshes.at(0).material.materialName, "");
  EXPECT_EQ(t.reader.meshes.at(0).material.diffuse, Vector3(0, 0, 0));
}

TEST(ObjReader, NothingToDrawGivesFalse) {
  EXPECT_FALSE(TextRead("# comment\nv 1 2 3\nv 4 5 6\nvn 0 0 1\n").result);
  EXPECT_FALSE(TextRead("").result);
  ModelReader reader;
  reader.progressOut = nullptr;
  EXPECT_FALSE(reader.readModel(9999, kPlaneMtl)) << "missing resource";
}

TEST(ObjReader, ReadingAgainRebuildsMeshesButAppendsMaterials) {
  ModelReader reader;
  reader.progressOut = nullptr;
  ASSERT_TRUE(reader.readModel(kPlaneObj, kPlaneMtl));
  ASSERT_TRUE(reader.readModel(kPlaneObj, kPlaneMtl));
  EXPECT_EQ(reader.meshes.size(), 1u);
  EXPECT_EQ(reader.flatVertices.size(), 6u);
  EXPECT_EQ(reader.materials.size(), 2u);
  EXPECT_EQ(reader.meshes[0].material.materialName, "wire_198225087");
}

TEST(ObjReader, LineEndsAndCarriageReturns) {
  // No final line feed; a carriage return takes the character after it along.
  TextRead t("v 0 0 0\r\nv 1 0 0\r\nv 0 1\r5 0\r\ng na\rXme\r\nf 1 2 3");
  ASSERT_TRUE(t.result);
  EXPECT_EQ(meshNames(t.reader), std::vector<std::string>{"name"});
  EXPECT_EQ(t.reader.meshes[0].vertices[2].pos, Vector3(0, 1, 0));
}

TEST(ObjReader, ProgressEveryThousandLines) {
  std::string obj = kThreePositions + "g big\n";
  for (int i = 0; i < 2500; ++i) obj += "f 1 2 3\n";
  TextRead t(obj);
  ASSERT_TRUE(t.result);
  const std::string out = t.progress.str();
  const std::string line = "\r- big\t| vertices > 3\t| texcoords > 0\t| normals > 0\t| triangles > ";
  EXPECT_EQ(out, "\n" + line + "0" + line + "1000" + line + "2000" + "\n");
}

// Lines the reader cannot place. "Rejected": readModel gives false and keeps no mesh.
// "Skipped": the face line is ignored and the rest of the model reads as usual.
enum class Outcome { Rejected, Skipped, Read };

struct BadLine {
  const char* name;
  std::string line;
  Outcome outcome;
};

class BadInput : public ::testing::TestWithParam<BadLine> {};

TEST_P(BadInput, HasADefinedOutcome) {
  const BadLine& c = GetParam();
  const std::string head = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 0 0 0\nvt 0 0\nvn 0 0 1\ng G\n";
  TextRead t(head + c.line + "\nf 1 2 3\n");
  switch (c.outcome) {
    case Outcome::Rejected:
      EXPECT_FALSE(t.result);
      EXPECT_TRUE(t.reader.meshes.empty());
      EXPECT_TRUE(t.reader.flatVertices.empty());
      EXPECT_TRUE(t.reader.flatIndices.empty());
      EXPECT_EQ(t.reader.rejectReason().rfind("line 9: ", 0), 0u) << t.reader.rejectReason();
      break;
    case Outcome::Skipped:
      ASSERT_TRUE(t.result);
      ASSERT_EQ(t.reader.meshes.size(), 1u);
      EXPECT_EQ(t.reader.meshes[0].vertices.size(), 3u);
      EXPECT_EQ(t.reader.flatVertices.size(), 3u);
      EXPECT_EQ(t.reader.rejectReason(), "");
      break;
    case Outcome::Read:
      ASSERT_TRUE(t.result);
      EXPECT_GT(t.reader.flatVertices.size(), 3u);
      break;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, BadInput,
    ::testing::Values(BadLine{"IndexZero", "f 0 1 2", Outcome::Rejected},
                      BadLine{"IndexBeyondList", "f 1 2 6", Outcome::Rejected},
                      BadLine{"NegativeBeyondStart", "f -6 -1 -2", Outcome::Rejected},
                      BadLine{"TexCoordBeyondList", "f 1/2 2/1 3/1", Outcome::Rejected},
                      BadLine{"NormalBeyondList", "f 1/1/2 2/1/1 3/1/1", Outcome::Rejected},
                      BadLine{"TexCoordIndexZero", "f 1/0 2/1 3/1", Outcome::Rejected},
                      BadLine{"EmptyCornerToken", "f 1  2 3", Outcome::Rejected},
                      BadLine{"CornersSeparatedByTabs", "f 1\t2\t3", Outcome::Rejected},
                      BadLine{"FourPartCorner", "f 1/1/1/1 2/1/1 3/1/1", Outcome::Rejected},
                      BadLine{"EmptyTexCoordPart", "f 1// 2// 3//", Outcome::Rejected},
                      BadLine{"IndexNotANumber", "f a b c", Outcome::Rejected},
                      BadLine{"LoneSlash", "f / 2 3", Outcome::Rejected},
                      BadLine{"IndexOutOf32Bits", "f 99999999999 2 3", Outcome::Rejected},
                      BadLine{"PositionWithTwoNumbers", "v 1 2", Outcome::Rejected},
                      BadLine{"NormalWithTwoNumbers", "vn 1 2", Outcome::Rejected},
                      BadLine{"TexCoordWithOneNumber", "vt 1", Outcome::Rejected},
                      BadLine{"PositionWithDoubleSpace", "v 1  2 3", Outcome::Rejected},
                      BadLine{"PositionNotANumber", "v 1 x 3", Outcome::Rejected},
                      BadLine{"PositionOutOfRange", "v 1 2 1e39", Outcome::Rejected},
                      BadLine{"NormalNaN", "vn nan 0 1", Outcome::Rejected},
                      BadLine{"TexCoordInfinite", "vt inf 0", Outcome::Rejected},
                      BadLine{"OneCorner", "f 1", Outcome::Skipped},
                      BadLine{"TwoCornersWithNormals", "f 1/1/1 2/1/1", Outcome::Skipped},
                      BadLine{"EmptyFace", "f", Outcome::Skipped},
                      BadLine{"RepeatedIndexInQuad", "f 1 2 1 3", Outcome::Skipped},
                      BadLine{"RepeatedPositionInQuad", "f 1 2 3 5", Outcome::Skipped},
                      // Within the format's reach: extra numbers, trailing text after a number.
                      BadLine{"PositionWithWeight", "v 1 2 3 1\nf 1 2 6", Outcome::Read},
                      BadLine{"TrailingTextAfterNumber", "v 1.5abc 2 3\nf 1 2 6", Outcome::Read},
                      BadLine{"DegenerateTriangle", "f 1 1 1", Outcome::Read},
                      BadLine{"CollinearPentagonKeepsCorners", "v 2 0 0\nv 3 0 0\nv 4 0 0\nf 1 2 6 7 8", Outcome::Read}),
    [](const ::testing::TestParamInfo<BadLine>& info) { return std::string(info.param.name); });

TEST(ObjReader, OnlySkippedFacesGiveFalse) {
  EXPECT_FALSE(TextRead(kThreePositions + "f 1 2\nf 1 2 1 3\n").result);
}

}  // namespace
