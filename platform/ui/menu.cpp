#include "platform/ui/menu.h"

#include <glib.h>
#include <gdkmm/device.h>
#include <gdkmm/display.h>
#include <gdkmm/seat.h>
#include <gtkmm/accellabel.h>
#include <gtkmm/cssprovider.h>
#include <gtkmm/separatormenuitem.h>

#include "platform/ui/key_translation.h"
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

// An item shows a mark only in the on state, as AppKit's do: the theme's empty box of an item that is off is not
// drawn.
const Glib::RefPtr<Gtk::CssProvider>& markOnlyWhenOn() {
  static const Glib::RefPtr<Gtk::CssProvider> style = [] {
    Glib::RefPtr<Gtk::CssProvider> provider = Gtk::CssProvider::create();
    provider->load_from_data(
        "check:not(:checked) { -gtk-icon-source: none; background: none; border-color: transparent;"
        " box-shadow: none; }");
    return provider;
  }();
  return style;
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
      label->set_accel(keyvalForCharacter(g_unichar_tolower(character)), gdkModifiers(keyEquivalent_.modifiers));
    }
  }
  item_->get_style_context()->add_provider(markOnlyWhenOn(), GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
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

namespace {

bool keyMatches(const KeyEquivalent& equivalent, const Event& keyDown) {
  if (equivalent.key.empty()) return false;
  const ModifierFlags held = keyDown.modifierFlags & kKeyModifiers;
  const ModifierFlags wanted = equivalent.modifiers & kKeyModifiers;
  const std::string key = folded(equivalent.key);
  const std::string unshifted = folded(keyDown.charactersIgnoringModifiers);
  if (held == wanted && unshifted == key) return true;
  // A character that Shift types ("+" on the "=" key) names the key with Shift included, as AppKit matches it;
  // a letter's capital is the same key.
  const std::string typed = folded(keyDown.characters);
  return (held & modifier::Shift) && !(wanted & modifier::Shift) && (held & ~modifier::Shift) == wanted &&
         typed != unshifted && typed == key;
}

}  // namespace

bool MenuItem::matches(const Event& keyDown) const {
  if (keyDown.type != EventType::KeyDown) return false;
  if (keyMatches(keyEquivalent_, keyDown)) return true;
  for (const KeyEquivalent& more : moreKeyEquivalents_)
    if (keyMatches(more, keyDown)) return true;
  return false;
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

Menu& Menu::addSubmenu(const std::string& title) {
  submenus_.push_back(std::make_unique<Menu>());
  auto* item = Gtk::make_managed<Gtk::MenuItem>(title);
  item->set_submenu(*submenus_.back()->menu_);
  item->show();
  menu_->append(*item);
  return *submenus_.back();
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
  for (const auto& submenu : submenus_)
    if (submenu->performKeyEquivalent(keyDown)) return true;
  return false;
}

namespace {

// The key under which a menu shown at the pointer keeps the window it was opened from.
constexpr const char* kOpenedFrom = "draftwork-opened-from";

}  // namespace

Gtk::Window* Menu::windowOfOpenMenu() {
  GtkWidget* grab = gtk_grab_get_current();
  if (!grab || !GTK_IS_MENU(grab)) return nullptr;
  return static_cast<Gtk::Window*>(g_object_get_data(G_OBJECT(grab), kOpenedFrom));
}

void Menu::popUpAtPointer() {
  if (GdkEvent* current = gtk_get_current_event()) {
    GtkWidget* source = gtk_get_event_widget(current);
    auto* opener = source ? dynamic_cast<Gtk::Window*>(Glib::wrap(gtk_widget_get_toplevel(source))) : nullptr;
    g_object_set_data(G_OBJECT(menu_->gobj()), kOpenedFrom, opener);
    gdk_event_free(current);
    menu_->popup_at_pointer(nullptr);
    return;
  }
  g_object_set_data(G_OBJECT(menu_->gobj()), kOpenedFrom, nullptr);
  // Outside an event handler (from the main queue) GTK has no event to place the menu by: anchor it at the
  // pointer's position in the window under it, or in the window the menu is attached to.
  const auto display = Gdk::Display::get_default();
  const auto seat = display ? display->get_default_seat() : Glib::RefPtr<Gdk::Seat>();
  if (!seat || !seat->get_pointer()) return;
  const auto pointer = seat->get_pointer();
  int x = 0;
  int y = 0;
  Glib::RefPtr<Gdk::Window> window = pointer->get_window_at_position(x, y);
  if (!window && menu_->get_attach_widget() && menu_->get_attach_widget()->get_window()) {
    window = menu_->get_attach_widget()->get_window();
    Gdk::ModifierType mask;
    window->get_device_position(pointer, x, y, mask);
  }
  if (!window) return;  // the pointer is over no window of ours and nothing says where the menu belongs
  // A stand-in press tells GTK which device to grab for the menu.
  GdkEvent* trigger = gdk_event_new(GDK_BUTTON_PRESS);
  trigger->button.window = GDK_WINDOW(g_object_ref(window->gobj()));
  trigger->button.time = GDK_CURRENT_TIME;
  trigger->button.x = x;
  trigger->button.y = y;
  trigger->button.button = 3;
  gdk_event_set_device(trigger, pointer->gobj());
  menu_->popup_at_rect(window, Gdk::Rectangle(x, y, 1, 1), Gdk::GRAVITY_SOUTH_EAST, Gdk::GRAVITY_NORTH_WEST, trigger);
  gdk_event_free(trigger);
}

}  // namespace platform
