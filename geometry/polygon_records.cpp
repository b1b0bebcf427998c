#include "geometry/polygon_records.h"

void addContourToPolygon(PolygonRecord& polygon, const PolygonContour& contour, int hole) {
  polygon.holes.resize(polygon.contours.size(), 0);
  polygon.contours.push_back(contour);
  polygon.holes.push_back(hole);
}

void freePolygon(PolygonRecord& polygon) {
  polygon.contours = {};
  polygon.holes = {};
}

void freeTristrip(TristripRecord& tristrip) { tristrip.strips = {}; }

int holeFlag(const PolygonRecord& polygon, std::size_t contour) {
  return contour < polygon.holes.size() ? polygon.holes[contour] : 0;
}
