// The interface's own pictures ship in resources/images: every tool and panel
// icon has its pressed variant, icons keep their size, and each cursor's hot
// spot falls on ink, so the user aims with a point that can be seen.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/ui/cursor.h"
#include "platform/ui/image_named.h"

namespace platform {
namespace {

class ResourceImagesTest : public testing::Test {
 protected:
  void SetUp() override { setenv("DRAFTWORK_RESOURCES", DRAFTWORK_SOURCE_DIR "/resources", 1); }
  void TearDown() override { unsetenv("DRAFTWORK_RESOURCES"); }

  static int alphaAt(const Glib::RefPtr<Gdk::Pixbuf>& image, int x, int y) {
    if (!image->get_has_alpha()) return 255;
    return image->get_pixels()[y * image->get_rowstride() + x * image->get_n_channels() + 3];
  }
};

TEST_F(ResourceImagesTest, EveryIconHasAPressedVariantOfItsSize) {
  for (const char* name :
       {"select",       "texttool",  "line",         "rectangle",     "oval",           "roundrectangle",
        "star",         "polygon",   "zoomtool",     "layerstyle",    "layers",         "document",
        "library",      "alignleft", "alignright",   "aligntop",      "alignbottom",    "fliphorizontal",
        "flipvertical", "pathunion", "pathsubtract", "pathintersect", "pathdifference", "viewmode"}) {
    const auto normal = pixbufNamed(name);
    const auto pressed = pixbufNamed(std::string(name) + "clicked");
    ASSERT_TRUE(normal && pressed) << name;
    EXPECT_EQ(normal->get_width(), 32) << name;
    EXPECT_EQ(normal->get_height(), 32) << name;
    EXPECT_EQ(pressed->get_width(), normal->get_width()) << name;
    // A plain icon is a glyph on transparency; the pressed one sits on an opaque tile.
    EXPECT_EQ(alphaAt(normal, 16, 1), 0) << name;
    EXPECT_EQ(alphaAt(pressed, 16, 1), 255) << name;
  }
}

TEST_F(ResourceImagesTest, CursorHotSpotsFallOnInk) {
  struct Expected {
    const char* name;
    int hotX;
    int hotY;
  };
  for (const Expected& cursor :
       {Expected{"pencursor", 2, 2}, Expected{"pencursoradd", 2, 2}, Expected{"pencursorclose", 2, 2},
        Expected{"pencursordelete", 2, 2}, Expected{"zoomInCursor", 9, 9}, Expected{"zoomOutCursor", 9, 9}}) {
    const auto image = pixbufNamed(cursor.name);
    ASSERT_TRUE(image) << cursor.name;
    EXPECT_EQ(image->get_width(), 24) << cursor.name;
    EXPECT_GT(alphaAt(image, cursor.hotX, cursor.hotY), 128) << cursor.name;
    EXPECT_EQ(alphaAt(image, 23, 23), 0) << cursor.name;  // a corner away from the glyph stays clear
    const auto made = Cursor::fromImage(image, {double(cursor.hotX), double(cursor.hotY)});
    EXPECT_TRUE(made->gdkCursor(Gdk::Display::get_default())) << cursor.name;
  }
}

TEST_F(ResourceImagesTest, SmallButtonsAndPatternsAreThere) {
  for (const char* name : {"doc_bg", "eye", "delete", "close_bt", "next_items_bt", "combo_arrow_icon", "color_well_bt",
                           "top_marker", "bottom_marker"})
    EXPECT_TRUE(pixbufNamed(name)) << name;
  // The transparent-page pattern tiles seamlessly: opposite corners of each 8-pixel square match.
  const auto pattern = pixbufNamed("doc_bg");
  ASSERT_TRUE(pattern);
  const auto grey = [&](int x, int y) {
    return pattern->get_pixels()[y * pattern->get_rowstride() + x * pattern->get_n_channels()];
  };
  EXPECT_EQ(grey(0, 0), grey(15, 15));
  EXPECT_EQ(grey(15, 0), grey(0, 15));
  EXPECT_NE(grey(0, 0), grey(15, 0));
}

}  // namespace
}  // namespace platform
