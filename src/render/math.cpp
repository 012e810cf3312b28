#include "render/math.h"

#include <cmath>
#include <cstdlib>

Mat4::Mat4(float all) {
  for (Vec4& column : columns) column = Vec4(all, all, all, all);
}

Vec3 operator+(const Vec3& a, const Vec3& b) { return Vec3(a[0] + b[0], a[1] + b[1], a[2] + b[2]); }
Vec3 operator-(const Vec3& a, const Vec3& b) { return Vec3(a[0] - b[0], a[1] - b[1], a[2] - b[2]); }
Vec2 operator-(const Vec2& a, const Vec2& b) { return Vec2(a[0] - b[0], a[1] - b[1]); }
Vec3 operator-(const Vec3& v) { return Vec3(-v[0], -v[1], -v[2]); }
Vec3 operator*(const Vec3& v, float s) { return Vec3(v[0] * s, v[1] * s, v[2] * s); }
Vec3 operator/(const Vec3& v, float s) { return Vec3(v[0] / s, v[1] / s, v[2] / s); }

float length(const Vec3& v) {
  float sum = 0.0f;
  for (int i = 0; i < Vec3::size(); ++i) sum += v[i] * v[i];
  return std::sqrt(sum);
}

Vec3 normalize(const Vec3& v) { return v / length(v); }

Vec3 cross(const Vec3& a, const Vec3& b) {
  return Vec3(a[1] * b[2] - b[1] * a[2], a[2] * b[0] - b[2] * a[0], a[0] * b[1] - b[0] * a[1]);
}

Mat4 operator*(const Mat4& a, const Mat4& b) {
  Mat4 result(0.0f);
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j)
      for (int k = 0; k < 4; ++k) result[i][j] += a[k][j] * b[i][k];
  return result;
}

Mat4 translate(float x, float y, float z) {
  return Mat4(Vec4(1, 0, 0, 0), Vec4(0, 1, 0, 0), Vec4(0, 0, 1, 0), Vec4(x, y, z, 1));
}

Mat4 translate(const Vec3& v) { return translate(v[0], v[1], v[2]); }

float radians(float degrees) { return degrees * 0.017453292f; }

Mat4 perspective(float fovDegrees, float aspect, float near, float far) {
  const float half = radians(0.5f * fovDegrees);
  const float t = static_cast<float>(std::tan(static_cast<double>(half)));
  const float f = 1.0f / t;
  const float xScale = f / aspect;
  const float zScale = (near + far) / (near - far);
  const float zOffset = 2.0f * near * far / (near - far);
  return Mat4(Vec4(xScale, 0, 0, 0), Vec4(0, f, 0, 0), Vec4(0, 0, zScale, -1), Vec4(0, 0, zOffset, 0));
}

Mat4 lookAt(const Vec3& eye, const Vec3& target, const Vec3& up) {
  const Vec3 forward = normalize(target - eye);
  const Vec3 upUnit = normalize(up);
  const Vec3 side = cross(forward, upUnit);
  const Vec3 trueUp = cross(side, forward);
  const Mat4 rotation(Vec4(side[0], trueUp[0], -forward[0], 0), Vec4(side[1], trueUp[1], -forward[1], 0),
                      Vec4(side[2], trueUp[2], -forward[2], 0), Vec4(0, 0, 0, 1));
  return rotation * translate(-eye);
}

double sinDegrees(double degrees) { return std::sin(degrees / 360.0 * 6.2831853); }
double cosDegrees(double degrees) { return std::cos(degrees / 360.0 * 6.2831853); }

float random01() { return static_cast<float>(std::rand() % 10000) / 10000.0f; }
// rand() mod 0 would trap; an empty range gives 0 (and 1 from one).
float randomBelow(int n) { return n == 0 ? 0.0f : static_cast<float>(std::rand() % n); }
float randomFromOne(int n) { return randomBelow(n) + 1.0f; }
float randomScaled(float x) { return random01() * x; }
float randomRange(float a, float b) { return (b - a) * random01() + a; }

Vec3 randomAxisOffset(float a) {
  const float r = randomRange(0.0f, 3.0f);
  const float delta = randomRange(-a, a);
  Vec3 offset(0, 0, 0);
  if (r <= 1.0f) {
    offset[0] += delta;
  } else if (r <= 2.0f) {
    offset[1] += delta;
  } else {
    offset[2] += delta;
  }
  return offset;
}

float sign(float x) { return x > 0.0f ? 1.0f : (x < 0.0f ? -1.0f : 0.0f); }
int sign(int n) { return n > 0 ? 1 : (n < 0 ? -1 : 0); }
