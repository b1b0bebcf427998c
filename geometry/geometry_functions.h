#pragma once

// Point, angle and line arithmetic shared by the path operations. Distances and
// angles come back in single precision, as the drawings made with them expect;
// points stay in double precision.

#include "platform/core/geometry.h"
#include "platform/graphics/affine_transform.h"

// Hypotenuse of (b − a), each difference converted to float first.
float distanceBetweenPoints(platform::Point a, platform::Point b);
// atan2 of (b − a), each difference converted to float first.
float slopeBetweenPoints(platform::Point a, platform::Point b);
// slope(a, b) − slope(b, c), not wrapped into (−π, π].
float turnAngle(platform::Point a, platform::Point b, platform::Point c);
platform::Point interpolatePoints(platform::Point a, platform::Point b, float t);
platform::Point midpoint(platform::Point a, platform::Point b);
platform::Point addPoints(platform::Point a, platform::Point b);
platform::Point subtractPoints(platform::Point a, platform::Point b);
float squaredLength(platform::Point vector);
// Summed in double precision, converted once.
float squaredDistance(platform::Point a, platform::Point b);
float dotProduct(platform::Point u, platform::Point v);
// p + distance × (cos angle, sin angle), the products in single precision.
platform::Point pointAtAngleAndDistance(platform::Point p, float angle, float distance);
// Foot of the perpendicular from p on the infinite line a–b; a when a and b coincide.
platform::Point nearestPointOnLine(platform::Point p, platform::Point a, platform::Point b);
float distanceFromLine(platform::Point p, platform::Point a, platform::Point b);
// |ab| / |bc|; 0 when b and c coincide.
float distanceRatio(platform::Point a, platform::Point b, platform::Point c);
// Where the infinite lines a–b and c–d cross; (−1, −1) when they are parallel or degenerate.
platform::Point lineIntersection(platform::Point a, platform::Point b, platform::Point c, platform::Point d);
// Where the segments p1–p2 and p3–p4 cross, end points included; (−1, −1) when they do not
// (or are parallel), so a real crossing at (−1, −1) cannot be told from none.
platform::Point segmentIntersection(platform::Point p1, platform::Point p2, platform::Point p3, platform::Point p4);
// Turns by `angle` radians about p.
platform::AffineTransform rotationAboutPoint(float angle, platform::Point p);
