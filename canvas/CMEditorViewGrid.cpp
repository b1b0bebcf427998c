// The grid over the page: dotted minor lines and solid major lines from the
// page origin, in whole steps of document units, one canvas unit wide at any zoom.

#include <cstdint>

#include "canvas/CMEditorView.h"
#include "document/CMProject.h"
#include "platform/core/numeric.h"
#include "platform/core/user_defaults.h"
#include "platform/graphics/bezier_path.h"
#include "platform/graphics/graphics_context.h"

namespace {

// Lines closer than this on screen would hide the drawing under them.
constexpr double kClosestLinePixels = 3;

bool readable(std::int64_t step, float zoom) {
  return step >= 1 && static_cast<double>(step) * zoom >= kClosestLinePixels;
}

// Horizontal and vertical lines every `step` units over a width × height page, the last at the largest multiple
// not beyond the page.
platform::BezierPath gridLines(std::int64_t width, std::int64_t height, std::int64_t step) {
  platform::BezierPath path;
  for (std::int64_t y = 0; y <= height; y += step) {
    path.moveTo({0, static_cast<double>(y)});
    path.lineTo({static_cast<double>(width), static_cast<double>(y)});
  }
  for (std::int64_t x = 0; x <= width; x += step) {
    path.moveTo({static_cast<double>(x), 0});
    path.lineTo({static_cast<double>(x), static_cast<double>(height)});
  }
  return path;
}

void strokeGrid(platform::GraphicsContext& context, platform::BezierPath path,
                const platform::AffineTransform& zoom, int grey) {
  path.transformUsingAffineTransform(zoom);
  path.setLineWidth(1);
  context.setStrokeColor(platform::Color::calibrated(grey / 255.0, grey / 255.0, grey / 255.0, 1));
  context.strokePath(path);
}

}  // namespace

void CMEditorView::drawGrid(platform::GraphicsContext& context) {
  const platform::UserDefaults& settings = CMProject::shareProject().settings();
  if (!settings.boolForKey("show_grid")) return;
  const platform::DictRef grid = settings.dictionaryForKey("grid");
  const std::int64_t spacing = grid ? grid->get("spacing").integerValue() : 0;
  const std::int64_t tickCount = grid ? grid->get("tick_count").integerValue() : 0;
  const float zoom = documentZoom();
  // A step under one unit would never advance.
  if (!readable(spacing, zoom)) return;
  const auto width = platform::saturatingTruncate<std::int64_t>(frame().size.width / zoom);
  const auto height = platform::saturatingTruncate<std::int64_t>(frame().size.height / zoom);
  const platform::AffineTransform toCanvas = zoomTransform();

  context.saveGraphicsState();
  context.setShouldAntialias(false);
  const std::int64_t minorStep = tickCount > 0 ? spacing / tickCount : 0;
  if (readable(minorStep, zoom)) {
    platform::BezierPath minor = gridLines(width, height, minorStep);
    const double dash[] = {1};
    minor.setLineDash(dash, 1, 1);
    strokeGrid(context, std::move(minor), toCanvas, 148);
  }
  strokeGrid(context, gridLines(width, height, spacing), toCanvas, 128);
  context.setShouldAntialias(true);
  context.restoreGraphicsState();
}
