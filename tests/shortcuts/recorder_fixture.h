#pragma once

// A shortcut recorder in a shown window, with fresh user defaults, no desktop
// shortcuts unless a test gives some, and a delegate that notes what it hears.

#include <gtest/gtest.h>
#include <gtkmm/messagedialog.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/folders.h"
#include "platform/core/main_queue.h"
#include "platform/core/user_defaults.h"
#include "platform/ui/event.h"
#include "platform/ui/window.h"
#include "scratch_folder.h"
#include "shortcuts/KRRecorderControl.h"
#include "shortcuts/KRSystemHotKeys.h"
#include "ui_test_harness.h"

namespace shortcuts_testing {

// Fresh defaults in a scratch folder, and the desktop's shortcuts replaced by a list of the test's own.
class FreshSettings {
 public:
  FreshSettings() {
    previousRoot_ = platform::overrideFoldersRoot(folder_.path());
    platform::UserDefaults::resetStandardUserDefaults();
    setSystemHotKeys(std::vector<KRSystemHotKey>{});
  }
  ~FreshSettings() {
    KRSystemHotKeys::setProvider(nullptr);
    platform::UserDefaults::resetStandardUserDefaults();
    platform::overrideFoldersRoot(previousRoot_);
  }
  FreshSettings(const FreshSettings&) = delete;
  FreshSettings& operator=(const FreshSettings&) = delete;

  static void setSystemHotKeys(KRSystemHotKeys::List list) {
    KRSystemHotKeys::setProvider([list] { return list; });
  }

 private:
  platform::testing::ScratchFolder folder_;
  std::filesystem::path previousRoot_;
};

// Answers the next alert that comes up with its first button, noting its message and informative text.
inline void answerNextAlert(std::string& message, std::string& informative) {
  platform::dispatchAsync([&message, &informative] {
    for (Gtk::Window* shown : Gtk::Window::list_toplevels()) {
      auto* dialog = dynamic_cast<Gtk::MessageDialog*>(shown);
      if (!dialog || !dialog->get_visible()) continue;
      message = dialog->property_text().get_value();
      informative = dialog->property_secondary_text().get_value();
      dialog->response(0);
    }
  });
}

struct RecordingDelegate : KRRecorderControlDelegate {
  void shortcutRecorderKeyComboDidChange(KRRecorderControl&, KRKeyCombo combo) override { changes.push_back(combo); }
  bool shortcutRecorderIsKeyCodeAndFlagsTaken(KRRecorderControl&, std::int64_t code, std::uint64_t flags,
                                              std::optional<std::string>& reason) override {
    asked.push_back({flags, code});
    if (taken && *taken == KRKeyCombo{flags, code}) {
      reason = takenReason;
      return true;
    }
    return false;
  }
  std::vector<KRKeyCombo> changes;
  std::vector<KRKeyCombo> asked;
  std::optional<KRKeyCombo> taken;
  std::optional<std::string> takenReason;
};

class RecorderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    recorder = std::make_shared<KRRecorderControl>(platform::Rect{20, 20, 200, 22});
    recorder->setDelegate(&delegate);
    window.contentView()->addSubview(recorder);
    ASSERT_TRUE(platform::test::showAndSettle(window));
    ASSERT_TRUE(window.makeFirstResponder(recorder.get()));
    platform::clearCurrentEvent();
  }

  // A key down as the window's entry point takes it.
  void press(const std::string& characters, std::uint16_t code, platform::ModifierFlags flags = 0) {
    window.sendEvent(platform::test::keyEvent(platform::EventType::KeyDown, characters, code, flags));
  }
  void startRecording() {
    press(" ", 49);
    ASSERT_TRUE(recorder->cell().isRecording());
  }

  FreshSettings settings;
  platform::Window window{platform::Size{300, 80}};
  std::shared_ptr<KRRecorderControl> recorder;
  RecordingDelegate delegate;
};

}  // namespace shortcuts_testing
