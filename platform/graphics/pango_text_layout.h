#pragma once

// The Pango layouts of an attributed string: text and attribute list, font, alignment and line breaking, on a Pango
// context with unhinted metrics so that sizes do not depend on the CTM or the device. Pango breaks the lines of a
// layout in time that grows with the square of its paragraphs, so a text of many paragraphs is laid out in blocks of
// them, one below the other, drawn as one layout would draw them. Main thread only.

#include <pango/pango.h>

#include <memory>
#include <vector>

#include "platform/graphics/attributed_string.h"

namespace platform {

struct GObjectUnref {
  void operator()(gpointer object) const { g_object_unref(object); }
};

struct TextLayout {
  std::unique_ptr<PangoLayout, GObjectUnref> layout;
  // The byte offset of each run of the string in the string's text, shared by its layouts.
  std::shared_ptr<const std::vector<int>> runStarts;
  // The byte offset of the layout's text in the string's.
  int start = 0;
  // How far the layout's top lies below the text's, in user units.
  double top = 0;

  // The index of the string's run holding the layout's byte at `offset`.
  std::size_t runAt(int offset) const;
};

// The paragraph style in force: the first run's, else the default.
ParagraphStyle paragraphStyleOf(const AttributedString& text);

// The most paragraphs one layout holds.
inline constexpr std::size_t kParagraphsPerLayout = 64;

// `wrapWidth` in user units; negative lays every paragraph on one line (measuring, drawing at a point, clipping mode),
// aligned within the widest. At least one layout, for an empty text too.
std::vector<TextLayout> makeTextLayouts(const AttributedString& text, double wrapWidth);

// The logical size of a layout, in user units.
Size layoutSize(PangoLayout* layout);

}  // namespace platform
