#include "io/svg/CMSVGGradient.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

#include "document/CMColorRecord.h"
#include "document/CMGradientTypes.h"
#include "io/svg/VDSVGColor.h"
#include "io/svg/VDSVGNumberList.h"
#include "io/svg/VDSVGTransformList.h"
#include "platform/core/string_conversions.h"
#include "platform/core/string_utilities.h"

using platform::DictRef;
using platform::Point;
using platform::Value;

namespace {

// A number, or a percentage as a fraction of `whole`.
double lengthValue(std::string_view text, double whole) {
  if (!text.empty() && text.back() == '%') return platform::stringFloatValue(text.substr(0, text.size() - 1)) / 100.0 * whole;
  return platform::stringFloatValue(text);
}

// More stops than this make a copy of them costly: shapes whose radii nearly agree share one.
constexpr std::size_t kManyStops = 64;

// Offsets clamped to 0…1 and never below an earlier one; colours as fills read them, with their opacity.
platform::ArrayRef markersOf(const platform::ArrayRef& stops, bool linear) {
  const platform::ArrayRef markers = platform::Array::make();
  if (!stops) return markers;
  double previous = 0;
  for (const Value& entry : *stops) {
    const DictRef stop = entry.dictionary();
    if (!stop) continue;
    const double offset = std::max(previous, std::clamp(lengthValue(stop->get("offset").string(), 1), 0.0, 1.0));
    previous = offset;
    const Value* opacity = stop->find("stop-opacity");
    const double alpha = opacity ? std::clamp(lengthValue(opacity->string(), 1), 0.0, 1.0) : 1.0;
    const Value* color = stop->find("stop-color");
    const DictRef rgb = dictionaryFromHexRGB(SVGColorDigits(color ? color->string() : "black"), 1.0f);
    const DictRef marker = platform::Dictionary::make();
    marker->set("red", static_cast<float>(rgb->get("r").doubleValue() / 255));
    marker->set("green", static_cast<float>(rgb->get("g").doubleValue() / 255));
    marker->set("blue", static_cast<float>(rgb->get("b").doubleValue() / 255));
    marker->set("alpha", static_cast<float>(alpha));
    marker->set("pos", static_cast<float>(offset));
    if (linear) marker->set("mix", 0.5f);
    markers->add(marker);
  }
  return markers;
}

// The stops moved towards the start by `factor`; a stop past the end is cut there, at the colour it has there.
void scaleStops(const platform::ArrayRef& markers, double factor) {
  for (std::size_t i = 0; i < markers->size(); ++i) {
    const DictRef marker = markers->at(i).dictionary();
    const double pos = marker->get("pos").doubleValue() * factor;
    if (pos <= 1) {
      marker->set("pos", static_cast<float>(pos));
      continue;
    }
    const DictRef previous = i > 0 ? markers->at(i - 1).dictionary() : nullptr;
    const double from = previous ? previous->get("pos").doubleValue() : 0;
    const double t = pos > from ? (1 - from) / (pos - from) : 1;
    for (const char* key : {"red", "green", "blue", "alpha"}) {
      const double start = previous ? previous->get(key).doubleValue() : marker->get(key).doubleValue();
      marker->set(key, static_cast<float>(start + (marker->get(key).doubleValue() - start) * t));
    }
    marker->set("pos", 1.0f);
    while (markers->size() > i + 1) markers->removeLast();
  }
}

// From the gradient's own coordinates to the page's.
platform::AffineTransform gradientToPage(const DictRef& attributes, bool userSpace,
                                         const CMSVGGradientPlacement& placement) {
  platform::AffineTransform transform;
  bool found = false;
  applySVGTransformList(attributes->get("gradientTransform").string(), transform, found);
  // A transform that flattens the gradient is no transform a picture can be made with.
  if (transform.m11 * transform.m22 - transform.m12 * transform.m21 == 0) transform = {};
  // "transform-origin": the transform acts about that point.
  if (const std::vector<double> origin = SVGNumberList(attributes->get("transform-origin").string());
      origin.size() == 2) {
    platform::AffineTransform about{1, 0, 0, 1, -origin[0], -origin[1]};
    about.appendTransform(transform);
    about.appendTransform({1, 0, 0, 1, origin[0], origin[1]});
    transform = about;
  }
  if (!userSpace) {
    const platform::Rect& box = placement.elementBox;
    transform.appendTransform({box.size.width, 0, 0, box.size.height, box.origin.x, box.origin.y});
  }
  transform.appendTransform(placement.transform);
  return transform;
}

// The records hold these numbers in single precision: each must stay finite there.
bool allFinite(std::initializer_list<double> values) {
  return std::all_of(values.begin(), values.end(),
                     [](double v) { return std::isfinite(v) && std::abs(v) <= std::numeric_limits<float>::max(); });
}

// The line from `start` to `end` on the page as the angle, length and centre shift of a type 2 gradient.
void setLine(const DictRef& record, Point start, Point end, const platform::Rect& box) {
  const double w = box.size.width, h = box.size.height;
  const double dx = end.x - start.x, dy = end.y - start.y;
  const double angle = std::fmod(360.0 - std::atan2(dy, dx) * 180 / std::numbers::pi, 360.0);
  const double factor = std::hypot(dx, dy) / w;
  const double fx = ((start.x + end.x) / 2 - (box.origin.x + w / 2)) / w;
  const double fy = h > 0 ? ((start.y + end.y) / 2 - (box.origin.y + h / 2)) / h : 0;
  if (!allFinite({angle, factor, fx, fy})) return;
  record->set("type", kCMGradientAngled);
  record->set("angle", static_cast<float>(angle));
  record->set("radius_factor", static_cast<float>(factor));
  record->set("fx", static_cast<float>(fx));
  record->set("fy", static_cast<float>(fy));
}

void setLinearGeometry(const DictRef& record, const DictRef& attributes, const CMSVGGradientPlacement& placement) {
  const bool userSpace = attributes->get("gradientUnits").string() == "userSpaceOnUse";
  const double width = userSpace ? placement.viewport.width : 1, height = userSpace ? placement.viewport.height : 1;
  const auto coordinate = [&](const char* key, const char* absent, double whole) {
    const Value* value = attributes->find(key);
    return lengthValue(value ? std::string_view(value->string()) : std::string_view(absent), whole);
  };
  const Point p1{coordinate("x1", "0%", width), coordinate("y1", "0%", height)};
  const Point p2{coordinate("x2", "100%", width), coordinate("y2", "0%", height)};
  const platform::AffineTransform m = gradientToPage(attributes, userSpace, placement);
  const double dx = p2.x - p1.x, dy = p2.y - p1.y, length2 = dx * dx + dy * dy;
  const double det = m.m11 * m.m22 - m.m12 * m.m21;
  // A box with no width or height gives no picture of the line.
  if (det == 0) return;
  if (length2 == 0) {
    // SVG paints a gradient without a length in its last colour.
    const platform::ArrayRef markers = record->array("markers");
    if (markers && markers->size() > 1) record->set("markers", platform::Array::make({markers->last()}));
    return;
  }
  // The colour is an affine function of the page point: its gradient there is the inverse transposed linear
  // part applied to the line's direction, and the colour lines stay perpendicular to it.
  const double gx = (m.m22 * dx - m.m12 * dy) / det / length2, gy = (m.m11 * dy - m.m21 * dx) / det / length2;
  const double g2 = gx * gx + gy * gy;
  const Point start = m.transformPoint(p1);
  setLine(record, start, {start.x + gx / g2, start.y + gy / g2}, placement.pageBox);
}


}  // namespace

platform::ArrayRef CMSVGGradients::markers(const Resolved& resolved, double factor) {
  if (!resolved.stops) return platform::Array::make();
  if (factor != 1 && resolved.stops->size() > kManyStops) factor = std::exp2(std::round(std::log2(factor) * 256) / 256);
  platform::ArrayRef& made = markers_[{resolved.stops.get(), resolved.linear, factor}];
  if (!made) {
    made = markersOf(resolved.stops, resolved.linear);
    if (factor != 1) scaleStops(made, factor);
  }
  return made;
}

void CMSVGGradients::setRadialGeometry(const DictRef& record, const Resolved& resolved,
                                       const CMSVGGradientPlacement& placement) {
  const DictRef& attributes = resolved.attributes;
  const bool userSpace = attributes->get("gradientUnits").string() == "userSpaceOnUse";
  const double width = userSpace ? placement.viewport.width : 1, height = userSpace ? placement.viewport.height : 1;
  const auto value = [&](const char* key, double whole) {
    const Value* text = attributes->find(key);
    return lengthValue(text ? std::string_view(text->string()) : std::string_view("50%"), whole);
  };
  const Point center{value("cx", width), value("cy", height)};
  const double radius = value("r", std::hypot(width, height) / std::numbers::sqrt2);
  const platform::AffineTransform m = gradientToPage(attributes, userSpace, placement);
  const Point page = m.transformPoint(center);
  const platform::Rect& box = placement.pageBox;
  const double w = box.size.width, h = box.size.height;
  const double fx = (page.x - (box.origin.x + w / 2)) / w;
  const double fy = (page.y - (box.origin.y + h / 2)) / h;
  // The record's ellipse has semi-axes of k w and k h, the shorter one half the box's diagonal when the stops stand
  // where they are: the file's circle, an ellipse of its area once transformed, gives k, and the stops move to
  // where k puts them.
  const double k = radius * std::sqrt(std::fabs(m.m11 * m.m22 - m.m12 * m.m21) / (w * h));
  const double factor = k * std::min(w, h) / (std::hypot(w, h) / 2);
  record->set("type", kCMGradientRadial);
  if (!allFinite({fx, fy, factor}) || radius < 0) return;
  record->set("fx", static_cast<float>(fx));
  record->set("fy", static_cast<float>(fy));
  record->set("markers", markers(resolved, factor));
  // The stops already stand where the file has them about the radius of a factor of 1.
  record->set("radius_factor", 1.0f);
}

void CMSVGGradients::apply(const DictRef& definition, const DictRef& record, const CMSVGGradientPlacement& placement) {
  const std::string& name = definition->get("name").string();
  if (name != "radialGradient" && name != "linearGradient") return;
  const Resolved& resolved = this->resolved(definition);
  record->set("markers", markers(resolved));
  if (resolved.linear) {
    setLinearGeometry(record, resolved.attributes, placement);
  } else {
    setRadialGeometry(record, resolved, placement);
  }
}

DictRef CMSVGGradients::middleColor(const DictRef& definition) {
  DictRef before, after;
  for (const Value& entry : *markers(resolved(definition))) {
    const DictRef marker = entry.dictionary();
    if (marker->get("pos").doubleValue() <= 0.5) before = marker;
    if (marker->get("pos").doubleValue() >= 0.5 && !after) after = marker;
  }
  if (!before) before = after;
  if (!after) after = before;
  if (!before) return dictionaryFromHexRGB("000000", 1.0f);
  const double from = before->get("pos").doubleValue(), to = after->get("pos").doubleValue();
  const double t = to > from ? (0.5 - from) / (to - from) : 0;
  const auto component = [&](const char* key) {
    const double a = before->get(key).doubleValue(), b = after->get(key).doubleValue();
    return static_cast<std::int64_t>(std::lround((a + (b - a) * t) * 255));
  };
  return platform::Dictionary::make(
      {{"r", component("red")}, {"g", component("green")}, {"b", component("blue")}, {"a", component("alpha")}});
}
