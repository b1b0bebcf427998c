#include "platform/ui/pop_up_button.h"

#include <gtkmm/cellrenderertext.h>
#include <gtkmm/cssprovider.h>
#include <gtkmm/stylecontext.h>

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
  shownExtra_ = false;
}

void PopUpButton::setSmallControlSize() {
  // The box's button and title are widgets of their own: a class on the box reaches them through the screen.
  static const bool styled = [] {
    Glib::RefPtr<Gtk::CssProvider> provider = Gtk::CssProvider::create();
    provider->load_from_data(
        ".small-pop-up button { min-height: 0; min-width: 0; padding: 0 0 0 4px; }"
        ".small-pop-up cellview { font-size: 8pt; }"
        ".small-pop-up arrow { min-width: 7px; min-height: 7px; }");
    Gtk::StyleContext::add_provider_for_screen(Gdk::Screen::get_default(), provider,
                                               GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    return true;
  }();
  if (styled) combo_->get_style_context()->add_class("small-pop-up");
  // A long title is cut at its end rather than asking for the room of the widest one (a font list's).
  for (Gtk::CellRenderer* cell : combo_->get_cells()) {
    if (auto* text = dynamic_cast<Gtk::CellRendererText*>(cell)) text->property_ellipsize() = Pango::ELLIPSIZE_END;
  }
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

void PopUpButton::selectOrShowTitle(const std::string& title) {
  int index = indexOfItemWithTitle(title);
  if (shownExtra_ && index != numberOfItems() - 1) {
    auto blocked = guard();
    combo_->remove_text(numberOfItems() - 1);
    titles_.pop_back();
    tags_.pop_back();
    shownExtra_ = false;
  }
  if (index < 0) {
    addItemWithTitle(title);
    shownExtra_ = true;
    index = numberOfItems() - 1;
  }
  selectItemAtIndex(index);
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
