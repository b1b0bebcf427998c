#pragma once

// NSNotificationCenter's stand-in: named broadcasts delivered synchronously to
// the observers registered for them, in registration order. Main thread only.
//
// During a post, an observer removed before its turn is not called, and one
// added is not called until the next post. Posting from inside an observer
// works.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/core/value.h"

namespace platform {

struct Notification {
  std::string name;
  const void* object = nullptr;  // the sender's identity; never dereferenced
  DictRef userInfo;
};

using NotificationHandler = std::function<void(const Notification&)>;

namespace detail {
struct NotificationCenterState;
}

// Keeps an observer registered: destroying the token, or reset(), removes it.
// A token that outlives its center does nothing.
class ObserverToken {
 public:
  ObserverToken() noexcept = default;
  ObserverToken(ObserverToken&& other) noexcept;
  ObserverToken& operator=(ObserverToken&& other) noexcept;
  ~ObserverToken();

  void reset() noexcept;
  // True until reset (or moved from); stays true after the center is gone.
  explicit operator bool() const noexcept { return id_ != 0; }

 private:
  friend class NotificationCenter;
  ObserverToken(std::weak_ptr<detail::NotificationCenterState> state, std::uint64_t id) noexcept;

  std::weak_ptr<detail::NotificationCenterState> state_;
  std::uint64_t id_ = 0;
};

class NotificationCenter {
 public:
  NotificationCenter();
  ~NotificationCenter();
  NotificationCenter(const NotificationCenter&) = delete;
  NotificationCenter& operator=(const NotificationCenter&) = delete;

  // Lives for the whole process.
  static NotificationCenter& defaultCenter();

  // An empty name observes every notification. With an object, only posts from
  // that object are delivered; without one, posts from any object (or none).
  [[nodiscard]] ObserverToken addObserver(std::string name, NotificationHandler handler, const void* object = nullptr);
  void post(std::string_view name, const void* object = nullptr, DictRef userInfo = nullptr);

 private:
  std::shared_ptr<detail::NotificationCenterState> state_;
};

}  // namespace platform
