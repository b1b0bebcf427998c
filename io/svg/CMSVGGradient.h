#pragma once

// An SVG gradient definition put into a gradient record of the drawing: its stops (colours read as fills read
// them, opacities kept, offsets clamped and never decreasing) and its geometry. A linear gradient's line, through
// "gradientUnits", "gradientTransform" and the element's transform, becomes a line at an angle on the page (type
// 2), which holds any affine picture of it; a radial gradient keeps its centre and radius. A definition takes what
// it lacks from the gradients its "xlink:href" leads to, as SVG inherits: stops from any gradient, the geometry
// from one of its own kind.

#include <string_view>

#include "platform/core/geometry.h"
#include "platform/core/value.h"
#include "platform/graphics/affine_transform.h"

struct CMSVGGradientPlacement {
  // The element's bounds in its own coordinates, which "objectBoundingBox" units measure.
  platform::Rect elementBox;
  // From the element's coordinates to the page's.
  platform::AffineTransform transform;
  // The box on the page the drawing lays the gradient into.
  platform::Rect pageBox;
  // What percentages of "userSpaceOnUse" units are taken of.
  platform::Size viewport;
};

// The finished definition whose "id" is `id`; null when there is none.
platform::DictRef findSVGGradient(const platform::ArrayRef& gradients, std::string_view id);

// Writes "markers", "type" and the geometry of `definition` into the gradient record.
void applySVGGradient(const platform::DictRef& definition, const platform::ArrayRef& gradients,
                      const platform::DictRef& record, const CMSVGGradientPlacement& placement);

// The colour record halfway along the definition's stops, for what holds one colour only (a text).
platform::DictRef SVGGradientMiddleColor(const platform::DictRef& definition, const platform::ArrayRef& gradients);
