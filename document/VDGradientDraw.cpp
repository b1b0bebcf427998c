#include "document/VDGradientDraw.h"

#include "document/CMGradientGeometry.h"
#include "document/CMGradientStops.h"

using platform::DictRef;
using platform::GraphicsContext;
using platform::Rect;

platform::Gradient VDGradientDraw::createGradient(const DictRef& record) {
  return platform::Gradient(gradientStopsFromRecord(record, 1, CMMidpointRule::EveryStop));
}

void VDGradientDraw::drawGradient(GraphicsContext& context, const Rect& rect, const DictRef& record, bool onlyLinear) {
  context.saveGraphicsState();
  context.clipToRect(rect);
  CMGradientGeometry::forRecord(record, rect, CMGradientRules::Swatch, onlyLinear).paint(context, createGradient(record));
  context.restoreGraphicsState();
}

void VDGradientDraw::drawPath(GraphicsContext& context, const Rect& rect, const platform::QuartzPath& path,
                              const platform::Gradient& gradient, const DictRef& record) {
  CMGradientGeometry::forRecord(record, rect, CMGradientRules::Swatch).paintInPath(context, path, gradient);
}
