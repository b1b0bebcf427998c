#include "platform/core/resources.h"

#include <gtest/gtest.h>

#include "captured_log.h"
#include "scoped_environment.h"
#include "scratch_folder.h"

namespace platform {
namespace {

using testing::CapturedLog;
using testing::ScopedEnvironment;
using testing::ScratchFolder;
using testing::writeTextFile;

constexpr const char* kXmlHeader =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n";

std::string xmlPlist(const std::string& body) {
  return kXmlHeader + ("<plist version=\"1.0\">\n" + body + "\n</plist>\n");
}

class ResourcesTest : public ::testing::Test {
 protected:
  void SetUp() override { previousExecutableFolder_ = overrideExecutableFolder(prefix_ / "bin"); }
  void TearDown() override { overrideExecutableFolder(previousExecutableFolder_); }

  // An installed layout: <prefix>/bin holds the program, <prefix>/share/draftwork its resources.
  ScratchFolder prefix_;
  ScratchFolder environmentFolder_;
  ScopedEnvironment environment_{"DRAFTWORK_RESOURCES", environmentFolder_.path().c_str()};
  std::filesystem::path installed_ = prefix_ / "share/draftwork";
  std::filesystem::path previousExecutableFolder_;
};

TEST_F(ResourcesTest, FindsFilesBesideTheExecutable) {
  writeTextFile(installed_ / "Shapes.plist", "x");
  writeTextFile(installed_ / "Discover/Intro.svg", "x");
  EXPECT_EQ(pathForResource("Shapes", "plist"), installed_ / "Shapes.plist");
  EXPECT_EQ(pathForResource("Intro", "svg", "Discover"), installed_ / "Discover/Intro.svg");
  EXPECT_TRUE(pathForResource("Intro", "svg").empty()) << "a subfolder is searched only when named";
}

TEST_F(ResourcesTest, TheEnvironmentFolderComesFirstAndTheInstalledOneStillCounts) {
  writeTextFile(installed_ / "Both.plist", "installed");
  writeTextFile(environmentFolder_ / "Both.plist", "override");
  writeTextFile(installed_ / "library/OnlyInstalled.plist", "installed");
  EXPECT_EQ(pathForResource("Both", "plist"), environmentFolder_ / "Both.plist");
  EXPECT_EQ(pathForResource("OnlyInstalled", "plist", "library"), installed_ / "library/OnlyInstalled.plist");
  const std::vector<std::filesystem::path> folders = resourceFolders();
  ASSERT_EQ(folders.size(), 2u);
  EXPECT_EQ(folders[0], environmentFolder_.path());
}

TEST_F(ResourcesTest, TypeSpellingsAndFoldersAsResources) {
  writeTextFile(environmentFolder_ / "Samples/Poster.draftwork", "x");
  writeTextFile(environmentFolder_ / "README", "x");
  EXPECT_EQ(pathForResource("Poster", ".draftwork", "Samples"), environmentFolder_ / "Samples/Poster.draftwork");
  EXPECT_EQ(pathForResource("Poster", "draftwork", "Samples"), environmentFolder_ / "Samples/Poster.draftwork");
  EXPECT_EQ(pathForResource("README", ""), environmentFolder_ / "README");
  EXPECT_EQ(pathForResource("Samples", ""), environmentFolder_ / "Samples");
}

TEST_F(ResourcesTest, MissingResourcesGiveAnEmptyPath) {
  writeTextFile(environmentFolder_ / "Shapes.plist", "x");
  EXPECT_TRUE(pathForResource("Shapes", "svg").empty());
  EXPECT_TRUE(pathForResource("Shape", "plist").empty());
  EXPECT_TRUE(pathForResource("Shapes", "plist", "library").empty());
  EXPECT_TRUE(pathForResource("", "plist").empty());
}

TEST_F(ResourcesTest, AnEmptyEnvironmentVariableIsNotAFolder) {
  ScopedEnvironment empty("DRAFTWORK_RESOURCES", "");
  const std::vector<std::filesystem::path> folders = resourceFolders();
  ASSERT_EQ(folders.size(), 1u);
  EXPECT_EQ(folders[0], installed_);
}

TEST_F(ResourcesTest, PropertyListResourcesAreRead) {
  writeTextFile(environmentFolder_ / "Defaults.plist",
                xmlPlist("<dict><key>gridSpacing</key><real>12.5</real><key>names</key>"
                         "<array><string>a</string><string>b</string></array></dict>"));
  writeTextFile(environmentFolder_ / "Order.list", xmlPlist("<array><integer>3</integer></array>"));
  CapturedLog log;
  DictRef defaults = dictionaryResource("Defaults");
  ASSERT_TRUE(defaults);
  EXPECT_EQ(defaults->get("gridSpacing").doubleValue(), 12.5);
  ASSERT_TRUE(defaults->array("names"));
  EXPECT_EQ(defaults->array("names")->at(1).string(), "b");
  Value order = propertyListResource("Order", "list");
  ASSERT_TRUE(order.isArray());
  EXPECT_EQ(order.array()->at(0).integerValue(), 3);
  EXPECT_TRUE(log.warnings().empty());
}

TEST_F(ResourcesTest, MissingBrokenOrMistypedPropertyListsAreNilWithAWarning) {
  const std::string whole = xmlPlist("<dict><key>a</key><string>b</string></dict>");
  writeTextFile(environmentFolder_ / "Broken.plist", whole.substr(0, whole.size() - 20));
  writeTextFile(environmentFolder_ / "List.plist", xmlPlist("<array><string>x</string></array>"));
  {
    CapturedLog log;
    EXPECT_TRUE(propertyListResource("Absent").isNil());
    EXPECT_EQ(log.warnings().size(), 1u);
  }
  {
    CapturedLog log;
    EXPECT_TRUE(propertyListResource("Broken").isNil());
    EXPECT_EQ(log.warnings().size(), 1u);
  }
  {
    CapturedLog log;
    EXPECT_FALSE(dictionaryResource("List"));
    ASSERT_EQ(log.warnings().size(), 1u);
    EXPECT_NE(log.warnings()[0].find("List.plist"), std::string::npos) << log.warnings()[0];
  }
}

// The build links build/share/draftwork to the source tree's resources, beside build/bin.
TEST(ResourcesLayoutTest, TheTestProgramFindsTheSourceTreeResources) {
  ScopedEnvironment unset("DRAFTWORK_RESOURCES", nullptr);
  const std::vector<std::filesystem::path> folders = resourceFolders();
  ASSERT_EQ(folders.size(), 1u);
  std::error_code error;
  EXPECT_TRUE(std::filesystem::equivalent(folders[0], DRAFTWORK_SOURCE_DIR "/resources", error))
      << folders[0] << " " << error.message();
}

}  // namespace
}  // namespace platform
