#pragma once

// The tick marks and labels of the canvas rulers, worked out apart from drawing:
// per unit a tick spacing, a major period, a middle period and a label divisor;
// labelled major ticks at least 50 units apart, no tick within 5 units of the one
// drawn before it, and labels that never run into each other.

#include <functional>
#include <optional>
#include <string>
#include <vector>

struct VDRulerScheme {
  double spacing = 20;  // between ticks, zoom applied
  int major = 10;       // every major-th tick is a major tick
  int middle = 0;       // every middle-th tick is 7 long in the three-length scheme; 0 for the two-length scheme
  double divisor = 1;   // a label shows trunc((position − origin) / divisor)
};

// "Points", "Centimeters", "Inches", "Picas"; any other name gets the fallback scheme.
VDRulerScheme VDRulerSchemeForUnit(const std::string& unit, float zoom);

inline constexpr double kVDRulerFullTick = -1;  // a tick that crosses the whole band
inline constexpr double kVDRulerLabelSpacing = 50;
inline constexpr double kVDRulerTickGap = 5;
// Past this many tick positions (a huge extent, a zoom near zero) the ruler draws nothing.
inline constexpr long long kVDRulerMostTicks = 20000;

struct VDRulerTick {
  double position = 0;  // along the ruler
  double length = 0;    // 7, 5 or kVDRulerFullTick
  std::optional<std::string> label;
};

// Ticks between `start` and `end` (ruler coordinates) for a ruler whose page zero lies at `origin`.
// `labelWidth` measures a label's text, to keep labels from running into each other.
std::vector<VDRulerTick> VDRulerTicks(const VDRulerScheme& scheme, double origin, double start, double end,
                                      const std::function<double(const std::string&)>& labelWidth);
