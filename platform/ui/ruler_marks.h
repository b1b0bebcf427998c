#pragma once

// The measurement units of rulers and the tick marks a ruler draws for them:
// labelled major marks far enough apart to read, subdivided while the
// subdivisions stay far enough apart to see, as NSRulerView's step-up and
// step-down cycles do.

#include <cstddef>
#include <string>
#include <vector>

namespace platform {

struct RulerUnit {
  std::string name;
  std::string abbreviation;
  double pointsPerUnit = 1;
  std::vector<double> stepUpCycle;    // factors (> 1) by which labelled marks grow apart when too close
  std::vector<double> stepDownCycle;  // fractions (< 1) by which a spacing is subdivided
};

// "Points", "Inches", "Centimeters", "Picas"; null for any other name.
const RulerUnit* rulerUnitNamed(const std::string& name);

struct RulerMark {
  double position = 0;  // along the ruler
  int level = 0;        // 0 labelled, then 1, 2, ... for finer subdivisions
  long long label = 0;  // the value in units at a labelled mark
};

struct RulerScale {
  double zeroPosition = 0;    // where the zero mark lies along the ruler
  double pixelsPerPoint = 1;  // signed: negative when values grow towards smaller positions
};

inline constexpr double kMinimumLabelSpacing = 40;
inline constexpr double kMinimumMarkSpacing = 4;
// Past this many marks (a huge ruler, a scale near zero) nothing is drawn rather than stalling the interface.
inline constexpr std::size_t kMostRulerMarks = 20000;

// The marks between positions `start` and `end` (either order), sorted by position.
std::vector<RulerMark> rulerMarks(const RulerUnit& unit, RulerScale scale, double start, double end);

}  // namespace platform
