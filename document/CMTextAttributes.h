#pragma once

// Plain descriptions of text attributes and colours for interface text, kept
// free of any toolkit so that the model stays buildable without a display. The
// numeric values are AppKit's, which stored records and settings carry.

#include <cstdint>
#include <optional>
#include <string>

enum class CMTextAlignment : std::int32_t { Left = 0, Right = 1, Center = 2, Justified = 3, Natural = 4 };

enum class CMLineBreakMode : std::int32_t {
  WordWrapping = 0,
  CharWrapping = 1,
  Clipping = 2,
  TruncatingHead = 3,
  TruncatingTail = 4,
  TruncatingMiddle = 5,
};

struct CMParagraphStyle {
  CMTextAlignment alignment = CMTextAlignment::Natural;
  CMLineBreakMode lineBreakMode = CMLineBreakMode::WordWrapping;
  friend bool operator==(const CMParagraphStyle&, const CMParagraphStyle&) = default;
};

struct CMFontDescription {
  std::string family;  // empty: the system font
  double size = 0;
  friend bool operator==(const CMFontDescription&, const CMFontDescription&) = default;
};

struct CMTextAttributes {
  CMParagraphStyle paragraphStyle;
  std::optional<CMFontDescription> font;
  friend bool operator==(const CMTextAttributes&, const CMTextAttributes&) = default;
};

// Device RGB components from 0 to 1.
struct CMDeviceColor {
  double red = 0;
  double green = 0;
  double blue = 0;
  double alpha = 1;
  friend bool operator==(const CMDeviceColor&, const CMDeviceColor&) = default;
};
