#pragma once

// AppKit's NSCompositingOperation values, as image drawing takes them, and the blend mode each one is.

#include "platform/graphics/blend_modes.h"

namespace platform {

enum class CompositingOperation : int {
  Clear = 0,
  Copy = 1,
  SourceOver = 2,
  SourceIn = 3,
  SourceOut = 4,
  SourceAtop = 5,
  DestinationOver = 6,
  DestinationIn = 7,
  DestinationOut = 8,
  DestinationAtop = 9,
  Xor = 10,
  PlusDarker = 11,
  Highlight = 12,  // long deprecated: source-over
  PlusLighter = 13,
  Multiply = 14,
  Screen = 15,
  Overlay = 16,
  Darken = 17,
  Lighten = 18,
  ColorDodge = 19,
  ColorBurn = 20,
  SoftLight = 21,
  HardLight = 22,
  Difference = 23,
  Exclusion = 24,
  Hue = 25,
  Saturation = 26,
  Color = 27,
  Luminosity = 28,
};

// Values outside the list draw as source-over.
BlendMode blendModeFor(CompositingOperation operation);

}  // namespace platform
