#include "value_traits.h"

#include <cmath>
#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace platform {
namespace {

bool xmlAllows(char32_t c) {
  return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
         (c >= 0x10000 && c <= 0x10FFFF);
}

std::size_t sequenceLength(std::uint8_t lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;  // a continuation byte or a lead that can only start an overlong or too-large form
}

enum class TextKind { Malformed, Utf8, XmlText };

// Strict UTF-8: no overlong forms, no surrogates, nothing past U+10FFFF.
TextKind classify(std::string_view text) {
  TextKind kind = TextKind::XmlText;
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<std::uint8_t>(text[i]);
    const std::size_t length = sequenceLength(lead);
    if (length == 0 || i + length > text.size()) return TextKind::Malformed;
    char32_t c = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<std::uint8_t>(text[i + k]);
      if ((next & 0xC0) != 0x80) return TextKind::Malformed;
      c = (c << 6) | (next & 0x3F);
    }
    static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kSmallest[length] || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) return TextKind::Malformed;
    if (!xmlAllows(c)) kind = TextKind::Utf8;
    i += length;
  }
  return kind;
}

void noteText(std::string_view text, ValueTraits& traits) {
  const TextKind kind = classify(text);
  traits.utf8 = traits.utf8 && kind != TextKind::Malformed;
  traits.xmlSafe = traits.xmlSafe && kind == TextKind::XmlText;
}

}  // namespace

ValueTraits valueTraits(const Value& root) {
  ValueTraits traits;
  enum class Mark { OnPath, Done };
  std::unordered_map<const void*, Mark> marks;
  // A container is pushed twice: once to enter it, and beneath its children
  // once more to leave it, which takes it off the current path.
  struct Step {
    Value value;
    bool leaving;
  };
  std::vector<Step> pending{{root, false}};
  while (!pending.empty()) {
    Step step = std::move(pending.back());
    pending.pop_back();
    const Value& value = step.value;
    const void* container = value.isArray() ? static_cast<const void*>(value.array().get())
                            : value.isDictionary() ? static_cast<const void*>(value.dictionary().get())
                                                   : nullptr;
    if (step.leaving) {
      marks[container] = Mark::Done;
      continue;
    }
    switch (value.kind()) {
      case Value::Kind::Object: traits.hasObject = true; break;
      case Value::Kind::Real: traits.hasNaN = traits.hasNaN || std::isnan(value.doubleValue()); break;
      case Value::Kind::String: noteText(value.string(), traits); break;
      default: break;
    }
    if (container == nullptr) continue;
    const auto [mark, first] = marks.try_emplace(container, Mark::OnPath);
    if (!first) {
      traits.cyclic = traits.cyclic || mark->second == Mark::OnPath;
      continue;
    }
    pending.push_back({value, true});
    if (value.isArray()) {
      for (const Value& element : *value.array()) pending.push_back({element, false});
    } else {
      for (const auto& [key, element] : *value.dictionary()) {
        noteText(key, traits);
        pending.push_back({element, false});
      }
    }
  }
  return traits;
}

}  // namespace platform
