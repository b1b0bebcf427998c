#include "boolean/overlay/overlay_pieces.h"

#include <algorithm>

#include "boolean/overlay/overlay_geometry.h"

using platform::Point;

namespace {

double cross(Point a, Point b) { return a.x * b.y - a.y * b.x; }

Point between(Point a, Point b, double t) { return {a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)}; }

// The values of u for which f0 + u (f1 − f0) lies within [low, high], intersected with [*from, *to].
void keepWhereWithin(double f0, double f1, double low, double high, double* from, double* to) {
  const double slope = f1 - f0;
  if (slope == 0) {
    if (f0 < low || f0 > high) *from = 1, *to = 0;
    return;
  }
  double u0 = (low - f0) / slope, u1 = (high - f0) / slope;
  if (u0 > u1) std::swap(u0, u1);
  *from = std::max(*from, u0), *to = std::min(*to, u1);
}

// The sector from a point that holds the directions to the rest of a piece's control points, by its bounding
// directions (right, then left, counter-clockwise); false when it spans half a turn or more.
bool sectorFrom(Point end, const PBOverlayPiece& piece, Point* right, Point* left) {
  Point directions[3];
  int count = 0;
  for (const Point& point : piece.p) {
    if (point != end) directions[count++] = PBSubtractPoint(point, end);
  }
  if (count == 0) return false;
  bool haveRight = false, haveLeft = false;
  for (int i = 0; i < count; ++i) {
    bool allLeftOf = true, allRightOf = true;
    for (int j = 0; j < count; ++j) {
      const double turn = cross(directions[i], directions[j]);
      allLeftOf = allLeftOf && (turn > 0 || (turn == 0 && PBDotMultiplyPoint(directions[i], directions[j]) > 0));
      allRightOf = allRightOf && (turn < 0 || (turn == 0 && PBDotMultiplyPoint(directions[i], directions[j]) > 0));
    }
    if (allLeftOf && !haveRight) *right = directions[i], haveRight = true;
    if (allRightOf && !haveLeft) *left = directions[i], haveLeft = true;
  }
  return haveRight && haveLeft;
}

}  // namespace

PBOverlayPiece PBOverlayPieceOf(const PBBezierCurveData& curve, double from, double to) {
  const PBBezierCurveData part = from == 0 && to == 1 ? curve : PBBezierCurveDataSubcurveWithRange(curve, {from, to});
  return {{part.endPoint1, part.controlPoint1, part.controlPoint2, part.endPoint2}, from, to};
}

void PBOverlayHalve(const PBOverlayPiece& piece, PBOverlayPiece& left, PBOverlayPiece& right) {
  const Point* p = piece.p;
  const Point p01 = between(p[0], p[1], 0.5), p12 = between(p[1], p[2], 0.5), p23 = between(p[2], p[3], 0.5);
  const Point p012 = between(p01, p12, 0.5), p123 = between(p12, p23, 0.5), middle = between(p012, p123, 0.5);
  const double half = 0.5 * (piece.from + piece.to);
  left = {{p[0], p01, p012, middle}, piece.from, half};
  right = {{middle, p123, p23, p[3]}, half, piece.to};
}

PBOverlayFrame PBOverlayFrameOf(const PBOverlayPiece& piece) {
  PBOverlayFrame frame;
  frame.origin = piece.p[0];
  // A closed piece is measured along its furthest control point.
  Point chord = PBSubtractPoint(piece.p[3], piece.p[0]);
  frame.length = std::sqrt(PBDotMultiplyPoint(chord, chord));
  for (int i = 1; i < 3 && !(chord.x != 0 || chord.y != 0); ++i) chord = PBSubtractPoint(piece.p[i], piece.p[0]);
  const double length = std::sqrt(PBDotMultiplyPoint(chord, chord));
  if (length > 0) frame.direction = {chord.x / length, chord.y / length};
  for (int i = 1; i < 4; ++i) {
    const Point offset = PBSubtractPoint(piece.p[i], frame.origin);
    const double across = cross(frame.direction, offset), along = PBDotMultiplyPoint(frame.direction, offset);
    frame.acrossLow = std::min(frame.acrossLow, across), frame.acrossHigh = std::max(frame.acrossHigh, across);
    frame.alongLow = std::min(frame.alongLow, along), frame.alongHigh = std::max(frame.alongHigh, along);
    const Point step = PBSubtractPoint(piece.p[i], piece.p[i - 1]);
    if (step.x == 0 && step.y == 0) continue;
    const double ahead = PBDotMultiplyPoint(frame.direction, step);
    if (!(ahead > 0)) {
      frame.forward = false;
      continue;
    }
    const double slope = cross(frame.direction, step) / ahead;
    frame.slopeLow = std::min(frame.slopeLow, slope), frame.slopeHigh = std::max(frame.slopeHigh, slope);
  }
  frame.forward = frame.forward && frame.slopeLow <= frame.slopeHigh;
  return frame;
}

bool PBOverlayBeyond(const PBOverlayFrame& frame, const PBOverlayPiece& other, double margin) {
  double acrossLow = INFINITY, acrossHigh = -INFINITY, alongLow = INFINITY, alongHigh = -INFINITY;
  for (const Point& point : other.p) {
    const Point offset = PBSubtractPoint(point, frame.origin);
    const double across = cross(frame.direction, offset), along = PBDotMultiplyPoint(frame.direction, offset);
    acrossLow = std::min(acrossLow, across), acrossHigh = std::max(acrossHigh, across);
    alongLow = std::min(alongLow, along), alongHigh = std::max(alongHigh, along);
  }
  return acrossLow > frame.acrossHigh + margin || acrossHigh < frame.acrossLow - margin ||
         alongLow > frame.alongHigh + margin || alongHigh < frame.alongLow - margin;
}

bool PBOverlayIsFlat(const PBOverlayFrame& frame, double flatness) {
  return frame.acrossHigh - frame.acrossLow <= flatness && frame.alongLow >= -flatness &&
         frame.alongHigh <= frame.length + flatness;
}

bool PBOverlayCrossAtMostOnce(const PBOverlayFrame& frameA, const PBOverlayFrame& frameB) {
  double aLow, aHigh, bLow, bHigh;
  if (!frameA.narrow(&aLow, &aHigh) || !frameB.narrow(&bLow, &bHigh)) return false;
  const double offset =
      std::atan2(cross(frameA.direction, frameB.direction), PBDotMultiplyPoint(frameA.direction, frameB.direction));
  bLow += offset, bHigh += offset;
  const double shift = std::round(((aLow + aHigh) - (bLow + bHigh)) / (2 * std::numbers::pi)) * std::numbers::pi;
  bLow += shift, bHigh += shift;
  constexpr double kMargin = 1e-9;
  return bLow > aHigh + kMargin || bHigh < aLow - kMargin;
}

bool PBOverlaySolveCrossing(const PBOverlayPiece& a, const PBOverlayPiece& b, double* s, double* t) {
  double along1 = 0.5, along2 = 0.5;
  Point unused;
  double chordAlong1, chordAlong2;
  if (PBOverlayLinesCross(a.p[0], a.p[3], b.p[0], b.p[3], &unused, &chordAlong1, &chordAlong2)) {
    along1 = chordAlong1, along2 = chordAlong2;
  }
  bool settled = false;
  for (int step = 0; step < 16 && !settled; ++step) {
    const Point gap = PBSubtractPoint(a.at(along1), b.at(along2));
    const Point da = a.derivative(along1), db = b.derivative(along2);
    // da·Δs − db·Δt = −gap, by Cramer's rule.
    const double determinant = cross(db, da);
    if (!(std::fabs(determinant) > 0)) return false;
    const double ds = cross(gap, db) / determinant;
    const double dt = cross(gap, da) / determinant;
    along1 = std::clamp(along1 + ds, -0.5, 1.5);
    along2 = std::clamp(along2 + dt, -0.5, 1.5);
    settled = std::fabs(ds) < 1e-14 && std::fabs(dt) < 1e-14;
  }
  constexpr double kSlack = 1e-12;
  if (!settled || !(along1 >= -kSlack && along1 <= 1 + kSlack && along2 >= -kSlack && along2 <= 1 + kSlack)) {
    return false;
  }
  *s = std::clamp(along1, 0.0, 1.0), *t = std::clamp(along2, 0.0, 1.0);
  return true;
}

bool PBOverlayPartWithin(Point p0, Point p1, Point q0, Point q1, double reach, double* from, double* to) {
  double low = INFINITY, high = -INFINITY;
  auto add = [&](double a, double b) {
    a = std::max(a, 0.0), b = std::min(b, 1.0);
    if (a <= b) low = std::min(low, a), high = std::max(high, b);
  };
  const Point d = PBSubtractPoint(p1, p0), e = PBSubtractPoint(q1, q0);
  for (const Point& centre : {q0, q1}) {
    // |p0 + u d − centre|² ≤ reach²
    const Point f = PBSubtractPoint(p0, centre);
    const double a = PBDotMultiplyPoint(d, d), b = 2 * PBDotMultiplyPoint(f, d),
                 c = PBDotMultiplyPoint(f, f) - reach * reach;
    if (a == 0) {
      if (c <= 0) add(0, 1);
      continue;
    }
    const double discriminant = b * b - 4 * a * c;
    if (discriminant < 0) continue;
    const double root = std::sqrt(discriminant);
    add((-b - root) / (2 * a), (-b + root) / (2 * a));
  }
  const double length = std::hypot(e.x, e.y);
  if (length > 0) {
    const Point unit{e.x / length, e.y / length};
    double u0 = -INFINITY, u1 = INFINITY;
    keepWhereWithin(cross(unit, PBSubtractPoint(p0, q0)), cross(unit, PBSubtractPoint(p1, q0)), -reach, reach, &u0,
                    &u1);
    keepWhereWithin(PBDotMultiplyPoint(unit, PBSubtractPoint(p0, q0)),
                    PBDotMultiplyPoint(unit, PBSubtractPoint(p1, q0)), 0, length, &u0, &u1);
    if (u0 <= u1) add(u0, u1);
  }
  if (!(low <= high)) return false;
  *from = low, *to = high;
  return true;
}

double PBOverlayFootAlong(Point q0, Point q1, Point point) {
  const Point e = PBSubtractPoint(q1, q0);
  const double lengthSquared = PBDotMultiplyPoint(e, e);
  return lengthSquared > 0 ? std::clamp(PBDotMultiplyPoint(PBSubtractPoint(point, q0), e) / lengthSquared, 0.0, 1.0)
                           : 0;
}

bool PBOverlayMeetOnlyAt(Point end, const PBOverlayPiece& a, const PBOverlayPiece& b) {
  Point aRight, aLeft, bRight, bLeft;
  if (!sectorFrom(end, a, &aRight, &aLeft) || !sectorFrom(end, b, &bRight, &bLeft)) return false;
  // Sectors narrower than half a turn overlap exactly when one holds a bounding direction of the other; a direction
  // within a billionth of a radian outside a bound counts as held, so that curves leaving the end all but together
  // are searched further.
  auto holds = [](Point right, Point left, Point direction) {
    constexpr double kMarginSquared = 1e-18;
    const double size = PBDotMultiplyPoint(direction, direction);
    const double turnRight = cross(right, direction), turnLeft = cross(direction, left);
    // On the sector's side (a sector of no width and its opposite lie on one line), and within the margin of it.
    return PBDotMultiplyPoint(right, direction) * std::sqrt(PBDotMultiplyPoint(left, left)) +
                   PBDotMultiplyPoint(left, direction) * std::sqrt(PBDotMultiplyPoint(right, right)) >
               0 &&
           (turnRight >= 0 || turnRight * turnRight <= kMarginSquared * size * PBDotMultiplyPoint(right, right)) &&
           (turnLeft >= 0 || turnLeft * turnLeft <= kMarginSquared * size * PBDotMultiplyPoint(left, left));
  };
  return !holds(aRight, aLeft, bRight) && !holds(aRight, aLeft, bLeft) && !holds(bRight, bLeft, aRight) &&
         !holds(bRight, bLeft, aLeft);
}

bool PBOverlaySharesAnEnd(const PBOverlayPiece& a, const PBOverlayPiece& b, PBOverlaySharedEnd* end) {
  for (const int i : {0, 3}) {
    for (const int j : {0, 3}) {
      if (a.p[i] == b.p[j]) {
        *end = {a.p[i], i == 0 ? a.from : a.to, j == 0 ? b.from : b.to};
        return true;
      }
    }
  }
  return false;
}

int PBOverlayAlike(const PBOverlayPiece& a, const PBOverlayPiece& b, double reach) {
  auto near = [reach](Point p, Point q) { return std::fabs(p.x - q.x) <= reach && std::fabs(p.y - q.y) <= reach; };
  if (near(a.p[0], b.p[0]) && near(a.p[1], b.p[1]) && near(a.p[2], b.p[2]) && near(a.p[3], b.p[3])) return 1;
  if (near(a.p[0], b.p[3]) && near(a.p[1], b.p[2]) && near(a.p[2], b.p[1]) && near(a.p[3], b.p[0])) return -1;
  return 0;
}

double PBOverlayParameterAtAlong(const PBOverlayPiece& piece, Point origin, Point direction, double x) {
  auto along = [&](double t) { return PBDotMultiplyPoint(PBSubtractPoint(piece.at(t), origin), direction); };
  const double x0 = along(0), x1 = along(1);
  double t = x1 != x0 ? std::clamp((x - x0) / (x1 - x0), 0.0, 1.0) : 0;
  for (int step = 0; step < 8; ++step) {
    const double slope = PBDotMultiplyPoint(piece.derivative(t), direction);
    if (!(slope > 0)) break;
    const double next = std::clamp(t - (along(t) - x) / slope, 0.0, 1.0);
    const bool settled = std::fabs(next - t) < 1e-15;
    t = next;
    if (settled) break;
  }
  return t;
}

double PBOverlayNearestOn(const PBOverlayPiece& piece, Point point, double* parameter) {
  const Point chord = PBSubtractPoint(piece.p[3], piece.p[0]);
  const double chordSquared = PBDotMultiplyPoint(chord, chord);
  double t = chordSquared > 0
                 ? std::clamp(PBDotMultiplyPoint(PBSubtractPoint(point, piece.p[0]), chord) / chordSquared, 0.0, 1.0)
                 : 0;
  for (int step = 0; step < 6; ++step) {
    const Point offset = PBSubtractPoint(piece.at(t), point), speed = piece.derivative(t);
    const double slope = PBDotMultiplyPoint(speed, speed);
    if (!(slope > 0)) break;
    t = std::clamp(t - PBDotMultiplyPoint(offset, speed) / slope, 0.0, 1.0);
  }
  *parameter = t;
  return PBDistanceBetweenPoints(piece.at(t), point);
}

double PBOverlayParameterAtChord(const PBOverlayPiece& piece, double along) {
  const Point chord = PBSubtractPoint(piece.p[3], piece.p[0]);
  const double length = std::hypot(chord.x, chord.y);
  if (!(length > 0)) return along;
  return PBOverlayParameterAtAlong(piece, piece.p[0], {chord.x / length, chord.y / length}, along * length);
}

PBOverlayPiece PBOverlayPart(const PBOverlayPiece& piece, double from, double to) {
  PBBezierCurveData data =
      PBBezierCurveDataSubcurveWithRange(PBBezierCurveDataMake(piece.p[0], piece.p[1], piece.p[2], piece.p[3], false),
                                         {std::min(from, to), std::max(from, to)});
  if (from > to) data = PBBezierCurveDataReversed(data);
  return {{data.endPoint1, data.controlPoint1, data.controlPoint2, data.endPoint2},
          piece.parameter(from),
          piece.parameter(to)};
}
