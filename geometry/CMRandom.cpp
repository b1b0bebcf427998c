#include "geometry/CMRandom.h"

#include <cstdlib>
#include <ctime>

float CMRandom::randomNumber() {
  static bool seeded = false;
  if (!seeded) {
    srandom(static_cast<unsigned>(std::time(nullptr)));
    seeded = true;
  }
  return static_cast<float>(random()) / 2147483648.0f;
}

float CMRandom::randomPositiveOrNegativeNumber() { return randomNumber() - 0.5f; }
