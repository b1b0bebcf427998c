#pragma once

// A private folder (mode 0700, in the user's temporary folder) for the pictures of one CorelDRAW conversion:
// deleted, with everything in it, when the import that made it ends, however it ends.

#include <cstdint>
#include <filesystem>
#include <utility>

#include "platform/core/error.h"

class CMConversionFolder {
 public:
  // The error of a temporary folder that cannot be used or a conversion folder that cannot be made in it.
  static constexpr std::int64_t kNoFolder = 10;

  // The folder, or an error that names the temporary folder and why no folder could be made there.
  static platform::Expected<CMConversionFolder> make();

  CMConversionFolder(CMConversionFolder&& other) noexcept : path_(std::exchange(other.path_, {})) {}
  CMConversionFolder& operator=(CMConversionFolder&&) = delete;
  ~CMConversionFolder();

  const std::filesystem::path& path() const { return path_; }

 private:
  explicit CMConversionFolder(std::filesystem::path path) : path_(std::move(path)) {}

  std::filesystem::path path_;
};
