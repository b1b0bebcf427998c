// Measuring and drawing attributed strings (see attributed_string.h).

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>

#include "platform/graphics/attributed_string.h"
#include "platform/graphics/cairo_path.h"
#include "platform/graphics/graphics_context.h"
#include "platform/graphics/offscreen_image.h"
#include "platform/graphics/pango_text_layout.h"
#include "platform/graphics/text_decorations.h"

namespace platform {

namespace {

bool isUsable(const Rect& r) {
  return std::isfinite(r.origin.x) && std::isfinite(r.origin.y) && std::isfinite(r.size.width) &&
         std::isfinite(r.size.height) && r.size.width > 0 && r.size.height > 0;
}

// Pango lays text out y-down from its top-left corner. In a flipped context user space already runs so from the
// rectangle's minimum y; in an unflipped one the top is the maximum y and y must be turned over, which keeps the
// glyphs upright on the surface.
void moveToLayoutSpace(cairo_t* cr, const Rect& rect, bool flipped, double indent) {
  if (flipped) {
    cairo_translate(cr, rect.origin.x + indent, rect.origin.y);
  } else {
    cairo_translate(cr, rect.origin.x + indent, rect.origin.y + rect.size.height);
    cairo_scale(cr, 1, -1);
  }
}

// The text's size: as wide as its widest layout, as high as its layouts together.
Size textSize(const std::vector<TextLayout>& layouts) {
  Size size;
  for (const TextLayout& layout : layouts) {
    const Size own = layoutSize(layout.layout.get());
    size = {std::max(size.width, own.width), layout.top + own.height};
  }
  return size;
}

// Text in a rectangle in clipping mode is not wrapped, so Pango aligns its lines only to the widest: the whole block
// is then moved into place.
double blockIndent(const AttributedString& text, const std::vector<TextLayout>& layouts, double width,
                   bool inRectangle) {
  if (!inRectangle || paragraphStyleOf(text).lineBreakMode != LineBreakMode::Clipping) return 0;
  const double spare = width - textSize(layouts).width;
  switch (paragraphStyleOf(text).alignment) {
    case TextAlignment::Right:
      return spare;
    case TextAlignment::Center:
      return spare / 2;
    default:
      return 0;
  }
}

// Stroked runs: their glyphs' outlines, in the stroke colour (the foreground colour when none is given), with a
// line |width| / 100 of the font size wide. Called in layout space.
void strokeRuns(cairo_t* cr, const GraphicsContext& context, const AttributedString& text, const TextLayout& layout) {
  std::unique_ptr<PangoLayoutIter, decltype(&pango_layout_iter_free)> iter(pango_layout_get_iter(layout.layout.get()),
                                                                           pango_layout_iter_free);
  do {
    PangoLayoutRun* run = pango_layout_iter_get_run_readonly(iter.get());
    if (run == nullptr) continue;  // the end of a line
    const TextAttributes& attributes = text.runs()[layout.runAt(run->item->offset)].attributes;
    if (attributes.strokeWidth == 0 || !std::isfinite(attributes.strokeWidth)) continue;
    const double size = attributes.font.value_or(Font::systemFont(12)).pointSize();
    PangoRectangle logical;
    pango_layout_iter_get_run_extents(iter.get(), nullptr, &logical);
    const double baseline = static_cast<double>(pango_layout_iter_get_baseline(iter.get())) / PANGO_SCALE;
    cairo_new_path(cr);
    cairo_move_to(cr, static_cast<double>(logical.x) / PANGO_SCALE, baseline);
    pango_cairo_glyph_string_path(cr, run->item->analysis.font, run->glyphs);
    cairo_set_line_width(cr, std::abs(attributes.strokeWidth) / 100 * size);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
    context.setSource(cr, attributes.strokeColor.value_or(attributes.foregroundColor.value_or(Color::blackColor())));
    cairo_stroke(cr);
  } while (pango_layout_iter_next_run(iter.get()));
}

// Whether the largest font, scaled by the CTM, stays within what FreeType can rasterise; beyond it Cairo would enter a
// permanent error state, so such text is not drawn.
bool glyphsFit(const AttributedString& text, cairo_t* cr) {
  double largest = 0;
  for (const AttributedString::Run& run : text.runs()) {
    largest = std::max(largest, run.attributes.font.value_or(Font::systemFont(12)).pointSize());
  }
  double ux = 1, uy = 0, vx = 0, vy = 1;
  cairo_user_to_device_distance(cr, &ux, &uy);
  cairo_user_to_device_distance(cr, &vx, &vy);
  const double scale = std::max(std::hypot(ux, uy), std::hypot(vx, vy));
  return largest * scale <= Font::kLargestSize;
}

std::optional<Shadow> firstShadow(const AttributedString& text) {
  for (const AttributedString::Run& run : text.runs()) {
    if (run.attributes.shadow) return run.attributes.shadow;
  }
  return std::nullopt;
}

}  // namespace

Size AttributedString::size() const { return textSize(makeTextLayouts(*this, -1)); }

double AttributedString::baseline() const {
  const std::vector<TextLayout> layouts = makeTextLayouts(*this, -1);
  return pango_layout_get_baseline(layouts.front().layout.get()) / static_cast<double>(PANGO_SCALE);
}

void AttributedString::drawInRect(const Rect& rect) const { draw(rect, true); }

void AttributedString::drawAtPoint(Point point) const { draw({point, size()}, false); }

void AttributedString::draw(const Rect& rect, bool wrapAndClip) const {
  GraphicsContext* context = GraphicsContext::current();
  if (context == nullptr || empty() || !isUsable(rect) || !glyphsFit(*this, context->cairo())) return;
  const std::vector<TextLayout> layouts = makeTextLayouts(*this, wrapAndClip ? rect.size.width : -1);
  const double indent = blockIndent(*this, layouts, rect.size.width, wrapAndClip);
  const bool flipped = context->isFlipped();
  const std::optional<Shadow> shadow = firstShadow(*this);
  context->saveGraphicsState();
  if (shadow) context->setShadow(shadow);
  context->drawWithEffects(
      [&](cairo_t* cr) {
        cairo_save(cr);
        if (wrapAndClip) {
          cairo_rectangle(cr, rect.origin.x, rect.origin.y, rect.size.width, rect.size.height);
          cairo_clip(cr);
        }
        moveToLayoutSpace(cr, rect, flipped, indent);
        for (const TextLayout& layout : layouts) {
          cairo_save(cr);
          cairo_translate(cr, 0, layout.top);
          cairo_move_to(cr, 0, 0);
          pango_cairo_show_layout(cr, layout.layout.get());
          strokeRuns(cr, *context, *this, layout);
          drawTextDecorations(cr, *context, *this, layout);
          cairo_restore(cr);
        }
        cairo_restore(cr);
      },
      // Glyphs may reach past their logical box (italics, strokes): the bounds are generous when not clipped.
      wrapAndClip ? std::optional<Rect>(rect) : std::nullopt);
  context->restoreGraphicsState();
}

BezierPath AttributedString::glyphOutlines(const Rect& rect, bool flipped) const {
  if (empty() || !isUsable(rect)) return BezierPath();
  const std::vector<TextLayout> layouts = makeTextLayouts(*this, rect.size.width);
  const double indent = blockIndent(*this, layouts, rect.size.width, true);
  // Unbounded: Pango leaves out glyphs that lie outside a surface of bounded extents.
  const CairoSurfacePtr scratch(cairo_recording_surface_create(CAIRO_CONTENT_ALPHA, nullptr));
  const CairoContextPtr cr(cairo_create(scratch.get()));
  // Cairo keeps the path in device space, here the caller's user space, so it reads back unflipped once the
  // transform is restored.
  for (const TextLayout& layout : layouts) {
    cairo_save(cr.get());
    moveToLayoutSpace(cr.get(), rect, flipped, indent);
    cairo_translate(cr.get(), 0, layout.top);
    // No current point: the layout starts at its origin, and no stray move joins the path.
    cairo_new_sub_path(cr.get());
    pango_cairo_layout_path(cr.get(), layout.layout.get());
    cairo_restore(cr.get());
  }
  return bezierPathFromCairo(cr.get());
}

}  // namespace platform
