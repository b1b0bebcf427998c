#pragma once

// The questions the document controller puts to the user. The window layer
// answers them with its dialogs, whenever the user is done; tests answer with
// fakes, at once or later.

#include <filesystem>
#include <functional>
#include <optional>

#include "platform/core/error.h"

namespace platform {

class Document;

enum class SaveChoice { Save, DontSave, Cancel };

class DocumentPanels {
 public:
  using PathChosen = std::function<void(std::optional<std::filesystem::path>)>;

  virtual ~DocumentPanels() = default;
  // "Do you want to save the changes …?" with Save, Don't Save and Cancel.
  virtual void askToSaveChanges(const Document& document, std::function<void(SaveChoice)> answer) = 0;
  // A save panel; nothing chosen means cancelled.
  virtual void chooseSavePath(const Document& document, PathChosen chosen) = 0;
  virtual void chooseOpenPath(PathChosen chosen) = 0;
  // An "Error" alert with the description and an OK button.
  virtual void presentError(const Error& error) = 0;
};

}  // namespace platform
