#include "ui/CMLibraryGridView.h"

#include <cmath>

#include "ui/CMLibraryItemPrototype.h"

void CMLibraryGridView::setContent(const Items& items) {
  for (const auto& cell : cells_) cell->view()->removeFromSuperview();
  cells_.clear();
  cells_.reserve(items.size());
  for (const auto& item : items) {
    auto cell = std::make_shared<CMLibraryItemPrototype>(*this, item);
    cell->setRepresentedObject();
    addSubview(cell->view());
    cells_.push_back(std::move(cell));
  }
  fitWidth(frame().size.width);
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

void CMLibraryGridView::layoutCells() {
  const std::size_t perRow = columns();
  for (std::size_t i = 0; i < cells_.size(); ++i) {
    cells_[i]->view()->setFrameOrigin({static_cast<double>(i % perRow) * CMShapeItemView::kSide,
                                       static_cast<double>(i / perRow) * CMShapeItemView::kSide});
  }
}
