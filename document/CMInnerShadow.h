#pragma once

// The inner shadow of the HUD window buttons: a shadow cast into a path from outside it.

#include "platform/graphics/bezier_path.h"
#include "platform/graphics/shadow.h"

// Paints the shadow of a frame around the path, cut out by the path, inside the path, in
// the current graphics context. The frame is drawn a box-height away (below in the
// coordinates' own sense) with the shadow offset pulled back by the same amount, so only
// the shadow lands, offset by the shadow's own offset. The context's state is restored.
void fillWithInnerShadow(const platform::BezierPath& path, const platform::Shadow& shadow);
