#pragma once

// Flat technical sketches drawn into a document: outlines as Bezier pens, each added as one path layer in one of three
// weights (the silhouette, the seams, the dashed topstitching), with an optional flat fill.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/geometry.h"

class CMDocument;

namespace samples {

using platform::Point;

Point operator+(Point a, Point b);
Point operator-(Point a, Point b);
Point operator*(Point a, double k);
// The unit vector along a.
Point unit(Point a);
// The point a fraction t of the way from a to b.
Point lerp(Point a, Point b, double t);
// The point at t on the cubic from a to b with controls c1 and c2.
Point bezier(Point a, Point c1, Point c2, Point b, double t);
// The point turned by the angle in degrees (clockwise on the page) about the centre.
Point turned(Point p, Point centre, double degrees);

class Pen {
 public:
  Pen& move(Point to);
  Pen& line(Point to);
  Pen& curve(Point c1, Point c2, Point to);
  Pen& close();

  // The half, then its mirror image about x = axis traced backwards: a closed outline when the half runs from the axis
  // back to it, an open line through the axis when it runs from one side to the axis.
  static Pen symmetric(const Pen& half, double axis, bool closed = true);
  static Pen circle(Point centre, double radius);
  static Pen polyline(const std::vector<Point>& points, bool closed = false);

  Pen mirrored(double axis) const;
  // Every point moved through the map (affine maps keep the curves exact).
  Pen mapped(const std::function<Point(Point)>& map) const;
  std::string svg() const;

 private:
  struct Step {
    char kind;  // 'M', 'L', 'C' or 'Z'
    Point c1, c2, to;
  };
  std::vector<Step> steps_;
};

// Every garment is drawn about this centre line.
constexpr double kCentre = 300;

enum class Weight { Outline, Seam, Stitch };

class Sketch {
 public:
  Sketch(int width, int height);
  const std::shared_ptr<CMDocument>& document() const { return document_; }

  // Later garments are drawn scaled about the origin and then moved, so one drawing serves a sheet and a line-up.
  void place(Point offset, double scale);
  // `fill` is "#rrggbb", or null for none.
  void add(const std::string& name, const Pen& pen, Weight weight, const char* fill = nullptr);
  // The left one and its mirror image about the garment's centre line.
  void addPair(const std::string& name, const Pen& left, Weight weight, const char* fill = nullptr);

 private:
  std::shared_ptr<CMDocument> document_;
  Point offset_{0, 0};
  double scale_ = 1;
};

}  // namespace samples
