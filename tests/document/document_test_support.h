#pragma once

// Shared pieces of the document model tests: folders redirected to a scratch
// root, a fake main window that counts what the model asks of it, and an audit
// of a layer tree walked independently of the model's own lookups.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "../platform/core/scratch_folder.h"
#include "document/CMBaseDocument.h"
#include "document/CMMainWindowService.h"
#include "document/CMUndoActionType.h"
#include "document/CMProject.h"
#include "platform/core/folders.h"
#include "platform/core/notification_center.h"
#include "platform/core/user_defaults.h"
#include "platform/core/value.h"

namespace document_testing {


// Nothing a test does may reach the real user's folders, even through shared instances.
class ScratchFolders {
 public:
  ScratchFolders() : previous_(platform::overrideFoldersRoot(scratch_ / "root")) { resetShared(); }
  ~ScratchFolders() {
    resetShared();
    platform::overrideFoldersRoot(previous_);
  }
  ScratchFolders(const ScratchFolders&) = delete;
  ScratchFolders& operator=(const ScratchFolders&) = delete;

  std::filesystem::path root() const { return scratch_ / "root"; }

 private:
  static void resetShared() {
    CMProject::resetSharedProject();
    platform::UserDefaults::resetStandardUserDefaults();
  }

  platform::testing::ScratchFolder scratch_;
  std::filesystem::path previous_;
};

class FakeMainWindow final : public CMMainWindowService {
 public:
  void updateEditor() override { ++editorUpdates; }
  void updateDocument() override { ++documentUpdates; }
  platform::DictRef selectedLayer() override { return selected; }
  std::shared_ptr<CMBaseDocument> document() override { return shown; }
  void setDocument(std::shared_ptr<CMBaseDocument> document) override { shown = std::move(document); }

  int editorUpdates = 0;
  int documentUpdates = 0;
  platform::DictRef selected;
  std::shared_ptr<CMBaseDocument> shown;
};

// Installs a fake main window for one scope and records the notifications posted.
class ObservedModel {
 public:
  ObservedModel() : previous_(CMMainWindowService::install(window_)) {
    token_ = platform::NotificationCenter::defaultCenter().addObserver(
        "", [this](const platform::Notification& note) { posted.push_back(note.name); });
  }
  ~ObservedModel() { CMMainWindowService::install(previous_); }
  ObservedModel(const ObservedModel&) = delete;
  ObservedModel& operator=(const ObservedModel&) = delete;

  FakeMainWindow& window() { return *window_; }
  void clear() {
    posted.clear();
    window_->editorUpdates = 0;
  }

  std::vector<std::string> posted;

 private:
  std::shared_ptr<FakeMainWindow> window_ = std::make_shared<FakeMainWindow>();
  std::shared_ptr<CMMainWindowService> previous_;
  platform::ObserverToken token_;
};

// A plain layer record made by hand, so tests do not depend on the model to build their fixtures.
inline platform::DictRef layer(std::int64_t id, std::int64_t position = 0) {
  return platform::Dictionary::make({{"id", id}, {"type", 0}, {"position", position}, {"visible", true}});
}

inline platform::DictRef group(std::int64_t id, std::vector<platform::DictRef> members, std::int64_t position = 0) {
  platform::ArrayRef items = platform::Array::make();
  for (auto& member : members) items->add(member);
  return platform::Dictionary::make({{"id", id}, {"type", 3}, {"position", position}, {"items", items}});
}

inline platform::DictRef rootWith(std::vector<platform::DictRef> layers) {
  platform::ArrayRef list = platform::Array::make();
  for (auto& record : layers) list->add(record);
  return platform::Dictionary::make({{"layers", list}, {"width", 800}, {"height", 600}});
}

// Ids of a list's own entries, in order.
inline std::vector<std::int64_t> idsOf(const platform::ArrayRef& list) {
  std::vector<std::int64_t> ids;
  if (list) {
    for (const auto& entry : *list) ids.push_back(entry.dictionary()->get("id").integerValue());
  }
  return ids;
}

// Walks "layers" and the "items" of every type-3 record.
struct TreeAudit {
  std::map<std::int64_t, int> idCounts;
  std::map<const platform::Dictionary*, int> recordCounts;
  std::map<const platform::Array*, int> listCounts;

  explicit TreeAudit(const platform::DictRef& root) { walk(root->array("layers")); }

  void walk(const platform::ArrayRef& list) {
    if (++listCounts[list.get()] > 1) return;  // a list reached twice is reported, not walked again
    for (const auto& entry : *list) {
      platform::DictRef record = entry.dictionary();
      ++idCounts[record->get("id").integerValue()];
      ++recordCounts[record.get()];
      if (record->get("type").integerValue() == 3 && record->array("items")) walk(record->array("items"));
    }
  }

  std::vector<std::int64_t> duplicateIds() const {
    std::vector<std::int64_t> repeated;
    for (const auto& [id, count] : idCounts)
      if (count > 1) repeated.push_back(id);
    return repeated;
  }
  bool everyRecordOnce() const {
    for (const auto& [record, count] : recordCounts)
      if (count != 1) return false;
    for (const auto& [list, count] : listCounts)
      if (count != 1) return false;
    return true;
  }
  std::size_t layerCount() const { return recordCounts.size(); }
};

// A layer record with the list that holds it.
struct ListedRecord {
  platform::DictRef record;
  platform::ArrayRef list;
};

// Every record of the tree below `list`, and every list that holds at least one.
inline void collectRecords(const platform::ArrayRef& list, std::vector<ListedRecord>& records,
                           std::vector<platform::ArrayRef>& lists) {
  if (!list->empty()) lists.push_back(list);
  for (const auto& value : *list) {
    platform::DictRef record = value.dictionary();
    records.push_back({record, list});
    if (record->get("type").integerValue() == 3) collectRecords(record->array("items"), records, lists);
  }
}

// What the canvas's group command does: one transaction that removes the
// records (all from `list`) and adds a group holding them in their stacking
// order where the lowest of them was.
inline void groupRecords(CMBaseDocument& document, const platform::ArrayRef& list,
                         std::vector<platform::DictRef> chosen) {
  std::sort(chosen.begin(), chosen.end());
  chosen.erase(std::unique(chosen.begin(), chosen.end()), chosen.end());
  std::size_t lowest = list->size();
  for (const auto& record : chosen) lowest = std::min(lowest, list->indexOfIdentical(platform::Value(record)));
  platform::DictRef group = document.createGroup();
  document.undoManager().startTransaction();
  document.remove(chosen);
  std::sort(chosen.begin(), chosen.end(), [](const platform::DictRef& a, const platform::DictRef& b) {
    return a->get("position").integerValue() < b->get("position").integerValue();
  });
  for (const auto& record : chosen) group->array("items")->add(record);
  list->insert(lowest, group);
  document.undoManager().regUndoDictionary(kCMUndoAdding, group);
  document.undoManager().endTransaction();
}

// The random choices of the randomised edit tests: layers, lists and numbers.
class RandomLayerChoices {
 public:
  RandomLayerChoices(CMBaseDocument& document, std::uint32_t seed) : document_(document), random_(seed) {}

 protected:
  int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
  platform::DictRef one(const std::vector<ListedRecord>& entries) {
    return entries[pick(0, int(entries.size()) - 1)].record;
  }
  // One to three records, possibly repeated.
  std::vector<platform::DictRef> some(const std::vector<ListedRecord>& entries) {
    std::vector<platform::DictRef> chosen;
    const int count = pick(1, 3);
    for (int i = 0; i < count; ++i) chosen.push_back(one(entries));
    return chosen;
  }
  // Groups up to three layers of one list.
  void groupSome(const platform::ArrayRef& list) {
    std::vector<platform::DictRef> chosen;
    const int count = pick(1, 3);
    for (int i = 0; i < count; ++i) chosen.push_back(list->at(pick(0, int(list->size()) - 1)).dictionary());
    groupRecords(document_, list, std::move(chosen));
  }

  CMBaseDocument& document_;

 private:
  std::mt19937 random_;
};

}  // namespace document_testing
