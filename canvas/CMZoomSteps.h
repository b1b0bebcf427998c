#pragma once

// The canvas's eleven zoom steps, in percent (index 4 is 100 %). A zoom is found
// in the table only by exact equality of zoom·100 with an entry, computed in
// single precision as the zoom itself is kept.

#include <array>
#include <optional>

#include "document/CMPageLength.h"
#include "document/CMUsableZoom.h"
#include "platform/core/geometry.h"

inline constexpr std::array<float, 11> kCMZoomSteps = {12.5f, 25, 50, 75, 100, 200, 300, 400, 600, 800, 1200};
inline constexpr int kCMZoomIndex100 = 4;

// A page width or height read from a document: negative or not finite counts as 0; at most a million points
// (kCMLargestPageLength).
double CMUsablePageLength(double length);

// The index whose step equals zoom·100, or nothing for an off-table zoom.
std::optional<int> CMZoomStepIndex(float zoom);
// The zoom factor of a step index (clamped into the table).
float CMZoomFactor(int index);
// The index zoomIn moves to, or nothing (at 1200 % or between steps).
std::optional<int> CMZoomInIndex(float zoom);
// The index zoomOut moves to, or nothing (at 12.5 % or between steps).
std::optional<int> CMZoomOutIndex(float zoom);
// The largest step up to 800 % at which a page of `pageSize` fits into `available`; index 0 when even 12.5 % does
// not fit; nothing when 800 % fits (the zoom stays as it is).
std::optional<int> CMZoomFitIndex(platform::Size pageSize, platform::Size available);
