#pragma once

// Whole value trees to and from XML property lists, through libplist. See
// property_list.h for the mapping.

#include <cstdint>
#include <span>

#include "platform/core/error.h"
#include "platform/core/value.h"

namespace platform {

Expected<Value> valueFromXmlPropertyList(std::span<const std::uint8_t> bytes);
Expected<Bytes> xmlPropertyListFromValue(const Value& value);

}  // namespace platform
