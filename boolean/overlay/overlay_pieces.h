#pragma once

// Pieces of two curves as the search for where they meet cuts them (in the overlay's working frame), and the
// questions it asks of them: how far apart their hulls lie, how they turn, where they cross, how near they run.

#include <cmath>
#include <numbers>

#include "boolean/bezier_curve_data.h"
#include "boolean/vector_functions.h"
#include "platform/core/geometry.h"

// A piece of one of the curves, with the parameters it spans there.
struct PBOverlayPiece {
  platform::Point p[4];
  double from, to;

  platform::Point at(double t) const {
    auto between = [t](platform::Point a, platform::Point b) {
      return platform::Point{a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)};
    };
    const platform::Point q0 = between(p[0], p[1]), q1 = between(p[1], p[2]), q2 = between(p[2], p[3]);
    return between(between(q0, q1), between(q1, q2));
  }
  platform::Point derivative(double t) const {
    const double u = 1 - t;
    const platform::Point d0 = PBSubtractPoint(p[1], p[0]), d1 = PBSubtractPoint(p[2], p[1]),
                          d2 = PBSubtractPoint(p[3], p[2]);
    return {3 * (u * u * d0.x + 2 * u * t * d1.x + t * t * d2.x), 3 * (u * u * d0.y + 2 * u * t * d1.y + t * t * d2.y)};
  }
  double parameter(double local) const { return from + local * (to - from); }
};

// The part of the curve between two of its parameters, as a piece.
PBOverlayPiece PBOverlayPieceOf(const PBBezierCurveData& curve, double from = 0, double to = 1);

// The piece cut in two at its middle parameter.
void PBOverlayHalve(const PBOverlayPiece& piece, PBOverlayPiece& left, PBOverlayPiece& right);

// The piece's chord, how far its control points reach across it and along it, and the slopes against it of the
// steps between control points (the tangent's directions lie among theirs).
struct PBOverlayFrame {
  platform::Point origin, direction{1, 0};  // a unit vector
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

PBOverlayFrame PBOverlayFrameOf(const PBOverlayPiece& piece);

// Whether the other piece lies further than `margin` from the one framed, across its chord or beyond its ends: a
// piece lies within the hull of its control points.
bool PBOverlayBeyond(const PBOverlayFrame& frame, const PBOverlayPiece& other, double margin);

// Flat: the control points stray from the chord by no more than `flatness`, and not beyond its ends, so that the
// chord stands for the piece.
bool PBOverlayIsFlat(const PBOverlayFrame& frame, double flatness);

// Whether the tangents of the two pieces, taken as lines, keep to directions apart: then they cross at most once.
bool PBOverlayCrossAtMostOnce(const PBOverlayFrame& frameA, const PBOverlayFrame& frameB);

// Newton's method on A(s) = B(t) from where the chords cross (or their middles); the local parameters when it
// settles within both pieces.
bool PBOverlaySolveCrossing(const PBOverlayPiece& a, const PBOverlayPiece& b, double* s, double* t);

// The part of segment p0 p1 (as fractions along it) within `reach` of segment q0 q1; false when none is. The
// points within reach of a segment make a convex shape (a rectangle with round ends), so the part is one interval:
// the union of those in the rectangle and in the two discs.
bool PBOverlayPartWithin(platform::Point p0, platform::Point p1, platform::Point q0, platform::Point q1, double reach,
                         double* from, double* to);

// The fraction along segment q0 q1 of the point nearest `point`.
double PBOverlayFootAlong(platform::Point q0, platform::Point q1, platform::Point point);

// Whether two pieces that share an end meet only there: the sectors from it that hold each piece do not overlap.
bool PBOverlayMeetOnlyAt(platform::Point end, const PBOverlayPiece& a, const PBOverlayPiece& b);

// An end the two pieces share exactly, with where it lies on each.
struct PBOverlaySharedEnd {
  platform::Point point;
  double alongA, alongB;
};

bool PBOverlaySharesAnEnd(const PBOverlayPiece& a, const PBOverlayPiece& b, PBOverlaySharedEnd* end);

// Whether two pieces have control points pairwise within `reach` of each other, so that they lie within it of each
// other everywhere: 1 when they run the same way, -1 when opposite ways, 0 when they are not alike.
int PBOverlayAlike(const PBOverlayPiece& a, const PBOverlayPiece& b, double reach);

// The parameter where a piece that is a graph over the direction reaches `x` along it (measured from `origin`).
double PBOverlayParameterAtAlong(const PBOverlayPiece& piece, platform::Point origin, platform::Point direction,
                                 double x);

// The distance from the point to the piece and where on it that is, by Newton's method on the foot of the
// perpendicular from where the point falls along the chord. It may settle on a point that is not the nearest of
// all: enough where a miss only leaves a shortcut untaken.
double PBOverlayNearestOn(const PBOverlayPiece& piece, platform::Point point, double* parameter);

// The local parameter where a flat piece projects onto the given fraction of its chord.
double PBOverlayParameterAtChord(const PBOverlayPiece& piece, double along);

PBOverlayPiece PBOverlayPart(const PBOverlayPiece& piece, double from, double to);
