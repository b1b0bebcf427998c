#pragma once

// The credits window: the credits text ("Credits.txt" among the resources), read-only.

#include <memory>
#include <string>

namespace platform {
class TextView;
class Window;
}  // namespace platform

class CMCreditsWindowController {
 public:
  static CMCreditsWindowController& sharedCredits();
  CMCreditsWindowController();
  ~CMCreditsWindowController();

  platform::Window& window();
  void showWindow();
  platform::TextView& textView() const { return *text_; }
  // The credits from the resources, empty without them.
  static std::string creditsText();
  // A read-only text view showing the credits.
  static std::shared_ptr<platform::TextView> makeCreditsView(double x, double y, double width, double height);

 private:
  std::unique_ptr<platform::Window> window_;
  std::shared_ptr<platform::TextView> text_;
};
