#include "document/CMStroke.h"

#include <optional>
#include <vector>

#include "document/CMGradient.h"
#include "document/CMStrokeDash.h"
#include "geometry/half_strokes.h"
#include "platform/graphics/graphics_context.h"

using platform::BezierPath;
using platform::DictRef;
using platform::GraphicsContext;

namespace {

enum StrokeType { kColor = 1, kImage = 2, kGradient = 3 };
enum StrokeMode { kCentred = 0, kInside = 1 };

// Values outside the platform's styles fall back to its defaults rather than reaching Cairo.
platform::LineJoin joinFrom(int value) {
  return value >= 0 && value <= 2 ? static_cast<platform::LineJoin>(value) : platform::LineJoin::Miter;
}

platform::LineCap capFrom(int value) {
  return value >= 0 && value <= 2 ? static_cast<platform::LineCap>(value) : platform::LineCap::Butt;
}

}  // namespace

CMStroke::CMStroke(const DictRef& record) : CMFill(record) {
  lineWidth_ = data_->get("lineWidth").floatValue();
  lineJoinStyle_ = data_->get("lineJoinStyle").intValue();
  lineCapStyle_ = data_->get("lineCapStyle").intValue();
  mode_ = data_->get("mode").intValue();
}

void CMStroke::strokePath(BezierPath& path, float zoom) const {
  applyAttributes(path, zoom);
  GraphicsContext* context = GraphicsContext::current();
  if (!context) return;
  switch (type_) {
    case kGradient:
      CMGradient::strokeGradientPath(*context, path, data_->dictionary("gradient"), alpha_);
      break;
    case kImage:
      if (const auto pattern = patternColor()) {
        pattern->set();
        strokeByMode(path);
      }
      break;
    case kColor:
      color_.set();
      strokeByMode(path);
      break;
    default:
      break;
  }
}

void CMStroke::applyAttributes(BezierPath& path, float zoom) const {
  path.setLineWidth(lineWidth_ * zoom);
  path.setLineJoinStyle(joinFrom(lineJoinStyle_));
  path.setLineCapStyle(capFrom(lineCapStyle_));
  applyDash(path, zoom);
}

void CMStroke::applyDash(BezierPath& path, float zoom) const {
  path.setLineDash(nullptr, 0, 0);
  const std::optional<CMStrokeDash> dash = strokeDashOf(data_);
  if (!dash) return;
  // Zoomed as the path and its width are, so that the canvas shows the same dashes at every zoom.
  std::vector<double> lengths;
  for (const double length : dash->lengths) lengths.push_back(length * zoom);
  path.setLineDash(lengths.data(), static_cast<int>(lengths.size()), dash->offset * zoom);
}

void CMStroke::strokeByMode(const BezierPath& path) const {
  switch (mode_) {
    case kCentred:
      GraphicsContext::current()->strokePath(path);
      break;
    case kInside:
      strokeInside(path);
      break;
    default:
      strokeOutside(path);
      break;
  }
}
