#include "platform/graphics/text_decorations.h"

#include <pango/pangocairo.h>

#include <cmath>
#include <utility>
#include <vector>

namespace platform {

namespace {

constexpr double kUnit = PANGO_SCALE;

// The horizontal spans of a layout run to decorate: all of it, or (by word) the glyphs that are not white space.
std::vector<std::pair<double, double>> spans(PangoLayoutRun* run, const char* text, double x, bool byWord) {
  std::vector<std::pair<double, double>> result;
  bool open = false;
  for (int i = 0; i < run->glyphs->num_glyphs; ++i) {
    const double width = run->glyphs->glyphs[i].geometry.width / kUnit;
    const char* character = text + run->item->offset + run->glyphs->log_clusters[i];
    const bool skip = byWord && g_unichar_isspace(g_utf8_get_char(character));
    if (!skip) {
      if (open) {
        result.back().second = x + width;
      } else {
        result.emplace_back(x, x + width);
      }
    }
    open = !skip;
    x += width;
  }
  return result;
}

// The dash of a pattern, in multiples of the line width; empty for a solid line.
std::vector<double> dashFor(int style, double lineWidth) {
  std::vector<double> units;
  switch (style & 0x0f00) {
    case underline::kPatternDot:
      units = {1, 1};
      break;
    case underline::kPatternDash:
      units = {4, 2};
      break;
    case underline::kPatternDashDot:
      units = {4, 2, 1, 2};
      break;
    case underline::kPatternDashDotDot:
      units = {4, 2, 1, 2, 1, 2};
      break;
    default:
      break;
  }
  for (double& unit : units) unit *= lineWidth;
  return units;
}

// One decoration at `offset` below the baseline (negative: above), in the style's weight and pattern: single lines
// are `thickness` wide, thick ones twice that, double ones two single lines a thickness apart.
void drawLine(cairo_t* cr, const std::vector<std::pair<double, double>>& where, double baseline, double offset,
              double thickness, int style) {
  const int kind = style & 0xff;
  if (kind == underline::kNone) return;
  const double width = kind == underline::kThick ? 2 * thickness : thickness;
  std::vector<double> centres{baseline + offset + width / 2};
  if (kind == underline::kDouble) centres.push_back(centres.front() + 2 * thickness);
  const std::vector<double> dash = dashFor(style, width);
  cairo_set_dash(cr, dash.data(), static_cast<int>(dash.size()), 0);
  cairo_set_line_width(cr, width);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
  for (const double y : centres) {
    for (const auto& [x0, x1] : where) {
      cairo_move_to(cr, x0, y);
      cairo_line_to(cr, x1, y);
    }
  }
  cairo_stroke(cr);
}

}  // namespace

void drawTextDecorations(cairo_t* cr, const GraphicsContext& context, const AttributedString& text,
                         const TextLayout& layout) {
  const char* characters = pango_layout_get_text(layout.layout.get());
  std::unique_ptr<PangoLayoutIter, decltype(&pango_layout_iter_free)> iter(pango_layout_get_iter(layout.layout.get()),
                                                                           pango_layout_iter_free);
  cairo_save(cr);
  do {
    PangoLayoutRun* run = pango_layout_iter_get_run_readonly(iter.get());
    if (run == nullptr) continue;  // the end of a line
    const TextAttributes& attributes = text.runs()[layout.runAt(run->item->offset)].attributes;
    if ((attributes.underlineStyle & 0xff) == 0 && (attributes.strikethroughStyle & 0xff) == 0) continue;
    const std::unique_ptr<PangoFontMetrics, decltype(&pango_font_metrics_unref)> metrics(
        pango_font_get_metrics(run->item->analysis.font, nullptr), pango_font_metrics_unref);
    const double size = attributes.font.value_or(Font::systemFont(12)).pointSize();
    // A font that gives no thickness gets a fourteenth of its size.
    auto thickness = [&](int value) { return value > 0 ? value / kUnit : size / 14; };
    PangoRectangle logical;
    pango_layout_iter_get_run_extents(iter.get(), nullptr, &logical);
    const double baseline = pango_layout_iter_get_baseline(iter.get()) / kUnit;
    context.setSource(cr, attributes.foregroundColor.value_or(Color::blackColor()));
    // Pango's positions are heights above the baseline, and layout space runs down.
    drawLine(cr, spans(run, characters, logical.x / kUnit, attributes.underlineStyle & underline::kByWord), baseline,
             -pango_font_metrics_get_underline_position(metrics.get()) / kUnit,
             thickness(pango_font_metrics_get_underline_thickness(metrics.get())), attributes.underlineStyle);
    const double strikeThickness = thickness(pango_font_metrics_get_strikethrough_thickness(metrics.get()));
    drawLine(cr, spans(run, characters, logical.x / kUnit, attributes.strikethroughStyle & underline::kByWord),
             baseline, -pango_font_metrics_get_strikethrough_position(metrics.get()) / kUnit - strikeThickness / 2,
             strikeThickness, attributes.strikethroughStyle);
  } while (pango_layout_iter_next_run(iter.get()));
  cairo_restore(cr);
}

}  // namespace platform
