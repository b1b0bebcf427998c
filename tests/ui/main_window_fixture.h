#pragma once

// A main window wired as the program wires it: its own document controller
// (drawings and CorelDRAW files) whose questions go to the window's dialogs,
// and a document manager that shows documents in it; folders and shared
// settings are fresh for every test.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "../../document/document_test_support.h"
#include "canvas/CMEditorView.h"
#include "document/CMCDRDocument.h"
#include "document/CMDocument.h"
#include "document/CMDocumentManager.h"
#include "document/CMLayer.h"
#include "platform/core/document_controller.h"
#include "platform/core/main_queue.h"
#include <gtkmm/menuitem.h>

#include "platform/ui/menu.h"
#include "platform/ui/file_panel.h"
#include "platform/ui/menu_bar.h"
#include "platform/ui/window.h"
#include "ui/CMDocumentDialogs.h"
#include "ui/CMMainWindowController.h"
#include "dialog_test_support.h"
#include "ui_test_harness.h"

namespace ui_testing {

class MainWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    folders_ = std::make_unique<document_testing::ScratchFolders>();
    window = std::make_shared<CMMainWindowController>();
    documents = std::make_shared<platform::DocumentController>(window->sharedDialogs());
    documents->registerDocumentType(CMDocument::kFileType, {CMDocument::kFileType},
                                    [] { return std::make_shared<CMDocument>(); });
    documents->registerDocumentType(CMCDRDocument::kFileType, {CMCDRDocument::kFileType},
                                    [] { return std::make_shared<CMCDRDocument>(); });
    previousDocuments_ = platform::DocumentController::install(documents);
    window->installAsServices();
    manager = std::make_shared<CMDocumentManager>(*documents, window);
    previousManager_ = CMDocumentManager::install(manager);
  }

  void TearDown() override {
    platform::drainMainQueue();
    CMDocumentManager::install(previousManager_);
    window->uninstall();
    platform::DocumentController::install(previousDocuments_);
    manager.reset();
    window.reset();
    documents.reset();
    platform::drainMainQueue();
    folders_.reset();
  }

  // A new drawing shown in the window.
  std::shared_ptr<CMDocument> newDrawing() {
    auto made = documents->newDocument();
    EXPECT_TRUE(made.ok());
    settle();
    return made ? std::dynamic_pointer_cast<CMDocument>(made.value()) : nullptr;
  }

  // A new drawing in the window, shown on the screen and laid out.
  std::shared_ptr<CMDocument> newDrawingOnScreen() {
    std::shared_ptr<CMDocument> drawing = newDrawing();
    EXPECT_TRUE(platform::test::showAndSettle(window->window()));
    settle();
    return drawing;
  }

  // Runs what edits queued (the canvas refresh) and what GTK has pending.
  static void settle() {
    platform::drainMainQueue();
    while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
    platform::drainMainQueue();
  }

  // The first item of the menu whose title starts with the prefix, or null.
  platform::MenuItem* item(const std::string& menuTitle, const std::string& prefix) {
    const platform::Menu* menu = menuTitled(menuTitle);
    if (!menu) return nullptr;
    for (const auto& entry : menu->items()) {
      if (entry->title().rfind(prefix, 0) == 0) return entry.get();
    }
    return nullptr;
  }

  const platform::Menu* menuTitled(const std::string& title) const {
    const auto& menus = window->mainMenu().menus();
    for (const auto& menu : menus) {
      Gtk::Widget* owner = menu->gtkMenu().get_attach_widget();
      auto* owningItem = dynamic_cast<Gtk::MenuItem*>(owner);
      if (owningItem && owningItem->get_label() == title) return menu.get();
    }
    return nullptr;
  }

  // The window's file panel up now, or a command's own (the import's).
  Gtk::FileChooserDialog* filePanelDialog() {
    platform::FilePanel* panel = window->dialogs().currentFilePanel();
    return panel ? panel->dialog() : dialog_testing::shown<Gtk::FileChooserDialog>();
  }

  // Chooses `folder`/`name` in the save panel up now and waits until the panel has answered.
  bool answerSavePanel(const std::filesystem::path& folder, const std::string& name) {
    using namespace std::chrono_literals;
    Gtk::FileChooserDialog* dialog = filePanelDialog();
    if (!dialog || dialog->get_action() != Gtk::FILE_CHOOSER_ACTION_SAVE) return false;
    dialog->set_current_folder(folder.string());
    dialog->set_current_name(name);
    platform::iterateMainLoopUntil([&] { return !dialog->get_filename().empty(); }, 3s);
    dialog->response(Gtk::RESPONSE_ACCEPT);
    // GTK checks the chosen folder asynchronously before the panel answers.
    return platform::iterateMainLoopUntil([&] { return window->dialogs().currentFilePanel() == nullptr; }, 5s);
  }

  // Chooses the file in the open panel up now. A command's own panel answers it on the main queue, after this.
  bool answerOpenPanel(const std::filesystem::path& path) {
    using namespace std::chrono_literals;
    Gtk::FileChooserDialog* dialog = filePanelDialog();
    if (!dialog || dialog->get_action() != Gtk::FILE_CHOOSER_ACTION_OPEN) return false;
    dialog->select_filename(path.string());
    platform::iterateMainLoopUntil([&] { return dialog->get_filename() == path.string(); }, 3s);
    dialog->response(Gtk::RESPONSE_ACCEPT);
    return platform::iterateMainLoopUntil([&] { return window->dialogs().currentFilePanel() == nullptr; }, 5s);
  }

  std::vector<std::string> layerIds(const std::shared_ptr<CMDocument>& document) const {
    std::vector<std::string> ids;
    for (const auto& entry : *document->data()->get("layers").array())
      ids.push_back(std::to_string(entry.dictionary()->get("id").integerValue()));
    return ids;
  }

  std::shared_ptr<CMMainWindowController> window;
  std::shared_ptr<platform::DocumentController> documents;
  std::shared_ptr<CMDocumentManager> manager;

 private:
  std::unique_ptr<document_testing::ScratchFolders> folders_;
  std::shared_ptr<platform::DocumentController> previousDocuments_;
  std::shared_ptr<CMDocumentManager> previousManager_;
};

}  // namespace ui_testing
