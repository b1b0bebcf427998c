#pragma once

// NSNumberFormatter as the panels' number fields use it: fixed-point output in the C locale, whatever locale
// the process runs in, with a range of fraction digits and an optional suffix, and input in the same form that
// must be a whole number string (the suffix optional), clamped to the allowed range.

#include <optional>
#include <string>
#include <string_view>

namespace platform {

struct NumberFormat {
  int minimumFractionDigits = 0;
  int maximumFractionDigits = 2;  // clamped to 0…15
  std::optional<double> minimum;
  std::optional<double> maximum;
  std::string suffix;  // "%", " px"

  std::string format(double value) const;
  // Nothing for text that is not a finite number.
  std::optional<double> parse(std::string_view text) const;
  double clamp(double value) const;
};

}  // namespace platform
