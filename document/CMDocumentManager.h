#pragma once

// Puts documents into the one main window. The main window shows one document
// at a time; every other open document has one virtual window, listed in the
// Window menu under its title, and choosing it swaps that document in.
// The document order is the document controller's list order.

#include <functional>
#include <memory>
#include <vector>

#include "document/CMMainWindowPresenter.h"
#include "document/CMVirtualWindow.h"
#include "document/CMVirtualWindowDelegate.h"
#include "platform/core/document_controller.h"

inline constexpr const char* kNotificationDocumentChanged = "notificationDocumentChanged";
inline constexpr const char* kNotificationNeedToUpdateDocumentTab = "NeedToUpdateDocumentTab";

class CMDocumentManager final : public CMVirtualWindowDelegate {
 public:
  using DocumentRef = std::shared_ptr<platform::Document>;

  // In the Window menu the main window is listed under the presenter's address.
  CMDocumentManager(platform::DocumentController& controller, std::shared_ptr<CMMainWindowPresenter> presenter);
  CMDocumentManager(const CMDocumentManager&) = delete;
  CMDocumentManager& operator=(const CMDocumentManager&) = delete;

  // The installed manager; until one is installed, one over the shared
  // document controller with a main window that is never shown.
  static CMDocumentManager& sharedDocumentManager();
  static std::shared_ptr<CMDocumentManager> install(std::shared_ptr<CMDocumentManager> manager);

  // Shows a new or opened document; the one shown so far becomes a Window menu item. A document that has a
  // virtual window already (it was opened again) is swapped in through it.
  void makeWindowControllers(const DocumentRef& document);
  // Shows an open document (a document tab was picked).
  void openDocument(const DocumentRef& document);
  // Asks the document to close. Only once it has closed does the main window
  // move on to the next document; a Cancel changes nothing. Returns false: the
  // window itself never closes this way. `done` learns whether the document closed.
  bool closeDocument(const DocumentRef& document, std::function<void(bool closed)> done = {});
  // Closes a document the user has already been asked about (or that has nothing to ask), as closeDocument does
  // after a yes: the main window moves on to the next document, or goes away after the last.
  void closeAnswered(const DocumentRef& document);
  // The close callback: closes the document when allowed; after the last one,
  // the main window goes away.
  void documentAction(const DocumentRef& document, bool shouldClose, bool lastDocument);
  void windowWillShow(CMVirtualWindow& window) override;

  const std::vector<std::shared_ptr<CMVirtualWindow>>& virtualWindows() const noexcept { return windows_; }

 private:
  const void* mainWindowIdentity() const noexcept { return presenter_.get(); }
  DocumentRef shownDocument() const;
  void show(const DocumentRef& document);
  void addVirtualWindow(const DocumentRef& document);
  // The one virtual window standing for the document, or null.
  std::shared_ptr<CMVirtualWindow> virtualWindowOf(const DocumentRef& document) const;
  // Takes the document's virtual window off the Window menu and the list.
  void dropVirtualWindow(const DocumentRef& document);
  void switchAfterClosing(const DocumentRef& next);

  platform::DocumentController& controller_;
  std::shared_ptr<CMMainWindowPresenter> presenter_;
  std::vector<std::shared_ptr<CMVirtualWindow>> windows_;
};
