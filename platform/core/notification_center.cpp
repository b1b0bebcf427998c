#include "platform/core/notification_center.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace platform {
namespace detail {

struct Observer {
  std::uint64_t id;
  std::string name;
  const void* object;
  NotificationHandler handler;
  bool removed = false;
};

struct NotificationCenterState {
  // Shared so that a post in progress keeps the observers it is calling alive
  // and sees their removal.
  std::vector<std::shared_ptr<Observer>> observers;
  std::uint64_t lastId = 0;

  void remove(std::uint64_t id) noexcept {
    auto found =
        std::find_if(observers.begin(), observers.end(), [id](const auto& observer) { return observer->id == id; });
    if (found == observers.end()) return;
    (*found)->removed = true;
    observers.erase(found);
  }
};

}  // namespace detail

ObserverToken::ObserverToken(std::weak_ptr<detail::NotificationCenterState> state, std::uint64_t id) noexcept
    : state_(std::move(state)), id_(id) {}

ObserverToken::ObserverToken(ObserverToken&& other) noexcept
    : state_(std::move(other.state_)), id_(std::exchange(other.id_, 0)) {}

ObserverToken& ObserverToken::operator=(ObserverToken&& other) noexcept {
  if (this != &other) {
    reset();
    state_ = std::move(other.state_);
    id_ = std::exchange(other.id_, 0);
  }
  return *this;
}

ObserverToken::~ObserverToken() { reset(); }

void ObserverToken::reset() noexcept {
  if (id_ == 0) return;
  if (auto state = state_.lock()) state->remove(id_);
  state_.reset();
  id_ = 0;
}

NotificationCenter::NotificationCenter() : state_(std::make_shared<detail::NotificationCenterState>()) {}

NotificationCenter::~NotificationCenter() = default;

NotificationCenter& NotificationCenter::defaultCenter() {
  static NotificationCenter center;
  return center;
}

ObserverToken NotificationCenter::addObserver(std::string name, NotificationHandler handler, const void* object) {
  if (!handler) return ObserverToken();
  const std::uint64_t id = ++state_->lastId;
  state_->observers.push_back(std::make_shared<detail::Observer>(
      detail::Observer{.id = id, .name = std::move(name), .object = object, .handler = std::move(handler)}));
  return ObserverToken(state_, id);
}

void NotificationCenter::post(std::string_view name, const void* object, DictRef userInfo) {
  // Held so that an observer destroying this center does not pull the state out from under the loop.
  std::shared_ptr<detail::NotificationCenterState> state = state_;
  std::vector<std::shared_ptr<detail::Observer>> recipients;
  for (const auto& observer : state->observers) {
    if (!observer->name.empty() && observer->name != name) continue;
    if (observer->object != nullptr && observer->object != object) continue;
    recipients.push_back(observer);
  }
  const Notification notification{.name = std::string(name), .object = object, .userInfo = std::move(userInfo)};
  for (const auto& recipient : recipients) {
    if (recipient->removed) continue;
    recipient->handler(notification);
  }
}

}  // namespace platform
