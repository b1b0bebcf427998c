// The launch sequence with a fake opener and real windows: files asked for before launching ends open in order,
// then the tour shows; later requests open at once and hide it; the program quits when its last window goes, not
// while one window hands over to another; a Cancel at any of Quit's prompts leaves every drawing open and shown as
// it was.

#include <gtest/gtest.h>

#include "app/CMAboutWindowController.h"
#include "app/CMNewDocumentWindowController.h"
#include "app/HUDWindow.h"
#include "document/CMProject.h"
#include "document/CMUserNotices.h"
#include "platform/core/files.h"
#include "platform/core/user_defaults.h"
#include "platform/ui/window.h"
#include "shell_fixture.h"
#include "ui_test_harness.h"

namespace shell_testing {
namespace {

using Launch = ShellTest;

bool tourVisible(AppDelegate& delegate) { return delegate.tourWindow().window().isVisible(); }

TEST_F(Launch, QueuedFilesOpenInOrderThenTheTourShows) {
  delegate->applicationOpenFile("/tmp/a.vard");
  delegate->applicationOpenFile("/tmp/b.vard");
  EXPECT_TRUE(opened.empty());
  EXPECT_FALSE(delegate->applicationHasStarted());
  delegate->applicationDidFinishLaunching();
  EXPECT_EQ(opened, (std::vector<std::filesystem::path>{"/tmp/a.vard", "/tmp/b.vard"}));
  EXPECT_TRUE(delegate->applicationHasStarted());
  EXPECT_TRUE(tourVisible(*delegate));
  // A later request opens at once and puts the tour away.
  delegate->applicationOpenFile("/tmp/c.vard");
  EXPECT_EQ(opened.back(), "/tmp/c.vard");
  EXPECT_FALSE(tourVisible(*delegate));
  EXPECT_EQ(delegate->appVersion(), "Version 0.1.0 (Build 100)");
  EXPECT_EQ(platform::UserDefaults::standardUserDefaults().integerForKey("Appversion"), 100);
}

TEST_F(Launch, TheTourShowsItsFourInformationPanels) {
  platform::UserDefaults::standardUserDefaults().setBool(false, "shouldRunFirst");
  delegate->applicationDidFinishLaunching();
  delegate->showTourWindow();  // from the Help menu, later
  for (const CMInformationPanel& panel : delegate->informationPanels()) {
    ASSERT_NE(panel.activeView, nullptr);
    EXPECT_EQ(panel.activeView->superview(), panel.placeHolderView.get());
    EXPECT_EQ(panel.activeView->frame(), panel.placeHolderView->bounds());
  }
  EXPECT_EQ(delegate->informationPanels()[1].background, (platform::Color{0.239, 0.239, 0.239, 1}));
}

TEST_F(Launch, ActivatingMakesNoDocument) {
  delegate->applicationDidFinishLaunching();
  delegate->applicationActivate();
  settle();
  EXPECT_TRUE(documents->documents().empty());
}

TEST_F(Launch, WithoutTourAndFilesTheNewDocumentWindowOpensInFirstLaunchMode) {
  platform::UserDefaults::standardUserDefaults().setBool(false, "shouldRunFirst");
  platform::UserDefaults::standardUserDefaults().setInteger(2, "typeId");
  delegate->applicationDidFinishLaunching();
  CMNewDocumentWindowController& newDocument = CMNewDocumentWindowController::sharedNewDocument();
  EXPECT_TRUE(newDocument.window().isVisible());
  EXPECT_TRUE(newDocument.firstLauncheMode());
  // Without a sender "typeId" stays; the menu's New… resets it and leaves first-launch mode.
  EXPECT_EQ(platform::UserDefaults::standardUserDefaults().integerForKey("typeId"), 2);
  item("File", "New")->perform();
  EXPECT_FALSE(newDocument.firstLauncheMode());
  EXPECT_EQ(platform::UserDefaults::standardUserDefaults().integerForKey("typeId"), 0);
  EXPECT_TRUE(documents->documents().empty());
}

TEST_F(Launch, ADamagedSettingsFileIsToldOnceInAnAlertNamingWhereItWasKept) {
  const std::filesystem::path file = platform::UserDefaults::standardUserDefaults().filePath();
  std::filesystem::create_directories(file.parent_path());
  const std::string damaged = "<?xml version=\"1.0\"?><plist><dict><key>show_grid</key>";
  ASSERT_TRUE(platform::writeFileAtomically(file, platform::Bytes(damaged.begin(), damaged.end())));
  // The next start: settings and keys read afresh, then the launch.
  const auto restart = [] {
    platform::UserDefaults::resetStandardUserDefaults();
    CMProject::resetSharedProject();
    CMProject::shareProject();
  };
  restart();
  delegate->applicationDidFinishLaunching();
  settle();
  std::vector<std::filesystem::path> aside;
  for (const auto& entry : std::filesystem::directory_iterator(file.parent_path())) {
    if (entry.path().filename().string().starts_with(file.filename().string() + ".corrupt-")) {
      aside.push_back(entry.path());
    }
  }
  ASSERT_EQ(aside.size(), 1u);
  EXPECT_EQ(platform::readFile(aside[0]).value(), platform::Bytes(damaged.begin(), damaged.end()));
  const std::string shown = alertText();
  EXPECT_NE(shown.find("Settings and tool keys were reset"), std::string::npos) << shown;
  EXPECT_NE(shown.find(aside[0].string()), std::string::npos) << shown;
  ASSERT_TRUE(answerAlert(0));
  // Kept aside, the file is not found again: the start after that has nothing to tell.
  restart();
  settle();
  EXPECT_EQ(window->dialogs().currentAlert(), nullptr) << alertText();
}

TEST_F(Launch, VersionNumbersTakeTheLeadingWholeNumber) {
  const std::vector<std::pair<std::string, std::int64_t>> cases{{"100", 100}, {"1.2", 1}, {"abc", 0}, {"", 0}};
  for (const auto& [text, number] : cases) EXPECT_EQ(AppDelegate::appVersionNumber(text), number) << text;
  EXPECT_EQ(CMAboutWindowController::versionText(), "Version 0.1.0 (Build 100)");
}

TEST_F(Launch, QuitsWhenTheLastWindowHidesButNotAtAHandOver) {
  platform::Window first({200, 100}, "First");
  platform::Window second({200, 100}, "Second");
  delegate->watchWindows();
  first.show();
  settle();
  // One window hides as the next shows: no quit.
  first.hide();
  second.show();
  settle();
  EXPECT_EQ(terminated, 0);
  second.hide();
  settle();
  EXPECT_EQ(terminated, 1);
  // An alert is a window of the program too.
  first.show();
  auto alert = platform::Alert::create();
  alert->setMessageText("Error");
  alert->addButtonWithTitle("OK");
  alert->beginSheet(first, [](int) {});
  settle();
  first.hide();
  settle();
  EXPECT_EQ(terminated, 1);
  alert->dialog()->response(0);
  settle();
  EXPECT_EQ(terminated, 2);
}

TEST_F(Launch, WhenEveryFileFailsWithoutTheTourTheNewDocumentWindowOpens) {
  platform::UserDefaults::standardUserDefaults().setBool(false, "shouldRunFirst");
  delegate->applicationOpenFile("/tmp/missing.vard");  // the fake opener opens nothing
  delegate->applicationDidFinishLaunching();
  EXPECT_EQ(opened.size(), 1u);
  EXPECT_TRUE(CMNewDocumentWindowController::sharedNewDocument().window().isVisible());
}

TEST_F(Launch, QuitAsksAboutEditedDocumentsAndCancelKeepsThem) {
  auto drawing = newDrawing();
  drawing->addObject("rect", {10, 10});
  item("File", "Quit")->perform();
  settle();
  ASSERT_TRUE(answerAlert(2));  // Cancel
  EXPECT_EQ(terminated, 0);
  EXPECT_EQ(documents->documents().size(), 1u);
  item("File", "Quit")->perform();
  settle();
  ASSERT_TRUE(answerAlert(1));  // Don't Save
  settle();
  EXPECT_EQ(terminated, 1);
  EXPECT_TRUE(documents->documents().empty());
}

// Two drawings, the second shown; Ctrl+Q, the prompts answered in turn, the last with Cancel.
struct CancelledQuit {
  const char* name;
  bool firstEdited;
  bool secondEdited;
  std::vector<int> answers;  // 0 Save, 1 Don't Save, 2 Cancel
  // Listed by name: the default printer's bytes hold pointers, which change from run to run.
  friend void PrintTo(const CancelledQuit& quit, std::ostream* out) { *out << quit.name; }
};

class QuitCancelled : public ShellTest, public testing::WithParamInterface<CancelledQuit> {};

TEST_P(QuitCancelled, EveryDrawingStaysAsItWas) {
  const CancelledQuit& quit = GetParam();
  auto first = newDrawing();
  auto second = newDrawing();
  if (quit.firstEdited) first->addObject("rect", {10, 10});
  if (quit.secondEdited) second->addObject("oval", {20, 20});
  ASSERT_TRUE(platform::test::showAndSettle(window->window()));
  ASSERT_EQ(window->drawing(), second);
  platform::test::injectKey(window->window().host(), GDK_KEY_PRESS, GDK_KEY_q, GDK_CONTROL_MASK);
  platform::test::injectKey(window->window().host(), GDK_KEY_RELEASE, GDK_KEY_q, GDK_CONTROL_MASK);
  settle();
  // The next prompt may come up as soon as one is answered.
  for (const int answer : quit.answers) {
    platform::Alert* prompt = window->dialogs().currentAlert();
    ASSERT_TRUE(prompt && prompt->dialog()) << answer;
    prompt->dialog()->response(answer);
    settle();
  }
  EXPECT_EQ(window->dialogs().currentAlert(), nullptr);
  EXPECT_EQ(terminated, 0);
  EXPECT_EQ(documents->documents(), (std::vector<std::shared_ptr<platform::Document>>{first, second}));
  EXPECT_EQ(window->drawing(), second);
  EXPECT_TRUE(window->window().isVisible());
  ASSERT_EQ(manager->virtualWindows().size(), 1u);
  EXPECT_EQ(std::dynamic_pointer_cast<CMDocument>(manager->virtualWindows().front()->document()), first);
  EXPECT_EQ(first->isDocumentEdited(), quit.firstEdited);
  EXPECT_EQ(second->isDocumentEdited(), quit.secondEdited);
}

INSTANTIATE_TEST_SUITE_P(
    Prompts, QuitCancelled,
    testing::Values(CancelledQuit{"HiddenEditedShownUnedited", true, false, {2}},
                    CancelledQuit{"BothEditedCancelFirst", true, true, {2}},
                    CancelledQuit{"BothEditedDontSaveThenCancel", true, true, {1, 2}},
                    CancelledQuit{"ShownEditedHiddenUnedited", false, true, {2}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace shell_testing
