// The selection as one whole: the records it stands for, made whole again after the layers were rebuilt, and told
// to the main window, which shows it in every panel. The commands act on the layers' marks, so whatever changes
// the marks tells the window through here.

#include <unordered_set>

#include "canvas/CMCanvasWindowService.h"
#include "canvas/CMEditorView.h"
#include "document/CMDocument.h"
#include "document/CMLayer.h"
#include "document/CMLayerTree.h"

namespace {

bool isGroupRecord(const platform::DictRef& record) {
  return record && record->get("type").intValue() == CMLayerTree::kGroupType;
}

bool isMarked(const CMLayer& layer) { return layer.selected() || layer.selectedAsPartOfGroup(); }

}  // namespace

std::vector<platform::DictRef> CMEditorView::selectionRecords() const {
  // A chosen group stands for its marked members, as its own row shows them.
  std::unordered_set<std::int32_t> members;
  if (isGroupRecord(selectedLayerDict_)) CMLayerTree::collectMemberIds(selectedLayerDict_, members);
  bool groupShown = false;
  std::vector<platform::DictRef> records{nullptr};
  for (auto layer = layers().rbegin(); layer != layers().rend(); ++layer) {
    if (!isMarked(**layer)) continue;
    if (members.contains((*layer)->layerId())) {
      groupShown = true;
    } else if (*layer == selectedLayer_) {
      records.front() = selectedLayer_->data();
    } else {
      records.push_back((*layer)->data());
    }
  }
  // The current record first, as the panels take it.
  if (groupShown) records.front() = selectedLayerDict_;
  if (!records.front()) records.erase(records.begin());
  return records;
}

void CMEditorView::announceSelection() { CMCanvasWindowService::shared().showSelection(selectionRecords(), this); }

void CMEditorView::adoptCurrentLayer() {
  if (selectedLayer_ || selectedLayerDict_) return;
  std::shared_ptr<CMLayer> chosen;
  for (auto layer = layers().rbegin(); layer != layers().rend() && !(chosen && chosen->selected()); ++layer) {
    if ((*layer)->selected() || (!chosen && (*layer)->selectedAsPartOfGroup())) chosen = *layer;
  }
  if (!chosen) return;
  // The current layer is the one the commands align to and combine into.
  chosen->setSelected(true);
  selectedLayer_ = chosen;
  selectedLayerDict_ = chosen->data();
}

void CMEditorView::settleSelection() {
  if (selectedLayer_) {
    selectedLayerDict_ = selectedLayer_->data();
  } else if (isGroupRecord(selectedLayerDict_) && document_ && document_->data()) {
    // Undo may have taken the group away, or put a copy in its place.
    selectedLayerDict_ = CMLayerTree::find(document_->data()->array("layers"),
                                           CMLayerTree::layerId(selectedLayerDict_))
                             .record;
  } else {
    selectedLayerDict_ = nullptr;
  }
  adoptCurrentLayer();
}
