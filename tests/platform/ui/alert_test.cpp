// Alerts as sheets: modal, transient for the window, answered after closing.

#include "platform/ui/alert.h"

#include <gtest/gtest.h>
#include <gtkmm/messagedialog.h>

#include <memory>
#include <string>

#include "platform/core/main_queue.h"
#include "platform/ui/window.h"
#include "ui_test_harness.h"

namespace platform {
namespace {

TEST(Alert, SheetAnswersThroughTheMainQueueAfterClosing) {
  Window window({200, 100});
  ASSERT_TRUE(test::showAndSettle(window));
  auto alert = Alert::create();
  alert->setMessageText("Delete the layer?");
  alert->setInformativeText("This cannot be undone.");
  EXPECT_EQ(alert->addButtonWithTitle("Delete"), 1000);
  EXPECT_EQ(alert->addButtonWithTitle("Cancel"), 1001);
  int answer = 0;
  bool dialogGoneWhenAnswered = false;
  alert->beginSheet(window, [&](int response) {
    answer = response;
    dialogGoneWhenAnswered = alert->dialog() == nullptr;
  });
  Gtk::Dialog* dialog = alert->dialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(dialog->get_modal());
  EXPECT_EQ(dialog->get_transient_for(), &window.gtkWindow());
  EXPECT_TRUE(dialog->get_visible());

  dialog->response(0);   // the first button, "Delete"
  EXPECT_EQ(answer, 0);  // not yet: the handler waits for the main queue
  EXPECT_FALSE(dialog->get_visible());
  drainMainQueue();
  EXPECT_EQ(answer, 1000);
  EXPECT_TRUE(dialogGoneWhenAnswered);
}

TEST(Alert, EscapeAnswersCancelAndTheTextFieldIsKept) {
  Window window({200, 100});
  auto alert = Alert::create();
  alert->setMessageText("Rename");
  alert->addButtonWithTitle("Cancel");
  alert->addButtonWithTitle("OK");
  alert->addAccessoryTextField("Layer 1");
  int answer = 0;
  std::string text;
  alert->beginSheet(window, [&](int response) {
    answer = response;
    text = alert->accessoryText();
  });
  ASSERT_NE(alert->dialog(), nullptr);
  EXPECT_NE(dynamic_cast<Gtk::MessageDialog*>(alert->dialog()), nullptr);
  EXPECT_EQ(alert->accessoryText(), "Layer 1");
  alert->dialog()->response(Gtk::RESPONSE_DELETE_EVENT);
  drainMainQueue();
  EXPECT_EQ(answer, 1000);  // "Cancel" was added first
  EXPECT_EQ(text, "Layer 1");
}

TEST(Alert, RunModalReturnsTheChosenButton) {
  auto alert = Alert::create();
  alert->setMessageText("Replace?");
  alert->addButtonWithTitle("Replace");
  alert->addButtonWithTitle("Keep Both");
  // Answered from the main loop the modal run spins.
  dispatchAsync([alert] { alert->dialog()->response(1); });
  EXPECT_EQ(alert->runModal(), 1001);
  EXPECT_EQ(alert->dialog(), nullptr);
}

}  // namespace
}  // namespace platform
