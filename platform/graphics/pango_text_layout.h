#pragma once

// The Pango layout of an attributed string: text and attribute list, font, alignment and line breaking, on a Pango
// context with unhinted metrics so that sizes do not depend on the CTM or the device. Main thread only.

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
  std::vector<int> runStarts;  // byte offset of each run of the string in the layout's text

  // The index of the string's run holding the byte at `offset`.
  std::size_t runAt(int offset) const;
};

// The paragraph style in force: the first run's, else the default.
ParagraphStyle paragraphStyleOf(const AttributedString& text);

// `wrapWidth` in user units; negative lays every paragraph on one line (measuring, drawing at a point, clipping mode).
TextLayout makeTextLayout(const AttributedString& text, double wrapWidth);

}  // namespace platform
