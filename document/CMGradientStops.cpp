#include "document/CMGradientStops.h"

#include <algorithm>
#include <cmath>
#include <limits>

using platform::DictRef;
using platform::GradientStop;

namespace {

struct Marker {
  float pos = 0;
  float red = 0;
  float green = 0;
  float blue = 0;
  bool hasMix = false;
  float mix = 0;
  float alpha = 1;
};

Marker markerFrom(const platform::Dictionary& record) {
  const auto number = [&record](const char* key) { return record.get(key).floatValue(); };
  return {number("pos"),          number("red"), number("green"),
          number("blue"),         record.contains("mix"), number("mix"),
          record.contains("alpha") ? number("alpha") : 1.0f};
}

// A NaN position sorts first so that the order stays a strict weak one; the gradient then drops it.
float sortKey(const Marker& marker) {
  return std::isnan(marker.pos) ? -std::numeric_limits<float>::infinity() : marker.pos;
}

}  // namespace

std::vector<GradientStop> gradientStopsFromRecord(const DictRef& record, float alpha, CMMidpointRule rule) {
  const platform::ArrayRef markers = record ? record->array("markers") : nullptr;
  if (!markers) return {};
  std::vector<Marker> sorted;
  for (const platform::Value& value : *markers) {
    if (const DictRef marker = value.dictionary()) sorted.push_back(markerFrom(*marker));
  }
  std::stable_sort(sorted.begin(), sorted.end(),
                   [](const Marker& a, const Marker& b) { return sortKey(a) < sortKey(b); });

  std::vector<GradientStop> stops;
  for (std::size_t i = 0; i < sorted.size(); ++i) {
    const Marker& m = sorted[i];
    stops.push_back({m.pos, m.red, m.green, m.blue, alpha * m.alpha});
    const bool wantsMidpoint = rule == CMMidpointRule::EveryStop || m.hasMix;
    if (!wantsMidpoint || i + 1 == sorted.size()) continue;
    const Marker& next = sorted[i + 1];
    stops.push_back({m.pos + (next.pos - m.pos) * m.mix, (m.red + next.red) / 2, (m.green + next.green) / 2,
                     (m.blue + next.blue) / 2, alpha * (m.alpha + next.alpha) / 2});
  }
  return stops;
}
