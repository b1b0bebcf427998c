#pragma once

// The folders the program keeps its files in, after the XDG base-directory
// conventions. Everything is computed on each call from the environment (GLib
// caches the XDG variables, so they are read here directly), which lets tests
// redirect them.

#include <filesystem>

#include "platform/core/error.h"

namespace platform {

// $XDG_DATA_HOME, else ~/.local/share: the folder that holds each program's
// support folder, for callers that append the bundle name themselves.
std::filesystem::path applicationSupportDirectory();
// <application support>/Draftwork; not created.
std::filesystem::path supportFolder();
// The support folder, created with its parents.
Expected<std::filesystem::path> createSupportFolder();
// $XDG_CONFIG_HOME/Draftwork, else ~/.config/Draftwork; created by whoever writes there.
std::filesystem::path configFolder();
// $TMPDIR, else /tmp.
std::filesystem::path temporaryFolder();
// $XDG_DOCUMENTS_DIR, else the user's documents folder from user-dirs.dirs, else ~/Documents.
std::filesystem::path documentsFolder();

// Puts every folder above under one root (data/, config/Draftwork, tmp/, Documents/),
// for tests. An empty path goes back to the environment. Returns the previous root.
std::filesystem::path overrideFoldersRoot(std::filesystem::path root);

}  // namespace platform
