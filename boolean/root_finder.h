#pragma once

// Roots of a polynomial in Bezier form: the control polygon's x values are
// parameters, its y values the polynomial's control values. The search splits
// the polygon until each piece has one sign change and is flat (or deep enough),
// and reports each root through the callback. Degree at most 5; no allocation.

#include <functional>

#include "platform/core/geometry.h"

constexpr int PBRootMaximumDegree = 5;
constexpr int PBRootMaximumDepth = 64;

using PBRootBlock = std::function<void(double root)>;
// A piece of the polygon left unsplit: the full search's roots there lie between `minimum` and `maximum` (up to
// rounding); `holdsOneRoot` when it has one sign change (and so exactly one root), else it may hold none.
using PBRootSpanBlock = std::function<void(double minimum, double maximum, bool holdsOneRoot)>;
// Whether the roots between `minimum` and `maximum` are of no interest, so the search can leave that piece.
using PBRootPruneBlock = std::function<bool(double minimum, double maximum)>;

// `points` holds degree + 1 points; a degree outside 1..5 reports nothing.
void PBRootsOfControlPolygon(const platform::Point* points, int degree, const PBRootBlock& block);
void PBRootSearch(const platform::Point* points, int degree, int depth, const PBRootBlock& block);
// The same search stopped at `stopDepth`: roots it settles before then go to `rootBlock` exactly as the full search
// reports them, the pieces still open go to `spanBlock`, and pieces `pruneBlock` rejects are not searched.
void PBRootSpansOfControlPolygon(const platform::Point* points, int degree, int stopDepth,
                                 const PBRootBlock& rootBlock, const PBRootSpanBlock& spanBlock,
                                 const PBRootPruneBlock& pruneBlock);
int PBRootCrossingCount(const platform::Point* points, int degree);
// Whether the polygon is flat enough; when it is, `intercept` is where its chord meets y = 0.
bool PBRootFlatIntercept(const platform::Point* points, int degree, platform::Point* intercept);
// Zero counts as positive.
int PBRootSign(double value);
