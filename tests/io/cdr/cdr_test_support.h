#pragma once

// Shared pieces of the CorelDRAW tests: property lists built in a line, the sample drawings, and a temporary
// folder of the test's own in which the conversions' private folders can be counted.

#include <librevenge/librevenge.h>

#include <filesystem>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "../../platform/core/scratch_folder.h"
#include "platform/core/folders.h"

namespace cdr_testing {

inline const std::filesystem::path kSamples = std::filesystem::path(DRAFTWORK_TESTDATA_DIR) / "cdr";

struct Length {
  double value;
  librevenge::RVNGUnit unit = librevenge::RVNG_INCH;
};

inline librevenge::RVNGPropertyList lengths(std::initializer_list<std::pair<const char*, Length>> entries) {
  librevenge::RVNGPropertyList list;
  for (const auto& [key, length] : entries) list.insert(key, length.value, length.unit);
  return list;
}

// A path's "svg:d" from segments such as {"M", {{"svg:x", {1}}, {"svg:y", {2}}}}.
inline librevenge::RVNGPropertyList pathOf(
    std::initializer_list<std::pair<const char*, std::initializer_list<std::pair<const char*, Length>>>> segments) {
  librevenge::RVNGPropertyListVector d;
  for (const auto& [action, values] : segments) {
    librevenge::RVNGPropertyList segment = lengths(values);
    segment.insert("librevenge:path-action", action);
    d.append(segment);
  }
  librevenge::RVNGPropertyList list;
  list.insert("svg:d", d);
  return list;
}

// How many times `part` occurs in `text`, overlapping ones included.
inline std::size_t occurrences(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

// The conversions' private folders left in the user's temporary folder.
inline std::vector<std::filesystem::path> conversionFolders() {
  std::vector<std::filesystem::path> found;
  std::error_code missing;
  for (const auto& entry : std::filesystem::directory_iterator(platform::temporaryFolder(), missing)) {
    if (entry.path().filename().string().rfind("draftwork-cdr-", 0) == 0) found.push_back(entry.path());
  }
  return found;
}

// Puts the user's temporary folder (and every other) under a scratch folder for the test's lifetime.
class OwnTemporaryFolder {
 public:
  OwnTemporaryFolder() : previous_(platform::overrideFoldersRoot(scratch_.path())) {}
  ~OwnTemporaryFolder() { platform::overrideFoldersRoot(previous_); }

  std::vector<std::filesystem::path> conversionFolders() const { return cdr_testing::conversionFolders(); }

 private:
  platform::testing::ScratchFolder scratch_;
  std::filesystem::path previous_;
};

}  // namespace cdr_testing
