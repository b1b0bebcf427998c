#include "platform/ui/table_view.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/core/numeric.h"
#include "platform/graphics/graphics_context.h"
#include "platform/ui/drag_source.h"
#include "platform/ui/drop_destination.h"
#include "platform/ui/menu.h"
#include "platform/ui/scroll_view.h"
#include "platform/ui/system_colors.h"
#include "platform/ui/view_host.h"

namespace platform {
namespace {

constexpr double kDropLineWidth = 2;

ModifierFlags modifiersOf(const Event& event) { return event.modifierFlags & modifier::DeviceIndependentMask; }

}  // namespace

TableView::TableView(Rect frame, double rowHeight) : View(frame), rowHeight_(rowHeight > 0 ? rowHeight : 1) {
  DragSource::Handlers handlers;
  handlers.draggingEnded = [this](Point, DragOperation) { dragStarted_ = false; };
  dragSource_ = std::make_unique<DragSource>(*this, drag_operation::Move, handlers);
}

TableView::~TableView() = default;

void TableView::reloadData() {
  rows_ = dataSource_ ? dataSource_->numberOfRows(*this) : 0;
  IndexSet kept;
  for (const std::size_t row : selection_) {
    if (row >= rows_) break;
    kept.add(row);
  }
  selection_ = std::move(kept);
  if (clickedRow_ >= 0 && static_cast<std::size_t>(clickedRow_) >= rows_) clickedRow_ = -1;
  sizeToFit();
  setNeedsDisplay();
}

void TableView::reloadRow(std::size_t row) {
  if (row < rows_) setNeedsDisplayInRect(rectOfRow(row));
}

void TableView::sizeToFit() {
  Size size = frame().size;
  if (const View* clip = superview()) size = clip->frame().size;
  const double content = static_cast<double>(rows_) * rowHeight_;
  setFrame({0, 0, size.width, std::max(content, size.height)});
}

Rect TableView::rectOfRow(std::size_t row) const {
  return {0, static_cast<double>(row) * rowHeight_, frame().size.width, rowHeight_};
}

std::optional<std::size_t> TableView::rowAtPoint(Point point) const {
  if (!(point.y >= 0)) return std::nullopt;
  const auto row = saturatingTruncate<std::size_t>(std::floor(point.y / rowHeight_));
  if (row >= rows_) return std::nullopt;
  return row;
}

std::size_t TableView::gapAtPoint(Point point) const {
  const double gap = std::round(point.y / rowHeight_);
  if (!(gap > 0)) return 0;
  return std::min(saturatingTruncate<std::size_t>(gap), rows_);
}

void TableView::scrollRowToVisible(std::size_t row) {
  View* clip = superview();
  auto* scroll = clip ? dynamic_cast<ScrollView*>(clip->superview()) : nullptr;
  if (!scroll || row >= rows_) return;
  const Rect visible = scroll->documentVisibleRect();
  const Rect wanted = rectOfRow(row);
  if (wanted.origin.y < visible.origin.y) {
    scroll->scrollToPoint({visible.origin.x, wanted.origin.y});
  } else if (wanted.origin.y + wanted.size.height > visible.origin.y + visible.size.height) {
    scroll->scrollToPoint({visible.origin.x, wanted.origin.y + wanted.size.height - visible.size.height});
  }
}

void TableView::selectRowIndexes(const IndexSet& indexes, bool extend) {
  IndexSet next = extend ? selection_ : IndexSet();
  for (const std::size_t row : indexes) {
    if (row >= rows_) break;
    next.add(row);
    // A Shift-click later extends from the row chosen last, whoever chose it.
    anchorRow_ = row;
  }
  setSelection(std::move(next));
}

void TableView::selectAll() { setSelection(IndexSet::range(0, rows_)); }

void TableView::deselectAll() { setSelection({}); }

void TableView::setSelection(IndexSet selection) {
  if (selection == selection_) return;
  // Only the rows that changed are drawn again.
  IndexSet changed;
  for (const std::size_t row : selection_)
    if (!selection.contains(row)) changed.add(row);
  for (const std::size_t row : selection)
    if (!selection_.contains(row)) changed.add(row);
  selection_ = std::move(selection);
  redrawRows(changed);
}

void TableView::redrawRows(const IndexSet& rows) {
  const std::optional<std::size_t> first = rows.firstIndex();
  if (!first) return;
  const Rect top = rectOfRow(*first);
  const Rect bottom = rectOfRow(*rows.lastIndex());
  setNeedsDisplayInRect({0, top.origin.y, frame().size.width, bottom.origin.y + bottom.size.height - top.origin.y});
}

void TableView::proposeSelection(IndexSet proposed) {
  if (dataSource_) proposed = dataSource_->selectionIndexesForProposedSelection(*this, proposed);
  selectRowIndexes(proposed, false);
}

void TableView::drawRect(const Rect& dirtyRect) {
  GraphicsContext* context = GraphicsContext::current();
  if (!context || rows_ == 0) return;
  const double top = std::max(0.0, dirtyRect.origin.y);
  const double bottom = dirtyRect.origin.y + dirtyRect.size.height;
  const auto first = saturatingTruncate<std::size_t>(std::floor(top / rowHeight_));
  const auto last = std::min(rows_, saturatingTruncate<std::size_t>(std::ceil(bottom / rowHeight_)));
  const Color selectionColor = alternateSelectedControlColor();
  for (std::size_t row = first; row < last; ++row) {
    const Rect rect = rectOfRow(row);
    const bool selected = selection_.contains(row);
    if (selected) {
      context->setFillColor(selectionColor);
      context->rectFill(rect);
    }
    if (dataSource_) dataSource_->drawRow(*this, row, rect, selected);
  }
  if (dropGap_) {
    context->setFillColor(selectionColor);
    context->rectFill({0, static_cast<double>(*dropGap_) * rowHeight_ - kDropLineWidth / 2, frame().size.width,
                       kDropLineWidth});
  }
}

void TableView::mouseDown(const Event& event) {
  if (ViewHost* window = host()) window->makeFirstResponder(this);
  const Point point = convertPointFromWindow(event.locationInWindow);
  const std::optional<std::size_t> row = rowAtPoint(point);
  pressedRow_.reset();
  pendingPlainClick_ = false;
  dragStarted_ = false;
  if (row && dataSource_ && dataSource_->mouseDownInRow(*this, *row, {point.x, point.y - rectOfRow(*row).origin.y}))
    return;
  clickedRow_ = row ? static_cast<std::ptrdiff_t>(*row) : -1;
  const ModifierFlags flags = modifiersOf(event);
  if (!row) {
    if (!(flags & (modifier::Shift | modifier::Command | modifier::Control))) proposeSelection({});
    return;
  }
  pressedRow_ = row;
  pressPoint_ = point;
  if (flags & (modifier::Command | modifier::Control)) {
    IndexSet toggled = selection_;
    if (toggled.contains(*row)) {
      toggled.remove(*row);
    } else {
      toggled.add(*row);
    }
    anchorRow_ = row;
    proposeSelection(std::move(toggled));
    return;
  }
  if ((flags & modifier::Shift) && anchorRow_ && *anchorRow_ < rows_) {
    IndexSet extended = selection_;
    const std::size_t from = std::min(*anchorRow_, *row);
    extended.addRange(from, std::max(*anchorRow_, *row) - from + 1);
    proposeSelection(std::move(extended));
    return;
  }
  anchorRow_ = row;
  if (selection_.contains(*row) && selection_.count() > 1) {
    pendingPlainClick_ = true;
    return;
  }
  proposeSelection({*row});
}

void TableView::mouseDragged(const Event& event) {
  if (!pressedRow_ || dragStarted_ || !dataSource_) return;
  const Point point = convertPointFromWindow(event.locationInWindow);
  if (std::hypot(point.x - pressPoint_.x, point.y - pressPoint_.y) < kDragThreshold) return;
  dragStarted_ = true;
  pendingPlainClick_ = false;
  const IndexSet rows = selection_.contains(*pressedRow_) ? selection_ : IndexSet{*pressedRow_};
  Pasteboard pasteboard;
  if (dataSource_->writeRows(*this, rows, pasteboard)) dragSource_->beginDrag(std::move(pasteboard));
}

void TableView::mouseUp(const Event&) {
  if (pendingPlainClick_ && pressedRow_ && *pressedRow_ < rows_) proposeSelection({*pressedRow_});
  pendingPlainClick_ = false;
  pressedRow_.reset();
}

void TableView::rightMouseDown(const Event& event) {
  if (!menu_) {
    View::rightMouseDown(event);
    return;
  }
  menu_->update();
  menu_->popUpAtPointer();
}

void TableView::registerForDraggedTypes(std::vector<std::string> types) {
  DropDestination::Handlers handlers;
  handlers.draggingEntered = [this](const DraggingInfo& info) { return dropOperation(info); };
  handlers.draggingUpdated = handlers.draggingEntered;
  handlers.draggingExited = [this] { setDropGap(std::nullopt); };
  handlers.performDragOperation = [this](const DraggingInfo& info) {
    setDropGap(std::nullopt);
    return dataSource_ && dataSource_->acceptDrop(*this, info, gapAtPoint(info.locationInView));
  };
  dropDestination_.reset();
  dropDestination_ = std::make_unique<DropDestination>(*this, std::move(types), handlers);
}

DragOperation TableView::dropOperation(const DraggingInfo& info) {
  const std::size_t gap = gapAtPoint(info.locationInView);
  const DragOperation operation =
      dataSource_ ? dataSource_->validateDrop(*this, info, gap) : drag_operation::None;
  setDropGap(operation != drag_operation::None ? std::optional<std::size_t>(gap) : std::nullopt);
  return operation;
}

void TableView::setDropGap(std::optional<std::size_t> gap) {
  if (gap == dropGap_) return;
  const auto lineRect = [this](std::size_t at) {
    return Rect{0, static_cast<double>(at) * rowHeight_ - kDropLineWidth, frame().size.width, 2 * kDropLineWidth};
  };
  if (dropGap_) setNeedsDisplayInRect(lineRect(*dropGap_));
  dropGap_ = gap;
  if (dropGap_) setNeedsDisplayInRect(lineRect(*dropGap_));
}

}  // namespace platform
