#pragma once

// Where the closest point of a curve to a point lies, settled by a root search
// stopped early: cheap, and often enough to show that two curves' projections
// cannot match, so that the full search is only run where the answer is close.

#include "boolean/bezier_curve_data.h"
#include "boolean/range.h"
#include "platform/core/geometry.h"

struct PBClosestParameterSpans {
  static constexpr int kMaximumCount = 16;
  // False when the shallow search could not bound the answer (too many pieces, or distances that are not
  // numbers): ask the full search.
  bool known = false;
  // PBBezierCurveDataClosestLocation's parameter lies in one of these: one span when the nearest stationary
  // point is clear, several when some are too close in distance to call.
  int count = 0;
  PBRange spans[kMaximumCount];
};

// The search splits at most `stopDepth` times, so a span is at most 2^-stopDepth wide.
PBClosestParameterSpans PBBezierCurveDataClosestParameterSpans(const PBBezierCurveData& data, platform::Point point,
                                                               int stopDepth);

// |B'(t)| is at most this anywhere on the curve: three times the longest leg of the control polygon.
double PBBezierCurveDataSpeedBound(const PBBezierCurveData& data);
