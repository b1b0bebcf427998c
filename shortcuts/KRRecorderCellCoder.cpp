// The recorder cell in keyed archives (class "KRRecorderCell"), as interface descriptions keep it.

#include <memory>

#include "platform/core/class_coder_registry.h"
#include "platform/core/keyed_archive.h"
#include "platform/core/numeric.h"
#include "shortcuts/KRRecorderCell.h"

using platform::Value;

class KRRecorderCellCoder : public platform::ClassCoder {
 public:
  std::vector<std::string> decodedClassNames() const override { return {std::string(KRRecorderCell::kClassName)}; }
  std::vector<std::string> classChain() const override {
    return {std::string(KRRecorderCell::kClassName), "NSActionCell", "NSCell", "NSObject"};
  }

  void encode(const Value& value, platform::KeyedEncoder& encoder) const override {
    const auto* cell = dynamic_cast<const KRRecorderCell*>(value.object().get());
    if (!cell) return;
    encoder.encode("autosaveName", Value(cell->autosaveName_));
    encoder.encode("keyComboCode", Value(static_cast<std::int16_t>(cell->keyCombo_.code)));
    encoder.encode("keyComboFlags", Value(cell->keyCombo_.flags));
    encoder.encode("allowedFlags", Value(cell->allowedFlags_));
    encoder.encode("requiredFlags", Value(cell->requiredFlags_));
    if (cell->hasKeyChars_) {
      encoder.encode("keyChars", Value(cell->keyChars_));
      encoder.encode("keyCharsIgnoringModifiers", Value(cell->keyCharsIgnoringModifiers_));
    }
    encoder.encode("allowsKeyOnly", Value(cell->allowsKeyOnly_));
    encoder.encode("escapeKeysRecord", Value(cell->escapeKeysRecord_));
    encoder.encode("isAnimating", Value(cell->isAnimating_));
    encoder.encode("style", Value(static_cast<std::int16_t>(cell->style_)));
  }

  // Defaults first, then what the archive holds (numbers only where numbers belong), then the function-key bit
  // among the allowed flags, and last whatever the autosave name has stored.
  platform::Expected<Value> decode(platform::KeyedDecoder& decoder) const override {
    auto cell = std::make_shared<KRRecorderCell>();
    const auto read = [&decoder](std::string_view key) {
      platform::Expected<Value> value = decoder.decode(key);
      return value ? std::move(value).value() : Value();
    };
    cell->autosaveName_ = read("autosaveName").string();
    if (const Value code = read("keyComboCode"); code.isNumber()) {
      cell->keyCombo_.code = platform::saturatingTruncate<std::int16_t>(code.doubleValue());
    }
    std::uint64_t archivedFlags = 0;
    if (const Value flags = read("keyComboFlags"); flags.isNumber()) {
      archivedFlags = static_cast<std::uint64_t>(flags.integerValue());
    }
    if (const Value flags = read("allowedFlags"); flags.isNumber()) {
      cell->allowedFlags_ = static_cast<std::uint64_t>(flags.integerValue());
    }
    if (const Value flags = read("requiredFlags"); flags.isNumber()) {
      cell->requiredFlags_ = static_cast<std::uint64_t>(flags.integerValue());
    }
    if (const Value chars = read("keyChars"); chars.isString()) {
      cell->hasKeyChars_ = true;
      cell->keyChars_ = chars.string();
      cell->keyCharsIgnoringModifiers_ = read("keyCharsIgnoringModifiers").string();
    }
    cell->allowsKeyOnly_ = read("allowsKeyOnly").boolValue();
    cell->escapeKeysRecord_ = read("escapeKeysRecord").boolValue();
    cell->isAnimating_ = read("isAnimating").boolValue();
    cell->style_ = read("style").intValue();
    cell->allowedFlags_ |= kr_flags::Function;
    // An archive from elsewhere may hold any bits: the combination keeps only those the cell records.
    cell->keyCombo_.flags = cell->filteredCocoaFlags(archivedFlags);
    cell->loadCombo();
    return Value(platform::ObjectRef(cell));
  }
};

void KRRecorderCell::registerArchiveCoder() { platform::registerClassCoder(std::make_shared<KRRecorderCellCoder>()); }
