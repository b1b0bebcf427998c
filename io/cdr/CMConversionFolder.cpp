#include "io/cdr/CMConversionFolder.h"

#include <glib.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/core/files.h"
#include "platform/core/folders.h"

platform::Expected<CMConversionFolder> CMConversionFolder::make() {
  // The temporary folder may not be there yet (an empty $TMPDIR tree); it is made as any program would.
  const std::filesystem::path temporary = platform::temporaryFolder();
  if (const platform::Status made = platform::createDirectories(temporary); !made) {
    return platform::Error::make(platform::Error::cocoaDomain, kNoFolder,
                                 "The temporary folder cannot be used (TMPDIR): " + made.error().description);
  }
  std::string pattern = (temporary / "draftwork-cdr-XXXXXX").string();
  if (!g_mkdtemp_full(pattern.data(), 0700)) {
    const int failure = errno;
    return platform::Error::make(platform::Error::cocoaDomain, kNoFolder,
                                 "No folder for the conversion could be made in \"" + temporary.string() +
                                     "\": " + std::strerror(failure));
  }
  return CMConversionFolder(std::move(pattern));
}

CMConversionFolder::~CMConversionFolder() {
  if (path_.empty()) return;
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}
