#include "document/CMRectShape.h"

void CMRectShape::recordToolOptions() {
  if (data()->contains("round")) recordProfileOption("round_width");
}

platform::BezierPath CMRectShape::createSimplePath() {
  const float radius = data()->contains("round") ? static_cast<float>(data()->get("round_width").intValue()) : 0.0f;
  return platform::BezierPath::roundedRect(frame(), radius, radius);
}
