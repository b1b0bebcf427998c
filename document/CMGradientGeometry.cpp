#include "document/CMGradientGeometry.h"

#include <cmath>
#include <numbers>

#include "geometry/quartz_path_conversion.h"

using platform::DictRef;
using platform::Point;
using platform::Rect;

namespace {

float number(const DictRef& record, const char* key) { return record ? record->get(key).floatValue() : 0.0f; }

float radiusFactor(const DictRef& record) {
  return record && record->contains("radius_factor") ? number(record, "radius_factor") : 1.0f;
}

// SVG end points, given only when the record has all four.
bool hasEndPoints(const DictRef& attributes) {
  return attributes && attributes->contains("x1") && attributes->contains("x2") && attributes->contains("y1") &&
         attributes->contains("y2");
}

}  // namespace

CMGradientGeometry CMGradientGeometry::forRecord(const DictRef& record, const Rect& box, CMGradientRules rules,
                                                 bool onlyLinear) {
  const int type = onlyLinear ? 0 : (record ? record->get("type").intValue() : 0);
  const double x = box.origin.x, y = box.origin.y, w = box.size.width, h = box.size.height;
  const float dx = static_cast<float>(number(record, "fx") * w);
  const float dy = static_cast<float>(number(record, "fy") * h);
  const float rf = radiusFactor(record);
  const bool swatch = rules == CMGradientRules::Swatch;
  CMGradientGeometry geometry;
  switch (type) {
    case 0: {
      geometry.kind = Kind::Linear;
      const DictRef attributes = record ? record->dictionary("attributes") : nullptr;
      if (!swatch && hasEndPoints(attributes)) {
        geometry.start = {number(attributes, "x1"), number(attributes, "y1")};
        geometry.end = {number(attributes, "x2"), number(attributes, "y2")};
      } else {
        // Narrowed about its middle by the factor the canvas's radius handle sets, as the swatches show it.
        const double inset = (1 - rf) * w / 2;
        geometry.start = {x + inset + dx, y + dy};
        geometry.end = {x + w - inset + dx, y + dy};
      }
      break;
    }
    case 1: {
      if (!(w > 0 && h > 0)) break;
      const Point centre{x + w / 2 + dx, y + h / 2 + dy};
      // Half the diagonal at a factor of 1, the factor stored records without a radius of their own carry.
      const float radius = std::sqrt(static_cast<float>((w / 2) * (w / 2) + (h / 2) * (h / 2))) * rf;
      // A factor no radius can be made of (from a damaged record) draws nothing.
      if (!(radius >= 0 && std::isfinite(radius))) break;
      geometry.kind = Kind::Radial;
      geometry.radius = radius;
      if (w > h) {
        geometry.scale = {w / h, 1};
        geometry.start = {centre.x * h / w, centre.y};
      } else {
        geometry.scale = {1, h / w};
        geometry.start = {centre.x, centre.y * w / h};
      }
      geometry.end = geometry.start;
      break;
    }
    case 2: {
      geometry.kind = Kind::Linear;
      const float angle = static_cast<float>((360 - number(record, "angle")) * std::numbers::pi / 180);
      const double c = std::cos(angle), s = std::sin(angle);
      const Point centre{x + w / 2, y + h / 2};
      const double half = w / 2 * rf;
      geometry.start = {centre.x - half * c + dx, centre.y - half * s + dy};
      geometry.end = {centre.x + half * c + dx, centre.y + half * s + dy};
      break;
    }
    default:
      break;
  }
  return geometry;
}

void CMGradientGeometry::paint(platform::GraphicsContext& context, const platform::Gradient& gradient) const {
  if (kind == Kind::None) return;
  context.saveGraphicsState();
  // The gradient itself casts no shadow: a caller that wants one paints a shape for it first.
  context.setShadow(std::nullopt);
  if (kind == Kind::Linear) {
    gradient.drawLinear(context, start, end);
  } else {
    context.scaleCTM(scale.width, scale.height);
    gradient.drawRadial(context, start, 0, end, radius);
  }
  context.restoreGraphicsState();
}

void CMGradientGeometry::paintInPath(platform::GraphicsContext& context, const platform::QuartzPath& path,
                                     const platform::Gradient& gradient) const {
  context.saveGraphicsState();
  context.clipToPath(bezierPathWithCGPath(path), platform::WindingRule::NonZero);
  paint(context, gradient);
  context.restoreGraphicsState();
}
