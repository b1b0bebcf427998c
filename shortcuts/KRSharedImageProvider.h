#pragma once

// The recorder's small images, drawn in code once and kept for the process:
// "KRSnapback" (the white arrow that ends recording) and the remove button in
// its three looks, "KRRemoveShortcut", "KRRemoveShortcutRollover" and
// "KRRemoveShortcutPressed". All are 14 × 14 points.

#include <string_view>

#include "platform/graphics/image.h"

class KRSharedImageProvider {
 public:
  // Null for a name it does not draw.
  static const platform::Image* supportingImageWithName(std::string_view name);
};
