#include "io/svg/VDSVGMarkupScan.h"

#include <algorithm>
#include <cctype>

namespace {

// Past the end of what starts at `at` and ends with `close`; the end of the text when it does not end.
std::size_t after(std::string_view text, std::size_t at, std::string_view close) {
  const std::size_t end = text.find(close, at);
  return end == std::string_view::npos ? text.size() : end + close.size();
}

bool startsName(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_' || c == ':'; }

}  // namespace

std::optional<std::size_t> SVGCrowdedTag(std::string_view text, std::size_t most) {
  std::size_t at = text.find('<');
  while (at != std::string_view::npos && at + 1 < text.size()) {
    const std::string_view rest = text.substr(at);
    if (rest.starts_with("<!--")) {
      at = after(text, at + 4, "-->");
    } else if (rest.starts_with("<![CDATA[")) {
      at = after(text, at + 9, "]]>");
    } else if (rest.starts_with("<?")) {
      at = after(text, at + 2, "?>");
    } else if (startsName(rest[1])) {
      // Each attribute has one "=" outside the quoted values.
      std::size_t attributes = 0;
      char quote = 0;
      std::size_t end = at + 1;
      for (; end < text.size(); ++end) {
        const char c = text[end];
        if (quote) {
          if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
          quote = c;
        } else if (c == '=') {
          ++attributes;
        } else if (c == '>' || c == '<') {
          break;
        }
      }
      if (attributes > most) return at;
      at = end;
    } else {
      ++at;
    }
    at = text.find('<', at);
  }
  return std::nullopt;
}

int SVGLineAt(std::string_view text, std::size_t offset) {
  const std::string_view before = text.substr(0, std::min(offset, text.size()));
  return 1 + static_cast<int>(std::count(before.begin(), before.end(), '\n'));
}
