#include "document/CMDocumentManager.h"

#include <algorithm>
#include <utility>

#include "document/CMBaseDocument.h"
#include "document/CMDocument.h"
#include "document/CMMainWindowService.h"
#include "platform/core/notification_center.h"

namespace {

class HiddenMainWindow final : public CMMainWindowPresenter {
 public:
  void showWindow() override {}
  void orderOut() override {}
  void updateDocumentTabs() override {}
};

std::shared_ptr<CMDocumentManager>& installedManager() {
  static std::shared_ptr<CMDocumentManager> manager;
  return manager;
}

std::string titleOf(const CMDocumentManager::DocumentRef& document) {
  if (auto drawing = std::dynamic_pointer_cast<CMDocument>(document)) return drawing->fullDisplayName();
  return document->displayName();
}

void post(const char* name) { platform::NotificationCenter::defaultCenter().post(name); }

}  // namespace

CMDocumentManager::CMDocumentManager(platform::DocumentController& controller,
                                     std::shared_ptr<CMMainWindowPresenter> presenter)
    : controller_(controller), presenter_(presenter ? std::move(presenter) : std::make_shared<HiddenMainWindow>()) {}

CMDocumentManager& CMDocumentManager::sharedDocumentManager() {
  if (!installedManager())
    installedManager() = std::make_shared<CMDocumentManager>(platform::DocumentController::shared(), nullptr);
  return *installedManager();
}

std::shared_ptr<CMDocumentManager> CMDocumentManager::install(std::shared_ptr<CMDocumentManager> manager) {
  return std::exchange(installedManager(), std::move(manager));
}

CMDocumentManager::DocumentRef CMDocumentManager::shownDocument() const {
  return std::dynamic_pointer_cast<platform::Document>(CMMainWindowService::shared().document());
}

void CMDocumentManager::show(const DocumentRef& document) {
  presenter_->showWindow();
  CMMainWindowService::shared().setDocument(std::dynamic_pointer_cast<CMBaseDocument>(document));
  controller_.setCurrentDocument(document);
}

void CMDocumentManager::addVirtualWindow(const DocumentRef& document) {
  // The manager owns its virtual windows and outlives them, so they hold it without owning it.
  auto window = std::make_shared<CMVirtualWindow>(std::dynamic_pointer_cast<CMBaseDocument>(document),
                                                  std::shared_ptr<CMVirtualWindowDelegate>(this, [](auto*) {}));
  windows_.push_back(window);
  controller_.windowMenu().addWindowsItem(window.get(), titleOf(document), "",
                                          [window] { window->makeKeyAndOrderFront(); });
}

std::shared_ptr<CMVirtualWindow> CMDocumentManager::virtualWindowOf(const DocumentRef& document) const {
  const auto found = std::ranges::find_if(windows_, [&document](const std::shared_ptr<CMVirtualWindow>& window) {
    return std::dynamic_pointer_cast<platform::Document>(window->document()) == document;
  });
  return found == windows_.end() ? nullptr : *found;
}

void CMDocumentManager::dropVirtualWindow(const DocumentRef& document) {
  if (const std::shared_ptr<CMVirtualWindow> window = virtualWindowOf(document)) {
    controller_.windowMenu().removeWindowsItem(window.get());
    std::erase(windows_, window);
  }
}

void CMDocumentManager::makeWindowControllers(const DocumentRef& document) {
  // A document opened again keeps its one virtual window: it is only brought forward.
  if (const std::shared_ptr<CMVirtualWindow> window = virtualWindowOf(document)) {
    windowWillShow(*window);
    return;
  }
  const DocumentRef shown = shownDocument();
  for (const DocumentRef& open : controller_.documents()) {
    if (open == document || open != shown) continue;
    addVirtualWindow(open);
    presenter_->updateDocumentTabs();
    break;
  }
  show(document);
  post(kNotificationNeedToUpdateDocumentTab);
}

void CMDocumentManager::openDocument(const DocumentRef& document) { makeWindowControllers(document); }

void CMDocumentManager::windowWillShow(CMVirtualWindow& window) {
  // The list entry may be the only owner of the window: keep it alive to the end.
  const auto found = std::ranges::find_if(windows_, [&window](const auto& entry) { return entry.get() == &window; });
  if (found == windows_.end()) return;
  const std::shared_ptr<CMVirtualWindow> chosen = *found;
  const DocumentRef document = std::dynamic_pointer_cast<platform::Document>(chosen->document());
  if (const DocumentRef shown = shownDocument(); shown && shown != document) addVirtualWindow(shown);
  controller_.windowMenu().removeWindowsItem(chosen.get());
  show(document);
  std::erase(windows_, chosen);
}

bool CMDocumentManager::closeDocument(const DocumentRef& document, std::function<void(bool closed)> done) {
  if (!document) return false;
  document->canCloseDocument([this, document, done = std::move(done)](bool shouldClose) {
    if (shouldClose) closeAnswered(document);
    if (done) done(shouldClose);
  });
  return false;
}

void CMDocumentManager::closeAnswered(const DocumentRef& document) {
  const auto& open = controller_.documents();
  if (!document || std::ranges::find(open, document) == open.end()) return;
  if (document != controller_.currentDocument()) {
    documentAction(document, true, false);
    dropVirtualWindow(document);
    post(kNotificationDocumentChanged);
    return;
  }
  if (open.size() < 2) return documentAction(document, true, true);
  const auto at = std::ranges::find(open, document);
  const DocumentRef next = at + 1 == open.end() ? open.front() : *(at + 1);
  documentAction(document, true, false);
  switchAfterClosing(next);
}

void CMDocumentManager::switchAfterClosing(const DocumentRef& next) {
  const auto& open = controller_.documents();
  // The document picked when the close was asked may have gone while the user answered.
  DocumentRef shown = std::ranges::find(open, next) != open.end() ? next : nullptr;
  if (!shown && !open.empty()) shown = open.front();
  controller_.windowMenu().removeWindowsItem(mainWindowIdentity());
  if (shown) dropVirtualWindow(shown);
  post(kNotificationDocumentChanged);
  if (shown) show(shown);
}

void CMDocumentManager::documentAction(const DocumentRef& document, bool shouldClose, bool lastDocument) {
  if (!shouldClose) return;
  document->close();
  if (lastDocument) presenter_->orderOut();
}
