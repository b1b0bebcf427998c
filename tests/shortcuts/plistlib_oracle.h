#pragma once

// Python's plistlib as an outside reader and writer of what the shortcut controls store (read_plist.py).

#include <cstdio>
#include <memory>
#include <string>

namespace shortcuts_testing {

// Runs read_plist.py with the arguments (each quoted) and returns what it prints, without the final newline.
inline std::string plistlib(const std::string& mode, const std::string& file, const std::string& a,
                            const std::string& b = {}) {
  std::string command = "python3 '" DRAFTWORK_SOURCE_DIR "/tests/shortcuts/read_plist.py' " + mode + " '" + file +
                        "' '" + a + "'";
  if (!b.empty()) command += " '" + b + "'";
  std::unique_ptr<FILE, decltype(&pclose)> pipe(popen(command.c_str(), "r"), pclose);
  std::string output;
  char buffer[512];
  while (pipe && fgets(buffer, sizeof buffer, pipe.get())) output += buffer;
  while (!output.empty() && output.back() == '\n') output.pop_back();
  return output;
}

}  // namespace shortcuts_testing
