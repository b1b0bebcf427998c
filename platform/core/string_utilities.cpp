#include "platform/core/string_utilities.h"

#include <locale.h>

#include <cstdarg>
#include <cstdio>

namespace platform {
namespace {

locale_t cLocale() {
  static const locale_t locale = newlocale(LC_ALL_MASK, "C", nullptr);
  return locale;
}

}  // namespace

std::string formatString(const char* format, ...) {
  locale_t previous = uselocale(cLocale());
  va_list args;
  va_start(args, format);
  va_list again;
  va_copy(again, args);
  char small[256];
  int length = std::vsnprintf(small, sizeof small, format, args);
  va_end(args);
  std::string result;
  if (length >= 0 && static_cast<std::size_t>(length) < sizeof small) {
    result.assign(small, static_cast<std::size_t>(length));
  } else if (length > 0) {
    result.resize(static_cast<std::size_t>(length));
    std::vsnprintf(result.data(), result.size() + 1, format, again);
  }
  va_end(again);
  uselocale(previous);
  return result;
}

std::string lowercaseString(std::string_view text) {
  std::string result(text);
  for (char& c : result)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return result;
}

std::vector<std::string> componentsSeparatedByString(std::string_view text, std::string_view separator) {
  std::vector<std::string> parts;
  if (separator.empty()) {
    parts.emplace_back(text);
    return parts;
  }
  std::size_t start = 0;
  for (;;) {
    std::size_t found = text.find(separator, start);
    if (found == std::string_view::npos) break;
    parts.emplace_back(text.substr(start, found - start));
    start = found + separator.size();
  }
  parts.emplace_back(text.substr(start));
  return parts;
}

}  // namespace platform
