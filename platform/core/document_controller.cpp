#include "platform/core/document_controller.h"

#include <algorithm>
#include <set>
#include <utility>

#include "platform/core/log.h"
#include "platform/core/string_utilities.h"

namespace platform {

namespace {

// Without a window layer nobody can answer: every question is cancelled.
class HeadlessPanels final : public DocumentPanels {
 public:
  void askToSaveChanges(const Document&, std::function<void(SaveChoice)> answer) override {
    answer(SaveChoice::Cancel);
  }
  void chooseSavePath(const Document&, PathChosen chosen) override { chosen(std::nullopt); }
  void chooseOpenPath(PathChosen chosen) override { chosen(std::nullopt); }
  void presentError(const Error& error) override { logWarning(error.description); }
};

// The path with its links and dots resolved as far as the file system lets them be (a loop of links, a name too
// long or a folder that may not be entered stop the resolving, not the program).
std::filesystem::path resolvedPath(const std::filesystem::path& path) {
  std::error_code error;
  std::filesystem::path resolved = std::filesystem::weakly_canonical(path, error);
  return error ? path.lexically_normal() : resolved;
}

std::shared_ptr<DocumentController>& installedController() {
  static std::shared_ptr<DocumentController> controller;
  return controller;
}

}  // namespace

DocumentController::DocumentController(std::shared_ptr<DocumentPanels> panels)
    : panels_(panels ? std::move(panels) : std::make_shared<HeadlessPanels>()) {}

DocumentController& DocumentController::shared() {
  if (!installedController()) installedController() = std::make_shared<DocumentController>(nullptr);
  return *installedController();
}

std::shared_ptr<DocumentController> DocumentController::install(std::shared_ptr<DocumentController> controller) {
  return std::exchange(installedController(), std::move(controller));
}

void DocumentController::registerDocumentType(std::string type, std::vector<std::string> extensions, Factory factory) {
  for (std::string& extension : extensions) extension = lowercaseString(extension);
  types_.push_back({std::move(type), std::move(extensions), std::move(factory)});
}

std::string DocumentController::typeForExtension(std::string_view extension) const {
  if (!extension.empty() && extension.front() == '.') extension.remove_prefix(1);
  const std::string wanted = lowercaseString(extension);
  for (const DocumentType& type : types_) {
    if (std::ranges::find(type.extensions, wanted) != type.extensions.end()) return type.type;
  }
  return {};
}

std::string DocumentController::defaultType() const { return types_.empty() ? std::string() : types_.front().type; }

const DocumentController::DocumentType* DocumentController::findType(std::string_view type) const {
  auto found = std::ranges::find(types_, type, &DocumentType::type);
  return found == types_.end() ? nullptr : &*found;
}

DocumentController::DocumentRef DocumentController::documentForURL(const std::filesystem::path& path) const {
  const std::filesystem::path wanted = resolvedPath(path);
  for (const DocumentRef& document : documents_) {
    if (!document->fileURL().empty() && resolvedPath(document->fileURL()) == wanted) return document;
  }
  return nullptr;
}

int DocumentController::nextUntitledNumber() const {
  // The lowest number no open untitled document uses, so closing "Untitled"
  // makes the name free again.
  std::set<int> used;
  for (const DocumentRef& document : documents_) {
    if (document->fileURL().empty()) used.insert(document->untitledNumber());
  }
  int number = 1;
  while (used.contains(number)) ++number;
  return number;
}

void DocumentController::addDocument(const DocumentRef& document) {
  document->setController(this);
  documents_.push_back(document);
  current_ = document;
  document->makeWindowControllers();
}

Expected<DocumentController::DocumentRef> DocumentController::newDocument(std::string_view type) {
  const DocumentType* found = findType(type);
  DocumentRef document = found && found->factory ? found->factory() : nullptr;
  if (!document) {
    return Error::make(
        Error::cocoaDomain, 0,
        formatString("No document of type \"%.*s\" can be made.", static_cast<int>(type.size()), type.data()));
  }
  document->setFileType(found->type);
  document->setUntitledNumber(nextUntitledNumber());
  addDocument(document);
  return document;
}

Expected<DocumentController::DocumentRef> DocumentController::openDocument(const std::filesystem::path& path) {
  if (DocumentRef open = documentForURL(path)) {
    current_ = open;
    open->makeWindowControllers();
    return open;
  }
  const std::string name = path.filename().string();
  const DocumentType* found = findType(typeForExtension(path.extension().string()));
  DocumentRef document = found && found->factory ? found->factory() : nullptr;
  if (!document) {
    return Error::make(Error::cocoaDomain, 0,
                       formatString("The document \"%s\" could not be opened: Draftwork cannot open files of this "
                                    "type.",
                                    name.c_str()));
  }
  Status read = document->readFromURL(path, found->type);
  if (!read) {
    return Error::make(
        read.error().domain, read.error().code,
        formatString("The document \"%s\" could not be opened. %s", name.c_str(), read.error().description.c_str()));
  }
  addDocument(document);
  if (noteRecent_) noteRecent_(path);
  return document;
}

void DocumentController::openDocumentWithPanel(std::function<void(DocumentRef)> opened) {
  panels_->chooseOpenPath([this, opened = std::move(opened)](std::optional<std::filesystem::path> path) {
    if (!path) return;
    Expected<DocumentRef> document = openDocument(*path);
    if (!document) {
      panels_->presentError(document.error());
      return;
    }
    if (opened) opened(document.value());
  });
}

void DocumentController::removeDocument(const Document& document) {
  std::erase_if(documents_, [&document](const DocumentRef& open) { return open.get() == &document; });
  if (current_.get() == &document) current_ = nullptr;
}

}  // namespace platform
