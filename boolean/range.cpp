#include "boolean/range.h"

#include <algorithm>

#include "boolean/tolerance_functions.h"

PBRange PBRangeMake(double minimum, double maximum) { return {minimum, maximum}; }

double PBRangeGetSize(const PBRange& range) { return range.maximum - range.minimum; }

double PBRangeAverage(const PBRange& range) { return (range.minimum + range.maximum) / 2; }

double PBRangeScaleNormalizedValue(const PBRange& range, double value) {
  return range.minimum + PBRangeGetSize(range) * value;
}

PBRange PBRangeUnion(const PBRange& range1, const PBRange& range2) {
  return {std::min(range1.minimum, range2.minimum), std::max(range1.maximum, range2.maximum)};
}

bool PBRangeHasConverged(const PBRange& range, int places) {
  return PBAreValuesEqualAtDecimalPlaces(range.minimum, range.maximum, places);
}
