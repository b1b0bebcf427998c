// The new-document window through its controls: the proposed page, presets and orientation, a typed size stored
// once the field is left, Create making a page of that size, a vanished recent file, the recent files being the
// drawings opened or saved (read at each showing, not what GTK's file dialogs list), and first-launch mode asking
// about unsaved changes before it closes anything.

#include <gtest/gtest.h>

#include <giomm/file.h>
#include <gtkmm/recentmanager.h>

#include <algorithm>
#include <fstream>

#include "../../platform/core/scratch_folder.h"
#include "app/CMNewDocumentWindowController.h"
#include "document/CMDocument.h"
#include "platform/core/string_conversions.h"
#include "platform/core/user_defaults.h"
#include "platform/ui/button.h"
#include "platform/ui/pop_up_button.h"
#include "platform/ui/recent_documents.h"
#include "platform/ui/segmented_control.h"
#include "platform/ui/text_field.h"
#include "platform/ui/window.h"
#include "shell_fixture.h"
#include "ui_test_harness.h"

namespace shell_testing {
namespace {

using NewDocument = ShellTest;

platform::UserDefaults& defaults() { return platform::UserDefaults::standardUserDefaults(); }

std::pair<std::string, std::string> fields(CMNewDocumentWindowController& controller) {
  return {controller.widthField().stringValue(), controller.heightField().stringValue()};
}

std::pair<std::int64_t, std::int64_t> stored() {
  return {defaults().integerForKey("defaultW"), defaults().integerForKey("defaultH")};
}

bool editable(platform::TextField& field) { return field.gtkEntry().get_editable(); }

TEST_F(NewDocument, WithoutSettingsItProposesA500PointCustomPage) {
  CMNewDocumentWindowController controller;
  ASSERT_TRUE(platform::test::showAndSettle(controller.window()));
  EXPECT_EQ(fields(controller), (std::pair<std::string, std::string>{"500", "500"}));
  EXPECT_EQ(controller.typeMatrix().selectedSegment(), 0);
  EXPECT_EQ(controller.presetPopUp().selectedTag(), 1);
  // Create mode, custom size: the size is typed; the recent files wait.
  EXPECT_TRUE(editable(controller.widthField()));
  EXPECT_TRUE(controller.dimensionPopUp().isEnabled());
  EXPECT_TRUE(controller.orientationControl().isEnabled());
  EXPECT_FALSE(controller.recentFiles().isEnabled());
  EXPECT_FALSE(controller.browseButton().isEnabled());
  // Open-recent mode turns that round.
  controller.typeMatrix().gtkSegment(1).set_active(true);
  EXPECT_EQ(defaults().integerForKey("typeId"), 2);
  EXPECT_FALSE(editable(controller.widthField()));
  EXPECT_FALSE(controller.presetPopUp().isEnabled());
  EXPECT_FALSE(controller.orientationControl().isEnabled());
  EXPECT_TRUE(controller.recentFiles().isEnabled());
  EXPECT_TRUE(controller.browseButton().isEnabled());
}

TEST_F(NewDocument, PresetsAndOrientationSetTheSize) {
  CMNewDocumentWindowController controller;
  controller.window();
  controller.presetPopUp().gtkComboBox().set_active(6);  // "595 × 842 pt", tag 7
  EXPECT_EQ(controller.presetPopUp().selectedTag(), 7);
  EXPECT_EQ(fields(controller), (std::pair<std::string, std::string>{"595", "842"}));
  EXPECT_EQ(stored(), (std::pair<std::int64_t, std::int64_t>{595, 842}));
  EXPECT_FALSE(editable(controller.widthField()));  // a preset is not typed over
  controller.orientationControl().gtkSegment(1).set_active(true);
  EXPECT_EQ(stored(), (std::pair<std::int64_t, std::int64_t>{842, 595}));
  EXPECT_EQ(fields(controller), (std::pair<std::string, std::string>{"842", "595"}));
  controller.orientationControl().gtkSegment(0).set_active(true);
  EXPECT_EQ(stored(), (std::pair<std::int64_t, std::int64_t>{595, 842}));
  EXPECT_EQ(defaults().integerForKey("orientation_type"), 0);
}

TEST_F(NewDocument, TypingIsStoredOnceTheFieldIsLeftAndCreateUsesIt) {
  CMNewDocumentWindowController controller;
  controller.showWindow();
  controller.widthField().gtkEntry().set_text("59");
  EXPECT_EQ(defaults().integerForKey("defaultW"), 0) << "nothing stored while typing";
  controller.widthField().gtkEntry().set_text("595");
  controller.widthField().gtkEntry().activate();
  EXPECT_EQ(defaults().integerForKey("defaultW"), 595);
  // Still in the height field when Create is pressed: its text counts too.
  controller.heightField().gtkEntry().set_text("842");
  controller.OnCreateDocument();
  EXPECT_EQ(stored(), (std::pair<std::int64_t, std::int64_t>{595, 842}));
  settle();
  ASSERT_EQ(documents->documents().size(), 1u);
  const auto drawing = window->drawing();
  ASSERT_NE(drawing, nullptr);
  EXPECT_EQ(drawing->data()->get("width").intValue(), 595);
  EXPECT_EQ(drawing->data()->get("height").intValue(), 842);
  EXPECT_FALSE(controller.window().isVisible());
}

TEST_F(NewDocument, SizesBelowOneCountAs500) {
  for (const char* text : {"0", "-5", "abc"}) {
    defaults().setObject(platform::Value(platform::stringIntegerValue(text)), "defaultW");
    EXPECT_EQ(CMNewDocumentWindowController::defaultWidth(), 500) << text;
  }
  defaults().setInteger(0, "typeId");
  defaults().setInteger(0, "preset_selected");
  EXPECT_EQ(CMNewDocumentWindowController::typeId(), 1);
  EXPECT_EQ(CMNewDocumentWindowController::presetSelected(), 1);
}

TEST_F(NewDocument, AVanishedRecentFileSaysSo) {
  platform::testing::ScratchFolder folder;
  const std::filesystem::path file = folder / "Gone.vard";
  std::ofstream(file) << "x";
  platform::RecentDocuments::noteNewRecentDocumentURL(file);
  ASSERT_TRUE(platform::iterateMainLoopUntil(
      [&] { return !platform::RecentDocuments::recentDocumentURLs().empty(); }, 3s));
  std::filesystem::remove(file);
  defaults().setInteger(2, "typeId");
  CMNewDocumentWindowController controller;
  controller.window();
  ASSERT_EQ(controller.recentFiles().titleOfSelectedItem(), file.string());
  controller.OnCreateDocument();
  settle();
  EXPECT_EQ(alertText(), "Error: File does not exist!");
  ASSERT_TRUE(answerAlert(0));
  EXPECT_TRUE(documents->documents().empty());
}

std::vector<std::string> titles(platform::PopUpButton& popUp) {
  std::vector<std::string> found;
  for (int index = 0; index < popUp.numberOfItems(); ++index) {
    popUp.selectItemAtIndex(index);
    found.push_back(popUp.titleOfSelectedItem());
  }
  return found;
}

TEST_F(NewDocument, RecentFilesAreTheDrawingsOpenedOrSavedReadAtEachShowing) {
  documents->setNoteRecentDocument(platform::RecentDocuments::noteNewRecentDocumentURL);
  platform::testing::ScratchFolder folder;
  defaults().setInteger(2, "typeId");
  CMNewDocumentWindowController controller;
  controller.showWindow();
  // What GTK's file dialogs list under the program's name: an export, an imported picture, a save that failed and
  // a name that never existed.
  struct Chosen {
    const char* name;
    bool written;
  };
  const Chosen chosen[] = {{"Export.svg", true}, {"Picture.png", true}, {"Failed.vard", false}, {"Never.cdr", false}};
  for (const Chosen& file : chosen) {
    if (file.written) std::ofstream(folder / file.name) << "x";
    Gtk::RecentManager::get_default()->add_item(Gio::File::create_for_path((folder / file.name).string())->get_uri());
  }
  // A drawing opened and one saved.
  const std::filesystem::path drawing = folder / "Opened.vard";
  ASSERT_TRUE(CMDocument().writeToURL(drawing, CMDocument::kFileType));
  ASSERT_TRUE(documents->openDocument(drawing).ok());
  documents->saveDocumentAs(newDrawing());
  ASSERT_TRUE(answerSavePanel(folder.path(), "Saved"));
  const std::filesystem::path saved = folder / "Saved.vard";
  ASSERT_TRUE(std::filesystem::exists(saved));
  const auto listed = [](const std::filesystem::path& path) {
    return std::ranges::count(platform::RecentDocuments::recentDocumentURLs(), path) == 1;
  };
  ASSERT_TRUE(platform::iterateMainLoopUntil([&] { return listed(drawing) && listed(saved); }, 3s));
  for (const Chosen& file : chosen) EXPECT_FALSE(listed(folder / file.name)) << file.name;

  // The window shown again offers both drawings, and nothing else from the folder.
  controller.window().hide();
  controller.showWindow();
  std::vector<std::string> fromFolder;
  for (const std::string& title : titles(controller.recentFiles()))
    if (std::filesystem::path(title).parent_path() == folder.path()) fromFolder.push_back(title);
  std::ranges::sort(fromFolder);
  EXPECT_EQ(fromFolder, (std::vector<std::string>{drawing.string(), saved.string()}));
  // The tour's Open Last Document opens one of them.
  delegate->openLastDocument();
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_TRUE(opened.front() == drawing || opened.front() == saved) << opened.front();
}

TEST_F(NewDocument, FirstLaunchModeAsksBeforeClosingAndCancelMakesNothing) {
  auto edited = newDrawing();
  edited->addObject("rect", {10, 10});
  CMNewDocumentWindowController controller;
  controller.setFirstLauncheMode(true);
  controller.showWindow();
  controller.OnCreateDocument();
  settle();
  ASSERT_TRUE(answerAlert(2));  // Cancel
  settle();
  EXPECT_EQ(documents->documents().size(), 1u);
  EXPECT_EQ(documents->documents().front(), edited);
  EXPECT_TRUE(controller.window().isVisible());
  controller.OnCreateDocument();
  settle();
  ASSERT_TRUE(answerAlert(1));  // Don't Save
  settle();
  ASSERT_EQ(documents->documents().size(), 1u);
  EXPECT_NE(documents->documents().front(), edited);
}

}  // namespace
}  // namespace shell_testing
