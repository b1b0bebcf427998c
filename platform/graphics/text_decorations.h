#pragma once

// Underlines and strike-throughs, drawn from the fonts' metrics rather than by Pango, which knows neither thick nor
// patterned lines nor lines that skip the spaces between words.

#include <cairo.h>

#include "platform/graphics/attributed_string.h"
#include "platform/graphics/graphics_context.h"
#include "platform/graphics/pango_text_layout.h"

namespace platform {

// Draws the decorations of every run of `layout` in the run's foreground colour; `cr` is in layout space (y down,
// the layout's top-left at the origin).
void drawTextDecorations(cairo_t* cr, const GraphicsContext& context, const AttributedString& text,
                         const TextLayout& layout);

}  // namespace platform
