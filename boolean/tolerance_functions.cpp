#include "boolean/tolerance_functions.h"

#include <cmath>
#include <cstdint>
#include <iterator>

#include "platform/core/numeric.h"

namespace {

// Powers of ten up to 10^22 are exact doubles, the same values pow gives; the clipping asks for them on
// every iteration.
constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

double powerOfTen(int places) {
  if (places >= 0 && places < static_cast<int>(std::size(kPowersOfTen))) return kPowersOfTen[places];
  return std::pow(10.0, places);
}

}  // namespace

bool PBAreValuesEqualAtDecimalPlaces(double value1, double value2, int places) {
  const double scale = powerOfTen(places);
  return platform::saturatingTruncate<std::int64_t>(value1 * scale) ==
         platform::saturatingTruncate<std::int64_t>(value2 * scale);
}
