#include "platform/ui/number_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "platform/core/string_utilities.h"

namespace platform {

namespace {
std::string_view trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}
}  // namespace

double NumberFormat::clamp(double value) const {
  if (minimum && value < *minimum) value = *minimum;
  if (maximum && value > *maximum) value = *maximum;
  return value;
}

std::string NumberFormat::format(double value) const {
  if (!std::isfinite(value)) return {};
  const int maxDigits = std::clamp(maximumFractionDigits, 0, 15);
  const int minDigits = std::clamp(minimumFractionDigits, 0, maxDigits);
  // In the C locale, as parse reads it, whatever locale GTK switched the process to.
  std::string text = formatString("%.*f", maxDigits, value);
  if (const auto point = text.find('.'); point != std::string::npos) {
    std::size_t keep = text.size();
    while (keep > point + 1 + static_cast<std::size_t>(minDigits) && text[keep - 1] == '0') --keep;
    if (keep == point + 1) keep = point;  // no fraction left: drop the point
    text.resize(keep);
  }
  if (text == "-0") text = "0";
  return text + suffix;
}

std::optional<double> NumberFormat::parse(std::string_view text) const {
  text = trimmed(text);
  if (!suffix.empty()) {
    const std::string_view bare = trimmed(suffix);
    if (!bare.empty() && text.size() >= bare.size() && text.substr(text.size() - bare.size()) == bare) {
      text = trimmed(text.substr(0, text.size() - bare.size()));
    }
  }
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return std::nullopt;
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
  return clamp(value);
}

}  // namespace platform
