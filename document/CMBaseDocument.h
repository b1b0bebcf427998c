#pragma once

// A document's model: its root record with the tree of layer records, the
// edited flag, its undo manager, its own copy buffer and the layer-id counter,
// and every edit of the layer lists that the document makes itself. Each edit
// registers its undo record, asks the main window to refresh and announces the
// change; the canvas and panels read and edit the same records in place.

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "document/CMLayerTree.h"
#include "document/CMUndoManager.h"
#include "platform/core/geometry.h"
#include "platform/core/value.h"

class CMBaseDocument {
 public:
  using Records = std::vector<platform::DictRef>;

  CMBaseDocument();
  virtual ~CMBaseDocument();
  // The undo manager reports edits back to this object, so it stays where it was made.
  CMBaseDocument(const CMBaseDocument&) = delete;
  CMBaseDocument& operator=(const CMBaseDocument&) = delete;

  const platform::DictRef& data() const noexcept { return data_; }
  // Also hands the record to the undo manager. Null stands for an empty document.
  void setData(platform::DictRef root);
  // The edited state: set by every edit, undo and redo; cleared when the file is written.
  bool dirty() const noexcept { return dirty_; }
  // A change of the state is told to the handler (the window marks unsaved changes in its title and tab).
  void setDirty(bool dirty);
  void setDirtyChanged(std::function<void()> handler) { dirtyChanged_ = std::move(handler); }
  CMUndoManager& undoManager() noexcept { return *undoManager_; }
  const CMUndoManager& undoManager() const noexcept { return *undoManager_; }
  std::int32_t maxID() const noexcept { return maxID_; }

  // Ids and positions.
  std::int32_t newID();
  static std::int32_t findMaxIDForGroup(std::int32_t start, const platform::DictRef& group);
  // Raises the id counter past every top-level id (after reading a file).
  void findMaxID();
  // Gives a fresh id to every layer record, group member or mask whose id is missing, is
  // no whole number from 1 to the largest 32-bit one, or was taken by an earlier record of
  // the tree, so that lookups by id (undo, selection, the image cache) find one layer. A
  // damaged or foreign file may lack, repeat or overflow ids.
  void makeIdsUnique();
  std::int32_t newPosition() const;

  // Creating layers from the default records; null for an unknown name.
  platform::DictRef createObject(std::string_view name, platform::Point point);
  platform::DictRef addObject(std::string_view name, platform::Point point);
  platform::DictRef createGroup();
  // Adding a copy of a record the caller holds (a library shape) at the point. A record without a
  // size is measured first; the copy is centred on the point. The caller's record never changes.
  // The flag makes no difference.
  platform::DictRef addObjectWithData(const platform::DictRef& record, platform::Point point, bool centered);
  // The same with the copy's origin at the point.
  platform::DictRef addObjectWithData(const platform::DictRef& record, platform::Point point);

  // The list holding the first record, the root list when none is given, null
  // when any of them is missing. One walk of the tree finds them all.
  platform::ArrayRef findTopLayers(const Records& records);
  static platform::ArrayRef findTopLayers(const platform::ArrayRef& list, std::int32_t itemId);
  // The same for the list holding the group that holds the first record (the root list for a top-level one).
  platform::ArrayRef findUpLayers(const Records& records);
  // Where each record's id is in the tree, found in one walk.
  CMLayerTree::Locations locate(const Records& records);

  // Registers the removal (annotating the records), then removes them by id, all in one walk of the tree.
  void remove(const Records& records);
  static void remove(const platform::ArrayRef& list, std::int32_t itemId);
  // Removes copies of the records, refreshes and announces it.
  void deleteLayers(const Records& records);

  // The document's own clipboard.
  void copy(const Records& records);
  void cut(const Records& records);
  void paste();
  bool canPaste() const noexcept { return copyBuffer_ != nullptr; }
  const platform::ArrayRef& copyBuffer() const noexcept { return copyBuffer_; }

  void lock(const Records& records);
  void unlock(const Records& records);
  void toggleHiddenLayer(const platform::DictRef& record);

  // One place towards index 0 (-1) or the end (+1) of each holding list; refused
  // as a whole when any layer would leave its list.
  void moveLayers(const Records& records, std::int32_t direction);
  // Just after the target, in the target's list, in the given order.
  void moveLayersAfter(const Records& records, const platform::DictRef& target);
  // To the start of the root list, in the given order.
  void moveLayersToFirst(const Records& records);
  // Copies on top of the lists that hold the originals. Pasted and duplicated copies become the selection.
  void duplicate(const Records& records);

  void undo() { undoManager_->undo(); }
  void redo() { undoManager_->redo(); }

 private:
  platform::ArrayRef rootLayers();
  void advanceMaxID();
  // A copy that enters the tree gets fresh ids for every member and mask, so lookups by id stay unambiguous.
  void giveMembersFreshIds(const platform::DictRef& record);
  // Distinct found layers, without those inside another given group.
  Records outermostLayers(const Records& records);
  void setLocks(const Records& records, std::int32_t lock);
  void finishMove();
  // The copies that paste and duplicate added: one undo step, a refresh, the announcement, and the copies become
  // the selection where the document is shown.
  void finishAdding(const platform::ArrayRef& added);
  static void refresh();
  static void post(const char* notification);

  platform::DictRef data_;
  bool dirty_ = false;
  std::function<void()> dirtyChanged_;
  std::unique_ptr<CMUndoManager> undoManager_;
  platform::ArrayRef copyBuffer_;
  std::int32_t maxID_ = 0;
};
