// The tool-key table: titles named by the keyboard layout, a new key taken from the tool that had it, the table
// saved under "keyshorts" (read back by a second manager and by Python's plistlib) and anything but a valid stored
// table giving the built-in one.

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/CMPreferenceWindowController.h"
#include "document/CMKeyBindingManager.h"
#include "document/CMProject.h"
#include "document/CMTemplateStore.h"
#include "platform/core/files.h"
#include "platform/core/keyed_archive.h"
#include "platform/core/user_defaults.h"
#include "shell_fixture.h"

namespace shell_testing {
namespace {

constexpr std::uint64_t kControl = 1u << 18;
constexpr std::int64_t kKeyR = 15;
constexpr std::int64_t kKeyV = 9;

using KeyBindings = ShellTest;

std::string plistlibRecords(const std::filesystem::path& file) {
  const std::string command =
      "python3 '" DRAFTWORK_SOURCE_DIR "/tests/app/shell/read_key_bindings.py' '" + file.string() + "'";
  std::unique_ptr<FILE, decltype(&pclose)> pipe(popen(command.c_str(), "r"), pclose);
  std::string output;
  char buffer[512];
  while (pipe && fgets(buffer, sizeof buffer, pipe.get())) output += buffer;
  return output;
}

TEST_F(KeyBindings, TitlesFollowTheTableOrderAndTheLayoutsNames) {
  CMKeyBindingManager bindings;
  const std::vector<std::string> titles{"Select (V)", "Rectangle (R)", "Round Rectangle (U)", "Text (T)",
                                        "Oval (O)",   "Star (S)",      "Line (L)",            "Polygon (Y)",
                                        "Zoom (Z)",   "Edit Points (A)", "Gradient (G)",      "Eraser (E)",
                                        "Pen (P)",    "Pencil (N)"};
  ASSERT_EQ(bindings.items()->size(), titles.size());
  for (std::size_t row = 0; row < titles.size(); ++row) {
    const int keyId = bindings.items()->at(row).dictionary()->get("keyId").intValue();
    EXPECT_EQ(bindings.titleFor(keyId), titles[row]) << row;
  }
  EXPECT_EQ(bindings.titleFor(99), "");
}

TEST_F(KeyBindings, ANewKeyIsTakenFromTheToolThatHadItAndSurvivesARestart) {
  CMPreferenceWindowController preferences;
  preferences.window();
  CMKeyBindingManager& bindings = CMProject::shareProject().keyBindings();
  KRRecorderControl* select = preferences.recorderForRow(0);
  ASSERT_NE(select, nullptr);
  int notified = 0;
  auto token = platform::NotificationCenter::defaultCenter().addObserver(CMKeyBindingManager::kUpdateNotification,
                                                                        [&notified](const auto&) { ++notified; });
  // ⌃R is not R: Rectangle keeps its key.
  preferences.shortcutRecorderKeyComboDidChange(*select, {kControl, kKeyR});
  EXPECT_EQ(bindings.titleFor(4), "Rectangle (R)");
  EXPECT_EQ(bindings.titleFor(1), "Select (\u2303R)");
  preferences.shortcutRecorderKeyComboDidChange(*select, {0, kKeyR});
  EXPECT_EQ(bindings.titleFor(1), "Select (R)");
  EXPECT_EQ(bindings.titleFor(4), "Rectangle");
  EXPECT_EQ(bindings.valueFor(4), "");
  EXPECT_EQ(bindings.flagsFor(4), 0u);
  EXPECT_EQ(preferences.recorderForRow(1)->keyCombo(), (KRKeyCombo{0, -1}));
  EXPECT_EQ(notified, 2);
  EXPECT_EQ(bindings.keyIdForKey(kKeyV, 0), 0);

  // A second manager reads the stored table back; so does an outside reader.
  CMKeyBindingManager reread;
  EXPECT_EQ(reread.titleFor(1), "Select (R)");
  EXPECT_EQ(reread.titleFor(4), "Rectangle");
  const std::string json = plistlibRecords(platform::UserDefaults::standardUserDefaults().filePath());
  EXPECT_NE(json.find("{\"title\": \"Select\", \"keyId\": 1, \"code\": 15, \"flags\": 0}"), std::string::npos)
      << json;
  EXPECT_NE(json.find("{\"title\": \"Rectangle\", \"keyId\": 4, \"code\": -1, \"flags\": 0}"), std::string::npos)
      << json;
  std::size_t records = 0;
  for (std::size_t at = json.find("\"title\""); at != std::string::npos; at = json.find("\"title\"", at + 1)) ++records;
  EXPECT_EQ(records, 14u);
}

platform::DictRef record(platform::Value title, platform::Value keyId, platform::Value code, platform::Value flags) {
  return platform::Dictionary::make({{"title", title}, {"keyId", keyId}, {"code", code}, {"flags", flags}});
}

TEST_F(KeyBindings, AnythingButAValidStoredTableGivesTheBuiltInOne) {
  const auto archived = [](std::vector<platform::Value> entries) {
    platform::ArrayRef array = platform::Array::make();
    for (platform::Value& entry : entries) array->add(entry);
    return platform::Value(platform::archivedDataWithRootObject(platform::Value(array)));
  };
  const platform::Value good(record("Select", 1, 40, 0));
  const std::vector<std::pair<const char*, platform::Value>> stored{
      {"not an archive", platform::Value(platform::Bytes{'b', 'a', 'd'})},
      {"a string", platform::Value("keys")},
      {"a dictionary", platform::Value(platform::archivedDataWithRootObject(platform::Value(record("S", 1, 2, 0))))},
      {"a number among records", archived({good, platform::Value(3)})},
      {"key id 16", archived({good, platform::Value(record("Zoom", 16, 6, 0))})},
      {"key id 0", archived({good, platform::Value(record("Zoom", 0, 6, 0))})},
      {"code 128", archived({good, platform::Value(record("Zoom", 15, 128, 0))})},
      {"code -2", archived({good, platform::Value(record("Zoom", 15, -2, 0))})},
      {"a numeric title", archived({good, platform::Value(record(7, 15, 6, 0))})},
      {"negative flags", archived({good, platform::Value(record("Zoom", 15, 6, -1))})},
      {"a text code", archived({good, platform::Value(record("Zoom", 15, "6", 0))})},
  };
  for (const auto& [name, value] : stored) {
    platform::UserDefaults::standardUserDefaults().setObject(value, CMKeyBindingManager::kStoreKey);
    CMKeyBindingManager bindings;
    EXPECT_EQ(bindings.items()->size(), 14u) << name;
    EXPECT_EQ(bindings.titleFor(1), "Select (V)") << name;
  }
  platform::UserDefaults::standardUserDefaults().setObject(archived({good}), CMKeyBindingManager::kStoreKey);
  CMKeyBindingManager valid;
  EXPECT_EQ(valid.items()->size(), 1u);
  EXPECT_EQ(valid.titleFor(1), "Select (K)");
}

// Archives written by Python's plistlib (the fuzz seeds) read as the program reads its own.
TEST(ShellStores, ArchivesWrittenByPlistlibAreRead) {
  const std::filesystem::path seeds = DRAFTWORK_SOURCE_DIR "/fuzz/corpus/shell_stores";
  const auto bytes = [&](const char* name) { return platform::readFile(seeds / name).value(); };
  const platform::ArrayRef table = CMKeyBindingManager::validStoredItems(bytes("keys_built_in"));
  ASSERT_NE(table, nullptr);
  ASSERT_EQ(table->size(), 14u);
  EXPECT_EQ(table->at(0).dictionary()->get("code").intValue(), 9);
  EXPECT_EQ(table->at(13).dictionary()->get("title").string(), "Pencil");
  EXPECT_EQ(CMKeyBindingManager::validStoredItems(bytes("keys_out_of_range")), nullptr);
  const platform::ArrayRef templates = readTemplateRecords(bytes("templates_mixed"));
  ASSERT_NE(templates, nullptr);
  ASSERT_EQ(templates->size(), 2u);  // the record without data is left out
  EXPECT_NE(templateRootRecord(templates->at(0).dictionary()), nullptr);
  EXPECT_EQ(templateRootRecord(templates->at(1).dictionary()), nullptr);
  EXPECT_EQ(templateImageName(templates->at(1).dictionary()), "");
}

}  // namespace
}  // namespace shell_testing
