// Runs the boolean families of the tests over fresh seeds and prints how many operations of each came out wrong,
// with the first few wrong ones. Not a benchmark: a longer run of the property test than CI affords.
//
//   boolean_property_tool [operations per family, default 100000] [seed]

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "boolean_families.h"

int main(int argc, char** argv) {
  const int operations = argc > 1 ? std::atoi(argv[1]) : 100000;
  const std::uint32_t seed = argc > 2 ? static_cast<std::uint32_t>(std::strtoul(argv[2], nullptr, 10)) : std::random_device{}();
  std::printf("seed %u, %d operations per family\n", seed, operations);
  int total = 0;
  for (const booleancheck::Family& family : booleancheck::families()) {
    const auto start = std::chrono::steady_clock::now();
    const booleancheck::Tally tally = booleancheck::playFamily(family, seed, operations);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%-14s %7d operations %6d wrong  (%.1f s)\n", family.name, tally.operations, tally.wrongCount, seconds);
    for (const std::string& wrong : tally.wrong) std::printf("  %s\n", wrong.c_str());
    std::fflush(stdout);
    total += tally.wrongCount;
  }
  return total == 0 ? 0 : 1;
}
