#include "platform/ui/window.h"

#include <glibmm/main.h>

#include <utility>

#include "platform/ui/menu_bar.h"
#include "platform/ui/view.h"
#include "platform/ui/view_widget.h"

namespace platform {

Window::Window(Size contentSize, const std::string& title)
    : window_(std::make_unique<Gtk::Window>()),
      box_(Gtk::make_managed<Gtk::Box>(Gtk::ORIENTATION_VERTICAL)),
      host_(Gtk::make_managed<ViewHost>()) {
  window_->set_title(title);
  window_->set_default_size(std::max(1, pixelsFromLength(contentSize.width)),
                            std::max(1, pixelsFromLength(contentSize.height)));
  box_->pack_end(*host_, true, true);
  window_->add(*box_);
  box_->show();
  host_->show();
  setContentView(std::make_shared<View>(Rect{0, 0, contentSize.width, contentSize.height}));
  // A focused control that goes away (an option strip replaced, an editor hidden) leaves the window's focus nowhere,
  // and then no key reaches the views: they take it back, once GTK has finished moving the focus.
  window_->signal_set_focus().connect([this](Gtk::Widget* focus) {
    if (focus) return;
    Glib::signal_idle().connect_once(sigc::mem_fun(*this, &Window::focusViewsIfNothingHasFocus));
  });
}

void Window::focusViewsIfNothingHasFocus() {
  if (!window_->get_focus() && host_->get_realized() && host_->get_visible()) host_->grab_focus();
}

Window::~Window() {
  // The content view and the menu bar may outlive the window: take their widgets out before GTK destroys the
  // window's children.
  host_->setContentView(nullptr);
  setMainMenu(nullptr);
}

void Window::setMainMenu(std::shared_ptr<MenuBar> menu) {
  if (mainMenu_) {
    box_->remove(mainMenu_->gtkMenuBar());
    if (MenuBar::mainMenu() == mainMenu_.get()) MenuBar::setMainMenu(nullptr);
  }
  mainMenu_ = std::move(menu);
  if (!mainMenu_) {
    host_->setKeyEquivalentHandler(nullptr);
    return;
  }
  MenuBar::setMainMenu(mainMenu_);
  box_->pack_start(mainMenu_->gtkMenuBar(), false, false);
  mainMenu_->gtkMenuBar().show();
  if (!window_->get_realized()) {
    // The content keeps the size asked for; the window grows by the bar.
    int width = 0;
    int height = 0;
    int barMinimum = 0;
    int barNatural = 0;
    window_->get_default_size(width, height);
    mainMenu_->gtkMenuBar().get_preferred_height(barMinimum, barNatural);
    window_->set_default_size(width, height + barNatural);
  }
  MenuBar* bar = mainMenu_.get();
  host_->setKeyEquivalentHandler([bar](const Event& event) { return bar->performKeyEquivalent(event); });
}

void Window::setContentView(std::shared_ptr<View> view) { host_->setContentView(std::move(view)); }

void Window::setTitle(const std::string& title) { window_->set_title(title); }

std::string Window::title() const { return window_->get_title(); }

void Window::show() { window_->show(); }

void Window::hide() { window_->hide(); }

bool Window::isVisible() const { return window_->get_visible(); }

}  // namespace platform
