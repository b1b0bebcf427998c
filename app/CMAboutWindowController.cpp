#include "app/CMAboutWindowController.h"

#include "app/CMCreditsWindowController.h"
#include "app/CMDocumentOpening.h"
#include "app/CMHelpWindowController.h"
#include "app/CMWindowLayout.h"
#include "platform/core/bundle.h"
#include "platform/core/log.h"
#include "platform/core/user_defaults.h"
#include "platform/ui/button.h"
#include "platform/ui/label.h"
#include "platform/ui/text_view.h"
#include "platform/ui/window.h"

namespace {

constexpr platform::Size kWindowSize{420, 360};

}  // namespace

CMAboutWindowController& CMAboutWindowController::sharedAbout() {
  static CMAboutWindowController controller;
  return controller;
}

CMAboutWindowController::CMAboutWindowController() = default;
CMAboutWindowController::~CMAboutWindowController() = default;

std::string CMAboutWindowController::versionText() {
  return "Version " + platform::bundleInfoValue("CFBundleShortVersionString").string() + " (Build " +
         platform::bundleInfoValue("CFBundleVersion").string() + ")";
}

std::string CMAboutWindowController::copyrightText() {
  return platform::bundleInfoValue("NSHumanReadableCopyright").string();
}

void CMAboutWindowController::OnShowCreditsWindow() { CMCreditsWindowController::sharedCredits().showWindow(); }

bool CMAboutWindowController::visitLink(const char* key) {
  const std::string address = platform::UserDefaults::standardUserDefaults().stringForKey(key);
  if (address.empty()) return false;
  if (const platform::Status shown = CMHelpWindowController::openURI(address); !shown) {
    platform::logWarning("the link was not shown: " + shown.error().description);
    presentErrorText("No web browser could show " + address + ".");
  }
  return true;
}

platform::Window& CMAboutWindowController::window() {
  if (!window_) loadWindow();
  return *window_;
}

void CMAboutWindowController::showWindow() {
  showCentred(window());
}

void CMAboutWindowController::loadWindow() {
  if (appName_.empty()) appName_ = platform::bundleInfoValue("CFBundleName").string();
  if (appVersion_.empty()) appVersion_ = versionText();
  if (appCopyright_.empty()) appCopyright_ = copyrightText();
  window_ = std::make_unique<platform::Window>(kWindowSize, "About " + appName_);
  window_->gtkWindow().set_resizable(false);
  auto content = std::make_shared<CMFlippedView>(platform::Rect{{0, 0}, kWindowSize});
  content->addSubview(std::make_shared<platform::Label>(platform::Rect{20, 16, 380, 24}, appName_));
  content->addSubview(std::make_shared<platform::Label>(platform::Rect{20, 44, 380, 20}, appVersion_));
  content->addSubview(std::make_shared<platform::Label>(platform::Rect{20, 68, 380, 20}, appCopyright_));
  credits_ = CMCreditsWindowController::makeCreditsView(20, 100, 380, 200);
  content->addSubview(credits_);
  auto credits = std::make_shared<platform::Button>(platform::Rect{300, 312, 100, 30},
                                                    platform::ButtonType::MomentaryPush, "Credits\u2026");
  credits->setAction([this](platform::Control&) { OnShowCreditsWindow(); });
  content->addSubview(credits);
  if (!platform::UserDefaults::standardUserDefaults().stringForKey("websiteURL").empty()) {
    visitWebsite_ = std::make_shared<platform::Button>(platform::Rect{20, 312, 200, 30},
                                                       platform::ButtonType::MomentaryPush,
                                                       "Visit " + appName_ + " Website");
    visitWebsite_->setAction([](platform::Control&) { visitLink("websiteURL"); });
    content->addSubview(visitWebsite_);
  }
  window_->setContentView(content);
}
