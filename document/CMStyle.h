#pragma once

// Shared interface styles of the status bar, the document tabs and the separator lines.

#include "document/CMTextAttributes.h"

class CMStyle {
 public:
  CMStyle() = delete;

  // The default paragraph style with the given alignment; no font.
  static CMTextAttributes textAttributes(CMTextAlignment alignment);
  // Centred titles in the system font of size 12, cut at the tail when asked to.
  static CMTextAttributes textAttributesForDocumentTabs(bool truncate);
  // Device white 130/255, opaque.
  static CMDeviceColor lineColor();
};
