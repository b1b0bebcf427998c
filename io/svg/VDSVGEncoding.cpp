#include "io/svg/VDSVGEncoding.h"

#include <glib.h>
#include <libxml/encoding.h>

#include <algorithm>
#include <cctype>
#include <memory>

#include "platform/core/string_utilities.h"

namespace {

// The "encoding" of an XML declaration at the start of the text; empty when none.
std::string declaredEncoding(std::string_view text) {
  if (!text.starts_with("<?xml")) return {};
  text = text.substr(0, text.find("?>"));
  for (std::size_t at = text.find("encoding"); at != std::string_view::npos; at = text.find("encoding", at + 1)) {
    std::size_t i = at + 8;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    if (i == text.size() || text[i] != '=') continue;
    ++i;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    if (i == text.size() || (text[i] != '"' && text[i] != '\'')) continue;
    const std::size_t end = text.find(text[i], i + 1);
    if (end != std::string_view::npos) return std::string(text.substr(i + 1, end - i - 1));
  }
  return {};
}

// `text` converted from `encoding` up to its first byte that is no character of it; false when the system cannot
// convert from the encoding at all.
bool convert(std::string_view text, const std::string& encoding, std::string& converted) {
  for (int attempt = 0; attempt < 2; ++attempt) {
    gsize read = 0, written = 0;
    GError* error = nullptr;
    std::unique_ptr<gchar, decltype(&g_free)> out(
        g_convert(text.data(), static_cast<gssize>(text.size()), "UTF-8", encoding.c_str(), &read, &written, &error),
        g_free);
    if (out) {
      converted.assign(out.get(), written);
      return true;
    }
    const bool unknown = error && error->domain == G_CONVERT_ERROR && error->code == G_CONVERT_ERROR_NO_CONVERSION;
    if (error) g_error_free(error);
    if (unknown) return false;
    // What comes before the damage.
    text = text.substr(0, std::min<std::size_t>(read, text.size()));
  }
  converted.clear();
  return true;
}

// The encoding the first bytes or the XML declaration give; empty for UTF-8.
std::string detectedEncoding(std::string_view raw) {
  const auto first = reinterpret_cast<const unsigned char*>(raw.data());
  std::string encoding;
  switch (xmlDetectCharEncoding(first, static_cast<int>(std::min<std::size_t>(raw.size(), 4)))) {
    case XML_CHAR_ENCODING_UTF16LE:
      encoding = "UTF-16LE";
      break;
    case XML_CHAR_ENCODING_UTF16BE:
      encoding = "UTF-16BE";
      break;
    case XML_CHAR_ENCODING_UCS4LE:
      encoding = "UCS-4LE";
      break;
    case XML_CHAR_ENCODING_UCS4BE:
      encoding = "UCS-4BE";
      break;
    case XML_CHAR_ENCODING_EBCDIC: {
      // The declaration names the code page, in any of them.
      std::string declaration;
      if (!convert(raw.substr(0, std::min<std::size_t>(raw.size(), 200)), "IBM037", declaration)) break;
      encoding = declaredEncoding(declaration);
      if (encoding.empty()) encoding = "IBM037";
      break;
    }
    default:
      // A UTF-8 byte order mark says what the text is, whatever a declaration says.
      if (!raw.starts_with("\xEF\xBB\xBF")) encoding = declaredEncoding(raw);
      break;
  }
  return encoding;
}

}  // namespace

std::optional<std::string_view> SVGTextInUTF8(const platform::Bytes& data, std::string& converted,
                                              std::string& error) {
  const std::string_view raw(reinterpret_cast<const char*>(data.data()), data.size());
  std::string encoding;
  // libxml2 takes the byte order mark of UCS-4, little end first, for UTF-16's, and knows none big end first.
  if (raw.starts_with(std::string_view("\xFF\xFE\0\0", 4))) {
    encoding = "UCS-4LE";
  } else if (raw.starts_with(std::string_view("\0\0\xFE\xFF", 4))) {
    encoding = "UCS-4BE";
  } else {
    encoding = detectedEncoding(raw);
  }
  const std::string lower = platform::lowercaseString(encoding);
  if (lower.empty() || lower == "utf-8" || lower == "utf8") return raw;
  if (!convert(raw, encoding, converted)) {
    error = platform::formatString("the file's encoding \"%s\" is not known", encoding.c_str());
    return std::nullopt;
  }
  return std::string_view(converted);
}
