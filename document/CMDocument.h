#pragma once

// The document class of the program's own ".vard" files and of new documents:
// builds the root record of a new document, writes and reads the file (the
// keyed archive of the root record), gives the window title with the zoom and
// carries the export, import, save-as-template and print commands. The
// document manager decides which window shows it.

#include <filesystem>
#include <string>
#include <string_view>

#include "document/CMBaseDocument.h"
#include "platform/core/document.h"

class CMDocument : public CMBaseDocument, public platform::Document {
 public:
  static constexpr const char* kFileType = "vard";
  static constexpr const char* kTemplateStoreName = "templates.data";

  // From the project's pending template (used once), else from the
  // "default_doc" resource with the pending document defaults set over it.
  CMDocument();

  // The edited state is the model's dirty flag.
  bool isDocumentEdited() const override { return dirty(); }
  void setDocumentEdited(bool edited) override { setDirty(edited); }

  // The keyed archive of the root record. Leaves the edited state alone: only
  // a successful write of the file clears it.
  platform::Expected<platform::Bytes> dataOfType(std::string_view type) override;
  // Fails, leaving the document as it was, unless the data is an archive of a
  // dictionary whose "layers" is an array.
  platform::Status readFromData(const platform::Bytes& data, std::string_view type) override;

  // Hands the document to the document manager unless the project holds automatic opening back.
  void makeWindowControllers() override;
  // Closing goes through the document manager, which picks the next document to show.
  void shouldCloseWindowController() override;

  // "<display name>, 100%", or with two decimals when the zoom has a fraction.
  std::string fullDisplayName() const;
  // The full display name, after "• " while the drawing has unsaved changes: the title bar's and the tab's text.
  std::string markedDisplayName() const;

  void OnExport();
  void OnImport() { doImport(); }
  void doImport();
  // Grows the page to the bounds of imported records, up to kCMLargestPageLength and never shrinking it; a growth
  // is registered for undo first.
  void resizeDocument(const platform::ArrayRef& records);
  // Unites into `rect` the bounds of every shape, image and text record of the tree, as their layers measure them:
  // the bounds of a group when given its "items".
  static void parseLayers(const platform::ArrayRef& records, platform::Rect& rect);
  // Appends the document to the template store with a PNG thumbnail beside it. A store that cannot be read is set
  // aside first; that and a store that cannot be written are told to the user (CMUserNotices), a missing
  // thumbnail is logged.
  void OnSaveAsTemplate();
  // The page as PNG data at the resolution asked for, for the print operation of the window layer.
  platform::Expected<platform::Bytes> printImage(double pixelsPerPoint = 1);
  static std::string guid();
};
