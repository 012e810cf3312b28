#include "model/objl.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace objl {
namespace {

bool isSeparator(char c) { return c == ' ' || c == '\t'; }
// What strtod and friends skip before a number.
bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// One scan for both piece types: a piece is always a contiguous run of the text.
template <typename Piece>
void splitInto(std::string_view text, std::vector<Piece>& out, std::string_view delimiter) {
  out.clear();
  if (delimiter.size() == 1) {
    // For one character the scan comes down to: every piece before a delimiter, empty or
    // not, and the piece after the last delimiter unless it is empty.
    // Pieces are short: a plain loop beats a library search here.
    const char d = delimiter[0];
    const char* const data = text.data();
    const std::size_t length = text.size();
    std::size_t start = 0;
    for (std::size_t at = 0; at < length; ++at) {
      if (data[at] == d) {
        out.emplace_back(text.substr(start, at - start));
        start = at + 1;
      }
    }
    if (start < length) out.emplace_back(text.substr(start));
    return;
  }
  const std::size_t length = text.size();
  const std::size_t dlen = delimiter.size();
  std::size_t pieceStart = 0;
  std::size_t pieceLength = 0;
  std::size_t i = 0;
  while (i < length) {
    if (text.compare(i, dlen, delimiter) == 0 && i + dlen <= length) {
      if (pieceLength != 0) {
        out.emplace_back(text.substr(pieceStart, pieceLength));
        pieceLength = 0;
        i += dlen;
      } else {
        out.emplace_back();
        i += 1;
      }
    } else if (i + dlen >= length) {
      if (pieceLength == 0) pieceStart = i;
      out.emplace_back(text.substr(pieceStart, pieceLength + (length - i)));
      return;
    } else {
      if (pieceLength == 0) pieceStart = i;
      ++pieceLength;
      ++i;
    }
  }
}

constexpr double kExactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

}  // namespace

std::string_view leadingWordView(std::string_view line) {
  std::size_t begin = 0;
  while (begin < line.size() && isSeparator(line[begin])) ++begin;
  std::size_t end = begin;
  while (end < line.size() && !isSeparator(line[end])) ++end;
  return line.substr(begin, end - begin);
}

std::string_view restOfLineView(std::string_view line) {
  std::size_t i = 0;
  const std::size_t n = line.size();
  while (i < n && isSeparator(line[i])) ++i;
  while (i < n && !isSeparator(line[i])) ++i;
  while (i < n && isSeparator(line[i])) ++i;
  if (i == n) return {};
  std::size_t last = n - 1;
  while (isSeparator(line[last])) --last;  // stops at i at the latest
  return line.substr(i, last - i + 1);
}

std::string leadingWord(std::string_view line) { return std::string(leadingWordView(line)); }
std::string restOfLine(std::string_view line) { return std::string(restOfLineView(line)); }

void splitOn(std::string_view text, std::vector<std::string>& out, std::string_view delimiter) {
  splitInto(text, out, delimiter);
}

void splitOnViews(std::string_view text, std::vector<std::string_view>& out, std::string_view delimiter) {
  splitInto(text, out, delimiter);
}

std::string& trimLineEnd(std::string& text) {
  const std::size_t last = text.find_last_not_of("\r\n");
  if (last != std::string::npos) text.erase(last + 1);
  return text;
}

bool parseFloat(std::string_view s, float* out) {
  const std::size_t n = s.size();
  std::size_t i = 0;
  while (i < n && isSpace(s[i])) ++i;
  const std::size_t start = i;
  bool negative = false;
  if (i < n && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';

  // Up to 19 significant digits fit a 64-bit mantissa; the exponent tracks the rest.
  std::uint64_t mantissa = 0;
  int significant = 0;
  long exponent = 0;
  bool anyDigit = false;
  bool inexact = false;
  for (; i < n && isDigit(s[i]); ++i) {
    anyDigit = true;
    const int d = s[i] - '0';
    if (significant == 0 && d == 0) continue;
    if (significant < 19) {
      mantissa = mantissa * 10 + static_cast<unsigned>(d);
      ++significant;
    } else {
      ++exponent;
      if (d != 0) inexact = true;
    }
  }
  if (i < n && s[i] == '.') {
    for (++i; i < n && isDigit(s[i]); ++i) {
      anyDigit = true;
      const int d = s[i] - '0';
      if (significant == 0 && d == 0) {
        --exponent;
      } else if (significant < 19) {
        mantissa = mantissa * 10 + static_cast<unsigned>(d);
        ++significant;
        --exponent;
      } else if (d != 0) {
        inexact = true;
      }
    }
  }
  if (!anyDigit) return false;
  if (i < n && (s[i] == 'e' || s[i] == 'E')) {
    std::size_t j = i + 1;
    bool negativeExponent = false;
    if (j < n && (s[j] == '+' || s[j] == '-')) negativeExponent = s[j++] == '-';
    if (j < n && isDigit(s[j])) {
      long e = 0;
      for (; j < n && isDigit(s[j]); ++j) {
        if (e < 100000) e = e * 10 + (s[j] - '0');
      }
      exponent += negativeExponent ? -e : e;
      i = j;
    }
  }

  double value;
  if (mantissa == 0) {
    value = 0.0;
  } else if (!inexact && mantissa <= (std::uint64_t{1} << 53) && exponent >= -22 && exponent <= 22) {
    // Both operands are exact doubles, so one operation rounds correctly.
    const double m = static_cast<double>(mantissa);
    value = exponent >= 0 ? m * kExactPowers[exponent] : m / kExactPowers[-exponent];
  } else {
    // Rare long or extreme numbers: let the C library round them, on a bounded copy.
    std::string copy(s.substr(start, i - start));
    if (copy[0] == '+' || copy[0] == '-') copy.erase(0, 1);
    errno = 0;
    value = std::strtod(copy.c_str(), nullptr);
    if (errno == ERANGE && std::isinf(value)) return false;
  }
  const float rounded = static_cast<float>(negative ? -value : value);
  if (std::isinf(rounded)) return false;
  *out = rounded;
  return true;
}

bool parseInt(std::string_view s, std::int32_t* out) {
  const std::size_t n = s.size();
  std::size_t i = 0;
  while (i < n && isSpace(s[i])) ++i;
  bool negative = false;
  if (i < n && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  if (i >= n || !isDigit(s[i])) return false;
  std::int64_t value = 0;
  for (; i < n && isDigit(s[i]); ++i) {
    value = value * 10 + (s[i] - '0');
    if (value > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) return false;
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<std::int32_t>::max() || value < std::numeric_limits<std::int32_t>::min()) {
    return false;
  }
  *out = static_cast<std::int32_t>(value);
  return true;
}

bool resolveIndex(std::string_view indexText, std::size_t size, std::size_t* position) {
  std::int32_t index = 0;
  if (!parseInt(indexText, &index) || index == 0) return false;
  const std::int64_t n = index;
  const std::int64_t count = static_cast<std::int64_t>(size);
  if (n > 0) {
    if (n > count) return false;
    *position = static_cast<std::size_t>(n - 1);
  } else {
    if (-n > count) return false;
    *position = static_cast<std::size_t>(count + n);
  }
  return true;
}

const Vector3* elementAt(const std::vector<Vector3>& list, std::string_view indexText) {
  std::size_t position = 0;
  return resolveIndex(indexText, list.size(), &position) ? &list[position] : nullptr;
}

const Vector2* elementAt(const std::vector<Vector2>& list, std::string_view indexText) {
  std::size_t position = 0;
  return resolveIndex(indexText, list.size(), &position) ? &list[position] : nullptr;
}

Vector3 crossProduct(const Vector3& a, const Vector3& b) {
  return Vector3(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

float dotProduct(const Vector3& a, const Vector3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

float vectorLength(const Vector3& a) { return std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z); }

float angleBetween(const Vector3& a, const Vector3& b) {
  const float ratio = dotProduct(a, b) / (vectorLength(a) * vectorLength(b));
  return std::acos(ratio);
}

bool pointInTriangle(const Vector3& p, const Vector3& t1, const Vector3& t2, const Vector3& t3) {
  const Vector3 u = t2 - t1;
  const Vector3 v = t3 - t1;
  const Vector3 w = p - t1;
  const Vector3 n = crossProduct(u, v);
  const float nn = dotProduct(n, n);
  const float gamma = dotProduct(crossProduct(u, w), n) / nn;
  const float beta = dotProduct(crossProduct(w, v), n) / nn;
  const float alpha = 1.0f - gamma - beta;
  return alpha >= 0.0f && alpha <= 1.0f && beta >= 0.0f && beta <= 1.0f && gamma >= 0.0f && gamma <= 1.0f;
}

}  // namespace objl
