#pragma once

// Where a path's subpaths start and end, whether they are closed, and their end tangents.
// Element indices outside the path give −1 (indices), NO or 0.

#include "platform/graphics/bezier_path.h"

// The last move at or before the element; −1 when there is none.
int subpathStartingElementForElement(const platform::BezierPath& path, int element);
// From the element (or the one after it, when it is a move) forward: the index before the
// next move, or the last index.
int subpathEndingElementForElement(const platform::BezierPath& path, int element);
// The element's own subpath ends with a close, or its last end point equals its first point.
bool subpathContainingElementIsClosed(const platform::BezierPath& path, int element);
bool isPathClosed(const platform::BezierPath& path);
// Direction pointing out of the subpath at its start, and along it at its end (radians).
float tangentAtStartOfSubpath(const platform::BezierPath& path, int element);
float tangentAtEndOfSubpath(const platform::BezierPath& path, int element);
