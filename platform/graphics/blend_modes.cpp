#include "platform/graphics/blend_modes.h"

namespace platform {

BlendMode blendModeFromValue(long long value) {
  if (value < 0 || value > static_cast<long long>(BlendMode::PlusLighter)) return BlendMode::Normal;
  return static_cast<BlendMode>(value);
}

std::optional<cairo_operator_t> cairoOperator(BlendMode mode) {
  switch (mode) {
    case BlendMode::Normal:
      return CAIRO_OPERATOR_OVER;
    case BlendMode::Multiply:
      return CAIRO_OPERATOR_MULTIPLY;
    case BlendMode::Screen:
      return CAIRO_OPERATOR_SCREEN;
    case BlendMode::Overlay:
      return CAIRO_OPERATOR_OVERLAY;
    case BlendMode::Darken:
      return CAIRO_OPERATOR_DARKEN;
    case BlendMode::Lighten:
      return CAIRO_OPERATOR_LIGHTEN;
    case BlendMode::ColorDodge:
      return CAIRO_OPERATOR_COLOR_DODGE;
    case BlendMode::ColorBurn:
      return CAIRO_OPERATOR_COLOR_BURN;
    case BlendMode::SoftLight:
      return CAIRO_OPERATOR_SOFT_LIGHT;
    case BlendMode::HardLight:
      return CAIRO_OPERATOR_HARD_LIGHT;
    case BlendMode::Difference:
      return CAIRO_OPERATOR_DIFFERENCE;
    case BlendMode::Exclusion:
      return CAIRO_OPERATOR_EXCLUSION;
    case BlendMode::Hue:
      return CAIRO_OPERATOR_HSL_HUE;
    case BlendMode::Saturation:
      return CAIRO_OPERATOR_HSL_SATURATION;
    case BlendMode::Color:
      return CAIRO_OPERATOR_HSL_COLOR;
    case BlendMode::Luminosity:
      return CAIRO_OPERATOR_HSL_LUMINOSITY;
    case BlendMode::Clear:
      return CAIRO_OPERATOR_CLEAR;
    case BlendMode::Copy:
      return CAIRO_OPERATOR_SOURCE;
    case BlendMode::SourceIn:
      return CAIRO_OPERATOR_IN;
    case BlendMode::SourceOut:
      return CAIRO_OPERATOR_OUT;
    case BlendMode::SourceAtop:
      return CAIRO_OPERATOR_ATOP;
    case BlendMode::DestinationOver:
      return CAIRO_OPERATOR_DEST_OVER;
    case BlendMode::DestinationIn:
      return CAIRO_OPERATOR_DEST_IN;
    case BlendMode::DestinationOut:
      return CAIRO_OPERATOR_DEST_OUT;
    case BlendMode::DestinationAtop:
      return CAIRO_OPERATOR_DEST_ATOP;
    case BlendMode::Xor:
      return CAIRO_OPERATOR_XOR;
    case BlendMode::PlusDarker:
      return std::nullopt;
    case BlendMode::PlusLighter:
      return CAIRO_OPERATOR_ADD;
  }
  return CAIRO_OPERATOR_OVER;
}

}  // namespace platform
