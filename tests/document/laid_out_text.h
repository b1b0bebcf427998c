#pragma once

// The oracle of a text's size: Pango laying the text out on its own, in the family at the absolute size and with
// unhinted metrics, without the program's text classes.

#include <pango/pangocairo.h>

#include <memory>
#include <string>

namespace document_testing {

struct LaidOutText {
  double width = 0;
  double height = 0;
  double baseline = 0;  // below the top
};

using LayoutPtr = std::unique_ptr<PangoLayout, decltype(&g_object_unref)>;

// The text laid out on a Pango context of its own.
inline LayoutPtr layoutOf(const std::string& text, const char* family, double size) {
  const std::unique_ptr<PangoContext, decltype(&g_object_unref)> context(
      pango_font_map_create_context(pango_cairo_font_map_get_default()), g_object_unref);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  pango_cairo_context_set_font_options(context.get(), options);
  cairo_font_options_destroy(options);
  pango_context_set_round_glyph_positions(context.get(), false);
  LayoutPtr layout(pango_layout_new(context.get()), g_object_unref);
  PangoFontDescription* font = pango_font_description_new();
  pango_font_description_set_family(font, family);
  pango_font_description_set_absolute_size(font, size * PANGO_SCALE);
  pango_layout_set_font_description(layout.get(), font);
  pango_font_description_free(font);
  pango_layout_set_text(layout.get(), text.c_str(), static_cast<int>(text.size()));
  return layout;
}

inline LaidOutText layOut(const std::string& text, const char* family, double size) {
  const LayoutPtr layout = layoutOf(text, family, size);
  PangoRectangle logical;
  pango_layout_get_extents(layout.get(), nullptr, &logical);
  return {static_cast<double>(logical.width) / PANGO_SCALE, static_cast<double>(logical.height) / PANGO_SCALE,
          static_cast<double>(pango_layout_get_baseline(layout.get())) / PANGO_SCALE};
}

}  // namespace document_testing
