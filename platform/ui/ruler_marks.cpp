#include "platform/ui/ruler_marks.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "platform/core/numeric.h"

namespace platform {
namespace {
constexpr double kLargestLabelStep = 1e15;
}  // namespace

const RulerUnit* rulerUnitNamed(const std::string& name) {
  static const std::array<RulerUnit, 4> units{{
      {"Points", "pt", 1, {10}, {0.5}},
      {"Inches", "in", 72, {2}, {0.5, 0.5, 0.5}},
      {"Centimeters", "cm", 72 / 2.54, {2}, {0.5, 0.2}},
      {"Picas", "pc", 12, {10}, {0.5}},
  }};
  for (const auto& unit : units)
    if (unit.name == name) return &unit;
  return nullptr;
}

std::vector<RulerMark> rulerMarks(const RulerUnit& unit, RulerScale scale, double start, double end) {
  std::vector<RulerMark> marks;
  const double unitPixels = std::abs(unit.pointsPerUnit * scale.pixelsPerPoint);
  if (!std::isfinite(unitPixels) || unitPixels <= 0 || !std::isfinite(start) || !std::isfinite(end) ||
      !std::isfinite(scale.zeroPosition))
    return marks;
  if (start > end) std::swap(start, end);

  // Labelled marks: whole units, stepped up until they are far enough apart to read.
  double labelUnits = 1;
  for (std::size_t step = 0; unitPixels * labelUnits < kMinimumLabelSpacing && !unit.stepUpCycle.empty(); ++step) {
    labelUnits *= unit.stepUpCycle[step % unit.stepUpCycle.size()];
    // Past this the labels could no longer be told apart as whole numbers.
    if (!(labelUnits <= kLargestLabelStep)) return marks;
  }
  // Subdivisions: each a whole fraction of the one above, kept while far enough apart to see.
  std::vector<long long> perLevel{1};  // finest marks per mark of each level
  double finest = unitPixels * labelUnits;
  for (std::size_t step = 0; !unit.stepDownCycle.empty(); ++step) {
    const double fraction = unit.stepDownCycle[step % unit.stepDownCycle.size()];
    const double divisions = std::round(1 / fraction);
    if (divisions < 2 || finest / divisions < kMinimumMarkSpacing) break;
    finest /= divisions;
    for (auto& count : perLevel) count *= saturatingTruncate<long long>(divisions);
    perLevel.push_back(1);
  }

  const double sign = scale.pixelsPerPoint < 0 ? -1 : 1;
  const double first = std::ceil((start - scale.zeroPosition) / finest);
  const double last = std::floor((end - scale.zeroPosition) / finest);
  if (!(last >= first) || last - first + 1 > double(kMostRulerMarks)) return marks;
  for (double index = first; index <= last; ++index) {
    const long long i = saturatingTruncate<long long>(index);
    int level = 0;
    while (i % perLevel[std::size_t(level)] != 0) ++level;
    RulerMark mark{scale.zeroPosition + index * finest, level, 0};
    // Along a reversed ruler the values grow the other way.
    if (level == 0)
      mark.label = saturatingTruncate<long long>(std::round(sign * index / double(perLevel[0]) * labelUnits));
    marks.push_back(mark);
  }
  return marks;
}

}  // namespace platform
