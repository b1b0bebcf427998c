// Hostile path data through the SVG path scanner: no crash, hang or sanitizer report, every event holds finite
// single-precision numbers, and the number of events stays within twice the length of the text.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "io/svg/VDSVGPathScanner.h"

namespace {

[[noreturn]] void fail(const char* what) {
  std::fprintf(stderr, "fuzz_svg_path_data: %s\n", what);
  std::abort();
}

class Checker final : public VDSVGPathScannerOwner {
 public:
  void moveTo(float x, float y) override { check({x, y}); }
  void lineTo(float x, float y) override { check({x, y}); }
  void curveTo(float c1x, float c1y, float c2x, float c2y, float x, float y) override {
    check({c1x, c1y, c2x, c2y, x, y});
  }
  void closePath() override { ++events; }
  std::size_t events = 0;

 private:
  void check(std::initializer_list<float> numbers) {
    for (const float n : numbers) {
      if (!std::isfinite(n)) fail("an event holds a number that is not finite");
    }
    ++events;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Checker checker;
  VDSVGPathScanner(checker).scan(std::string_view(reinterpret_cast<const char*>(data), size));
  if (checker.events > 2 * size + 1) fail("more events than the text can hold");
  return 0;
}
