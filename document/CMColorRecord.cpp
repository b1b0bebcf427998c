#include "document/CMColorRecord.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "document/CMColorHex.h"
#include "platform/core/log.h"
#include "platform/core/numeric.h"

namespace {

// Read as float, then divided, as the records have always been read.
double component(const platform::DictRef& record, const char* key) {
  return record ? record->get(key).floatValue() / 255.0 : 0;
}

// A component as the string scanner reads the leading decimal number, truncated, low 8 bits kept.
std::int64_t lowByteOf(std::string_view part) {
  const double value = platform::Value(part).doubleValue();
  return static_cast<std::int64_t>(static_cast<std::uint64_t>(platform::saturatingTruncate<std::int64_t>(value)) & 0xFF);
}

std::vector<std::string_view> split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (std::size_t comma = text.find(separator); comma != std::string_view::npos; comma = text.find(separator, start)) {
    parts.push_back(text.substr(start, comma - start));
    start = comma + 1;
  }
  parts.push_back(text.substr(start));
  return parts;
}

}  // namespace

platform::Color colorWithDictionary(const platform::DictRef& record) {
  return colorWithDictionary(record, static_cast<float>(component(record, "a")));
}

platform::Color colorWithDictionary(const platform::DictRef& record, float alpha) {
  return platform::Color::calibrated(component(record, "r"), component(record, "g"), component(record, "b"), alpha);
}

platform::DictRef dictionaryFromHexRGB(std::string_view text, float alpha) {
  std::int64_t red = 0;
  std::int64_t green = 0;
  std::int64_t blue = 0;
  if (text.find("rgb") != std::string_view::npos) {
    const std::size_t open = text.find('(');
    const std::size_t close = text.find(')');
    if (open != std::string_view::npos && close != std::string_view::npos && open < close) {
      const std::string_view inner = text.substr(open + 1, close - open - 1);
      platform::log(platform::LogLevel::Debug, inner);
      const std::vector<std::string_view> parts = split(inner, ',');
      if (parts.size() == 3) {
        red = lowByteOf(parts[0]);
        green = lowByteOf(parts[1]);
        blue = lowByteOf(parts[2]);
      }
    }
  } else {
    const std::uint32_t value = scanHexNumber(text);
    red = (value >> 16) & 0xFF;
    green = (value >> 8) & 0xFF;
    blue = value & 0xFF;
  }
  const float scaled = alpha * 255.0F;
  const std::int64_t a = std::clamp<std::int64_t>(platform::saturatingTruncate<std::int64_t>(scaled), 0, 255);
  return platform::Dictionary::make({{"r", red}, {"g", green}, {"b", blue}, {"a", a}});
}
