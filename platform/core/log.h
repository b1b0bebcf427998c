#pragma once

// Warnings and debug lines for the developer, on the standard error stream;
// debug lines only when the environment sets DRAFTWORK_DEBUG. Tests can
// capture them all.

#include <functional>
#include <string_view>

namespace platform {

enum class LogLevel { Debug, Warning, Error };

void log(LogLevel level, std::string_view message);
// Whether debug lines are wanted (DRAFTWORK_DEBUG is set, or a sink takes the lines): building costly ones
// can wait for this.
bool isDebugLogging();
inline void logWarning(std::string_view message) { log(LogLevel::Warning, message); }
inline void logError(std::string_view message) { log(LogLevel::Error, message); }

// Replaces where messages go; an empty function restores the standard error
// stream. Returns the previous sink.
using LogSink = std::function<void(LogLevel, std::string_view)>;
LogSink setLogSink(LogSink sink);

}  // namespace platform
