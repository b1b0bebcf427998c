#pragma once

// Pixel helpers for text tests: where ink landed on an ARGB32 surface, and whether known fonts are installed.

#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <initializer_list>
#include <string>

#include "argb_test_image.h"

namespace platform::testing {

// The box of pixels with alpha above `threshold`, half-open; empty (x0 ≥ x1) when there are none.
struct InkBox {
  int x0 = 1 << 30, y0 = 1 << 30, x1 = 0, y1 = 0;
  bool empty() const { return x0 >= x1 || y0 >= y1; }
  double centreX() const { return (x0 + x1) / 2.0; }
};

inline InkBox inkBox(cairo_surface_t* surface, int threshold = 0) {
  InkBox box;
  for (int y = 0; y < cairo_image_surface_get_height(surface); ++y) {
    for (int x = 0; x < cairo_image_surface_get_width(surface); ++x) {
      if (pixelAt(surface, x, y).a <= threshold) continue;
      box.x0 = std::min(box.x0, x);
      box.y0 = std::min(box.y0, y);
      box.x1 = std::max(box.x1, x + 1);
      box.y1 = std::max(box.y1, y + 1);
    }
  }
  return box;
}

// Inked pixels of one row.
inline int inkInRow(cairo_surface_t* surface, int y, int threshold = 0) {
  int count = 0;
  for (int x = 0; x < cairo_image_surface_get_width(surface); ++x) count += pixelAt(surface, x, y).a > threshold;
  return count;
}

// A font tests draw or measure with, by PostScript name, and the Debian package it comes with.
struct RequiredFont {
  const char* name;
  const char* package;
};

// Asked of fontconfig by PostScript name: Font::withName takes a style of any installed family, and Pango draws a
// style the family lacks with another of its faces.
inline bool faceInstalled(const char* postScriptName) {
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_POSTSCRIPT_NAME, reinterpret_cast<const FcChar8*>(postScriptName));
  FcObjectSet* properties = FcObjectSetBuild(FC_FILE, nullptr);
  FcFontSet* found = FcFontList(nullptr, pattern, properties);
  const bool installed = found && found->nfont > 0;
  if (found) FcFontSetDestroy(found);
  FcObjectSetDestroy(properties);
  FcPatternDestroy(pattern);
  return installed;
}

// Succeeds when every font is installed; else the failure names each missing one and its package.
inline ::testing::AssertionResult fontsInstalled(std::initializer_list<RequiredFont> fonts) {
  std::string missing;
  for (const RequiredFont& font : fonts) {
    if (faceInstalled(font.name)) continue;
    missing += std::string(missing.empty() ? "" : "; ") + font.name + " (Debian package " + font.package + ")";
  }
  if (missing.empty()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "these tests need fonts that are not installed: " << missing;
}

// Whether Pango knows the family, for checks that only apply where it is installed.
inline bool familyInstalled(const std::string& name) {
  PangoFontFamily** families = nullptr;
  int count = 0;
  pango_font_map_list_families(pango_cairo_font_map_get_default(), &families, &count);
  bool found = false;
  for (int i = 0; i < count; ++i) found = found || name == pango_font_family_get_name(families[i]);
  g_free(families);
  return found;
}

}  // namespace platform::testing
