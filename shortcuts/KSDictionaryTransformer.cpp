#include "shortcuts/KSDictionaryTransformer.h"

#include "shortcuts/KSShortcut.h"

using platform::Value;

Value KSDictionaryTransformer::transformedValue(const Value& value) const {
  const platform::DictRef dictionary = value.dictionary();
  if (!dictionary) return {};
  const Value code = dictionary->get("keyCode");
  const Value flags = dictionary->get("modifierFlags");
  if (!code.isInteger() || !flags.isInteger()) return {};
  // A negative code from a hand-edited file is no key.
  const std::int64_t stored = code.integerValue();
  return Value(KSShortcut::make(stored < 0 ? KSShortcut::kNotFound : static_cast<std::uint64_t>(stored),
                                static_cast<std::uint64_t>(flags.integerValue())));
}

Value KSDictionaryTransformer::reverseTransformedValue(const Value& value) const {
  if (value.isNil()) return Value(platform::Dictionary::make());
  const KSShortcut* shortcut = KSShortcut::in(value);
  if (!shortcut) return {};
  return Value(platform::Dictionary::make(
      {{"keyCode", shortcut->keyCode()}, {"modifierFlags", shortcut->modifierFlags()}}));
}
