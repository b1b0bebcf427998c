#include "platform/graphics/stroke_style.h"

namespace platform {

StrokeStyle StrokeStyle::of(const BezierPath& path) {
  const LineDash& dash = path.lineDash();
  return {path.lineWidth(), path.lineCapStyle(), path.lineJoinStyle(), path.miterLimit(), dash.pattern, dash.phase};
}

}  // namespace platform
