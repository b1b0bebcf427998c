#pragma once

// The attributes of a run of text, as NSAttributedString's attribute dictionary and NSParagraphStyle hold them.

#include <optional>

#include "platform/graphics/color.h"
#include "platform/graphics/font.h"
#include "platform/graphics/shadow.h"

namespace platform {

// NSUnderlineStyle: a line style in the low byte (any other non-zero value draws single), a pattern in bits 8–10,
// "by word" (skipping the spaces between words) in bit 15. Strike-through takes the same values.
namespace underline {
inline constexpr int kNone = 0;
inline constexpr int kSingle = 0x01;
inline constexpr int kThick = 0x02;
inline constexpr int kDouble = 0x09;
inline constexpr int kPatternDot = 0x0100;
inline constexpr int kPatternDash = 0x0200;
inline constexpr int kPatternDashDot = 0x0300;
inline constexpr int kPatternDashDotDot = 0x0400;
inline constexpr int kByWord = 0x8000;
}  // namespace underline

// NSTextAlignment values.
enum class TextAlignment : int { Left = 0, Right = 1, Center = 2, Justified = 3, Natural = 4 };

// NSLineBreakMode values.
enum class LineBreakMode : int {
  WordWrapping = 0,
  CharWrapping = 1,
  Clipping = 2,
  TruncatingHead = 3,
  TruncatingTail = 4,
  TruncatingMiddle = 5
};

struct ParagraphStyle {
  TextAlignment alignment = TextAlignment::Natural;
  LineBreakMode lineBreakMode = LineBreakMode::WordWrapping;
  friend bool operator==(const ParagraphStyle&, const ParagraphStyle&) = default;
};

// An attribute left empty is absent, as a key missing from the dictionary: the defaults are AppKit's (the system
// font at 12 points, black text, no background, the stroke in the foreground colour).
struct TextAttributes {
  std::optional<Font> font;
  std::optional<Color> foregroundColor;
  std::optional<Color> backgroundColor;  // behind each line's glyphs
  int underlineStyle = underline::kNone;
  int strikethroughStyle = underline::kNone;
  // Percent of the font size: > 0 strokes the outline only, < 0 fills and strokes; the line is |w| / 100 · size wide.
  double strokeWidth = 0;
  std::optional<Color> strokeColor;
  std::optional<Shadow> shadow;
  // Applies to whole paragraphs: the first run's is used for the text.
  std::optional<ParagraphStyle> paragraphStyle;
};

}  // namespace platform
