#pragma once

// Unique identifiers, as NSUUID's UUIDString writes them.

#include <string>

namespace platform {

// A new random UUID: 36 characters, upper-case hexadecimal digits in groups of
// 8-4-4-4-12 separated by hyphens.
std::string makeUUIDString();

}  // namespace platform
