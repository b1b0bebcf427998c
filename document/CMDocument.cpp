#include "document/CMDocument.h"

#include <cmath>

#include "document/CMDocumentManager.h"
#include "document/CMProject.h"
#include "document/CMUsableZoom.h"
#include "platform/core/keyed_archive.h"
#include "platform/core/numeric.h"
#include "platform/core/property_list.h"
#include "platform/core/resources.h"
#include "platform/core/string_utilities.h"

namespace {

platform::DictRef newRootRecord() {
  CMProject& project = CMProject::shareProject();
  if (const platform::DictRef pending = project.defaultTemplate()) {
    project.setDefaultTemplate(nullptr);
    return platform::dictionaryCopy(pending);
  }
  platform::DictRef root = platform::dictionaryCopy(platform::dictionaryResource("default_doc"));
  if (!root) return nullptr;
  if (const platform::DictRef defaults = project.documentDefault()) {
    // Copies: the pending defaults stay set for later documents, which must not share their containers.
    for (const auto& [key, value] : *defaults) root->set(key, platform::deepCopy(value));
  }
  return root;
}

platform::Error notADrawing(const std::string& reason = {}) {
  return platform::Error::make(
      platform::Error::cocoaDomain, platform::kCoderReadCorruptError,
      reason.empty() ? "The file is not a Draftwork drawing." : "The file is not a Draftwork drawing: " + reason);
}

}  // namespace

CMDocument::CMDocument() {
  setData(newRootRecord());
  setDirty(false);
}

platform::Expected<platform::Bytes> CMDocument::dataOfType(std::string_view) {
  platform::Bytes bytes = platform::archivedDataWithRootObject(platform::Value(data()));
  if (bytes.empty()) return platform::Error::osStatus(-4);
  return bytes;
}

platform::Status CMDocument::readFromData(const platform::Bytes& bytes, std::string_view) {
  // What is no property list at all is some other kind of file, not a damaged drawing.
  if (!platform::mayBePropertyList(bytes)) return notADrawing();
  platform::UnarchiveReport report;
  platform::Expected<platform::Value> archived = platform::unarchiveObjectWithData(bytes, report);
  if (!archived) return notADrawing(archived.error().description);
  const platform::DictRef root = archived.value().dictionary();
  if (!root) return notADrawing("its content is not a drawing record.");
  if (!root->get("layers").isArray()) return notADrawing("it has no list of layers.");
  // No container may be shared between two places of the tree: an edit of one would show in the other. Only a file
  // that shares some needs the copy; the tree read is the document's own otherwise.
  setData(report.sharesContainers ? platform::dictionaryCopy(root) : root);
  makeIdsUnique();
  findMaxID();
  setDirty(false);
  return platform::success();
}

void CMDocument::makeWindowControllers() {
  if (CMProject::shareProject().lockAutoOpenDocument()) return;
  CMDocumentManager::sharedDocumentManager().makeWindowControllers(shared_from_this());
}

void CMDocument::shouldCloseWindowController() {
  CMDocumentManager::sharedDocumentManager().closeDocument(shared_from_this());
}

std::string CMDocument::markedDisplayName() const {
  return (dirty() ? "\u2022 " : "") + fullDisplayName();
}

std::string CMDocument::fullDisplayName() const {
  // The zoom the canvas draws at, whatever the file holds. Single precision on purpose: a zoom of 1.1 reads 110%,
  // not 110.00%.
  const float zoom = CMUsableZoom(data()->get("zoom").floatValue()) * 100.0f;
  if (zoom - std::trunc(zoom) > 0.0f)
    return platform::formatString("%s, %.2f%%", displayName().c_str(), static_cast<double>(zoom));
  return platform::formatString("%s, %d%%", displayName().c_str(), platform::saturatingTruncate<int>(zoom));
}
