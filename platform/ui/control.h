#pragma once

// NSControl: a view made of a GTK widget, with a tag and a target/action pair
// (here one closure) sent when the user changes it and never when code does.
// Subclasses connect the widget's signals through connectUserSignal and make
// every programmatic change under guard().

#include <sigc++/connection.h>

#include <functional>
#include <memory>
#include <vector>

#include "platform/ui/signal_guard.h"
#include "platform/ui/view.h"

namespace platform {

class Control : public View {
 public:
  using Action = std::function<void(Control& sender)>;

  explicit Control(Rect frame) : View(frame) {}

  void setAction(Action action) { action_ = std::move(action); }
  int tag() const { return tag_; }
  void setTag(int tag) { tag_ = tag; }
  bool isEnabled() const;
  // A control made of a GTK widget passes it on to the widget; one that draws itself keeps it and redraws.
  virtual void setEnabled(bool enabled);

 protected:
  // Sends the action as the user's change of the control. The action may destroy this control
  // (a panel rebuilding itself): the control's widget then lives until the main queue's next turn.
  void userDidChange();
  // Remembers a connection so guard() blocks it.
  void keepConnection(sigc::connection connection) { connections_.push_back(connection); }
  SignalGuard guard() { return SignalGuard(connections_); }
  void setContent(Gtk::Widget& widget);

 private:
  Action action_;
  std::vector<sigc::connection> connections_;
  Gtk::Widget* content_ = nullptr;
  int tag_ = 0;
  bool enabled_ = true;  // without a content widget
};

}  // namespace platform
