#pragma once

// Shadow style records: "offset_x", "offset_y" and "blurRadius" in document units at
// zoom 1, "alpha" (1 when absent) and the colour record "color", whose own "a" is ignored.
// Whether the shadow is drawn at all ("use") is the caller's business.

#include "platform/core/value.h"
#include "platform/graphics/shadow.h"

// Offset and blur radius scaled by the zoom. A null record gives an unblurred opaque black shadow with no offset.
platform::Shadow shadowWithDictionary(const platform::DictRef& record, float zoom);
