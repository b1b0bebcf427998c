#pragma once

// A private folder (mode 0700, in the user's temporary folder) for the pictures of one CorelDRAW conversion:
// deleted, with everything in it, when the import that made it ends, however it ends.

#include <filesystem>
#include <utility>

#include "platform/core/error.h"

class CMConversionFolder {
 public:
  static platform::Expected<CMConversionFolder> make();

  CMConversionFolder(CMConversionFolder&& other) noexcept : path_(std::exchange(other.path_, {})) {}
  CMConversionFolder& operator=(CMConversionFolder&&) = delete;
  ~CMConversionFolder();

  const std::filesystem::path& path() const { return path_; }

 private:
  explicit CMConversionFolder(std::filesystem::path path) : path_(std::move(path)) {}

  std::filesystem::path path_;
};
