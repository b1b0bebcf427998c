#pragma once

// The document's undo manager: an undo stack and a redo stack of undo records
// (plain dictionaries describing the state before an edit), and at most one
// open transaction. Edits register their record before they change anything,
// since a record is built from the document as it is at registration.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "document/CMUndoActionType.h"
#include "platform/core/value.h"

class CMUndoManager {
 public:
  // Puts the document back to the state a record describes and returns the
  // record that reverses it, or null when there was nothing to act on.
  using Replay = std::function<platform::DictRef(const platform::DictRef& record)>;

  CMUndoManager() = default;
  CMUndoManager(const CMUndoManager&) = delete;
  CMUndoManager& operator=(const CMUndoManager&) = delete;

  // The root record every lookup starts from.
  void setDocumentDataRef(platform::DictRef root) { root_ = std::move(root); }
  // Called after every registration, undo and redo, so the document knows it was edited.
  void setEditHandler(std::function<void()> handler) { editHandler_ = std::move(handler); }
  void setReplay(Replay replay) { replay_ = std::move(replay); }
  // The layer the user works on (the canvas's current one), or none. Each step remembers it as the step begins, and
  // the step that undoes or redoes it remembers the same, so that the layers a replay brings back are chosen again
  // with that one current.
  using CurrentLayer = std::function<std::optional<std::int32_t>()>;
  void setCurrentLayer(CurrentLayer current) { currentLayer_ = std::move(current); }
  // The current layer a step on either stack remembers.
  static std::optional<std::int32_t> currentLayerOf(const platform::DictRef& step);

  // Types 5 and 6: {"obj": layer record, "keys": [key]}; keys without a value are kept
  // as "absent", which undo removes again. Other types: a layer record.
  void regUndoDictionary(std::int32_t type, const platform::DictRef& argument);
  // Type 5 for keys of a record inside a layer (a style entry; the layer itself for an empty path): undo finds the
  // record again from the layer's id down the path of keys, in whatever copy of the layer the tree holds by then.
  // `previous` holds the values to restore for the keys it has (an edit already made in place); the record's own
  // values stand for the others. False, registering nothing, when none of the keys has a value.
  bool regUndoKeys(const platform::DictRef& layer, const platform::ArrayRef& path, const platform::DictRef& target,
                   const platform::ArrayRef& keys, const platform::DictRef& previous = nullptr);
  // Types 4 and 7: keys of the root record. Other types: layer records.
  void regUndoArray(std::int32_t type, const platform::ArrayRef& argument);
  // Type 3 for records just made and added, which nothing else holds: the step keeps the records themselves rather
  // than copies, so an import of many elements does not hold each of them twice.
  void regUndoAddedLayers(const platform::ArrayRef& records);
  // One record per layer record, as regUndoDictionary registers each (not for types 5 and 6).
  void regUndoDictionaries(std::int32_t type, const std::vector<platform::DictRef>& records);
  // One item {"group_id", "data", "index"} per record.
  void regUndoLayers(std::uint32_t type, const std::vector<platform::DictRef>& records);
  // A type-5 step over the layer record's whole "shape", for the point commands: naming
  // the layer (not its shape record) lets undo find it again after another undo put a
  // copy of the layer in its place, and the shape's other keys ("isbezier") come back too.
  // The frame comes back with it: a point command turns a parametric shape into points in
  // place, which rewrites the layer's origin and size.
  void regUndoShape(const platform::DictRef& layer);
  // Writes "position" and "group_id" into each given record, then registers copies of them.
  void regDelete(const std::vector<platform::DictRef>& records);

  // Transactions do not nest: starting again drops the open list. A named one is the step the Edit menu names
  // ("Undo - Group") instead of "Modify", and so is the step that redoes it.
  void startTransaction(std::string name = {});
  void endTransaction();
  // Ends the open transaction without registering what it collected: for a command that changed nothing after all.
  void discardTransaction();

  // A transaction for one scope: it ends with the scope, also when an exception leaves it.
  class Transaction {
   public:
    explicit Transaction(CMUndoManager& undo, std::string name = {}) : undo_(undo) {
      undo_.startTransaction(std::move(name));
    }
    ~Transaction() {
      if (open_) undo_.endTransaction();
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void discard() {
      if (open_) undo_.discardTransaction();
      open_ = false;
    }

   private:
    CMUndoManager& undo_;
    bool open_ = true;
  };
  bool inTransaction() const noexcept { return inTransaction_; }

  // Depth-first from the list; fills the out values given when found.
  platform::DictRef findLayer(std::int32_t id, const platform::ArrayRef& layers, platform::ArrayRef* parent,
                              std::size_t* index, std::int32_t* groupId = nullptr) const;
  // Id of the group whose "items" directly holds the layer; -1 at the top level or when absent.
  std::int32_t findParentGroupID(std::int32_t id) const;

  void undo();
  void redo();
  bool canUndo() const noexcept { return !undoStack_.empty(); }
  bool canRedo() const noexcept { return !redoStack_.empty(); }
  std::size_t undoCount() const noexcept { return undoStack_.size(); }
  std::size_t redoCount() const noexcept { return redoStack_.size(); }
  // Empties both stacks; an open transaction is kept.
  void removeAllActions();
  // Last element = next to undo / redo.
  const std::vector<platform::DictRef>& undoStack() const noexcept { return undoStack_; }
  const std::vector<platform::DictRef>& redoStack() const noexcept { return redoStack_; }

  static std::string actionCaption(std::int32_t type);
  // What the menu calls a record's step: a transaction's name, else the caption of its type.
  static std::string stepCaption(const platform::DictRef& record);
  std::string undoMenuItemTitle() const;
  std::string redoMenuItemTitle() const;

 private:
  void registerRecord(platform::DictRef record);
  void noteCurrentLayer(const platform::DictRef& step, std::optional<std::int32_t> current) const;
  void replayLast(std::vector<platform::DictRef>& from, std::vector<platform::DictRef>& to);
  void markEdited();
  platform::ArrayRef rootLayers() const;

  std::vector<platform::DictRef> undoStack_;
  std::vector<platform::DictRef> redoStack_;
  platform::DictRef root_;
  bool inTransaction_ = false;
  platform::ArrayRef transactionRecords_;
  std::string transactionName_;
  std::optional<std::int32_t> transactionCurrent_;
  CurrentLayer currentLayer_;
  std::function<void()> editHandler_;
  Replay replay_;
};
