#pragma once

// Temporary files for the pictures embedded in a CorelDRAW drawing: each is written to a file of its own, named by
// a new UUID with the extension "bmp" whatever its format, and referred to from the drawing's SVG by file URL. The
// files go to the folder the conversion was given (the converter process gets a private one, deleted when the
// import ends); "com.test.Tessarine.TMPManagerDidSavedFile" is posted for each, with "FilePath" = its URL.

#include <librevenge/librevenge.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <set>
#include <string>

inline constexpr const char* kTMPManagerDidSavedFileNotification = "com.test.Tessarine.TMPManagerDidSavedFile";

class TMPManager {
 public:
  // A picture larger than this, or one that would take a conversion's files past kMostBytes, is not written.
  static constexpr std::uintmax_t kLargestFile = 256u << 20;
  static constexpr std::uintmax_t kMostBytes = 1u << 30;

  static TMPManager& instance();

  // Where the files go: the user's temporary folder until another is set.
  const std::filesystem::path& folder() const { return folder_; }
  void setFolder(std::filesystem::path folder) { folder_ = std::move(folder); }

  // Writes the bytes to a new file; its file URL, or nothing when it could not be written.
  std::optional<std::string> saveData(const unsigned char* bytes, std::size_t length);
  // Deletes every file written so far (errors are ignored) and forgets them.
  void removeAllFiles();
  const std::set<std::string>& files() const { return files_; }

 private:
  TMPManager();

  std::filesystem::path folder_;
  std::set<std::string> files_;
  std::uintmax_t bytesWritten_ = 0;
};

// The bytes of an "office:binary-data" property (librevenge hands them over as base64 text) saved by the
// TMPManager: the file URL, or nothing.
std::optional<std::string> getFileURL(const librevenge::RVNGProperty& property);
