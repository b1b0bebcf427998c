#pragma once

// A parameter range on a curve. An empty range has minimum 1 and maximum 0.

struct PBRange {
  double minimum = 0;
  double maximum = 0;
};

PBRange PBRangeMake(double minimum, double maximum);
double PBRangeGetSize(const PBRange& range);
double PBRangeAverage(const PBRange& range);
// minimum + size · value.
double PBRangeScaleNormalizedValue(const PBRange& range, double value);
PBRange PBRangeUnion(const PBRange& range1, const PBRange& range2);
// The minimum and maximum agree at `places` decimal places (by truncation).
bool PBRangeHasConverged(const PBRange& range, int places);
