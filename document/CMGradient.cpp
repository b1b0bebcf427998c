#include "document/CMGradient.h"

#include "document/CMGradientGeometry.h"
#include "document/CMGradientStops.h"
#include "geometry/quartz_path_conversion.h"
#include "geometry/stroked_path.h"

using platform::BezierPath;
using platform::DictRef;
using platform::GraphicsContext;

platform::Gradient CMGradient::createGradient(const DictRef& record, float alpha) {
  return platform::Gradient(gradientStopsFromRecord(record, alpha, CMMidpointRule::StopsWithMix));
}

void CMGradient::fillGradientPath(GraphicsContext& context, const BezierPath& path, const DictRef& record,
                                  float alpha) {
  const auto converted = quartzPath(path);
  if (!converted) return;
  drawPath(context, path.bounds(), *converted, createGradient(record, alpha), record);
}

void CMGradient::strokeGradientPath(GraphicsContext& context, const BezierPath& path, const DictRef& record,
                                    float alpha) {
  const auto outline = strokedPath(path);
  if (!outline) return;
  const auto converted = quartzPath(*outline);
  if (!converted) return;
  drawPath(context, outline->bounds(), *converted, createGradient(record, alpha), record);
}

void CMGradient::drawPath(GraphicsContext& context, const platform::Rect& rect, const platform::QuartzPath& path,
                          const platform::Gradient& gradient, const DictRef& record) {
  CMGradientGeometry::forRecord(record, rect, CMGradientRules::Document).paintInPath(context, path, gradient);
}
