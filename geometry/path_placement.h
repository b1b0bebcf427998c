#pragma once

// Placing objects or chain links along a path through a delegate. Positions run
// p = 0, I, 2I, … while p does not pass the path's length. Returned objects are kept
// as std::any (empty = nil); a platform::BezierPath inside one counts as a path.
// Intervals and link lengths that are not positive (or NaN), paths of fewer than 2
// elements, and runs of more than kMaximumPlacements positions or links give nullopt.

#include <any>
#include <optional>
#include <vector>

#include "platform/graphics/bezier_path.h"

inline constexpr long kMaximumPlacements = 1'000'000;

class PathPlacementDelegate {
 public:
  virtual ~PathPlacementDelegate() = default;
  // An object to collect at that point, or an empty std::any. Both default to nothing.
  virtual std::any placeObjectAtPoint(platform::Point /*point*/, const platform::BezierPath& /*path*/,
                                      float /*position*/, float /*slope*/, void* /*userInfo*/) {
    return {};
  }
  virtual std::any placeLinkFromPoint(platform::Point /*from*/, platform::Point /*to*/,
                                      const platform::BezierPath& /*path*/, int /*linkNumber*/, void* /*userInfo*/) {
    return {};
  }
};

std::optional<std::vector<std::any>> placeObjectsOnPathAtInterval(const platform::BezierPath& path, float interval,
                                                                  PathPlacementDelegate* delegate, void* userInfo);
// The returned paths joined in order; nullopt also when the delegate returned nothing.
std::optional<platform::BezierPath> bezierPathWithObjectsOnPathAtInterval(const platform::BezierPath& path,
                                                                          float interval,
                                                                          PathPlacementDelegate* delegate,
                                                                          void* userInfo);
// Copies of `shape` turned by the slope about the centre of their bounds and centred on
// each position's point; a null shape contributes nothing.
std::optional<platform::BezierPath> bezierPathWithPath(const platform::BezierPath& path,
                                                       const platform::BezierPath* shape, float interval);
// Links of alternating length, each exactly that long, starting at the first point and
// aimed at the path point one link length further along; they stop before the arc
// position would pass the path's length.
std::optional<std::vector<std::any>> placeLinksOnPathWithEvenLinkLength(const platform::BezierPath& path,
                                                                        float evenLength, float oddLength,
                                                                        PathPlacementDelegate* delegate,
                                                                        void* userInfo);
std::optional<std::vector<std::any>> placeLinksOnPathWithLinkLength(const platform::BezierPath& path,
                                                                    float linkLength,
                                                                    PathPlacementDelegate* delegate, void* userInfo);
