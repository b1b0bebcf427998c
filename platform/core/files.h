#pragma once

// Whole-file reads and crash-safe writes.

#include <cstdint>
#include <filesystem>

#include "platform/core/error.h"
#include "platform/core/value.h"

namespace platform {

// The largest file readFile reads, a whole number of GiB: beyond any drawing or picture, short of exhausting the
// memory.
inline constexpr std::uint64_t kLargestReadableFile = std::uint64_t{2} << 30;

// The whole of a regular file of at most `largest` bytes. Anything else fails with the reason, at once: a named
// pipe, a device, a folder or a socket is refused before anything is read, and so is a larger file.
Expected<Bytes> readFile(const std::filesystem::path& path, std::uint64_t largest = kLargestReadableFile);
// Writes to a temporary file in the same folder, flushes it to disk and
// renames it over the target, so a failure never damages the old file. A
// symbolic link is written through to its target and stays a link; an
// existing file keeps its permissions (and owner where the process may set
// it); a new file gets those of any new file (0666 less the umask).
Status writeFileAtomically(const std::filesystem::path& path, const void* bytes, std::size_t length);
inline Status writeFileAtomically(const std::filesystem::path& path, const Bytes& bytes) {
  return writeFileAtomically(path, bytes.data(), bytes.size());
}
// Keeps a damaged file out of harm's way as "<file>.corrupt-<UTC time>" (with
// "-2", "-3", … when that name is taken, so an earlier damaged copy is never
// replaced), by renaming it or by copying it when it is to stay in place.
// Answers the name it now has beside the original.
enum class AsideMethod { Move, Copy };
Expected<std::filesystem::path> setAsideCorruptFile(const std::filesystem::path& file, AsideMethod method);
// Creates the folder and its parents; succeeds when it already exists.
Status createDirectories(const std::filesystem::path& path);

}  // namespace platform
