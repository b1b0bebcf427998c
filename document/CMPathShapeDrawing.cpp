// Drawing a path shape with its fill, stroke and shadow slots, and measuring it.

#include "document/CMFill.h"
#include "document/CMPathShape.h"
#include "document/CMShadowRecord.h"
#include "document/CMShapeRecordValues.h"
#include "document/CMStroke.h"
#include "platform/graphics/affine_transform.h"
#include "platform/graphics/color.h"
#include "platform/graphics/graphics_context.h"

using platform::BezierPath;
using platform::DictRef;

namespace {

constexpr int kSlotCount = 10;

}  // namespace

platform::Rect CMPathShape::rect() const {
  const platform::Rect bounds = path_.isEmpty() ? platform::Rect{} : path_.bounds();
  const double zoom = viewZoom();
  return {bounds.origin.x * zoom, bounds.origin.y * zoom, bounds.size.width * zoom, bounds.size.height * zoom};
}

BezierPath CMPathShape::drawingPath() const {
  const platform::Rect bounds = path_.isEmpty() ? platform::Rect{} : path_.bounds();
  const double zoom = viewZoom();
  platform::AffineTransform transform;
  transform.scaleBy(zoom);
  transform.translate(-bounds.origin.x, -bounds.origin.y);  // acts before the scale
  BezierPath moved = path_;
  moved.transformUsingAffineTransform(transform);
  return moved;
}

bool CMPathShape::anySlotUsed(std::string_view base) const {
  for (int index = 0; index < kSlotCount; ++index) {
    if (usedShapeSlot(data(), shapeSlotKey(base, index))) return true;
  }
  return false;
}

bool CMPathShape::isFill() const { return anySlotUsed("fill"); }

bool CMPathShape::isShadow() const { return usedShapeSlot(data(), "shadow") != nullptr; }

void CMPathShape::shadow() const {
  const DictRef record = usedShapeSlot(data(), "shadow");
  platform::GraphicsContext* context = platform::GraphicsContext::current();
  if (!record || !context) return;
  // The offset runs down the page as the path's own y does, in the path's units, into whatever context it goes.
  context->setShadow(shadowInBaseSpace(shadowWithDictionary(record, viewZoom()), context->currentTransform()));
}

void CMPathShape::fill(const BezierPath& path) const {
  const bool withShadow = isShadow();
  for (int index = 0; index < kSlotCount; ++index) {
    if (const DictRef slot = usedShapeSlot(data(), shapeSlotKey("fill", index))) {
      CMFill::fillWithDictionary(slot).fillPath(path, withShadow);
    }
  }
}

void CMPathShape::stroke(BezierPath& path) const {
  for (int index = 0; index < kSlotCount; ++index) {
    if (const DictRef slot = usedShapeSlot(data(), shapeSlotKey("stroke", index))) {
      CMStroke::strokeWithDictionary(slot).strokePath(path, viewZoom());
    }
  }
}

void CMPathShape::draw(platform::GraphicsContext& context, const platform::Rect&) {
  BezierPath path = drawingPath();
  context.saveGraphicsState();
  shadow();
  if (isFill()) {
    fill(path);
    context.restoreGraphicsState();
    stroke(path);  // outside the saved state: only the fills cast the shadow
  } else {
    stroke(path);
    context.restoreGraphicsState();
  }
}

float CMPathShape::layerOffset() const {
  float widest = 0;
  for (int index = 0; index < kSlotCount; ++index) {
    if (const DictRef slot = usedShapeSlot(data(), shapeSlotKey("stroke", index))) {
      const float width = slot->get("lineWidth").floatValue();
      if (width > widest) widest = width;  // NaN never wins
    }
  }
  return widest * viewZoom();
}

void CMPathShape::drawFrameStroke(platform::GraphicsContext& context, const BezierPath& path) const {
  BezierPath outline = path;
  const double dash[] = {3, 3};
  outline.setLineWidth(2);
  outline.setLineDash(dash, 2, 0);
  context.setStrokeColor(platform::Color::blackColor());
  context.strokePath(outline);
  outline.setLineDash(dash, 2, 2);
  context.setStrokeColor(platform::Color::whiteColor());
  context.strokePath(outline);
}

void CMPathShape::drawFrame(platform::GraphicsContext& context, const platform::Rect&) {
  if (path_.isEmpty()) return;
  drawFrameStroke(context, drawingPath());
}
