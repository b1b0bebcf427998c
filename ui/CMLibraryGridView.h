#pragma once

// The shape library panel's grid: a flipped view holding one 100 x 100 cell
// per item, left to right in rows of trunc(width / 100) cells (at least one),
// top to bottom. Its height follows the rows; a new width re-flows them.
// Cells get their views once they come into the visible rectangle.

#include <memory>
#include <vector>

#include "platform/ui/view.h"

class CMLibraryItem;
class CMLibraryItemPrototype;

class CMLibraryGridView : public platform::View {
 public:
  using Items = std::vector<std::shared_ptr<CMLibraryItem>>;
  using Cells = std::vector<std::shared_ptr<CMLibraryItemPrototype>>;

  explicit CMLibraryGridView(platform::Rect frame) : platform::View(frame) {}
  bool isFlipped() const override { return true; }

  // New cells for the items, all off.
  void setContent(const Items& items);
  // The part of the grid on screen (the clip view's bounds); everything until set.
  void setVisibleRect(const platform::Rect& rect);
  const Cells& items() const { return cells_; }
  std::size_t columns() const;
  // The grid's width becomes `width` and its height that of its rows.
  void fitWidth(double width);

 protected:
  void resizeSubviewsWithOldSize(platform::Size oldSize) override;

 private:
  platform::Point cellOrigin(std::size_t index) const;
  void layoutCells();
  void loadVisibleViews();

  Cells cells_;
  platform::Rect visible_{-1e9, -1e9, 2e9, 2e9};
};
