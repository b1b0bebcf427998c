#include <gtest/gtest.h>

#include <filesystem>

#include "shape_library_test_support.h"

namespace {

// The built-in libraries and the seed store all read back whole, and every item draws something.
TEST(ShapeLibraryResources, EveryShippedLibraryReadsBackWithDrawnThumbnails) {
  const std::filesystem::path folder = std::filesystem::path(DRAFTWORK_SOURCE_DIR) / "resources";
  std::vector<std::filesystem::path> files{folder / "shapes_library.data"};
  for (const auto& entry : std::filesystem::directory_iterator(folder / "library")) files.push_back(entry.path());
  ASSERT_EQ(files.size(), 26u);
  for (const auto& file : files) {
    SCOPED_TRACE(file.filename().string());
    auto read = shape_library_archive::unarchive(platform::readFile(file).value());
    ASSERT_TRUE(read) << read.error().description;
    EXPECT_EQ(read.value().dropped, 0u);
    std::vector<std::shared_ptr<CMShapeLibarary>> libraries;
    if (const platform::ArrayRef list = read.value().root.array()) {
      for (const platform::Value& element : *list) libraries.push_back(shape_library_archive::library(element));
    } else {
      libraries.push_back(shape_library_archive::library(read.value().root));
      EXPECT_GE(libraries.back()->items().size(), 4u);
      EXPECT_LE(libraries.back()->items().size(), 12u);
    }
    for (const auto& library : libraries) {
      ASSERT_TRUE(library);
      for (const auto& item : library->items()) {
        EXPECT_EQ(item->className(), "CMShapeItem");
        EXPECT_GT(document_testing::opaquePixels(*item->thumbnailImage()), 200);
      }
    }
  }
}

}  // namespace
