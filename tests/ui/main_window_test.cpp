// The main window: its size and place on the screen, the document tabs and the
// Window menu as documents come and go, and the title with the zoom.

#include <gdkmm/display.h>
#include <gdkmm/monitor.h>
#include <gtk/gtk.h>
#include <gtkmm/menuitem.h>

#include <algorithm>
#include <string>

#include "canvas/CMFrameEditorView.h"
#include "document/CMNotificationNames.h"
#include "platform/core/notification_center.h"
#include "main_window_fixture.h"
#include "ui/CMPlainPanes.h"
#include "ui/CPMainView.h"
#include "ui_test_harness.h"

namespace ui_testing {
namespace {

Gdk::Rectangle screenArea() {
  Gdk::Rectangle area;
  Glib::RefPtr<Gdk::Monitor> monitor = Gdk::Display::get_default()->get_primary_monitor();
  if (!monitor) monitor = Gdk::Display::get_default()->get_monitor(0);
  monitor->get_geometry(area);
  return area;
}

std::vector<std::string> windowMenuTitles(CMMainWindowController& controller) {
  std::vector<std::string> titles;
  for (const auto& menu : controller.mainMenu().menus()) {
    auto* owner = dynamic_cast<Gtk::MenuItem*>(menu->gtkMenu().get_attach_widget());
    if (!owner || owner->get_label() != "Window") continue;
    for (Gtk::Widget* child : menu->gtkMenu().get_children()) {
      if (auto* entry = dynamic_cast<Gtk::MenuItem*>(child)) titles.push_back(entry->get_label());
    }
  }
  return titles;
}

Gtk::MenuItem* windowMenuEntry(CMMainWindowController& controller, const std::string& title) {
  for (const auto& menu : controller.mainMenu().menus()) {
    for (Gtk::Widget* child : menu->gtkMenu().get_children()) {
      auto* entry = dynamic_cast<Gtk::MenuItem*>(child);
      if (entry && entry->get_label() == title) return entry;
    }
  }
  return nullptr;
}

using MainWindow = MainWindowTest;

TEST_F(MainWindow, TakesTheScreenLess120By140AndIsCentred) {
  auto document = newDrawing();
  window->showWindow();
  ASSERT_TRUE(platform::test::showAndSettle(window->window()));
  const Gdk::Rectangle screen = screenArea();
  int width = 0;
  int height = 0;
  window->window().gtkWindow().get_size(width, height);
  EXPECT_EQ(width, screen.get_width() - 120);
  EXPECT_EQ(height, screen.get_height() - 140);
  int x = 0;
  int y = 0;
  window->window().gtkWindow().get_window()->get_root_origin(x, y);
  EXPECT_EQ(x, screen.get_x() + 60);
  EXPECT_EQ(y, screen.get_y() + 70);
}

TEST_F(MainWindow, TitleIsTheDocumentNameWithItsZoom) {
  auto document = newDrawing();
  EXPECT_EQ(window->window().title(), "Untitled, 100%");
  ASSERT_NE(item("View", "Zoom In"), nullptr);
  item("View", "Zoom In")->perform();
  EXPECT_EQ(window->window().title(), "Untitled, 200%");
  EXPECT_FLOAT_EQ(document->data()->get("zoom").floatValue(), 2.0f);
  item("View", "Actual Size")->perform();
  EXPECT_EQ(window->window().title(), "Untitled, 100%");
}

TEST_F(MainWindow, TabsShowOnlyWithTwoDocumentsOrMore) {
  auto first = newDrawing();
  CPMainView& view = *window->mainView();
  EXPECT_TRUE(view.documentSelector().isHidden());
  const double toolbarTop = view.topToolbar().frame().origin.y + view.topToolbar().frame().size.height;
  EXPECT_DOUBLE_EQ(toolbarTop, view.frame().size.height);

  auto second = newDrawing();
  EXPECT_FALSE(view.documentSelector().isHidden());
  EXPECT_DOUBLE_EQ(view.documentSelector().frame().origin.y + CMDocumentSelectorView::kHeight, view.frame().size.height);
  EXPECT_DOUBLE_EQ(view.topToolbar().frame().origin.y + view.topToolbar().frame().size.height,
                   view.frame().size.height - CMDocumentSelectorView::kHeight);

  item("File", "Close")->perform();
  settle();
  EXPECT_EQ(documents->documents().size(), 1u);
  EXPECT_TRUE(view.documentSelector().isHidden());
  EXPECT_EQ(window->drawing(), first);
}

TEST_F(MainWindow, WindowMenuListsTheDocumentsAndSwitchesBetweenThem) {
  auto first = newDrawing();
  auto second = newDrawing();
  EXPECT_EQ(window->drawing(), second);
  std::vector<std::string> titles = windowMenuTitles(*window);
  ASSERT_EQ(titles.size(), 2u);
  EXPECT_NE(std::find(titles.begin(), titles.end(), "Untitled, 100%"), titles.end());
  EXPECT_NE(std::find(titles.begin(), titles.end(), "Untitled 2, 100%"), titles.end());

  // Choosing the other document's entry shows it in the one window.
  Gtk::MenuItem* other = windowMenuEntry(*window, "Untitled, 100%");
  ASSERT_NE(other, nullptr);
  other->activate();
  settle();
  EXPECT_EQ(window->drawing(), first);
  EXPECT_EQ(window->window().title(), "Untitled, 100%");
  titles = windowMenuTitles(*window);
  EXPECT_EQ(titles.size(), 2u);
}

TEST_F(MainWindow, ShowsTheDocumentOnTheCanvas) {
  auto document = newDrawing();
  EXPECT_EQ(window->workView().document(), document);
  EXPECT_EQ(window->editor().document(), document);
  EXPECT_EQ(CMProject::shareProject().mainView(), window->mainView());
  // The model and the canvas reach this window through their services.
  EXPECT_EQ(CMMainWindowController::sharedWindowController(), window);
  EXPECT_EQ(&CMMainWindowService::shared(), static_cast<CMMainWindowService*>(window.get()));
  EXPECT_EQ(&CMCanvasWindowService::shared(), static_cast<CMCanvasWindowService*>(window.get()));
}

TEST_F(MainWindow, CanvasRefreshIsQueuedAndRunsOnce) {
  auto document = newDrawing();
  document->addObject("rect", {10, 10});
  document->addObject("rect", {50, 10});
  window->updateEditor();
  window->updateEditor();
  // Edits ask for the refresh in the middle of their work: nothing is rebuilt until the main queue runs.
  EXPECT_TRUE(window->editor().layers().empty());
  platform::drainMainQueue();
  EXPECT_EQ(window->editor().layers().size(), 2u);
}

TEST_F(MainWindow, SelectedLayerIsForgottenWhenLayersChangeOrAnotherDocumentShows) {
  auto first = newDrawing();
  platform::DictRef record = first->addObject("rect", {10, 10});
  window->setSelectedLayer(record);
  EXPECT_EQ(window->selectedLayer(), record);
  platform::NotificationCenter::defaultCenter().post(kNotificationLayersChanged);
  EXPECT_EQ(window->selectedLayer(), nullptr);

  window->setSelectedLayer(record);
  window->updateDocument();  // the same document again keeps it
  EXPECT_EQ(window->selectedLayer(), record);
  newDrawing();
  EXPECT_EQ(window->selectedLayer(), nullptr);
}

TEST_F(MainWindow, KeysReachTheCanvasThroughTheMainView) {
  auto document = newDrawing();
  const platform::DictRef kept = document->addObject("rect", {10, 10});
  const platform::DictRef doomed = document->addObject("rect", {200, 10});
  window->updateEditor();
  settle();
  for (const auto& layer : window->editor().layers()) {
    if (layer->data() != doomed) continue;
    layer->setSelected(true);
    window->editor().setSelectedLayer(layer);
  }
  ASSERT_EQ(window->window().firstResponder(), window->mainView());
  // Backspace, as a PC keyboard's key above Return sends it.
  window->window().sendEvent(platform::test::keyEvent(platform::EventType::KeyDown, "\x7f", 51));
  settle();
  const platform::ArrayRef layers = document->data()->get("layers").array();
  ASSERT_EQ(layers->size(), 1u);
  EXPECT_EQ(layers->at(0).dictionary(), kept);
}

}  // namespace
}  // namespace ui_testing
