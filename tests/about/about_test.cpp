// Platform-free pieces of the About window: placement, the link, the notice's lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "about/about.h"
#include "about/text_layout.h"

namespace {

struct OriginCase {
  int screenWidth, screenHeight;
  int x, y;
};

class CenteredOriginTest : public ::testing::TestWithParam<OriginCase> {};

TEST_P(CenteredOriginTest, CentresTheOuterWindowDroppingTheHalfPixelTowardZero) {
  const OriginCase& c = GetParam();
  const about::Point origin = about::CenteredOrigin(c.screenWidth, c.screenHeight);
  EXPECT_EQ(origin.x, c.x);
  EXPECT_EQ(origin.y, c.y);
}

INSTANTIATE_TEST_SUITE_P(Screens, CenteredOriginTest,
                         ::testing::Values(OriginCase{1920, 1080, 760, 390}, OriginCase{1025, 769, 312, 234},
                                           OriginCase{1280, 1024, 440, 362}, OriginCase{400, 300, 0, 0},
                                           // Smaller than the window: -0.5 becomes 0, -49.5 becomes -49.
                                           OriginCase{399, 299, 0, 0}, OriginCase{301, 201, -49, -49},
                                           OriginCase{300, 200, -50, -50}));

struct OpenedLink {
  NativeWindow owner = 0;
  std::string link;
  int calls = 0;
};
OpenedLink opened;
void recordLink(NativeWindow owner, const char* link) {
  opened.owner = owner;
  opened.link = link;
  ++opened.calls;
}

TEST(WebsiteLink, ButtonOpensTheSiteRootWithTheAboutQueryForItsOwner) {
  opened = OpenedLink{};
  const about::LinkOpener previous = about::SetLinkOpener(recordLink);
  about::OpenWebsite(static_cast<NativeWindow>(0x1234));
  about::SetLinkOpener(previous);
  EXPECT_EQ(opened.calls, 1);
  EXPECT_EQ(opened.owner, static_cast<NativeWindow>(0x1234));
  EXPECT_EQ(opened.link, about::kWebsiteLink);
  // The root page over https, with nothing after the query.
  const std::string link = about::kWebsiteLink;
  const std::string query = "/?utm_source=About";
  ASSERT_GT(link.size(), query.size());
  EXPECT_EQ(link.rfind("https://", 0), 0u);
  EXPECT_EQ(link.find('/', 8), link.size() - query.size());
  EXPECT_EQ(link.substr(link.size() - query.size()), query);
}

int onePixelPerCharacter(const std::string& text) { return static_cast<int>(text.size()); }

struct WrapCase {
  const char* name;
  std::string text;
  int width;
  std::vector<std::string> lines;
};

class WrapTextTest : public ::testing::TestWithParam<WrapCase> {};

TEST_P(WrapTextTest, BreaksAtLineEndsAndBetweenWords) {
  const WrapCase& c = GetParam();
  EXPECT_EQ(about::WrapText(c.text, c.width, onePixelPerCharacter), c.lines);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, WrapTextTest,
    ::testing::Values(WrapCase{"FitsExactly", "abc def", 7, {"abc def"}},
                      WrapCase{"OnePixelTooNarrow", "abc def", 6, {"abc", "def"}},
                      WrapCase{"SeveralWordsPerLine", "a b c d e", 3, {"a b", "c d", "e"}},
                      WrapCase{"CrLf", "one\r\ntwo", 100, {"one", "two"}},
                      WrapCase{"LoneLfAndCr", "a\nb\rc", 100, {"a", "b", "c"}},
                      WrapCase{"EmptyLineKept", "a\r\n\r\nb", 100, {"a", "", "b"}},
                      WrapCase{"WordWiderThanControlStaysWhole", "abcdefgh ij", 3, {"abcdefgh", "ij"}},
                      WrapCase{"Empty", "", 10, {""}}),
    [](const ::testing::TestParamInfo<WrapCase>& info) { return std::string(info.param.name); });

TEST(NoticeText, ThreeLinesThatFitTheNoticeControlAtTheNormalFontsAverageWidth) {
  const AboutWindow texts;
  const auto atAverageWidth = [](const std::string& text) {
    return static_cast<int>(text.size()) * about::kNormalFont.width;
  };
  const auto lines = about::WrapText(texts.infoText, about::kNoticeControl.width, atAverageWidth);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_NE(lines[1].find("https://www.lumivane.net/"), std::string::npos);
  EXPECT_NE(lines[2].find("@lumivane.net"), std::string::npos);
  // The button covers the notice control from its top edge down; the three lines end above it.
  EXPECT_LE(about::kNoticeControl.y + 3 * about::kNormalFont.height, about::kWebsiteButton.y);
}

}  // namespace
