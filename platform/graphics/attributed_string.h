#pragma once

// Text with attributes as AppKit's NSAttributedString: a sequence of runs, each a piece of UTF-8 text with its
// attributes, measured and drawn through Pango into the current graphics context.

#include <string>
#include <vector>

#include "platform/core/geometry.h"
#include "platform/graphics/bezier_path.h"
#include "platform/graphics/text_attributes.h"

namespace platform {

class AttributedString {
 public:
  struct Run {
    std::string text;
    TextAttributes attributes;
  };

  AttributedString() = default;
  explicit AttributedString(std::string text, TextAttributes attributes = {});

  // Adds a run; empty text adds nothing. Invalid UTF-8 is drawn as replacement characters.
  void append(std::string text, TextAttributes attributes);
  void append(const AttributedString& other);

  const std::vector<Run>& runs() const { return runs_; }
  std::string string() const;
  bool empty() const { return runs_.empty(); }

  // size: the text unwrapped, as wide as its widest line and as high as its lines together. An empty string is
  // zero wide and one line of the default font high.
  Size size() const;
  // How far below the text's top its first line's baseline lies, laid out as size: and drawInRect: lay it out.
  double baseline() const;

  // drawInRect: into the current graphics context (nothing without one): lines from the rectangle's top down,
  // wrapped at its width (or truncated, by the line-break mode), clipped to it, aligned by the paragraph style.
  // Glyphs stand upright whether the context is flipped or not, as AppKit draws them: the rectangle's top is its
  // maximum y in an unflipped context and its minimum y in a flipped one. Shadows: the context's, or the first
  // run's shadow attribute in its place.
  void drawInRect(const Rect& rect) const;
  // drawAtPoint: unwrapped and unclipped, the text's top-left corner at the point in a flipped context and its
  // bottom-left corner there in an unflipped one.
  void drawAtPoint(Point point) const;

  // The glyph outlines (without underlines and strike-throughs) as drawInRect: would place them, in the same user
  // space, for a flipped or an unflipped context.
  BezierPath glyphOutlines(const Rect& rect, bool flipped) const;

 private:
  void draw(const Rect& rect, bool wrapAndClip) const;

  std::vector<Run> runs_;
};

}  // namespace platform
