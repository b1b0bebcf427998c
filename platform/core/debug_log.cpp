#include "platform/core/debug_log.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "platform/core/folders.h"

namespace platform {

bool debugLogEnabled() { return std::getenv(kDebugLogSwitch) != nullptr; }

void Log2Message(std::string_view prefix, int line, const char* function, std::string_view message) {
  if (!debugLogEnabled()) return;
  const std::string text = std::string(message) + "\n";
  Log2AppendToFile(text);
  const std::string head(prefix);
  std::fprintf(stderr, "%s%50s:%3d - %s", head.c_str(), function ? function : "", line, text.c_str());
}

void Log2AppendToFile(std::string_view text) {
  if (!debugLogEnabled()) return;
  const std::filesystem::path path = documentsFolder() / kDebugLogFileName;
  std::error_code error;
  if (!std::filesystem::exists(path, error)) {
    std::fprintf(stderr, "Creating file at %s\n", path.c_str());
    std::ofstream create(path, std::ios::binary);
  }
  std::ofstream file(path, std::ios::binary | std::ios::app);
  if (file) file.write(text.data(), static_cast<std::streamsize>(text.size()));
}

}  // namespace platform
