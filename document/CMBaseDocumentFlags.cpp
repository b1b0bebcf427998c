#include "document/CMBaseDocument.h"

void CMBaseDocument::setLocks(const Records& records, std::int32_t lock) {
  for (const platform::DictRef& record : records) {
    if (record) record->set("lock", lock);
  }
  setDirty(true);
}

void CMBaseDocument::lock(const Records& records) { setLocks(records, 1); }

void CMBaseDocument::unlock(const Records& records) { setLocks(records, 0); }

void CMBaseDocument::toggleHiddenLayer(const platform::DictRef& record) {
  if (!record) return;
  undoManager_->regUndoDictionary(
      kCMUndoVisibility,
      platform::Dictionary::make({{"obj", record}, {"keys", platform::Array::make({platform::Value("visible")})}}));
  record->set("visible", !record->get("visible").boolValue());
  refresh();
}
