#include "platform/core/user_defaults.h"

#include <gmock/gmock.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "captured_log.h"
#include "platform/core/folders.h"
#include "platform/core/property_list.h"
#include "scratch_folder.h"

namespace platform {
namespace {

using testing::CapturedLog;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using testing::readTextFile;
using testing::ScratchFolder;
using testing::writeTextFile;

constexpr const char* kStandardFile = "org.draftwork.Draftwork.plist";

std::string xmlPlist(const std::string& body) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
         "<plist version=\"1.0\">\n" +
         body + "\n</plist>\n";
}

std::vector<std::string> fileNames(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

class UserDefaultsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Nothing here may reach the real user's preferences, even through the shared instance.
    previousRoot_ = overrideFoldersRoot(scratch_ / "root");
    UserDefaults::resetStandardUserDefaults();
  }
  void TearDown() override {
    UserDefaults::resetStandardUserDefaults();
    overrideFoldersRoot(previousRoot_);
  }

  ScratchFolder scratch_;
  std::filesystem::path folder_ = scratch_ / "config";
  std::filesystem::path previousRoot_;
};

TEST_F(UserDefaultsTest, MissingKeysReadAsNothing) {
  UserDefaults defaults("", folder_);
  EXPECT_TRUE(defaults.objectForKey("absent").isNil());
  EXPECT_FALSE(defaults.boolForKey("absent"));
  EXPECT_EQ(defaults.integerForKey("absent"), 0);
  EXPECT_EQ(defaults.floatForKey("absent"), 0.0f);
  EXPECT_EQ(defaults.doubleForKey("absent"), 0.0);
  EXPECT_EQ(defaults.stringForKey("absent"), "");
  EXPECT_FALSE(defaults.dictionaryForKey("absent"));
  EXPECT_FALSE(defaults.arrayForKey("absent"));
}

TEST_F(UserDefaultsTest, LaterRegistrationsOverrideEarlierOnesAndStoredValuesBeatBoth) {
  UserDefaults defaults("", folder_);
  defaults.registerDefaults(Dictionary::make({{"a", 1}, {"b", 1}}));
  defaults.registerDefaults(Dictionary::make({{"b", 2}, {"c", 2}}));
  defaults.registerDefaults(nullptr);
  EXPECT_EQ(defaults.integerForKey("a"), 1);
  EXPECT_EQ(defaults.integerForKey("b"), 2);
  EXPECT_EQ(defaults.integerForKey("c"), 2);

  defaults.setInteger(5, "b");
  EXPECT_EQ(defaults.integerForKey("b"), 5);
  defaults.registerDefaults(Dictionary::make({{"b", 9}}));
  EXPECT_EQ(defaults.integerForKey("b"), 5) << "registering never hides a stored value";
  defaults.removeObjectForKey("b");
  EXPECT_EQ(defaults.integerForKey("b"), 9);
  defaults.setObject(Value("x"), "c");
  defaults.setObject(Value(), "c");
  EXPECT_EQ(defaults.integerForKey("c"), 2) << "setting nil removes";
}

TEST_F(UserDefaultsTest, RegisteredValuesAreNotWrittenToDisk) {
  UserDefaults defaults("", folder_);
  defaults.registerDefaults(Dictionary::make({{"registered", true}}));
  defaults.setBool(true, "stored");
  ASSERT_TRUE(defaults.synchronize());
  UserDefaults reread("", folder_);
  EXPECT_TRUE(reread.boolForKey("stored"));
  EXPECT_FALSE(reread.boolForKey("registered"));
}

TEST_F(UserDefaultsTest, SuitesSeeNeitherRegisteredDefaultsNorOtherDomains) {
  UserDefaults standard("", folder_);
  standard.registerDefaults(Dictionary::make({{"shared", 1}}));
  standard.setInteger(2, "standardOnly");
  UserDefaults profile("parlew.state", folder_);
  UserDefaults other("other.suite", folder_);
  {
    CapturedLog log;
    profile.registerDefaults(Dictionary::make({{"shared", 3}}));
    EXPECT_EQ(log.warnings().size(), 1u);
  }
  profile.setInteger(4, "profileOnly");
  other.setInteger(5, "otherOnly");
  EXPECT_EQ(profile.integerForKey("shared"), 0);
  EXPECT_EQ(profile.integerForKey("standardOnly"), 0);
  EXPECT_EQ(profile.integerForKey("otherOnly"), 0);
  EXPECT_EQ(other.integerForKey("profileOnly"), 0);
  EXPECT_EQ(standard.integerForKey("profileOnly"), 0);

  ASSERT_TRUE(standard.synchronize());
  ASSERT_TRUE(profile.synchronize());
  ASSERT_TRUE(other.synchronize());
  EXPECT_THAT(fileNames(folder_),
              ElementsAre("org.draftwork.Draftwork.plist", "other.suite.plist", "parlew.state.plist"));
  UserDefaults profileAgain("parlew.state", folder_);
  EXPECT_EQ(profileAgain.integerForKey("profileOnly"), 4);
  EXPECT_EQ(profileAgain.integerForKey("standardOnly"), 0);
}

TEST_F(UserDefaultsTest, ScalarSettersReadBackThroughEveryConversion) {
  UserDefaults defaults("", folder_);
  defaults.setBool(true, "bool");
  defaults.setInteger(std::numeric_limits<std::int64_t>::min(), "integer");
  defaults.setDouble(-2.75, "double");
  defaults.setObject(Value("YES"), "yesString");
  defaults.setObject(Value("42 apples"), "numberString");
  EXPECT_TRUE(defaults.objectForKey("bool").isBool());
  EXPECT_EQ(defaults.integerForKey("bool"), 1);
  EXPECT_EQ(defaults.integerForKey("integer"), std::numeric_limits<std::int64_t>::min());
  EXPECT_TRUE(defaults.boolForKey("integer"));
  EXPECT_EQ(defaults.integerForKey("double"), -2) << "truncated toward zero";
  EXPECT_EQ(defaults.floatForKey("double"), -2.75f);
  EXPECT_TRUE(defaults.boolForKey("yesString"));
  EXPECT_EQ(defaults.integerForKey("numberString"), 42);
  EXPECT_EQ(defaults.stringForKey("numberString"), "42 apples");
  EXPECT_EQ(defaults.stringForKey("double"), "") << "only strings read as strings";
  EXPECT_FALSE(defaults.dictionaryForKey("yesString"));
}

TEST_F(UserDefaultsTest, FloatsAreStoredAs32BitRealsAndReadBackExactly) {
  const std::vector<float> samples = {0.1f,
                                      1.0f / 3.0f,
                                      -7.25f,
                                      16777215.0f,
                                      std::numeric_limits<float>::max(),
                                      std::numeric_limits<float>::min(),
                                      std::numeric_limits<float>::denorm_min()};
  UserDefaults defaults("", folder_);
  for (std::size_t i = 0; i < samples.size(); ++i) {
    const std::string key = "f" + std::to_string(i);
    defaults.setFloat(samples[i], key);
    EXPECT_TRUE(defaults.objectForKey(key).isReal32()) << key;
    EXPECT_EQ(defaults.floatForKey(key), samples[i]) << key;
  }
  ASSERT_TRUE(defaults.synchronize());
  UserDefaults reread("", folder_);
  for (std::size_t i = 0; i < samples.size(); ++i) {
    EXPECT_EQ(reread.floatForKey("f" + std::to_string(i)), samples[i]) << "after reading back f" << i;
  }
}

TEST_F(UserDefaultsTest, SetValuesAreCopiedAndReadValuesAreTheStoredOnes) {
  UserDefaults defaults("", folder_);
  DictRef record = Dictionary::make({{"width", 10}, {"tags", Array::make({Value("a")})}});
  defaults.setObject(Value(record), "record");
  record->set("width", 99);
  record->array("tags")->add(Value("b"));

  DictRef stored = defaults.dictionaryForKey("record");
  ASSERT_TRUE(stored);
  EXPECT_NE(stored, record);
  EXPECT_EQ(stored->get("width").integerValue(), 10);
  EXPECT_EQ(stored->array("tags")->size(), 1u) << "nested containers are copied too";
  EXPECT_EQ(defaults.dictionaryForKey("record"), stored) << "reading twice gives the same stored dictionary";

  DictRef registered = Dictionary::make({{"list", Array::make({Value(1)})}});
  defaults.registerDefaults(registered);
  registered->array("list")->add(Value(2));
  EXPECT_EQ(defaults.arrayForKey("list")->size(), 1u) << "registration copies as well";
}

TEST_F(UserDefaultsTest, SynchronizedValuesSurviveIntoANewInstance) {
  const Bytes bytes = {0x00, 0x01, 0x7f, 0xff};
  const std::string text = "Ünïcødé ✓ 日本語 \"<&>\" \t";
  DictRef nested = Dictionary::make(
      {{"inner", Dictionary::make({{"list", Array::make({Value(1), Value("two"), Value(3.5),
                                                         Value(Dictionary::make({{"deep", "yes"}}))})}})},
       {"empty", Dictionary::make()}});
  ArrayRef list = Array::make({Value("a"), Value(Array::make({Value("b")})), Value(bytes), Value(Array::make())});
  {
    UserDefaults defaults("", folder_);
    defaults.setObject(Value(text), "text");
    defaults.setObject(Value(text), "ключ ✓");
    defaults.setInteger(std::numeric_limits<std::int64_t>::max(), "max");
    defaults.setInteger(std::numeric_limits<std::int64_t>::min(), "min");
    defaults.setDouble(0.1, "tenth");
    defaults.setBool(false, "off");
    defaults.setObject(Value(nested), "nested");
    defaults.setObject(Value(list), "list");
    defaults.setInteger(1, "removed later");
    ASSERT_TRUE(defaults.synchronize());
    defaults.removeObjectForKey("removed later");
    Status written = defaults.synchronize();
    ASSERT_TRUE(written) << written.error().description;
  }
  EXPECT_EQ(readTextFile(folder_ / kStandardFile).rfind("<?xml", 0), 0u) << "stored as an XML property list";

  UserDefaults reread("", folder_);
  EXPECT_EQ(reread.stringForKey("text"), text);
  EXPECT_EQ(reread.stringForKey("ключ ✓"), text);
  EXPECT_EQ(reread.integerForKey("max"), std::numeric_limits<std::int64_t>::max());
  EXPECT_EQ(reread.integerForKey("min"), std::numeric_limits<std::int64_t>::min());
  EXPECT_EQ(reread.doubleForKey("tenth"), 0.1);
  EXPECT_TRUE(reread.objectForKey("off").isBool());
  EXPECT_FALSE(reread.boolForKey("off"));
  ASSERT_TRUE(reread.dictionaryForKey("nested"));
  EXPECT_TRUE(reread.dictionaryForKey("nested")->isEqual(*nested)) << reread.objectForKey("nested");
  ASSERT_TRUE(reread.arrayForKey("list"));
  EXPECT_TRUE(reread.arrayForKey("list")->isEqual(*list)) << reread.objectForKey("list");
  EXPECT_EQ(reread.arrayForKey("list")->at(2).data(), bytes);
  EXPECT_TRUE(reread.objectForKey("removed later").isNil());
}

TEST_F(UserDefaultsTest, SettersAloneWriteNothing) {
  UserDefaults defaults("", folder_);
  defaults.setInteger(1, "unsaved");
  EXPECT_FALSE(std::filesystem::exists(folder_));
  UserDefaults other("", folder_);
  EXPECT_EQ(other.integerForKey("unsaved"), 0);
}

TEST_F(UserDefaultsTest, TheFileIsReadOnFirstUseNotAtConstruction) {
  UserDefaults early("", folder_);
  UserDefaults writer("", folder_);
  writer.setInteger(7, "written after the first instance was made");
  ASSERT_TRUE(writer.synchronize());
  EXPECT_EQ(early.integerForKey("written after the first instance was made"), 7);
}

TEST_F(UserDefaultsTest, TheSharedInstanceLivesInTheConfigFolderUntilReset) {
  UserDefaults& standard = UserDefaults::standardUserDefaults();
  EXPECT_EQ(&standard, &UserDefaults::standardUserDefaults());
  EXPECT_EQ(standard.filePath(), scratch_ / "root/config/Draftwork" / kStandardFile);
  EXPECT_EQ(UserDefaults("parlew.state").filePath(), scratch_ / "root/config/Draftwork/parlew.state.plist");
  standard.setInteger(1, "saved");
  ASSERT_TRUE(standard.synchronize());
  standard.setInteger(2, "unsaved");
  UserDefaults::resetStandardUserDefaults();
  EXPECT_EQ(UserDefaults::standardUserDefaults().integerForKey("saved"), 1);
  EXPECT_EQ(UserDefaults::standardUserDefaults().integerForKey("unsaved"), 0);
}

TEST_F(UserDefaultsTest, AFileInTheWayOfTheFolderMakesSynchronizeFailHarmlessly) {
  writeTextFile(scratch_ / "blocked", "precious");
  UserDefaults defaults("", scratch_ / "blocked/config");
  defaults.setInteger(1, "value");
  EXPECT_FALSE(defaults.synchronize());
  EXPECT_EQ(readTextFile(scratch_ / "blocked"), "precious");
  EXPECT_EQ(defaults.integerForKey("value"), 1) << "memory keeps the value for a later attempt";
}

// ---- Damaged files ----

struct DamagedFile {
  const char* label;
  std::string bytes;
  // Names the case in test listings instead of dumping its bytes.
  friend void PrintTo(const DamagedFile& file, std::ostream* out) { *out << file.label; }
};

std::string truncatedXml() {
  const std::string whole =
      xmlPlist("<dict>\n\t<key>x</key>\n\t<integer>1</integer>\n\t<key>y</key>\n\t<string>why</string>\n</dict>");
  return whole.substr(0, whole.size() - 30);
}

// The UTC time encoded in a "YYYYMMDDTHHMMSSZ" suffix, or -1.
std::time_t parseTimestamp(const std::string& text) {
  std::tm utc{};
  char zulu = 0;
  if (std::sscanf(text.c_str(), "%4d%2d%2dT%2d%2d%2d%c", &utc.tm_year, &utc.tm_mon, &utc.tm_mday, &utc.tm_hour,
                  &utc.tm_min, &utc.tm_sec, &zulu) != 7 ||
      zulu != 'Z') {
    return -1;
  }
  utc.tm_year -= 1900;
  utc.tm_mon -= 1;
  return timegm(&utc);
}

class DamagedDefaultsTest : public UserDefaultsTest, public ::testing::WithParamInterface<DamagedFile> {};

TEST_P(DamagedDefaultsTest, IsSetAsideIntactAndTheDomainStartsFromDefaults) {
  const std::string damaged = GetParam().bytes;
  writeTextFile(folder_ / kStandardFile, damaged);
  // The clock the file name is taken from; std::time may use a coarser one that lags across a second boundary.
  const std::time_t before = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  CapturedLog log;
  UserDefaults defaults("", folder_);
  defaults.registerDefaults(Dictionary::make({{"fallback", 7}}));
  EXPECT_TRUE(defaults.objectForKey("x").isNil());
  EXPECT_EQ(defaults.integerForKey("fallback"), 7);
  const std::time_t after = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());

  ASSERT_EQ(log.warnings().size(), 1u);
  EXPECT_THAT(log.warnings()[0], HasSubstr(kStandardFile));
  const std::vector<std::string> names = fileNames(folder_);
  ASSERT_EQ(names.size(), 1u) << "the damaged file is moved, not copied";
  const std::string prefix = std::string(kStandardFile) + ".corrupt-";
  ASSERT_EQ(names[0].rfind(prefix, 0), 0u) << names[0];
  const std::time_t stamped = parseTimestamp(names[0].substr(prefix.size()));
  EXPECT_GE(stamped, before) << names[0];
  EXPECT_LE(stamped, after) << names[0];
  EXPECT_EQ(readTextFile(folder_ / names[0]), damaged);
  // The caller learns it once, to tell the user.
  const std::optional<UserDefaults::DamagedFile> told = defaults.takeDamagedFile();
  ASSERT_TRUE(told);
  EXPECT_EQ(told->keptAs, folder_ / names[0]);
  EXPECT_FALSE(told->reason.empty());
  EXPECT_FALSE(defaults.takeDamagedFile());

  defaults.setInteger(5, "x");
  Status written = defaults.synchronize();
  ASSERT_TRUE(written) << written.error().description;
  Expected<Value> rewritten = readPropertyListFile(folder_ / kStandardFile);
  ASSERT_TRUE(rewritten) << rewritten.error().description;
  ASSERT_TRUE(rewritten.value().isDictionary());
  EXPECT_EQ(rewritten.value().dictionary()->get("x").integerValue(), 5);
  EXPECT_EQ(readTextFile(folder_ / names[0]), damaged);
  EXPECT_EQ(log.warnings().size(), 1u) << "a good file raises no further warning";
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, DamagedDefaultsTest,
    ::testing::Values(DamagedFile{"garbage", std::string("\x00\xff\xfe garbage\x01\n<plist", 19)},
                      DamagedFile{"empty", ""}, DamagedFile{"truncatedXml", truncatedXml()},
                      DamagedFile{"arrayRoot", xmlPlist("<array>\n\t<string>x</string>\n</array>")},
                      DamagedFile{"stringRoot", xmlPlist("<string>x</string>")},
                      DamagedFile{"binaryHeaderOnly", std::string("bplist00\xd1\x01\x02", 11)}),
    [](const ::testing::TestParamInfo<DamagedFile>& info) { return std::string(info.param.label); });

TEST_F(UserDefaultsTest, RepeatedDamageWithinOneSecondKeepsEveryCopy) {
  writeTextFile(folder_ / kStandardFile, "first damage");
  CapturedLog log;
  EXPECT_EQ(UserDefaults("", folder_).integerForKey("x"), 0);
  writeTextFile(folder_ / kStandardFile, "second damage");
  EXPECT_EQ(UserDefaults("", folder_).integerForKey("x"), 0);
  const std::vector<std::string> names = fileNames(folder_);
  ASSERT_EQ(names.size(), 2u);
  std::vector<std::string> contents = {readTextFile(folder_ / names[0]), readTextFile(folder_ / names[1])};
  std::sort(contents.begin(), contents.end());
  EXPECT_THAT(contents, ElementsAre("first damage", "second damage"));
  EXPECT_EQ(log.warnings().size(), 2u);
}

// ---- Folders the program may not write to ----

// Runs body in a child process to which file permissions apply (a root parent's child becomes "nobody"), and
// returns its exit code: 0 when every check passed, otherwise the number of the first failed one.
constexpr int kCannotDropPrivileges = 100;
int runWithFilePermissions(const std::filesystem::path& workFolder, const std::function<int()>& body) {
  constexpr uid_t nobody = 65534;
  if (::geteuid() == 0 &&
      (::chown(workFolder.c_str(), nobody, nobody) != 0 || ::chmod(workFolder.parent_path().c_str(), 0711) != 0)) {
    return kCannotDropPrivileges;
  }
  const pid_t child = ::fork();
  if (child == 0) {
    if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(nobody) != 0 || ::setuid(nobody) != 0)) {
      ::_exit(kCannotDropPrivileges);
    }
    ::_exit(body());
  }
  int status = 0;
  if (child < 0 || ::waitpid(child, &status, 0) != child) return kCannotDropPrivileges;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 200 + WTERMSIG(status);
}

TEST_F(UserDefaultsTest, AReadOnlyFolderMakesSynchronizeFailWithoutDamage) {
  const std::filesystem::path work = scratch_ / "work";
  std::filesystem::create_directory(work);
  const int result = runWithFilePermissions(work, [&]() -> int {
    const std::filesystem::path folder = work / "prefs";
    UserDefaults first("", folder);
    first.setInteger(1, "kept");
    if (!first.synchronize()) return 1;
    const std::string original = readTextFile(folder / kStandardFile);
    if (::chmod(folder.c_str(), 0555) != 0) return 2;
    UserDefaults second("", folder);
    if (second.integerForKey("kept") != 1) return 3;
    second.setInteger(2, "kept");
    if (second.synchronize()) return 4;
    if (readTextFile(folder / kStandardFile) != original) return 5;
    if (fileNames(folder) != std::vector<std::string>{kStandardFile}) return 6;
    return 0;
  });
  if (result == kCannotDropPrivileges) GTEST_SKIP() << "cannot run a process that file permissions apply to";
  EXPECT_EQ(result, 0) << "failed check number " << result;
}

TEST_F(UserDefaultsTest, ADamagedFileThatCannotBeMovedAsideIsNeverOverwritten) {
  const std::filesystem::path work = scratch_ / "work";
  std::filesystem::create_directory(work);
  const int result = runWithFilePermissions(work, [&]() -> int {
    const std::filesystem::path folder = work / "prefs";
    writeTextFile(folder / kStandardFile, "damaged beyond repair");
    if (::chmod(folder.c_str(), 0555) != 0) return 1;
    CapturedLog log;
    UserDefaults defaults("", folder);
    defaults.registerDefaults(Dictionary::make({{"fallback", 7}}));
    if (defaults.integerForKey("fallback") != 7 || !defaults.objectForKey("x").isNil()) return 2;
    if (log.warnings().size() != 1) return 3;
    defaults.setInteger(1, "x");
    if (defaults.synchronize()) return 4;
    if (::chmod(folder.c_str(), 0755) != 0) return 5;
    if (defaults.synchronize()) return 6;  // still refused: the damaged bytes are in the way
    if (readTextFile(folder / kStandardFile) != "damaged beyond repair") return 7;
    const std::optional<UserDefaults::DamagedFile> told = defaults.takeDamagedFile();
    if (!told || !told->keptAs.empty()) return 8;  // told, with nowhere it was kept
    return 0;
  });
  if (result == kCannotDropPrivileges) GTEST_SKIP() << "cannot run a process that file permissions apply to";
  EXPECT_EQ(result, 0) << "failed check number " << result;
}

}  // namespace
}  // namespace platform
