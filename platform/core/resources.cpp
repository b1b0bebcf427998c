#include "platform/core/resources.h"

#include <cstdlib>
#include <string>
#include <system_error>

#include "platform/core/log.h"
#include "platform/core/property_list.h"

namespace platform {
namespace {

std::filesystem::path& executableFolderOverride() {
  static std::filesystem::path folder;
  return folder;
}

std::string resourceFileName(std::string_view name, std::string_view type) {
  std::string fileName(name);
  if (!type.empty()) {
    if (type.front() != '.') fileName += '.';
    fileName += type;
  }
  return fileName;
}

}  // namespace

std::filesystem::path executableFolder() {
  if (!executableFolderOverride().empty()) return executableFolderOverride();
  std::error_code error;
  std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::path() : executable.parent_path();
}

std::filesystem::path overrideExecutableFolder(std::filesystem::path folder) {
  std::filesystem::path previous = std::move(executableFolderOverride());
  executableFolderOverride() = std::move(folder);
  return previous;
}

std::vector<std::filesystem::path> resourceFolders() {
  std::vector<std::filesystem::path> folders;
  if (const char* environmentFolder = std::getenv("DRAFTWORK_RESOURCES");
      environmentFolder != nullptr && environmentFolder[0] != '\0') {
    folders.emplace_back(environmentFolder);
  }
  if (std::filesystem::path executable = executableFolder(); !executable.empty()) {
    folders.push_back(executable.parent_path() / "share" / "draftwork");
  }
  return folders;
}

std::filesystem::path pathForResource(std::string_view name, std::string_view type, std::string_view subfolder) {
  if (name.empty()) return {};
  const std::string fileName = resourceFileName(name, type);
  for (const std::filesystem::path& folder : resourceFolders()) {
    std::filesystem::path candidate = subfolder.empty() ? folder / fileName : folder / subfolder / fileName;
    std::error_code error;
    if (std::filesystem::exists(candidate, error)) return candidate;
  }
  return {};
}

Value propertyListResource(std::string_view name, std::string_view type) {
  std::filesystem::path path = pathForResource(name, type);
  if (path.empty()) {
    logWarning("Missing resource " + resourceFileName(name, type));
    return Value();
  }
  Expected<Value> contents = readPropertyListFile(path);
  if (!contents) {
    logWarning("Could not read the resource " + path.string() + ": " + contents.error().description);
    return Value();
  }
  return std::move(contents).value();
}

DictRef dictionaryResource(std::string_view name) {
  Value contents = propertyListResource(name);
  if (contents.isNil()) return nullptr;  // already reported
  if (!contents.isDictionary()) {
    logWarning("The resource " + resourceFileName(name, "plist") + " does not hold a dictionary");
    return nullptr;
  }
  return contents.dictionary();
}

}  // namespace platform
