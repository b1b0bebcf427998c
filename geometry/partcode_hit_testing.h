#pragma once

// Which point or element of a path lies under the mouse, and the boxes to redraw while a
// point moves. A tolerance that is negative or NaN hits nothing.

#include <span>
#include <vector>

#include "platform/graphics/bezier_path.h"

// The first point whose square of side `tolerance` centred on it holds p (min edges
// inclusive, max edges exclusive); −1 when none does.
int pointInPointArray(platform::Point p, std::span<const platform::Point> points, float tolerance);

// Looks at elements `start` and start + 1 only: the control points of a following curve
// (and its end point when it ends the path), else the end point of element `start`.
// Returns the partcode hit, or 0 (also for a start outside the path).
int partcodeHitByPoint(const platform::BezierPath& path, platform::Point p, float tolerance, int start = 0);

// The element (never a move) whose nearest point lies within `tolerance` of p, the nearest
// of all such elements (ties: the lowest index), or −1. `t` receives the parameter of
// that point: along a curve from its start, along a line or close from its end point.
int elementHitByPoint(const platform::BezierPath& path, platform::Point p, float tolerance, float* t = nullptr,
                      platform::Point* nearest = nullptr);
// The nearest point of the element hit, or p itself when none is.
platform::Point nearestPointToPoint(const platform::BezierPath& path, platform::Point p, float tolerance);
// The first element whose box grown by `tolerance` holds p; −1 when none does.
int elementBoundsContainsPoint(const platform::BezierPath& path, platform::Point p, float tolerance);

// A move's box is the zero rectangle; a line's or close's spans its two ends; a curve's
// holds its four points. The zero rectangle outside the path.
platform::Rect boundingBoxForElement(const platform::BezierPath& path, int element);
// The boxes touched when the partcode's point moves, each once.
std::vector<platform::Rect> boundingBoxesForPartcode(const platform::BezierPath& path, int partcode);
std::vector<platform::Rect> allBoundingBoxes(const platform::BezierPath& path);
// Strokes every element's box in red, one device pixel wide, into the current graphics
// context (none: nothing happens).
void drawElementsBoundingBoxes(const platform::BezierPath& path);
