#include "document/CMInnerShadow.h"

#include <cmath>

#include "platform/graphics/affine_transform.h"
#include "platform/graphics/graphics_context.h"
#include "platform/graphics/rect_functions.h"

void fillWithInnerShadow(const platform::BezierPath& path, const platform::Shadow& shadow) {
  platform::GraphicsContext* context = platform::GraphicsContext::current();
  if (!context) return;
  const double dx = shadow.offset.width, dy = shadow.offset.height;
  const platform::Rect frameBox =
      platform::insetRect(path.bounds(), -(std::abs(dx) + shadow.blurRadius), -(std::abs(dy) + shadow.blurRadius));
  const double shift = frameBox.size.height;

  platform::BezierPath frame = platform::BezierPath::rect(frameBox);
  frame.setWindingRule(platform::WindingRule::EvenOdd);
  frame.appendPath(path);
  platform::AffineTransform away;
  away.translate(0, context->isFlipped() ? shift : -shift);
  frame.transformUsingAffineTransform(away);

  platform::Shadow pulledBack = shadow;
  pulledBack.offset = {dx, shift + dy};

  context->saveGraphicsState();
  context->clipToPath(path);
  context->setShadow(pulledBack);
  context->setFillColor(platform::Color::blackColor());
  context->fillPath(frame);
  context->restoreGraphicsState();
}
