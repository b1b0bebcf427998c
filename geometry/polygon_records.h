#pragma once

// Polygons of straight-edged contours and triangle strips, the values the polygon
// clipper reads and makes. A contour is closed implicitly (its last vertex joins the
// first); the clipper fills by even-odd parity, so orientation and hole flags of its
// inputs are never read.

#include <vector>

struct PolygonVertex {
  double x = 0;
  double y = 0;
  friend bool operator==(const PolygonVertex&, const PolygonVertex&) = default;
};

using PolygonContour = std::vector<PolygonVertex>;

struct PolygonRecord {
  std::vector<PolygonContour> contours;
  // One flag per contour, non-zero for a hole. An input may leave it empty.
  std::vector<int> holes;
  friend bool operator==(const PolygonRecord&, const PolygonRecord&) = default;
};

// Each strip's vertices alternate between its left and right chains, so every run of
// three consecutive vertices is a triangle.
struct TristripRecord {
  std::vector<PolygonContour> strips;
  friend bool operator==(const TristripRecord&, const TristripRecord&) = default;
};

enum class PolygonOperation : int { Difference = 0, Intersection = 1, ExclusiveOr = 2, Union = 3 };

// Appends a copy of the contour with its hole flag; a record without flags gets 0 for
// its earlier contours first.
void addContourToPolygon(PolygonRecord& polygon, const PolygonContour& contour, int hole);
void freePolygon(PolygonRecord& polygon);
void freeTristrip(TristripRecord& tristrip);
// The hole flag of a contour, 0 when the record carries none.
int holeFlag(const PolygonRecord& polygon, std::size_t contour);
