// A recorded combination kept in the user defaults under its autosave name,
// read back from the file by Python's plistlib; a cell decoded from an
// archive loads what is stored, the hand-edited and the missing alike.

#include <memory>
#include <string>

#include "platform/core/keyed_archive.h"
#include "platform/core/property_list.h"
#include "platform/core/user_defaults.h"
#include "platform/core/user_defaults_controller.h"
#include "plistlib_oracle.h"
#include "recorder_fixture.h"

namespace shortcuts_testing {
namespace {

using platform::Dictionary;
using platform::Value;
using platform::modifier::Command;
using platform::modifier::Control;
using platform::modifier::Shift;

class RecorderAutosave : public RecorderTest {
 protected:
  // A cell as an interface description would bring it: archived with an autosave name, then decoded.
  std::shared_ptr<KRRecorderCell> decodedCell(const std::string& autosaveName, bool keyOnly = false) {
    auto original = std::make_shared<KRRecorderCell>();
    original->setAutosaveName(autosaveName);
    original->setAllowsKeyOnly(keyOnly);
    original->setAllowedFlags(Command | Control);
    auto decoded = platform::unarchiveObjectWithData(platform::archivedDataWithRootObject(Value(platform::ObjectRef(original))));
    if (!decoded) return nullptr;
    return std::dynamic_pointer_cast<KRRecorderCell>(decoded.value().object());
  }
};

TEST_F(RecorderAutosave, RecordedCombinationIsStoredInTheDefaultsFile) {
  recorder->setAutosaveName("Select");
  startRecording();
  press("k", 40, Command);
  const std::string file = platform::UserDefaults::standardUserDefaults().filePath();
  EXPECT_EQ(plistlib("defaults", file, "KeyRecorder Select"),
            "{\"keyCode\": 40, \"modifierFlags\": 1048576, \"modifiers\": 256, \"keyChars\": \"k\", "
            "\"keyCharsIgnoringModifiers\": \"k\"}");
  // Set by code: no characters to keep.
  recorder->setKeyCombo({Shift | Control, 122});
  EXPECT_EQ(plistlib("defaults", file, "KeyRecorder Select"),
            "{\"keyCode\": 122, \"modifierFlags\": 393216, \"modifiers\": 4608}");
}

TEST_F(RecorderAutosave, DecodedCellLoadsModifierFlagsThenCarbonModifiersThenNothing) {
  auto& controller = platform::UserDefaultsController::shared();
  struct Case {
    const char* what;
    Value stored;
    KRKeyCombo loaded;
  };
  const Case cases[] = {
      {"both forms: the Cocoa one wins",
       Dictionary::make({{"keyCode", 40}, {"modifierFlags", 0x40000}, {"modifiers", 0x100}}), {0x40000, 40}},
      {"only the Carbon form", Dictionary::make({{"keyCode", 40}, {"modifiers", 0x1100}}), {0x140000, 40}},
      {"no flags", Dictionary::make({{"keyCode", 40}}), {0, 40}},
      {"flags the cell does not allow are dropped", Dictionary::make({{"keyCode", 1}, {"modifierFlags", 0x1F0000}}),
       {0x140000, 1}},
      {"nothing stored", Value(), {0, -1}},
      {"a string for the key code", Dictionary::make({{"keyCode", "40"}, {"modifierFlags", 0x40000}}), {0, -1}},
      {"a string for the flags", Dictionary::make({{"keyCode", 40}, {"modifierFlags", "x"}}), {0, -1}},
      {"not a dictionary", Value("K"), {0, -1}},
      {"a key code beyond 16 bits saturates", Dictionary::make({{"keyCode", 70000}, {"modifierFlags", 0x40000}}),
       {0x40000, 32767}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    controller.setValueForKeyPath(c.stored, "values.KeyRecorder Loaded");
    const auto cell = decodedCell("Loaded");
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->keyCombo(), c.loaded);
  }
  // Nothing stored is the empty combination, not the key A from nowhere, even where keys alone are allowed.
  controller.setValueForKeyPath(Value(), "values.KeyRecorder Loaded");
  const auto keyOnly = decodedCell("Loaded", true);
  EXPECT_TRUE(keyOnly->isEmpty());
  EXPECT_FALSE(keyOnly->keyComboString());
}

TEST_F(RecorderAutosave, ArchiveKeepsTheCellsSettingsAndAddsTheFunctionKey) {
  auto original = std::make_shared<KRRecorderCell>();
  original->setAllowedFlags(Command);
  original->setRequiredFlags(Command);
  original->setAllowsKeyOnlyEscapeKeysRecord(true, true);
  original->setAnimates(true);
  original->setStyle(1);
  original->setKeyCombo2({Command, 14});
  auto decoded = platform::unarchiveObjectWithData(platform::archivedDataWithRootObject(Value(platform::ObjectRef(original))));
  ASSERT_TRUE(decoded);
  const auto cell = std::dynamic_pointer_cast<KRRecorderCell>(decoded.value().object());
  ASSERT_TRUE(cell);
  EXPECT_EQ(cell->keyCombo(), (KRKeyCombo{Command, 14}));
  EXPECT_EQ(cell->allowedFlags(), Command | 0x800000);
  EXPECT_EQ(cell->requiredFlags(), Command);
  EXPECT_TRUE(cell->allowsKeyOnly());
  EXPECT_TRUE(cell->escapeKeysRecord());
  EXPECT_TRUE(cell->animates());
  EXPECT_EQ(cell->style(), 1);
  const auto copied = cell->copy();
  EXPECT_EQ(copied->keyCombo(), cell->keyCombo());
  EXPECT_EQ(copied->allowedFlags(), cell->allowedFlags());
  EXPECT_EQ(copied->style(), 1);
  EXPECT_TRUE(copied->escapeKeysRecord());
  // A control made around it takes it over.
  KRRecorderControl control({0, 0, 80, 22}, cell);
  EXPECT_EQ(control.keyComboString().value_or(""), "\u2318E");
  EXPECT_EQ(&control.cell(), cell.get());
}

TEST_F(RecorderAutosave, ArchiveFromElsewhereKeepsOnlyTheFlagsTheCellRecords) {
  auto original = std::make_shared<KRRecorderCell>();
  original->setAllowedFlags(Command);
  original->setKeyCombo2({Command, 14});
  const auto archive = platform::archivedDataWithRootObject(Value(platform::ObjectRef(original)));
  // Rewrite the archive as another program might: every bit set in the combination's flags, a key code past 16 bits.
  auto tree = platform::propertyListFromData(archive);
  ASSERT_TRUE(tree);
  const platform::DictRef cellEntry = tree.value().dictionary()->array("$objects")->at(1).dictionary();
  ASSERT_TRUE(cellEntry && cellEntry->find("keyComboFlags"));
  cellEntry->set("keyComboFlags", Value(std::int64_t{-1}));
  cellEntry->set("keyComboCode", Value(std::int64_t{1} << 40));
  const auto rewritten = platform::dataFromPropertyList(tree.value(), platform::PropertyListFormat::Binary);
  ASSERT_TRUE(rewritten);
  const auto decoded = platform::unarchiveObjectWithData(rewritten.value());
  ASSERT_TRUE(decoded);
  const auto cell = std::dynamic_pointer_cast<KRRecorderCell>(decoded.value().object());
  ASSERT_TRUE(cell);
  EXPECT_EQ(cell->keyCombo(), (KRKeyCombo{Command | 0x800000, 32767}));
}

}  // namespace
}  // namespace shortcuts_testing
