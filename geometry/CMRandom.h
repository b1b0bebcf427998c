#pragma once

// Random numbers for the path effects, from the C library's random(): seeded once per
// process with the current time in whole seconds, so two processes started within the
// same second draw the same sequence. Main thread only.

class CMRandom {
 public:
  // random() / 2^31 in single precision: 0…1, the largest draws rounding to exactly 1.
  static float randomNumber();
  // randomNumber() − 0.5.
  static float randomPositiveOrNegativeNumber();
};
