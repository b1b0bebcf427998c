#include "platform/graphics/stroke_joins.h"

#include <cmath>

#include "platform/graphics/stroke_arcs.h"
#include "platform/graphics/stroke_vector_math.h"

namespace platform::stroke {

namespace {

// With θ the angle between the segments and φ = π − θ the turn, 1/sin(θ/2) ≤ limit
// is 1 ≤ limit²·cos²(φ/2) = limit²·(1 + cos φ)/2; no square root or division needed,
// and a full U-turn (cos φ = −1) never passes.
bool miterWithinLimit(double cosTurn, double miterLimit) {
  return miterLimit * miterLimit * (1 + cosTurn) / 2 >= 1;
}

}  // namespace

void appendJoin(BezierPath& out, Point vertex, Point directionIn, Point directionOut, LineJoin join, double miterLimit,
                double halfWidth) {
  const double sinTurn = cross(directionIn, directionOut);
  const double cosTurn = dot(directionIn, directionOut);
  if (sinTurn == 0 && cosTurn > 0) return;
  // The outer side is right of travel on a left (counter-clockwise) turn; a
  // U-turn counts as a left turn, either side being as good.
  const bool leftTurn = sinTurn >= 0;
  const double side = leftTurn ? -1 : 1;
  const Point outerIn = times(leftNormal(directionIn), side);
  const Point outerOut = times(leftNormal(directionOut), side);
  // Counter-clockwise about the vertex the outer offsets come in travel order on a
  // left turn and in reverse on a right turn.
  const Point first = leftTurn ? outerIn : outerOut;
  const Point second = leftTurn ? outerOut : outerIn;

  out.moveTo(vertex);
  out.lineTo(plus(vertex, times(first, halfWidth)));
  if (join == LineJoin::Round) {
    const double sweep = std::atan2(std::abs(sinTurn), cosTurn);
    appendArc(out, vertex, halfWidth, std::atan2(first.y, first.x), sweep);
  } else {
    if (join == LineJoin::Miter && miterWithinLimit(cosTurn, miterLimit)) {
      // Along the outer bisector to where both offset edges meet: |first + second|
      // is 2cos(φ/2) and the tip lies halfWidth/cos(φ/2) out.
      const Point tip = times(plus(first, second), halfWidth / (1 + cosTurn));
      out.lineTo(plus(vertex, tip));
    }
    out.lineTo(plus(vertex, times(second, halfWidth)));
  }
  out.closePath();
}

}  // namespace platform::stroke
