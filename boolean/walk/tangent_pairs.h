#pragma once

// Comparing the directions of two outlines where they meet. A tangent pair is two
// vectors of one outline at the meeting place: index 0 on the curve arriving
// there, pointing back along it, and index 1 on the curve leaving, pointing on.

#include "platform/core/geometry.h"

struct PBTangentPair {
  platform::Point arriving;
  platform::Point leaving;
};

// Whether a unit tangent of pair A equals one of pair B within 1e-12 (zero vectors stay zero).
bool PBTangentPairsCoincide(const PBTangentPair& pairA, const PBTangentPair& pairB);
// Whether B's two directions separate A's two: exactly one of B's lies on each side of A's.
bool PBTangentPairsInterleave(const PBTangentPair& pairA, const PBTangentPair& pairB);
