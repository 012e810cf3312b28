#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/platform.h"
#include "support/test_support.h"

namespace {

std::string resourceText(int id) {
  platform::ResourceData data;
  if (!platform::FindResourceData(id, "TEXTFILE", &data)) return "<missing>";
  return std::string(reinterpret_cast<const char*>(data.bytes), data.size);
}

TEST(Resources, ShipsShaderTextsWithOneEndMarker) {
  for (int id : {136, 137}) {
    const std::string text = resourceText(id);
    ASSERT_NE(text, "<missing>") << id;
    EXPECT_EQ(text.rfind("#version 110\r\n", 0), 0u) << id;
    EXPECT_EQ(text.find('~'), text.size() - 3) << id;
    EXPECT_EQ(text.substr(text.size() - 5), "//~\r\n") << id;
  }
}

TEST(Resources, ShipsModelTextsWithCrLfLines) {
  for (int id : {140, 141}) {
    const std::string text = resourceText(id);
    ASSERT_NE(text, "<missing>") << id;
    for (std::size_t i = text.find('\n'); i != std::string::npos; i = text.find('\n', i + 1)) {
      ASSERT_GT(i, 0u);
      EXPECT_EQ(text[i - 1], '\r') << "line end at " << i << " of " << id;
    }
  }
  EXPECT_NE(resourceText(141).find("usemtl wire_198225087\r\n"), std::string::npos);
  EXPECT_NE(resourceText(140).find("newmtl wire_198225087\r\n"), std::string::npos);
}

TEST(Resources, LookupIsByIdAndTypeWithExactSize) {
  EXPECT_EQ(resourceText(900), "abc~def");
  EXPECT_EQ(resourceText(901), "");
  EXPECT_EQ(resourceText(4242), "<missing>");
  platform::ResourceData data;
  EXPECT_TRUE(platform::FindResourceData(900, "textfile", &data)) << "type names ignore case";
  EXPECT_FALSE(platform::FindResourceData(900, "WAVE", &data));
  EXPECT_EQ(data.bytes, nullptr);
  EXPECT_EQ(data.size, 0u);
  EXPECT_FALSE(platform::FindResourceData(900, nullptr, &data));
}

TEST(MessageBoxes, SinkReceivesTextTitleAndStyle) {
  MessageBoxCapture capture;
  platform::ShowMessageBox("Failed to open window", "Debug", platform::kIconInformation);
  ASSERT_EQ(capture.boxes.size(), 1u);
  EXPECT_EQ(capture.boxes[0].text, "Failed to open window");
  EXPECT_EQ(capture.boxes[0].title, "Debug");
  EXPECT_EQ(capture.boxes[0].style, 0x40u);
}

TEST(EndProcess, HookSeesTheCode) {
  ProcessEndCatcher catcher;
  try {
    platform::EndProcess(0);
    FAIL() << "EndProcess returned";
  } catch (const ProcessEnded& ended) {
    EXPECT_EQ(ended.code, 0);
  }
}

TEST(EndProcess, StartupFailureWaitsAsAskedThenEndsWithZero) {
  ProcessEndCatcher catcher;
  std::vector<std::string> order;
  platform::SetStartupFailureWait([&order] { order.push_back("wait"); });
  try {
    platform::EndAfterStartupFailure();
    ADD_FAILURE() << "EndAfterStartupFailure returned";
  } catch (const ProcessEnded& ended) {
    order.push_back("end " + std::to_string(ended.code));
  }
  platform::SetStartupFailureWait(nullptr);
  EXPECT_EQ(order, (std::vector<std::string>{"wait", "end 0"}));
  // Without a wait, the end comes at once.
  try {
    platform::EndAfterStartupFailure();
  } catch (const ProcessEnded& ended) {
    EXPECT_EQ(ended.code, 0);
  }
}

TEST(Windows, ZeroHandleNamesNoWindow) {
  int width = -1, height = -1;
  EXPECT_FALSE(platform::GetWindowClientSize(0, &width, &height));
  EXPECT_EQ(width, 0);
  EXPECT_EQ(height, 0);
  EXPECT_FALSE(platform::IsWindowEnabled(0));
}

TEST(OsVersion, IsAtLeastVistaOnSupportedSystems) { EXPECT_GE(platform::OsVersionNumber(), 60); }

}  // namespace
