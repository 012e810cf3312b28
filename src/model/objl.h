// The model loader's plain records and the small text and geometry helpers that the OBJ
// reader, the triangulation and the MTL reader share.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace objl {

struct Vector2 {
  float x = 0.0f;
  float y = 0.0f;
  Vector2() = default;
  Vector2(float x_, float y_) : x(x_), y(y_) {}
};

struct Vector3 {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;
  Vector3() = default;
  Vector3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}

  Vector3 operator-(const Vector3& o) const { return Vector3(x - o.x, y - o.y, z - o.z); }
  Vector3 operator+(const Vector3& o) const { return Vector3(x + o.x, y + o.y, z + o.z); }
  // Exact float comparison: corners are told apart by their positions alone.
  bool operator==(const Vector3& o) const { return x == o.x && y == o.y && z == o.z; }
  bool operator!=(const Vector3& o) const { return !(*this == o); }
};

struct Vertex {
  Vector3 pos;
  Vector3 normal;
  Vector2 texCoord;
};

struct Material {
  std::string materialName;
  Vector3 ambient;
  Vector3 diffuse;
  Vector3 specular;
  float specularExponent = 0.0f;
  float opticalDensity = 0.0f;
  float dissolve = 0.0f;
  std::int32_t illumination = 0;
  std::string ambientMap;
  std::string diffuseMap;
  std::string specularMap;
  std::string specularExponentMap;
  std::string dissolveMap;
  std::string bumpMap;
};

struct Mesh {
  std::string meshName;
  std::vector<Vertex> vertices;
  std::vector<std::uint32_t> indices;
  Material material;

  Mesh() = default;
  Mesh(const std::vector<Vertex>& vertices_, const std::vector<std::uint32_t>& indices_)
      : vertices(vertices_), indices(indices_) {}
};

// ---- Text helpers. Words are separated by spaces and tabs only; a carriage return is a
// word character.

std::string leadingWord(std::string_view line);
std::string restOfLine(std::string_view line);
// Empties `out` and fills it with the pieces of `text` between occurrences of `delimiter`.
// A leading delimiter gives an empty first piece, two adjacent ones an empty piece between,
// a trailing one nothing.
void splitOn(std::string_view text, std::vector<std::string>& out, std::string_view delimiter);
// Removes every carriage return and line feed at the end, unless nothing else would remain.
std::string& trimLineEnd(std::string& text);

// The same scans without copies, for the readers' inner loops. The views point into `line`.
std::string_view leadingWordView(std::string_view line);
std::string_view restOfLineView(std::string_view line);
void splitOnViews(std::string_view text, std::vector<std::string_view>& out, std::string_view delimiter);

// ---- Numbers. Leading white space is skipped, the longest decimal prefix is converted and
// whatever follows it is ignored. False when the text does not start with a number, or when
// the value does not fit (a float that would round to infinity, an integer beyond 32 bits).

bool parseFloat(std::string_view text, float* out);
bool parseInt(std::string_view text, std::int32_t* out);

// An OBJ-style index into a list of `size` elements: 1 is the first, -1 the last. False when
// the index text is not a number, is 0, or points outside the list.
bool resolveIndex(std::string_view indexText, std::size_t size, std::size_t* position);

// Picks an element by OBJ-style index; null when there is no such element.
const Vector3* elementAt(const std::vector<Vector3>& list, std::string_view indexText);
const Vector2* elementAt(const std::vector<Vector2>& list, std::string_view indexText);

// ---- Geometry, in single precision.

Vector3 crossProduct(const Vector3& a, const Vector3& b);
float dotProduct(const Vector3& a, const Vector3& b);
float vectorLength(const Vector3& a);
// Radians from 0 to pi; NaN when a vector has length 0.
float angleBetween(const Vector3& a, const Vector3& b);
// Barycentric test in the triangle's plane, edges included; false for a degenerate triangle.
bool pointInTriangle(const Vector3& p, const Vector3& t1, const Vector3& t2, const Vector3& t3);

}  // namespace objl
