#include "geometry/geometry_functions.h"

#include <cmath>

using platform::Point;

float distanceBetweenPoints(Point a, Point b) {
  return std::hypot(static_cast<float>(b.x - a.x), static_cast<float>(b.y - a.y));
}

float slopeBetweenPoints(Point a, Point b) {
  return std::atan2(static_cast<float>(b.y - a.y), static_cast<float>(b.x - a.x));
}

float turnAngle(Point a, Point b, Point c) { return slopeBetweenPoints(a, b) - slopeBetweenPoints(b, c); }

Point interpolatePoints(Point a, Point b, float t) { return {a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)}; }

Point midpoint(Point a, Point b) { return {(a.x + b.x) * 0.5, (a.y + b.y) * 0.5}; }

Point addPoints(Point a, Point b) { return {a.x + b.x, a.y + b.y}; }

Point subtractPoints(Point a, Point b) { return {a.x - b.x, a.y - b.y}; }

float squaredLength(Point vector) { return static_cast<float>(vector.x * vector.x + vector.y * vector.y); }

float squaredDistance(Point a, Point b) {
  const double dx = a.x - b.x, dy = a.y - b.y;
  return static_cast<float>(dx * dx + dy * dy);
}

float dotProduct(Point u, Point v) { return static_cast<float>(u.x * v.x + u.y * v.y); }

Point pointAtAngleAndDistance(Point p, float angle, float distance) {
  return {p.x + distance * std::cos(angle), p.y + distance * std::sin(angle)};
}

Point nearestPointOnLine(Point p, Point a, Point b) {
  const Point d = subtractPoints(b, a);
  const float length = std::hypot(static_cast<float>(d.x), static_cast<float>(d.y));
  if (length == 0) return a;
  const float u = static_cast<float>(((p.x - a.x) * d.x + (p.y - a.y) * d.y) / (double(length) * length));
  return {a.x + u * d.x, a.y + u * d.y};
}

float distanceFromLine(Point p, Point a, Point b) { return distanceBetweenPoints(p, nearestPointOnLine(p, a, b)); }

float distanceRatio(Point a, Point b, Point c) {
  const float denominator = distanceBetweenPoints(b, c);
  return denominator == 0 ? 0 : distanceBetweenPoints(a, b) / denominator;
}

namespace {

double cross(Point u, Point v) { return u.x * v.y - u.y * v.x; }

}  // namespace

Point lineIntersection(Point a, Point b, Point c, Point d) {
  const Point r = subtractPoints(b, a), s = subtractPoints(d, c);
  const double denominator = cross(r, s);
  if (denominator == 0 || !std::isfinite(denominator)) return {-1, -1};
  const double t = cross(subtractPoints(c, a), s) / denominator;
  const Point crossing{a.x + t * r.x, a.y + t * r.y};
  if (!std::isfinite(crossing.x) || !std::isfinite(crossing.y)) return {-1, -1};
  return crossing;
}

Point segmentIntersection(Point p1, Point p2, Point p3, Point p4) {
  const Point r = subtractPoints(p2, p1), s = subtractPoints(p4, p3), q = subtractPoints(p3, p1);
  const float denominator = static_cast<float>(cross(r, s));
  if (denominator == 0) return {-1, -1};
  const float t = static_cast<float>(cross(q, s) / denominator);
  const float u = static_cast<float>(cross(q, r) / denominator);
  if (!(t >= 0 && t <= 1 && u >= 0 && u <= 1)) return {-1, -1};
  return {p1.x + t * r.x, p1.y + t * r.y};
}

platform::AffineTransform rotationAboutPoint(float angle, Point p) {
  platform::AffineTransform transform;
  transform.translate(p.x, p.y);
  transform.rotateByRadians(angle);
  transform.translate(-p.x, -p.y);
  return transform;
}
