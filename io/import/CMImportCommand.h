#pragma once

// The import command: an open panel offers the picture formats, "cdr" and "svg"; the chosen file's extension, in any
// letter case, picks the road. An SVG drawing's records are appended to the document (page grown to fit, one step
// of undo), the canvas and panels refreshed and "notificationLayersReCreate" posted; a CorelDRAW drawing, converted
// by the converter program, is appended the same way but leaves the page as it is; any other file becomes one
// image layer. What was imported becomes the selection, as a layer made any other way does. What cannot be
// imported ends in an "Error" alert that says why, with the document unchanged; an SVG drawing whose XML breaks
// partway is imported as far as it could be read, and the alert names the line.

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "document/CMImportExportServices.h"

namespace platform {
class FilePanel;
}  // namespace platform

class CMImportCommand final : public CMImportService, public std::enable_shared_from_this<CMImportCommand> {
 public:
  // What start-up installs as the document's import service: each import gets a command of its own.
  static std::unique_ptr<CMImportService> makeService();
  // The picture formats gdk-pixbuf reads, then "cdr" and "svg".
  static std::vector<std::string> importFileTypes();

  // Opens the panel as a sheet on the main window and returns; the import runs when the panel closes.
  void doImport(CMDocument& document) override;
  // The open panel; `chosen` gets the first file chosen, or nothing when the panel was cancelled.
  void importObject(std::function<void(std::optional<std::filesystem::path>)> chosen);
  // Imports one file into the document, as the command does once a file is chosen.
  static void importURL(CMDocument& document, const std::filesystem::path& url);

  const std::shared_ptr<platform::FilePanel>& currentImportPanel() const { return currentImportPanel_; }

 private:
  std::shared_ptr<platform::FilePanel> currentImportPanel_;
};
