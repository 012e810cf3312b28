#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "render/math.h"

namespace {

// Element (column, row) of a matrix.
float at(const Mat4& m, int column, int row) { return m[column][row]; }

void expectMatrixNear(const Mat4& actual, const float (&rows)[4][4], float tolerance) {
  for (int row = 0; row < 4; ++row)
    for (int column = 0; column < 4; ++column)
      EXPECT_NEAR(at(actual, column, row), rows[row][column], tolerance) << "row " << row << " column " << column;
}

TEST(Mat4, StorageIsColumnMajorForUpload) {
  const Mat4 m = translate(7, 8, 9);
  EXPECT_EQ(m.data()[12], 7.0f);
  EXPECT_EQ(m.data()[13], 8.0f);
  EXPECT_EQ(m.data()[14], 9.0f);
  EXPECT_EQ(m.data()[15], 1.0f);
  EXPECT_EQ(m.data()[3], 0.0f);
}

TEST(Mat4, TranslateHasOffsetInFourthColumn) {
  const float expected[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, -100}, {0, 0, 0, 1}};
  expectMatrixNear(translate(0, 0, -100), expected, 0.0f);
  expectMatrixNear(translate(Vec3(0, 0, -100)), expected, 0.0f);
}

TEST(Mat4, ProductAppliesRightOperandFirst) {
  // A non-symmetric pair catches a swapped or transposed product.
  const Mat4 a(Vec4(1, 2, 3, 4), Vec4(5, 6, 7, 8), Vec4(9, 10, 11, 12), Vec4(13, 14, 15, 16));
  const Mat4 b = translate(1, 2, 3);
  const Mat4 ab = a * b;
  for (int row = 0; row < 4; ++row) {
    for (int column = 0; column < 4; ++column) {
      float sum = 0;
      for (int k = 0; k < 4; ++k) sum += at(a, k, row) * at(b, column, k);
      EXPECT_EQ(at(ab, column, row), sum);
    }
  }
  const Mat4 unchanged = a * translate(0, 0, 0);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(unchanged.data()[i], a.data()[i]);
  // Translating then scaling a point differs from the reverse order.
  const Mat4 scale2(Vec4(2, 0, 0, 0), Vec4(0, 2, 0, 0), Vec4(0, 0, 2, 0), Vec4(0, 0, 0, 1));
  EXPECT_EQ(at(scale2 * translate(1, 0, 0), 3, 0), 2.0f);
  EXPECT_EQ(at(translate(1, 0, 0) * scale2, 3, 0), 1.0f);
}

TEST(Mat4, PerspectiveMatchesFrustumFormula) {
  const float f = 1.0f / std::tan(25.0f * 3.14159265f / 180.0f);
  const float zScale = (0.1f + 1000.0f) / (0.1f - 1000.0f);
  const float zOffset = 2.0f * 0.1f * 1000.0f / (0.1f - 1000.0f);
  const float square[4][4] = {{f, 0, 0, 0}, {0, f, 0, 0}, {0, 0, zScale, zOffset}, {0, 0, -1, 0}};
  expectMatrixNear(perspective(50, 1, 0.1f, 1000), square, 1e-5f);
  const Mat4 wide = perspective(50, 1920.0f / 1080.0f, 0.1f, 1000);
  EXPECT_NEAR(at(wide, 0, 0), f * 1080.0f / 1920.0f, 1e-5f);
  EXPECT_EQ(at(wide, 2, 3), -1.0f);
}

TEST(Mat4, LookAtDownNegativeZ) {
  const float expected[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, -100}, {0, 0, 0, 1}};
  expectMatrixNear(lookAt(Vec3(0, 0, 100), Vec3(0, 0, 99), Vec3(0, 1, 0)), expected, 1e-6f);
}

TEST(Mat4, LookAtMovesEyeToOrigin) {
  const Vec3 eye(3, -2, 5);
  const Mat4 view = lookAt(eye, Vec3(0, 1, 0), Vec3(0, 1, 0));
  for (int row = 0; row < 3; ++row) {
    float transformed = at(view, 3, row);
    for (int k = 0; k < 3; ++k) transformed += at(view, k, row) * eye[k];
    EXPECT_NEAR(transformed, 0.0f, 1e-5f);
  }
}

TEST(Vec3, ArithmeticAndCross) {
  const Vec3 a(1, 2, 3), b(4, 5, 6);
  const Vec3 c = cross(a, b);
  EXPECT_EQ(c[0], -3.0f);
  EXPECT_EQ(c[1], 6.0f);
  EXPECT_EQ(c[2], -3.0f);
  const Vec3 z = cross(Vec3(1, 0, 0), Vec3(0, 1, 0));
  EXPECT_EQ(z[2], 1.0f);
  EXPECT_FLOAT_EQ(length(Vec3(3, 4, 12)), 13.0f);
  const Vec3 n = normalize(Vec3(0, 3, 4));
  EXPECT_FLOAT_EQ(n[1], 0.6f);
  EXPECT_FLOAT_EQ(n[2], 0.8f);
  const Vec3 d = (a + b - Vec3(1, 1, 1)) * 2.0f / 4.0f;
  EXPECT_EQ(d[0], 2.0f);
  EXPECT_EQ((-a)[2], -3.0f);
  const Vec2 e = Vec2(5, 7) - Vec2(1, 2);
  EXPECT_EQ(e[0], 4.0f);
  EXPECT_EQ(e[1], 5.0f);
}

TEST(Angles, DegreeConversions) {
  EXPECT_FLOAT_EQ(radians(180.0f), 3.14159265f);
  EXPECT_NEAR(sinDegrees(90.0), 1.0, 1e-9);
  EXPECT_NEAR(cosDegrees(180.0), -1.0, 1e-9);
}

TEST(Random, RangesHoldOverManyDraws) {
  std::srand(1234);
  for (int i = 0; i < 20000; ++i) {
    const float r = random01();
    ASSERT_GE(r, 0.0f);
    ASSERT_LT(r, 1.0f);
    ASSERT_GE(randomFromOne(6), 1.0f);
    ASSERT_LE(randomFromOne(6), 6.0f);
    ASSERT_LT(randomBelow(3), 3.0f);
    const float ranged = randomRange(-2.0f, 5.0f);
    ASSERT_GE(ranged, -2.0f);
    ASSERT_LT(ranged, 5.0f);
    const Vec3 offset = randomAxisOffset(0.5f);
    int moved = 0;
    for (int k = 0; k < 3; ++k) {
      ASSERT_LE(std::fabs(offset[k]), 0.5f);
      if (offset[k] != 0.0f) ++moved;
    }
    ASSERT_LE(moved, 1);
  }
  // An empty range answers instead of dividing by zero.
  EXPECT_EQ(randomBelow(0), 0.0f);
}

TEST(Sign, FloatAndInt) {
  EXPECT_EQ(sign(2.5f), 1.0f);
  EXPECT_EQ(sign(-0.1f), -1.0f);
  EXPECT_EQ(sign(0.0f), 0.0f);
  EXPECT_EQ(sign(std::nanf("")), 0.0f);
  EXPECT_EQ(sign(7), 1);
  EXPECT_EQ(sign(-7), -1);
  EXPECT_EQ(sign(0), 0);
}

}  // namespace
