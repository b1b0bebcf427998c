#include "geometry/half_strokes.h"

#include "geometry/inverse_clip.h"
#include "platform/graphics/graphics_context.h"
#include "platform/graphics/rect_functions.h"

using platform::BezierPath;
using platform::GraphicsContext;
using platform::Rect;

namespace {

enum class Side { Inside, Outside };

void strokeOneSide(const BezierPath& path, const Rect& rect, Side side) {
  GraphicsContext* context = GraphicsContext::current();
  if (!context) return;
  BezierPath doubled = path;
  doubled.setLineWidth(2 * path.lineWidth());
  context->saveGraphicsState();
  if (side == Side::Inside) {
    context->clipToPath(path);
  } else {
    addInverseClip(path);
  }
  if (!platform::isEmptyRect(rect)) context->clipToRect(rect);
  context->strokePath(doubled);
  context->restoreGraphicsState();
}

}  // namespace

void strokeInsideWithinRect(const BezierPath& path, const Rect& rect) { strokeOneSide(path, rect, Side::Inside); }

void strokeOutsideWithinRect(const BezierPath& path, const Rect& rect) { strokeOneSide(path, rect, Side::Outside); }

void strokeInside(const BezierPath& path) { strokeInsideWithinRect(path, Rect{}); }

void strokeOutside(const BezierPath& path) { strokeOutsideWithinRect(path, Rect{}); }
