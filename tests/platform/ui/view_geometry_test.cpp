// Frames, bounds and conversions between y-up and flipped views, computed by hand.

#include <gtest/gtest.h>
#include <gtkmm/widget.h>

#include <memory>

#include "platform/ui/view.h"

namespace platform {
namespace {

class FlippedView : public View {
 public:
  using View::View;
  bool isFlipped() const override { return true; }
};

TEST(ViewGeometry, UnflippedChildLandsMeasuredFromTheParentsBottom) {
  auto parent = std::make_shared<View>(Rect{0, 0, 100, 100});
  auto child = std::make_shared<View>(Rect{10, 10, 50, 20});
  parent->addSubview(child);
  // The child's top is at y 30 from the bottom, so 100 − 30 = 70 from the top.
  EXPECT_EQ(child->frameInGtkParent(), (Rect{10, 70, 50, 20}));
}

TEST(ViewGeometry, ChildOfAFlippedParentKeepsItsYAsGiven) {
  auto parent = std::make_shared<FlippedView>(Rect{0, 0, 100, 100});
  auto child = std::make_shared<View>(Rect{10, 10, 50, 20});
  parent->addSubview(child);
  EXPECT_EQ(child->frameInGtkParent(), (Rect{10, 10, 50, 20}));
}

TEST(ViewGeometry, ParentBoundsOriginShiftsChildren) {
  auto parent = std::make_shared<View>(Rect{0, 0, 100, 100});
  parent->setBoundsOrigin({5, -10});
  auto child = std::make_shared<View>(Rect{10, 10, 50, 20});
  parent->addSubview(child);
  // x: 10 − 5; top in parent coordinates 30, i.e. 40 above the bounds' bottom edge at −10: 100 − 40 = 60.
  EXPECT_EQ(child->frameInGtkParent(), (Rect{5, 60, 50, 20}));
}

TEST(ViewGeometry, ParentHeightChangeMovesUnflippedChildren) {
  auto parent = std::make_shared<View>(Rect{0, 0, 100, 100});
  auto child = std::make_shared<View>(Rect{10, 10, 50, 20});
  parent->addSubview(child);
  parent->setFrameSize({100, 200});
  EXPECT_EQ(child->frameInGtkParent().origin.y, 170);
}

TEST(ViewGeometry, ConvertsThroughMixedOrientations) {
  // root 200 high (y up) ⊃ flipped panel at (20, 50) 100×100 ⊃ y-up leaf at (10, 10) 40×30 in the panel's y-down space.
  auto root = std::make_shared<View>(Rect{0, 0, 200, 200});
  auto panel = std::make_shared<FlippedView>(Rect{20, 50, 100, 100});
  auto leaf = std::make_shared<View>(Rect{10, 10, 40, 30});
  root->addSubview(panel);
  panel->addSubview(leaf);
  // Leaf point (0, 0) is its bottom-left: panel y-down 10 + 30 = 40; panel top is root y 150, so window y 110.
  EXPECT_EQ(leaf->convertPointToWindow({0, 0}), (Point{30, 110}));
  EXPECT_EQ(leaf->convertPointToWindow({40, 30}), (Point{70, 140}));
  EXPECT_EQ(panel->convertPointToWindow({0, 0}), (Point{20, 150}));
  EXPECT_EQ(leaf->convertPointFromWindow({30, 110}), (Point{0, 0}));
  EXPECT_EQ(leaf->convertPointToView({5, 5}, panel.get()), (Point{15, 35}));
  EXPECT_EQ(panel->convertPointToView({15, 35}, leaf.get()), (Point{5, 5}));
  EXPECT_EQ(leaf->convertPointFromView({15, 35}, panel.get()), (Point{5, 5}));
  EXPECT_EQ(root->convertPointFromView({0, 0}, nullptr), (Point{0, 0}));
}

TEST(ViewGeometry, HitTestFindsTheTopmostVisibleDeepestView) {
  auto root = std::make_shared<View>(Rect{0, 0, 200, 200});
  auto lower = std::make_shared<View>(Rect{0, 0, 100, 100});
  auto upper = std::make_shared<FlippedView>(Rect{50, 50, 100, 100});
  auto inner = std::make_shared<View>(Rect{0, 0, 10, 10});  // top-left corner of `upper`, as it is flipped
  root->addSubview(lower);
  root->addSubview(upper);
  upper->addSubview(inner);
  EXPECT_EQ(root->hitTest({75, 75}), upper.get());
  EXPECT_EQ(root->hitTest({25, 25}), lower.get());
  EXPECT_EQ(root->hitTest({55, 145}), inner.get());
  EXPECT_EQ(root->hitTest({55, 55}), upper.get());
  EXPECT_EQ(root->hitTest({199, 199}), root.get());
  EXPECT_EQ(root->hitTest({200, 10}), nullptr);
  EXPECT_EQ(root->hitTest({-1, 10}), nullptr);
  upper->setHidden(true);
  EXPECT_EQ(root->hitTest({75, 75}), lower.get());
}

TEST(ViewHierarchy, AddingMovesTheViewAndRejectsCycles) {
  auto a = std::make_shared<View>(Rect{0, 0, 10, 10});
  auto b = std::make_shared<View>(Rect{0, 0, 10, 10});
  auto child = std::make_shared<View>(Rect{0, 0, 5, 5});
  a->addSubview(child);
  b->addSubview(child);
  EXPECT_TRUE(a->subviews().empty());
  ASSERT_EQ(b->subviews().size(), 1u);
  EXPECT_EQ(child->superview(), b.get());
  child->addSubview(b);  // b is an ancestor: refused
  EXPECT_TRUE(child->subviews().empty());
  EXPECT_EQ(b->superview(), nullptr);
}

TEST(ViewHierarchy, RemovingTheLastReferenceFromItselfIsSafe) {
  auto parent = std::make_shared<View>(Rect{0, 0, 10, 10});
  std::weak_ptr<View> watcher;
  {
    auto child = std::make_shared<View>(Rect{0, 0, 5, 5});
    watcher = child;
    parent->addSubview(child);
  }
  parent->subviews().front()->removeFromSuperview();
  EXPECT_TRUE(watcher.expired());
  EXPECT_TRUE(parent->subviews().empty());
}

TEST(ViewHierarchy, DestroyingAParentOrphansSurvivingChildren) {
  auto child = std::make_shared<View>(Rect{0, 0, 5, 5});
  {
    auto parent = std::make_shared<View>(Rect{0, 0, 10, 10});
    parent->addSubview(child);
  }
  EXPECT_EQ(child->superview(), nullptr);
  EXPECT_EQ(child->widget().get_parent(), nullptr);
}

}  // namespace
}  // namespace platform
