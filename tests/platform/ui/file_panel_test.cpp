// Save and open panels: filters from the allowed types, the extension added,
// answers after closing.

#include "platform/ui/file_panel.h"

#include <gtest/gtest.h>
#include <gtkmm/filefilter.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/core/main_queue.h"
#include "platform/ui/window.h"
#include "ui_test_harness.h"

namespace platform {
namespace {

bool filterAccepts(const Glib::RefPtr<Gtk::FileFilter>& filter, const char* name) {
  GtkFileFilterInfo info{};
  info.contains = GTK_FILE_FILTER_DISPLAY_NAME;
  info.display_name = name;
  return gtk_file_filter_filter(filter->gobj(), &info);
}

TEST(FilePanel, SavePanelFiltersByTypeAndAddsTheExtension) {
  Window window({200, 100});
  const std::filesystem::path folder = std::filesystem::temp_directory_path();
  auto panel = FilePanel::savePanel();
  panel->setAllowedFileTypes({"slib"});
  panel->setDirectory(folder.string());
  panel->setNameFieldStringValue("Shapes");
  bool accepted = false;
  bool answered = false;
  panel->beginSheet(window, [&](bool ok) {
    answered = true;
    accepted = ok;
  });
  Gtk::FileChooserDialog* dialog = panel->dialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->get_transient_for(), &window.gtkWindow());
  const auto filters = dialog->list_filters();
  ASSERT_EQ(filters.size(), 1u);
  EXPECT_TRUE(filterAccepts(filters[0], "Library.slib"));
  EXPECT_TRUE(filterAccepts(filters[0], "LIBRARY.SLIB"));
  EXPECT_FALSE(filterAccepts(filters[0], "Library.slib.txt"));

  iterateMainLoopUntil([&] { return !dialog->get_filename().empty(); }, std::chrono::seconds(3));
  dialog->response(Gtk::RESPONSE_ACCEPT);
  EXPECT_FALSE(answered);
  // GTK checks the chosen folder asynchronously before it lets a save dialog answer.
  EXPECT_TRUE(iterateMainLoopUntil([&] { return answered; }, std::chrono::seconds(5)));
  EXPECT_TRUE(accepted);
  ASSERT_EQ(panel->paths().size(), 1u);
  EXPECT_EQ(std::filesystem::path(panel->paths()[0]), folder / "Shapes.slib");
  EXPECT_EQ(panel->dialog(), nullptr);
}

// Types that share spellings ("jpeg" and "jpg" name one type) are offered once each, and in any letter case.
TEST(FilePanel, OpenPanelOffersEachSpellingOnce) {
  Window window({200, 100});
  auto panel = FilePanel::openPanel();
  panel->setAllowedFileTypes({"png", "jpeg", "jpe", "jpg", "tif", "tiff", "svg"});
  panel->beginSheet(window, [](bool) {});
  ASSERT_NE(panel->dialog(), nullptr);
  const auto filters = panel->dialog()->list_filters();
  ASSERT_EQ(filters.size(), 1u);
  EXPECT_EQ(filters[0]->get_name(), "png, jpeg, jpg, jpe, tiff, tif, svg");
  for (const char* name : {"a.JPG", "a.Tif", "a.jpe", "a.SvG"}) EXPECT_TRUE(filterAccepts(filters[0], name)) << name;
  EXPECT_FALSE(filterAccepts(filters[0], "a.svgz"));
  panel->dialog()->response(Gtk::RESPONSE_CANCEL);
  drainMainQueue();
}

TEST(FilePanel, CancelledOpenPanelAnswersNoWithNoPaths) {
  Window window({200, 100});
  auto panel = FilePanel::openPanel();
  panel->setAllowsMultipleSelection(true);
  int answers = 0;
  bool accepted = true;
  panel->beginSheet(window, [&](bool ok) {
    ++answers;
    accepted = ok;
  });
  ASSERT_NE(panel->dialog(), nullptr);
  EXPECT_TRUE(panel->dialog()->get_select_multiple());
  EXPECT_TRUE(panel->dialog()->list_filters().empty());
  panel->dialog()->response(Gtk::RESPONSE_CANCEL);
  drainMainQueue();
  EXPECT_EQ(answers, 1);
  EXPECT_FALSE(accepted);
  EXPECT_TRUE(panel->paths().empty());
}

}  // namespace
}  // namespace platform
