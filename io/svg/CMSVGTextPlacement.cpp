#include "io/svg/CMSVGTextPlacement.h"

#include <cmath>
#include <numbers>

#include "document/CMTextLayer.h"
#include "io/svg/CMPathSVGLayerCreator.h"
#include "io/svg/VDSVGLength.h"
#include "platform/graphics/attributed_string.h"

void placeSVGText(const platform::DictRef& record, bool fromTop) {
  platform::AffineTransform transform;
  const bool transformed = CMPathSVGLayerCreator::findTransform(record->array("transforms"), transform);
  record->remove("transforms");
  // A layer holds a size and a turn: the transform's turn of the baseline, and the scale it gives the text's height,
  // across the baseline. A skew or a scale that differs along the baseline is lost.
  const double along = std::hypot(transform.m11, transform.m12);
  const double scale = std::fabs(transform.m11 * transform.m22 - transform.m12 * transform.m21) / along;
  if (!(scale > 0) || !std::isfinite(scale)) return;
  const double angle = std::atan2(transform.m12, transform.m11);
  const platform::DictRef style = record->dictionary("style");
  if (transformed && style) {
    // A size of 0 draws at 12 points.
    const double size = style->get("fontSize").doubleValue();
    style->set("fontSize", static_cast<float>(SVGClampedFontSize((size > 0 ? size : 12) * scale)));
  }
  const CMTextLayer layer(record);
  const std::string text = record->get("text").string();
  const platform::Size measured = platform::AttributedString(text, layer.textAttributes(true)).size();
  const std::string& anchor = record->get("text-anchor").string();
  const double share = anchor == "end" ? 1 : anchor == "middle" ? 0.5 : 0;
  // The anchor stays where the transform puts it; the frame's centre lies from it as the layer turns it.
  const double x = record->get("x").doubleValue(), y = record->get("y").doubleValue();
  const double baseline = fromTop ? 0 : layer.baselineOffset();
  const platform::Point offset{(0.5 - share) * measured.width, measured.height / 2 - baseline};
  const platform::Point anchorPoint = transform.transformPoint({x, y});
  const platform::Point center{anchorPoint.x + offset.x * std::cos(angle) - offset.y * std::sin(angle),
                               anchorPoint.y + offset.x * std::sin(angle) + offset.y * std::cos(angle)};
  // The layer moves its frame by the anchor's share of the width itself.
  const double left = center.x - (0.5 - share) * measured.width, top = center.y - measured.height / 2;
  if (!std::isfinite(left) || !std::isfinite(top)) return;
  record->set("x", static_cast<float>(left));
  record->set("y", static_cast<float>(top));
  if (transformed) record->set("rotate", static_cast<float>(angle * 180 / std::numbers::pi));
}

double SVGTextAdvance(const platform::DictRef& record) {
  const CMTextLayer layer(record);
  return platform::AttributedString(record->get("text").string(), layer.textAttributes(true)).size().width;
}
