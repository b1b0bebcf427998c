#include "ui/CMLibraryGridView.h"

#include <algorithm>
#include <cmath>

#include "ui/CMLibraryItemPrototype.h"

void CMLibraryGridView::setContent(const Items& items) {
  for (const auto& cell : cells_) {
    if (cell->view()) cell->view()->removeFromSuperview();
  }
  cells_.clear();
  cells_.reserve(items.size());
  for (const auto& item : items) cells_.push_back(std::make_shared<CMLibraryItemPrototype>(*this, item));
  fitWidth(frame().size.width);
}

void CMLibraryGridView::setVisibleRect(const platform::Rect& rect) {
  visible_ = rect;
  loadVisibleViews();
}

std::size_t CMLibraryGridView::columns() const {
  const double fit = std::trunc(frame().size.width / CMShapeItemView::kSide);
  return fit >= 1 ? static_cast<std::size_t>(fit) : 1;
}

void CMLibraryGridView::fitWidth(double width) {
  setFrameSize({width, frame().size.height});
  const std::size_t rows = (cells_.size() + columns() - 1) / columns();
  setFrameSize({width, static_cast<double>(rows) * CMShapeItemView::kSide});
  layoutCells();
}

void CMLibraryGridView::resizeSubviewsWithOldSize(platform::Size) { layoutCells(); }

platform::Point CMLibraryGridView::cellOrigin(std::size_t index) const {
  const std::size_t perRow = columns();
  return {static_cast<double>(index % perRow) * CMShapeItemView::kSide,
          static_cast<double>(index / perRow) * CMShapeItemView::kSide};
}

void CMLibraryGridView::layoutCells() {
  for (std::size_t i = 0; i < cells_.size(); ++i) {
    if (const auto& view = cells_[i]->view()) view->setFrameOrigin(cellOrigin(i));
  }
  loadVisibleViews();
}

void CMLibraryGridView::loadVisibleViews() {
  const double side = CMShapeItemView::kSide;
  const double top = std::max(0.0, std::floor(visible_.origin.y / side));
  const double bottom = std::ceil((visible_.origin.y + visible_.size.height) / side);
  if (!(bottom > top)) return;
  const std::size_t perRow = columns();
  const std::size_t first = static_cast<std::size_t>(top) * perRow;
  const std::size_t end = std::min(cells_.size(), static_cast<std::size_t>(std::min(bottom, 1e9)) * perRow);
  for (std::size_t i = first; i < end; ++i) {
    if (cells_[i]->view()) continue;
    cells_[i]->loadView();
    cells_[i]->view()->setFrameOrigin(cellOrigin(i));
    addSubview(cells_[i]->view());
  }
}
