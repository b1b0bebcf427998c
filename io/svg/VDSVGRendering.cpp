#include "io/svg/VDSVGRendering.h"

#include <glib.h>

#include <algorithm>
#include <array>
#include <cctype>

namespace {

constexpr std::string_view kFeaturePrefix = "http://www.w3.org/TR/SVG11/feature#";

// What a static drawing read into layers can show; scripting, animation, interaction, filters, masks, fonts,
// patterns, markers and the DOM are not among it.
constexpr std::array<std::string_view, 17> kSupportedFeatures{
    "CoreAttribute",    "Structure",           "BasicStructure",   "ContainerAttribute",     "ConditionalProcessing",
    "Style",            "ViewportAttribute",   "Shape",            "Text",                   "BasicText",
    "PaintAttribute",   "BasicPaintAttribute", "OpacityAttribute", "GraphicsAttribute",      "BasicGraphicsAttribute",
    "Gradient",         "XlinkAttribute"};

std::string lowered(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

// The words of a list separated by blanks (features, extensions) or commas (languages), trimmed.
std::vector<std::string> wordsOf(std::string_view text, char separator) {
  std::vector<std::string> words;
  std::string word;
  const auto flush = [&] {
    if (!word.empty()) words.push_back(word);
    word.clear();
  };
  for (const char c : text) {
    if (c == separator || std::isspace(static_cast<unsigned char>(c))) {
      flush();
    } else {
      word += c;
    }
  }
  flush();
  return words;
}

bool featureSupported(std::string_view feature) {
  if (!feature.starts_with(kFeaturePrefix)) return false;
  feature.remove_prefix(kFeaturePrefix.size());
  return std::find(kSupportedFeatures.begin(), kSupportedFeatures.end(), feature) != kSupportedFeatures.end();
}

// A listed language matches a user's language that equals it or is a prefix of it ending at a "-".
bool languageMatches(std::string_view listed) {
  const std::string tag = lowered(listed);
  for (const std::string& user : SVGUserLanguages()) {
    if (tag == user || (tag.size() > user.size() && tag.starts_with(user) && tag[user.size()] == '-')) return true;
  }
  return false;
}

}  // namespace

bool SVGDisplayed(const platform::DictRef& attributes) { return attributes->get("display").string() != "none"; }

bool SVGVisible(const platform::DictRef& attributes) {
  const std::string& visibility = attributes->get("visibility").string();
  return visibility != "hidden" && visibility != "collapse";
}

bool SVGConditionsHold(const platform::DictRef& attributes) {
  // An empty list does not hold; a missing attribute does.
  if (const platform::Value* features = attributes->find("requiredFeatures")) {
    const std::vector<std::string> listed = wordsOf(features->string(), ' ');
    if (listed.empty() || !std::all_of(listed.begin(), listed.end(), featureSupported)) return false;
  }
  if (attributes->contains("requiredExtensions")) return false;
  if (const platform::Value* languages = attributes->find("systemLanguage")) {
    const std::vector<std::string> listed = wordsOf(languages->string(), ',');
    if (std::none_of(listed.begin(), listed.end(), [](const std::string& l) { return languageMatches(l); })) {
      return false;
    }
  }
  return true;
}

std::vector<std::string> SVGUserLanguages() {
  std::vector<std::string> tags;
  for (const gchar* const* name = g_get_language_names(); *name; ++name) {
    // "de_CH.UTF-8@euro" is the tag "de-ch".
    std::string tag = lowered(std::string_view(*name).substr(0, std::string_view(*name).find_first_of(".@")));
    std::replace(tag.begin(), tag.end(), '_', '-');
    // GLib ends every list with the C locale; alone, it is the program's own English.
    if (tag == "c" || tag == "posix") continue;
    if (!tag.empty() && std::find(tags.begin(), tags.end(), tag) == tags.end()) tags.push_back(tag);
  }
  if (tags.empty()) tags.push_back("en");
  return tags;
}
