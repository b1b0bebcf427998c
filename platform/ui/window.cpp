#include "platform/ui/window.h"

#include <glibmm/main.h>

#include <utility>
#include <vector>

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
  // GTK hears of an X window destroyed from outside as a destroy event, and would destroy the widget (true keeps it).
  const auto destroyedFromOutside = +[](GtkWidget*, GdkEvent*, gpointer self) -> gboolean {
    Glib::signal_idle().connect_once(sigc::mem_fun(*static_cast<Window*>(self), &Window::remakeDestroyedWindow));
    return TRUE;
  };
  g_signal_connect(window_->gobj(), "destroy-event", G_CALLBACK(destroyedFromOutside), this);
}

namespace {

// GDK drops a toplevel's frame clock with its X window, while GTK's widgets may still wait for a tick of it (a style
// to update): taking the dead window down, GTK complains of the missing clock. Those complaints concern the window
// gone, and are muted (and not fatal, as a test makes them) while it is taken down.
class MutedComplaints {
 public:
  MutedComplaints() : fatal_(g_log_set_always_fatal(G_LOG_LEVEL_ERROR)) {
    for (const char* domain : kDomains)
      handlers_.push_back(g_log_set_handler(domain, GLogLevelFlags(G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING),
                                            [](const gchar*, GLogLevelFlags, const gchar*, gpointer) {}, nullptr));
  }
  ~MutedComplaints() {
    for (std::size_t index = 0; index < handlers_.size(); ++index) g_log_remove_handler(kDomains[index], handlers_[index]);
    g_log_set_always_fatal(fatal_);
  }
  MutedComplaints(const MutedComplaints&) = delete;
  MutedComplaints& operator=(const MutedComplaints&) = delete;

 private:
  static constexpr const char* kDomains[] = {"GLib-GObject", "Gdk", "Gtk"};
  GLogLevelFlags fatal_;
  std::vector<guint> handlers_;
};

}  // namespace

void Window::remakeDestroyedWindow() {
  const bool shown = window_->get_visible();
  {
    const MutedComplaints muted;
    window_->hide();
    gtk_widget_unrealize(GTK_WIDGET(window_->gobj()));
  }
  if (shown) window_->show();
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
