#pragma once

// printf-style formatting into a std::string of whatever length the values need.

#include <cstdio>
#include <string>

template <typename... Arguments>
std::string PBStringWithFormat(const char* format, Arguments... arguments) {
  const int length = std::snprintf(nullptr, 0, format, arguments...);
  if (length <= 0) return {};
  std::string result(static_cast<std::size_t>(length) + 1, '\0');
  std::snprintf(result.data(), result.size(), format, arguments...);
  result.resize(static_cast<std::size_t>(length));
  return result;
}
