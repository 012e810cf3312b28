#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "model/objl.h"

using objl::Vector3;

namespace {

struct WordCase {
  std::string line;
  std::string word;
  std::string rest;
};

class LineWords : public ::testing::TestWithParam<WordCase> {};

TEST_P(LineWords, LeadingWordAndRest) {
  const WordCase& c = GetParam();
  EXPECT_EQ(objl::leadingWord(c.line), c.word);
  EXPECT_EQ(objl::restOfLine(c.line), c.rest);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, LineWords,
    ::testing::Values(WordCase{"\tKd 0.7765 0.8824 0.3412", "Kd", "0.7765 0.8824 0.3412"},
                      WordCase{"usemtl", "usemtl", ""}, WordCase{"", "", ""}, WordCase{"  \t", "", ""},
                      WordCase{"v  -1.0000 1.0000 0.0000", "v", "-1.0000 1.0000 0.0000"},
                      WordCase{"f 1/1/1 2/2/1 3/3/1 ", "f", "1/1/1 2/2/1 3/3/1"}, WordCase{"o", "o", ""},
                      WordCase{"g ", "g", ""},
                      // A carriage return is a word character, at either end.
                      WordCase{"\tKs 0.3500 0.3500 0.3500\r", "Ks", "0.3500 0.3500 0.3500\r"},
                      WordCase{"newmtl\r", "newmtl\r", ""},
                      WordCase{"a \t b  c\t", "a", "b  c"}));

struct SplitCase {
  std::string text;
  std::string delimiter;
  std::vector<std::string> parts;
};

class SplitOn : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitOn, GivesThePieces) {
  const SplitCase& c = GetParam();
  std::vector<std::string> parts{"left over"};
  objl::splitOn(c.text, parts, c.delimiter);
  EXPECT_EQ(parts, c.parts);

  std::vector<std::string_view> views;
  objl::splitOnViews(c.text, views, c.delimiter);
  EXPECT_EQ(std::vector<std::string>(views.begin(), views.end()), c.parts);
}

INSTANTIATE_TEST_SUITE_P(Texts, SplitOn,
                         ::testing::Values(SplitCase{"4/4/1", "/", {"4", "4", "1"}},
                                           SplitCase{"1//3", "/", {"1", "", "3"}},
                                           SplitCase{"17", "/", {"17"}}, SplitCase{"1/2/", "/", {"1", "2"}},
                                           SplitCase{"/2", "/", {"", "2"}}, SplitCase{"a  b", " ", {"a", "", "b"}},
                                           SplitCase{"", " ", {}}, SplitCase{"/", "/", {""}},
                                           SplitCase{"a//", "/", {"a", ""}}, SplitCase{"//", "/", {"", ""}},
                                           SplitCase{"ab--cd--", "--", {"ab", "cd"}},
                                           SplitCase{"--ab----c", "--", {"", "-ab", "", "-c"}},
                                           SplitCase{"ab-", "--", {"ab-"}}, SplitCase{"x", "", {""}}));

TEST(TrimLineEnd, RemovesOnlyTrailingLineEnds) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"wire_198225087\r", "wire_198225087"}, {"plain", "plain"}, {"\r", "\r"},
      {"a\r\n\r", "a"},                       {"", ""},           {"a\rb", "a\rb"}};
  for (const auto& [in, out] : cases) {
    std::string s = in;
    EXPECT_EQ(objl::trimLineEnd(s), out) << in;
  }
}

TEST(ElementAt, CountsFromOneOrBackFromTheEnd) {
  const std::vector<Vector3> list = {{1, 0, 0}, {2, 0, 0}, {3, 0, 0}};
  const std::vector<std::pair<std::string, float>> found = {{"1", 1}, {"2", 2}, {"-1", 3}, {"-3", 1}, {" 3", 3}};
  for (const auto& [index, x] : found) {
    const Vector3* v = objl::elementAt(list, index);
    ASSERT_NE(v, nullptr) << index;
    EXPECT_EQ(v->x, x) << index;
  }
  for (const char* index : {"0", "4", "-4", "", "x", "-", "99999999999", "-2147483648"}) {
    EXPECT_EQ(objl::elementAt(list, index), nullptr) << index;
  }
  EXPECT_EQ(objl::elementAt(std::vector<objl::Vector2>{}, "1"), nullptr);
}

struct FloatCase {
  std::string text;
  bool ok;
  float value;
};

class ParseFloat : public ::testing::TestWithParam<FloatCase> {};

TEST_P(ParseFloat, ReadsTheLeadingNumber) {
  const FloatCase& c = GetParam();
  float value = 12345.0f;
  ASSERT_EQ(objl::parseFloat(c.text, &value), c.ok) << c.text;
  if (c.ok) {
    EXPECT_EQ(value, c.value) << c.text;
    EXPECT_EQ(std::signbit(value), std::signbit(c.value)) << c.text;
  } else {
    EXPECT_EQ(value, 12345.0f) << "a failed conversion leaves the field alone";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseFloat,
    ::testing::Values(FloatCase{"0.7765", true, 0.7765f}, FloatCase{"  -1.0000", true, -1.0f},
                      FloatCase{"-0.0000", true, -0.0f}, FloatCase{"3.5\r", true, 3.5f},
                      FloatCase{"32 7", true, 32.0f}, FloatCase{"+.5", true, 0.5f}, FloatCase{"5.", true, 5.0f},
                      FloatCase{"1e3", true, 1000.0f}, FloatCase{"2.5E-1", true, 0.25f},
                      FloatCase{"1e", true, 1.0f}, FloatCase{"7e+x", true, 7.0f},
                      FloatCase{"0x10", true, 0.0f},  // decimal only
                      FloatCase{"3.14159265358979323846264338327950288", true, 3.14159265358979f},
                      FloatCase{"1e-50", true, 0.0f}, FloatCase{"340282346638528859811704183484516925440", true,
                                                                 std::numeric_limits<float>::max()},
                      FloatCase{"", false, 0}, FloatCase{"x1", false, 0}, FloatCase{"-", false, 0},
                      FloatCase{".", false, 0}, FloatCase{"e5", false, 0}, FloatCase{"nan", false, 0},
                      FloatCase{"inf", false, 0}, FloatCase{"1e39", false, 0}, FloatCase{"-1e400", false, 0},
                      FloatCase{"1e99999999999999", false, 0}));

// The fast path must round exactly as the C library does.
TEST(ParseFloat, AgreesWithStrtodOnRandomDecimals) {
  std::mt19937 random(42);
  std::uniform_int_distribution<int> digit(0, 9);
  std::uniform_int_distribution<int> length(1, 22);
  std::uniform_int_distribution<int> exponent(-45, 40);
  for (int i = 0; i < 20000; ++i) {
    std::string text = (i % 3 == 0) ? "-" : "";
    const int intDigits = length(random) % 12;
    for (int k = 0; k < intDigits; ++k) text += static_cast<char>('0' + digit(random));
    text += '.';
    const int fracDigits = length(random);
    for (int k = 0; k < fracDigits; ++k) text += static_cast<char>('0' + digit(random));
    if (i % 2 == 0) text += "e" + std::to_string(exponent(random));
    const double expected = std::strtod(text.c_str(), nullptr);
    const float expectedFloat = static_cast<float>(expected);
    float value = 0;
    if (std::isinf(expectedFloat)) {
      EXPECT_FALSE(objl::parseFloat(text, &value)) << text;
    } else {
      ASSERT_TRUE(objl::parseFloat(text, &value)) << text;
      ASSERT_EQ(value, expectedFloat) << text;
    }
  }
}

TEST(ParseInt, ReadsBase10WithinThirtyTwoBits) {
  const std::vector<std::pair<std::string, std::int32_t>> good = {
      {"2", 2}, {" -3", -3}, {"12abc", 12}, {"2147483647", 2147483647}, {"-2147483648", INT32_MIN}, {"+4\r", 4}};
  for (const auto& [text, expected] : good) {
    std::int32_t value = 0;
    ASSERT_TRUE(objl::parseInt(text, &value)) << text;
    EXPECT_EQ(value, expected) << text;
  }
  for (const char* text : {"", "x", "-", "2147483648", "-2147483649", "99999999999999999999999"}) {
    std::int32_t value = 0;
    EXPECT_FALSE(objl::parseInt(text, &value)) << text;
  }
}

TEST(Vector3, EqualityIsExact) {
  EXPECT_EQ(Vector3(0, -0.0f, 1), Vector3(0, 0, 1));
  EXPECT_NE(Vector3(0, 0, 1), Vector3(0, 0, std::nextafter(1.0f, 2.0f)));
  const float nan = std::numeric_limits<float>::quiet_NaN();
  EXPECT_NE(Vector3(nan, 0, 0), Vector3(nan, 0, 0));
  EXPECT_EQ(Vector3(1, 2, 3) - Vector3(1, 1, 1), Vector3(0, 1, 2));
  EXPECT_EQ(Vector3(1, 2, 3) + Vector3(1, 1, 1), Vector3(2, 3, 4));
}

TEST(PointInTriangle, InsideOnCornersAndOutside) {
  const Vector3 t1(0, 0, 0), t2(1, 0, 0), t3(0, 1, 0);
  for (const Vector3& p : {Vector3(0.25f, 0.25f, 0), t1, t2, t3, Vector3(0.25f, 0.25f, 5)}) {
    EXPECT_TRUE(objl::pointInTriangle(p, t1, t2, t3)) << p.x << "," << p.y << "," << p.z;
  }
  for (const Vector3& p : {Vector3(1, 1, 0), Vector3(-0.1f, 0.5f, 0), Vector3(2, -0.5f, 0), Vector3(5, 0.25f, 0)}) {
    EXPECT_FALSE(objl::pointInTriangle(p, t1, t2, t3)) << p.x << "," << p.y;
  }
  // A degenerate triangle contains nothing, not even its own corners.
  EXPECT_FALSE(objl::pointInTriangle(t1, t1, t2, Vector3(2, 0, 0)));
}

TEST(AngleBetween, RadiansFromZeroToPi) {
  const float pi = 3.14159265f;
  EXPECT_FLOAT_EQ(objl::angleBetween(Vector3(1, 0, 0), Vector3(0, 1, 0)), pi / 2);
  EXPECT_FLOAT_EQ(objl::angleBetween(Vector3(2, 0, 0), Vector3(1, 0, 0)), 0.0f);
  EXPECT_FLOAT_EQ(objl::angleBetween(Vector3(1, 0, 0), Vector3(-3, 0, 0)), pi);
  EXPECT_TRUE(std::isnan(objl::angleBetween(Vector3(0, 0, 0), Vector3(1, 0, 0))));
}

TEST(Geometry, CrossDotAndLength) {
  EXPECT_EQ(objl::crossProduct(Vector3(1, 0, 0), Vector3(0, 1, 0)), Vector3(0, 0, 1));
  EXPECT_EQ(objl::crossProduct(Vector3(0, 1, 0), Vector3(1, 0, 0)), Vector3(0, 0, -1));
  EXPECT_EQ(objl::dotProduct(Vector3(1, 2, 3), Vector3(4, -5, 6)), 12.0f);
  EXPECT_EQ(objl::vectorLength(Vector3(3, 4, 12)), 13.0f);
}

}  // namespace
