#include "document/CMUserNotices.h"

#include <utility>

namespace {

struct Notices {
  CMUserNotices::Presenter presenter;
  std::vector<std::string> waiting;
};

Notices& notices() {
  static Notices state;
  return state;
}

}  // namespace

void CMUserNotices::post(std::string notice) {
  Notices& state = notices();
  if (!state.presenter) return state.waiting.push_back(std::move(notice));
  // A copy: presenting may install another presenter.
  const Presenter presenter = state.presenter;
  presenter({std::move(notice)});
}

CMUserNotices::Presenter CMUserNotices::install(Presenter presenter) {
  Notices& state = notices();
  Presenter previous = std::exchange(state.presenter, std::move(presenter));
  if (state.presenter && !state.waiting.empty()) {
    const Presenter current = state.presenter;
    current(takeWaiting());
  }
  return previous;
}

std::vector<std::string> CMUserNotices::takeWaiting() { return std::exchange(notices().waiting, {}); }
