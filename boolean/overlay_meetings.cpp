#include "boolean/overlay_meetings.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "boolean/overlay_geometry.h"
#include "boolean/vector_functions.h"

using platform::Point;

namespace {

double cross(Point a, Point b) { return a.x * b.y - a.y * b.x; }
Point between(Point a, Point b, double t) { return {a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)}; }

// A piece of one of the curves, with the parameters it spans there.
struct Piece {
  Point p[4];
  double from, to;

  Point at(double t) const {
    const Point q0 = between(p[0], p[1], t), q1 = between(p[1], p[2], t), q2 = between(p[2], p[3], t);
    return between(between(q0, q1, t), between(q1, q2, t), t);
  }
  Point derivative(double t) const {
    const double u = 1 - t;
    const Point d0 = PBSubtractPoint(p[1], p[0]), d1 = PBSubtractPoint(p[2], p[1]), d2 = PBSubtractPoint(p[3], p[2]);
    return {3 * (u * u * d0.x + 2 * u * t * d1.x + t * t * d2.x), 3 * (u * u * d0.y + 2 * u * t * d1.y + t * t * d2.y)};
  }
  double parameter(double local) const { return from + local * (to - from); }
};

Piece pieceOf(const PBBezierCurveData& curve, double from = 0, double to = 1) {
  const PBBezierCurveData part =
      from == 0 && to == 1 ? curve : PBBezierCurveDataSubcurveWithRange(curve, {from, to});
  return {{part.endPoint1, part.controlPoint1, part.controlPoint2, part.endPoint2}, from, to};
}

void halve(const Piece& piece, Piece& left, Piece& right) {
  const Point* p = piece.p;
  const Point p01 = between(p[0], p[1], 0.5), p12 = between(p[1], p[2], 0.5), p23 = between(p[2], p[3], 0.5);
  const Point p012 = between(p01, p12, 0.5), p123 = between(p12, p23, 0.5), middle = between(p012, p123, 0.5);
  const double half = 0.5 * (piece.from + piece.to);
  left = {{p[0], p01, p012, middle}, piece.from, half};
  right = {{middle, p123, p23, p[3]}, half, piece.to};
}

// The piece's chord, how far its control points reach across it and along it, and the slopes against it of the
// steps between control points (the tangent's directions lie among theirs).
struct Frame {
  Point origin, direction{1, 0};  // a unit vector
  double length = 0;
  double acrossLow = 0, acrossHigh = 0, alongLow = 0, alongHigh = 0;
  double slopeLow = INFINITY, slopeHigh = -INFINITY;
  bool forward = true;  // every step goes forward along the chord
  // The tangent keeps within a small angle (0.1) of the chord: the piece is a graph over the chord's line.
  bool nearlyStraight() const { return forward && slopeLow > -0.10033 && slopeHigh < 0.10033; }
  // The tangent's directions as angles from the chord, when they keep within a right angle as lines: such a piece and
  // another apart from it in direction cross at most once.
  bool narrow(double* low, double* high) const {
    if (!forward) return false;
    *low = std::atan(slopeLow), *high = std::atan(slopeHigh);
    return *high - *low < std::numbers::pi / 2;
  }
};

Frame frameOf(const Piece& piece) {
  Frame frame;
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

// Whether the other piece lies further than `margin` from the one framed, across its chord or beyond its ends: a
// piece lies within the hull of its control points.
bool beyond(const Frame& frame, const Piece& other, double margin) {
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

// Flat: the control points stray from the chord by no more than `flatness`, and not beyond its ends, so that the
// chord stands for the piece.
bool isFlat(const Frame& frame, double flatness) {
  return frame.acrossHigh - frame.acrossLow <= flatness && frame.alongLow >= -flatness &&
         frame.alongHigh <= frame.length + flatness;
}

// Whether the tangents of the two pieces, taken as lines, keep to directions apart: then they cross at most once.
bool crossAtMostOnce(const Frame& frameA, const Frame& frameB) {
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

// Newton's method on A(s) = B(t) from where the chords cross (or their middles); the local parameters when it
// settles within both pieces.
bool solveCrossing(const Piece& a, const Piece& b, double* s, double* t) {
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

// The part of segment p0 p1 (as fractions along it) within `reach` of segment q0 q1; false when none is. The
// points within reach of a segment make a convex shape (a rectangle with round ends), so the part is one interval:
// the union of those in the rectangle and in the two discs.
bool partWithin(Point p0, Point p1, Point q0, Point q1, double reach, double* from, double* to) {
  double low = INFINITY, high = -INFINITY;
  auto add = [&](double a, double b) {
    a = std::max(a, 0.0), b = std::min(b, 1.0);
    if (a <= b) low = std::min(low, a), high = std::max(high, b);
  };
  const Point d = PBSubtractPoint(p1, p0), e = PBSubtractPoint(q1, q0);
  for (const Point& centre : {q0, q1}) {
    // |p0 + u d − centre|² ≤ reach²
    const Point f = PBSubtractPoint(p0, centre);
    const double a = PBDotMultiplyPoint(d, d), b = 2 * PBDotMultiplyPoint(f, d), c = PBDotMultiplyPoint(f, f) - reach * reach;
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
    keepWhereWithin(cross(unit, PBSubtractPoint(p0, q0)), cross(unit, PBSubtractPoint(p1, q0)), -reach, reach, &u0, &u1);
    keepWhereWithin(PBDotMultiplyPoint(unit, PBSubtractPoint(p0, q0)), PBDotMultiplyPoint(unit, PBSubtractPoint(p1, q0)), 0, length, &u0, &u1);
    if (u0 <= u1) add(u0, u1);
  }
  if (!(low <= high)) return false;
  *from = low, *to = high;
  return true;
}

// The fraction along segment q0 q1 of the point nearest `point`.
double footAlong(Point q0, Point q1, Point point) {
  const Point e = PBSubtractPoint(q1, q0);
  const double lengthSquared = PBDotMultiplyPoint(e, e);
  return lengthSquared > 0 ? std::clamp(PBDotMultiplyPoint(PBSubtractPoint(point, q0), e) / lengthSquared, 0.0, 1.0) : 0;
}

// A stretch of one curve within reach of the other, with where its ends lie on the other.
struct Stretch {
  double from, to;
  double otherFrom, otherTo;
};

// The sector from a point that holds the directions to the rest of a piece's control points, by its bounding
// directions (right, then left, counter-clockwise); false when it spans half a turn or more.
bool sectorFrom(Point end, const Piece& piece, Point* right, Point* left) {
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

// Whether two pieces that share an end meet only there: the sectors from it that hold each piece do not overlap.
bool meetOnlyAt(Point end, const Piece& a, const Piece& b) {
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

// An end the two pieces share exactly, with where it lies on each.
struct SharedEnd {
  Point point;
  double alongA, alongB;
};

bool sharesAnEnd(const Piece& a, const Piece& b, SharedEnd* end) {
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

// Whether two pieces have control points pairwise within `reach` of each other, so that they lie within it of each
// other everywhere: 1 when they run the same way, -1 when opposite ways, 0 when they are not alike.
int alike(const Piece& a, const Piece& b, double reach) {
  auto near = [reach](Point p, Point q) { return std::fabs(p.x - q.x) <= reach && std::fabs(p.y - q.y) <= reach; };
  if (near(a.p[0], b.p[0]) && near(a.p[1], b.p[1]) && near(a.p[2], b.p[2]) && near(a.p[3], b.p[3])) return 1;
  if (near(a.p[0], b.p[3]) && near(a.p[1], b.p[2]) && near(a.p[2], b.p[1]) && near(a.p[3], b.p[0])) return -1;
  return 0;
}

// The parameter where a piece that is a graph over the direction reaches `x` along it (measured from `origin`).
double parameterAtAlong(const Piece& piece, Point origin, Point direction, double x) {
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

// The distance from the point to the piece and where on it that is, by Newton's method on the foot of the
// perpendicular from where the point falls along the chord. It may settle on a point that is not the nearest of
// all: enough where a miss only leaves a shortcut untaken.
double nearestOn(const Piece& piece, Point point, double* parameter) {
  const Point chord = PBSubtractPoint(piece.p[3], piece.p[0]);
  const double chordSquared = PBDotMultiplyPoint(chord, chord);
  double t = chordSquared > 0 ? std::clamp(PBDotMultiplyPoint(PBSubtractPoint(point, piece.p[0]), chord) / chordSquared, 0.0, 1.0) : 0;
  for (int step = 0; step < 6; ++step) {
    const Point offset = PBSubtractPoint(piece.at(t), point), speed = piece.derivative(t);
    const double slope = PBDotMultiplyPoint(speed, speed);
    if (!(slope > 0)) break;
    t = std::clamp(t - PBDotMultiplyPoint(offset, speed) / slope, 0.0, 1.0);
  }
  *parameter = t;
  return PBDistanceBetweenPoints(piece.at(t), point);
}

// The local parameter where a flat piece projects onto the given fraction of its chord.
double parameterAtChord(const Piece& piece, double along) {
  const Point chord = PBSubtractPoint(piece.p[3], piece.p[0]);
  const double length = std::hypot(chord.x, chord.y);
  if (!(length > 0)) return along;
  return parameterAtAlong(piece, piece.p[0], {chord.x / length, chord.y / length}, along * length);
}

Piece part(const Piece& piece, double from, double to) {
  PBBezierCurveData data = PBBezierCurveDataSubcurveWithRange(
      PBBezierCurveDataMake(piece.p[0], piece.p[1], piece.p[2], piece.p[3], false), {std::min(from, to), std::max(from, to)});
  if (from > to) data = PBBezierCurveDataReversed(data);
  return {{data.endPoint1, data.controlPoint1, data.controlPoint2, data.endPoint2}, piece.parameter(from),
          piece.parameter(to)};
}

class Search {
 public:
  Search(const PBBezierCurveData& a, const PBBezierCurveData& b, double tolerance,
         std::vector<PBOverlayMeeting>& meetings)
      : curveA_(a), curveB_(b), tolerance_(tolerance), meetings_(meetings) {}

  void run() {
    std::vector<std::pair<Piece, Piece>> pending;
    const Piece a = pieceOf(curveA_), b = pieceOf(curveB_);
    // Most pairs are told apart at once, edges that follow each other round a contour by the way they leave the
    // point they share.
    Frame frameA, frameB;
    if (apart(a, frameA, b, frameB)) return;
    // Curves whose chords lie nearly along each other may be one curve in two pieces: then that part is met whole.
    if (std::fabs(cross(frameA.direction, frameB.direction)) >= 0.1 || !runAlongEachOther(a, frameA, b, frameB, pending)) {
      pending.push_back({a, b});
    }
    while (!pending.empty() && budget_ > 0) {
      const auto [a, b] = pending.back();
      pending.pop_back();
      --budget_;
      visit(a, b, pending);
    }
    report(stretchesA_, curveA_, false);
    report(stretchesB_, curveB_, true);
  }

 private:
  // Pieces shorter than this need not be cut further: a chord this flat lies within a sixteenth of the tolerance.
  double flatness() const { return tolerance_ / 16; }
  // How near two pieces must come to run along each other.
  double reach() const { return tolerance_ / 2; }

  void visit(const Piece& a, const Piece& b, std::vector<std::pair<Piece, Piece>>& pending) {
    Frame frameA, frameB;
    if (apart(a, frameA, b, frameB)) return;
    if (const int way = alike(a, b, reach() / 2)) {
      const bool reversed = way < 0;
      stretchesA_.push_back({a.from, a.to, reversed ? b.to : b.from, reversed ? b.from : b.to});
      stretchesB_.push_back({b.from, b.to, reversed ? a.to : a.from, reversed ? a.from : a.to});
      return;
    }
    if (frameA.nearlyStraight() && frameB.nearlyStraight() &&
        std::fabs(cross(frameA.direction, frameB.direction)) < 0.1 && alongside(a, frameA, b)) {
      return;
    }
    const bool flatA = isFlat(frameA, flatness()), flatB = isFlat(frameB, flatness());
    if (flatA && flatB) {
      meetAsChords(a, b);
      return;
    }
    if (crossAtMostOnce(frameA, frameB)) {
      double s, t;
      if (solveCrossing(a, b, &s, &t)) {
        meetings_.push_back({a.at(s), a.parameter(s), b.parameter(t)});
        return;
      }
    }
    // The longer piece is cut, or both when both are far from flat.
    Piece aLeft, aRight, bLeft, bRight;
    const double lengthA = PBOverlayPolygonLength(PBBezierCurveDataMake(a.p[0], a.p[1], a.p[2], a.p[3], false));
    const double lengthB = PBOverlayPolygonLength(PBBezierCurveDataMake(b.p[0], b.p[1], b.p[2], b.p[3], false));
    const bool cutA = !flatA && (flatB || lengthA >= lengthB / 2);
    const bool cutB = !flatB && (flatA || lengthB >= lengthA / 2);
    if (cutA) halve(a, aLeft, aRight);
    if (cutB) halve(b, bLeft, bRight);
    if (cutA && cutB) {
      pending.push_back({aLeft, bLeft}), pending.push_back({aLeft, bRight});
      pending.push_back({aRight, bLeft}), pending.push_back({aRight, bRight});
    } else if (cutA) {
      pending.push_back({aLeft, b}), pending.push_back({aRight, b});
    } else {
      pending.push_back({a, bLeft}), pending.push_back({a, bRight});
    }
  }

  // Two nearly straight pieces side by side, told apart or taken as one over the stretch where both lie: both are
  // graphs over the first one's chord, so over the stretch their gap across it is the difference of the two cut to
  // the stretch, whose control points bound it; where the second's points stray along the chord from the first's
  // (the two are parametrised differently), its slope carries that into the gap. Where the gap keeps beyond a
  // quarter of the tolerance the pieces are apart; where it keeps within half of it, they run along each other.
  // False when neither can be told yet.
  bool alongside(const Piece& a, const Frame& frameA, const Piece& b) {
    const Point u = frameA.direction, n{-u.y, u.x}, origin = a.p[0];
    const bool reversed = PBDotMultiplyPoint(PBSubtractPoint(b.p[3], b.p[0]), u) < 0;
    const double bFrom = PBDotMultiplyPoint(PBSubtractPoint(b.p[reversed ? 3 : 0], origin), u), bTo = PBDotMultiplyPoint(PBSubtractPoint(b.p[reversed ? 0 : 3], origin), u);
    const double from = std::max(0.0, bFrom), to = std::min(frameA.length, bTo);
    if (!(to >= from)) return true;
    const Point bDirection = reversed ? Point{-u.x, -u.y} : u;
    if (to - from <= tolerance_) {
      // End to end, side by side over no more than the tolerance: they meet there, within the tolerance of one place,
      // or not at all (over so short a stretch the gap changes by a fraction of the tolerance).
      const double middle = 0.5 * (from + to);
      const double onA = parameterAtAlong(a, origin, u, middle);
      const double onB = parameterAtAlong(b, origin, bDirection, reversed ? -middle : middle);
      const Point pointA = a.at(onA);
      if (std::fabs(PBDotMultiplyPoint(PBSubtractPoint(b.at(onB), pointA), n)) <= tolerance_) {
        meetings_.push_back({pointA, a.parameter(onA), b.parameter(onB)});
      }
      return true;
    }
    const Piece onA = part(a, parameterAtAlong(a, origin, u, from), parameterAtAlong(a, origin, u, to));
    // Along b's own way, from and to are met in the opposite order when it runs backwards.
    const double bStart = parameterAtAlong(b, origin, bDirection, reversed ? -to : from);
    const double bEnd = parameterAtAlong(b, origin, bDirection, reversed ? -from : to);
    const Piece onB = reversed ? part(b, bEnd, bStart) : part(b, bStart, bEnd);
    double gapLow = INFINITY, gapHigh = -INFINITY, stray = 0, slope = 0;
    for (int i = 0; i < 4; ++i) {
      const Point d = PBSubtractPoint(onB.p[i], onA.p[i]);
      gapLow = std::min(gapLow, PBDotMultiplyPoint(d, n)), gapHigh = std::max(gapHigh, PBDotMultiplyPoint(d, n));
      stray = std::max(stray, std::fabs(PBDotMultiplyPoint(d, u)));
      if (i < 3) {
        const Point step = PBSubtractPoint(onB.p[i + 1], onB.p[i]);
        const double forward = PBDotMultiplyPoint(step, u);
        if (!(forward > 0)) return false;
        slope = std::max(slope, std::fabs(PBDotMultiplyPoint(step, n)) / forward);
      }
    }
    gapLow -= slope * stray, gapHigh += slope * stray;
    if (gapLow > tolerance_ / 4 || gapHigh < -tolerance_ / 4) return true;
    if (gapLow < -reach() || gapHigh > reach()) return false;
    stretchesA_.push_back({onA.from, onA.to, onB.from, onB.to});
    stretchesB_.push_back({std::min(onB.from, onB.to), std::max(onB.from, onB.to), onB.from < onB.to ? onA.from : onA.to,
                           onB.from < onB.to ? onA.to : onA.from});
    return true;
  }

  // Whether the pieces meet nowhere, or only at an end they share; where two cuts happen to meet there and not ends
  // of the curves themselves, that is a crossing (or a touch) like any other. The pieces' frames are measured on the
  // way, unless the way the pieces leave an end they share tells them apart first (frames could not: they touch).
  bool apart(const Piece& a, Frame& frameA, const Piece& b, Frame& frameB) {
    SharedEnd end;
    if (sharesAnEnd(a, b, &end)) {
      if (meetOnlyAt(end.point, a, b)) {
        const bool edgeEnds = (end.alongA == 0 || end.alongA == 1) && (end.alongB == 0 || end.alongB == 1);
        if (!edgeEnds) meetings_.push_back({end.point, end.alongA, end.alongB});
        return true;
      }
      frameA = frameOf(a), frameB = frameOf(b);
      return false;
    }
    frameA = frameOf(a), frameB = frameOf(b);
    return beyond(frameA, b, tolerance_) || beyond(frameB, a, tolerance_);
  }

  // Two pieces as flat as their chords: where the chords come within reach of each other, and where they cross.
  void meetAsChords(const Piece& a, const Piece& b) {
    const Point p0 = a.p[0], p1 = a.p[3], q0 = b.p[0], q1 = b.p[3];
    // A piece's speed varies along it: a fraction of its chord is taken to its parameter by where it projects, not
    // in proportion, which could put the place many tolerances along.
    auto onA = [&](double along) { return a.parameter(parameterAtChord(a, along)); };
    auto onB = [&](double along) { return b.parameter(parameterAtChord(b, along)); };
    double from, to;
    if (partWithin(p0, p1, q0, q1, reach(), &from, &to)) {
      stretchesA_.push_back({onA(from), onA(to), onB(footAlong(q0, q1, between(p0, p1, from))),
                             onB(footAlong(q0, q1, between(p0, p1, to)))});
    }
    if (partWithin(q0, q1, p0, p1, reach(), &from, &to)) {
      stretchesB_.push_back({onB(from), onB(to), onA(footAlong(p0, p1, between(q0, q1, from))),
                             onA(footAlong(p0, p1, between(q0, q1, to)))});
    }
    Point crossing;
    double alongA, alongB;
    if (PBOverlayLinesCross(p0, p1, q0, q1, &crossing, &alongA, &alongB)) {
      meetings_.push_back({crossing, onA(alongA), onB(alongB)});
    }
  }

  // The two curves' stretch along each other, when one runs within the tolerance of the other all along a part of
  // it (the same curve in other pieces, an edge and a piece of it, a copy moved by a hair): that part is met as a
  // whole, and only the rest is searched.
  bool runAlongEachOther(const Piece& wholeA, const Frame& frameA, const Piece& wholeB, const Frame& frameB,
                         std::vector<std::pair<Piece, Piece>>& pending) {
    // Ends of either within the tolerance of the other, as (parameter on A, parameter on B); an end outside the
    // other's hull, as most are, is passed over without measuring.
    auto within = [this](const Piece& piece, const Frame& frame, Point point, double* along) {
      const Point offset = PBSubtractPoint(point, frame.origin);
      const double across = cross(frame.direction, offset), ahead = PBDotMultiplyPoint(frame.direction, offset);
      if (across < frame.acrossLow - tolerance_ || across > frame.acrossHigh + tolerance_ ||
          ahead < frame.alongLow - tolerance_ || ahead > frame.alongHigh + tolerance_) {
        return false;
      }
      return nearestOn(piece, point, along) <= tolerance_;
    };
    // Two ends at least must lie on the other: the search stops as soon as too few are left to make two.
    std::vector<std::pair<double, double>> bounds;
    double along;
    for (int end = 0; end < 4 && bounds.size() + 4 - end >= 2; ++end) {
      if (end < 2 && within(wholeB, frameB, wholeA.p[3 * end], &along)) bounds.push_back({end, along});
      if (end >= 2 && within(wholeA, frameA, wholeB.p[3 * (end - 2)], &along)) bounds.push_back({along, end - 2});
    }
    if (bounds.size() < 2) return false;
    const auto [low, high] = std::minmax_element(bounds.begin(), bounds.end());
    const auto [sLow, tLow] = *low;
    const auto [sHigh, tHigh] = *high;
    if (PBDistanceBetweenPoints(PBOverlayPointAt(curveA_, sLow), PBOverlayPointAt(curveA_, sHigh)) <= tolerance_) return false;
    const Piece onA = pieceOf(curveA_, sLow, sHigh);
    Piece onB = pieceOf(curveB_, std::min(tLow, tHigh), std::max(tLow, tHigh));
    if (tLow > tHigh) {
      std::swap(onB.p[0], onB.p[3]), std::swap(onB.p[1], onB.p[2]);
      std::swap(onB.from, onB.to);
    }
    if (alike(onA, onB, tolerance_) != 1) return false;
    stretchesA_.push_back({sLow, sHigh, tLow, tHigh});
    stretchesB_.push_back({std::min(tLow, tHigh), std::max(tLow, tHigh), tLow < tHigh ? sLow : sHigh,
                           tLow < tHigh ? sHigh : sLow});
    // The rest of each against the other.
    const double tMin = std::min(tLow, tHigh), tMax = std::max(tLow, tHigh);
    if (sLow > 0) pending.push_back({pieceOf(curveA_, 0, sLow), wholeB});
    if (sHigh < 1) pending.push_back({pieceOf(curveA_, sHigh, 1), wholeB});
    if (tMin > 0) pending.push_back({pieceOf(curveA_, sLow, sHigh), pieceOf(curveB_, 0, tMin)});
    if (tMax < 1) pending.push_back({pieceOf(curveA_, sLow, sHigh), pieceOf(curveB_, tMax, 1)});
    return true;
  }

  // Stretches joined where they touch, and their ends reported: one place for a stretch within the tolerance of
  // itself (a crossing at an open angle), else both ends.
  void report(std::vector<Stretch>& stretches, const PBBezierCurveData& own, bool swapped) {
    std::sort(stretches.begin(), stretches.end(), [](const Stretch& x, const Stretch& y) { return x.from < y.from; });
    auto emit = [&](Point point, double mine, double theirs) {
      meetings_.push_back(swapped ? PBOverlayMeeting{point, theirs, mine} : PBOverlayMeeting{point, mine, theirs});
    };
    for (std::size_t i = 0; i < stretches.size();) {
      Stretch joined = stretches[i];
      Point end = PBOverlayPointAt(own, joined.to);
      for (++i; i < stretches.size(); ++i) {
        const Stretch& next = stretches[i];
        if (next.from > joined.to && PBDistanceBetweenPoints(PBOverlayPointAt(own, next.from), end) > tolerance_) break;
        if (next.to > joined.to) {
          joined.to = next.to, joined.otherTo = next.otherTo;
          end = PBOverlayPointAt(own, joined.to);
        }
      }
      const Point start = PBOverlayPointAt(own, joined.from);
      if (PBDistanceBetweenPoints(start, end) <= tolerance_) {
        const double middle = 0.5 * (joined.from + joined.to);
        emit(PBOverlayPointAt(own, middle), middle, 0.5 * (joined.otherFrom + joined.otherTo));
      } else {
        emit(start, joined.from, joined.otherFrom);
        emit(end, joined.to, joined.otherTo);
      }
    }
  }

  const PBBezierCurveData& curveA_;
  const PBBezierCurveData& curveB_;
  double tolerance_;
  std::vector<PBOverlayMeeting>& meetings_;
  std::vector<Stretch> stretchesA_, stretchesB_;
  // Pairs of pieces visited at most: curves that stay within a hair of each other without lying alike would
  // otherwise be cut down to the tolerance all along.
  int budget_ = 1 << 16;
};

}  // namespace

void PBOverlayMeetings(const PBBezierCurveData& a, const PBBezierCurveData& b, double tolerance,
                       std::vector<PBOverlayMeeting>& meetings) {
  Search(a, b, tolerance, meetings).run();
}

bool PBOverlayTurningPoint(const PBBezierCurveData& curve, double* parameter) {
  if (curve.isStraightLine) return false;
  const Piece piece = pieceOf(curve);
  // Only a curve that turns through about half a turn can loop or come back along itself: one whose control points
  // all step forward along its chord (within some 80°) turns less.
  const Point chord = PBSubtractPoint(piece.p[3], piece.p[0]);
  bool forward = true;
  for (int i = 0; i < 3 && forward; ++i) {
    const Point step = PBSubtractPoint(piece.p[i + 1], piece.p[i]);
    forward = PBDotMultiplyPoint(step, chord) > 0.17 * std::sqrt(PBDotMultiplyPoint(step, step) * PBDotMultiplyPoint(chord, chord));
  }
  if (forward) return false;
  double low = INFINITY, high = -INFINITY;
  for (int i = 0; i < 3; ++i) {
    const Point step = PBSubtractPoint(piece.p[i + 1], piece.p[i]);
    if (step.x == 0 && step.y == 0) continue;
    const double angle = std::atan2(cross(chord, step), PBDotMultiplyPoint(chord, step));
    low = std::min(low, angle), high = std::max(high, angle);
  }
  if (high - low < 0.9 * std::numbers::pi) return false;
  // The speed squared is a quartic: sampled, then narrowed about the slowest sample by Newton's method on its
  // derivative, B′·B″, a cubic.
  auto speed = [&piece](double t) {
    const Point d = piece.derivative(t);
    return PBDotMultiplyPoint(d, d);
  };
  constexpr int kSamples = 16;
  int slowest = 0;
  for (int i = 1; i <= kSamples; ++i) {
    if (speed(double(i) / kSamples) < speed(double(slowest) / kSamples)) slowest = i;
  }
  const double from = std::max(0, slowest - 1) / double(kSamples), to = std::min(kSamples, slowest + 1) / double(kSamples);
  const Point* p = piece.p;
  // B″(t) = a + b t, B‴ = b.
  const Point a{6 * (p[0].x - 2 * p[1].x + p[2].x), 6 * (p[0].y - 2 * p[1].y + p[2].y)};
  const Point b{6 * (-p[0].x + 3 * p[1].x - 3 * p[2].x + p[3].x), 6 * (-p[0].y + 3 * p[1].y - 3 * p[2].y + p[3].y)};
  double t = double(slowest) / kSamples;
  for (int step = 0; step < 8; ++step) {
    const Point first = piece.derivative(t), second{a.x + b.x * t, a.y + b.y * t};
    const double slope = PBDotMultiplyPoint(second, second) + PBDotMultiplyPoint(first, b);
    if (!(slope > 0)) break;
    t = std::clamp(t - PBDotMultiplyPoint(first, second) / slope, from, to);
  }
  *parameter = t;
  return t > 0 && t < 1;
}
