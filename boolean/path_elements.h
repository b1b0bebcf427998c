#pragma once

// Element access and construction on the platform path that the boolean
// engine reads and writes paths with.

#include <cstdint>

#include "platform/core/geometry.h"
#include "platform/graphics/bezier_path.h"

// Element kinds as the platform numbers them, plus one for "no element".
constexpr std::uint64_t PBElementMove = 0;
constexpr std::uint64_t PBElementLine = 1;
constexpr std::uint64_t PBElementCurve = 2;
constexpr std::uint64_t PBElementClose = 3;
constexpr std::uint64_t PBElementNone = 4;

struct PBPathElement {
  std::uint64_t kind = PBElementNone;
  platform::Point point;   // the end point (zero for a close)
  platform::Point controlPoints[2];  // a curve's controls
};

struct PBElementRange {
  int location = 0;
  int length = 0;
};

// An index outside the path gives a PBElementNone element, which every reader skips.
PBPathElement pb_elementAtIndex(const platform::BezierPath& path, int index);
platform::Point pb_pointAtIndex(const platform::BezierPath& path, int index);
// A move to the element at the range's start, then the rest of the range; empty for a zero length.
platform::BezierPath pb_subpathWithRange(const platform::BezierPath& path, PBElementRange range);
// Line width, cap, join, miter limit and flatness (not the dash or winding rule).
void pb_copyAttributesFrom(platform::BezierPath& path, const platform::BezierPath& source);
// Joins the argument's subpaths onto the receiver's current one: moves become lines, except a move to
// the point last appended. On an empty receiver the first move stays a move.
void pb_appendPath(platform::BezierPath& path, const platform::BezierPath& other);
void pb_appendElement(platform::BezierPath& path, const PBPathElement& element);
