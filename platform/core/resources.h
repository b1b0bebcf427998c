#pragma once

// The program's read-only resources: <prefix>/share/draftwork beside
// <prefix>/bin, both in the build tree and in an installed prefix. The
// DRAFTWORK_RESOURCES environment variable names a folder searched first.

#include <filesystem>
#include <string_view>
#include <vector>

#include "platform/core/value.h"

namespace platform {

// The folders searched, in order: $DRAFTWORK_RESOURCES when set, then
// <folder of the executable>/../share/draftwork.
std::vector<std::filesystem::path> resourceFolders();

// The path of "<name>.<type>" (just <name> when type is empty) in the first
// resource folder that has it, optionally inside a subfolder such as "library";
// empty when no folder has it.
std::filesystem::path pathForResource(std::string_view name, std::string_view type, std::string_view subfolder = {});

// A property-list resource read into a value; nil with a logged warning when it
// is missing or cannot be read.
Value propertyListResource(std::string_view name, std::string_view type = "plist");
// A "<name>.plist" resource whose root is a dictionary; null with a logged
// warning otherwise.
DictRef dictionaryResource(std::string_view name);

// The folder of the running executable, from /proc/self/exe.
std::filesystem::path executableFolder();
// Makes resourceFolders() look beside another executable folder, for tests. An
// empty path goes back to the real one. Returns the previous override.
std::filesystem::path overrideExecutableFolder(std::filesystem::path folder);

}  // namespace platform
