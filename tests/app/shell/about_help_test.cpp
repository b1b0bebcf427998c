// The about window's texts, the read-only credits and the absent website link; Help handing the index page's
// file URI to the opener, a failing opener shown as "Error" naming the page's file; every link of the help pages
// naming a file, and the pages naming the program's tool keys and export formats.

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

#include "app/CMAboutWindowController.h"
#include "app/CMCreditsWindowController.h"
#include "app/CMHelpWindowController.h"
#include "document/CMKeyBindingManager.h"
#include "io/export/CMExportManager.h"
#include "platform/ui/pop_up_button.h"
#include "shortcuts/KRCommon.h"
#include "platform/core/user_defaults.h"
#include "platform/ui/button.h"
#include "platform/core/resources.h"
#include "platform/ui/text_view.h"
#include "shell_fixture.h"

namespace shell_testing {
namespace {

using AboutAndHelp = ShellTest;

TEST_F(AboutAndHelp, AboutShowsVersionCopyrightAndReadOnlyCredits) {
  CMAboutWindowController about;
  about.window();
  EXPECT_EQ(about.appName(), "Draftwork");
  EXPECT_EQ(about.appVersion(), "Version 0.1.0 (Build 100)");
  EXPECT_NE(about.appCopyright().find("Draftwork"), std::string::npos);
  EXPECT_NE(about.creditsTextView().string().find("Draftwork developers"), std::string::npos);
  EXPECT_FALSE(about.creditsTextView().gtkTextView().get_editable());
  EXPECT_EQ(about.visitWebsiteButton(), nullptr);  // no address ships
}

TEST_F(AboutAndHelp, LinksShowOnlyWithAnAddress) {
  platform::UserDefaults::standardUserDefaults().setObject(platform::Value("https://example.org/tutorials"),
                                                           "tutorialsURL");
  platform::UserDefaults::standardUserDefaults().setObject(platform::Value("https://example.org/"), "websiteURL");
  delegate->tourWindow();
  EXPECT_NE(delegate->tourButton("Tutorials"), nullptr);
  EXPECT_NE(delegate->tourButton("Visit Website"), nullptr);
  EXPECT_EQ(delegate->tourButton("Support and Feedback"), nullptr);
  EXPECT_NE(delegate->tourButton("Help"), nullptr);
  CMAboutWindowController about;
  about.window();
  ASSERT_NE(about.visitWebsiteButton(), nullptr);
  EXPECT_EQ(about.visitWebsiteButton()->title(), "Visit Draftwork Website");
}

TEST_F(AboutAndHelp, CreditsWindowShowsTheCreditsReadOnly) {
  CMCreditsWindowController credits;
  EXPECT_NE(credits.window().title(), "");
  EXPECT_EQ(credits.textView().string(), CMCreditsWindowController::creditsText());
  EXPECT_FALSE(credits.textView().gtkTextView().get_editable());
  EXPECT_NE(CMCreditsWindowController::creditsText().find("GTK"), std::string::npos);
}

TEST_F(AboutAndHelp, HelpHandsTheIndexPageToTheOpener) {
  CMHelpWindowController help;
  std::vector<std::string> shown;
  help.setOpener([&shown](const std::string& uri) {
    shown.push_back(uri);
    return platform::success();
  });
  EXPECT_NE(item("Help", "Draftwork Help"), nullptr);
  help.showWindow();
  ASSERT_EQ(shown.size(), 1u);
  const std::filesystem::path index = platform::pathForResource("index", "html", "Discover");
  EXPECT_EQ(shown[0], "file://" + index.lexically_normal().string());
  EXPECT_EQ(index.parent_path().parent_path().filename(), "draftwork");

  // Whatever GIO says of the handler it tried, the alert says the same plain words.
  for (const char* reason : {"No browser", "Unable to find terminal required for application"}) {
    help.setOpener([reason](const std::string&) { return platform::Status(platform::Error::make("GIO", 1, reason)); });
    help.showWindow();
    settle();
    EXPECT_EQ(alertText(), "Error: No web browser could show the help pages. They are in the file " +
                              index.lexically_normal().string() + ".");
    ASSERT_TRUE(answerAlert(0));
  }
}

TEST(HelpPages, EveryLinkNamesAnExistingPage) {
  const std::filesystem::path folder = platform::pathForResource("index", "html", "Discover").parent_path();
  ASSERT_FALSE(folder.empty());
  int links = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    std::ifstream stream(entry.path());
    std::stringstream text;
    text << stream.rdbuf();
    const std::string page = text.str();
    const std::regex href("href=\"([^\"]+)\"");
    for (auto match = std::sregex_iterator(page.begin(), page.end(), href); match != std::sregex_iterator(); ++match) {
      ++links;
      EXPECT_TRUE(std::filesystem::is_regular_file(folder / (*match)[1].str()))
          << entry.path().filename() << " links " << (*match)[1];
    }
  }
  EXPECT_GE(links, 8);
}

std::string helpPage(const char* name) {
  std::ifstream stream(platform::pathForResource(name, "html", "Discover"));
  std::stringstream text;
  text << stream.rdbuf();
  return text.str();
}

TEST_F(AboutAndHelp, ThePagesNameTheProgramsToolKeysAndExportFormats) {
  const std::string keys = helpPage("keys");
  const platform::ArrayRef builtIn = CMKeyBindingManager::builtInItems();
  for (const platform::Value& entry : *builtIn) {
    const platform::DictRef binding = entry.dictionary();
    const std::string row = "<td>" + KRKeyNameForKeyCode(binding->get("code").integerValue()).value_or("?") +
                            "</td><td>" + binding->get("title").string() + "</td>";
    EXPECT_NE(keys.find(row), std::string::npos) << row;
  }
  std::size_t rows = 0;
  for (std::size_t at = keys.find("<tr><td>"); at != std::string::npos; at = keys.find("<tr><td>", at + 1)) ++rows;
  EXPECT_EQ(rows, builtIn->size());

  const std::string formats = helpPage("import-export");
  CMExportManager exporter;
  platform::PopUpButton& offered = exporter.formatPopUp();
  ASSERT_GT(offered.numberOfItems(), 0);
  for (int index = 0; index < offered.numberOfItems(); ++index) {
    offered.selectItemAtIndex(index);
    EXPECT_NE(formats.find(" " + offered.titleOfSelectedItem()), std::string::npos) << offered.titleOfSelectedItem();
  }
}

}  // namespace
}  // namespace shell_testing
