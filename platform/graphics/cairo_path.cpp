#include "platform/graphics/cairo_path.h"

#include <memory>

namespace platform {

namespace {

struct CairoPathDeleter {
  void operator()(cairo_path_t* path) const { cairo_path_destroy(path); }
};

// Reads the context's path into `sink` (moveTo, lineTo, curveTo(c1, c2, end), close),
// dropping the move Cairo adds after each close when it goes back to the subpath's start.
template <typename Sink>
void readCairoPath(cairo_t* cr, Sink& sink) {
  const std::unique_ptr<cairo_path_t, CairoPathDeleter> path(cairo_copy_path(cr));
  if (!path || path->status != CAIRO_STATUS_SUCCESS) return;
  Point subpathStart;
  bool afterClose = false;
  for (int i = 0; i < path->num_data;) {
    const cairo_path_data_t* data = &path->data[i];
    const int length = data->header.length;
    // Never read past the array, whatever the header claims.
    if (length < 1 || length > path->num_data - i) return;
    i += length;
    const auto point = [data](int k) { return Point{data[k].point.x, data[k].point.y}; };
    const bool followsClose = afterClose;
    afterClose = false;
    const int needed = data->header.type == CAIRO_PATH_CURVE_TO     ? 4
                       : data->header.type == CAIRO_PATH_CLOSE_PATH ? 1
                                                                    : 2;
    if (length < needed) return;
    switch (data->header.type) {
      case CAIRO_PATH_MOVE_TO:
        if (followsClose && point(1) == subpathStart) break;
        subpathStart = point(1);
        sink.moveTo(subpathStart);
        break;
      case CAIRO_PATH_LINE_TO:
        sink.lineTo(point(1));
        break;
      case CAIRO_PATH_CURVE_TO:
        sink.curveTo(point(1), point(2), point(3));
        break;
      case CAIRO_PATH_CLOSE_PATH:
        sink.close();
        afterClose = true;
        break;
    }
  }
}

struct QuartzSink {
  QuartzPathBuilder builder;
  void moveTo(Point p) { builder.moveTo(p); }
  void lineTo(Point p) { builder.lineTo(p); }
  void curveTo(Point c1, Point c2, Point end) { builder.curveTo(c1, c2, end); }
  void close() { builder.closeSubpath(); }
};

struct BezierSink {
  BezierPath path;
  void moveTo(Point p) { path.moveTo(p); }
  void lineTo(Point p) { path.lineTo(p); }
  void curveTo(Point c1, Point c2, Point end) { path.curveTo(end, c1, c2); }
  void close() { path.closePath(); }
};

}  // namespace

void appendToCairo(cairo_t* cr, const BezierPath& path) {
  Point p[3];
  for (int i = 0; i < path.elementCount(); ++i) {
    switch (path.elementAt(i, p)) {
      case PathElement::Move:
        cairo_move_to(cr, p[0].x, p[0].y);
        break;
      case PathElement::Line:
        cairo_line_to(cr, p[0].x, p[0].y);
        break;
      case PathElement::Curve:
        cairo_curve_to(cr, p[0].x, p[0].y, p[1].x, p[1].y, p[2].x, p[2].y);
        break;
      case PathElement::Close:
        cairo_close_path(cr);
        break;
    }
  }
}

void appendToCairo(cairo_t* cr, const QuartzPath& path) {
  Point current, subpathStart;
  for (const QuartzPathElement& e : path.elements()) {
    const Point* p = e.points;
    switch (e.kind) {
      case QuartzElement::Move:
        cairo_move_to(cr, p[0].x, p[0].y);
        subpathStart = current = p[0];
        break;
      case QuartzElement::Line:
        cairo_line_to(cr, p[0].x, p[0].y);
        current = p[0];
        break;
      case QuartzElement::Quad: {
        // Degree elevation: the cubic's controls lie two thirds of the way from each end to the quadratic's control.
        const Point c1{current.x + 2.0 / 3.0 * (p[0].x - current.x), current.y + 2.0 / 3.0 * (p[0].y - current.y)};
        const Point c2{p[1].x + 2.0 / 3.0 * (p[0].x - p[1].x), p[1].y + 2.0 / 3.0 * (p[0].y - p[1].y)};
        cairo_curve_to(cr, c1.x, c1.y, c2.x, c2.y, p[1].x, p[1].y);
        current = p[1];
        break;
      }
      case QuartzElement::Cubic:
        cairo_curve_to(cr, p[0].x, p[0].y, p[1].x, p[1].y, p[2].x, p[2].y);
        current = p[2];
        break;
      case QuartzElement::Close:
        cairo_close_path(cr);
        current = subpathStart;
        break;
    }
  }
}

QuartzPath quartzPathFromCairo(cairo_t* cr) {
  QuartzSink sink;
  readCairoPath(cr, sink);
  return sink.builder.copy();
}

BezierPath bezierPathFromCairo(cairo_t* cr) {
  BezierSink sink;
  readCairoPath(cr, sink);
  return std::move(sink.path);
}

}  // namespace platform
