#pragma once

// The document half of the application: the document types it can make, the
// ordered list of open documents and the current one, new, open, save, save
// as, and the "can close?" flow. Every question goes to the user through the
// installed DocumentPanels.

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/document.h"
#include "platform/core/document_panels.h"
#include "platform/core/error.h"
#include "platform/core/window_menu.h"

namespace platform {

class DocumentController {
 public:
  using DocumentRef = std::shared_ptr<Document>;
  using Factory = std::function<DocumentRef()>;
  using Finished = std::function<void(bool)>;

  explicit DocumentController(std::shared_ptr<DocumentPanels> panels);
  DocumentController(const DocumentController&) = delete;
  DocumentController& operator=(const DocumentController&) = delete;

  // The installed controller; until one is installed, one whose panels cancel
  // every question and report errors to the log.
  static DocumentController& shared();
  static std::shared_ptr<DocumentController> install(std::shared_ptr<DocumentController> controller);

  // The first type registered is the one new documents get. Extensions are
  // compared without regard to case.
  void registerDocumentType(std::string type, std::vector<std::string> extensions, Factory factory);
  std::string typeForExtension(std::string_view extension) const;
  std::string defaultType() const;

  const std::vector<DocumentRef>& documents() const noexcept { return documents_; }
  const DocumentRef& currentDocument() const noexcept { return current_; }
  void setCurrentDocument(DocumentRef document) { current_ = std::move(document); }
  DocumentRef documentForURL(const std::filesystem::path& path) const;

  // A new untitled document of the type, shown.
  Expected<DocumentRef> newDocument(std::string_view type);
  Expected<DocumentRef> newDocument() { return newDocument(defaultType()); }
  // The document already open for that file, or the file read by the class its
  // extension names, then shown.
  Expected<DocumentRef> openDocument(const std::filesystem::path& path);
  // Open through the open panel; a failure is presented.
  void openDocumentWithPanel(std::function<void(DocumentRef)> opened = {});

  // Saves to the document's file, or asks for one first (also when the file's type is one the document cannot
  // write). A failure is presented.
  void saveDocument(const DocumentRef& document, Finished done = {});
  void saveDocumentAs(const DocumentRef& document, Finished done = {});

  // An edited document asks Save / Don't Save / Cancel; Save that fails or is
  // cancelled in the save panel keeps the document open.
  void canCloseDocument(const DocumentRef& document, Finished done);
  // Takes the document off the list (the current one too).
  void removeDocument(const Document& document);

  DocumentPanels& panels() noexcept { return *panels_; }
  // Told the path of every document opened from or saved to a file (the recent-documents list).
  void setNoteRecentDocument(std::function<void(const std::filesystem::path&)> note) { noteRecent_ = std::move(note); }
  WindowMenu& windowMenu() noexcept { return windowMenu_; }

 private:
  struct DocumentType {
    std::string type;
    std::vector<std::string> extensions;
    Factory factory;
  };

  const DocumentType* findType(std::string_view type) const;
  int nextUntitledNumber() const;
  void addDocument(const DocumentRef& document);
  void writeDocument(const DocumentRef& document, const std::filesystem::path& path, Finished done);

  std::shared_ptr<DocumentPanels> panels_;
  std::vector<DocumentType> types_;
  std::vector<DocumentRef> documents_;
  DocumentRef current_;
  WindowMenu windowMenu_;
  std::function<void(const std::filesystem::path&)> noteRecent_;
};

}  // namespace platform
