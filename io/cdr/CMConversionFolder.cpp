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
  std::string pattern = (temporary / "draftwork-cdr-XXXXXX").string();
  if (!platform::createDirectories(temporary) || !g_mkdtemp_full(pattern.data(), 0700)) {
    return platform::Error::make(platform::Error::cocoaDomain, 10,
                                 "No temporary folder could be made: " + std::string(std::strerror(errno)));
  }
  return CMConversionFolder(std::move(pattern));
}

CMConversionFolder::~CMConversionFolder() {
  if (path_.empty()) return;
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}
