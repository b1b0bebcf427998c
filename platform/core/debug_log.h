#pragma once

// The trace logger, for developers: with DRAFTWORK_DEBUG set in the environment, a line with its prefix, function
// and line number on the standard error stream, and the message alone appended to "settingslogfile.txt" in the
// user's Documents folder. Without it the logger is silent and writes no file: a user's session leaves no trace.
// The message is taken as the caller formatted it: it is never used as a format.

#include <string_view>

namespace platform {

inline constexpr const char* kDebugLogFileName = "settingslogfile.txt";
inline constexpr const char* kDebugLogSwitch = "DRAFTWORK_DEBUG";

// Whether DRAFTWORK_DEBUG is set (to anything, empty included).
bool debugLogEnabled();
// "<prefix><function right-aligned in 50 columns>:<line in 3 columns> - <message>\n" to standard error; the
// message and "\n" to the log file. Nothing without DRAFTWORK_DEBUG.
void Log2Message(std::string_view prefix, int line, const char* function, std::string_view message);
// Appends the text to the log file, creating the file (not its folder) when it is missing. A file that cannot be
// written is passed over in silence. Nothing without DRAFTWORK_DEBUG.
void Log2AppendToFile(std::string_view text);

}  // namespace platform
