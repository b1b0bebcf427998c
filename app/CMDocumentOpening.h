#pragma once

// How the application's windows open and close documents: every close goes
// through the save prompt, whose Cancel stops the command that asked, and a
// file that fails to open shows "Error" with its reason. Templates and samples
// become new untitled documents: the files installed with the program are
// never a document's own file.

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "platform/core/value.h"

namespace platform {
class Document;
}

// Opens the file, displayed; false (after the "Error" alert) when it cannot be opened.
bool openFileDisplayed(const std::filesystem::path& path);
// A new untitled document holding the drawing's root record (a plain one for null); false after the alert.
bool newDocumentFromDrawing(const platform::DictRef& root);
// A sample drawing ("Samples/<name>.vard") as a new untitled document; false after the alert.
bool newDocumentFromSample(const std::string& name);
// Closes the document open from the file, if any, then runs `then`; a Cancel at the prompt runs nothing.
void closeDocumentForPathThen(const std::filesystem::path& path, std::function<void()> then);
// Asks about every edited document, one prompt after another; once none said Cancel, closes them all and runs
// `then`. A Cancel closes nothing.
void closeAllDocumentsThen(std::function<void()> then);
// The "Error" alert with the text, as for a file that does not exist.
void presentErrorText(const std::string& text);
// What a missing file says.
inline constexpr const char* kFileDoesNotExist = "File does not exist!";
