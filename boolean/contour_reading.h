#pragma once

// How a path's elements become the closed contours the boolean engine works on.

#include "boolean/bezier_curve_data.h"
#include "boolean/path_elements.h"
#include "platform/graphics/bezier_path.h"

// Reads a path's elements into closed contours: degenerate elements are dropped (on exact equality only), an open
// subpath is closed by a line back to its start, and a close adds that line where the ends differ. The sink hears
// of each contour begun, each edge and each contour to be closed.
template <typename Sink>
void PBReadContours(const platform::BezierPath& path, Sink& sink) {
  bool open = false;
  platform::Point lastPoint;
  bool closedByLine = false;
  for (int index = 0; index < path.elementCount(); ++index) {
    const PBPathElement element = pb_elementAtIndex(path, index);
    switch (element.kind) {
      case PBElementMove:
        if (open && !closedByLine) sink.close();
        sink.begin();
        open = true;
        closedByLine = false;
        lastPoint = element.point;
        break;
      case PBElementLine:
        if (element.point == lastPoint) break;
        if (open) sink.edge(PBBezierCurveDataMakeLine(lastPoint, element.point));
        lastPoint = element.point;
        break;
      case PBElementCurve:
        if (element.point == lastPoint && element.controlPoints[0] == lastPoint &&
            element.controlPoints[1] == lastPoint) {
          break;
        }
        if (open) {
          sink.edge(PBBezierCurveDataMake(lastPoint, element.controlPoints[0], element.controlPoints[1], element.point,
                                          false));
        }
        lastPoint = element.point;
        break;
      case PBElementClose:
        if (open && sink.hasEdges() && lastPoint != sink.firstPoint()) {
          sink.edge(PBBezierCurveDataMakeLine(lastPoint, sink.firstPoint()));
          closedByLine = true;
        }
        lastPoint = platform::Point();
        break;
      default: break;
    }
  }
  if (open && !closedByLine) sink.close();
}

