#pragma once

// NSValueTransformer: a one-way or two-way conversion of values, and the
// process-wide registry of transformers by name. The registry starts with
// "NSKeyedUnarchiveFromData": keyed-archive data to the object it holds, and
// (reversed) an object to its archive.

#include <memory>
#include <string_view>

#include "platform/core/value.h"

namespace platform {

class ValueTransformer {
 public:
  virtual ~ValueTransformer() = default;
  virtual Value transformedValue(const Value& value) const = 0;
  virtual bool allowsReverseTransformation() const { return false; }
  // Nil unless the transformer allows reverse transformation.
  virtual Value reverseTransformedValue(const Value&) const { return {}; }
};

inline constexpr std::string_view kKeyedUnarchiveFromDataTransformerName = "NSKeyedUnarchiveFromData";

// setValueTransformer:forName: (null removes the name) and valueTransformerForName: (null when unknown).
void setValueTransformer(std::shared_ptr<const ValueTransformer> transformer, std::string_view name);
std::shared_ptr<const ValueTransformer> valueTransformerForName(std::string_view name);

}  // namespace platform
