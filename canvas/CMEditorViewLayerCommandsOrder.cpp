// The stacking commands: the primary layer moves inside the list that holds it (the root list or its group's
// "items"), one undo step each; at the end of the list it moves towards, nothing happens.

#include <optional>

#include "canvas/CMEditorView.h"
#include "document/CMDocument.h"
#include "document/CMLayer.h"
#include "document/CMLayerTree.h"
#include "document/CMMainWindowService.h"
#include "document/CMNotificationNames.h"
#include "document/CMUndoActionType.h"
#include "platform/core/notification_center.h"

std::int64_t CMEditorView::layerSelectedIndex(platform::ArrayRef& list) const {
  for (auto layer = layers().rbegin(); layer != layers().rend(); ++layer) {
    if (!(*layer)->selected()) continue;
    const std::int32_t id = (*layer)->layerId();
    if (id < 0 || !document_) return -1;
    return layerSelectedIndex(id, document_->data()->array("layers"), list);
  }
  return -1;
}

std::int64_t CMEditorView::layerSelectedIndex(std::int32_t id, const platform::ArrayRef& layers,
                                              platform::ArrayRef& list) {
  const CMLayerTree::Location found = CMLayerTree::find(layers, id);
  if (!found.record) return -1;
  list = found.list;
  return static_cast<std::int64_t>(found.index);
}

void CMEditorView::restackSelectedLayer(std::optional<std::int64_t> (*target)(std::int64_t index, std::size_t count)) {
  platform::ArrayRef list;
  const std::int64_t index = layerSelectedIndex(list);
  if (!list || index < 0) return;
  const std::optional<std::int64_t> to = target(index, list->size());
  if (!to) return;
  const platform::DictRef record = list->at(static_cast<std::size_t>(index)).dictionary();
  document_->undoManager().regUndoLayers(kCMUndoStacking, {record});
  list->removeAt(static_cast<std::size_t>(index));
  list->insert(static_cast<std::size_t>(*to), record);
  document_->setDirty(true);
  CMMainWindowService::shared().updateEditor();
  platform::NotificationCenter::defaultCenter().post(kNotificationLayersChanged, this);
}

void CMEditorView::bringToFront() {
  restackSelectedLayer([](std::int64_t index, std::size_t count) -> std::optional<std::int64_t> {
    if (index + 1 >= static_cast<std::int64_t>(count)) return std::nullopt;
    return static_cast<std::int64_t>(count) - 1;
  });
}

void CMEditorView::bringForward() {
  restackSelectedLayer([](std::int64_t index, std::size_t count) -> std::optional<std::int64_t> {
    if (index + 1 >= static_cast<std::int64_t>(count)) return std::nullopt;
    return index + 1;
  });
}

void CMEditorView::sendToBack() {
  restackSelectedLayer([](std::int64_t index, std::size_t) -> std::optional<std::int64_t> {
    if (index == 0) return std::nullopt;
    return 0;
  });
  // A second refresh, moved or not.
  CMMainWindowService::shared().updateEditor();
}

void CMEditorView::sendTobackward() {
  restackSelectedLayer([](std::int64_t index, std::size_t) -> std::optional<std::int64_t> {
    if (index == 0) return std::nullopt;
    return index - 1;
  });
}
