#include "io/import/CMConversionProgressWindow.h"

#include <gdk/gdkkeysyms.h>
#include <glibmm/main.h>

#include <utility>

#include "platform/ui/window.h"
#include "ui/CMMainWindowController.h"

namespace {

constexpr unsigned kPulseMilliseconds = 100;

}  // namespace

std::unique_ptr<CMConversionProgress> CMConversionProgressWindow::make(std::function<void()> onCancel) {
  return std::make_unique<CMConversionProgressWindow>(std::move(onCancel));
}

CMConversionProgressWindow::CMConversionProgressWindow(std::function<void()> onCancel)
    : cancel_(std::move(onCancel)) {
  window_.set_title("Import");
  window_.set_modal(true);
  window_.set_resizable(false);
  window_.set_deletable(true);
  window_.set_type_hint(Gdk::WINDOW_TYPE_HINT_DIALOG);
  if (const auto controller = CMMainWindowController::sharedWindowController()) {
    window_.set_transient_for(controller->window().gtkWindow());
    window_.set_position(Gtk::WIN_POS_CENTER_ON_PARENT);
  }
  box_.set_border_width(16);
  bar_.set_pulse_step(0.1);
  cancelButton_.set_halign(Gtk::ALIGN_END);
  cancelButton_.signal_clicked().connect([this] { cancel(); });
  box_.pack_start(label_);
  box_.pack_start(bar_);
  box_.pack_start(cancelButton_);
  window_.add(box_);
  window_.signal_delete_event().connect([this](GdkEventAny*) {
    cancel();
    return true;
  });
  window_.signal_key_press_event().connect([this](GdkEventKey* key) {
    if (key->keyval != GDK_KEY_Escape) return false;
    cancel();
    return true;
  });
  appear_ = Glib::signal_timeout().connect(
      [this] {
        window_.show_all();
        pulse_ = Glib::signal_timeout().connect(
            [this] {
              bar_.pulse();
              return true;
            },
            kPulseMilliseconds);
        return false;
      },
      static_cast<unsigned>(kAppearsAfter.count()));
}

CMConversionProgressWindow::~CMConversionProgressWindow() {
  appear_.disconnect();
  pulse_.disconnect();
  window_.hide();
}

void CMConversionProgressWindow::cancel() {
  label_.set_text("Cancelling\u2026");
  cancelButton_.set_sensitive(false);
  if (cancel_) std::exchange(cancel_, nullptr)();
}
