// The five samples from the File menu, the welcome tour and the templates window: each becomes an untitled
// document with the sample's layers, so Save asks for a file of the user's own and the installed sample stays as it
// was; a missing sample says so.

#include <gtest/gtest.h>

#include <gtkmm/filechooserdialog.h>

#include <cstdlib>
#include <functional>

#include "app/CMDocumentOpening.h"
#include "app/CMTemplatesWindowController.h"
#include "document/CMDocument.h"
#include "platform/core/files.h"
#include "platform/core/resources.h"
#include "app/HUDWindow.h"
#include "shell_fixture.h"
#include "ui_test_harness.h"

namespace shell_testing {
namespace {

class Samples : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    delegate->setOpener([](const std::filesystem::path& path) { openFileDisplayed(path); });
  }

  platform::MenuItem* sampleItem(const std::string& title) const {
    for (const auto& submenu : menuTitled("File")->submenus())
      for (const auto& entry : submenu->items())
        if (entry->title() == title) return entry.get();
    return nullptr;
  }
};

TEST_F(Samples, EachOpensAsAnUntitledCopyWithItsLayers) {
  for (std::size_t index = 0; index < std::size(CMApplicationCommands::kSampleNames); ++index) {
    platform::MenuItem* entry = sampleItem(CMApplicationCommands::kSampleTitles[index]);
    ASSERT_NE(entry, nullptr) << index;
    entry->perform();
    settle();
    const auto drawing = window->drawing();
    ASSERT_NE(drawing, nullptr) << index;
    EXPECT_TRUE(drawing->fileURL().empty()) << index;
    EXPECT_GE(drawing->data()->get("layers").array()->size(), 3u) << index;
  }
  EXPECT_EQ(documents->documents().size(), 5u);
}

// Each way to a sample, drawn on and saved: the save panel asks for a file, the installed sample keeps its bytes.
TEST_F(Samples, SavingASampleNeverWritesTheInstalledFile) {
  const std::filesystem::path file = platform::pathForResource("manshirtback", "vard", "Samples");
  ASSERT_FALSE(file.empty());
  const platform::Expected<platform::Bytes> before = platform::readFile(file);
  ASSERT_TRUE(before.ok());
  CMTemplatesWindowController templates;
  const std::pair<const char*, std::function<void()>> ways[] = {
      {"File \u25B8 Samples", [this] { sampleItem("Man's Shirt, Back")->perform(); }},
      {"the welcome tour",
       [this] {
         ASSERT_TRUE(platform::test::showAndSettle(delegate->tourWindow().window()));
         HUDButtonCell* button = delegate->tourButton("Man's Shirt, Back");
         ASSERT_NE(button, nullptr);
         const platform::Rect frame = button->frame();
         platform::test::injectButton(button->widget(), GDK_BUTTON_PRESS, 1, frame.size.width / 2, frame.size.height / 2);
         platform::test::injectButton(button->widget(), GDK_BUTTON_RELEASE, 1, frame.size.width / 2,
                                      frame.size.height / 2);
       }},
      {"the templates window", [&templates] { templates.loadSample("manshirtback"); }},
      {"a second time from the menu", [this] { sampleItem("Man's Shirt, Back")->perform(); }},
  };
  std::size_t made = 0;
  for (const auto& [way, open] : ways) {
    open();
    settle();
    ASSERT_EQ(documents->documents().size(), ++made) << way;
    const auto drawing = window->drawing();
    ASSERT_NE(drawing, nullptr) << way;
    EXPECT_TRUE(drawing->fileURL().empty()) << way;
    EXPECT_GE(drawing->data()->get("layers").array()->size(), 3u) << way;
    drawing->addObject("rect", {5, 5});
    item("File", "Save")->perform();
    settle();
    ASSERT_NE(window->dialogs().currentFilePanel(), nullptr) << way;
    window->dialogs().currentFilePanel()->dialog()->response(Gtk::RESPONSE_CANCEL);
    settle();
    EXPECT_TRUE(drawing->isDocumentEdited()) << way;
    EXPECT_EQ(platform::readFile(file).value(), before.value()) << way;
  }
}

TEST_F(Samples, AMissingSampleSaysSo) {
  delegate->loadSample("noSuchSample");
  settle();
  EXPECT_EQ(alertText(), "Error: File does not exist!");
  ASSERT_TRUE(answerAlert(0));
  EXPECT_TRUE(documents->documents().empty());
}

}  // namespace
}  // namespace shell_testing
