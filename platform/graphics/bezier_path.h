#pragma once

// A Bezier path with value semantics: a list of move, line, cubic curve and
// close elements plus the attributes used when it is filled or stroked.
// Coordinates are y-up mathematical space; "counter-clockwise" means so there.
//
// Every subpath begins with a move: a line or curve right after a close first
// moves to that subpath's start, and one with no current point at all starts a
// subpath at its own end point. A close with no open subpath does nothing.

#include <string>
#include <vector>

#include "platform/core/geometry.h"

namespace platform {

struct AffineTransform;

// The numbers match Cairo's and the original platform's.
enum class PathElement : int { Move = 0, Line = 1, Curve = 2, Close = 3 };
enum class LineCap : int { Butt = 0, Round = 1, Square = 2 };
enum class LineJoin : int { Miter = 0, Round = 1, Bevel = 2 };
enum class WindingRule : int { NonZero = 0, EvenOdd = 1 };

// A dash as the caller set it: lengths alternate on, off, on, ... starting
// `phase` units into the pattern. An empty pattern means a solid line.
struct LineDash {
  std::vector<double> pattern;
  double phase = 0;
  friend bool operator==(const LineDash&, const LineDash&) = default;
};

class BezierPath {
 public:
  // An empty path carrying the class-wide default line width, flatness and winding rule.
  BezierPath();

  static BezierPath rect(const Rect& rect);
  static BezierPath ovalInRect(const Rect& rect);
  static BezierPath roundedRect(const Rect& rect, double xRadius, double yRadius);

  // Class-wide defaults copied into each new path. Main thread only.
  static double defaultLineWidth();
  static void setDefaultLineWidth(double width);
  static double defaultFlatness();
  static void setDefaultFlatness(double flatness);
  static WindingRule defaultWindingRule();
  static void setDefaultWindingRule(WindingRule rule);

  // --- Building ---
  void moveTo(Point point);
  void lineTo(Point point);
  void curveTo(Point end, Point control1, Point control2);
  // Ends the open subpath; the current point returns to its start.
  void closePath();
  // Drops every element; attributes stay.
  void removeAllPoints();
  // Appends the other path's elements as they are (its attributes are ignored).
  void appendPath(const BezierPath& other);
  // Move (minX, minY), lines to (maxX, minY), (maxX, maxY), (minX, maxY), close.
  void appendRect(const Rect& rect);
  // Move to (maxX, midY), four cubics counter-clockwise, close.
  void appendOvalInRect(const Rect& rect);
  // Radii are clamped to half the rectangle's width and height; a radius that is not positive gives a plain rectangle.
  void appendRoundedRect(const Rect& rect, double xRadius, double yRadius);
  // Angles in degrees, counter-clockwise unless `clockwise`. Pieces of at most 90°.
  // Starts with a line to the arc's start when the path is not empty, else a move.
  void appendArc(Point center, double radius, double startDegrees, double endDegrees, bool clockwise);

  // --- Elements ---
  int elementCount() const { return static_cast<int>(elements_.size()); }
  bool isEmpty() const { return elements_.empty(); }
  // Throws std::out_of_range for an index outside [0, elementCount()).
  PathElement elementAt(int index) const;
  // Fills `points` with the element's points: one for move and line, three for a
  // curve (control 1, control 2, end). A close, or a null buffer, writes nothing.
  PathElement elementAt(int index, Point points[3]) const;
  // Replaces the element's points (as many as its kind has); the kind stays.
  void setAssociatedPoints(const Point* points, int index);
  // The end of the last element; a close gives its subpath's start. (0, 0) when empty.
  Point currentPoint() const;

  // --- Attributes ---
  double lineWidth() const { return lineWidth_; }
  void setLineWidth(double width) { lineWidth_ = width; }
  LineCap lineCapStyle() const { return lineCap_; }
  void setLineCapStyle(LineCap cap) { lineCap_ = cap; }
  LineJoin lineJoinStyle() const { return lineJoin_; }
  void setLineJoinStyle(LineJoin join) { lineJoin_ = join; }
  double miterLimit() const { return miterLimit_; }
  void setMiterLimit(double limit) { miterLimit_ = limit; }
  // A count of 0 (or less, or a null pattern) clears the dash. Kept as given;
  // drawing code sanitises patterns Cairo would reject.
  void setLineDash(const double* pattern, int count, double phase);
  const LineDash& lineDash() const { return dash_; }
  WindingRule windingRule() const { return windingRule_; }
  void setWindingRule(WindingRule rule) { windingRule_ = rule; }
  double flatness() const { return flatness_; }
  void setFlatness(double flatness) { flatness_ = flatness; }

  // --- Geometry ---
  // Tight box of the drawn geometry: end points and curve extrema, no control
  // points, no stroke width. The zero rectangle when empty.
  Rect bounds() const;
  // Box of every point, controls included. The zero rectangle when empty.
  Rect controlPointBounds() const;
  // Same subpaths and attributes with every curve replaced by line segments whose
  // vertices lie on the curve, within flatness() of it (at most 10,000 per curve).
  BezierPath bezierPathByFlatteningPath() const;
  // Subpaths in reverse order, each reversed; a closed subpath keeps its start point.
  BezierPath bezierPathByReversingPath() const;
  void transformUsingAffineTransform(const AffineTransform& transform);
  // Fill test under windingRule(); open subpaths are closed implicitly.
  bool containsPoint(Point point) const;
  // One line per element, for logs.
  std::string description() const;

  friend bool operator==(const BezierPath&, const BezierPath&) = default;

 private:
  struct Element {
    PathElement kind = PathElement::Move;
    Point points[3];  // move/line use points[0]; a curve holds control 1, control 2, end
    friend bool operator==(const Element&, const Element&) = default;
  };

  void append(PathElement kind, Point a, Point b = {}, Point c = {});
  // Starts a subpath when needed so a line or curve always has a start point.
  void ensureSubpathBeforeSegment(Point fallback);
  bool subpathIsOpen() const;

  std::vector<Element> elements_;
  int lastMoveIndex_ = -1;  // the start of the current subpath, -1 when empty
  double lineWidth_;
  LineCap lineCap_ = LineCap::Butt;
  LineJoin lineJoin_ = LineJoin::Miter;
  double miterLimit_ = 10;
  LineDash dash_;
  WindingRule windingRule_;
  double flatness_;
};

}  // namespace platform
