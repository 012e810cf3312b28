// The X11 About window's own paths: its picture from the resource table, and what happens
// when there is no display to open it on.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "about/about.h"
#include "about/bitmap.h"
#include "support/test_support.h"

namespace {

TEST(AboutX11, PictureResourceIsA110By83Bitmap) {
  platform::ResourceData resource;
  ASSERT_TRUE(platform::FindResourceData(about::kPictureResource, "BITMAP", &resource));
  about::Picture picture;
  ASSERT_TRUE(about::DecodeBitmap(resource.bytes, resource.size, &picture));
  EXPECT_EQ(picture.width, 110);
  EXPECT_EQ(picture.height, 83);
}

TEST(AboutX11, NoDisplayShowsTheCreationErrorAndEndsWithCodeZero) {
  const char* saved = std::getenv("DISPLAY");
  const std::string previous = saved != nullptr ? saved : "";
  // A display number nobody serves.
  setenv("DISPLAY", ":65000", 1);
  MessageBoxCapture boxes;
  int endCode = -1;
  {
    ProcessEndCatcher catcher;
    AboutWindow about;
    try {
      about.Create(nullptr, 1);
    } catch (const ProcessEnded& ended) {
      endCode = ended.code;
    }
  }
  if (saved != nullptr) {
    setenv("DISPLAY", previous.c_str(), 1);
  } else {
    unsetenv("DISPLAY");
  }
  EXPECT_EQ(endCode, 0);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "Window Creation Failed!");
  EXPECT_EQ(boxes.boxes[0].title, "Error!");
  EXPECT_EQ(boxes.boxes[0].style, 0x30u);
}

}  // namespace
