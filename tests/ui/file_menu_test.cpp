// The File menu through the real GTK dialogs: save a new drawing into a
// folder, close an edited one and answer Save / Don't Save / Cancel, open it
// again with its layers, Save of a CorelDRAW drawing asking for a drawing file,
// and the "Error" alert when a file cannot be read.

#include <gtkmm/filechooserdialog.h>
#include <gtkmm/filefilter.h>
#include <gtkmm/messagedialog.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "../../platform/core/scratch_folder.h"
#include "../document/corel_draw_reader_fake.h"
#include "main_window_fixture.h"
#include "platform/ui/alert.h"
#include "platform/ui/file_panel.h"

namespace ui_testing {
namespace {

using namespace std::chrono_literals;

bool filterAccepts(const Glib::RefPtr<Gtk::FileFilter>& filter, const char* name) {
  GtkFileFilterInfo info{};
  info.contains = GTK_FILE_FILTER_DISPLAY_NAME;
  info.display_name = name;
  return gtk_file_filter_filter(filter->gobj(), &info);
}

class FileMenu : public MainWindowTest {
 protected:
  bool answerSavePanel(const std::string& name) { return MainWindowTest::answerSavePanel(folder.path(), name); }

  // Answers the alert up now with its button at `index` (in the order the buttons were added).
  bool answerAlert(int index) {
    platform::Alert* alert = window->dialogs().currentAlert();
    if (!alert || !alert->dialog()) return false;
    alert->dialog()->response(index);
    return platform::iterateMainLoopUntil([&] { return window->dialogs().currentAlert() == nullptr; }, 3s);
  }

  // A saved drawing with one rectangle, closed again.
  std::filesystem::path savedDrawing(const std::string& name) {
    auto document = newDrawing();
    document->addObject("rect", {30, 40});
    item("File", "Save")->perform();
    EXPECT_TRUE(answerSavePanel(name));
    item("File", "Close")->perform();
    settle();
    return folder / name;
  }

  platform::testing::ScratchFolder folder;
};

constexpr int kSave = 0;
constexpr int kDontSave = 1;
constexpr int kCancel = 2;

TEST_F(FileMenu, NewDocumentSavesIntoTheChosenFolderAndTakesItsName) {
  newDrawing();
  ASSERT_EQ(documents->documents().size(), 1u);
  auto document = window->drawing();
  document->addObject("rect", {30, 40});
  EXPECT_TRUE(document->isDocumentEdited());

  item("File", "Save")->perform();
  ASSERT_TRUE(answerSavePanel("Drawing"));
  const std::filesystem::path file = folder / "Drawing.vard";
  EXPECT_TRUE(std::filesystem::exists(file));
  EXPECT_FALSE(document->isDocumentEdited());
  EXPECT_EQ(window->window().title(), "Drawing.vard, 100%");
}

TEST_F(FileMenu, OpenPanelOffersDrawingsAndCorelFiles) {
  item("File", "Open")->perform();
  Gtk::FileChooserDialog* dialog = filePanelDialog();
  ASSERT_NE(dialog, nullptr);
  const auto filters = dialog->list_filters();
  ASSERT_EQ(filters.size(), 1u);
  EXPECT_TRUE(filterAccepts(filters[0], "a.vard"));
  EXPECT_TRUE(filterAccepts(filters[0], "b.cdr"));
  EXPECT_FALSE(filterAccepts(filters[0], "c.svg"));
  dialog->response(Gtk::RESPONSE_CANCEL);
  EXPECT_TRUE(platform::iterateMainLoopUntil([&] { return window->dialogs().currentFilePanel() == nullptr; }, 3s));
  EXPECT_TRUE(documents->documents().empty());
}

TEST_F(FileMenu, ClosingAnEditedDocumentAndSavingWritesTheFile) {
  const std::filesystem::path file = savedDrawing("Kept.vard");
  ASSERT_TRUE(documents->documents().empty());

  ASSERT_TRUE(documents->openDocument(file).ok());
  settle();
  auto document = window->drawing();
  ASSERT_EQ(document->data()->get("layers").array()->size(), 1u);
  document->addObject("oval", {200, 100});
  item("File", "Close")->perform();
  ASSERT_NE(window->dialogs().currentAlert(), nullptr);
  ASSERT_TRUE(answerAlert(kSave));
  settle();
  EXPECT_TRUE(documents->documents().empty());

  // Open through the panel: both layers came back from the file.
  item("File", "Open")->perform();
  ASSERT_TRUE(answerOpenPanel(file));
  settle();
  ASSERT_EQ(documents->documents().size(), 1u);
  EXPECT_EQ(window->drawing()->data()->get("layers").array()->size(), 2u);
  EXPECT_EQ(window->window().title(), "Kept.vard, 100%");
}

TEST_F(FileMenu, DontSaveClosesAndLeavesTheFileAsItWas) {
  const std::filesystem::path file = savedDrawing("Plain.vard");
  const auto before = std::filesystem::file_size(file);
  ASSERT_TRUE(documents->openDocument(file).ok());
  settle();
  window->drawing()->addObject("oval", {200, 100});
  item("File", "Close")->perform();
  ASSERT_TRUE(answerAlert(kDontSave));
  settle();
  EXPECT_TRUE(documents->documents().empty());
  EXPECT_EQ(std::filesystem::file_size(file), before);
  ASSERT_TRUE(documents->openDocument(file).ok());
  EXPECT_EQ(window->drawing()->data()->get("layers").array()->size(), 1u);
}

TEST_F(FileMenu, CancelKeepsTheDocumentOpenAndEdited) {
  auto document = newDrawing();
  document->addObject("rect", {30, 40});
  item("File", "Close")->perform();
  ASSERT_TRUE(answerAlert(kCancel));
  settle();
  ASSERT_EQ(documents->documents().size(), 1u);
  EXPECT_EQ(window->drawing(), document);
  EXPECT_TRUE(document->isDocumentEdited());
  EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
}

TEST_F(FileMenu, SaveChosenAtThePromptButCancelledInThePanelKeepsTheDocument) {
  auto document = newDrawing();
  document->addObject("rect", {30, 40});
  item("File", "Close")->perform();
  ASSERT_TRUE(answerAlert(kSave));
  Gtk::FileChooserDialog* dialog = filePanelDialog();
  ASSERT_NE(dialog, nullptr);
  dialog->response(Gtk::RESPONSE_CANCEL);
  ASSERT_TRUE(platform::iterateMainLoopUntil([&] { return window->dialogs().currentFilePanel() == nullptr; }, 3s));
  settle();
  EXPECT_EQ(documents->documents().size(), 1u);
  EXPECT_TRUE(document->isDocumentEdited());
}

TEST_F(FileMenu, SaveOfACorelDrawingAsksForADrawingFile) {
  // CorelDRAW files open, but cannot be saved in their own format: Save goes through the save panel to the
  // program's own type, so the drawing's edits are never trapped in a format that cannot be written.
  const document_testing::FakeCorelDrawReaderInstalled reader;
  const std::filesystem::path corel = folder / "Picture.cdr";
  std::ofstream(corel) << "RIFF, read by the fake reader";
  ASSERT_TRUE(documents->openDocument(corel).ok());
  settle();
  const auto opened = std::dynamic_pointer_cast<CMDocument>(documents->documents().front());
  ASSERT_TRUE(opened);
  opened->addObject("rect", {10, 10});
  item("File", "Save")->perform();
  EXPECT_EQ(window->dialogs().currentAlert(), nullptr);
  ASSERT_TRUE(answerSavePanel("Picture"));
  EXPECT_EQ(window->dialogs().currentAlert(), nullptr);
  EXPECT_FALSE(opened->isDocumentEdited());
  EXPECT_EQ(opened->fileType(), CMDocument::kFileType);
  EXPECT_EQ(opened->fileURL(), folder / "Picture.vard");
  CMDocument reopened;
  ASSERT_TRUE(reopened.readFromURL(folder / "Picture.vard", CMDocument::kFileType));
  // The fake reader's rectangle and the one added since.
  EXPECT_EQ(reopened.data()->array("layers")->size(), 2u);
  // Later saves go to the drawing file without a panel; the CorelDRAW file stays as it was.
  opened->addObject("oval", {20, 20});
  item("File", "Save")->perform();
  EXPECT_EQ(window->dialogs().currentFilePanel(), nullptr);
  EXPECT_FALSE(opened->isDocumentEdited());
  ASSERT_TRUE(reopened.readFromURL(folder / "Picture.vard", CMDocument::kFileType));
  EXPECT_EQ(reopened.data()->array("layers")->size(), 3u);
  std::ifstream original(corel);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(original), {}), "RIFF, read by the fake reader");
}

TEST_F(FileMenu, AFileThatCannotBeReadShowsTheErrorAlert) {
  const std::filesystem::path broken = folder / "Broken.vard";
  std::ofstream(broken) << "bplist00 but nothing more";
  item("File", "Open")->perform();
  ASSERT_TRUE(answerOpenPanel(broken));
  platform::Alert* alert = window->dialogs().currentAlert();
  ASSERT_NE(alert, nullptr);
  ASSERT_NE(alert->dialog(), nullptr);
  EXPECT_EQ(alert->dialog()->get_title(), "Error");
  auto* message = dynamic_cast<Gtk::MessageDialog*>(alert->dialog());
  ASSERT_NE(message, nullptr);
  EXPECT_EQ(message->property_text().get_value(), "Error");
  auto* ok = dynamic_cast<Gtk::Button*>(alert->dialog()->get_widget_for_response(0));
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(ok->get_label(), "OK");
  EXPECT_EQ(alert->dialog()->get_widget_for_response(1), nullptr);
  ASSERT_TRUE(answerAlert(0));
  EXPECT_TRUE(documents->documents().empty());
}

}  // namespace
}  // namespace ui_testing
