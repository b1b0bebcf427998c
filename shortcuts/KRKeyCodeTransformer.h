#pragma once

// Key codes to the names of their keys in the user's current keyboard layout
// and back. Names are read afresh on every call; the reverse map is rebuilt
// whenever the layout changes, so a name read back after a switch gives the
// code of the key that now carries it.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/core/value.h"
#include "platform/core/value_transformer.h"

class KRKeyCodeTransformer : public platform::ValueTransformer {
 public:
  // The process-wide instance the name functions use.
  static const KRKeyCodeTransformer& shared();

  // A number holding a key code → its name, nil for anything else or a key without one.
  platform::Value transformedValue(const platform::Value& value) const override;
  bool allowsReverseTransformation() const override { return true; }
  // A name → the number of the key that has it now, nil for anything else.
  platform::Value reverseTransformedValue(const platform::Value& value) const override;

  // The name of a key code read as a signed 16-bit value: a fixed name, the keypad's "Pad %@", or what the key
  // types at level 0 of the current layout group, upper-cased ("" for dead and modifier keys).
  static std::optional<std::string> nameForKeyCode(std::int16_t code);
  static void regenerateStringToKeyCodeMapping();
};
