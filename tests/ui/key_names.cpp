// The tool tips name keys as the program does: by the keyboard layout (the test display's is "us").

#include <gtest/gtest.h>

#include "document/CMKeyBindingManager.h"
#include "shortcuts/KRCommon.h"

namespace {

class KeyNamesEnvironment : public testing::Environment {
 public:
  void SetUp() override { CMKeyBindingManager::setKeyNames({KRKeyNameForKeyCode, KRModifierGlyphsForCocoaFlags}); }
};

const testing::Environment* const kKeyNames = testing::AddGlobalTestEnvironment(new KeyNamesEnvironment);

}  // namespace
