#include "platform/core/bundle.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "scratch_folder.h"

namespace platform {
namespace {

struct VersionTriple {
  int major = 0, minor = 0, patch = 0;
};

// The version the top-level CMakeLists.txt declares, read independently of the build's definitions.
VersionTriple declaredProjectVersion() {
  const std::string cmake = testing::readTextFile(DRAFTWORK_SOURCE_DIR "/CMakeLists.txt");
  std::smatch match;
  const std::regex pattern(R"(project\(\s*Draftwork\s+VERSION\s+(\d+)\.(\d+)\.(\d+))");
  if (!std::regex_search(cmake, match, pattern)) return {-1, -1, -1};
  return {std::stoi(match[1]), std::stoi(match[2]), std::stoi(match[3])};
}

TEST(BundleTest, VersionsFollowTheProjectVersion) {
  const VersionTriple version = declaredProjectVersion();
  ASSERT_GE(version.major, 0) << "no project version found";
  EXPECT_EQ(bundleShortVersionString(),
            std::to_string(version.major) + "." + std::to_string(version.minor) + "." + std::to_string(version.patch));
  EXPECT_EQ(bundleVersion(), version.major * 10000 + version.minor * 100 + version.patch);
  EXPECT_GT(bundleVersion(), 0);
}

TEST(BundleTest, InfoValuesAreTheInfoPlistStrings) {
  EXPECT_EQ(bundleInfoValue("CFBundleName").string(), "Draftwork");
  EXPECT_EQ(bundleInfoValue("CFBundleIdentifier").string(), "org.draftwork.Draftwork");
  const Value version = bundleInfoValue("CFBundleVersion");
  ASSERT_TRUE(version.isString());
  EXPECT_EQ(version.integerValue(), bundleVersion());
  EXPECT_EQ(bundleInfoValue("CFBundleShortVersionString").string(), bundleShortVersionString());
}

TEST(BundleTest, UnknownKeysAreNil) {
  EXPECT_TRUE(bundleInfoValue("NSPrincipalClass").isNil());
  EXPECT_TRUE(bundleInfoValue("").isNil());
  EXPECT_TRUE(bundleInfoValue("cfbundlename").isNil());
}

}  // namespace
}  // namespace platform
