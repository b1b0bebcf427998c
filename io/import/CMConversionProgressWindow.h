#pragma once

// The window shown while a CorelDRAW drawing is converted: a line saying so, a bar that pulses while the converter
// works and a "Cancel" button (Escape and closing the window cancel too). It appears only once a conversion takes
// longer than a moment; the conversion is a modal step from its start, so no other command starts meanwhile and
// what the user types or clicks before the window shows goes nowhere.

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/label.h>
#include <gtkmm/progressbar.h>
#include <gtkmm/window.h>

#include <chrono>
#include <functional>
#include <memory>

#include "io/cdr/CMCDRConverterProcess.h"
#include "platform/ui/modal_step.h"

class CMConversionProgressWindow final : public CMConversionProgress {
 public:
  static constexpr std::chrono::milliseconds kAppearsAfter{400};

  // What the application installs as the conversions' progress.
  static std::unique_ptr<CMConversionProgress> make(std::function<void()> onCancel);

  explicit CMConversionProgressWindow(std::function<void()> onCancel);
  ~CMConversionProgressWindow() override;

  Gtk::Window& window() { return window_; }

 private:
  void cancel();

  std::function<void()> cancel_;
  Gtk::Window window_;
  platform::ModalStep step_{window_};
  Gtk::Box box_{Gtk::ORIENTATION_VERTICAL, 12};
  Gtk::Label label_{"Converting the CorelDRAW drawing\u2026"};
  Gtk::ProgressBar bar_;
  Gtk::Button cancelButton_{"Cancel"};
  sigc::connection appear_;
  sigc::connection pulse_;
};
