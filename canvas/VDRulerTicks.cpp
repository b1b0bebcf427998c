#include "canvas/VDRulerTicks.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/core/numeric.h"

VDRulerScheme VDRulerSchemeForUnit(const std::string& unit, float zoom) {
  const double z = zoom;
  // A centimetre is 72 / 2.54 points; ticks halve it as they halve the inch.
  constexpr double kCentimetre = 72 / 2.54;
  if (unit == "Points") return {10 * z, 2, 0, 1 * z};
  if (unit == "Centimeters") return {kCentimetre / 2 * z, 2, 4, kCentimetre * z};
  if (unit == "Inches") return {36 * z, 2, 4, 72 * z};
  if (unit == "Picas") return {10 * z, 5, 2, 12 * z};
  return {20 * z, 10, 0, 1};
}

namespace {

long long floorDiv(long long value, long long period) {
  const long long quotient = value / period;
  return (value % period != 0 && (value < 0) != (period < 0)) ? quotient - 1 : quotient;
}

bool isMultiple(long long value, int period) { return period > 0 && value % period == 0; }

// A tick on a whole unit reads as that unit, whatever the division rounded it to (3 cm, not 2.9999999).
double unitsAt(double distance, double divisor) {
  const double units = distance / divisor;
  const double nearest = std::round(units);
  return std::fabs(units - nearest) <= 1e-9 * std::max(1.0, std::fabs(units)) ? nearest : units;
}

}  // namespace

std::vector<VDRulerTick> VDRulerTicks(const VDRulerScheme& scheme, double origin, double start, double end,
                                      const std::function<double(const std::string&)>& labelWidth) {
  std::vector<VDRulerTick> ticks;
  const double s = scheme.spacing;
  if (!(s > 0) || !std::isfinite(s) || !std::isfinite(origin) || !std::isfinite(start) || !std::isfinite(end) ||
      !(scheme.divisor != 0) || !std::isfinite(scheme.divisor) || scheme.major <= 0)
    return ticks;
  const double first = std::ceil((start - origin) / s);
  const double last = std::floor((end - origin) / s);
  if (!(last - first < static_cast<double>(kVDRulerMostTicks)) || std::fabs(first) > 1e15 || std::fabs(last) > 1e15)
    return ticks;
  const long long firstIndex = platform::saturatingTruncate<long long>(first);
  const long long lastIndex = platform::saturatingTruncate<long long>(last);

  double lastDrawn = -std::numeric_limits<double>::infinity();
  double nextLabelPosition = -std::numeric_limits<double>::infinity();
  double previousLabelEnd = -std::numeric_limits<double>::infinity();
  for (long long i = firstIndex; i <= lastIndex; ++i) {
    const double x = origin + static_cast<double>(i) * s;
    if (!(x - lastDrawn > kVDRulerTickGap)) continue;
    const bool major = isMultiple(i, scheme.major);
    VDRulerTick tick{x, 7, std::nullopt};
    if (major && x >= nextLabelPosition) {
      tick.length = kVDRulerFullTick;
      nextLabelPosition = x + kVDRulerLabelSpacing;
      if (x > previousLabelEnd) {
        const int value = platform::saturatingTruncate<int>(unitsAt(x - origin, scheme.divisor));
        tick.label = std::to_string(value);
        previousLabelEnd = x + labelWidth(*tick.label);
      }
    } else if (!major) {
      // A minor tick crowding the next major tick gives way to it.
      const long long nextMajor = (floorDiv(i, scheme.major) + 1) * scheme.major;
      if (origin + static_cast<double>(nextMajor) * s - x <= kVDRulerTickGap) continue;
      if (scheme.middle > 0) tick.length = isMultiple(i, scheme.middle) ? 7 : 5;
    }
    ticks.push_back(std::move(tick));
    lastDrawn = x;
  }
  return ticks;
}
