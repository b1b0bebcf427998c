#pragma once

// The about window: name, version, copyright and the credits (read-only), with
// a link to the program's web site when the defaults name one.

#include <memory>
#include <string>

namespace platform {
class Button;
class TextView;
class Window;
}  // namespace platform

class CMAboutWindowController {
 public:
  // The maker's pages: the defaults key of each address and its command's title.
  struct Link {
    const char* key;
    const char* title;
  };
  static constexpr Link kLinks[] = {{"websiteURL", "Visit Website"},
                                    {"supportURL", "Support and Feedback"},
                                    {"tutorialsURL", "Tutorials"},
                                    {"social1URL", "Follow Us"},
                                    {"social2URL", "Join Us"}};

  static CMAboutWindowController& sharedAbout();
  CMAboutWindowController();
  ~CMAboutWindowController();

  platform::Window& window();
  void showWindow();
  // "Version 0.1.0 (Build 100)" from the program's version and build.
  static std::string versionText();
  static std::string copyrightText();
  void OnShowCreditsWindow();

  const std::string& appName() const { return appName_; }
  const std::string& appVersion() const { return appVersion_; }
  const std::string& appCopyright() const { return appCopyright_; }
  platform::TextView& creditsTextView() const { return *credits_; }
  // Null when no web site address is set.
  platform::Button* visitWebsiteButton() const { return visitWebsite_.get(); }
  // Opens the address the defaults hold under the key ("websiteURL", "supportURL", …); false when none is set.
  static bool visitLink(const char* key);

 private:
  void loadWindow();

  std::unique_ptr<platform::Window> window_;
  std::shared_ptr<platform::TextView> credits_;
  std::shared_ptr<platform::Button> visitWebsite_;
  std::string appName_;
  std::string appVersion_;
  std::string appCopyright_;
};
