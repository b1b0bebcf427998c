#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <vector>

#include "../platform/core/scratch_folder.h"
#include "platform/graphics/graphics_context.h"
#include "shape_library_test_support.h"

namespace {

using document_testing::libraryShape;
using document_testing::opaquePixels;
using document_testing::pixel;

// Records the CTM the item sets up while it draws, by drawing into a context of its own.
TEST(ShapeLibraryThumbnail, TheLayerIsFittedIntoTheBoxWithFiveSpareOnEachSide) {
  const CMShapeItem item("shape", libraryShape({50, 20, 200, 100}));
  // s = 70 / 200; tx = (70 - 70) / 2 + 5 - 50 s; ty = (70 - 35) / 2 - 5 - 20 s.
  const double s = 0.35f;
  const double tx = -12.5;
  const double ty = 5.5;
  const platform::Image& image = *item.thumbnailImage();
  ASSERT_EQ(image.pixelsWide(), 80);
  // The drawing is flipped about 70: the layer's point p lands at (s px + tx, 70 - (s py + ty)), y up.
  const auto row = [&](double layerY) { return 80 - (70 - (s * layerY + ty)); };
  const auto column = [&](double layerX) { return s * layerX + tx; };
  const int centreRow = static_cast<int>(row(70));
  const int centreColumn = static_cast<int>(column(150));
  EXPECT_EQ(pixel(image, centreColumn, centreRow), 0xffc81e28u);
  // Just inside and just outside each edge of the fitted rectangle (x 5..75, rows 22.5..57.5 from the top). The
  // layer's picture is scaled down into the thumbnail, so the pixel an edge crosses and its outer neighbour may be
  // soft: they are left out.
  EXPECT_EQ(pixel(image, 6, 40) >> 24, 0xffu);
  EXPECT_EQ(pixel(image, 73, 40) >> 24, 0xffu);
  EXPECT_EQ(pixel(image, 3, 40), 0u);
  EXPECT_EQ(pixel(image, 76, 40), 0u);
  EXPECT_EQ(pixel(image, 40, 23) >> 24, 0xffu);
  EXPECT_EQ(pixel(image, 40, 56) >> 24, 0xffu);
  EXPECT_EQ(pixel(image, 40, 21), 0u);
  EXPECT_EQ(pixel(image, 40, 59), 0u);
}

TEST(ShapeLibraryThumbnail, IsFlippedMirrorsTheRowsAboutTheMiddle) {
  // A right triangle whose long side is at the bottom of the layer.
  const platform::DictRef plain = libraryShape({0, 0, 100, 100}, {{0, 0}, {100, 0}, {0, 100}});
  const platform::DictRef flipped = platform::dictionaryCopy(plain);
  flipped->dictionary("shape")->set("isFlipped", true);
  const CMShapeItem a("a", plain);
  const CMShapeItem b("b", flipped);
  const platform::Image& up = *a.thumbnailImage();
  const platform::Image& down = *b.thumbnailImage();
  int differing = 0;
  for (int row = 0; row < 80; ++row) {
    for (int x = 0; x < 80; ++x) {
      EXPECT_EQ(pixel(down, x, row) >> 24, pixel(up, x, 79 - row) >> 24) << x << ", " << row;
      differing += (pixel(up, x, row) >> 24) != (pixel(up, x, 79 - row) >> 24);
    }
  }
  EXPECT_GT(differing, 500);  // the triangle is not symmetric about the middle row
}

// An "L" 60 wide and 100 high, its foot 20 high, stands upright however its record is marked: fitted 42 × 70 into
// rows 5 to 75 (row 0 at the top, as shown), its stem fills 14 of 42 columns and its foot, the lowest 14 rows, all.
TEST(ShapeLibraryThumbnail, AnLStandsUprightHoweverItsRecordIsMarked) {
  const struct {
    const char* what;
    bool topDown;     // the points as the canvas holds them, the foot at y 80 to 100; else at y 0 to 20
    bool shapeFlag;   // "isFlipped" in "shape": every shape drawn in the program (the pencil's "L")
    bool recordFlag;  // "isFlipped" in the record: the shipped libraries
  } rows[] = {{"drawn with the pencil", true, true, false},
              {"as the shipped libraries mark theirs", true, false, true},
              {"bottom-up, turned over as a drop turns it", false, false, false}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    std::vector<platform::Point> points{{0, 0}, {20, 0}, {20, 80}, {60, 80}, {60, 100}, {0, 100}};
    for (platform::Point& point : points) point.y = row.topDown ? point.y : 100 - point.y;
    const platform::DictRef record = libraryShape({0, 0, 60, 100}, points);
    if (row.shapeFlag) record->dictionary("shape")->set("isFlipped", 1);
    if (row.recordFlag) record->set("isFlipped", true);
    const CMShapeItem item("L", record);
    const platform::Image& image = *item.thumbnailImage();
    for (const auto& [y, ink] : {std::pair{10, 14}, {70, 42}}) {
      int opaque = 0;
      for (int x = 0; x < 80; ++x) opaque += (pixel(image, x, y) >> 24) > 128;
      EXPECT_NEAR(opaque, ink, 1) << "row " << y;
    }
  }
}

TEST(ShapeLibraryThumbnail, RecordsThatCannotBeFittedGiveEmptyThumbnails) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double infinity = std::numeric_limits<double>::infinity();
  struct Case {
    const char* what;
    platform::DictRef record;
  } cases[] = {{"zero size", libraryShape({10, 10, 0, 0})},
               {"NaN origin", libraryShape({nan, 0, 10, 10})},
               {"infinite width", libraryShape({0, 0, infinity, 10})},
               {"no record", nullptr}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const CMShapeItem item("shape", c.record);
    ASSERT_TRUE(item.thumbnailImage());
    EXPECT_EQ(opaquePixels(*item.thumbnailImage()), 0);
  }
  // An image item whose picture is missing also draws nothing.
  const CMImageShapeItem image("image", platform::Dictionary::make({{"type", 1}, {"path", "/nonexistent.png"}}));
  EXPECT_EQ(opaquePixels(*image.thumbnailImage()), 0);
}

TEST(ShapeLibraryArchive, PlistlibReadsAnExportAndWritesAnArchiveWeImport) {
  if (std::system("python3 -c 'import plistlib' > /dev/null 2>&1") != 0) GTEST_SKIP() << "python3 is not installed";
  platform::testing::ScratchFolder files;
  auto library = std::make_shared<CMShapeLibarary>("Pieces");
  library->addShape(document_testing::itemRecord(libraryShape({0, 0, 30, 40})));
  library->addImage(document_testing::itemRecord(platform::Dictionary::make({{"type", 1}, {"width", 5.0}})));
  ASSERT_TRUE(library->exportToURL(files / "pieces.slib"));
  const std::string script = "python3 '" DRAFTWORK_SOURCE_DIR "/tests/document/shape_library_plist.py' ";
  const std::string check = script + "check '" + (files / "pieces.slib").string() + "'";
  EXPECT_EQ(std::system(check.c_str()), 0) << check;

  const std::string write = script + "write '" + (files / "written.slib").string() + "'";
  ASSERT_EQ(std::system(write.c_str()), 0) << write;
  auto read = shape_library_archive::unarchive(platform::readFile(files / "written.slib").value());
  ASSERT_TRUE(read) << read.error().description;
  EXPECT_EQ(read.value().dropped, 0u);
  const auto written = shape_library_archive::library(read.value().root);
  ASSERT_TRUE(written);
  EXPECT_EQ(written->name(), "Written");
  ASSERT_EQ(written->items().size(), 2u);
  EXPECT_EQ(written->items()[0]->className(), "CMShapeItem");
  EXPECT_EQ(written->items()[0]->name(), "shape");
  EXPECT_EQ(written->items()[0]->shapeData()->get("width").doubleValue(), 30.0);
  EXPECT_EQ(written->items()[1]->className(), "CMImageShapeItem");
  EXPECT_EQ(written->items()[1]->name(), "shape");  // the script leaves its name out
}

}  // namespace
