#include "platform/core/folders.h"

#include <gtest/gtest.h>

#include <optional>

#include "scoped_environment.h"
#include "scratch_folder.h"

namespace platform {
namespace {

using testing::ScopedEnvironment;
using testing::ScratchFolder;

class FoldersTest : public ::testing::Test {
 protected:
  void SetUp() override { previousRoot_ = overrideFoldersRoot({}); }
  void TearDown() override { overrideFoldersRoot(previousRoot_); }

  // Every variable the folders depend on, cleared unless a test sets it.
  ScopedEnvironment home_{"HOME", "/home/tester"};
  ScopedEnvironment data_{"XDG_DATA_HOME", nullptr};
  ScopedEnvironment config_{"XDG_CONFIG_HOME", nullptr};
  ScopedEnvironment temporary_{"TMPDIR", nullptr};
  ScopedEnvironment documents_{"XDG_DOCUMENTS_DIR", nullptr};
  std::filesystem::path previousRoot_;
};

TEST_F(FoldersTest, XdgVariablesChooseTheFolders) {
  ScopedEnvironment data("XDG_DATA_HOME", "/x/data");
  ScopedEnvironment config("XDG_CONFIG_HOME", "/x/config");
  ScopedEnvironment temporary("TMPDIR", "/x/tmp");
  ScopedEnvironment documents("XDG_DOCUMENTS_DIR", "/x/Papers");
  EXPECT_EQ(applicationSupportDirectory(), "/x/data");
  EXPECT_EQ(supportFolder(), "/x/data/Draftwork");
  EXPECT_EQ(configFolder(), "/x/config/Draftwork");
  EXPECT_EQ(temporaryFolder(), "/x/tmp");
  EXPECT_EQ(documentsFolder(), "/x/Papers");
}

TEST_F(FoldersTest, WithoutVariablesTheHomeFolderConventionsApply) {
  EXPECT_EQ(applicationSupportDirectory(), "/home/tester/.local/share");
  EXPECT_EQ(supportFolder(), "/home/tester/.local/share/Draftwork");
  EXPECT_EQ(configFolder(), "/home/tester/.config/Draftwork");
  EXPECT_EQ(temporaryFolder(), "/tmp");
}

TEST_F(FoldersTest, RelativeOrEmptyVariablesAreIgnored) {
  ScopedEnvironment data("XDG_DATA_HOME", "relative/data");
  ScopedEnvironment config("XDG_CONFIG_HOME", "");
  ScopedEnvironment temporary("TMPDIR", "tmp");
  ScopedEnvironment documents("XDG_DOCUMENTS_DIR", "Documents");
  EXPECT_EQ(applicationSupportDirectory(), "/home/tester/.local/share");
  EXPECT_EQ(configFolder(), "/home/tester/.config/Draftwork");
  EXPECT_EQ(temporaryFolder(), "/tmp");
  EXPECT_TRUE(documentsFolder().is_absolute());
}

TEST_F(FoldersTest, OverrideRootRedirectsEveryFolderAndCanBeUndone) {
  ScopedEnvironment data("XDG_DATA_HOME", "/x/data");
  ScopedEnvironment documents("XDG_DOCUMENTS_DIR", "/x/Papers");
  EXPECT_TRUE(overrideFoldersRoot("/sandbox").empty());
  EXPECT_EQ(applicationSupportDirectory(), "/sandbox/data");
  EXPECT_EQ(supportFolder(), "/sandbox/data/Draftwork");
  EXPECT_EQ(configFolder(), "/sandbox/config/Draftwork");
  EXPECT_EQ(temporaryFolder(), "/sandbox/tmp");
  EXPECT_EQ(documentsFolder(), "/sandbox/Documents");

  EXPECT_EQ(overrideFoldersRoot({}), "/sandbox");
  EXPECT_EQ(applicationSupportDirectory(), "/x/data");
  EXPECT_EQ(documentsFolder(), "/x/Papers");
}

TEST_F(FoldersTest, CreateSupportFolderMakesMissingParentsAndAcceptsAnExistingFolder) {
  ScratchFolder scratch;
  ScopedEnvironment data("XDG_DATA_HOME", (scratch / "a/b").c_str());
  Expected<std::filesystem::path> created = createSupportFolder();
  ASSERT_TRUE(created) << created.error().description;
  EXPECT_EQ(created.value(), scratch / "a/b/Draftwork");
  EXPECT_TRUE(std::filesystem::is_directory(scratch / "a/b/Draftwork"));
  EXPECT_TRUE(createSupportFolder());
}

TEST_F(FoldersTest, CreateSupportFolderFailsWhenAFileIsInTheWay) {
  ScratchFolder scratch;
  testing::writeTextFile(scratch / "data", "not a folder");
  ScopedEnvironment data("XDG_DATA_HOME", (scratch / "data").c_str());
  EXPECT_FALSE(createSupportFolder());
  EXPECT_EQ(testing::readTextFile(scratch / "data"), "not a folder");
}

}  // namespace
}  // namespace platform
