#include "platform/graphics/compositing_operation.h"

#include <array>

namespace platform {

BlendMode blendModeFor(CompositingOperation operation) {
  static constexpr std::array<BlendMode, 29> modes{
      BlendMode::Clear,           BlendMode::Copy,          BlendMode::Normal,
      BlendMode::SourceIn,        BlendMode::SourceOut,     BlendMode::SourceAtop,
      BlendMode::DestinationOver, BlendMode::DestinationIn, BlendMode::DestinationOut,
      BlendMode::DestinationAtop, BlendMode::Xor,           BlendMode::PlusDarker,
      BlendMode::Normal,          BlendMode::PlusLighter,   BlendMode::Multiply,
      BlendMode::Screen,          BlendMode::Overlay,       BlendMode::Darken,
      BlendMode::Lighten,         BlendMode::ColorDodge,    BlendMode::ColorBurn,
      BlendMode::SoftLight,       BlendMode::HardLight,     BlendMode::Difference,
      BlendMode::Exclusion,       BlendMode::Hue,           BlendMode::Saturation,
      BlendMode::Color,           BlendMode::Luminosity};
  const auto index = static_cast<int>(operation);
  if (index < 0 || index >= static_cast<int>(modes.size())) return BlendMode::Normal;
  return modes[index];
}

}  // namespace platform
