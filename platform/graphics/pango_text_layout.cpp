#include "platform/graphics/pango_text_layout.h"

#include <fribidi.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>
#include <string>

#include "platform/core/numeric.h"

namespace platform {

namespace {

// A layout's context gives the direction of its paragraphs without a letter of either direction before the first
// that has one: weak, the first letter of the layout's text decides, as in one layout of the whole text; a block of
// paragraphs after others starts with the direction they leave. One context for each, made once.
PangoContext* sharedContext(PangoDirection direction) {
  const auto make = [](PangoDirection base) {
    std::unique_ptr<PangoContext, GObjectUnref> made(pango_font_map_create_context(pango_cairo_font_map_get_default()));
    cairo_font_options_t* options = cairo_font_options_create();
    // Hinted metrics would snap advances to whole device pixels at the CTM in force, and sizes would change with it.
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    pango_cairo_context_set_font_options(made.get(), options);
    cairo_font_options_destroy(options);
    // Pango would otherwise round every glyph position to a whole unit.
    pango_context_set_round_glyph_positions(made.get(), false);
    pango_context_set_base_dir(made.get(), base);
    return made;
  };
  static const std::unique_ptr<PangoContext, GObjectUnref> weak = make(PANGO_DIRECTION_WEAK_LTR);
  static const std::unique_ptr<PangoContext, GObjectUnref> leftToRight = make(PANGO_DIRECTION_LTR);
  static const std::unique_ptr<PangoContext, GObjectUnref> rightToLeft = make(PANGO_DIRECTION_RTL);
  return direction == PANGO_DIRECTION_RTL ? rightToLeft.get()
         : direction == PANGO_DIRECTION_LTR ? leftToRight.get()
                                            : weak.get();
}

// Where the first letter of a direction lies in the text's bytes [from, to), and whether it is right to left;
// nothing when no letter there has one.
std::optional<std::pair<int, bool>> firstLetter(const std::string& text, int from, int to) {
  for (const char* at = text.c_str() + from; at < text.c_str() + to; at = g_utf8_next_char(at)) {
    const FriBidiCharType type = fribidi_get_bidi_type(g_utf8_get_char(at));
    if (FRIBIDI_IS_LETTER(type)) return std::pair{static_cast<int>(at - text.c_str()), FRIBIDI_IS_RTL(type) != 0};
  }
  return std::nullopt;
}

// The direction a layout's paragraphs leave the next ones: its last line's.
PangoDirection endDirection(PangoLayout* layout) {
  PangoLayoutLine* last = pango_layout_get_line_readonly(layout, pango_layout_get_line_count(layout) - 1);
  const PangoDirection direction = last ? pango_layout_line_get_resolved_direction(last) : PANGO_DIRECTION_LTR;
  return direction == PANGO_DIRECTION_RTL || direction == PANGO_DIRECTION_WEAK_RTL ? PANGO_DIRECTION_RTL
                                                                                  : PANGO_DIRECTION_LTR;
}

// The length of the paragraph separator at `at` as Pango reads them ("\r\n" as one), 0 where there is none.
std::size_t separatorAt(const std::string& text, std::size_t at) {
  if (text[at] == '\n') return 1;
  if (text[at] == '\r') return at + 1 < text.size() && text[at + 1] == '\n' ? 2 : 1;
  return text.compare(at, 3, "\xE2\x80\xA9") == 0 ? 3 : 0;
}

// The length of the paragraph separator that ends at `at`, 0 where none does.
std::size_t separatorBefore(const std::string& text, std::size_t at) {
  if (at >= 1 && text[at - 1] == '\n') return at >= 2 && text[at - 2] == '\r' ? 2 : 1;
  if (at >= 1 && text[at - 1] == '\r') return 1;
  return at >= 3 && text.compare(at - 3, 3, "\xE2\x80\xA9") == 0 ? 3 : 0;
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

// Alignment and line breaking by the paragraph style; `wrapWidth` negative lays every paragraph on one line. In a
// context that is right to left Pango reads left and right the other way round.
void setLineBreaking(PangoLayout* layout, const ParagraphStyle& style, double wrapWidth, bool rightToLeft) {
  const PangoAlignment start = rightToLeft ? PANGO_ALIGN_RIGHT : PANGO_ALIGN_LEFT;
  const PangoAlignment end = rightToLeft ? PANGO_ALIGN_LEFT : PANGO_ALIGN_RIGHT;
  switch (style.alignment) {
    case TextAlignment::Right:
      pango_layout_set_alignment(layout, end);
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
      pango_layout_set_alignment(layout, start);
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
  // The blocks of paragraphs, the separator between two of them (a "\r\n" whole) in neither.
  std::vector<std::pair<int, int>> blocks;
  const auto addBlock = [&](int from, int to) {
    // Pango gives paragraphs without a letter of a direction at the start of a layout the direction of its first
    // letter that has one, where the ones before the block leave theirs: a block starting so ends before the
    // paragraph of that letter.
    const std::optional<std::pair<int, bool>> letter = blocks.empty() ? std::nullopt : firstLetter(all, from, to);
    if (letter) {
      int start = letter->first;
      while (start > from && separatorBefore(all, start) == 0) --start;
      if (start > from) {
        blocks.emplace_back(from, start - static_cast<int>(separatorBefore(all, start)));
        from = start;
      }
    }
    blocks.emplace_back(from, to);
  };
  int begin = 0;
  std::size_t paragraphs = 0;
  for (std::size_t at = 0; at < all.size(); ++at) {
    const std::size_t separator = separatorAt(all, at);
    if (separator == 0) continue;
    if (++paragraphs % kParagraphsPerLayout == 0) {
      addBlock(begin, static_cast<int>(at));
      begin = static_cast<int>(at + separator);
    }
    at += separator - 1;
  }
  addBlock(begin, static_cast<int>(all.size()));

  // An empty line still has the height of a line of the text's first font, the default one for an empty text.
  const Font first =
      text.empty() ? Font::systemFont(12) : text.runs().front().attributes.font.value_or(Font::systemFont(12));
  const ParagraphStyle style = paragraphStyleOf(text);
  const bool wraps = wrapWidth >= 0 && style.lineBreakMode != LineBreakMode::Clipping;
  std::vector<TextLayout> layouts;
  std::size_t firstRun = 0;  // the first run that reaches into the block
  double top = 0;
  int widest = 0;
  // The first block's direction is the text's first letter's, which may come in a later block.
  PangoDirection direction = PANGO_DIRECTION_WEAK_LTR;
  if (blocks.size() > 1) {
    if (const std::optional<std::pair<int, bool>> letter = firstLetter(all, 0, static_cast<int>(all.size()))) {
      direction = letter->second ? PANGO_DIRECTION_RTL : PANGO_DIRECTION_LTR;
    }
  }
  for (const auto& [from, to] : blocks) {
    if (!layouts.empty()) direction = endDirection(layouts.back().layout.get());
    TextLayout& result = layouts.emplace_back();
    result.top = top;
    result.runStarts = runStarts;
    result.start = from;
    result.layout.reset(pango_layout_new(sharedContext(direction)));
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
    setLineBreaking(layout, style, wraps ? wrapWidth : -1, direction == PANGO_DIRECTION_RTL);
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
