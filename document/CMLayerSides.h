#pragma once

// A layer given sides by the user (the layer style panel's Size): the record keeps them as they were given, and a
// shape's outline is scaled to them from its own top left corner, so that what the layer shows afterwards is what
// was asked for, without cutting it to whole units.

#include "platform/core/geometry.h"
#include "platform/core/value.h"

void CMSetLayerSides(const platform::DictRef& layer, platform::Size size);
