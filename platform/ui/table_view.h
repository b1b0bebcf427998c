#pragma once

// NSTableView as a list of equal rows: one custom-drawn, flipped view (the
// document view of a scroll view) that asks its data source for the row count
// and draws only the rows in the dirty rectangle, so a list of any length
// costs a widget and the rows on screen.
//
// Selection is an index set. A click selects its row; Control- or
// Command-click toggles it; Shift-click extends from the last clicked row. A
// plain click on a row of a larger selection waits for the mouse-up, so the
// whole selection can be dragged. Only the user's changes go through the data
// source's proposed-selection hook; selection by code never does.
//
// Rows are dragged under the data source's pasteboard; drops land in the gaps
// between rows, gap 0 above the first row and gap n below the last.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/index_set.h"
#include "platform/ui/drag_operation.h"
#include "platform/ui/pasteboard.h"
#include "platform/ui/view.h"

namespace platform {

class DragSource;
class DropDestination;
class Menu;
struct DraggingInfo;
class TableView;

// The table's data source and delegate.
class TableViewDataSource {
 public:
  virtual ~TableViewDataSource() = default;
  virtual std::size_t numberOfRows(const TableView& table) const = 0;
  // Draws one row into the current (flipped) context, inside `rect`, over the selection fill when selected.
  virtual void drawRow(const TableView& table, std::size_t row, const Rect& rect, bool selected) const = 0;
  // A press on a control drawn in the row (a button): true takes the press and leaves the selection alone.
  virtual bool mouseDownInRow(TableView&, std::size_t, Point) { return false; }
  // The selection the user's click asks for; the answer is the selection made.
  virtual IndexSet selectionIndexesForProposedSelection(TableView&, const IndexSet& proposed) { return proposed; }
  // Fills the pasteboard for a drag of the rows; false refuses the drag.
  virtual bool writeRows(TableView&, const IndexSet&, Pasteboard&) { return false; }
  virtual DragOperation validateDrop(TableView&, const DraggingInfo&, std::size_t) { return drag_operation::None; }
  virtual bool acceptDrop(TableView&, const DraggingInfo&, std::size_t) { return false; }
};

class TableView : public View {
 public:
  static constexpr double kDragThreshold = 4;

  TableView(Rect frame, double rowHeight);
  ~TableView() override;

  bool isFlipped() const override { return true; }
  bool acceptsFirstResponder() const override { return true; }

  // Not owned; must outlive the table or be reset first.
  void setDataSource(TableViewDataSource* source) { dataSource_ = source; }
  double rowHeight() const { return rowHeight_; }
  std::size_t numberOfRows() const { return rows_; }
  // Reads the row count again, drops selected rows past it, fits the frame and redraws.
  void reloadData();
  // Redraws one row.
  void reloadRow(std::size_t row);
  // The frame: as wide as the clip view holding the table, as high as the rows or the clip view.
  void sizeToFit();
  Rect rectOfRow(std::size_t row) const;
  std::optional<std::size_t> rowAtPoint(Point point) const;
  void scrollRowToVisible(std::size_t row);

  const IndexSet& selectedRowIndexes() const { return selection_; }
  // By code: the hook is not asked. Rows past the end are ignored. The last row given becomes the row a
  // Shift-click extends from.
  void selectRowIndexes(const IndexSet& indexes, bool extend);
  void selectAll();
  void deselectAll();
  // The row of the click being handled (kept until the next press), -1 for none.
  std::ptrdiff_t clickedRow() const { return clickedRow_; }

  // Drops of these types are offered to the data source.
  void registerForDraggedTypes(std::vector<std::string> types);
  // The gap a drag hovers over, while one does.
  std::optional<std::size_t> dropGap() const { return dropGap_; }
  // The gap a point of the table falls into: the nearer boundary between rows.
  std::size_t gapAtPoint(Point point) const;
  // Shown by a right click.
  void setMenu(std::shared_ptr<Menu> menu) { menu_ = std::move(menu); }
  Menu* menu() const { return menu_.get(); }
  DropDestination* dropDestination() const { return dropDestination_.get(); }

  void drawRect(const Rect& dirtyRect) override;
  void mouseDown(const Event& event) override;
  void mouseDragged(const Event& event) override;
  void mouseUp(const Event& event) override;
  void rightMouseDown(const Event& event) override;

 private:
  void proposeSelection(IndexSet proposed);
  void setSelection(IndexSet selection);
  void redrawRows(const IndexSet& rows);
  void setDropGap(std::optional<std::size_t> gap);
  DragOperation dropOperation(const DraggingInfo& info);

  TableViewDataSource* dataSource_ = nullptr;
  double rowHeight_;
  std::size_t rows_ = 0;
  IndexSet selection_;
  std::ptrdiff_t clickedRow_ = -1;
  std::optional<std::size_t> anchorRow_;
  // The press that may become a drag, and a plain click on a selected row waiting for its mouse-up.
  std::optional<std::size_t> pressedRow_;
  Point pressPoint_;
  bool dragStarted_ = false;
  bool pendingPlainClick_ = false;
  std::optional<std::size_t> dropGap_;
  std::unique_ptr<DragSource> dragSource_;
  std::unique_ptr<DropDestination> dropDestination_;
  std::shared_ptr<Menu> menu_;
};

}  // namespace platform
