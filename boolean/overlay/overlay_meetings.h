#pragma once

// Where two edges of the overlay meet, decided with its one tolerance: where they cross, and where they run within
// the tolerance of each other, the ends of that stretch. Between two such places the edges stay further apart than
// the tolerance and do not cross, so cutting both at these places leaves no crossing unseen, however flat the angle
// at which they meet; along a stretch, the pieces of both lie within the tolerance of each other and become one.

#include <vector>

#include "boolean/bezier_curve_data.h"
#include "platform/core/geometry.h"

struct PBOverlayMeeting {
  platform::Point point;  // on the first curve
  double along1, along2;  // about where it lies on each curve
};

// Appends the places where the curves (in the working frame, where `tolerance` applies) must share a vertex. An end
// that both share exactly is a vertex already and is not reported again.
void PBOverlayMeetings(const PBBezierCurveData& a, const PBBezierCurveData& b, double tolerance,
                       std::vector<PBOverlayMeeting>& meetings);

// Where a cubic whose tangent turns through about half a turn or more is slowest (the tip of a loop or a cusp), so
// that cut there its parts can be met with each other; false for a curve that turns less, which meets itself nowhere.
bool PBOverlayTurningPoint(const PBBezierCurveData& curve, double* parameter);
