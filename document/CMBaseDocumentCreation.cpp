#include "document/CMBaseDocument.h"
#include "document/CMProject.h"

platform::DictRef CMBaseDocument::createObject(std::string_view name, platform::Point point) {
  platform::DictRef record = CMProject::defaultObject(name);
  if (!record) return nullptr;
  // Room for the id and position at once: growing by them would double the entries of every record an import makes.
  record->reserve(record->size() + 2);
  maxID_ = newID();
  record->set("x", platform::Value::real32(point.x));
  record->set("y", platform::Value::real32(point.y));
  record->set("id", maxID_);
  record->set("position", maxID_);
  // The record is not in the tree yet, so the counter alone keeps the next id apart.
  advanceMaxID();
  return record;
}

platform::DictRef CMBaseDocument::addObject(std::string_view name, platform::Point point) {
  platform::DictRef record = createObject(name, point);
  if (!record) return nullptr;
  rootLayers()->add(record);
  undoManager_->regUndoDictionary(kCMUndoAdding, record);
  return record;
}

platform::DictRef CMBaseDocument::createGroup() {
  platform::DictRef group = CMProject::defaultObject("group");
  if (!group) return nullptr;
  maxID_ = newID();
  group->set("id", maxID_);
  advanceMaxID();
  return group;
}
