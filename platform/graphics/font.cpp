#include "platform/graphics/font.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <list>
#include <map>
#include <memory>
#include <unordered_map>
#include <vector>

namespace platform {

namespace {

// FreeType cannot make glyphs of 65,536 pixels or more; text drawing also keeps size × scale below this.
constexpr double kLargestSize = Font::kLargestSize;
constexpr double kSmallestSize = Font::kSmallestSize;
static_assert(kSmallestSize * PANGO_SCALE == 1);

double sanitisedSize(double size) {
  if (!std::isfinite(size) || size <= 0) return 12;
  return std::clamp(size, kSmallestSize, kLargestSize);
}

// Lower case without spaces: "DejaVu Sans" and "DejaVuSans" compare equal.
std::string key(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c != ' ') out.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
  }
  return out;
}

const std::vector<std::string>& installedFamilies() {
  static const std::vector<std::string> families = [] {
    std::vector<std::string> names;
    PangoFontFamily** list = nullptr;
    int count = 0;
    pango_font_map_list_families(pango_cairo_font_map_get_default(), &list, &count);
    for (int i = 0; i < count; ++i) names.emplace_back(pango_font_family_get_name(list[i]));
    g_free(list);
    return names;
  }();
  return families;
}

struct StyleWord {
  const char* word;
  std::optional<PangoWeight> weight;
  std::optional<PangoStyle> style;
  std::optional<PangoStretch> stretch;
};

// Longer words first, so that "semibold" is not read as "semi" and "bold".
const std::array<StyleWord, 25> kStyleWords{{
    {"extracondensed", {}, {}, PANGO_STRETCH_EXTRA_CONDENSED},
    {"semicondensed", {}, {}, PANGO_STRETCH_SEMI_CONDENSED},
    {"semiexpanded", {}, {}, PANGO_STRETCH_SEMI_EXPANDED},
    {"ultralight", PANGO_WEIGHT_ULTRALIGHT, {}, {}},
    {"extralight", PANGO_WEIGHT_ULTRALIGHT, {}, {}},
    {"condensed", {}, {}, PANGO_STRETCH_CONDENSED},
    {"extrabold", PANGO_WEIGHT_ULTRABOLD, {}, {}},
    {"ultrabold", PANGO_WEIGHT_ULTRABOLD, {}, {}},
    {"semibold", PANGO_WEIGHT_SEMIBOLD, {}, {}},
    {"demibold", PANGO_WEIGHT_SEMIBOLD, {}, {}},
    {"expanded", {}, {}, PANGO_STRETCH_EXPANDED},
    {"regular", {}, {}, {}},
    {"oblique", {}, PANGO_STYLE_OBLIQUE, {}},
    {"italic", {}, PANGO_STYLE_ITALIC, {}},
    {"medium", PANGO_WEIGHT_MEDIUM, {}, {}},
    {"normal", {}, {}, {}},
    {"light", PANGO_WEIGHT_LIGHT, {}, {}},
    {"heavy", PANGO_WEIGHT_HEAVY, {}, {}},
    {"black", PANGO_WEIGHT_HEAVY, {}, {}},
    {"roman", {}, {}, {}},
    {"plain", {}, {}, {}},
    {"book", {}, {}, {}},
    {"bold", PANGO_WEIGHT_BOLD, {}, {}},
    {"thin", PANGO_WEIGHT_THIN, {}, {}},
    {"demi", PANGO_WEIGHT_SEMIBOLD, {}, {}},
}};

struct FontStyle {
  PangoWeight weight = PANGO_WEIGHT_NORMAL;
  PangoStyle style = PANGO_STYLE_NORMAL;
  PangoStretch stretch = PANGO_STRETCH_NORMAL;
};

// Reads a run of style words with no separators ("boldoblique"); nothing when any part is not one.
std::optional<FontStyle> parseStyle(std::string_view words) {
  FontStyle result;
  while (!words.empty()) {
    const auto match = std::find_if(kStyleWords.begin(), kStyleWords.end(),
                                    [&](const StyleWord& w) { return words.starts_with(w.word); });
    if (match == kStyleWords.end()) return std::nullopt;
    if (match->weight) result.weight = *match->weight;
    if (match->style) result.style = *match->style;
    if (match->stretch) result.stretch = *match->stretch;
    words.remove_prefix(std::string_view(match->word).size());
  }
  return result;
}

std::string styleName(PangoWeight weight, PangoStyle style, PangoStretch stretch) {
  std::string name;
  if (stretch == PANGO_STRETCH_CONDENSED) name += "Condensed";
  if (stretch == PANGO_STRETCH_SEMI_CONDENSED) name += "SemiCondensed";
  if (stretch == PANGO_STRETCH_EXTRA_CONDENSED) name += "ExtraCondensed";
  if (stretch == PANGO_STRETCH_EXPANDED) name += "Expanded";
  if (stretch == PANGO_STRETCH_SEMI_EXPANDED) name += "SemiExpanded";
  if (weight == PANGO_WEIGHT_THIN) name += "Thin";
  if (weight == PANGO_WEIGHT_ULTRALIGHT) name += "ExtraLight";
  if (weight == PANGO_WEIGHT_LIGHT) name += "Light";
  if (weight == PANGO_WEIGHT_MEDIUM) name += "Medium";
  if (weight == PANGO_WEIGHT_SEMIBOLD) name += "Semibold";
  if (weight == PANGO_WEIGHT_BOLD) name += "Bold";
  if (weight == PANGO_WEIGHT_ULTRABOLD) name += "ExtraBold";
  if (weight == PANGO_WEIGHT_HEAVY) name += "Black";
  if (style == PANGO_STYLE_ITALIC) name += "Italic";
  if (style == PANGO_STYLE_OBLIQUE) name += "Oblique";
  return name;
}

}  // namespace

Font::Font(std::string family, PangoWeight weight, PangoStyle style, PangoStretch stretch, double size,
           std::string drawn)
    : family_(std::move(family)),
      drawn_(std::move(drawn)),
      weight_(weight),
      style_(style),
      stretch_(stretch),
      size_(sanitisedSize(size)) {
  description_.reset(pango_font_description_new(), pango_font_description_free);
  pango_font_description_set_family(description_.get(), drawnFamilyName().c_str());
  pango_font_description_set_weight(description_.get(), weight_);
  pango_font_description_set_style(description_.get(), style_);
  pango_font_description_set_stretch(description_.get(), stretch_);
  pango_font_description_set_absolute_size(description_.get(), size_ * PANGO_SCALE);
}

std::optional<Font> Font::withName(std::string_view name, double size) {
  const std::vector<std::string>& families = installedFamilies();
  const std::string whole = key(name);
  if (whole.empty()) return std::nullopt;
  for (const std::string& family : families) {
    if (key(family) == whole) return Font(family, PANGO_WEIGHT_NORMAL, PANGO_STYLE_NORMAL, PANGO_STRETCH_NORMAL, size);
  }
  // "Family-Style": the longest installed family that starts the part before the hyphen; what is left of that part
  // and everything after the hyphen must be style words.
  const std::size_t hyphen = name.find('-');
  const std::string familyPart = key(name.substr(0, hyphen));
  const std::string stylePart = hyphen == std::string_view::npos ? "" : key(name.substr(hyphen + 1));
  const std::string* best = nullptr;
  for (const std::string& family : families) {
    const std::string familyKey = key(family);
    if (familyPart.starts_with(familyKey) && (!best || familyKey.size() > key(*best).size())) best = &family;
  }
  if (!best) return std::nullopt;
  std::string words = familyPart.substr(key(*best).size());
  words.erase(std::remove(words.begin(), words.end(), '-'), words.end());
  std::string styleWords = stylePart;
  styleWords.erase(std::remove(styleWords.begin(), styleWords.end(), '-'), styleWords.end());
  const std::optional<FontStyle> style = parseStyle(words + styleWords);
  if (!style) return std::nullopt;
  return Font(*best, style->weight, style->style, style->stretch, size);
}

Font Font::systemFont(double size) {
  return Font("Sans", PANGO_WEIGHT_NORMAL, PANGO_STYLE_NORMAL, PANGO_STRETCH_NORMAL, size);
}

Font Font::boldSystemFont(double size) {
  return Font("Sans", PANGO_WEIGHT_BOLD, PANGO_STYLE_NORMAL, PANGO_STRETCH_NORMAL, size);
}

namespace {

// Every installed face, listed and sorted once.
const std::vector<Font>& installedFaces() {
  static const std::vector<Font> faces = Font::availableFonts();
  return faces;
}

// The named weight nearest to a CSS weight, which fontName() can spell.
PangoWeight namedWeight(int weight) {
  return static_cast<PangoWeight>(std::clamp((weight + 50) / 100 * 100, 100, 900));
}

// Answers kept for the lists asked about again: the least recently asked is forgotten first, past a bound on their
// number and on the bytes of their lists, so that what is kept stays bounded and an answer is the same whenever it is
// asked for.
class MatchMemo {
 public:
  const FamilyMatch* find(const std::string& key) {
    const auto found = index_.find(key);
    if (found == index_.end()) return nullptr;
    order_.splice(order_.begin(), order_, found->second);
    return &found->second->second;
  }
  const FamilyMatch& keep(std::string key, FamilyMatch match) {
    bytes_ += key.size();
    order_.emplace_front(std::move(key), std::move(match));
    index_.emplace(order_.front().first, order_.begin());
    while (order_.size() > 1 && (order_.size() > kMostLists || bytes_ > kMostBytes)) {
      bytes_ -= order_.back().first.size();
      index_.erase(order_.back().first);
      order_.pop_back();
    }
    return order_.front().second;
  }

 private:
  // Texts are measured and drawn again and again, in turn: the lists of a file of tens of thousands of texts, each
  // naming another family, are kept whole.
  static constexpr std::size_t kMostLists = std::size_t{1} << 16;
  static constexpr std::size_t kMostBytes = std::size_t{16} << 20;
  std::list<std::pair<std::string, FamilyMatch>> order_;
  std::unordered_map<std::string_view, std::list<std::pair<std::string, FamilyMatch>>::iterator> index_;
  std::size_t bytes_ = 0;
};

}  // namespace

FamilyMatch Font::matchedFamilies(const std::vector<std::string>& families, int weight, bool slanted) {
  static MatchMemo memo;
  std::string key = std::to_string(weight) + (slanted ? "i" : "r");
  for (const std::string& family : families) (key += '\0') += family;
  if (const FamilyMatch* known = memo.find(key)) return *known;
  return memo.keep(std::move(key), matchFamilyList(families, weight, slanted));
}

std::string Font::matchedFamily(std::string_view families, int weight, bool slanted) {
  std::vector<std::string> list;
  while (!families.empty()) {
    const std::string_view family = families.substr(0, families.find(','));
    families.remove_prefix(std::min(families.size(), family.size() + 1));
    if (!family.empty()) list.emplace_back(family);
  }
  return matchedFamilies(list, weight, slanted).drawn;
}

std::optional<Font> Font::face(std::string_view family, int weight, bool slanted, double size) {
  const std::vector<std::string>& families = installedFamilies();
  const auto installed = std::find_if(families.begin(), families.end(),
                                      [&](const std::string& name) { return key(name) == key(family); });
  // A generic family stands for the installed one fontconfig gives it.
  static constexpr std::array<std::string_view, 9> kGeneric{"sans-serif", "sans",      "serif",   "monospace", "mono",
                                                            "cursive",    "fantasy",   "system-ui", "ui-sans-serif"};
  const bool generic = std::find(kGeneric.begin(), kGeneric.end(), key(family)) != kGeneric.end();
  const std::string name = installed != families.end() ? *installed
                           : generic                   ? matchedFamily(key(family), 400, false)
                                                       : std::string();
  if (name.empty()) return std::nullopt;
  // The faces of each installed family, gathered once: no more than there are installed faces.
  static const std::map<std::string, std::vector<const Font*>> facesOf = [] {
    std::map<std::string, std::vector<const Font*>> faces;
    for (const Font& font : installedFaces()) faces[font.family_].push_back(&font);
    return faces;
  }();
  const auto faces = facesOf.find(name);
  if (faces == facesOf.end()) return std::nullopt;
  const Font* best = nullptr;
  int bestScore = 0;
  for (const Font* font : faces->second) {
    // The slant counts for more than any weight, and a narrower or wider face for more than both.
    const int score = std::abs(static_cast<int>(font->weight_) - weight) +
                      ((font->style_ != PANGO_STYLE_NORMAL) != slanted ? 1000 : 0) +
                      (font->stretch_ != PANGO_STRETCH_NORMAL ? 2000 : 0);
    if (!best || score < bestScore) {
      best = font;
      bestScore = score;
    }
  }
  return best->withSize(size);
}

Font Font::substitute(std::string family, PangoWeight weight, PangoStyle style, PangoStretch stretch, double size) {
  const std::string drawn = matchedFamilies({family}, weight, style != PANGO_STYLE_NORMAL).drawn;
  // Drawn by the family's own name when fontconfig gives nothing.
  std::string drawnFamily = drawn.empty() ? family : drawn;
  return Font(std::move(family), weight, style, stretch, size, std::move(drawnFamily));
}

Font Font::substitute(std::string_view family, int weight, bool slanted, double size) {
  return substitute(std::string(family), namedWeight(weight), slanted ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL,
                    PANGO_STRETCH_NORMAL, size);
}

Font Font::matching(std::string_view name, double size) {
  if (std::optional<Font> installed = withName(name, size)) return *installed;
  while (!name.empty() && name.front() == ' ') name.remove_prefix(1);
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  if (name.empty()) return systemFont(size);
  // "Family-Style", when what follows the last hyphen is style words.
  const std::size_t hyphen = name.rfind('-');
  if (hyphen != std::string_view::npos && hyphen > 0) {
    if (const std::optional<FontStyle> style = parseStyle(key(name.substr(hyphen + 1)))) {
      return substitute(std::string(name.substr(0, hyphen)), style->weight, style->style, style->stretch, size);
    }
  }
  return substitute(std::string(name), PANGO_WEIGHT_NORMAL, PANGO_STYLE_NORMAL, PANGO_STRETCH_NORMAL, size);
}

std::vector<Font> Font::availableFonts() {
  std::vector<Font> fonts;
  PangoFontFamily** families = nullptr;
  int familyCount = 0;
  pango_font_map_list_families(pango_cairo_font_map_get_default(), &families, &familyCount);
  for (int i = 0; i < familyCount; ++i) {
    PangoFontFace** faces = nullptr;
    int faceCount = 0;
    pango_font_family_list_faces(families[i], &faces, &faceCount);
    for (int j = 0; j < faceCount; ++j) {
      PangoFontDescription* face = pango_font_face_describe(faces[j]);
      fonts.push_back(Font(pango_font_family_get_name(families[i]), pango_font_description_get_weight(face),
                           pango_font_description_get_style(face), pango_font_description_get_stretch(face), 12));
      pango_font_description_free(face);
    }
    g_free(faces);
  }
  g_free(families);
  std::sort(fonts.begin(), fonts.end(), [](const Font& a, const Font& b) { return a.fontName() < b.fontName(); });
  return fonts;
}

std::string Font::fontName() const {
  std::string name;
  for (char c : family_) {
    if (c != ' ' || !drawn_.empty()) name.push_back(c);
  }
  const std::string style = styleName(weight_, style_, stretch_);
  return style.empty() ? name : name + "-" + style;
}

Font Font::withSize(double size) const { return Font(family_, weight_, style_, stretch_, size, drawn_); }

bool operator==(const Font& a, const Font& b) {
  return a.family_ == b.family_ && a.weight_ == b.weight_ && a.style_ == b.style_ && a.stretch_ == b.stretch_ &&
         a.size_ == b.size_;
}

}  // namespace platform
