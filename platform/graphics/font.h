#pragma once

// A font as AppKit's NSFont, on Pango: a family, a style and a size in points (one point a unit of user space).

#include <pango/pango-font.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/graphics/font_family_matching.h"

namespace platform {

class Font {
 public:
  // The largest size kept; larger ones are reduced to it. Glyphs beyond it cannot be rasterised.
  static constexpr double kLargestSize = 50000;
  // The smallest size kept, Pango's unit; smaller ones are raised to it.
  static constexpr double kSmallestSize = 1.0 / 1024;

  // fontWithName:size: — a family name ("DejaVu Sans", any case) or a PostScript-style name: the family without
  // spaces, then "-" and style words ("DejaVuSans-BoldOblique", "DejaVuSerif-Italic", "DejaVuSansCondensed-Bold").
  // Nothing when no installed family matches or a style word is unknown. A size ≤ 0 or not finite means 12; sizes
  // are kept within [1/1024, kLargestSize].
  static std::optional<Font> withName(std::string_view name, double size);
  // systemFontOfSize: / boldSystemFontOfSize: — the desktop's sans-serif face.
  static Font systemFont(double size);
  static Font boldSystemFont(double size);
  // The face of an installed family, or of a generic one ("sans-serif", "serif", "monospace"), nearest to the CSS
  // weight (100 to 900) and slant asked for: one of availableFonts(). Nothing when no installed family answers.
  // Each family is looked up once.
  static std::optional<Font> face(std::string_view family, int weight, bool slanted, double size);
  // A family no installed one answers to, kept as given and drawn with the installed family the system's font
  // matching picks for it (fontconfig: a metric-compatible face where one exists, a serif for a serif family), at the
  // weight (100 to 900) and slant asked for. Its fontName() is the family as given, then "-" and style words unless
  // regular ("Times New Roman-Bold").
  static Font substitute(std::string_view family, int weight, bool slanted, double size);
  // The font a name stands for wherever the program draws text: withName's, else a substitute for the family the
  // name gives (before a "-" and style words, or the whole name); the system font for an empty name.
  static Font matching(std::string_view name, double size);
  // The installed family the system's font matching draws a list of families with, at the CSS weight and slant,
  // and which family of the list it comes from (font_family_matching.h); the same answer whatever was asked before.
  static FamilyMatch matchedFamilies(const std::vector<std::string>& families, int weight, bool slanted);
  // The same for a list separated by commas ("Times New Roman,serif"); empty when fontconfig matches nothing.
  static std::string matchedFamily(std::string_view families, int weight, bool slanted);
  // Every installed face (each family in each of its styles), as fonts of 12 points, sorted by fontName().
  static std::vector<Font> availableFonts();

  double pointSize() const { return size_; }
  // The installed family, as Pango names it; a substitute's family as it was given.
  const std::string& familyName() const { return family_; }
  // The installed family the font is drawn with.
  const std::string& drawnFamilyName() const { return drawn_.empty() ? family_ : drawn_; }
  // The CSS weight, from 100 to 1000, and whether the face is italic or oblique.
  int weight() const { return static_cast<int>(weight_); }
  bool slanted() const { return style_ != PANGO_STYLE_NORMAL; }
  // PostScript style: the family without spaces (a substitute's as given), then "-Style" unless the style is regular.
  std::string fontName() const;
  // The same font at another size (same rule for sizes ≤ 0).
  Font withSize(double size) const;
  // The Pango description, at an absolute size of pointSize() units, so that no screen resolution scales it.
  const PangoFontDescription* description() const { return description_.get(); }

  friend bool operator==(const Font& a, const Font& b);

 private:
  // `drawn`: for a substitute, the installed family it is drawn with.
  Font(std::string family, PangoWeight weight, PangoStyle style, PangoStretch stretch, double size,
       std::string drawn = {});
  static Font substitute(std::string family, PangoWeight weight, PangoStyle style, PangoStretch stretch, double size);

  std::string family_;
  std::string drawn_;
  PangoWeight weight_;
  PangoStyle style_;
  PangoStretch stretch_;
  double size_;
  std::shared_ptr<PangoFontDescription> description_;
};

}  // namespace platform
