#include "platform/ui/pop_up_button.h"

#include <algorithm>

namespace platform {

PopUpButton::PopUpButton(Rect frame) : Control(frame), combo_(Gtk::make_managed<Gtk::ComboBoxText>()) {
  setContent(*combo_);
  keepConnection(combo_->signal_changed().connect([this] {
    if (combo_->get_active_row_number() >= 0) userDidChange();
  }));
}

void PopUpButton::addItemWithTitle(const std::string& title) {
  auto blocked = guard();
  combo_->append(title);
  titles_.push_back(title);
  tags_.push_back(0);
}

void PopUpButton::addItemsWithTitles(const std::vector<std::string>& titles) {
  for (const auto& title : titles) addItemWithTitle(title);
}

void PopUpButton::removeAllItems() {
  auto blocked = guard();
  combo_->remove_all();
  titles_.clear();
  tags_.clear();
}

int PopUpButton::indexOfSelectedItem() const { return combo_->get_active_row_number(); }

std::string PopUpButton::titleOfSelectedItem() const {
  const int index = indexOfSelectedItem();
  return index >= 0 && index < numberOfItems() ? titles_[static_cast<std::size_t>(index)] : std::string();
}

void PopUpButton::selectItemAtIndex(int index) {
  auto blocked = guard();
  combo_->set_active(index >= 0 && index < numberOfItems() ? index : -1);
}

void PopUpButton::selectItemWithTitle(const std::string& title) { selectItemAtIndex(indexOfItemWithTitle(title)); }

int PopUpButton::indexOfItemWithTitle(const std::string& title) const {
  const auto found = std::find(titles_.begin(), titles_.end(), title);
  return found == titles_.end() ? -1 : static_cast<int>(found - titles_.begin());
}

void PopUpButton::setTagOfItemAtIndex(int index, int tag) {
  if (index >= 0 && index < numberOfItems()) tags_[static_cast<std::size_t>(index)] = tag;
}

bool PopUpButton::selectItemWithTag(int tag) {
  const auto found = std::find(tags_.begin(), tags_.end(), tag);
  if (found == tags_.end()) return false;
  selectItemAtIndex(static_cast<int>(found - tags_.begin()));
  return true;
}

int PopUpButton::selectedTag() const {
  const int index = indexOfSelectedItem();
  return index >= 0 && index < numberOfItems() ? tags_[static_cast<std::size_t>(index)] : -1;
}

}  // namespace platform
