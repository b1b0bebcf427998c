#include "document/CMBaseDocument.h"
#include "document/CMMainWindowService.h"
#include "document/CMNotificationNames.h"

void CMBaseDocument::copy(const Records& records) {
  platform::ArrayRef buffer = platform::Array::make();
  for (const platform::DictRef& record : records) {
    if (record) buffer->add(platform::dictionaryCopy(record));
  }
  copyBuffer_ = buffer;
}

void CMBaseDocument::cut(const Records& records) {
  copy(records);
  // The buffer's own records go to the removal, so they carry "position" and "group_id" from it.
  Records buffered;
  for (const platform::Value& entry : *copyBuffer_) buffered.push_back(entry.dictionary());
  remove(buffered);
  refresh();
  post(kNotificationLayersChanged);
}

void CMBaseDocument::paste() {
  if (!copyBuffer_) return;
  const platform::ArrayRef root = rootLayers();
  platform::ArrayRef added = platform::Array::make();
  for (const platform::Value& entry : *copyBuffer_) {
    platform::DictRef buffered = entry.dictionary();
    if (!buffered) continue;
    platform::DictRef copy = platform::dictionaryCopy(buffered);
    copy->set("id", newID());
    copy->set("position", newPosition());
    root->add(copy);
    giveMembersFreshIds(copy);
    added->add(copy);
  }
  finishAdding(added);
}

void CMBaseDocument::finishAdding(const platform::ArrayRef& added) {
  undoManager_->regUndoArray(kCMUndoAddingLayers, added);
  refresh();
  post(kNotificationLayersChanged);
  Records records;
  for (const platform::Value& entry : *added) records.push_back(entry.dictionary());
  CMMainWindowService::shared().selectAddedLayers(*this, records);
}
