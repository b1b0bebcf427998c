#include "platform/ui/menu.h"

#include <glib.h>
#include <gtkmm/accellabel.h>
#include <gtkmm/separatormenuitem.h>

#include "platform/ui/signal_guard.h"

namespace platform {

namespace {

constexpr ModifierFlags kKeyModifiers = modifier::Shift | modifier::Control | modifier::Option | modifier::Command;

std::string folded(const std::string& text) {
  gchar* result = g_utf8_casefold(text.c_str(), static_cast<gssize>(text.size()));
  std::string folded = result ? result : "";
  g_free(result);
  return folded;
}

Gdk::ModifierType gdkModifiers(ModifierFlags flags) {
  unsigned type = 0;
  if (flags & modifier::Shift) type |= GDK_SHIFT_MASK;
  if (flags & modifier::Control) type |= GDK_CONTROL_MASK;
  if (flags & modifier::Option) type |= GDK_MOD1_MASK;
  if (flags & modifier::Command) type |= GDK_SUPER_MASK;
  return static_cast<Gdk::ModifierType>(type);
}

}  // namespace

MenuItem::MenuItem(const std::string& title, Action action, KeyEquivalent keyEquivalent)
    : item_(Gtk::make_managed<Gtk::CheckMenuItem>(title)),
      action_(std::move(action)),
      keyEquivalent_(std::move(keyEquivalent)) {
  activation_ = item_->signal_activate().connect([this] {
    // GTK has toggled the check mark already; AppKit leaves the state to the action.
    setState(state() == 1 ? 0 : 1);
    perform();
  });
  if (!keyEquivalent_.key.empty()) {
    // Shown beside the title; the menu performs it itself, after validation.
    const gunichar character = g_utf8_get_char_validated(keyEquivalent_.key.c_str(), -1);
    if (auto* label = dynamic_cast<Gtk::AccelLabel*>(item_->get_child());
        label && character != static_cast<gunichar>(-1) && character != static_cast<gunichar>(-2)) {
      label->set_accel(gdk_unicode_to_keyval(g_unichar_tolower(character)), gdkModifiers(keyEquivalent_.modifiers));
    }
  }
  item_->show();
}

std::string MenuItem::title() const { return item_->get_label(); }

void MenuItem::setTitle(const std::string& title) { item_->set_label(title); }

int MenuItem::state() const { return item_->get_active() ? 1 : 0; }

void MenuItem::setState(int state) {
  // Setting the mark activates the item in GTK.
  SignalGuard blocked({&activation_});
  item_->set_active(state != 0);
}

bool MenuItem::isEnabled() const { return item_->get_sensitive(); }

void MenuItem::setEnabled(bool enabled) { item_->set_sensitive(enabled); }

bool MenuItem::validate() {
  const bool enabled = validator_ ? validator_(*this) : true;
  setEnabled(enabled);
  return enabled;
}

void MenuItem::perform() {
  const Action action = action_;
  if (action) action(*this);
}

bool MenuItem::matches(const Event& keyDown) const {
  if (keyEquivalent_.key.empty() || keyDown.type != EventType::KeyDown) return false;
  return (keyDown.modifierFlags & kKeyModifiers) == (keyEquivalent_.modifiers & kKeyModifiers) &&
         folded(keyDown.charactersIgnoringModifiers) == folded(keyEquivalent_.key);
}

Menu::Menu() : menu_(std::make_unique<Gtk::Menu>()) {
  menu_->signal_show().connect([this] { update(); });
}

Menu::~Menu() = default;

MenuItem& Menu::addItem(const std::string& title, MenuItem::Action action, KeyEquivalent keyEquivalent) {
  items_.push_back(std::make_unique<MenuItem>(title, std::move(action), std::move(keyEquivalent)));
  menu_->append(items_.back()->gtkItem());
  return *items_.back();
}

void Menu::addSeparator() {
  auto* separator = Gtk::make_managed<Gtk::SeparatorMenuItem>();
  separator->show();
  menu_->append(*separator);
}

MenuItem* Menu::itemWithTag(int tag) const {
  for (const auto& item : items_) {
    if (item->tag() == tag) return item.get();
  }
  return nullptr;
}

void Menu::update() {
  for (const auto& item : items_) item->validate();
}

bool Menu::performKeyEquivalent(const Event& keyDown) {
  for (const auto& item : items_) {
    if (!item->matches(keyDown)) continue;
    if (!item->validate()) return false;
    item->perform();
    return true;
  }
  return false;
}

void Menu::popUpAtPointer() { menu_->popup_at_pointer(nullptr); }

}  // namespace platform
