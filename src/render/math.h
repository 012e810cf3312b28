// The rendering core's small linear-algebra kit: float vectors and a column-major 4x4
// matrix in OpenGL's conventions (column vectors multiplied from the right, angles in degrees).
#pragma once

struct Vec2 {
  float v[2];
  Vec2() = default;
  Vec2(float x, float y) : v{x, y} {}
  float& operator[](int i) { return v[i]; }
  float operator[](int i) const { return v[i]; }
};

struct Vec3 {
  float v[3];
  Vec3() = default;
  Vec3(float x, float y, float z) : v{x, y, z} {}
  float& operator[](int i) { return v[i]; }
  float operator[](int i) const { return v[i]; }
  static constexpr int size() { return 3; }
};

struct Vec4 {
  float v[4];
  Vec4() = default;
  Vec4(float x, float y, float z, float w) : v{x, y, z, w} {}
  float& operator[](int i) { return v[i]; }
  float operator[](int i) const { return v[i]; }
};

// Four columns; element (column i, row j) is columns[i][j], and the 16 floats lie column
// after column, the layout glUniformMatrix4fv takes with transpose false.
struct Mat4 {
  Vec4 columns[4];
  Mat4() = default;
  Mat4(const Vec4& c0, const Vec4& c1, const Vec4& c2, const Vec4& c3) : columns{c0, c1, c2, c3} {}
  explicit Mat4(float all);
  Vec4& operator[](int i) { return columns[i]; }
  const Vec4& operator[](int i) const { return columns[i]; }
  const float* data() const { return &columns[0].v[0]; }
};

static_assert(sizeof(Vec3) == 12, "Vec3 is three packed floats");
static_assert(sizeof(Mat4) == 64, "Mat4 is 16 contiguous floats");

Vec3 operator+(const Vec3& a, const Vec3& b);
Vec3 operator-(const Vec3& a, const Vec3& b);
Vec2 operator-(const Vec2& a, const Vec2& b);
Vec3 operator-(const Vec3& v);
Vec3 operator*(const Vec3& v, float s);
Vec3 operator/(const Vec3& v, float s);
float length(const Vec3& v);
Vec3 normalize(const Vec3& v);
Vec3 cross(const Vec3& a, const Vec3& b);

Mat4 operator*(const Mat4& a, const Mat4& b);
Mat4 translate(float x, float y, float z);
Mat4 translate(const Vec3& v);
Mat4 perspective(float fovDegrees, float aspect, float near, float far);
Mat4 lookAt(const Vec3& eye, const Vec3& target, const Vec3& up);
float radians(float degrees);

// Sine and cosine of an angle in degrees, in double precision.
double sinDegrees(double degrees);
double cosDegrees(double degrees);

// Random values from the standard library's rand (seeded by the first frame).
float random01();
float randomBelow(int n);
float randomFromOne(int n);
float randomScaled(float x);
float randomRange(float a, float b);
Vec3 randomAxisOffset(float a);

float sign(float x);
int sign(int n);
