// A control whose action rebuilds the view that owns it (a panel recreating its
// rows from the "Is Mask" check box) must not be destroyed under its own GTK
// handler: its widget lives until the main queue's next turn.

#include <gtest/gtest.h>

#include <memory>

#include "platform/core/main_queue.h"
#include "platform/ui/button.h"
#include "platform/ui/window.h"
#include "ui_test_harness.h"

namespace platform {
namespace {

class RebuildingPanel : public View {
 public:
  using View::View;

  void rebuild() {
    while (!subviews().empty()) subviews().back()->removeFromSuperview();
    auto box = std::make_shared<Button>(Rect{10, 10, 120, 30}, ButtonType::Switch, "Is Mask");
    box->setAction([this](Control&) {
      ++rebuilds;
      rebuild();
    });
    addSubview(box);
    current = box.get();
  }

  Button* current = nullptr;
  int rebuilds = 0;
};

void markFinalized(gpointer flag, GObject*) { *static_cast<bool*>(flag) = true; }

TEST(ControlRebuild, ActionThatReplacesItsOwnSenderIsSafe) {
  Window window({300, 200});
  auto panel = std::make_shared<RebuildingPanel>(Rect{0, 0, 300, 200});
  window.setContentView(panel);
  panel->rebuild();
  ASSERT_TRUE(test::showAndSettle(window));

  Button* first = panel->current;
  struct Watch {
    bool finalized = false;
    bool laterHandlerRan = false;
    bool finalizedDuringEmission = false;
  } watch;
  g_object_weak_ref(G_OBJECT(first->gtkButton().gobj()), markFinalized, &watch.finalized);
  // A handler connected after the action's runs once the action has replaced the sender: the widget must still be
  // alive then (AddressSanitizer would catch it otherwise).
  g_signal_connect_after(first->gtkButton().gobj(), "toggled", G_CALLBACK(+[](GtkToggleButton*, Watch* w) {
                           w->laterHandlerRan = true;
                           w->finalizedDuringEmission = w->finalized;
                         }),
                         &watch);
  test::clickButton(first->gtkButton());
  EXPECT_EQ(panel->rebuilds, 1);
  ASSERT_EQ(panel->subviews().size(), 1u);
  EXPECT_NE(panel->current, first);
  EXPECT_TRUE(watch.laterHandlerRan);
  EXPECT_FALSE(watch.finalizedDuringEmission);
  // Then the main queue lets it go.
  drainMainQueue();
  EXPECT_TRUE(watch.finalized);

  // The replacement works the same way.
  ASSERT_TRUE(test::showAndSettle(window));
  test::clickButton(panel->current->gtkButton());
  EXPECT_EQ(panel->rebuilds, 2);
  drainMainQueue();
}

}  // namespace
}  // namespace platform
