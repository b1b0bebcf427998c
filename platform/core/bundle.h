#pragma once

// What a macOS program reads from its bundle's Info.plist.

#include <cstdint>
#include <string_view>

#include "platform/core/value.h"

namespace platform {

// CFBundleName: also the name of the program's support and config folders.
std::string_view bundleName() noexcept;
// CFBundleIdentifier: also the name of the standard user-defaults domain.
std::string_view bundleIdentifier() noexcept;
// CFBundleVersion: grows with every release (major * 10000 + minor * 100 + patch).
std::int64_t bundleVersion() noexcept;
// CFBundleShortVersionString: "major.minor.patch".
std::string_view bundleShortVersionString() noexcept;

// The Info.plist entry for one of the keys above, as the file would hold it
// (every one a string); nil for any other key.
Value bundleInfoValue(std::string_view key);

}  // namespace platform
