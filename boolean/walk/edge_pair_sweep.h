#pragma once

// Finding the pairs of edges whose bounding rectangles overlap (within the
// engine's 1e-6), which are the only pairs the curve intersection can answer
// for. With the sweep on, edges are sorted by their left side and pruned; the
// pairs are then handed out in the order of the all-pairs double loop, so an
// operation gives the same result either way.

#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

class PBBezierCurve;

using PBEdgePairBlock = std::function<void(PBBezierCurve* edge1, PBBezierCurve* edge2)>;

void PBForEachEdgePairThatMayMeet(const std::vector<std::shared_ptr<PBBezierCurve>>& edges1,
                                  const std::vector<std::shared_ptr<PBBezierCurve>>& edges2, bool useSweep,
                                  const PBEdgePairBlock& block);
