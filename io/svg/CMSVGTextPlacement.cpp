#include "io/svg/CMSVGTextPlacement.h"

#include <cmath>
#include <numbers>

#include "document/CMTextLayer.h"
#include "io/svg/CMPathSVGLayerCreator.h"
#include "platform/graphics/attributed_string.h"

void placeSVGText(const platform::DictRef& record, bool fromTop) {
  platform::AffineTransform transform;
  const bool transformed = CMPathSVGLayerCreator::findTransform(record->array("transforms"), transform);
  record->remove("transforms");
  const double scale = std::sqrt(std::fabs(transform.m11 * transform.m22 - transform.m12 * transform.m21));
  if (!(scale > 0) || !std::isfinite(scale)) return;
  const platform::DictRef style = record->dictionary("style");
  if (transformed && style) {
    // A size of 0 draws at 12 points.
    const double size = style->get("fontSize").doubleValue();
    style->set("fontSize", static_cast<float>((size > 0 ? size : 12) * scale));
  }
  const CMTextLayer layer(record);
  const std::string text = record->get("text").string();
  const platform::Size measured = platform::AttributedString(text, layer.textAttributes(true)).size();
  const std::string& anchor = record->get("text-anchor").string();
  const double share = anchor == "end" ? 1 : anchor == "middle" ? 0.5 : 0;
  // The frame's centre in the element's own units, where the font has its unscaled size.
  const double x = record->get("x").doubleValue(), y = record->get("y").doubleValue();
  const double baseline = fromTop ? 0 : layer.baselineOffset();
  const platform::Point center = transform.transformPoint(
      {x + (0.5 - share) * measured.width / scale, y + (measured.height / 2 - baseline) / scale});
  // The layer moves its frame by the anchor's share of the width itself.
  const double left = center.x - (0.5 - share) * measured.width, top = center.y - measured.height / 2;
  if (!std::isfinite(left) || !std::isfinite(top)) return;
  record->set("x", static_cast<float>(left));
  record->set("y", static_cast<float>(top));
  if (transformed) {
    record->set("rotate", static_cast<float>(std::atan2(transform.m12, transform.m11) * 180 / std::numbers::pi));
  }
}

double SVGTextAdvance(const platform::DictRef& record) {
  const CMTextLayer layer(record);
  return platform::AttributedString(record->get("text").string(), layer.textAttributes(true)).size().width;
}
