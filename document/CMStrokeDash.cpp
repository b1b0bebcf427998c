#include "document/CMStrokeDash.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

constexpr int kDashed = 1;

double finiteOrZero(double value) { return std::isfinite(value) ? value : 0; }

}  // namespace

std::optional<CMStrokeDash> strokeDashOf(const platform::DictRef& record) {
  if (!record || record->get("dashStyle").intValue() != kDashed) return std::nullopt;
  CMStrokeDash dash;
  const platform::ArrayRef points = record->array("dashPoints");
  if (points && !points->empty()) {
    for (const platform::Value& entry : *points) {
      // A negative length would put Cairo into a permanent error state and make an SVG reader drop the dash.
      dash.lengths.push_back(std::max(0.0, finiteOrZero(entry.floatValue())));
    }
  } else {
    dash.lengths.assign(std::begin(kCMDotsPattern), std::end(kCMDotsPattern));
  }
  if (std::none_of(dash.lengths.begin(), dash.lengths.end(), [](double length) { return length > 0; })) {
    return std::nullopt;
  }
  dash.offset = finiteOrZero(record->get("stroke-dashoffset").floatValue());
  return dash;
}
