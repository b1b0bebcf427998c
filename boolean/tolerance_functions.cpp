#include "boolean/tolerance_functions.h"

#include <cmath>
#include <cstdint>

#include "platform/core/numeric.h"

bool PBAreValuesCloseWithOptions(double value1, double value2, double threshold) {
  return std::fabs(value1 - value2) <= threshold;
}

bool PBAreValuesClose(double value1, double value2) {
  return PBAreValuesCloseWithOptions(value1, value2, PBPointCloseThreshold);
}

bool PBArePointsCloseWithOptions(platform::Point point1, platform::Point point2, double threshold) {
  return PBAreValuesCloseWithOptions(point1.x, point2.x, threshold) &&
         PBAreValuesCloseWithOptions(point1.y, point2.y, threshold);
}

bool PBArePointsClose(platform::Point point1, platform::Point point2) {
  return PBArePointsCloseWithOptions(point1, point2, PBPointCloseThreshold);
}

bool PBIsValueGreaterThan(double value, double minimum) {
  return value > minimum && !PBAreValuesCloseWithOptions(value, minimum, PBParameterCloseThreshold);
}

bool PBIsValueLessThan(double value, double maximum) {
  return value < maximum && !PBAreValuesCloseWithOptions(value, maximum, PBParameterCloseThreshold);
}

bool PBIsValueGreaterThanEqual(double value, double minimum) {
  return value >= minimum || PBAreValuesCloseWithOptions(value, minimum, PBParameterCloseThreshold);
}

bool PBIsValueLessThanEqual(double value, double maximum) {
  return value <= maximum || PBAreValuesCloseWithOptions(value, maximum, PBParameterCloseThreshold);
}

bool PBAreValuesEqualAtDecimalPlaces(double value1, double value2, int places) {
  const double scale = std::pow(10.0, places);
  return platform::saturatingTruncate<std::int64_t>(value1 * scale) ==
         platform::saturatingTruncate<std::int64_t>(value2 * scale);
}
