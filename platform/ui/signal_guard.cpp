#include "platform/ui/signal_guard.h"

namespace platform {

SignalGuard::SignalGuard(std::initializer_list<sigc::connection*> connections) {
  for (sigc::connection* connection : connections) blocked_.push_back({connection, connection->block()});
}

SignalGuard::SignalGuard(std::vector<sigc::connection>& connections) {
  for (sigc::connection& connection : connections) blocked_.push_back({&connection, connection.block()});
}

SignalGuard::~SignalGuard() {
  for (auto it = blocked_.rbegin(); it != blocked_.rend(); ++it) it->connection->block(it->wasBlocked);
}

}  // namespace platform
