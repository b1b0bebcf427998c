#pragma once

// The "Layers" panel: the document's layers as a flat list indented 20 points
// a level (see CMLayerRows), each row with its eye (hide and show) and name;
// a button row to duplicate, delete, rename and move the selected layers up
// or down; a context menu with those and group, ungroup, lock and hide/show;
// rows dragged to reorder; Delete deletes. Every edit goes to the document,
// which registers undo and announces it; the list is read again on
// "notificationLayersChanged" keeping its selection by id, and from scratch
// on "notificationLayersReCreate".
//
// The selection follows the canvas both ways: the user's clicks go to the
// main window (and on to the canvas), and the canvas's whole selection comes
// back through showSelection, set by code, which tells nobody.

#include <memory>
#include <unordered_set>
#include <vector>

#include "platform/core/index_set.h"
#include "platform/core/notification_center.h"
#include "ui/CMBasePanelView.h"
#include "ui/CMLayerRows.h"
#include "ui/CMLayerTableView.h"

namespace platform {
class Menu;
class ScrollView;
}  // namespace platform

class CMTextEditWindow;
class CMToolbarButton;
class CMToolboxView;

class CMLayersPanelView : public CMBasePanelView,
                          public platform::TableViewDataSource,
                          public CMLayerTableViewDelegate {
 public:
  using Records = std::vector<platform::DictRef>;

  static constexpr double kRowHeight = 24;
  static constexpr double kIndent = 20;
  static constexpr double kEyeX = 7;
  static constexpr double kNameX = 30;
  static constexpr double kEyeSize = 16;
  static constexpr double kButtonRowHeight = 36;

  // Button tags; the context menu's Up and Down items.
  enum Tag : int {
    kDuplicateTag = 101,
    kDeleteTag = 102,
    kRenameTag = 103,
    kUpTag = 104,
    kDownTag = 105,
    kMenuUpTag = 3,
    kMenuDownTag = 4,
  };

  CMLayersPanelView();
  ~CMLayersPanelView() override;

  void setDocument(std::shared_ptr<CMDocument> document) override;

  // Reads the rows again and reloads the table.
  void updateLayers();
  // updateLayers keeping the selected ids selected.
  void update();
  // The canvas's choice: that layer's row, added to the selection while Shift is held; none deselects all.
  void selectLayer(const platform::DictRef& record);
  // The canvas's whole selection, of layers that may have no row yet (the rows are then read again): exactly the
  // rows of the records are selected.
  void showSelection(const Records& records);
  void selectAll();
  Records selectedLayers() const;
  Records selectedLayers(const platform::IndexSet& rows) const;
  platform::DictRef layerByID(std::int32_t id) const { return rows_.layerByID(id); }
  void updateToolbarStates();
  void updateToolbarStates(const platform::IndexSet& rows);
  // The context menu's items: none without a selection; Up not on the first row, Down not on the last.
  bool validateMenuItem(int tag) const;

  // Actions; each ends by refreshing the buttons, and does nothing else without a selection.
  void OnSelectAction(int tag);
  void OnDublicateAction();
  void OnRemoveAction();
  void OnMoveUpAction();
  void OnMoveDownAction();
  void OnEditAction();
  void OnGroup();
  void OnUngroup();
  void OnLock();
  // The eye of the layer with that id.
  void OnHiddenAction(std::int32_t id);
  void OnHideShowAction();

  // Whether the layers may go after `destination`: not onto one of them, nor into a group among them.
  static bool checkDragAndDropPossible(const Records& sources, const platform::DictRef& destination);

  CMLayerTableView& tableView() const { return *tableView_; }
  CMToolboxView& topToolbar() const { return *topToolbar_; }
  // The button row's button of that tag, or null.
  CMToolbarButton* buttonWithTag(int tag) const;
  platform::Menu& contextMenu() const { return *contextMenu_; }
  const CMLayerRows& rows() const { return rows_; }
  // The rename sheet while it is up, else null.
  CMTextEditWindow* renameSheet() const { return renameSheet_.get(); }
  // Where a row's eye and name go.
  static platform::Rect eyeRect(std::int32_t level);
  static double nameX(std::int32_t level) { return kIndent * level + kNameX; }

  // ---- platform::TableViewDataSource ----
  std::size_t numberOfRows(const platform::TableView&) const override;
  void drawRow(const platform::TableView&, std::size_t row, const platform::Rect& rect, bool selected) const override;
  bool mouseDownInRow(platform::TableView&, std::size_t row, platform::Point point) override;
  platform::IndexSet selectionIndexesForProposedSelection(platform::TableView&,
                                                          const platform::IndexSet& proposed) override;
  bool writeRows(platform::TableView&, const platform::IndexSet& rows, platform::Pasteboard& pasteboard) override;
  platform::DragOperation validateDrop(platform::TableView&, const platform::DraggingInfo&, std::size_t gap) override;
  bool acceptDrop(platform::TableView&, const platform::DraggingInfo&, std::size_t gap) override;
  // ---- CMLayerTableViewDelegate ----
  void didDelButtonPressed(CMLayerTableView&) override { OnRemoveAction(); }

 private:
  void buildButtonRow();
  void buildContextMenu();
  void layout(platform::Size size);
  void fitTable();
  // The layers of the drag under way, while their rows still hold them; nothing otherwise.
  std::optional<Records> draggedLayers() const;

  std::shared_ptr<CMToolboxView> topToolbar_;
  std::vector<std::shared_ptr<CMToolbarButton>> buttons_;
  std::shared_ptr<platform::ScrollView> scrollView_;
  std::shared_ptr<CMLayerTableView> tableView_;
  std::shared_ptr<platform::Menu> contextMenu_;
  std::unique_ptr<CMTextEditWindow> renameSheet_;
  CMLayerRows rows_;
  platform::ObserverToken layersChanged_;
  platform::ObserverToken layersReCreated_;
};
