#include "platform/core/folders.h"

#include <glib.h>

#include <cstdlib>

#include "platform/core/bundle.h"
#include "platform/core/files.h"

namespace platform {
namespace {

std::filesystem::path& foldersRoot() {
  static std::filesystem::path root;
  return root;
}

// The XDG conventions ignore relative paths in these variables.
std::filesystem::path absoluteFromEnvironment(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || value[0] != '/') return {};
  return value;
}

std::filesystem::path homeFolder() {
  if (auto home = absoluteFromEnvironment("HOME"); !home.empty()) return home;
  return g_get_home_dir();
}

}  // namespace

std::filesystem::path applicationSupportDirectory() {
  if (!foldersRoot().empty()) return foldersRoot() / "data";
  if (auto data = absoluteFromEnvironment("XDG_DATA_HOME"); !data.empty()) return data;
  return homeFolder() / ".local" / "share";
}

std::filesystem::path supportFolder() { return applicationSupportDirectory() / bundleName(); }

Expected<std::filesystem::path> createSupportFolder() {
  std::filesystem::path folder = supportFolder();
  if (Status created = createDirectories(folder); !created) return created.error();
  return folder;
}

std::filesystem::path configFolder() {
  if (!foldersRoot().empty()) return foldersRoot() / "config" / bundleName();
  if (auto config = absoluteFromEnvironment("XDG_CONFIG_HOME"); !config.empty()) return config / bundleName();
  return homeFolder() / ".config" / bundleName();
}

std::filesystem::path temporaryFolder() {
  if (!foldersRoot().empty()) return foldersRoot() / "tmp";
  if (auto temporary = absoluteFromEnvironment("TMPDIR"); !temporary.empty()) return temporary;
  return "/tmp";
}

std::filesystem::path documentsFolder() {
  if (!foldersRoot().empty()) return foldersRoot() / "Documents";
  if (auto documents = absoluteFromEnvironment("XDG_DOCUMENTS_DIR"); !documents.empty()) return documents;
  if (const char* special = g_get_user_special_dir(G_USER_DIRECTORY_DOCUMENTS); special != nullptr) return special;
  return homeFolder() / "Documents";
}

std::filesystem::path overrideFoldersRoot(std::filesystem::path root) {
  std::filesystem::path previous = std::move(foldersRoot());
  foldersRoot() = std::move(root);
  return previous;
}

}  // namespace platform
