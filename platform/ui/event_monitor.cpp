#include "platform/ui/event_monitor.h"

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

namespace platform {

namespace {

struct Monitor {
  int identifier;
  EventMask mask;
  std::shared_ptr<LocalMonitorHandler> handler;
};

std::vector<Monitor>& monitors() {
  static std::vector<Monitor> list;
  return list;
}

}  // namespace

int addLocalEventMonitor(EventMask mask, LocalMonitorHandler handler) {
  static int nextIdentifier = 0;
  const int identifier = ++nextIdentifier;
  monitors().push_back({identifier, mask, std::make_shared<LocalMonitorHandler>(std::move(handler))});
  return identifier;
}

void removeEventMonitor(int identifier) {
  auto& list = monitors();
  list.erase(
      std::remove_if(list.begin(), list.end(), [identifier](const Monitor& m) { return m.identifier == identifier; }),
      list.end());
}

bool runLocalEventMonitors(const Event& event) {
  // A copy, so handlers may add or remove monitors while this runs.
  const std::vector<Monitor> snapshot = monitors();
  for (const Monitor& monitor : snapshot) {
    const auto& live = monitors();
    const bool stillInstalled =
        std::any_of(live.begin(), live.end(), [&](const Monitor& m) { return m.identifier == monitor.identifier; });
    if (!stillInstalled || !event.matches(monitor.mask) || !*monitor.handler) continue;
    if (!(*monitor.handler)(event)) return false;
  }
  return true;
}

}  // namespace platform
