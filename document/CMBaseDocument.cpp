#include "document/CMBaseDocument.h"

#include <utility>

#include "document/CMMainWindowService.h"
#include "document/CMUndoReplay.h"
#include "platform/core/notification_center.h"

CMBaseDocument::CMBaseDocument()
    : data_(platform::Dictionary::make({{"layers", platform::Array::make()}})),
      undoManager_(std::make_unique<CMUndoManager>()) {
  undoManager_->setDocumentDataRef(data_);
  undoManager_->setEditHandler([this] { setDirty(true); });
  // Reads data_ at each replay, so a root record read later is the one replayed against.
  undoManager_->setReplay([this](const platform::DictRef& record) { return CMUndoReplay(data_).makeAction(record); });
}

CMBaseDocument::~CMBaseDocument() = default;

void CMBaseDocument::setDirty(bool dirty) {
  if (dirty_ == dirty) return;
  dirty_ = dirty;
  if (dirtyChanged_) dirtyChanged_();
}

void CMBaseDocument::setData(platform::DictRef root) {
  data_ = root ? std::move(root) : platform::Dictionary::make({{"layers", platform::Array::make()}});
  undoManager_->setDocumentDataRef(data_);
}

platform::ArrayRef CMBaseDocument::rootLayers() {
  platform::ArrayRef layers = data_->array("layers");
  if (!layers) {
    // A file without a layer list still gets one to add to.
    layers = platform::Array::make();
    data_->set("layers", layers);
  }
  return layers;
}

void CMBaseDocument::refresh() { CMMainWindowService::shared().updateEditor(); }

void CMBaseDocument::post(const char* notification) {
  platform::NotificationCenter::defaultCenter().post(notification);
}
