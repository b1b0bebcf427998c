// The five samples from the File menu and the templates window: each opens with its layers; opened again, an
// edited copy is asked about first; a missing sample says so; from the templates window a sample becomes an
// untitled document and its file stays as it was.

#include <gtest/gtest.h>

#include <cstdlib>

#include "app/CMDocumentOpening.h"
#include "app/CMTemplatesWindowController.h"
#include "document/CMDocument.h"
#include "platform/core/files.h"
#include "platform/core/resources.h"
#include "shell_fixture.h"

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

TEST_F(Samples, EachOpensWithItsLayers) {
  for (std::size_t index = 0; index < std::size(CMApplicationCommands::kSampleNames); ++index) {
    platform::MenuItem* entry = sampleItem(CMApplicationCommands::kSampleTitles[index]);
    ASSERT_NE(entry, nullptr) << index;
    entry->perform();
    settle();
    const auto drawing = window->drawing();
    ASSERT_NE(drawing, nullptr) << index;
    EXPECT_EQ(drawing->fileURL().filename(), std::string(CMApplicationCommands::kSampleNames[index]) + ".vard");
    EXPECT_GE(drawing->data()->get("layers").array()->size(), 3u) << index;
  }
  EXPECT_EQ(documents->documents().size(), 5u);
}

TEST_F(Samples, AnEditedOpenSampleIsAskedAboutBeforeItOpensAfresh) {
  delegate->loadSample("shirt1");
  settle();
  auto first = window->drawing();
  ASSERT_NE(first, nullptr);
  const std::size_t layers = first->data()->get("layers").array()->size();
  first->addObject("rect", {5, 5});
  delegate->loadSample("shirt1");
  settle();
  ASSERT_TRUE(answerAlert(2));  // Cancel: the edited copy stays
  EXPECT_EQ(window->drawing(), first);
  delegate->loadSample("shirt1");
  settle();
  ASSERT_TRUE(answerAlert(1));  // Don't Save
  settle();
  ASSERT_EQ(documents->documents().size(), 1u);
  EXPECT_NE(window->drawing(), first);
  EXPECT_EQ(window->drawing()->data()->get("layers").array()->size(), layers);
}

TEST_F(Samples, AMissingSampleSaysSo) {
  delegate->loadSample("noSuchSample");
  settle();
  EXPECT_EQ(alertText(), "Error: File does not exist!");
  ASSERT_TRUE(answerAlert(0));
  EXPECT_TRUE(documents->documents().empty());
}

TEST_F(Samples, FromTheTemplatesWindowASampleBecomesAnUntitledDocument) {
  const std::filesystem::path file = platform::pathForResource("floraldesign", "vard", "Samples");
  ASSERT_FALSE(file.empty());
  const platform::Expected<platform::Bytes> before = platform::readFile(file);
  ASSERT_TRUE(before.ok());
  CMTemplatesWindowController templates;
  templates.loadSample("floraldesign");
  settle();
  ASSERT_EQ(documents->documents().size(), 1u);
  const auto drawing = window->drawing();
  EXPECT_TRUE(drawing->fileURL().empty());
  EXPECT_GE(drawing->data()->get("layers").array()->size(), 3u);
  drawing->addObject("rect", {5, 5});
  EXPECT_EQ(platform::readFile(file).value(), before.value());
}

}  // namespace
}  // namespace shell_testing
