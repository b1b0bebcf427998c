#pragma once

// GTK emits "changed", "toggled" and "value-changed" when code sets a value;
// AppKit sends no action then. Every programmatic change of a control runs
// inside a SignalGuard, which blocks the control's own connections for the
// scope and restores them as they were.

#include <sigc++/connection.h>

#include <initializer_list>
#include <vector>

namespace platform {

class SignalGuard {
 public:
  explicit SignalGuard(std::initializer_list<sigc::connection*> connections);
  explicit SignalGuard(std::vector<sigc::connection>& connections);
  ~SignalGuard();
  SignalGuard(const SignalGuard&) = delete;
  SignalGuard& operator=(const SignalGuard&) = delete;

 private:
  struct Blocked {
    sigc::connection* connection;
    bool wasBlocked;
  };
  std::vector<Blocked> blocked_;
};

}  // namespace platform
