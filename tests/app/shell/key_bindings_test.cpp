// The tool-key table: titles named by the keyboard layout, a new key taken from the tool that had it, the table
// saved under "keyshorts" (read back by a second manager and by Python's plistlib), the valid records of a damaged
// stored table kept, with a tool whose record was dropped keeping its row and its built-in key, and an unusable one
// giving the built-in table, the user told either way, once.

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/CMPreferenceWindowController.h"
#include "document/CMKeyBindingManager.h"
#include "document/CMProject.h"
#include "document/CMTemplateStore.h"
#include "document/CMUserNotices.h"
#include "platform/core/files.h"
#include "platform/core/keyed_archive.h"
#include "platform/core/user_defaults.h"
#include "shell_fixture.h"

namespace shell_testing {
namespace {

constexpr std::uint64_t kControl = 1u << 18;
constexpr std::int64_t kKeyS = 1;
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

platform::Value archivedTable(std::vector<platform::Value> entries) {
  platform::ArrayRef array = platform::Array::make();
  for (platform::Value& entry : entries) array->add(entry);
  return platform::Value(platform::archivedDataWithRootObject(platform::Value(array)));
}

// The built-in table as stored, with Star's record (the sixth) in its place: `star`, or none when nil.
platform::Value builtInWithStar(platform::Value star, std::int64_t selectCode = kKeyV) {
  const platform::ArrayRef builtIn = CMKeyBindingManager::builtInItems();
  std::vector<platform::Value> entries(builtIn->begin(), builtIn->end());
  entries[0].dictionary()->set("code", selectCode);
  if (star.isNil()) {
    entries.erase(entries.begin() + 5);
  } else {
    entries[5] = std::move(star);
  }
  return archivedTable(std::move(entries));
}

TEST_F(KeyBindings, ValidStoredRecordsAreKeptAnUnusableTableGivesTheBuiltInOneAndTheUserIsToldOnce) {
  CMUserNotices::takeWaiting();
  const platform::Value good(record("Select", 1, 40, 0));
  const auto withGood = [&good](platform::Value bad) { return archivedTable({good, std::move(bad)}); };
  const auto withExtra = [](platform::Value extra) {
    const platform::ArrayRef builtIn = CMKeyBindingManager::builtInItems();
    builtIn->at(0).dictionary()->set("code", 40);
    builtIn->add(std::move(extra));
    return platform::Value(platform::archivedDataWithRootObject(platform::Value(builtIn)));
  };
  struct Case {
    const char* what;
    platform::Value stored;  // nil: nothing stored
    const char* selectTitle;
    const char* starTitle;  // Star's row, in every table used: its built-in key unless another tool holds it
    const char* told;       // a part of the one notice, null for none
  } cases[] = {
      // Records that are no key binding: left out and named, the good one kept, every other tool on its own key.
      {"a number", withGood(3), "Select (K)", "Star (S)", "left out: record 2."},
      {"key id 16", withGood(record("Zoom", 16, 6, 0)), "Select (K)", "Star (S)", "record 2 (\u201cZoom\u201d)"},
      {"key id 0", withGood(record("Zoom", 0, 6, 0)), "Select (K)", "Star (S)", "record 2 (\u201cZoom\u201d)"},
      {"key id 8, no tool's", withGood(record("Zoom", 8, 6, 0)), "Select (K)", "Star (S)",
       "record 2 (\u201cZoom\u201d)"},
      {"Select's second record", withGood(record("Select", 1, 9, 0)), "Select (K)", "Star (S)",
       "record 2 (\u201cSelect\u201d)"},
      {"fourteen records, two of them Select's", builtInWithStar(platform::Value(record("Select", 1, 1, 0))),
       "Select (V)", "Star (S)", "record 6 (\u201cSelect\u201d)"},
      {"code 128", withGood(record("Zoom", 15, 128, 0)), "Select (K)", "Star (S)", "record 2 (\u201cZoom\u201d)"},
      {"code -2", withGood(record("Zoom", 15, -2, 0)), "Select (K)", "Star (S)", "record 2 (\u201cZoom\u201d)"},
      {"a numeric title", withGood(record(7, 15, 6, 0)), "Select (K)", "Star (S)", "left out: record 2."},
      {"negative flags", withGood(record("Zoom", 15, 6, -1)), "Select (K)", "Star (S)", "record 2 (\u201cZoom\u201d)"},
      {"a text code", withGood(record("Zoom", 15, "6", 0)), "Select (K)", "Star (S)", "record 2 (\u201cZoom\u201d)"},
      {"Star's code a text", builtInWithStar(platform::Value(record("Star", 10, "1", 0))), "Select (V)", "Star (S)",
       "record 6 (\u201cStar\u201d)"},
      {"Star's record damaged, S held by Select", builtInWithStar(platform::Value(record("Star", 10, 1, -1)), kKeyS),
       "Select (S)", "Star", "record 6 (\u201cStar\u201d)"},
      {"a valid table", archivedTable({good}), "Select (K)", "Star (S)", nullptr},
      {"Star's record missing", builtInWithStar(platform::Value()), "Select (V)", "Star (S)", nullptr},
      // Nothing usable: the built-in table.
      {"not an archive", platform::Value(platform::Bytes{'b', 'a', 'd'}), "Select (V)", "Star (S)", "built-in key"},
      {"a string", platform::Value("keys"), "Select (V)", "Star (S)", "built-in key"},
      {"a dictionary", platform::Value(platform::archivedDataWithRootObject(platform::Value(record("S", 1, 2, 0)))),
       "Select (V)", "Star (S)", "built-in key"},
      {"an empty table", archivedTable({}), "Select (V)", "Star (S)", "the table is empty"},
      {"no valid record", archivedTable({platform::Value(3), platform::Value(record("Zoom", 16, 6, 0))}),
       "Select (V)", "Star (S)", "built-in key"},
      // More records than tools: each tool's first kept, the others named, the first ten of them one by one.
      {"the fourteen tools' records and a second Zoom", withExtra(record("Zoom", 15, 6, 0)), "Select (K)",
       "Star (S)", "left out: record 15 (\u201cZoom\u201d). A tool"},
      {"fifteen records of Select", archivedTable(std::vector<platform::Value>(15, good)), "Select (K)", "Star (S)",
       "record 11 (\u201cSelect\u201d), and 4 more. A tool"},
      {"20,000 records", archivedTable(std::vector<platform::Value>(20000, good)), "Select (K)", "Star (S)",
       "record 11 (\u201cSelect\u201d), and 19989 more. A tool"},
      {"nothing stored", platform::Value(), "Select (V)", "Star (S)", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    platform::UserDefaults::standardUserDefaults().setObject(c.stored, CMKeyBindingManager::kStoreKey);
    CMKeyBindingManager bindings;
    EXPECT_EQ(bindings.items()->size(), 14u) << "every tool has its row";
    EXPECT_EQ(bindings.titleFor(1), c.selectTitle);
    EXPECT_EQ(bindings.titleFor(10), c.starTitle);
    EXPECT_EQ(bindings.keyIdForKey(kKeyS, 0), std::string(c.starTitle) == "Star" ? 1 : 10);
    const std::vector<std::string> notices = CMUserNotices::takeWaiting();
    ASSERT_EQ(notices.size(), c.told ? 1u : 0u);
    if (c.told) {
      EXPECT_NE(notices[0].find(c.told), std::string::npos) << notices[0];
    }
    // The next start reads the same table and says nothing more.
    CMKeyBindingManager restarted;
    EXPECT_EQ(restarted.titleFor(10), c.starTitle);
    EXPECT_TRUE(CMUserNotices::takeWaiting().empty());
  }
}

TEST_F(KeyBindings, ADamagedStoredTableIsWrittenOnlyWhenTheUserChangesAKey) {
  const platform::Value damaged = archivedTable({platform::Value(record("Select", 1, 40, 0)), platform::Value(3)});
  platform::UserDefaults::standardUserDefaults().setObject(damaged, CMKeyBindingManager::kStoreKey);
  ASSERT_TRUE(platform::UserDefaults::standardUserDefaults().synchronize());
  CMProject::resetSharedProject();
  CMPreferenceWindowController preferences;
  preferences.window();
  // Another setting saved: the stored table is still the user's, byte for byte.
  CMProject::shareProject().settings().setBool(true, "show_grid");
  CMProject::shareProject().saveSettings();
  platform::UserDefaults::resetStandardUserDefaults();
  EXPECT_TRUE(platform::UserDefaults::standardUserDefaults().objectForKey(CMKeyBindingManager::kStoreKey).isEqual(damaged));
  // A key set by the user writes the table as it now is: the kept record with its new key.
  KRRecorderControl* select = preferences.recorderForRow(0);
  ASSERT_NE(select, nullptr);
  preferences.shortcutRecorderKeyComboDidChange(*select, {0, kKeyR});
  platform::UserDefaults::resetStandardUserDefaults();
  const CMKeyBindingManager::StoredTable table = CMKeyBindingManager::readStoredTable(
      platform::UserDefaults::standardUserDefaults().objectForKey(CMKeyBindingManager::kStoreKey));
  ASSERT_NE(table.items, nullptr);
  EXPECT_EQ(table.items->at(0).dictionary()->get("code").integerValue(), kKeyR);
  EXPECT_TRUE(table.dropped.empty());
  CMUserNotices::takeWaiting();
}

// Star's stored record damaged: its row in Preferences ▸ Shortcuts shows S, S chooses it, and the table written when
// the user sets another key holds all 14 tools, Star on S (read back by Python's plistlib).
TEST_F(KeyBindings, AToolWhoseStoredRecordIsDamagedKeepsItsRowAndKeyAcrossASave) {
  platform::UserDefaults::standardUserDefaults().setObject(
      builtInWithStar(platform::Value(record("Star", 10, 1, -1))), CMKeyBindingManager::kStoreKey);
  ASSERT_TRUE(platform::UserDefaults::standardUserDefaults().synchronize());
  CMProject::resetSharedProject();
  CMPreferenceWindowController preferences;
  preferences.window();
  ASSERT_EQ(preferences.numberOfRowsInTableView(), 14);
  ASSERT_NE(preferences.recorderForRow(5), nullptr);
  EXPECT_EQ(preferences.recorderForRow(5)->keyCombo(), (KRKeyCombo{0, kKeyS}));
  CMKeyBindingManager& bindings = CMProject::shareProject().keyBindings();
  std::vector<std::int32_t> chosen;
  bindings.bindKeys([&chosen](std::int32_t keyId) { chosen.push_back(keyId); });
  EXPECT_TRUE(bindings.performKeyEquivalent(kKeyS, 0));
  EXPECT_EQ(chosen, std::vector<std::int32_t>{10});
  preferences.shortcutRecorderKeyComboDidChange(*preferences.recorderForRow(0), {0, kKeyR});
  const std::string json = plistlibRecords(platform::UserDefaults::standardUserDefaults().filePath());
  std::size_t records = 0;
  for (std::size_t at = json.find("\"title\""); at != std::string::npos; at = json.find("\"title\"", at + 1)) ++records;
  EXPECT_EQ(records, 14u) << json;
  EXPECT_NE(json.find("{\"title\": \"Star\", \"keyId\": 10, \"code\": 1, \"flags\": 0}"), std::string::npos) << json;
  CMUserNotices::takeWaiting();
}

// Archives written by Python's plistlib (the fuzz seeds) read as the program reads its own.
TEST(ShellStores, ArchivesWrittenByPlistlibAreRead) {
  const std::filesystem::path seeds = DRAFTWORK_SOURCE_DIR "/fuzz/corpus/shell_stores";
  const auto bytes = [&](const char* name) { return platform::readFile(seeds / name).value(); };
  const platform::ArrayRef table = CMKeyBindingManager::readStoredTable(platform::Value(bytes("keys_built_in"))).items;
  ASSERT_NE(table, nullptr);
  ASSERT_EQ(table->size(), 14u);
  EXPECT_EQ(table->at(0).dictionary()->get("code").intValue(), 9);
  EXPECT_EQ(table->at(13).dictionary()->get("title").string(), "Pencil");
  const CMKeyBindingManager::StoredTable outOfRange =
      CMKeyBindingManager::readStoredTable(platform::Value(bytes("keys_out_of_range")));
  EXPECT_EQ(outOfRange.items, nullptr);  // a key id and a key code out of range: no record is usable
  EXPECT_EQ(outOfRange.unreadable, "no record of the table is valid");
  const platform::ArrayRef templates = readTemplateRecords(bytes("templates_mixed"));
  ASSERT_NE(templates, nullptr);
  ASSERT_EQ(templates->size(), 2u);  // the record without data is left out
  EXPECT_NE(templateRootRecord(templates->at(0).dictionary()), nullptr);
  EXPECT_EQ(templateRootRecord(templates->at(1).dictionary()), nullptr);
  EXPECT_EQ(templateImageName(templates->at(1).dictionary()), "");
}

}  // namespace
}  // namespace shell_testing
