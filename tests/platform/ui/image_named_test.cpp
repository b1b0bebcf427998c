// Interface images come from the resources' images folder, by name.

#include "platform/ui/image_named.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace platform {
namespace {

TEST(ImageNamed, LoadsAndSharesPngsFromTheImagesFolder) {
  const std::filesystem::path folder = std::filesystem::path(std::getenv("HOME")) / "resources-under-test";
  std::filesystem::create_directories(folder / "images");
  auto original = Gdk::Pixbuf::create(Gdk::COLORSPACE_RGB, true, 8, 24, 16);
  original->fill(0x3366CCFF);
  original->save((folder / "images" / "tool_pen.png").string(), "png");
  std::filesystem::create_directories(folder / "images" / "broken.png");  // a folder, not an image
  setenv("DRAFTWORK_RESOURCES", folder.c_str(), 1);

  auto image = pixbufNamed("tool_pen");
  ASSERT_TRUE(image);
  EXPECT_EQ(image->get_width(), 24);
  EXPECT_EQ(image->get_height(), 16);
  const guint8* pixel = image->get_pixels();
  EXPECT_EQ(pixel[0], 0x33);
  EXPECT_EQ(pixel[1], 0x66);
  EXPECT_EQ(pixel[2], 0xCC);
  EXPECT_EQ(pixbufNamed("tool_pen"), image);  // decoded once
  EXPECT_FALSE(pixbufNamed("no_such_image"));
  EXPECT_FALSE(pixbufNamed("broken"));
  unsetenv("DRAFTWORK_RESOURCES");
}

}  // namespace
}  // namespace platform
