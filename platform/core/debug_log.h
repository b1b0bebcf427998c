#pragma once

// The trace logger: a line with its prefix, function and line number on the
// standard error stream, and the message alone appended to
// "settingslogfile.txt" in the user's Documents folder. The message is taken
// as the caller formatted it: it is never used as a format.

#include <string_view>

namespace platform {

inline constexpr const char* kDebugLogFileName = "settingslogfile.txt";

// "<prefix><function right-aligned in 50 columns>:<line in 3 columns> - <message>\n" to standard error; the
// message and "\n" to the log file.
void Log2Message(std::string_view prefix, int line, const char* function, std::string_view message);
// Appends the text to the log file, creating the file (not its folder) when it is missing. A file that cannot be
// written is passed over in silence.
void Log2AppendToFile(std::string_view text);

}  // namespace platform
