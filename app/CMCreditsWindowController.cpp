#include "app/CMCreditsWindowController.h"

#include "app/CMWindowLayout.h"
#include "platform/core/files.h"
#include "platform/core/resources.h"
#include "platform/ui/text_view.h"

namespace {
constexpr platform::Size kWindowSize{420, 300};
}  // namespace

CMCreditsWindowController& CMCreditsWindowController::sharedCredits() {
  static CMCreditsWindowController controller;
  return controller;
}

CMCreditsWindowController::CMCreditsWindowController() = default;
CMCreditsWindowController::~CMCreditsWindowController() = default;

std::string CMCreditsWindowController::creditsText() {
  const std::filesystem::path path = platform::pathForResource("Credits", "txt");
  if (path.empty()) return {};
  platform::Expected<platform::Bytes> bytes = platform::readFile(path);
  return bytes ? std::string(bytes.value().begin(), bytes.value().end()) : std::string();
}

std::shared_ptr<platform::TextView> CMCreditsWindowController::makeCreditsView(double x, double y, double width,
                                                                               double height) {
  auto view = std::make_shared<platform::TextView>(platform::Rect{x, y, width, height});
  view->setString(creditsText());
  view->gtkTextView().set_editable(false);
  // Lines break at the view's edge: the text is read, not scrolled sideways.
  view->gtkTextView().set_wrap_mode(Gtk::WRAP_WORD_CHAR);
  return view;
}

platform::Window& CMCreditsWindowController::window() {
  if (window_) return *window_;
  window_ = std::make_unique<platform::Window>(kWindowSize, "Credits");
  auto content = std::make_shared<CMFlippedView>(platform::Rect{{0, 0}, kWindowSize});
  text_ = makeCreditsView(12, 12, kWindowSize.width - 24, kWindowSize.height - 24);
  content->addSubview(text_);
  window_->setContentView(content);
  return *window_;
}

void CMCreditsWindowController::showWindow() { showCentred(window()); }
