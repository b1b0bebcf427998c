// Drawing a text layer: the text is rendered into an image of its measured size at the zoom, fill
// first and then the outline over it, and that image is placed in the layer's rectangle, casting the
// shadow of the text style as one.

#include <cmath>

#include "document/CMShadowRecord.h"
#include "document/CMShapeRecordValues.h"
#include "document/CMTextLayer.h"
#include "platform/graphics/attributed_string.h"
#include "platform/graphics/graphics_context.h"
#include "platform/graphics/image.h"

void CMTextLayer::drawL(platform::GraphicsContext& context, const platform::Rect& rect) {
  if (!(zoom_ > 0) || !std::isfinite(zoom_)) return;
  // The image and the text draw into the current context, which must be this one.
  const platform::CurrentContextScope current(context);
  // The flip and the clip stay inside this save so the caller's state is untouched.
  context.saveGraphicsState();
  // The shadow falls down the page as a shape's does, in the text's units, and reaches past the frame the text is
  // clipped to: the text and its outline are one group, which casts it once, unclipped.
  const platform::DictRef shadow = usedShapeSlot(style(), "shadow");
  if (shadow) {
    context.setShadow(shadowInBaseSpace(shadowWithDictionary(shadow, zoom_), context.currentTransform()));
    context.beginTransparencyLayer();
  }
  context.translateCTM(0, rect.size.height);
  context.scaleCTM(1, -1);
  clipToOutline(context);
  context.scaleCTM(zoom_, zoom_);
  const platform::Rect scaled{rect.origin.x / zoom_, rect.origin.y / zoom_, rect.size.width / zoom_,
                              rect.size.height / zoom_};

  const auto drawText = [&](const platform::Rect& textRect) {
    platform::TextAttributes fill = textAttributes(false);
    fill.shadow.reset();
    platform::AttributedString(text_, fill).drawInRect(textRect);
    platform::TextAttributes outline = textAttributes(true);
    outline.shadow.reset();
    if (outline.strokeWidth == 0 || !std::isfinite(outline.strokeWidth)) return;
    // The outline alone: filled twice, a translucent colour would come out darker than it is.
    outline.strokeWidth = std::fabs(outline.strokeWidth);
    platform::AttributedString(text_, outline).drawInRect(textRect);
  };
  // The text is laid out in its measured size at every zoom, which only magnifies it: laid out in a zoomed size it
  // would wrap and be cut off below 100 %.
  const platform::Rect placed{scaled.origin.x, scaled.origin.y + scaled.size.height - textSize_.height,
                              textSize_.width, textSize_.height};
  if (context.drawsVectors()) {
    // A page takes the text itself: it stays text that can be found, copied and printed sharp.
    drawText(placed);
  } else {
    // A pixel of the picture for each unit the zoom gives the text.
    platform::Image textImage({textSize_.width * zoom_, textSize_.height * zoom_});
    textImage.lockFocus();
    if (platform::GraphicsContext* imageContext = platform::GraphicsContext::current())
      imageContext->scaleCTM(zoom_, zoom_);
    drawText({{0, 0}, textSize_});
    textImage.unlockFocus();
    textImage.drawInRect(placed, {}, platform::CompositingOperation::SourceOver, 1);
  }
  if (shadow) context.endTransparencyLayer();
  context.restoreGraphicsState();
}
