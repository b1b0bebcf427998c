#pragma once

// The seed of a randomised test: DRAFTWORK_TEST_SEED when it is set, else a fresh one. It is printed either way,
// passing or failing, so that any run can be repeated.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>

inline std::uint32_t randomTestSeed(const char* test) {
  const char* given = std::getenv("DRAFTWORK_TEST_SEED");
  const std::uint32_t seed =
      given ? static_cast<std::uint32_t>(std::strtoul(given, nullptr, 10)) : std::random_device{}();
  std::printf("%s: seed %u (DRAFTWORK_TEST_SEED=%u repeats it)\n", test, seed, seed);
  std::fflush(stdout);
  return seed;
}
