#include "platform/core/log.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace platform {
namespace {

LogSink& currentSink() {
  static LogSink sink;
  return sink;
}

}  // namespace

void log(LogLevel level, std::string_view message) {
  if (const LogSink& sink = currentSink()) {
    sink(level, message);
    return;
  }
  // Trace lines are for a developer who asked for them.
  if (level == LogLevel::Debug && !isDebugLogging()) return;
  const char* prefix = level == LogLevel::Debug ? "DEBUG " : level == LogLevel::Warning ? "Draftwork warning: " : "Draftwork error: ";
  std::fprintf(stderr, "%s%.*s\n", prefix, static_cast<int>(message.size()), message.data());
}

bool isDebugLogging() {
  static const bool wanted = std::getenv("DRAFTWORK_DEBUG") != nullptr;
  return wanted || currentSink();
}

LogSink setLogSink(LogSink sink) {
  LogSink previous = std::move(currentSink());
  currentSink() = std::move(sink);
  return previous;
}

}  // namespace platform
