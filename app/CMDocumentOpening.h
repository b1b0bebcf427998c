#pragma once

// How the application's windows open and close documents: every close goes
// through the save prompt, whose Cancel stops the command that asked, and a
// file that fails to open shows "Error" with its reason.

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

namespace platform {
class Document;
}

// Opens the file, displayed; false (after the "Error" alert) when it cannot be opened.
bool openFileDisplayed(const std::filesystem::path& path);
// Closes the document open from the file, if any, then runs `then`; a Cancel at the prompt runs nothing.
void closeDocumentForPathThen(const std::filesystem::path& path, std::function<void()> then);
// Closes every open document, one prompt after another, then runs `then`; a Cancel stops there.
void closeAllDocumentsThen(std::function<void()> then);
// The "Error" alert with the text, as for a file that does not exist.
void presentErrorText(const std::string& text);
// What a missing file says.
inline constexpr const char* kFileDoesNotExist = "File does not exist!";
