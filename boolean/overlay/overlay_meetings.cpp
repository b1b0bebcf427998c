#include "boolean/overlay/overlay_meetings.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "boolean/overlay/overlay_geometry.h"
#include "boolean/overlay/overlay_pieces.h"
#include "boolean/vector_functions.h"

using platform::Point;

namespace {

double cross(Point a, Point b) { return a.x * b.y - a.y * b.x; }
Point between(Point a, Point b, double t) { return {a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)}; }

// A stretch of one curve within reach of the other, with where its ends lie on the other.
struct Stretch {
  double from, to;
  double otherFrom, otherTo;
};

class Search {
 public:
  Search(const PBBezierCurveData& a, const PBBezierCurveData& b, double tolerance,
         std::vector<PBOverlayMeeting>& meetings)
      : curveA_(a), curveB_(b), tolerance_(tolerance), meetings_(meetings) {}

  void run() {
    std::vector<std::pair<PBOverlayPiece, PBOverlayPiece>> pending;
    const PBOverlayPiece a = PBOverlayPieceOf(curveA_), b = PBOverlayPieceOf(curveB_);
    if (meetOnlyNearAnEnd(a, b)) return;
    // Most pairs are told apart at once, edges that follow each other round a contour by the way they leave the
    // point they share.
    PBOverlayFrame frameA, frameB;
    if (apart(a, frameA, b, frameB)) return;
    // Curves whose chords lie nearly along each other may be one curve in two pieces: then that part is met whole.
    if (std::fabs(cross(frameA.direction, frameB.direction)) >= 0.1 ||
        !runAlongEachOther(a, frameA, b, frameB, pending)) {
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

  void visit(const PBOverlayPiece& a, const PBOverlayPiece& b,
             std::vector<std::pair<PBOverlayPiece, PBOverlayPiece>>& pending) {
    PBOverlayFrame frameA, frameB;
    if (apart(a, frameA, b, frameB)) return;
    if (const int way = PBOverlayAlike(a, b, reach() / 2)) {
      const bool reversed = way < 0;
      stretchesA_.push_back({a.from, a.to, reversed ? b.to : b.from, reversed ? b.from : b.to});
      stretchesB_.push_back({b.from, b.to, reversed ? a.to : a.from, reversed ? a.from : a.to});
      return;
    }
    if (frameA.nearlyStraight() && frameB.nearlyStraight() &&
        std::fabs(cross(frameA.direction, frameB.direction)) < 0.1 && alongside(a, frameA, b)) {
      return;
    }
    const bool flatA = PBOverlayIsFlat(frameA, flatness()), flatB = PBOverlayIsFlat(frameB, flatness());
    if (flatA && flatB) {
      meetAsChords(a, b);
      return;
    }
    if (PBOverlayCrossAtMostOnce(frameA, frameB)) {
      double s, t;
      if (PBOverlaySolveCrossing(a, b, &s, &t)) {
        meetings_.push_back({a.at(s), a.parameter(s), b.parameter(t)});
        return;
      }
    }
    // The longer piece is cut, or both when both are far from flat.
    PBOverlayPiece aLeft, aRight, bLeft, bRight;
    const double lengthA = PBOverlayPolygonLength(PBBezierCurveDataMake(a.p[0], a.p[1], a.p[2], a.p[3], false));
    const double lengthB = PBOverlayPolygonLength(PBBezierCurveDataMake(b.p[0], b.p[1], b.p[2], b.p[3], false));
    const bool cutA = !flatA && (flatB || lengthA >= lengthB / 2);
    const bool cutB = !flatB && (flatA || lengthB >= lengthA / 2);
    if (cutA) PBOverlayHalve(a, aLeft, aRight);
    if (cutB) PBOverlayHalve(b, bLeft, bRight);
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
  bool alongside(const PBOverlayPiece& a, const PBOverlayFrame& frameA, const PBOverlayPiece& b) {
    const Point u = frameA.direction, n{-u.y, u.x}, origin = a.p[0];
    const bool reversed = PBDotMultiplyPoint(PBSubtractPoint(b.p[3], b.p[0]), u) < 0;
    const double bFrom = PBDotMultiplyPoint(PBSubtractPoint(b.p[reversed ? 3 : 0], origin), u),
                 bTo = PBDotMultiplyPoint(PBSubtractPoint(b.p[reversed ? 0 : 3], origin), u);
    const double from = std::max(0.0, bFrom), to = std::min(frameA.length, bTo);
    if (!(to >= from)) return true;
    const Point bDirection = reversed ? Point{-u.x, -u.y} : u;
    if (to - from <= tolerance_) {
      // End to end, side by side over no more than the tolerance: they meet there, within the tolerance of one place,
      // or not at all (over so short a stretch the gap changes by a fraction of the tolerance).
      const double middle = 0.5 * (from + to);
      const double onA = PBOverlayParameterAtAlong(a, origin, u, middle);
      const double onB = PBOverlayParameterAtAlong(b, origin, bDirection, reversed ? -middle : middle);
      const Point pointA = a.at(onA);
      if (std::fabs(PBDotMultiplyPoint(PBSubtractPoint(b.at(onB), pointA), n)) <= tolerance_) {
        meetings_.push_back({pointA, a.parameter(onA), b.parameter(onB)});
      }
      return true;
    }
    const PBOverlayPiece onA =
        PBOverlayPart(a, PBOverlayParameterAtAlong(a, origin, u, from), PBOverlayParameterAtAlong(a, origin, u, to));
    // Along b's own way, from and to are met in the opposite order when it runs backwards.
    const double bStart = PBOverlayParameterAtAlong(b, origin, bDirection, reversed ? -to : from);
    const double bEnd = PBOverlayParameterAtAlong(b, origin, bDirection, reversed ? -from : to);
    const PBOverlayPiece onB = reversed ? PBOverlayPart(b, bEnd, bStart) : PBOverlayPart(b, bStart, bEnd);
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
    stretchesB_.push_back({std::min(onB.from, onB.to), std::max(onB.from, onB.to),
                           onB.from < onB.to ? onA.from : onA.to, onB.from < onB.to ? onA.to : onA.from});
    return true;
  }

  // Whether the boxes of the two pieces' control points, each grown by the tolerance, overlap only within the
  // tolerance of an end they share (as where a line runs into a corner's arc): then that end, a vertex already, is
  // all they share.
  bool meetOnlyNearAnEnd(const PBOverlayPiece& a, const PBOverlayPiece& b) const {
    PBOverlaySharedEnd end;
    if (!PBOverlaySharesAnEnd(a, b, &end)) return false;
    double low[2] = {-INFINITY, -INFINITY}, high[2] = {INFINITY, INFINITY};
    for (const PBOverlayPiece* piece : {&a, &b}) {
      const platform::Point* p = piece->p;
      low[0] = std::max(low[0], std::min({p[0].x, p[1].x, p[2].x, p[3].x}) - tolerance_);
      low[1] = std::max(low[1], std::min({p[0].y, p[1].y, p[2].y, p[3].y}) - tolerance_);
      high[0] = std::min(high[0], std::max({p[0].x, p[1].x, p[2].x, p[3].x}) + tolerance_);
      high[1] = std::min(high[1], std::max({p[0].y, p[1].y, p[2].y, p[3].y}) + tolerance_);
    }
    return high[0] - low[0] <= 2 * tolerance_ && high[1] - low[1] <= 2 * tolerance_;
  }

  // Whether the pieces meet nowhere, or only at an end they share; where two cuts happen to meet there and not ends
  // of the curves themselves, that is a crossing (or a touch) like any other. The pieces' frames are measured on the
  // way, unless the way the pieces leave an end they share tells them apart first (frames could not: they touch).
  bool apart(const PBOverlayPiece& a, PBOverlayFrame& frameA, const PBOverlayPiece& b, PBOverlayFrame& frameB) {
    PBOverlaySharedEnd end;
    if (PBOverlaySharesAnEnd(a, b, &end)) {
      if (PBOverlayMeetOnlyAt(end.point, a, b)) {
        const bool edgeEnds = (end.alongA == 0 || end.alongA == 1) && (end.alongB == 0 || end.alongB == 1);
        if (!edgeEnds) meetings_.push_back({end.point, end.alongA, end.alongB});
        return true;
      }
      frameA = PBOverlayFrameOf(a), frameB = PBOverlayFrameOf(b);
      return false;
    }
    frameA = PBOverlayFrameOf(a), frameB = PBOverlayFrameOf(b);
    return PBOverlayBeyond(frameA, b, tolerance_) || PBOverlayBeyond(frameB, a, tolerance_);
  }

  // Two pieces as flat as their chords: where the chords come within reach of each other, and where they cross.
  void meetAsChords(const PBOverlayPiece& a, const PBOverlayPiece& b) {
    const Point p0 = a.p[0], p1 = a.p[3], q0 = b.p[0], q1 = b.p[3];
    // A piece's speed varies along it: a fraction of its chord is taken to its parameter by where it projects, not
    // in proportion, which could put the place many tolerances along.
    auto onA = [&](double along) { return a.parameter(PBOverlayParameterAtChord(a, along)); };
    auto onB = [&](double along) { return b.parameter(PBOverlayParameterAtChord(b, along)); };
    double from, to;
    if (PBOverlayPartWithin(p0, p1, q0, q1, reach(), &from, &to)) {
      stretchesA_.push_back({onA(from), onA(to), onB(PBOverlayFootAlong(q0, q1, between(p0, p1, from))),
                             onB(PBOverlayFootAlong(q0, q1, between(p0, p1, to)))});
    }
    if (PBOverlayPartWithin(q0, q1, p0, p1, reach(), &from, &to)) {
      stretchesB_.push_back({onB(from), onB(to), onA(PBOverlayFootAlong(p0, p1, between(q0, q1, from))),
                             onA(PBOverlayFootAlong(p0, p1, between(q0, q1, to)))});
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
  bool runAlongEachOther(const PBOverlayPiece& wholeA, const PBOverlayFrame& frameA, const PBOverlayPiece& wholeB,
                         const PBOverlayFrame& frameB,
                         std::vector<std::pair<PBOverlayPiece, PBOverlayPiece>>& pending) {
    // Ends of either within the tolerance of the other, as (parameter on A, parameter on B); an end outside the
    // other's hull, as most are, is passed over without measuring.
    auto within = [this](const PBOverlayPiece& piece, const PBOverlayFrame& frame, Point point, double* along) {
      const Point offset = PBSubtractPoint(point, frame.origin);
      const double across = cross(frame.direction, offset), ahead = PBDotMultiplyPoint(frame.direction, offset);
      if (across < frame.acrossLow - tolerance_ || across > frame.acrossHigh + tolerance_ ||
          ahead < frame.alongLow - tolerance_ || ahead > frame.alongHigh + tolerance_) {
        return false;
      }
      return PBOverlayNearestOn(piece, point, along) <= tolerance_;
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
    if (PBDistanceBetweenPoints(PBOverlayPointAt(curveA_, sLow), PBOverlayPointAt(curveA_, sHigh)) <= tolerance_)
      return false;
    const PBOverlayPiece onA = PBOverlayPieceOf(curveA_, sLow, sHigh);
    PBOverlayPiece onB = PBOverlayPieceOf(curveB_, std::min(tLow, tHigh), std::max(tLow, tHigh));
    if (tLow > tHigh) {
      std::swap(onB.p[0], onB.p[3]), std::swap(onB.p[1], onB.p[2]);
      std::swap(onB.from, onB.to);
    }
    if (PBOverlayAlike(onA, onB, tolerance_) != 1) return false;
    stretchesA_.push_back({sLow, sHigh, tLow, tHigh});
    stretchesB_.push_back(
        {std::min(tLow, tHigh), std::max(tLow, tHigh), tLow < tHigh ? sLow : sHigh, tLow < tHigh ? sHigh : sLow});
    // The rest of each against the other.
    const double tMin = std::min(tLow, tHigh), tMax = std::max(tLow, tHigh);
    if (sLow > 0) pending.push_back({PBOverlayPieceOf(curveA_, 0, sLow), wholeB});
    if (sHigh < 1) pending.push_back({PBOverlayPieceOf(curveA_, sHigh, 1), wholeB});
    if (tMin > 0) pending.push_back({PBOverlayPieceOf(curveA_, sLow, sHigh), PBOverlayPieceOf(curveB_, 0, tMin)});
    if (tMax < 1) pending.push_back({PBOverlayPieceOf(curveA_, sLow, sHigh), PBOverlayPieceOf(curveB_, tMax, 1)});
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
  const PBOverlayPiece piece = PBOverlayPieceOf(curve);
  // Only a curve that turns through about half a turn can loop or come back along itself: one whose control points
  // all step forward along its chord (within some 80°) turns less.
  const Point chord = PBSubtractPoint(piece.p[3], piece.p[0]);
  bool forward = true;
  for (int i = 0; i < 3 && forward; ++i) {
    const Point step = PBSubtractPoint(piece.p[i + 1], piece.p[i]);
    forward = PBDotMultiplyPoint(step, chord) >
              0.17 * std::sqrt(PBDotMultiplyPoint(step, step) * PBDotMultiplyPoint(chord, chord));
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
  const double from = std::max(0, slowest - 1) / double(kSamples),
               to = std::min(kSamples, slowest + 1) / double(kSamples);
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
