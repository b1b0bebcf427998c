// Image layers: loading embedded and linked pictures, their bounds and drawing them mirrored.

#include <gtest/gtest.h>

#include <fstream>

#include "../platform/core/scratch_folder.h"
#include "document/CMImageLayer.h"
#include "style_canvas.h"

namespace {

using platform::Color;
using platform::Dictionary;
using platform::DictRef;
using platform::Rect;

// 20 × 10 with a colour per quadrant, upright in y-up space: red top left, green top
// right, blue bottom left, yellow bottom right.
platform::Bytes quadrantPicture() {
  return document_testing::pngOf({20, 10}, {{{0, 5, 10, 5}, Color{1, 0, 0, 1}},
                                            {{10, 5, 10, 5}, Color{0, 1, 0, 1}},
                                            {{0, 0, 10, 5}, Color{0, 0, 1, 1}},
                                            {{10, 0, 10, 5}, Color{1, 1, 0, 1}}});
}

DictRef pictureRecord() { return Dictionary::make({{"x", 12}, {"y", 34}, {"image", quadrantPicture()}}); }

TEST(ImageLayerBounds, PictureSizeUnlessBothSidesGiven) {
  DictRef record = pictureRecord();
  CMImageLayer own(record, 1);
  ASSERT_NE(own.image(), nullptr);
  EXPECT_EQ(own.layerRect(), (Rect{12, 34, 20, 10}));
  EXPECT_EQ(own.originalSize(), (platform::Size{20, 10}));

  record->set("width", 50);
  record->set("height", 0);
  EXPECT_EQ(CMImageLayer(record, 1).layerRect(), (Rect{12, 34, 20, 10}));
  record->set("height", 40);
  EXPECT_EQ(CMImageLayer(record, 1).layerRect(), (Rect{12, 34, 50, 40}));
}

TEST(ImageLayerBounds, UpdateScalesOriginAndOnlyAGivenSize) {
  DictRef record = pictureRecord();
  CMImageLayer layer(record, 2);
  layer.updateLayerRect();
  EXPECT_EQ(layer.layerRect(), (Rect{24, 68, 20, 10}));
  record->set("width", 7);
  record->set("height", 3);
  layer.updateLayerRect();
  EXPECT_EQ(layer.layerRect(), (Rect{24, 68, 14, 6}));
  layer.setVectorViewMode(false);
  EXPECT_EQ(layer.zoom(), 1);
  EXPECT_EQ(layer.layerRect(), (Rect{12, 34, 7, 3}));
}

TEST(ImageLayerBounds, PlainConstructionLoadsNothing) {
  CMImageLayer layer(pictureRecord());
  EXPECT_EQ(layer.image(), nullptr);
  EXPECT_EQ(layer.layerRect(), Rect{});
}

TEST(ImageLayerBounds, FramePathIsTheRectWithoutMargin) {
  CMImageLayer layer(pictureRecord(), 1);
  EXPECT_EQ(layer.framePath(false).bounds(), (Rect{12, 34, 20, 10}));
  platform::AffineTransform zoom;
  zoom.scaleBy(3);
  layer.setZoomTransform(zoom);
  EXPECT_EQ(layer.framePath(true).bounds(), (Rect{36, 102, 60, 30}));
  layer.setVectorViewMode(true);
  EXPECT_EQ(layer.framePath(true).bounds(), (Rect{12, 34, 20, 10}));
}

class ImageLayerSources : public ::testing::Test {
 protected:
  std::filesystem::path write(const char* name, const platform::Bytes& bytes) {
    const std::filesystem::path path = folder_ / name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
  }

  // No picture: zero size at the record's position, nothing drawn, the record as it was.
  static void expectUnreadable(const DictRef& record) {
    const DictRef before = record->mutableCopy();
    CMImageLayer layer(record, 1);
    EXPECT_EQ(layer.image(), nullptr);
    EXPECT_EQ(layer.layerRect(), (Rect{5, 6, 0, 0}));
    platform::testing::GraphicsCanvas canvas(40, 40);
    layer.drawL(canvas.context(), {0, 0, 40, 40});
    for (int y = 0; y < 40; y += 3) {
      for (int x = 0; x < 40; x += 3) ASSERT_EQ(canvas.at(x, y).a, 0) << x << "," << y;
    }
    EXPECT_TRUE(record->isEqual(*before));
  }

  platform::testing::ScratchFolder folder_;
};

TEST_F(ImageLayerSources, LinkedFileIsReadWhenNothingIsEmbedded) {
  const auto path = write("picture.png", quadrantPicture());
  CMImageLayer layer(Dictionary::make({{"image_path", path.string()}}), 1);
  ASSERT_NE(layer.image(), nullptr);
  EXPECT_EQ(layer.layerRect().size, (platform::Size{20, 10}));
}

TEST_F(ImageLayerSources, EmbeddedBytesWinOverTheLink) {
  const auto path = write("big.png", document_testing::pngOf({64, 48}, Color{0, 0, 0, 1}));
  DictRef record = pictureRecord();
  record->set("image_path", path.string());
  EXPECT_EQ(CMImageLayer(record, 1).layerRect().size, (platform::Size{20, 10}));
  // Embedded bytes that cannot be decoded do not fall back to the link.
  record->set("image", platform::Bytes{1, 2, 3});
  EXPECT_EQ(CMImageLayer(record, 1).image(), nullptr);
}

TEST_F(ImageLayerSources, UnreadablePicturesDrawNothingAndLeaveTheRecord) {
  const DictRef base = Dictionary::make({{"x", 5}, {"y", 6}, {"width", 30}, {"height", 20}});
  DictRef missing = base->mutableCopy();
  missing->set("image_path", (folder_ / "absent.png").string());
  expectUnreadable(missing);

  DictRef garbageFile = base->mutableCopy();
  garbageFile->set("image_path", write("garbage.png", platform::Bytes(300, 0x5A)).string());
  expectUnreadable(garbageFile);

  DictRef folder = base->mutableCopy();
  folder->set("image_path", folder_.path().string());
  expectUnreadable(folder);

  DictRef garbageBytes = base->mutableCopy();
  garbageBytes->set("image", platform::Bytes{0x89, 'P', 'N', 'G', 0, 0, 0});
  expectUnreadable(garbageBytes);

  DictRef device = base->mutableCopy();
  device->set("image_path", "/dev/zero");
  expectUnreadable(device);
}

// Layers draw their content down the page: the canvas is turned over as a page is, and points are page points.
class ImageLayerDrawing : public document_testing::StyleCanvasTest {
 protected:
  ImageLayerDrawing() {
    context().translateCTM(0, kHeight);
    context().scaleCTM(1, -1);
  }
  // The pixel at page point (x, y), y down from the top.
  platform::testing::Pixel atPage(double x, double y) const { return at(x, kHeight - y - 0.5); }

  // The picture drawn with its origin at (0, 0), 40 × 20 so each quadrant is 20 × 10.
  void draw(bool flipH, bool flipV) {
    DictRef record = pictureRecord();
    record->set("width", 40);
    record->set("height", 20);
    record->set("flip_h", flipH);
    record->set("flip_v", flipV);
    CMImageLayer layer(record, 1);
    layer.drawL(context(), {0, 0, 40, 20});
  }

  // The colour of the quadrant at top left, top right, bottom left, bottom right of the page.
  std::vector<std::string> quadrants() const {
    std::vector<std::string> names;
    for (const auto& point : {std::pair{10, 5}, {30, 5}, {10, 15}, {30, 15}}) {
      const auto pixel = atPage(point.first, point.second);
      if (pixel.r == 255 && pixel.g == 0 && pixel.b == 0)
        names.push_back("red");
      else if (pixel.r == 0 && pixel.g == 255 && pixel.b == 0)
        names.push_back("green");
      else if (pixel.r == 0 && pixel.g == 0 && pixel.b == 255)
        names.push_back("blue");
      else if (pixel.r == 255 && pixel.g == 255 && pixel.b == 0)
        names.push_back("yellow");
      else
        names.push_back("other");
    }
    return names;
  }
};

TEST_F(ImageLayerDrawing, UnflippedPictureIsUpright) {
  draw(false, false);
  EXPECT_EQ(quadrants(), (std::vector<std::string>{"red", "green", "blue", "yellow"}));
  EXPECT_EQ(atPage(45, 10).a, 0);
}

TEST_F(ImageLayerDrawing, HorizontalFlipMirrorsLeftAndRight) {
  draw(true, false);
  EXPECT_EQ(quadrants(), (std::vector<std::string>{"green", "red", "yellow", "blue"}));
}

TEST_F(ImageLayerDrawing, VerticalFlipMirrorsTopAndBottom) {
  draw(false, true);
  EXPECT_EQ(quadrants(), (std::vector<std::string>{"blue", "yellow", "red", "green"}));
}

TEST_F(ImageLayerDrawing, BothFlipsTurnThePictureHalfATurnInItsBounds) {
  draw(true, true);
  EXPECT_EQ(quadrants(), (std::vector<std::string>{"yellow", "blue", "green", "red"}));
  EXPECT_EQ(atPage(45, 10).a, 0);
}

TEST_F(ImageLayerDrawing, OutlineClipsAndNothingLeaksIntoTheCaller) {
  DictRef record = pictureRecord();
  record->set("x", 0);
  record->set("y", 0);
  record->set("flip_h", true);
  record->set("flip_v", true);
  // A triangle over the left half in layer units.
  record->set("points", platform::Array::make({
                            Dictionary::make({{"id", 1}, {"point", "{0, 0}"}, {"type", 1}}),
                            Dictionary::make({{"id", 2}, {"point", "{0, 10}"}, {"type", 2}}),
                            Dictionary::make({{"id", 4}, {"point", "{10, 10}"}, {"type", 2}}),
                            Dictionary::make({{"id", 5}, {"point", "{10, 0}"}, {"type", 10}}),
                        }));
  CMImageLayer layer(record, 1);
  const platform::AffineTransform before = context().currentTransform();
  layer.drawL(context(), {0, 0, 20, 10});
  EXPECT_EQ(context().currentTransform(), before);
  // Turned half a turn: the left half now shows the old right half, yellow at the top.
  EXPECT_EQ(atPage(5, 3).g, 255);
  EXPECT_EQ(atPage(5, 3).r, 255);
  EXPECT_EQ(atPage(15, 3).a, 0);

  context().setFillColor(Color{0, 0, 1, 1});
  context().fillPath(platform::BezierPath::rect({0, 0, kWidth, kHeight}));
  EXPECT_EQ(at(15, 2).b, 255);
  EXPECT_EQ(at(kWidth - 2, kHeight - 2).b, 255);
  EXPECT_EQ(at(kWidth - 2, kHeight - 2).r, 0);
}

}  // namespace
