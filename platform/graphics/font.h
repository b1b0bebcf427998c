#pragma once

// A font as AppKit's NSFont, on Pango: a family, a style and a size in points (one point a unit of user space).

#include <pango/pango-font.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class Font {
 public:
  // The largest size kept; larger ones are reduced to it. Glyphs beyond it cannot be rasterised.
  static constexpr double kLargestSize = 50000;

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
  static std::optional<Font> face(std::string_view family, int weight, bool slanted, double size);
  // Every installed face (each family in each of its styles), as fonts of 12 points, sorted by fontName().
  static std::vector<Font> availableFonts();

  double pointSize() const { return size_; }
  // The installed family, as Pango names it.
  const std::string& familyName() const { return family_; }
  // PostScript style: the family without spaces, then "-Style" unless the style is regular.
  std::string fontName() const;
  // The same font at another size (same rule for sizes ≤ 0).
  Font withSize(double size) const;
  // The Pango description, at an absolute size of pointSize() units, so that no screen resolution scales it.
  const PangoFontDescription* description() const { return description_.get(); }

  friend bool operator==(const Font& a, const Font& b);

 private:
  Font(std::string family, PangoWeight weight, PangoStyle style, PangoStretch stretch, double size);

  std::string family_;
  PangoWeight weight_;
  PangoStyle style_;
  PangoStretch stretch_;
  double size_;
  std::shared_ptr<PangoFontDescription> description_;
};

}  // namespace platform
