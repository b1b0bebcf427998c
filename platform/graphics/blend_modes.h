#pragma once

// Quartz blend modes (CGBlendMode values 0–27) and their Cairo counterparts.
// Plus-darker has no Cairo operator; the graphics context composites it by hand
// (see plus_darker.h).

#include <cairo.h>

#include <optional>

namespace platform {

enum class BlendMode : int {
  Normal = 0,
  Multiply = 1,
  Screen = 2,
  Overlay = 3,
  Darken = 4,
  Lighten = 5,
  ColorDodge = 6,
  ColorBurn = 7,
  SoftLight = 8,
  HardLight = 9,
  Difference = 10,
  Exclusion = 11,
  Hue = 12,
  Saturation = 13,
  Color = 14,
  Luminosity = 15,
  Clear = 16,
  Copy = 17,
  SourceIn = 18,
  SourceOut = 19,
  SourceAtop = 20,
  DestinationOver = 21,
  DestinationIn = 22,
  DestinationOut = 23,
  DestinationAtop = 24,
  Xor = 25,
  PlusDarker = 26,
  PlusLighter = 27,
};

// Stored values from documents may be anything: unknown ones draw as Normal.
BlendMode blendModeFromValue(long long value);

// The Cairo operator for a mode; nullopt for PlusDarker.
std::optional<cairo_operator_t> cairoOperator(BlendMode mode);

}  // namespace platform
