#pragma once

// Replays undo records against a document root record. Each replay puts the
// tree back to the state a record describes and returns the record that
// reverses it (null when nothing was found to act on), then asks the main
// window to refresh and announces the change.

#include <cstdint>
#include <vector>

#include "document/CMLayerTree.h"
#include "platform/core/value.h"

class CMUndoReplay {
 public:
  explicit CMUndoReplay(platform::DictRef root);

  platform::DictRef makeAction(const platform::DictRef& record);

  // Puts a dirty copy of the item's "data" in the place of the live layer with the same id.
  void makeMoveAction(const platform::DictRef& item);
  // One type-3 record: removes the added layers, or ("remove" YES) puts them back.
  platform::DictRef makeAddLayersAction(const platform::DictRef& record);

 private:
  platform::DictRef replayEditing(const platform::DictRef& record);
  platform::DictRef replayAdding(const platform::DictRef& record);
  platform::DictRef replayDeleting(const platform::DictRef& record);
  platform::DictRef replayAddingLayers(const platform::DictRef& record);
  platform::DictRef replayRootKeys(const platform::DictRef& record);
  platform::DictRef replayLayerKeys(const platform::DictRef& record);
  platform::DictRef liveKeyTarget(const platform::DictRef& record);
  // The layer of the id, masks searched too, or null.
  platform::DictRef liveLayer(std::int32_t id);
  platform::DictRef replayStacking(const platform::DictRef& record);
  platform::DictRef replayTransaction(const platform::DictRef& record);
  // A record whose undo takes an added layer out again.
  static bool isUndoOfAdding(const platform::DictRef& record);
  // The undo of several such records, given last registered first, in one walk of the tree; their inverses.
  std::vector<platform::DictRef> removeAddedLayers(const std::vector<platform::DictRef>& records);

  struct Placement {
    std::int64_t index = 0;
    platform::DictRef record;
    platform::Value groupId;  // nil or -1: the root list
  };

  // The live layer or mask with the id of an edited record's copy.
  CMLayerTree::Location findEdited(const platform::DictRef& data);
  // Puts a dirty copy of the data in the place of the live record found there.
  void replaceLive(const CMLayerTree::Location& live, const platform::DictRef& data);
  platform::ArrayRef rootLayers();
  // The "items" of the group a "group_id" value names, else the root list.
  platform::ArrayRef targetList(const platform::Value& groupId);
  // Lowest index first: records taken from one list at these indexes then land
  // where they were, whatever order they were registered in.
  void placeInIndexOrder(std::vector<Placement> placements);
  // The item records themselves, each at its "position" in the list its "group_id" names.
  void placeAtPositions(const platform::ArrayRef& items);
  void finishLayersChange();

  platform::DictRef root_;
};
