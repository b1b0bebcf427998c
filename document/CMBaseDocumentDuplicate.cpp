#include "document/CMBaseDocument.h"
#include "document/CMLayerTree.h"

void CMBaseDocument::duplicate(const Records& records) {
  const platform::ArrayRef root = rootLayers();
  platform::ArrayRef added = platform::Array::make();
  for (const platform::DictRef& record : records) {
    if (!record) continue;
    platform::ArrayRef list = findTopLayers(root, CMLayerTree::layerId(record));
    if (!list) continue;
    platform::DictRef copy = platform::dictionaryCopy(record);
    copy->set("id", newID());
    copy->set("position", newPosition());
    list->add(copy);
    giveMembersFreshIds(copy);
    added->add(copy);
  }
  finishAdding(added);
}
