#include "platform/graphics/pango_text_layout.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "platform/core/numeric.h"

namespace platform {

namespace {

PangoContext* sharedContext() {
  static const std::unique_ptr<PangoContext, GObjectUnref> context = [] {
    std::unique_ptr<PangoContext, GObjectUnref> made(pango_font_map_create_context(pango_cairo_font_map_get_default()));
    cairo_font_options_t* options = cairo_font_options_create();
    // Hinted metrics would snap advances to whole device pixels at the CTM in force, and sizes would change with it.
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    pango_cairo_context_set_font_options(made.get(), options);
    cairo_font_options_destroy(options);
    // Pango would otherwise round every glyph position to a whole unit.
    pango_context_set_round_glyph_positions(made.get(), false);
    return made;
  }();
  return context.get();
}

guint16 channel16(double component) { return saturatingTruncate<guint16>(std::round(component * 65535)); }

// Pango reads an alpha of 0 as "not set" (opaque), so the faintest it can be told is 1 / 65535: invisible at 8 bits.
guint16 alpha16(double alpha) { return std::max<guint16>(1, channel16(alpha)); }

void insert(PangoAttrList* list, PangoAttribute* attribute, int start, int end) {
  attribute->start_index = static_cast<guint>(start);
  attribute->end_index = static_cast<guint>(end);
  pango_attr_list_insert(list, attribute);
}

// Font and colours; decorations are drawn separately (text_decorations.h).
void addRunAttributes(PangoAttrList* list, int start, int end, const TextAttributes& a) {
  const Font font = a.font.value_or(Font::systemFont(12));
  insert(list, pango_attr_font_desc_new(font.description()), start, end);
  const Color foreground = a.foregroundColor.value_or(Color::blackColor());
  insert(list,
         pango_attr_foreground_new(channel16(foreground.red()), channel16(foreground.green()),
                                   channel16(foreground.blue())),
         start, end);
  // Outline-only text (positive stroke width) leaves the fill out.
  const double fillAlpha = a.strokeWidth > 0 ? 0 : foreground.alpha();
  insert(list, pango_attr_foreground_alpha_new(alpha16(fillAlpha)), start, end);
  if (a.backgroundColor && a.backgroundColor->alpha() > 0) {
    const Color& b = *a.backgroundColor;
    insert(list, pango_attr_background_new(channel16(b.red()), channel16(b.green()), channel16(b.blue())), start, end);
    insert(list, pango_attr_background_alpha_new(alpha16(b.alpha())), start, end);
  }
}

// Valid UTF-8 without NUL bytes, which Pango would take as the end of the text.
std::string cleanText(std::string text) {
  std::replace(text.begin(), text.end(), '\0', ' ');
  const std::unique_ptr<gchar, decltype(&g_free)> valid(
      g_utf8_make_valid(text.data(), static_cast<gssize>(text.size())), g_free);
  return valid.get();
}

// Alignment and line breaking by the paragraph style; `wrapWidth` negative lays every paragraph on one line.
void setLineBreaking(PangoLayout* layout, const ParagraphStyle& style, double wrapWidth) {
  switch (style.alignment) {
    case TextAlignment::Right:
      pango_layout_set_alignment(layout, PANGO_ALIGN_RIGHT);
      break;
    case TextAlignment::Center:
      pango_layout_set_alignment(layout, PANGO_ALIGN_CENTER);
      break;
    case TextAlignment::Justified:
      pango_layout_set_justify(layout, true);
      [[fallthrough]];
    case TextAlignment::Left:
    case TextAlignment::Natural:
      // With the paragraph direction taken from the text, Pango mirrors left for right-to-left paragraphs.
      pango_layout_set_alignment(layout, PANGO_ALIGN_LEFT);
      break;
  }
  if (wrapWidth < 0) return;
  pango_layout_set_width(layout, saturatingTruncate<int>(std::round(wrapWidth * PANGO_SCALE)));
  switch (style.lineBreakMode) {
    case LineBreakMode::CharWrapping:
      pango_layout_set_wrap(layout, PANGO_WRAP_CHAR);
      break;
    case LineBreakMode::TruncatingHead:
      pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_START);
      break;
    case LineBreakMode::TruncatingTail:
      pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
      break;
    case LineBreakMode::TruncatingMiddle:
      pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_MIDDLE);
      break;
    default:
      // Words move to the next line; a word longer than the line breaks between characters.
      pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
      break;
  }
}

}  // namespace

std::size_t TextLayout::runAt(int offset) const {
  const auto after = std::upper_bound(runStarts->begin(), runStarts->end(), start + offset);
  return after == runStarts->begin() ? 0 : static_cast<std::size_t>(after - runStarts->begin() - 1);
}

ParagraphStyle paragraphStyleOf(const AttributedString& text) {
  if (text.empty() || !text.runs().front().attributes.paragraphStyle) return {};
  return *text.runs().front().attributes.paragraphStyle;
}

Size layoutSize(PangoLayout* layout) {
  PangoRectangle logical;
  pango_layout_get_extents(layout, nullptr, &logical);
  return {static_cast<double>(logical.width) / PANGO_SCALE, static_cast<double>(logical.height) / PANGO_SCALE};
}

std::vector<TextLayout> makeTextLayouts(const AttributedString& text, double wrapWidth) {
  std::string all;
  std::vector<std::pair<int, int>> ranges;
  const auto runStarts = std::make_shared<std::vector<int>>();
  for (const AttributedString::Run& run : text.runs()) {
    const std::string piece = cleanText(run.text);
    // Pango counts bytes in ints; text past this is left out rather than overflow them.
    constexpr std::size_t kMaxTextBytes = std::size_t{1} << 28;
    if (all.size() + piece.size() > kMaxTextBytes) break;
    ranges.emplace_back(static_cast<int>(all.size()), static_cast<int>(all.size() + piece.size()));
    runStarts->push_back(static_cast<int>(all.size()));
    all += piece;
  }
  // The blocks of paragraphs, the line end between two of them (a "\r\n" whole) in neither.
  std::vector<std::pair<int, int>> blocks;
  int begin = 0;
  std::size_t paragraphs = 0;
  for (std::size_t at = all.find('\n'); at != std::string::npos; at = all.find('\n', at + 1)) {
    if (++paragraphs % kParagraphsPerLayout != 0) continue;
    const int end = static_cast<int>(at) - (at > 0 && all[at - 1] == '\r' ? 1 : 0);
    blocks.emplace_back(begin, std::max(begin, end));
    begin = static_cast<int>(at) + 1;
  }
  blocks.emplace_back(begin, static_cast<int>(all.size()));

  // An empty line still has the height of a line of the text's first font, the default one for an empty text.
  const Font first =
      text.empty() ? Font::systemFont(12) : text.runs().front().attributes.font.value_or(Font::systemFont(12));
  const ParagraphStyle style = paragraphStyleOf(text);
  const bool wraps = wrapWidth >= 0 && style.lineBreakMode != LineBreakMode::Clipping;
  std::vector<TextLayout> layouts;
  std::size_t firstRun = 0;  // the first run that reaches into the block
  double top = 0;
  int widest = 0;
  for (const auto& [from, to] : blocks) {
    TextLayout& result = layouts.emplace_back();
    result.top = top;
    result.runStarts = runStarts;
    result.start = from;
    result.layout.reset(pango_layout_new(sharedContext()));
    PangoLayout* layout = result.layout.get();
    pango_layout_set_text(layout, all.data() + from, to - from);
    PangoAttrList* attributes = pango_attr_list_new();
    while (firstRun < ranges.size() && ranges[firstRun].second <= from) ++firstRun;
    // The ranges may stop short of the runs.
    for (std::size_t i = firstRun; i < ranges.size() && ranges[i].first < to; ++i) {
      addRunAttributes(attributes, std::max(ranges[i].first, from) - from, std::min(ranges[i].second, to) - from,
                       text.runs()[i].attributes);
    }
    pango_layout_set_attributes(layout, attributes);
    pango_attr_list_unref(attributes);
    pango_layout_set_font_description(layout, first.description());
    setLineBreaking(layout, style, wraps ? wrapWidth : -1);
    PangoRectangle logical;
    pango_layout_get_extents(layout, nullptr, &logical);
    top += static_cast<double>(logical.height) / PANGO_SCALE;
    widest = std::max(widest, logical.width);
  }
  // Unwrapped lines align within the widest of all, as in one layout; none is wider, so none wraps.
  if (!wraps && layouts.size() > 1) {
    for (TextLayout& block : layouts) {
      pango_layout_set_justify(block.layout.get(), false);
      pango_layout_set_width(block.layout.get(), widest);
    }
  }
  return layouts;
}

}  // namespace platform
