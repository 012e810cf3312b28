#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
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
        // The fixed diagonal from corner 1 to corner 3 would leave the outline here, since
        // corner 2 is reflex: the quadrilateral is split along the other one.
        FaceCase{"QuadReflexAtTheThirdCorner", {{0, 0, 0}, {2, 0, 0}, {1, 0.5f, 0}, {1, 2, 0}}, {0, 1, 2, 0, 2, 3}},
        FaceCase{"QuadReflexAtTheSecondCorner", {{0, 0, 0}, {1, 0.5f, 0}, {2, 0, 0}, {1, 2, 0}}, {0, 1, 3, 1, 2, 3}},
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
                 {{0, 0, 0}, {3, 0, 0}, {0, 1, 0}, {1, 4, 0}, {3, 1, 0}, {0, 3, 0}},
                 {0, 1, 2}},
        // Self-intersecting with a spike: no corner is a convex ear at all.
        FaceCase{"NoEar", {{3, 0, 0}, {2, 1, 0}, {1, 2, 0}, {1, 3, 0}, {1, 0, 0}, {0, 0, 0}}, {}}),
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

// ---- Concave faces: the triangles must tile the outline, none of them outside it.

using Point = std::pair<double, double>;

double signedArea(const std::vector<Point>& polygon) {
  double twice = 0;
  for (std::size_t i = 0; i < polygon.size(); ++i) {
    const Point& a = polygon[i];
    const Point& b = polygon[(i + 1) % polygon.size()];
    twice += a.first * b.second - b.first * a.second;
  }
  return twice / 2;
}

double triangleArea(const Point& a, const Point& b, const Point& c) {
  return ((b.first - a.first) * (c.second - a.second) - (b.second - a.second) * (c.first - a.first)) / 2;
}

bool insidePolygon(const std::vector<Point>& polygon, double x, double y) {
  bool inside = false;
  for (std::size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
    const Point& a = polygon[i];
    const Point& b = polygon[j];
    if ((a.second > y) != (b.second > y) &&
        x < (b.first - a.first) * (y - a.second) / (b.second - a.second) + a.first) {
      inside = !inside;
    }
  }
  return inside;
}

bool insideTriangle(const Point& a, const Point& b, const Point& c, double x, double y) {
  const Point p{x, y};
  const double d1 = triangleArea(a, b, p), d2 = triangleArea(b, c, p), d3 = triangleArea(c, a, p);
  return (d1 > 0 && d2 > 0 && d3 > 0) || (d1 < 0 && d2 < 0 && d3 < 0);
}

// Outline in a plane, and how it is placed in space.
enum class Placement { FrontXY, BackXY, FrontXZ, Tilted };

std::vector<Vector3> place(const std::vector<Point>& outline, Placement placement) {
  std::vector<Vector3> out;
  for (const Point& p : outline) {
    const float u = static_cast<float>(p.first), v = static_cast<float>(p.second);
    switch (placement) {
      case Placement::FrontXY: out.emplace_back(u, v, 0.0f); break;
      case Placement::BackXY: out.emplace_back(u, -v, 2.0f); break;  // seen from behind
      case Placement::FrontXZ: out.emplace_back(u, 1.0f, v); break;
      case Placement::Tilted: out.emplace_back(0.6f * u, 0.8f * u + 0.3f * v, 5.0f - 0.9f * v); break;
    }
  }
  return out;
}

// The placed corners back in a plane, as they came out after rounding to floats.
std::vector<Point> unplace(const std::vector<Vector3>& corners, Placement placement) {
  std::vector<Point> out;
  for (const Vector3& c : corners) {
    switch (placement) {
      case Placement::FrontXY: out.emplace_back(c.x, c.y); break;
      case Placement::BackXY: out.emplace_back(c.x, -double(c.y)); break;
      case Placement::FrontXZ: out.emplace_back(c.x, c.z); break;
      // Rounding leaves the corners slightly off one plane; this is the view along the
      // largest part of the normal, where the cutting judges them.
      case Placement::Tilted: out.emplace_back(c.y, c.z); break;
    }
  }
  return out;
}

struct ConcaveCase {
  const char* name;
  std::vector<Point> outline;
};

std::vector<Point> star(int points, double inner) {
  std::vector<Point> out;
  for (int k = 0; k < 2 * points; ++k) {
    const double a = 3.14159265358979 * k / points;
    const double r = k % 2 == 0 ? 2.0 : inner;
    out.emplace_back(r * std::cos(a), r * std::sin(a));
  }
  return out;
}

std::vector<Point> comb(int teeth) {
  std::vector<Point> out{{0, 0}, {teeth * 2.0, 0}};
  for (int t = teeth - 1; t >= 0; --t) {
    out.emplace_back(2.0 * t + 2, 1);
    out.emplace_back(2.0 * t + 2, 4);
    out.emplace_back(2.0 * t + 1, 4);
    out.emplace_back(2.0 * t + 1, 1);
  }
  out.emplace_back(0, 1);
  return out;
}

std::vector<Point> reversed(std::vector<Point> outline) {
  std::reverse(outline.begin(), outline.end());
  return outline;
}

// An outward square spiral, two cells wide, that winds round 2.5 times.
std::vector<Point> spiral() {
  return {{0, 0}, {6, 0}, {6, 6}, {-2, 6}, {-2, -2}, {8, -2}, {8, -1}, {-1, -1}, {-1, 5}, {5, 5}, {5, 1}, {0, 1}};
}

const std::vector<ConcaveCase>& concaveCases() {
  static const std::vector<ConcaveCase> cases{
      {"Star", star(9, 0.7)},
      {"ThinStar", star(5, 0.1)},
      {"ClockwiseStar", reversed(star(7, 0.9))},
      {"Comb", comb(6)},
      {"ClockwiseComb", reversed(comb(5))},
      {"LShape", {{0, 0}, {2, 0}, {2, 1}, {1, 1}, {1, 2}, {0, 2}}},
      {"ClockwiseLShape", reversed({{0, 0}, {2, 0}, {2, 1}, {1, 1}, {1, 2}, {0, 2}})},
      {"UShape", {{0, 0}, {3, 0}, {3, 3}, {2, 3}, {2, 1}, {1, 1}, {1, 3}, {0, 3}}},
      {"Arrow", {{0, 1}, {3, 1}, {3, 0}, {5, 2}, {3, 4}, {3, 3}, {0, 3}, {1, 2}}},
      {"Spiral", spiral()},
      {"QuadReflexFirst", {{1, 0.5}, {2, 2}, {1, 1}, {0, 2}}},
      {"QuadReflexThird", {{0, 0}, {2, 0}, {1, 0.5}, {1, 2}}},
      // Corners on the straight edges, and a notch whose floor lies on the line between
      // two corners.
      {"CollinearCorners", {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {3, 2}, {2, 2}, {2, 1}, {1, 1}, {1, 2}, {0, 2}, {0, 1}}},
  };
  return cases;
}

class ConcaveFace : public ::testing::TestWithParam<std::tuple<ConcaveCase, Placement>> {};

TEST_P(ConcaveFace, TrianglesTileTheOutline) {
  const Placement placement = std::get<1>(GetParam());
  const std::vector<Vector3> face = place(std::get<0>(GetParam()).outline, placement);
  const std::vector<Point> outline = unplace(face, placement);
  const std::vector<std::uint32_t> out = triangulate(face);
  ASSERT_EQ(out.size(), 3 * (outline.size() - 2));

  // Every triangle winds as the outline does, and together they have its area.
  const double area = signedArea(outline);
  double sum = 0;
  for (std::size_t t = 0; t < out.size(); t += 3) {
    ASSERT_LT(out[t + 2], outline.size());
    const double a = triangleArea(outline[out[t]], outline[out[t + 1]], outline[out[t + 2]]);
    EXPECT_GT(a * area, 0) << "triangle " << t / 3 << " winds against the outline";
    sum += std::fabs(a);
  }
  EXPECT_NEAR(sum, std::fabs(area), 1e-9 * std::fabs(area));

  // Every sample point inside the outline lies in exactly one triangle, every point outside
  // in none. The odd steps keep the samples off the edges.
  double minX = outline[0].first, maxX = minX, minY = outline[0].second, maxY = minY;
  for (const Point& p : outline) {
    minX = std::min(minX, p.first), maxX = std::max(maxX, p.first);
    minY = std::min(minY, p.second), maxY = std::max(maxY, p.second);
  }
  int wrong = 0;
  for (int i = 0; i < 97; ++i) {
    for (int j = 0; j < 89; ++j) {
      const double x = minX + (maxX - minX) * (i + 0.31830988) / 97;
      const double y = minY + (maxY - minY) * (j + 0.27182818) / 89;
      int covering = 0;
      for (std::size_t t = 0; t < out.size(); t += 3) {
        covering += insideTriangle(outline[out[t]], outline[out[t + 1]], outline[out[t + 2]], x, y);
      }
      if (covering != (insidePolygon(outline, x, y) ? 1 : 0)) ++wrong;
    }
  }
  EXPECT_EQ(wrong, 0) << "sample points covered by the wrong number of triangles";
}

std::string concaveCaseName(const ::testing::TestParamInfo<ConcaveFace::ParamType>& info) {
  static const char* const placements[] = {"FrontXY", "BackXY", "FrontXZ", "Tilted"};
  return std::string(std::get<0>(info.param).name) + "_" + placements[static_cast<int>(std::get<1>(info.param))];
}

INSTANTIATE_TEST_SUITE_P(Faces, ConcaveFace,
                         ::testing::Combine(::testing::ValuesIn(concaveCases()),
                                            ::testing::Values(Placement::FrontXY, Placement::BackXY,
                                                              Placement::FrontXZ, Placement::Tilted)),
                         concaveCaseName);

// ---- The fast cutting against the plain one it stands for: scan the remaining corners in
// order, cut the first ear, start again. Run on faces in the XY plane, so that only the
// winding has to be taken into account here.
std::vector<std::uint32_t> plainCut(const std::vector<Vector3>& positions) {
  const std::size_t n = positions.size();
  std::vector<double> x(n), y(n);
  double twice = 0;
  for (std::size_t i = 0; i < n; ++i) {
    x[i] = static_cast<double>(positions[i].x) - static_cast<double>(positions[0].x);
    y[i] = static_cast<double>(positions[i].y) - static_cast<double>(positions[0].y);
  }
  for (std::size_t i = 1; i + 1 < n; ++i) twice += x[i] * y[i + 1] - y[i] * x[i + 1];
  if (twice < 0) {
    for (double& v : y) v = -v;
  }
  auto turn = [&](std::size_t a, std::size_t b, std::size_t c) {
    return (x[b] - x[a]) * (y[c] - y[a]) - (y[b] - y[a]) * (x[c] - x[a]);
  };
  std::vector<std::uint32_t> out;
  auto emit = [&](std::size_t a, std::size_t b, std::size_t c) {
    std::uint32_t t[3] = {std::uint32_t(a), std::uint32_t(b), std::uint32_t(c)};
    std::sort(t, t + 3);
    out.insert(out.end(), t, t + 3);
  };
  std::vector<std::size_t> rest(n);
  for (std::size_t i = 0; i < n; ++i) rest[i] = i;
  while (rest.size() > 4) {
    const std::size_t m = rest.size();
    bool cut = false;
    for (std::size_t i = 0; i < m && !cut; ++i) {
      const std::size_t a = rest[(i + m - 1) % m], v = rest[i], c = rest[(i + 1) % m];
      if (!(turn(a, v, c) > 0)) continue;
      bool blocked = false;
      for (std::size_t j = 0; j < m && !blocked; ++j) {
        const std::size_t q = rest[j];
        if (q == a || q == v || q == c || turn(rest[(j + m - 1) % m], q, rest[(j + 1) % m]) > 0) continue;
        blocked = turn(a, v, q) >= 0 && turn(v, c, q) >= 0 && turn(c, a, q) >= 0;
      }
      if (blocked) continue;
      emit(a, v, c);
      rest.erase(rest.begin() + static_cast<std::ptrdiff_t>(i));
      cut = true;
    }
    if (!cut) return out;
  }
  const double t0 = turn(rest[3], rest[0], rest[1]), t2 = turn(rest[1], rest[2], rest[3]);
  if (t0 < 0 || t2 < 0 ||
      ((t0 == 0 || t2 == 0) && turn(rest[0], rest[1], rest[2]) > 0 && turn(rest[2], rest[3], rest[0]) > 0)) {
    emit(rest[0], rest[1], rest[2]);
    emit(rest[0], rest[2], rest[3]);
  } else {
    emit(rest[0], rest[3], rest[1]);
    emit(rest[3], rest[1], rest[2]);
  }
  return out;
}

bool allDifferent(std::vector<Vector3> positions) {
  std::sort(positions.begin(), positions.end(),
            [](const Vector3& a, const Vector3& b) { return a.x != b.x ? a.x < b.x : a.y < b.y; });
  for (std::size_t i = 1; i < positions.size(); ++i) {
    if (positions[i] == positions[i - 1]) return false;
  }
  return true;
}

TEST(Triangulation, CutsAsThePlainScanDoes) {
  std::mt19937 random(12);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  int compared = 0;
  for (int round = 0; round < 1500; ++round) {
    const int n = 5 + static_cast<int>(random() % 36);
    std::vector<Vector3> face;
    const int kind = round % 3;
    if (kind == 0) {
      // Simple: corners round a centre at random angles and distances.
      std::vector<double> angles(n);
      for (double& a : angles) a = unit(random) * 6.283185307179586;
      std::sort(angles.begin(), angles.end());
      for (double a : angles) {
        const double r = 0.2 + unit(random);
        face.emplace_back(static_cast<float>(r * std::cos(a)), static_cast<float>(r * std::sin(a)), 0.0f);
      }
    } else if (kind == 1) {
      // Simple, on a coarse grid: corners on lines and on diagonals.
      for (int k = 0; k < n; ++k) {
        const double a = 6.283185307179586 * k / n;
        const double r = 2.0 + static_cast<int>(random() % 5);
        face.emplace_back(std::round(float(r * std::cos(a) * 2)) / 2, std::round(float(r * std::sin(a) * 2)) / 2, 0.0f);
      }
    } else {
      // Anything: random corners, crossing edges.
      for (int k = 0; k < n; ++k) {
        face.emplace_back(static_cast<float>(random() % 9), static_cast<float>(random() % 9), 0.0f);
      }
    }
    if (round % 2 == 1) std::reverse(face.begin(), face.end());
    if (!allDifferent(face)) continue;
    ++compared;
    ASSERT_EQ(triangulate(face), plainCut(face)) << "round " << round;
  }
  EXPECT_GT(compared, 1000);
}

// A face as large exporters write circles: rounded to 8 decimals and then to floats, it is
// only nearly convex. It is tiled all the same.
TEST(Triangulation, LargeNearlyConvexFace) {
  const int n = 20000;
  std::vector<Vector3> face;
  std::vector<Point> outline;
  for (int k = 0; k < n; ++k) {
    const double a = 6.283185307179586 * k / n;
    const float x = static_cast<float>(std::round(std::cos(a) * 1e8) / 1e8);
    const float y = static_cast<float>(std::round(std::sin(a) * 1e8) / 1e8);
    face.emplace_back(x, y, 0.0f);
    outline.emplace_back(x, y);
  }
  const std::vector<std::uint32_t> out = triangulate(face);
  ASSERT_EQ(out.size(), 3u * (n - 2));
  double sum = 0;
  for (std::size_t t = 0; t < out.size(); t += 3) {
    const double a = triangleArea(outline[out[t]], outline[out[t + 1]], outline[out[t + 2]]);
    ASSERT_GE(a, 0) << "triangle " << t / 3;
    sum += a;
  }
  EXPECT_NEAR(sum, signedArea(outline), 1e-9);
}

}  // namespace
