// Rulers take bands above and left of the clip view while shown, follow the
// scroll with their zero mark at the document's origin plus the offset, and
// draw their marks where the document's coordinates are.

#include "platform/ui/ruler_view.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/ui/scroll_view.h"
#include "platform/ui/window.h"
#include "ui_test_harness.h"

namespace platform {
namespace {

class Document : public View {
 public:
  Document(Rect frame, bool flipped) : View(frame), flipped_(flipped) {}
  bool isFlipped() const override { return flipped_; }

 private:
  bool flipped_;
};

class CountingRuler : public RulerView {
 public:
  using RulerView::RulerView;
  void drawHashMarksAndLabelsInRect(const Rect&) override { ++drawn; }
  int drawn = 0;
};

class RulerViewTest : public testing::Test {
 protected:
  void open(bool flipped) {
    document = std::make_shared<Document>(Rect{0, 0, 1000, 800}, flipped);
    scroll = std::make_shared<ScrollView>(Rect{0, 0, 300, 200});
    scroll->setDocumentView(document);
    window.setContentView(scroll);
    ASSERT_TRUE(test::showAndSettle(window));
  }

  Window window{{300, 200}};
  std::shared_ptr<Document> document;
  std::shared_ptr<ScrollView> scroll;
};

TEST_F(RulerViewTest, BandsAppearOnlyWhenVisibleAndWanted) {
  open(true);
  scroll->setRulersVisible(true);  // no rulers yet: nothing changes
  EXPECT_EQ(scroll->contentView().frame(), (Rect{0, 14, 286, 186}));
  scroll->setHasHorizontalRuler(true);
  scroll->setHasVerticalRuler(true);
  ASSERT_NE(scroll->horizontalRulerView(), nullptr);
  EXPECT_EQ(scroll->horizontalRulerView()->measurementUnits(), "Points");
  // Bands 16 thick: above the clip view and at its left, the scroll bars keep their places.
  EXPECT_EQ(scroll->contentView().frame(), (Rect{16, 14, 270, 170}));
  EXPECT_EQ(scroll->horizontalRulerView()->frame(), (Rect{16, 184, 270, 16}));
  EXPECT_EQ(scroll->verticalRulerView()->frame(), (Rect{0, 14, 16, 170}));
  EXPECT_FALSE(scroll->horizontalRulerView()->isHidden());

  scroll->verticalRulerView()->setRuleThickness(30);
  EXPECT_EQ(scroll->contentView().frame(), (Rect{30, 14, 256, 170}));
  scroll->setHasVerticalRuler(false);
  EXPECT_EQ(scroll->contentView().frame(), (Rect{0, 14, 286, 170}));
  EXPECT_TRUE(scroll->verticalRulerView()->isHidden());
  scroll->setRulersVisible(false);
  EXPECT_EQ(scroll->contentView().frame(), (Rect{0, 14, 286, 186}));
  EXPECT_TRUE(scroll->horizontalRulerView()->isHidden());
}

TEST_F(RulerViewTest, ZeroMarkFollowsTheScrollAndTheOffset) {
  open(true);
  scroll->setHasHorizontalRuler(true);
  scroll->setHasVerticalRuler(true);
  scroll->setRulersVisible(true);
  RulerView& top = *scroll->horizontalRulerView();
  RulerView& left = *scroll->verticalRulerView();
  top.setOriginOffset(30);
  left.setOriginOffset(20);
  EXPECT_EQ(top.scale().zeroPosition, 30);
  EXPECT_EQ(top.scale().pixelsPerPoint, 1);
  scroll->scrollToPoint({100, 50});
  EXPECT_EQ(top.locationOfDocumentCoordinate(100), 0);
  EXPECT_EQ(top.scale().zeroPosition, -70);
  // Flipped document, flipped ruler: both count down from the top.
  EXPECT_EQ(left.scale().zeroPosition, 20 - 50);
  EXPECT_EQ(left.scale().pixelsPerPoint, 1);
  EXPECT_FALSE(top.setMeasurementUnits("Furlongs"));
  EXPECT_TRUE(top.setMeasurementUnits("Inches"));
  EXPECT_EQ(top.measurementUnits(), "Inches");
}

TEST_F(RulerViewTest, AnUnflippedDocumentRunsUpTheVerticalRuler) {
  open(false);
  scroll->setHasVerticalRuler(true);
  scroll->setRulersVisible(true);
  scroll->scrollToPoint({0, 0});  // the document's bottom fills the clip view's bottom
  const RulerView& left = *scroll->verticalRulerView();
  // The clip view is 186 high; the ruler is flipped, so document y 0 is at the ruler's bottom.
  EXPECT_EQ(left.locationOfDocumentCoordinate(0), 186);
  EXPECT_EQ(left.scale().pixelsPerPoint, -1);
}

TEST_F(RulerViewTest, MarksAreDrawnWhereTheDocumentCoordinatesAre) {
  open(true);
  scroll->setHasHorizontalRuler(true);
  scroll->setRulersVisible(true);
  RulerView& top = *scroll->horizontalRulerView();
  top.setOriginOffset(140);  // the zero mark 140 pixels into the ruler
  test::processPendingEvents();
  test::ImageSurface image = test::renderWidget(top.widget());
  // The labelled zero mark crosses the whole band; half way between marks (6.25 apart) the band is plain.
  for (int y : {1, 8, 14}) EXPECT_LT(test::pixelAt(image.get(), 140, y).red, 150) << y;
  EXPECT_GT(test::pixelAt(image.get(), 143, 14).red, 200);
  // The mark 50 points on (level 1) reaches half the band; the one at 25 a quarter.
  EXPECT_LT(test::pixelAt(image.get(), 190, 10).red, 150);
  EXPECT_GT(test::pixelAt(image.get(), 190, 6).red, 200);
  EXPECT_LT(test::pixelAt(image.get(), 165, 13).red, 150);
  EXPECT_GT(test::pixelAt(image.get(), 165, 10).red, 200);
}

TEST_F(RulerViewTest, ReplacedRulersMoveBetweenScrollViewsAndOutliveThem) {
  open(true);
  auto custom = std::make_shared<CountingRuler>(RulerOrientation::Horizontal);
  scroll->setHorizontalRulerView(custom);
  scroll->setHasHorizontalRuler(true);
  scroll->setRulersVisible(true);
  EXPECT_EQ(scroll->horizontalRulerView(), custom.get());
  EXPECT_EQ(custom->clientView(), document.get());
  test::processPendingEvents();
  test::renderWidget(custom->widget());
  EXPECT_GT(custom->drawn, 0);

  auto other = std::make_shared<ScrollView>(Rect{0, 0, 100, 100});
  other->setHorizontalRulerView(custom);
  EXPECT_EQ(scroll->horizontalRulerView(), nullptr);
  EXPECT_EQ(scroll->contentView().frame(), (Rect{0, 14, 286, 186}));
  EXPECT_EQ(custom->scrollView(), other.get());
  EXPECT_EQ(custom->superview(), other.get());
  other.reset();
  EXPECT_EQ(custom->scrollView(), nullptr);
  EXPECT_EQ(custom->clientView(), nullptr);
}

}  // namespace
}  // namespace platform
