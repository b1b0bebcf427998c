#pragma once

// One cell of the shape library grid: the item's thumbnail as an on/off
// button and a small remove button. Turning an item on makes it the library
// tool's shape (tool 7) and turns every other cell of the grid off; turning it
// off returns to the select tool. The remove button asks first and then posts
// "removeShape" with the cell as its object; the panel removes the item.

#include <memory>

#include "platform/ui/view.h"

class CMLibraryGridView;
class CMLibraryItem;
class CMShapeItemButton;

class CMToolbarButton;

inline constexpr const char* kNotificationRemoveShape = "removeShape";

class CMShapeItemView : public platform::View {
 public:
  static constexpr double kSide = 100;
  explicit CMShapeItemView(platform::Point origin);

  CMShapeItemButton& button() const { return *button_; }
  CMToolbarButton& removeBt() const { return *removeBt_; }

 private:
  std::shared_ptr<CMShapeItemButton> button_;
  std::shared_ptr<CMToolbarButton> removeBt_;
};

// A cell keeps its on/off state itself: its view is made only once the grid shows it (loadView), so a large
// library costs views for the cells on screen alone.
class CMLibraryItemPrototype : public std::enable_shared_from_this<CMLibraryItemPrototype> {
 public:
  // The cell of `item` in `grid`, which outlives its cells' actions.
  CMLibraryItemPrototype(CMLibraryGridView& grid, std::shared_ptr<CMLibraryItem> item);

  // Null until loadView.
  const std::shared_ptr<CMShapeItemView>& view() const { return view_; }
  const std::shared_ptr<CMLibraryItem>& shapeItem() const { return item_; }
  // Makes the view, showing the item and the cell's state, its buttons wired to this cell (which must be shared).
  void loadView();

  void deSelect();
  bool isSelected() const { return on_; }

  void OnPressButton();
  void OnRemoveItem();

 private:
  CMLibraryGridView* grid_;
  std::shared_ptr<CMLibraryItem> item_;
  std::shared_ptr<CMShapeItemView> view_;
  bool on_ = false;
};
