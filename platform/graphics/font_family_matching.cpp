#include "platform/graphics/font_family_matching.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <memory>
#include <optional>
#include <unordered_set>
#include <utility>

namespace platform {

namespace {

using Pattern = std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)>;

// Substitution of a slice this long costs little more than that of one family.
constexpr std::size_t kSlice = 256;

// Stands after a slice's families: fontconfig puts the families it stands in for one next to it, before this mark,
// and the generic families it adds by default at the end, after it.
constexpr const char kEnd[] = "Draftwork End Of The Families Asked About";
constexpr const char kSansSerif[] = "sans-serif";

// Lower case without blanks, as fontconfig compares families.
std::string familyKey(const std::string& family) {
  std::string key;
  for (const char c : family) {
    if (c != ' ') key.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
  }
  return key;
}

// Blanks left out, letters of any case alike, as fontconfig compares families.
bool sameFamily(const std::string& a, const std::string& b) {
  return FcStrCmpIgnoreCase(reinterpret_cast<const FcChar8*>(familyKey(a).c_str()),
                            reinterpret_cast<const FcChar8*>(familyKey(b).c_str())) == 0;
}

// Every name of every installed font's families.
const std::unordered_set<std::string>& installedFamilyKeys() {
  static const std::unordered_set<std::string> keys = [] {
    std::unordered_set<std::string> found;
    std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)> all(FcPatternCreate(), FcPatternDestroy);
    std::unique_ptr<FcObjectSet, decltype(&FcObjectSetDestroy)> properties(FcObjectSetBuild(FC_FAMILY, nullptr),
                                                                          FcObjectSetDestroy);
    std::unique_ptr<FcFontSet, decltype(&FcFontSetDestroy)> fonts(FcFontList(nullptr, all.get(), properties.get()),
                                                                  FcFontSetDestroy);
    for (int i = 0; fonts && i < fonts->nfont; ++i) {
      FcChar8* name = nullptr;
      for (int n = 0; FcPatternGetString(fonts->fonts[i], FC_FAMILY, n, &name) == FcResultMatch; ++n) {
        found.insert(familyKey(reinterpret_cast<const char*>(name)));
      }
    }
    return found;
  }();
  return keys;
}

// fontconfig folds the case of letters past ASCII too: such a name may be installed under another case.
bool mayBeInstalled(const std::string& family) {
  const bool ascii = std::all_of(family.begin(), family.end(), [](char c) { return (c & 0x80) == 0; });
  return !ascii || installedFamilyKeys().contains(familyKey(family));
}

// The families, the end mark and, with `generic`, sans-serif after it, at the weight and slant, as fontconfig's
// configuration substitutes them.
Pattern substituted(const std::string* families, std::size_t count, int weight, bool slanted, bool generic) {
  Pattern pattern(FcPatternCreate(), FcPatternDestroy);
  const auto add = [&](const char* family) {
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
  };
  for (std::size_t i = 0; i < count; ++i) add(families[i].c_str());
  add(kEnd);
  if (generic) add(kSansSerif);
  FcPatternAddInteger(pattern.get(), FC_WEIGHT, FcWeightFromOpenType(std::clamp(weight, 1, 1000)));
  FcPatternAddInteger(pattern.get(), FC_SLANT, slanted ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
  return pattern;
}

std::vector<std::string> familiesOf(FcPattern* pattern) {
  std::vector<std::string> families;
  FcChar8* name = nullptr;
  for (int n = 0; FcPatternGetString(pattern, FC_FAMILY, n, &name) == FcResultMatch; ++n) {
    families.emplace_back(reinterpret_cast<const char*>(name));
  }
  return families;
}

// The family of the font fontconfig matches to a substituted pattern; empty for none.
std::string matchedFamily(FcPattern* pattern) {
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  const Pattern font(FcFontMatch(nullptr, pattern, &result), FcPatternDestroy);
  FcChar8* name = nullptr;
  if (!font || FcPatternGetString(font.get(), FC_FAMILY, 0, &name) != FcResultMatch) return {};
  return reinterpret_cast<const char*>(name);
}

// The families fontconfig adds after a pattern's sans-serif, past the end mark.
std::vector<std::string> addedAfterGeneric(const std::vector<std::string>& families) {
  auto at = std::find(families.begin(), families.end(), kEnd);
  at = std::find(at, families.end(), kSansSerif);
  return at == families.end() ? std::vector<std::string>{} : std::vector<std::string>(at + 1, families.end());
}

// What a pattern of no family of its own gives at a weight and slant: the families fontconfig adds after sans-serif
// alone (what a list adds beyond them are generic families of its own), and the system's default family.
struct Plain {
  std::vector<std::string> additions;
  std::string family;
};

// Found once for each weight and slant: at most 2,000.
const Plain& plain(int weight, bool slanted) {
  static std::map<std::pair<int, bool>, Plain> known;
  const std::pair<int, bool> wanted{std::clamp(weight, 1, 1000), slanted};
  auto found = known.find(wanted);
  if (found == known.end()) {
    const Pattern generic = substituted(nullptr, 0, wanted.first, slanted, true);
    const Pattern none = substituted(nullptr, 0, wanted.first, slanted, false);
    found = known.emplace(wanted, Plain{addedAfterGeneric(familiesOf(generic.get())), matchedFamily(none.get())}).first;
  }
  return found->second;
}

struct SliceAnswer {
  // A family of the slice, or one fontconfig stands in for one of them, is drawn.
  bool resolved = false;
  std::string drawn;  // when resolved
  // fontconfig adds generic families for the slice's own (a serif for "Georgia").
  bool ownGenerics = false;
};

SliceAnswer askAbout(const std::string* families, std::size_t count, int weight, bool slanted) {
  const Pattern pattern = substituted(families, count, weight, slanted, true);
  const std::vector<std::string> all = familiesOf(pattern.get());
  SliceAnswer answer;
  answer.ownGenerics = addedAfterGeneric(all) != plain(weight, slanted).additions;
  const auto end = std::find(all.begin(), all.end(), kEnd);
  if (std::none_of(all.begin(), end, mayBeInstalled)) return answer;
  answer.drawn = matchedFamily(pattern.get());
  answer.resolved = !answer.drawn.empty() && std::any_of(all.begin(), end, [&](const std::string& family) {
    return sameFamily(family, answer.drawn);
  });
  return answer;
}

// The fewest first families of `count` for which `holds`, which holds for all of them and, once it holds, for more.
template <typename Test>
std::size_t fewestFor(std::size_t count, Test holds) {
  std::size_t low = 1, high = count;
  while (low < high) {
    const std::size_t middle = low + (high - low) / 2;
    if (holds(middle)) {
      high = middle;
    } else {
      low = middle + 1;
    }
  }
  return high;
}

}  // namespace

FamilyMatch matchFamilyList(const std::vector<std::string>& families, int weight, bool slanted) {
  std::optional<std::size_t> withGenerics;  // the first slice that asks for generic families of its own
  for (std::size_t start = 0; start < families.size(); start += kSlice) {
    const std::string* slice = families.data() + start;
    const std::size_t count = std::min(kSlice, families.size() - start);
    const SliceAnswer answer = askAbout(slice, count, weight, slanted);
    if (answer.resolved) {
      const std::size_t fewest = fewestFor(count, [&](std::size_t first) {
        return askAbout(slice, first, weight, slanted).resolved;
      });
      return {answer.drawn, start + fewest - 1};
    }
    if (answer.ownGenerics && !withGenerics) withGenerics = start;
  }
  if (!withGenerics) return {plain(weight, slanted).family, 0};
  // The generic families a slice adds come after all the others: its match is the list's.
  const std::string* slice = families.data() + *withGenerics;
  const std::size_t count = std::min(kSlice, families.size() - *withGenerics);
  const auto drawnWith = [&](std::size_t first) {
    const Pattern pattern = substituted(slice, first, weight, slanted, false);
    return matchedFamily(pattern.get());
  };
  const std::string drawn = drawnWith(count);
  // The family that brings the generic one the list is drawn with.
  const std::size_t fewest = fewestFor(count, [&](std::size_t first) { return drawnWith(first) == drawn; });
  return {drawn, *withGenerics + fewest - 1};
}

}  // namespace platform
