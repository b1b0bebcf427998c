#include "document/CMFill.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "../platform/core/scratch_folder.h"
#include "document/CMStroke.h"
#include "style_canvas.h"

using platform::Array;
using platform::BezierPath;
using platform::Dictionary;
using platform::DictRef;

namespace {

DictRef colourRecord(double r, double g, double b, double a) {
  return Dictionary::make({{"r", r}, {"g", g}, {"b", b}, {"a", a}});
}

DictRef redToBlue() {
  return Dictionary::make(
      {{"type", 0},
       {"markers", Array::make({Dictionary::make({{"pos", 0}, {"red", 1}, {"green", 0}, {"blue", 0}}),
                                Dictionary::make({{"pos", 1}, {"red", 0}, {"green", 0}, {"blue", 1}})})}});
}

TEST(FillRecord, ReadsOnlyWhatItsTypeNeeds) {
  const CMFill plain = CMFill::fillWithDictionary(Dictionary::make({{"type", 1}, {"color", colourRecord(0, 0, 255, 0)}}));
  EXPECT_EQ(plain.alpha(), 1);
  EXPECT_EQ(plain.color(), platform::Color(0, 0, 1, 1));

  const CMFill faded =
      CMFill::fillWithDictionary(Dictionary::make({{"type", 1}, {"alpha", 0.5}, {"color", colourRecord(0, 0, 255, 255)}}));
  EXPECT_EQ(faded.color(), platform::Color(0, 0, 1, 0.5));

  const CMFill gradient = CMFill::fillWithDictionary(Dictionary::make({{"type", 3}, {"color", colourRecord(0, 0, 255, 255)}}));
  EXPECT_EQ(gradient.color(), platform::Color());  // the colour is not read for other types
  EXPECT_EQ(CMFill::fillWithDictionary(nullptr).type(), 0);
}

TEST(FillRecord, UnusableImagesAreDropped) {
  EXPECT_EQ(CMFill(Dictionary::make({{"type", 2}})).image(), nullptr);
  EXPECT_EQ(CMFill(Dictionary::make({{"type", 2}, {"image_path", "/nonexistent/fill.png"}})).image(), nullptr);
  EXPECT_EQ(CMFill(Dictionary::make({{"type", 2}, {"image", platform::Bytes{1, 2, 3}}})).image(), nullptr);
  const platform::Bytes png = document_testing::pngOf({4, 2}, platform::Color(1, 0, 0, 1));
  const CMFill fill(Dictionary::make({{"type", 2}, {"image", png}}));
  ASSERT_NE(fill.image(), nullptr);
  EXPECT_EQ(fill.image()->size(), (platform::Size{4, 2}));
}

// A picture path that names no regular file of a picture's size (a device, a pipe, a huge file) paints nothing, at
// once and without taking the memory such a file would need; a regular picture file beside them is read.
TEST(FillRecord, PicturePathsThatAreNoPictureFilesAreNotRead) {
  platform::testing::ScratchFolder folder;
  const std::filesystem::path pipe = folder / "pipe.png";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  const std::filesystem::path huge = folder / "huge.png";
  std::ofstream(huge) << "\x89PNG";
  std::filesystem::resize_file(huge, platform::Image::kLargestFile + 1);
  const std::filesystem::path picture = folder / "picture.png";
  const platform::Bytes png = document_testing::pngOf({4, 2}, platform::Color(1, 0, 0, 1));
  std::ofstream(picture, std::ios::binary).write(reinterpret_cast<const char*>(png.data()), png.size());
  for (const std::string& path : {std::string("/dev/zero"), pipe.string(), huge.string(), folder.path().string()}) {
    const DictRef record = Dictionary::make({{"type", 2}, {"image_path", path}});
    EXPECT_EQ(CMFill(record).image(), nullptr) << path;
    EXPECT_EQ(CMStroke(record).image(), nullptr) << path;
  }
  EXPECT_NE(CMFill(Dictionary::make({{"type", 2}, {"image_path", picture.string()}})).image(), nullptr);
}

class FillPaint : public document_testing::StyleCanvasTest {};

TEST_F(FillPaint, ColourRecordAlphaIsReplacedByTheFillsAlpha) {
  CMFill(Dictionary::make({{"type", 1}, {"alpha", 0.5}, {"color", colourRecord(255, 0, 0, 0)}}))
      .fillPath(BezierPath::rect({0, 0, 100, 100}), false);
  EXPECT_NEAR(at(50, 50).a, 128, 1);
  EXPECT_NEAR(at(50, 50).r, 128, 1);
  EXPECT_EQ(at(150, 50).a, 0);
}

TEST_F(FillPaint, ColourFillIsEvenOddFromTheFirstDraw) {
  BezierPath ring = BezierPath::rect({0, 0, 100, 100});
  ring.appendRect({25, 25, 50, 50});  // wound the same way: non-zero would fill it
  ASSERT_EQ(ring.windingRule(), platform::WindingRule::NonZero);
  CMFill(Dictionary::make({{"type", 1}, {"color", colourRecord(0, 0, 0, 255)}})).fillPath(ring, false);
  EXPECT_EQ(at(10, 50).a, 255);
  EXPECT_EQ(at(50, 50).a, 0);
  EXPECT_EQ(BezierPath().windingRule(), platform::WindingRule::NonZero);  // no process-wide change
}

TEST_F(FillPaint, CentredImageIsClippedByThePath) {
  const platform::Bytes png = document_testing::pngOf({40, 20}, platform::Color(0, 1, 0, 1));
  const CMFill fill(Dictionary::make({{"type", 2}, {"image_draw_type", 1}, {"image", png}}));
  // The box has the path's size, 30 × 100, but starts at the origin: the image covers x −5…35, y 40…60.
  fill.fillPath(BezierPath::rect({20, 0, 30, 100}), false);
  EXPECT_EQ(at(25, 50).g, 255);
  EXPECT_EQ(at(10, 50).a, 0);  // the image reaches here, the path does not
  EXPECT_EQ(at(40, 50).a, 0);  // inside the path, beside the image
  EXPECT_EQ(at(25, 65).a, 0);
}

TEST_F(FillPaint, ImageTransformsDoNotOutliveTheFill) {
  const platform::Bytes png = document_testing::pngOf({10, 10}, platform::Color(0, 1, 0, 1));
  const BezierPath path = BezierPath::rect({0, 0, 100, 100});
  CMFill(Dictionary::make({{"type", 2}, {"image_draw_type", 0}, {"image", png}})).fillPath(path, false);
  EXPECT_EQ(at(95, 95).g, 255);  // stretched over the whole box
  CMFill(Dictionary::make({{"type", 1}, {"color", colourRecord(255, 0, 0, 255)}})).fillPath(path, false);
  EXPECT_EQ(at(99, 99).r, 255);
  EXPECT_EQ(at(101, 50).a, 0);
}

TEST_F(FillPaint, TiledImageRepeats) {
  const platform::Bytes png = document_testing::pngOf({4, 4}, platform::Color(0, 0, 1, 1));
  CMFill(Dictionary::make({{"type", 2}, {"image_draw_type", 3}, {"image", png}}))
      .fillPath(BezierPath::rect({0, 0, 150, 100}), false);
  EXPECT_EQ(at(2, 2).b, 255);
  EXPECT_EQ(at(145, 95).b, 255);
  EXPECT_EQ(at(155, 50).a, 0);
}

TEST_F(FillPaint, GradientCastsAShadowOnlyWithTheFlag) {
  context().setShadow(platform::Shadow{{20, -20}, 0, platform::Color(0, 0, 0, 1)});
  const DictRef record = Dictionary::make({{"type", 3}, {"gradient", redToBlue()}});
  const BezierPath square = BezierPath::rect({20, 40, 40, 40});
  CMFill(record).fillPath(square, false);
  EXPECT_GT(at(22, 60).r, 230);
  EXPECT_EQ(at(70, 30).a, 0);

  const BezierPath other = BezierPath::rect({120, 40, 40, 40});
  CMFill(record).fillPath(other, true);
  EXPECT_GT(at(122, 60).r, 230);  // the gradient covers the black fill
  EXPECT_EQ(at(170, 30).a, 255);  // the black fill's shadow
  EXPECT_EQ(at(170, 30).r, 0);
}

TEST_F(FillPaint, OtherTypesPaintNothing) {
  const BezierPath path = BezierPath::rect({0, 0, 200, 100});
  CMFill(Dictionary::make({{"type", 0}, {"color", colourRecord(255, 0, 0, 255)}})).fillPath(path, true);
  CMFill(Dictionary::make({{"type", 5}, {"color", colourRecord(255, 0, 0, 255)}})).fillPath(path, true);
  CMFill(Dictionary::make({{"type", 2}, {"image_path", "/nonexistent/fill.png"}})).fillPath(path, true);
  EXPECT_EQ(at(100, 50).a, 0);
}

}  // namespace
