#pragma once

// What the application's small windows share: a content view laid out from the top left, and showing centred.

#include "platform/ui/view.h"
#include "platform/ui/window.h"

class CMFlippedView : public platform::View {
 public:
  using View::View;
  bool isFlipped() const override { return true; }
};

// Centres the window on the screen and brings it forward.
inline void showCentred(platform::Window& window) {
  window.gtkWindow().set_position(Gtk::WIN_POS_CENTER);
  window.show();
  window.gtkWindow().present();
}
