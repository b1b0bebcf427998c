#include "platform/core/uuid.h"

#include <gtest/gtest.h>

#include <unordered_set>

namespace platform {
namespace {

bool isUpperHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }

TEST(UUIDTest, HasTheCanonicalUpperCaseForm) {
  for (int i = 0; i < 100; ++i) {
    const std::string uuid = makeUUIDString();
    ASSERT_EQ(uuid.size(), 36u) << uuid;
    for (std::size_t position = 0; position < uuid.size(); ++position) {
      const bool hyphen = position == 8 || position == 13 || position == 18 || position == 23;
      if (hyphen) {
        ASSERT_EQ(uuid[position], '-') << uuid;
      } else {
        ASSERT_TRUE(isUpperHexDigit(uuid[position])) << uuid << " at " << position;
      }
    }
    // An RFC 4122 UUID: the variant bits are 10, the version random (4) or time-based (1).
    EXPECT_NE(std::string("89AB").find(uuid[19]), std::string::npos) << uuid;
    EXPECT_TRUE(uuid[14] == '4' || uuid[14] == '1') << uuid;
  }
}

TEST(UUIDTest, TenThousandAreAllDifferent) {
  std::unordered_set<std::string> seen;
  for (int i = 0; i < 10000; ++i) seen.insert(makeUUIDString());
  EXPECT_EQ(seen.size(), 10000u);
}

}  // namespace
}  // namespace platform
