#include "scripts/samples/sketch.h"

#include <cmath>
#include <cstdio>

#include "document/CMDocument.h"
#include "io/svg/CMPathSVGLayerCreator.h"
#include "platform/core/value.h"

namespace samples {

Point operator+(Point a, Point b) { return {a.x + b.x, a.y + b.y}; }
Point operator-(Point a, Point b) { return {a.x - b.x, a.y - b.y}; }
Point operator*(Point a, double k) { return {a.x * k, a.y * k}; }
Point unit(Point a) { return a * (1 / std::hypot(a.x, a.y)); }
Point lerp(Point a, Point b, double t) { return a + (b - a) * t; }

Point bezier(Point a, Point c1, Point c2, Point b, double t) {
  const double u = 1 - t;
  return a * (u * u * u) + c1 * (3 * u * u * t) + c2 * (3 * u * t * t) + b * (t * t * t);
}

Point turned(Point p, Point centre, double degrees) {
  const double angle = degrees * std::acos(-1.0) / 180;
  const Point d = p - centre;
  return centre + Point{d.x * std::cos(angle) - d.y * std::sin(angle), d.x * std::sin(angle) + d.y * std::cos(angle)};
}

Pen& Pen::move(Point to) {
  steps_.push_back({'M', {}, {}, to});
  return *this;
}

Pen& Pen::line(Point to) {
  steps_.push_back({'L', {}, {}, to});
  return *this;
}

Pen& Pen::curve(Point c1, Point c2, Point to) {
  steps_.push_back({'C', c1, c2, to});
  return *this;
}

Pen& Pen::close() {
  steps_.push_back({'Z', {}, {}, {}});
  return *this;
}

Pen Pen::symmetric(const Pen& half, double axis, bool closed) {
  Pen whole = half;
  const Pen mirror = half.mirrored(axis);
  // Backwards each step runs from its own end to the previous step's end, with its controls swapped.
  for (std::size_t index = mirror.steps_.size() - 1; index > 0; --index) {
    const Step& step = mirror.steps_[index];
    const Point to = mirror.steps_[index - 1].to;
    whole.steps_.push_back(step.kind == 'C' ? Step{'C', step.c2, step.c1, to} : Step{'L', {}, {}, to});
  }
  return closed ? whole.close() : whole;
}

Pen Pen::circle(Point c, double r) {
  const double k = 0.5522847498307936 * r;  // a quarter circle's control distance
  Pen pen;
  pen.move({c.x + r, c.y});
  pen.curve({c.x + r, c.y + k}, {c.x + k, c.y + r}, {c.x, c.y + r});
  pen.curve({c.x - k, c.y + r}, {c.x - r, c.y + k}, {c.x - r, c.y});
  pen.curve({c.x - r, c.y - k}, {c.x - k, c.y - r}, {c.x, c.y - r});
  pen.curve({c.x + k, c.y - r}, {c.x + r, c.y - k}, {c.x + r, c.y});
  return pen.close();
}

Pen Pen::polyline(const std::vector<Point>& points, bool closed) {
  Pen pen;
  for (std::size_t index = 0; index < points.size(); ++index)
    index == 0 ? pen.move(points[0]) : pen.line(points[index]);
  return closed ? pen.close() : pen;
}

Pen Pen::mirrored(double axis) const {
  return mapped([axis](Point p) { return Point{2 * axis - p.x, p.y}; });
}

Pen Pen::mapped(const std::function<Point(Point)>& map) const {
  Pen pen = *this;
  for (Step& step : pen.steps_) step = {step.kind, map(step.c1), map(step.c2), map(step.to)};
  return pen;
}

std::string Pen::svg() const {
  std::string text;
  char buffer[128];
  for (const Step& step : steps_) {
    if (step.kind == 'C') {
      std::snprintf(buffer, sizeof buffer, "C%.2f %.2f %.2f %.2f %.2f %.2f ", step.c1.x, step.c1.y, step.c2.x,
                    step.c2.y, step.to.x, step.to.y);
    } else if (step.kind == 'Z') {
      std::snprintf(buffer, sizeof buffer, "Z ");
    } else {
      std::snprintf(buffer, sizeof buffer, "%c%.2f %.2f ", step.kind, step.to.x, step.to.y);
    }
    text += buffer;
  }
  return text;
}

Sketch::Sketch(int width, int height) : document_(std::make_shared<CMDocument>()) {
  document_->data()->set("width", width);
  document_->data()->set("height", height);
  document_->data()->set("layers", platform::Array::make());
}

void Sketch::place(Point offset, double scale) {
  offset_ = offset;
  scale_ = scale;
}

void Sketch::addPair(const std::string& name, const Pen& left, Weight weight, const char* fill) {
  add(name + ", left", left, weight, fill);
  add(name + ", right", left.mirrored(kCentre), weight, fill);
}

void Sketch::add(const std::string& name, const Pen& pen, Weight weight, const char* fill) {
  static constexpr const char* kWidths[] = {"1.75", "0.75", "0.5"};
  const Pen placed = pen.mapped([this](Point p) { return p * scale_ + offset_; });
  const platform::DictRef attributes = platform::Dictionary::make({
      {"d", placed.svg()},
      {"fill", fill ? fill : "none"},
      {"stroke", "#1e1e1e"},
      {"stroke-width", kWidths[static_cast<int>(weight)]},
      {"stroke-linejoin", "round"},
      {"stroke-linecap", "round"},
  });
  if (weight == Weight::Stitch) attributes->set("stroke-dasharray", "3 2");
  const platform::Size size{document_->data()->get("width").doubleValue(),
                            document_->data()->get("height").doubleValue()};
  CMPathSVGLayerCreator creator(attributes, "path", *document_, size, platform::Array::make(), platform::Array::make());
  if (!creator.object() || !creator.isFinite()) {
    std::fprintf(stderr, "cannot draw %s\n", name.c_str());
    return;
  }
  creator.object()->set("name", name);
  document_->data()->array("layers")->add(creator.object());
}

}  // namespace samples
