#pragma once

// The paint of the drawing generator's current style as SVG attributes of a shape: fill (none, a colour or a
// gradient) with its opacity, and the stroke with its colour, width, opacity, caps, joins and dashes.

#include <librevenge/librevenge.h>

#include <string>

#include "io/cdr/CMSVGAttributes.h"

// Adds the paint to `attributes`. A gradient fill writes its element, in "<defs>", to `definitions` under the id
// "Gradient<counter>" and raises the counter; `prefix` is the namespace prefix with its colon, or nothing.
void appendPaint(const librevenge::RVNGPropertyList& style, const std::string& prefix, int& gradientCounter,
                 CMSVGAttributes& attributes, std::string& definitions);
