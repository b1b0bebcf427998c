#pragma once

// A right panel alone in a window of its own, as the right pane would hold it, with a document of hand-made
// records and a spy in the main window's place; real GDK events reach its views through GTK's dispatch.

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "../document/document_test_support.h"
#include "document/CMDocument.h"
#include "platform/core/main_queue.h"
#include "platform/ui/view.h"
#include "platform/ui/window.h"
#include "ui/CMPanelWindow.h"
#include "ui_test_harness.h"

namespace panel_testing {

class SpyPanelWindow final : public CMPanelWindow {
 public:
  void selectLayers(const std::vector<platform::DictRef>& records, const void* sender) override {
    selections.push_back({records, sender});
  }
  bool isShiftPressed() override { return shift; }
  void groupLayers(const std::vector<platform::DictRef>& records) override { grouped.push_back(records); }
  void ungroupLayers(const std::vector<platform::DictRef>& records) override { ungrouped.push_back(records); }
  platform::Window* sheetParent() override { return parent; }

  struct Selection {
    std::vector<platform::DictRef> records;
    const void* sender;
  };
  std::vector<Selection> selections;
  std::vector<std::vector<platform::DictRef>> grouped;
  std::vector<std::vector<platform::DictRef>> ungrouped;
  bool shift = false;
  platform::Window* parent = nullptr;
};

// A layer record with a name (none for an empty one).
inline platform::DictRef named(std::int64_t id, const std::string& name) {
  platform::DictRef record = document_testing::layer(id);
  if (!name.empty()) record->set("name", name);
  return record;
}

inline std::shared_ptr<CMDocument> documentWith(const platform::DictRef& root) {
  auto document = std::make_shared<CMDocument>();
  document->setData(root);
  return document;
}

inline void settle() {
  platform::drainMainQueue();
  platform::test::processPendingEvents();
  platform::drainMainQueue();
  platform::test::processPendingEvents();
}

// Waits (a second at most) until the window holds the keyboard focus, so that a focus arriving late cannot take it
// from a pop-up the test opens next.
inline void awaitFocus(Gtk::Window& window) {
  platform::iterateMainLoopUntil([&] { return window.has_toplevel_focus(); }, std::chrono::milliseconds(1000));
  settle();
}

// Lets GTK lay the widget out again (its frame clock's next ticks) before it is drawn for a probe.
inline platform::test::ImageSurface renderSettled(Gtk::Widget& widget) {
  settle();
  platform::iterateMainLoopUntil([] { return false; }, std::chrono::milliseconds(60));
  settle();
  return platform::test::renderWidget(widget);
}

class PanelTest : public ::testing::Test {
 protected:
  PanelTest() : previousWindow_(CMPanelWindow::install(spy_)) {}
  ~PanelTest() override { CMPanelWindow::install(previousWindow_); }

  // Shows the view alone in a window of the given size.
  void showInWindow(const std::shared_ptr<platform::View>& view, platform::Size size) {
    window_ = std::make_unique<platform::Window>(size);
    view->setFrame({0, 0, size.width, size.height});
    window_->setContentView(view);
    ASSERT_TRUE(platform::test::showAndSettle(*window_));
    spy_->parent = window_.get();
    settle();
  }

  // A real click through GDK's queue at a point of the view (its own coordinates, y as the view has it).
  static void click(platform::View& view, platform::Point point, unsigned state = 0) {
    const platform::Point pixel = view.localToGtk(point);
    platform::test::injectButton(view.widget(), GDK_BUTTON_PRESS, 1, pixel.x, pixel.y, state);
    platform::test::injectButton(view.widget(), GDK_BUTTON_RELEASE, 1, pixel.x, pixel.y, state);
    settle();
  }

  SpyPanelWindow& spy() { return *spy_; }
  platform::Window& window() { return *window_; }

  document_testing::ScratchFolders folders_;
  document_testing::ObservedModel model_;

 private:
  std::shared_ptr<SpyPanelWindow> spy_ = std::make_shared<SpyPanelWindow>();
  std::shared_ptr<CMPanelWindow> previousWindow_;
  std::unique_ptr<platform::Window> window_;
};

}  // namespace panel_testing
