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

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Where a markup declaration ("<!DOCTYPE …", "<!ENTITY …") ends, its quoted literals passed over: at its ">", or at
// the "[" that opens a DOCTYPE's internal subset, whose declarations are looked at one by one.
std::size_t declarationEnd(std::string_view text, std::size_t at) {
  char quote = 0;
  for (; at < text.size(); ++at) {
    const char c = text[at];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '>' || c == '[') {
      return at + 1;
    }
  }
  return at;
}

// Whether the tag starting at `at` has more than `most` attributes or namespace declarations; `end` gets where it
// ends. Each attribute has one "=" outside the quoted values, after its name.
bool crowded(std::string_view text, std::size_t at, std::size_t most, std::size_t& end, bool& byNamespaces) {
  std::size_t attributes = 0, namespaces = 0;
  std::size_t nameStart = at, nameEnd = at;
  char quote = 0;
  for (end = at + 1; end < text.size(); ++end) {
    const char c = text[end];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '=') {
      const std::string_view name = text.substr(nameStart, nameEnd - nameStart);
      ++(name == "xmlns" || name.starts_with("xmlns:") ? namespaces : attributes);
      byNamespaces = namespaces > most;
      if (attributes > most || byNamespaces) return true;
    } else if (c == '>' || c == '<') {
      break;
    } else if (!isBlank(c) && c != '/') {
      // A name goes on, or a new one starts after a blank.
      if (nameEnd != end) nameStart = end;
      nameEnd = end + 1;
    }
  }
  return false;
}

}  // namespace

std::optional<std::size_t> SVGCrowdedTag(std::string_view text, std::size_t most, bool* namespaces) {
  std::size_t at = text.find('<');
  while (at != std::string_view::npos && at + 1 < text.size()) {
    const std::string_view rest = text.substr(at);
    if (rest.starts_with("<!--")) {
      at = after(text, at + 4, "-->");
    } else if (rest.starts_with("<![CDATA[")) {
      at = after(text, at + 9, "]]>");
    } else if (rest.starts_with("<?")) {
      at = after(text, at + 2, "?>");
    } else if (rest.starts_with("<!")) {
      at = declarationEnd(text, at + 2);
    } else if (startsName(rest[1])) {
      std::size_t end = at;
      bool byNamespaces = false;
      if (crowded(text, at, most, end, byNamespaces)) {
        if (namespaces) *namespaces = byNamespaces;
        return at;
      }
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
