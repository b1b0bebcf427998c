#pragma once

// What the user must be told of that the model finds where it can show nothing: a damaged store or settings file
// set aside, records of the user's dropped. The interface installs a presenter once its first window is up;
// notices posted before then wait for it. Each notice reaches a presenter once.

#include <functional>
#include <string>
#include <vector>

class CMUserNotices {
 public:
  using Presenter = std::function<void(const std::vector<std::string>& notices)>;

  // Hands the notice to the presenter, or keeps it until one is installed.
  static void post(std::string notice);
  // Installs the presenter (null: notices wait again), hands it the waiting ones together, and returns the
  // previous presenter.
  static Presenter install(Presenter presenter);
  // The notices waiting for a presenter, now taken: what tests without an interface look at.
  static std::vector<std::string> takeWaiting();
};
