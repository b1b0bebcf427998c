#pragma once

// Cubic segments given as four points (start, first control, second control, end):
// splitting, evaluation, tangents and the nearest point to a given point, found as
// the roots of a degree-5 polynomial in Bernstein form (Schneider's method).

#include "platform/core/geometry.h"

// de Casteljau at t (taken in double precision); `left` and `right` receive the halves.
void splitCubicAtParameter(const platform::Point segment[4], float t, platform::Point left[4],
                           platform::Point right[4]);
// The point of the segment nearest to p among t = 0, every root and t = 1; `t` receives
// its parameter when given. Non-finite input gives the start point and t = 0.
platform::Point nearestPointOnCurve(const platform::Point segment[4], double* t, platform::Point p);
// Roots in [0, 1] of the degree-5 form (x = parameter position, y = value), in ascending
// order of the halves searched; writes at most `capacity` of them and returns how many it wrote.
int findCurveRoots(const platform::Point form[6], double* roots, int capacity, int depth);
// de Casteljau's triangle of the given degree (0 to 5) at t: returns the apex; `left` and
// `right`, when given, receive degree + 1 control points of the two halves. Other degrees
// give the zero point.
platform::Point evaluateBezier(const platform::Point* controlPoints, int degree, platform::Point* left,
                               platform::Point* right, double t);
// Direction of the derivative at t, clamped to [0, 1].
float tangentAngleOfCurve(const platform::Point segment[4], float t);
