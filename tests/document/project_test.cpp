#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "../platform/core/captured_log.h"
#include "../platform/core/scoped_environment.h"
#include "document/CMGlobalProfile.h"
#include "document/CMProject.h"
#include "document_test_support.h"
#include "platform/core/property_list.h"
#include "platform/core/resources.h"

namespace {

using document_testing::ScratchFolders;

class ProjectTest : public ::testing::Test {
 protected:
  ScratchFolders folders_;
};

TEST_F(ProjectTest, StartsInObjectModeWithNoPanelStoredAndRegistersTheSettings) {
  CMProject project;
  EXPECT_EQ(project.editMode(), kCMEditModeObject);
  EXPECT_EQ(project.rightPanelShowType(), 0);
  EXPECT_FALSE(project.lockAutoOpenDocument());
  EXPECT_FALSE(project.documentDefault());
  EXPECT_FALSE(project.defaultTemplate());
  // The registered values are the resource's own, read here independently.
  platform::DictRef resource =
      platform::readPropertyListFile(std::string(DRAFTWORK_SOURCE_DIR) + "/resources/settings.plist")
          .value()
          .dictionary();
  EXPECT_EQ(project.settings().boolForKey("show_ruler"), resource->get("show_ruler").boolValue());
  EXPECT_EQ(project.settings().dictionaryForKey("grid")->get("spacing").integerValue(),
            resource->dictionary("grid")->get("spacing").integerValue());
  EXPECT_EQ(&project.settings(), &platform::UserDefaults::standardUserDefaults());
}

TEST_F(ProjectTest, TheRightPanelTypeSurvivesANewProjectOnTheSameFolders) {
  {
    CMProject first;
    first.setRightPanelShowType(4);
    EXPECT_EQ(first.rightPanelShowType(), 4);
  }
  CMProject second;
  EXPECT_EQ(second.rightPanelShowType(), 4);
  EXPECT_EQ(second.profile().integerForKey("rightPanelShowType"), 4);
}

TEST_F(ProjectTest, SharedProjectIsMadeOnceUntilReset) {
  CMProject& shared = CMProject::shareProject();
  EXPECT_EQ(&shared, &CMProject::shareProject());
  shared.setEditMode(kCMEditModePenCurve);
  CMProject::resetSharedProject();
  EXPECT_EQ(CMProject::shareProject().editMode(), kCMEditModeObject);
}

TEST_F(ProjectTest, DefaultObjectsAreIndependentDeepCopies) {
  platform::DictRef first = CMProject::defaultObject("rect");
  platform::DictRef second = CMProject::defaultObject("rect");
  ASSERT_TRUE(first && second);
  EXPECT_NE(first, second);
  EXPECT_TRUE(first->isEqual(*second));
  // Editing nested records of one copy leaves the next untouched.
  first->dictionary("shape")->dictionary("fill")->set("use", false);
  first->dictionary("shape")->array("points")->removeAll();
  first->set("name", "edited");
  platform::DictRef third = CMProject::defaultObject("rect");
  EXPECT_TRUE(third->isEqual(*second));
  EXPECT_FALSE(third->isEqual(*first));
}

TEST_F(ProjectTest, UnknownOrMissingDefaultObjectsAreNull) {
  EXPECT_FALSE(CMProject::defaultObject("triangle"));
  EXPECT_FALSE(CMProject::defaultObject(""));
  // With no resources at all, nothing is found and nothing breaks.
  platform::testing::ScratchFolder empty;
  platform::testing::ScopedEnvironment noOverride("DRAFTWORK_RESOURCES", nullptr);
  std::filesystem::path previous = platform::overrideExecutableFolder(empty / "bin");
  platform::testing::CapturedLog log;
  EXPECT_FALSE(CMProject::defaultObject("rect"));
  CMProject project;
  EXPECT_TRUE(project.settings().objectForKey("show_ruler").isNil()) << "nothing to register";
  platform::overrideExecutableFolder(previous);
}

TEST_F(ProjectTest, AppFilePathCreatesTheSupportFolderWithItsParents) {
  const std::filesystem::path expectedFolder = folders_.root() / "data" / "Draftwork";
  ASSERT_FALSE(std::filesystem::exists(folders_.root() / "data"));
  EXPECT_EQ(CMProject::appFilePath("templates.data"), expectedFolder / "templates.data");
  EXPECT_TRUE(std::filesystem::is_directory(expectedFolder));
  EXPECT_FALSE(std::filesystem::exists(expectedFolder / "templates.data")) << "only the folder is made";
}

TEST_F(ProjectTest, AppFilePathStillAnswersWhenTheFolderCannotBeMade) {
  std::filesystem::create_directories(folders_.root());
  platform::testing::writeTextFile(folders_.root() / "data", "a file where the folder should be");
  platform::testing::CapturedLog log;
  EXPECT_EQ(CMProject::appFilePath("shapes_library.data"),
            folders_.root() / "data" / "Draftwork" / "shapes_library.data");
  EXPECT_THAT(log.warnings(), ::testing::Contains(::testing::HasSubstr("support folder")));
}

class GlobalProfileTest : public ::testing::Test {
 protected:
  ScratchFolders folders_;
  std::filesystem::path folder_ = folders_.root() / "profile";
};

TEST_F(GlobalProfileTest, NeverStoredKeysReadZeroEvenWhenTheSettingsRegisterThem) {
  platform::UserDefaults::standardUserDefaults().registerDefaults(
      platform::Dictionary::make({{"hideRightPanel", true}, {"line_width", 7}, {"widthRightPanel", 250.5}}));
  CMGlobalProfile profile(folder_);
  EXPECT_FALSE(profile.boolForKey("hideRightPanel"));
  EXPECT_EQ(profile.integerForKey("line_width"), 0);
  EXPECT_EQ(profile.getState("line_width"), 0);
  EXPECT_EQ(profile.floatForKey("widthRightPanel"), 0.0f);
}

TEST_F(GlobalProfileTest, EverySetterWritesThroughAtOnce) {
  CMGlobalProfile profile(folder_);
  profile.setInteger(-12, "star_angles");
  profile.setFloat(250.5f, "widthRightPanel");
  profile.setBool(true, "hideRightPanel");
  profile.setState("polygon_sides", 3);
  EXPECT_EQ(profile.filePath(), folder_ / "parlew.state.plist");
  // Read the file itself: no synchronize call was made by the test.
  auto stored = platform::readPropertyListFile(folder_ / "parlew.state.plist");
  ASSERT_TRUE(stored);
  platform::DictRef values = stored.value().dictionary();
  EXPECT_EQ(values->get("star_angles").integerValue(), -12);
  EXPECT_EQ(values->get("widthRightPanel").doubleValue(), 250.5);
  EXPECT_TRUE(values->get("hideRightPanel").boolValue());
  EXPECT_EQ(values->get("polygon_sides").integerValue(), 3);
  CMGlobalProfile reopened(folder_);
  EXPECT_EQ(reopened.integerForKey("star_angles"), -12);
  EXPECT_EQ(reopened.floatForKey("widthRightPanel"), 250.5f);
  EXPECT_TRUE(reopened.boolForKey("hideRightPanel"));
}

}  // namespace
