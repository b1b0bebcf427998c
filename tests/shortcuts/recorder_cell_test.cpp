// The recorder cell's state machine, fed key events through the window: which
// keys end recording unchanged, which are recorded and which pass on, how
// flags are filtered, what a refused combination does, and the animated
// style's transition.


#include <chrono>
#include <cstdint>
#include <string>

#include "platform/core/main_queue.h"
#include "platform/ui/key_translation.h"
#include "recorder_fixture.h"

namespace shortcuts_testing {
namespace {

using namespace std::chrono_literals;
using platform::modifier::CapsLock;
using platform::modifier::Command;
using platform::modifier::Control;
using platform::modifier::Function;
using platform::modifier::NumericPad;
using platform::modifier::Option;

const std::string kEscape = "\x1B";
const std::string kDelete = "\x7F";
const std::string kForwardDelete = platform::utf8FromCodePoint(0xF728);
const std::string kF5 = platform::utf8FromCodePoint(0xF708);

struct KeyCase {
  const char* what;
  bool keyOnly;
  std::string characters;
  std::uint16_t code;
  std::uint64_t flags;
  bool recordingAfter;
  std::optional<KRKeyCombo> recorded;  // nothing: unchanged
};

class RecorderCell : public RecorderTest {};

TEST_F(RecorderCell, KeysEndRecordOrPassAsTheirFlagsAndTheKeyOnlySettingSay) {
  const KRKeyCombo before{Control, 8};
  const KeyCase cases[] = {
      {"Escape alone, key only", true, kEscape, 53, 0, false, std::nullopt},
      {"Delete alone, key only", true, kDelete, 51, 0, false, std::nullopt},
      {"Forward Delete alone, key only", true, kForwardDelete, 117, Function, false, std::nullopt},
      {"Command-Escape, key only", true, kEscape, 53, Command, false, KRKeyCombo{Command, 53}},
      {"a letter alone, key only", true, "k", 40, 0, false, KRKeyCombo{0, 40}},
      {"a letter alone", false, "k", 40, 0, true, std::nullopt},
      {"F5 alone", false, kF5, 96, Function, false, KRKeyCombo{Function, 96}},
      {"Forward Delete alone", false, kForwardDelete, 117, Function, false, KRKeyCombo{Function, 117}},
      {"Escape alone", false, kEscape, 53, 0, false, std::nullopt},
      {"Delete alone", false, kDelete, 51, 0, false, std::nullopt},
      {"Caps Lock is never stored", false, "K", 40, Command | CapsLock | NumericPad, false, KRKeyCombo{Command, 40}},
  };
  for (const KeyCase& c : cases) {
    SCOPED_TRACE(c.what);
    recorder->setAllowsKeyOnly(c.keyOnly);
    recorder->cell().setKeyCombo2(before);
    delegate.changes.clear();
    startRecording();
    press(c.characters, c.code, c.flags);
    EXPECT_EQ(recorder->cell().isRecording(), c.recordingAfter);
    EXPECT_EQ(recorder->keyCombo(), c.recorded.value_or(before));
    EXPECT_EQ(delegate.changes.size(), c.recorded ? 1u : 0u);
    if (recorder->cell().isRecording()) press(kEscape, 53);
  }
}

TEST_F(RecorderCell, EscapeKeysRecordWhenAskedAndTheControlsSetterForgetsIt) {
  recorder->setAllowsKeyOnlyEscapeKeysRecord(true, true);
  startRecording();
  press(kEscape, 53);
  EXPECT_EQ(recorder->keyCombo(), (KRKeyCombo{0, 53}));
  recorder->cell().setAllowsKeyOnly(true);  // the cell's own setter leaves it
  EXPECT_TRUE(recorder->escapeKeysRecord());
  recorder->setAllowsKeyOnly(true);
  EXPECT_FALSE(recorder->escapeKeysRecord());
}

TEST_F(RecorderCell, RequiredCommandIsInEveryCombinationAndHeldFromTheStart) {
  recorder->setRequiredFlags(Command);
  startRecording();
  EXPECT_EQ(recorder->cell().recordingFlags(), Command);
  press("k", 40);  // Command is added, so a letter alone is a valid combination
  EXPECT_EQ(recorder->keyCombo(), (KRKeyCombo{Command, 40}));
  recorder->setKeyCombo({Option | Control, 1});
  EXPECT_EQ(recorder->keyCombo().flags, Option | Control | Command);
}

TEST_F(RecorderCell, ModifierChangesWhileRecordingAreFilteredForDrawing) {
  recorder->setAllowedFlags(Command | Option);
  window.sendEvent(platform::test::keyEvent(platform::EventType::FlagsChanged, "", 59, Control));
  EXPECT_EQ(recorder->cell().recordingFlags(), 0u);  // not recording: ignored
  startRecording();
  window.sendEvent(platform::test::keyEvent(platform::EventType::FlagsChanged, "", 55, Command | Control | CapsLock));
  EXPECT_EQ(recorder->cell().recordingFlags(), Command);
  press("k", 40, Command | Control);
  EXPECT_EQ(recorder->keyCombo(), (KRKeyCombo{Command, 40}));
  EXPECT_EQ(recorder->cell().recordingFlags(), 0u);
}

TEST_F(RecorderCell, ChangingAllowedFlagsRefiltersTheCombinationOnce) {
  recorder->setAutosaveName("Tool");
  recorder->setKeyCombo({Option, 40});
  delegate.changes.clear();
  recorder->setAllowedFlags(0x9E0000 & ~Option);
  ASSERT_EQ(delegate.changes.size(), 1u);
  EXPECT_EQ(delegate.changes[0], (KRKeyCombo{0, 40}));
  const auto stored = platform::UserDefaults::standardUserDefaults().dictionaryForKey("KeyRecorder Tool");
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->get("modifierFlags").integerValue(), 0);
  recorder->setAllowedFlags(0x9E0000);  // nothing left to drop
  EXPECT_EQ(delegate.changes.size(), 1u);

  // While recording, only what is drawn as held changes.
  startRecording();
  platform::setCurrentEvent(platform::test::keyEvent(platform::EventType::FlagsChanged, "", 58, Option | Command));
  recorder->setAllowedFlags(Option);
  EXPECT_EQ(recorder->cell().recordingFlags(), Option);
  EXPECT_EQ(delegate.changes.size(), 1u);
}

TEST_F(RecorderCell, TakenCombinationAlertsLiterallyAndRecordingGoesOn) {
  recorder->cell().setKeyCombo2({Control, 8});
  delegate.taken = KRKeyCombo{Control, 40};
  delegate.takenReason = "%@ 100%";
  startRecording();
  std::string message;
  std::string suggestion;
  answerNextAlert(message, suggestion);
  press("k", 40, Control);
  EXPECT_EQ(message, "The key combination \u2303K can't be used!");
  EXPECT_EQ(suggestion, "The key combination \"Control + K\" can't be used because %@ 100%.");
  EXPECT_TRUE(recorder->cell().isRecording());
  EXPECT_EQ(recorder->keyCombo(), (KRKeyCombo{Control, 8}));
  EXPECT_TRUE(delegate.changes.empty());
  EXPECT_EQ(delegate.asked.back(), (KRKeyCombo{Control, 40}));
}

TEST_F(RecorderCell, KeysThatTypeNothingOrHaveNoPlaceAreNotRecorded) {
  recorder->cell().setKeyCombo2({Control, 8});
  startRecording();
  press("", 24, Control);  // a dead key
  EXPECT_FALSE(recorder->cell().isRecording());
  startRecording();
  press("\u00E9", platform::UnknownKeyCode, Control);
  EXPECT_FALSE(recorder->cell().isRecording());
  EXPECT_EQ(recorder->keyCombo(), (KRKeyCombo{Control, 8}));
  EXPECT_TRUE(delegate.changes.empty());
}

TEST_F(RecorderCell, AnimatedStyleFlipsAfterElevenTicksTheOtherAtOnce) {
  recorder->setStyle(1);
  recorder->setAnimates(true);
  press(" ", 49);
  EXPECT_FALSE(recorder->cell().isRecording());
  EXPECT_TRUE(recorder->cell().isAnimatingNow());
  int ticks = 0;
  double progress = 0;
  while (!recorder->cell().isRecording()) {
    ASSERT_TRUE(platform::iterateMainLoopUntil(
        [&] { return recorder->cell().isRecording() || recorder->cell().transitionProgress() != progress; }, 1000ms));
    ++ticks;
    progress = recorder->cell().transitionProgress();
    if (!recorder->cell().isRecording()) {
      EXPECT_NEAR(progress, ticks * 2.0 / 21.0, 1e-9);
    }
  }
  EXPECT_EQ(ticks, 11);
  EXPECT_FALSE(recorder->cell().isAnimatingNow());
  press(kEscape, 53);
  EXPECT_TRUE(recorder->cell().isRecording());  // the way back animates too
  ASSERT_TRUE(platform::iterateMainLoopUntil([&] { return !recorder->cell().isRecording(); }, 2000ms));

  recorder->setAnimates(false);
  press(" ", 49);
  EXPECT_TRUE(recorder->cell().isRecording());
  recorder->setStyle(7);
  EXPECT_EQ(recorder->style(), 0);
}

TEST_F(RecorderCell, LosingFocusEndsRecording) {
  auto other = std::make_shared<KRRecorderControl>(platform::Rect{20, 50, 100, 22});
  window.contentView()->addSubview(other);
  startRecording();
  ASSERT_TRUE(window.makeFirstResponder(other.get()));
  EXPECT_FALSE(recorder->cell().isRecording());
  // Not first responder: a space is not the recorder's.
  press(" ", 49);
  EXPECT_FALSE(recorder->cell().isRecording());
  EXPECT_TRUE(other->cell().isRecording());
}

}  // namespace
}  // namespace shortcuts_testing
