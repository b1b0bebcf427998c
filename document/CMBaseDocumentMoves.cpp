#include <algorithm>
#include <unordered_set>
#include <utility>

#include "document/CMBaseDocument.h"
#include "document/CMLayerTree.h"
#include "document/CMNotificationNames.h"
#include "platform/core/log.h"

namespace {

struct Placed {
  platform::DictRef record;
  platform::ArrayRef list;
  std::size_t index = platform::Array::npos;
};

// Each id once: a layer named twice must not move twice.
CMBaseDocument::Records distinct(const CMBaseDocument::Records& records) {
  CMBaseDocument::Records unique;
  std::unordered_set<std::int32_t> seen;
  for (const platform::DictRef& record : records) {
    if (record && seen.insert(CMLayerTree::layerId(record)).second) unique.push_back(record);
  }
  return unique;
}

// Registered in increasing index order: replaying the stacking record puts each
// layer back at its index, which restores the order only when lower indexes go first.
CMBaseDocument::Records inIndexOrder(const platform::ArrayRef& root, const CMBaseDocument::Records& records) {
  std::vector<std::pair<std::size_t, platform::DictRef>> indexed;
  for (const platform::DictRef& record : records) {
    indexed.emplace_back(CMLayerTree::find(root, CMLayerTree::layerId(record)).index, record);
  }
  std::stable_sort(indexed.begin(), indexed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  CMBaseDocument::Records ordered;
  for (auto& [index, record] : indexed) ordered.push_back(std::move(record));
  return ordered;
}

}  // namespace

void CMBaseDocument::finishMove() {
  setDirty(true);
  refresh();
  post(kNotificationLayersChanged);
}

void CMBaseDocument::moveLayers(const Records& records, std::int32_t direction) {
  if (direction != -1 && direction != 1) {
    platform::logWarning("layers move by one place at a time");
    return;
  }
  // A layer that cannot be found refuses the move like one that would leave its list.
  if (std::ranges::any_of(records, [](const platform::DictRef& record) { return !record; })) return;
  const platform::ArrayRef root = rootLayers();
  std::vector<Placed> moves;
  for (const platform::DictRef& record : distinct(records)) {
    const std::int32_t id = CMLayerTree::layerId(record);
    platform::ArrayRef list = findTopLayers(root, id);
    const std::size_t index = CMLayerTree::indexOf(list, id);
    if (!list || index == platform::Array::npos) return;
    if ((direction < 0 && index == 0) || (direction > 0 && index + 1 >= list->size())) return;
    moves.push_back({record, list, index});
  }
  Records moved;
  for (const Placed& move : moves) moved.push_back(move.record);
  undoManager_->regUndoLayers(kCMUndoStacking, inIndexOrder(root, moved));
  // Neighbours moving the same way must go front first, or they block each other.
  std::stable_sort(moves.begin(), moves.end(), [direction](const Placed& a, const Placed& b) {
    return direction > 0 ? a.index > b.index : a.index < b.index;
  });
  for (const Placed& move : moves) {
    const std::size_t index = CMLayerTree::indexOf(move.list, CMLayerTree::layerId(move.record));
    platform::Value live = move.list->at(index);
    move.list->removeAt(index);
    move.list->insert(direction > 0 ? index + 1 : index - 1, live);
  }
  finishMove();
}

void CMBaseDocument::moveLayersAfter(const Records& records, const platform::DictRef& target) {
  if (!target) return;
  const platform::ArrayRef root = rootLayers();
  const std::int32_t targetId = CMLayerTree::layerId(target);
  const Records moved = outermostLayers(records);
  std::unordered_set<std::int32_t> movedOrInside;
  for (const platform::DictRef& record : moved) {
    movedOrInside.insert(CMLayerTree::layerId(record));
    CMLayerTree::collectMemberIds(CMLayerTree::find(root, CMLayerTree::layerId(record)).record, movedOrInside);
  }
  // A group cannot go after one of its own members: it would end up inside itself.
  if (movedOrInside.contains(targetId)) return;

  undoManager_->regUndoLayers(kCMUndoStacking, inIndexOrder(root, moved));
  if (CMLayerTree::find(root, targetId).record) {
    Records live;
    for (const platform::DictRef& record : moved) {
      CMLayerTree::Location found = CMLayerTree::find(root, CMLayerTree::layerId(record));
      if (!found.record) continue;
      found.list->removeAt(found.index);
      live.push_back(found.record);
    }
    // The target's index is read after the removals, which may have shifted it.
    CMLayerTree::Location anchor = CMLayerTree::find(root, targetId);
    for (std::size_t k = 0; k < live.size(); ++k) anchor.list->insert(anchor.index + 1 + k, live[k]);
  }
  finishMove();
}

void CMBaseDocument::moveLayersToFirst(const Records& records) {
  const platform::ArrayRef root = rootLayers();
  const Records given = distinct(records);
  undoManager_->regUndoLayers(kCMUndoStacking, inIndexOrder(root, given));
  std::size_t k = 0;
  for (const platform::DictRef& record : given) {
    CMLayerTree::Location found = CMLayerTree::find(root, CMLayerTree::layerId(record));
    if (!found.record) continue;
    found.list->removeAt(found.index);
    root->insert(k++, found.record);
  }
  finishMove();
}
