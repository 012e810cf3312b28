#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/model_reader.h"

using objl::Material;
using objl::Vector3;

namespace {

std::vector<Material> readMtl(const std::string& text) {
  ModelReader reader;
  EXPECT_TRUE(reader.readMaterialsText(text));
  return reader.materials;
}

TEST(MtlReader, EmbeddedMaterial) {
  ModelReader reader;
  ASSERT_TRUE(reader.readMaterials(140));
  ASSERT_EQ(reader.materials.size(), 1u);
  const Material& m = reader.materials[0];
  EXPECT_EQ(m.materialName, "wire_198225087");
  EXPECT_EQ(m.ambient, Vector3(0.7765f, 0.8824f, 0.3412f));
  EXPECT_EQ(m.diffuse, Vector3(0.7765f, 0.8824f, 0.3412f));
  EXPECT_EQ(m.specular, Vector3(0.35f, 0.35f, 0.35f));
  EXPECT_EQ(m.specularExponent, 32.0f);
  EXPECT_EQ(m.opticalDensity, 0.0f);
  EXPECT_EQ(m.dissolve, 1.0f);
  EXPECT_EQ(m.illumination, 2);
  for (const std::string* map : {&m.ambientMap, &m.diffuseMap, &m.specularMap, &m.specularExponentMap,
                                 &m.dissolveMap, &m.bumpMap}) {
    EXPECT_EQ(*map, "");
  }
}

TEST(MtlReader, EachCallAppends) {
  ModelReader reader;
  reader.readMaterials(140);
  reader.readMaterials(140);
  ASSERT_EQ(reader.materials.size(), 2u);
  EXPECT_EQ(reader.materials[1].materialName, reader.materials[0].materialName);
  EXPECT_EQ(reader.materials[1].diffuse, reader.materials[0].diffuse);
}

TEST(MtlReader, MaterialsKeepOnlyTheirOwnStatements) {
  const auto m = readMtl("Ns 5\nnewmtl a\nKa 1 2 3\nd 0.5\nnewmtl b\nKs 4 5 6\nillum 3\nNs 7 8\nNs 9 10\n");
  ASSERT_EQ(m.size(), 2u);
  EXPECT_EQ(m[0].materialName, "a");
  EXPECT_EQ(m[0].specularExponent, 5.0f) << "statements before the first newmtl belong to it";
  EXPECT_EQ(m[0].ambient, Vector3(1, 2, 3));
  EXPECT_EQ(m[0].dissolve, 0.5f);
  EXPECT_EQ(m[0].specular, Vector3(0, 0, 0));
  EXPECT_EQ(m[1].materialName, "b");
  EXPECT_EQ(m[1].specular, Vector3(4, 5, 6));
  EXPECT_EQ(m[1].illumination, 3);
  EXPECT_EQ(m[1].specularExponent, 9.0f) << "a repeated statement overwrites; the first number counts";
  EXPECT_EQ(m[1].ambient, Vector3(0, 0, 0));
  EXPECT_EQ(m[1].dissolve, 0.0f);
}

TEST(MtlReader, NewmtlNames) {
  struct Case {
    std::string text;
    std::vector<std::string> names;
  };
  const std::vector<Case> cases = {
      {"newmtl\n", {"none"}},
      {"newmtl \n", {"none"}},
      {"newmtl red\r\n", {"red"}},
      {"  newmtl my red one \t\n", {"my red one"}},
      // The keyword followed by a carriage return is another word: no material starts.
      {"newmtl\r\nKd 1 1 1\r\n", {""}},
      {"", {""}},
      {"# nothing here\n", {""}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> names;
    for (const Material& m : readMtl(c.text)) names.push_back(m.materialName);
    EXPECT_EQ(names, c.names) << c.text;
  }
}

TEST(MtlReader, StatementsThatChangeNothing) {
  const auto m = readMtl(
      "newmtl a\nKd 0.5 0.5 0.5\nKd 1 2\nKd 1 2 3 4\nKd 1  2 3\nKd 1 x 3\n"
      "Ns abc\nNs 1e39\nillum x\nillum 99999999999\nTr 0\nTf 1 1 1\nkd 9 9 9\nKdx 9 9 9\n");
  ASSERT_EQ(m.size(), 1u);
  EXPECT_EQ(m[0].diffuse, Vector3(0.5f, 0.5f, 0.5f));
  EXPECT_EQ(m[0].specularExponent, 0.0f);
  EXPECT_EQ(m[0].illumination, 0);
}

TEST(MtlReader, MapTextsAreTheRestOfTheLine) {
  const auto m = readMtl(
      "newmtl a\r\nmap_Kd -s 1 1 1 wood.png\r\nmap_Ka a.png\nmap_Ks s.png\nmap_Ns n.png\nmap_d d.png\n"
      "map_Bump b1.png\nnewmtl b\nmap_bump b2.png\nnewmtl c\nbump  b3 .png \n");
  ASSERT_EQ(m.size(), 3u);
  EXPECT_EQ(m[0].materialName, "a");
  EXPECT_EQ(m[0].diffuseMap, "-s 1 1 1 wood.png\r");
  EXPECT_EQ(m[0].ambientMap, "a.png");
  EXPECT_EQ(m[0].specularMap, "s.png");
  EXPECT_EQ(m[0].specularExponentMap, "n.png");
  EXPECT_EQ(m[0].dissolveMap, "d.png");
  EXPECT_EQ(m[0].bumpMap, "b1.png");
  EXPECT_EQ(m[1].bumpMap, "b2.png");
  EXPECT_EQ(m[2].bumpMap, "b3 .png");
}

TEST(MtlReader, MissingResourceAddsOneDefaultMaterial) {
  ModelReader reader;
  EXPECT_TRUE(reader.readMaterials(9999));
  ASSERT_EQ(reader.materials.size(), 1u);
  EXPECT_EQ(reader.materials[0].materialName, "");
}

}  // namespace
