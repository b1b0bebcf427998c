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

namespace {

void appendFormatList(std::string& text, const char* format, va_list args) {
  locale_t previous = uselocale(cLocale());
  va_list again;
  va_copy(again, args);
  const std::size_t start = text.size();
  constexpr std::size_t room = 64;
  // Written in place; the string's own terminator slot takes vsnprintf's closing NUL.
  text.resize(start + room);
  const int length = std::vsnprintf(text.data() + start, room + 1, format, args);
  if (length < 0) {
    text.resize(start);
  } else if (static_cast<std::size_t>(length) <= room) {
    text.resize(start + static_cast<std::size_t>(length));
  } else {
    text.resize(start + static_cast<std::size_t>(length));
    std::vsnprintf(text.data() + start, static_cast<std::size_t>(length) + 1, format, again);
  }
  va_end(again);
  uselocale(previous);
}

}  // namespace

std::string formatString(const char* format, ...) {
  std::string result;
  va_list args;
  va_start(args, format);
  appendFormatList(result, format, args);
  va_end(args);
  return result;
}

void appendFormat(std::string& text, const char* format, ...) {
  va_list args;
  va_start(args, format);
  appendFormatList(text, format, args);
  va_end(args);
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

std::string formatObjects(std::string_view format, std::initializer_list<std::string_view> arguments) {
  std::string result;
  result.reserve(format.size());
  auto next = arguments.begin();
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%' || i + 1 == format.size()) {
      result += format[i];
      continue;
    }
    const char directive = format[i + 1];
    if (directive == '@' || directive == 's') {
      if (next != arguments.end()) result += *next++;
      ++i;
    } else if (directive == '%') {
      result += '%';
      ++i;
    } else {
      result += '%';
    }
  }
  return result;
}

}  // namespace platform
