#pragma once

// NSPopUpButton: a list of titled items, one selected; the action is sent when
// the user picks an item, not when code selects one or changes the list.

#include <gtkmm/comboboxtext.h>

#include <string>
#include <vector>

#include "platform/ui/control.h"

namespace platform {

class PopUpButton : public Control {
 public:
  explicit PopUpButton(Rect frame);

  void addItemWithTitle(const std::string& title);
  void addItemsWithTitles(const std::vector<std::string>& titles);
  void removeAllItems();
  int numberOfItems() const { return static_cast<int>(titles_.size()); }
  // -1 when nothing is selected.
  int indexOfSelectedItem() const;
  std::string titleOfSelectedItem() const;
  // Out-of-range indexes select nothing.
  void selectItemAtIndex(int index);
  void selectItemWithTitle(const std::string& title);
  // -1 when no item has the title.
  int indexOfItemWithTitle(const std::string& title) const;
  // Selects the item of that title; a title no item has is shown all the same, as one more item at the end, which
  // the next title shown replaces (a font list showing a family that is not installed).
  void selectOrShowTitle(const std::string& title);
  // Items carry an integer tag each (0 until set).
  void setTagOfItemAtIndex(int index, int tag);
  // selectItemWithTag: false, and the selection kept, when no item has the tag.
  bool selectItemWithTag(int tag);
  // -1 when nothing is selected.
  int selectedTag() const;

  // Fits a row about 20 high: a smaller title, no room above and below it, and a smaller arrow.
  void setSmallControlSize();

  Gtk::ComboBoxText& gtkComboBox() { return *combo_; }

 private:
  Gtk::ComboBoxText* combo_;  // managed
  std::vector<std::string> titles_;
  std::vector<int> tags_;
  bool shownExtra_ = false;  // the last item is only shown, by selectOrShowTitle
};

}  // namespace platform
