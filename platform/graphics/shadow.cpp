#include "platform/graphics/shadow.h"

#include "platform/graphics/graphics_context.h"

namespace platform {

void Shadow::set() const {
  if (GraphicsContext* context = GraphicsContext::current()) context->setShadow(*this);
}

}  // namespace platform
