#pragma once

// Shadow style records: "offset_x", "offset_y" and "blurRadius" in document units at
// zoom 1, "alpha" (1 when absent) and the colour record "color", whose own "a" is ignored.
// Whether the shadow is drawn at all ("use") is the caller's business.

#include "platform/core/value.h"
#include "platform/graphics/affine_transform.h"
#include "platform/graphics/shadow.h"

// Offset and blur radius scaled by the zoom. A null record gives an unblurred opaque black shadow with no offset.
platform::Shadow shadowWithDictionary(const platform::DictRef& record, float zoom);

// A shadow whose offset and blur radius are lengths of the user space that `userToBase` maps onto the context's base
// space, as the context takes it (offset and blur in base units). A drawing's shadow is part of the drawing: it has to
// lie and spread on the page as the drawing does, whether the drawing goes into a picture at some resolution, the
// right way up or upside down, or straight onto a page.
platform::Shadow shadowInBaseSpace(platform::Shadow shadow, const platform::AffineTransform& userToBase);
