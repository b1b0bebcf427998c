#pragma once

// Whole value trees to and from binary property lists ("bplist00"). See
// property_list.h for how UIDs, dates and nulls map to values.

#include <cstdint>
#include <span>

#include "platform/core/error.h"
#include "platform/core/value.h"

namespace platform {

Expected<Value> valueFromBinaryPropertyList(std::span<const std::uint8_t> bytes);
Expected<Bytes> binaryPropertyListFromValue(const Value& value);

}  // namespace platform
