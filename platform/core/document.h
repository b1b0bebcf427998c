#pragma once

// The document half of the document architecture: one open file (or a new,
// untitled one) with its type, display name and edited state, and the hooks a
// document class fills in to turn its model into bytes and back. No toolkit
// here: the window layer shows documents, the controller keeps them.

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/core/error.h"
#include "platform/core/value.h"

namespace platform {

class DocumentController;

class Document : public std::enable_shared_from_this<Document> {
 public:
  Document() = default;
  virtual ~Document() = default;
  Document(const Document&) = delete;
  Document& operator=(const Document&) = delete;

  const std::filesystem::path& fileURL() const noexcept { return fileURL_; }
  void setFileURL(std::filesystem::path path) { fileURL_ = std::move(path); }
  const std::string& fileType() const noexcept { return fileType_; }
  void setFileType(std::string type) { fileType_ = std::move(type); }
  // The file's name with its extension once saved or opened; "Untitled",
  // "Untitled 2", … for a new document.
  std::string displayName() const;
  void setUntitledNumber(int number) noexcept { untitledNumber_ = number; }
  int untitledNumber() const noexcept { return untitledNumber_; }

  virtual bool isDocumentEdited() const { return edited_; }
  virtual void setDocumentEdited(bool edited) { edited_ = edited; }

  virtual Expected<Bytes> dataOfType(std::string_view type) = 0;
  // Whether dataOfType can make that type; Save of a document read in a type it cannot write goes through Save As.
  virtual bool canWriteType(std::string_view) const { return true; }
  virtual Status readFromData(const Bytes& data, std::string_view type) = 0;
  // Shows the document; the controller calls it once the document is open.
  virtual void makeWindowControllers() {}
  // The user closes the document's window: by default, ask and close.
  virtual void shouldCloseWindowController();

  // Reads the file; on success the document takes its path and type.
  Status readFromURL(const std::filesystem::path& path, std::string_view type);
  // Writes atomically; only a successful write moves the document to the path
  // and clears its edited state, so a failed save leaves both the old file and
  // the "edited" mark in place.
  Status writeToURL(const std::filesystem::path& path, std::string_view type);

  // The "can close?" flow of the controller: asks to save an edited document
  // first. The answer may come later (the prompt is asynchronous).
  void canCloseDocument(std::function<void(bool shouldClose)> done);
  // Leaves the controller's list.
  void close();

  DocumentController* controller() const noexcept { return controller_; }
  void setController(DocumentController* controller) noexcept { controller_ = controller; }

 private:
  std::filesystem::path fileURL_;
  std::string fileType_;
  int untitledNumber_ = 1;
  bool edited_ = false;
  DocumentController* controller_ = nullptr;
};

}  // namespace platform
