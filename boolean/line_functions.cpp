#include "boolean/line_functions.h"

#include <algorithm>
#include <cmath>

#include "boolean/line_equation.h"
#include "boolean/tolerance_functions.h"
#include "boolean/vector_functions.h"

using platform::Point;

double PBParameterOfPointOnLine(Point lineStart, Point lineEnd, Point point) {
  const double lineLength = PBDistanceBetweenPoints(lineStart, lineEnd);
  // A degenerate line has nowhere else to put the point.
  if (lineLength == 0) return 0;
  const double fromStart = PBDistanceBetweenPoints(point, lineStart);
  const double fromEnd = PBDistanceBetweenPoints(point, lineEnd);
  const double parameter = fromStart / lineLength;
  if (PBAreValuesClose(fromStart + lineLength, fromEnd)) return -parameter;
  return parameter;
}

bool PBLinesIntersect(Point line1Start, Point line1End, Point line2Start, Point line2End, Point* intersection) {
  const PBLineMeeting meeting = PBLineEquationsMeet(PBLineEquationThroughPoints(line1Start, line1End),
                                                    PBLineEquationThroughPoints(line2Start, line2End));
  if (std::isnan(meeting.x) || std::isnan(meeting.negatedY)) return false;
  *intersection = {meeting.x, -meeting.negatedY};
  return true;
}
