#include "platform/graphics/bezier_math.h"

#include <algorithm>
#include <cmath>

#include "platform/core/numeric.h"

namespace platform::bezier {

int cubicExtremaParameters(double a, double b, double c, double d, double roots[2]) {
  // B'(t) / 3 = qa·t² + qb·t + qc.
  const double qa = -a + 3 * b - 3 * c + d;
  const double qb = 2 * (a - 2 * b + c);
  const double qc = b - a;
  double candidates[2];
  int candidateCount = 0;
  if (qa == 0) {
    if (qb != 0) candidates[candidateCount++] = -qc / qb;
  } else {
    const double discriminant = qb * qb - 4 * qa * qc;
    // A negative discriminant has no real root; a double root is a flat inflection, no extremum.
    if (discriminant > 0) {
      // The cancellation-free form keeps the small root accurate when qa is tiny.
      const double q = -0.5 * (qb + std::copysign(std::sqrt(discriminant), qb));
      candidates[candidateCount++] = q / qa;
      if (q != 0) candidates[candidateCount++] = qc / q;
    }
  }
  int count = 0;
  for (int i = 0; i < candidateCount; ++i) {
    if (candidates[i] > 0 && candidates[i] < 1) roots[count++] = candidates[i];
  }
  return count;
}

int flatteningSegmentCount(Point p0, Point p1, Point p2, Point p3, double flatness) {
  constexpr int kMaxSegments = 10000;
  const double tolerance = flatness > 0 ? flatness : 1e-3;
  // Wang's bound: the largest second difference of the control polygon limits how far a chord strays.
  const double ax = p0.x - 2 * p1.x + p2.x, ay = p0.y - 2 * p1.y + p2.y;
  const double bx = p1.x - 2 * p2.x + p3.x, by = p1.y - 2 * p2.y + p3.y;
  // Squares that overflow give infinity, which caps the count as it should.
  const double m = std::sqrt(std::max(ax * ax + ay * ay, bx * bx + by * by));
  const double segments = std::ceil(std::sqrt(0.75 * m / tolerance));
  return std::clamp(saturatingTruncate<int>(segments), 1, kMaxSegments);
}

}  // namespace platform::bezier
