#pragma once

// The main window wired as in the program, with the application delegate installed as the menus' commands and
// a fake opener that records the files it is asked to open.

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/AppDelegate.h"
#include "document/CMUserNotices.h"
#include "main_window_fixture.h"
#include "platform/ui/alert.h"
#include "ui/CMApplicationCommands.h"

namespace shell_testing {

using namespace std::chrono_literals;

class ShellTest : public ui_testing::MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    CMUserNotices::takeWaiting();  // what earlier tests left untold is not this test's launch to show
    delegate = std::make_unique<AppDelegate>();
    delegate->setOpener([this](const std::filesystem::path& path) { opened.push_back(path); });
    delegate->setTerminate([this] { ++terminated; });
    CMApplicationCommands::install(delegate.get());
  }

  void TearDown() override {
    CMApplicationCommands::install(nullptr);
    for (Gtk::Window* window : Gtk::Window::list_toplevels()) window->hide();
    settle();
    delegate.reset();
    MainWindowTest::TearDown();
  }

  // Answers the alert up now with its button at `index`.
  bool answerAlert(int index) {
    platform::Alert* alert = window->dialogs().currentAlert();
    if (!alert || !alert->dialog()) return false;
    alert->dialog()->response(index);
    return platform::iterateMainLoopUntil([&] { return window->dialogs().currentAlert() == nullptr; }, 3s);
  }

  // The text of the alert up now, empty without one.
  std::string alertText() {
    platform::Alert* alert = window->dialogs().currentAlert();
    if (!alert || !alert->dialog()) return {};
    return alert->messageText() + ": " + alert->informativeText();
  }

  std::unique_ptr<AppDelegate> delegate;
  std::vector<std::filesystem::path> opened;
  int terminated = 0;
};

}  // namespace shell_testing
