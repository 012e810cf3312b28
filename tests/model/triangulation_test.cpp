#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "model/model_reader.h"

using objl::Vector3;
using objl::Vertex;

namespace {

std::vector<Vertex> corners(const std::vector<Vector3>& positions) {
  std::vector<Vertex> out(positions.size());
  for (std::size_t i = 0; i < positions.size(); ++i) out[i].pos = positions[i];
  return out;
}

std::vector<std::uint32_t> triangulate(const std::vector<Vector3>& positions) {
  ModelReader reader;
  std::vector<std::uint32_t> out;
  reader.triangulateFace(out, corners(positions));
  return out;
}

struct FaceCase {
  const char* name;
  std::vector<Vector3> positions;
  std::vector<std::uint32_t> triangles;
};

class Triangulation : public ::testing::TestWithParam<FaceCase> {};

TEST_P(Triangulation, CutsTheFace) { EXPECT_EQ(triangulate(GetParam().positions), GetParam().triangles); }

std::vector<Vector3> regularPolygon(int n) {
  std::vector<Vector3> out;
  for (int k = 0; k < n; ++k) {
    const double a = 2.0 * 3.14159265358979 * k / n;
    out.emplace_back(static_cast<float>(std::cos(a)), static_cast<float>(std::sin(a)), 0.0f);
  }
  return out;
}

INSTANTIATE_TEST_SUITE_P(
    Faces, Triangulation,
    ::testing::Values(
        FaceCase{"Triangle", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {0, 1, 2}},
        FaceCase{"ConvexQuad", {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, {0, 1, 3, 1, 2, 3}},
        // The diagonal is fixed, whatever the shape.
        FaceCase{"ConcaveQuad", {{0, 0, 0}, {2, 0, 0}, {1, 0.5f, 0}, {1, 2, 0}}, {0, 1, 3, 1, 2, 3}},
        FaceCase{"Pentagon", regularPolygon(5), {0, 1, 4, 1, 2, 4, 2, 3, 4}},
        FaceCase{"Hexagon", regularPolygon(6), {0, 1, 5, 1, 2, 5, 2, 3, 5, 3, 4, 5}},
        FaceCase{"LShapedHexagon",
                 {{0, 0, 0}, {2, 0, 0}, {2, 1, 0}, {1, 1, 0}, {1, 2, 0}, {0, 2, 0}},
                 {0, 1, 2, 0, 2, 3, 0, 3, 5, 3, 4, 5}},
        FaceCase{"CollinearFive", {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}, {4, 0, 0}}, {}},
        FaceCase{"OneCorner", {{0, 0, 0}}, {}},
        FaceCase{"TwoCorners", {{0, 0, 0}, {1, 0, 0}}, {}},
        // Two corners at one place would give a triangle more than three indices.
        FaceCase{"RepeatedPositionQuad", {{0, 0, 0}, {1, 0, 0}, {0, 0, 0}, {0, 1, 0}}, {}},
        FaceCase{"RepeatedPositionPentagon", {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {1, -0.0f, 0}}, {}},
        // A triangle is passed through untested, even when degenerate.
        FaceCase{"RepeatedPositionTriangle", {{0, 0, 0}, {1, 0, 0}, {0, 0, 0}}, {0, 1, 2}},
        // Self-intersecting: after the first ear no corner is an ear any more. The cutting
        // stops there and keeps what it found.
        FaceCase{"StuckAfterOneEar",
                 {{3, 0, 0}, {2, 1, 0}, {1, 2, 0}, {1, 3, 0}, {1, 0, 0}, {0, 0, 0}},
                 {0, 1, 2}}),
    [](const ::testing::TestParamInfo<FaceCase>& info) { return std::string(info.param.name); });

TEST(Triangulation, ConvexFacesGiveAFanToTheLastCorner) {
  for (int n = 4; n <= 16; ++n) {
    std::vector<std::uint32_t> fan;
    for (int k = 0; k <= n - 3; ++k) fan.insert(fan.end(), {std::uint32_t(k), std::uint32_t(k + 1), std::uint32_t(n - 1)});
    EXPECT_EQ(triangulate(regularPolygon(n)), fan) << n << " corners";
  }
}

TEST(Triangulation, AppendsToWhatTheListHolds) {
  ModelReader reader;
  std::vector<std::uint32_t> out{7};
  reader.triangulateFace(out, corners({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}));
  EXPECT_EQ(out, (std::vector<std::uint32_t>{7, 0, 1, 3, 1, 2, 3}));
}

// A many-cornered concave face runs to its end: n - 2 triangles of three different corners.
// (The ear test looks at the unsigned angle only, so for such faces the triangles need not
// stay inside the outline.)
TEST(Triangulation, StarFaceRunsToItsEnd) {
  std::vector<Vector3> star;
  const int points = 9;
  for (int k = 0; k < 2 * points; ++k) {
    const double a = 3.14159265358979 * k / points;
    const double r = (k % 2 == 0) ? 2.0 : 0.7;
    star.emplace_back(static_cast<float>(r * std::cos(a)), static_cast<float>(r * std::sin(a)), 0.0f);
  }
  const std::vector<std::uint32_t> out = triangulate(star);
  ASSERT_EQ(out.size(), 3u * (star.size() - 2));
  for (std::size_t t = 0; t < out.size(); t += 3) {
    EXPECT_LT(out[t], out[t + 1]);
    EXPECT_LT(out[t + 1], out[t + 2]);
    EXPECT_LT(out[t + 2], star.size());
  }
}

}  // namespace
