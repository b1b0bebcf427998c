#pragma once

// A drop shadow as AppKit's NSShadow. Offset and blur radius are in the
// context's base (device) space whatever the CTM; a positive height moves the
// shadow up in the y-up base space. The blur is Gaussian with σ = blurRadius / 2.

#include "platform/core/geometry.h"
#include "platform/graphics/color.h"

namespace platform {

struct Shadow {
  Size offset;
  double blurRadius = 0;
  // NSShadow's default: black at one third opacity.
  Color color{0, 0, 0, 1.0 / 3.0};

  // Installs this shadow into the current graphics context until its state is restored.
  void set() const;

  friend bool operator==(const Shadow&, const Shadow&) = default;
};

}  // namespace platform
