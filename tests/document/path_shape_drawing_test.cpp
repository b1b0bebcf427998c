#include <gtest/gtest.h>

#include "document/CMPathShape.h"
#include "style_canvas.h"

using platform::Array;
using platform::Dictionary;
using platform::DictRef;

namespace {

DictRef colour(double r, double g, double b) { return Dictionary::make({{"r", r}, {"g", g}, {"b", b}}); }

DictRef paint(bool use, DictRef colourRecord, double lineWidth = 0) {
  return Dictionary::make({{"use", use}, {"type", 1}, {"color", colourRecord}, {"lineWidth", lineWidth}});
}

// A 40 by 40 square placed away from the origin: drawing moves it to (0, 0).
DictRef squareRecord() {
  return Dictionary::make(
      {{"points", Array::make({Dictionary::make({{"id", 1}, {"point", "{30, 30}"}, {"type", 1}}),
                               Dictionary::make({{"id", 2}, {"point", "{70, 30}"}, {"type", 2}}),
                               Dictionary::make({{"id", 3}, {"point", "{70, 70}"}, {"type", 2}}),
                               Dictionary::make({{"id", 4}, {"point", "{30, 70}"}, {"type", 10}})})}});
}

DictRef farShadow() {
  return Dictionary::make({{"use", true}, {"offset_x", 100}, {"offset_y", 0}, {"color", colour(0, 0, 0)}});
}

class PathShapeDrawing : public document_testing::StyleCanvasTest {
 protected:
  void draw(const DictRef& record) {
    auto shape = shapeWithDictionary<CMPathShape>(record);
    shape->setViewZoom(1);
    shape->draw(context(), {});
  }
};

TEST_F(PathShapeDrawing, OnlyUsedFillSlotsPaint) {
  DictRef record = squareRecord();
  record->set("fill", paint(false, colour(255, 0, 0)));
  record->set("fill3", paint(true, colour(0, 255, 0)));
  auto shape = shapeWithDictionary<CMPathShape>(record);
  EXPECT_TRUE(shape->isFill());
  draw(record);
  EXPECT_EQ(at(20, 20).g, 255);
  EXPECT_EQ(at(20, 20).r, 0);
  EXPECT_EQ(at(60, 20).a, 0);  // drawn at the origin, not at the record's (30, 30)

  record->set("fill3", paint(false, colour(0, 255, 0)));
  EXPECT_FALSE(shape->isFill());
}

TEST_F(PathShapeDrawing, WithAFillOnlyTheFillsCastTheShadow) {
  DictRef record = squareRecord();
  record->set("fill", paint(true, colour(255, 0, 0)));
  record->set("stroke", paint(true, colour(0, 0, 255), 10));
  record->set("shadow", farShadow());
  draw(record);
  EXPECT_EQ(at(120, 20).a, 255);  // the fill's shadow
  EXPECT_EQ(at(142, 20).a, 0);    // the stroke's outer half would cast one here
  EXPECT_EQ(at(42, 20).b, 255);   // the stroke itself is drawn
}

TEST_F(PathShapeDrawing, WithoutAFillTheStrokesCastTheShadow) {
  DictRef record = squareRecord();
  record->set("stroke", paint(true, colour(0, 0, 255), 10));
  record->set("shadow", farShadow());
  draw(record);
  EXPECT_EQ(at(142, 20).a, 255);
  EXPECT_EQ(at(120, 20).a, 0);  // the inside stays unpainted
}

TEST_F(PathShapeDrawing, FrameIsADashedBlackAndWhiteOutline) {
  DictRef record = squareRecord();
  auto shape = shapeWithDictionary<CMPathShape>(record);
  shape->setViewZoom(1);
  shape->drawFrame(context(), {});
  // Along the bottom edge (y 0..1 inside the canvas): dashes of 3 alternate black and white.
  int black = 0;
  int white = 0;
  for (int x = 2; x < 38; ++x) {
    const auto pixel = at(x + 0.5, 0.5);
    if (pixel.a == 255 && pixel.r == 0) ++black;
    if (pixel.a == 255 && pixel.r == 255) ++white;
  }
  EXPECT_GT(black, 8);
  EXPECT_GT(white, 8);
}

}  // namespace
