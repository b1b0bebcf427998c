#pragma once

// String helpers the model's text handling needs.

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// printf-style formatting that always uses the C locale, whatever the user's
// locale says: numbers in files and titles must not turn "1.5" into "1,5".
std::string formatString(const char* format, ...) __attribute__((format(printf, 1, 2)));
// The same, appended to `text` in place: long texts grow in one buffer.
void appendFormat(std::string& text, const char* format, ...) __attribute__((format(printf, 2, 3)));

// A Foundation format with object arguments: each "%@" (or "%s") takes the next argument as it stands, "%%" is a
// percent sign. Arguments are not formats themselves; a missing one gives an empty string.
std::string formatObjects(std::string_view format, std::initializer_list<std::string_view> arguments);

// ASCII letters only; other bytes are kept.
std::string lowercaseString(std::string_view text);
// Keeps empty parts: "a  b" split on " " gives "a", "", "b".
std::vector<std::string> componentsSeparatedByString(std::string_view text, std::string_view separator);

}  // namespace platform
