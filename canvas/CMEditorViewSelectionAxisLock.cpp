// The axis lock of a whole-layer drag: the frame sticks to the page edges and
// centre lines when it comes within 2 units of them.

#include "canvas/CMEditorView.h"
#include "canvas/CMSelectionGeometry.h"

void CMEditorView::saveMoving(CMSuspendMoving& axis, bool horizontal, const platform::Rect& bounds,
                              platform::Point point, platform::Point current, bool runtime) {
  const platform::Size page = frame().size;
  const std::optional<double> target =
      horizontal ? selection_geometry::snapTarget(bounds.origin.x, bounds.size.width, page.width)
                 : selection_geometry::snapTarget(bounds.origin.y, bounds.size.height, page.height);
  if (!target) {
    axis.lock(false, point, current);
    return;
  }
  // The snap lines are in canvas units; the origin the lock hands back is in document units.
  const double locked = *target / documentZoom();
  axis.lock(true, horizontal ? platform::Point{locked, point.y} : platform::Point{point.x, locked}, current, runtime);
}

void CMEditorView::saveMovingX(const platform::Rect& bounds, platform::Point point, platform::Point current,
                               bool runtime) {
  saveMoving(horizontalSuspendMoving_, true, bounds, point, current, runtime);
}

void CMEditorView::saveMovingY(const platform::Rect& bounds, platform::Point point, platform::Point current,
                               bool runtime) {
  saveMoving(verticalSuspendMoving_, false, bounds, point, current, runtime);
}

bool CMEditorView::isXMovingLock(platform::Point* point) const {
  if (!horizontalSuspendMoving_.isLock()) return false;
  if (point) *point = horizontalSuspendMoving_.point();
  return true;
}

bool CMEditorView::isYMovingLock(platform::Point* point) const {
  if (!verticalSuspendMoving_.isLock()) return false;
  if (point) *point = verticalSuspendMoving_.point();
  return true;
}

void CMEditorView::finishMoving() {
  horizontalSuspendMoving_.finish();
  verticalSuspendMoving_.finish();
}

void CMEditorView::suspendMoving(bool lockHorizontal, bool lockVertical) {
  horizontalSuspendMoving_.moving(lockHorizontal);
  verticalSuspendMoving_.moving(lockVertical);
}
