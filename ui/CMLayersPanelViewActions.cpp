// The layers panel's commands and its row drags.

#include <optional>

#include "document/CMDocument.h"
#include "platform/core/keyed_archive.h"
#include "platform/ui/drop_destination.h"
#include "ui/CMLayersPanelView.h"
#include "ui/CMPanelWindow.h"
#include "ui/CMTextEditWindow.h"

namespace {

constexpr std::int32_t kGroupType = 3;

// The rows of the drag under way (one at a time in the process) and their ids, so that a drop after the list was
// read again moves nothing it did not mean to.
struct DraggedRows {
  platform::IndexSet rows;
  std::vector<std::int32_t> ids;
};

std::optional<DraggedRows>& draggedRows() {
  static std::optional<DraggedRows> dragged;
  return dragged;
}

}  // namespace

void CMLayersPanelView::OnSelectAction(int tag) {
  switch (tag) {
    case kDuplicateTag:
      OnDublicateAction();
      break;
    case kDeleteTag:
      OnRemoveAction();
      break;
    case kRenameTag:
      OnEditAction();
      break;
    case kUpTag:
      OnMoveUpAction();
      break;
    case kDownTag:
      OnMoveDownAction();
      break;
    default:
      break;
  }
}

void CMLayersPanelView::OnDublicateAction() {
  const Records selected = selectedLayers();
  if (document() && !selected.empty()) document()->duplicate(selected);
  updateToolbarStates();
}

void CMLayersPanelView::OnRemoveAction() {
  const Records selected = selectedLayers();
  if (document() && !selected.empty()) document()->deleteLayers(selected);
  updateToolbarStates();
}

void CMLayersPanelView::OnMoveUpAction() {
  const Records selected = selectedLayers();
  if (document() && !selected.empty()) document()->moveLayers(selected, -1);
  updateToolbarStates();
}

void CMLayersPanelView::OnMoveDownAction() {
  const Records selected = selectedLayers();
  if (document() && !selected.empty()) document()->moveLayers(selected, 1);
  updateToolbarStates();
}

void CMLayersPanelView::OnEditAction() {
  const std::optional<std::size_t> row = tableView().selectedRowIndexes().firstIndex();
  if (document() && row && !renameSheet_) {
    renameSheet_ = std::make_unique<CMTextEditWindow>();
    renameSheet_->setLayerData(rows_[*row].record, document());
    const std::int32_t id = rows_[*row].id;
    renameSheet_->beginSheet(CMPanelWindow::shared().sheetParent(), [this, id] {
      renameSheet_.reset();
      // The renamed row only: nothing else changed.
      if (const std::optional<std::size_t> renamed = rows_.rowOfID(id)) tableView().reloadRow(*renamed);
    });
  }
  updateToolbarStates();
}

void CMLayersPanelView::OnGroup() {
  const Records selected = selectedLayers();
  if (!selected.empty()) CMPanelWindow::shared().groupLayers(selected);
  updateToolbarStates();
}

void CMLayersPanelView::OnUngroup() {
  const Records selected = selectedLayers();
  if (!selected.empty()) CMPanelWindow::shared().ungroupLayers(selected);
  updateToolbarStates();
}

void CMLayersPanelView::OnLock() {
  const Records selected = selectedLayers();
  if (document() && !selected.empty()) {
    // One record of every layer before any changes, so one undo restores every "lock".
    document()->undoManager().regUndoLayers(kCMUndoEditing, selected);
    for (const platform::DictRef& record : selected) {
      if (record->get("lock").boolValue()) {
        document()->unlock({record});
      } else {
        document()->lock({record});
      }
    }
  }
  updateToolbarStates();
}

void CMLayersPanelView::OnHiddenAction(std::int32_t id) {
  const platform::DictRef record = layerByID(id);
  if (!record || !document()) return;
  document()->toggleHiddenLayer(record);
  if (const std::optional<std::size_t> row = rows_.rowOfID(id)) tableView().reloadRow(*row);
}

void CMLayersPanelView::OnHideShowAction() {
  if (!document()) return;
  for (const std::size_t row : tableView().selectedRowIndexes()) {
    document()->toggleHiddenLayer(rows_[row].record);
    tableView().reloadRow(row);
  }
  updateToolbarStates();
}

bool CMLayersPanelView::checkDragAndDropPossible(const Records& sources, const platform::DictRef& destination) {
  const std::int32_t target = destination->get("id").intValue();
  // Groups are searched without recursion, so any depth the reader takes is safe.
  std::vector<platform::DictRef> pending(sources.rbegin(), sources.rend());
  while (!pending.empty()) {
    const platform::DictRef source = std::move(pending.back());
    pending.pop_back();
    if (!source) continue;
    if (source->get("id").intValue() == target) return false;
    if (source->get("type").intValue() != kGroupType) continue;
    if (const platform::ArrayRef items = source->array("items"))
      for (const platform::Value& item : *items) pending.push_back(item.dictionary());
  }
  return true;
}

bool CMLayersPanelView::writeRows(platform::TableView&, const platform::IndexSet& rows,
                                  platform::Pasteboard& pasteboard) {
  DraggedRows dragged;
  platform::ArrayRef archived = platform::Array::make();
  for (const std::size_t row : rows) {
    if (row >= rows_.size()) return false;
    dragged.rows.add(row);
    dragged.ids.push_back(rows_[row].id);
    archived->add(static_cast<std::int64_t>(row));
  }
  pasteboard.declareTypes({platform::pasteboard_type::LayerRows});
  pasteboard.setData(platform::archivedDataWithRootObject(archived), platform::pasteboard_type::LayerRows);
  draggedRows() = std::move(dragged);
  return true;
}

std::optional<CMLayersPanelView::Records> CMLayersPanelView::draggedLayers() const {
  const std::optional<DraggedRows>& dragged = draggedRows();
  if (!dragged || dragged->rows.empty()) return std::nullopt;
  Records sources;
  std::size_t next = 0;
  for (const std::size_t row : dragged->rows) {
    if (row >= rows_.size() || rows_[row].id != dragged->ids[next++] || rows_[row].isMaskEntry) return std::nullopt;
    sources.push_back(rows_[row].record);
  }
  return sources;
}

platform::DragOperation CMLayersPanelView::validateDrop(platform::TableView&, const platform::DraggingInfo&,
                                                        std::size_t gap) {
  const std::optional<Records> sources = draggedLayers();
  if (!sources || !document()) return platform::drag_operation::None;
  if (gap == 0) return platform::drag_operation::Move;
  // Masks hang on their layer, outside the lists a move can reach.
  const CMLayerRow& above = rows_[gap - 1];
  if (!above.isMaskEntry && checkDragAndDropPossible(*sources, above.record)) return platform::drag_operation::Move;
  return platform::drag_operation::None;
}

bool CMLayersPanelView::acceptDrop(platform::TableView& table, const platform::DraggingInfo& info, std::size_t gap) {
  if (validateDrop(table, info, gap) == platform::drag_operation::None) return false;
  const Records sources = *draggedLayers();
  draggedRows().reset();
  if (gap == 0) {
    document()->moveLayersToFirst(sources);
  } else {
    document()->moveLayersAfter(sources, rows_[gap - 1].record);
  }
  updateToolbarStates();
  return true;
}
