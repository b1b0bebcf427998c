#pragma once

// The application delegate: the launch sequence, file-open requests from the
// desktop, the welcome tour window and the application's own commands. It
// makes no untitled documents: every drawing starts in the new-document
// window, a template, a sample or a file.

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "document/CMProjectDelegate.h"
#include "platform/core/geometry.h"
#include "platform/graphics/color.h"
#include "ui/CMApplicationCommands.h"

namespace platform {
class View;
}
class HUDButtonCell;
class HUDWindow;

// A panel of the tour window: its placeholder, the information view shown in it and the one shown so far.
struct CMInformationPanel {
  std::shared_ptr<platform::View> placeHolderView;
  std::shared_ptr<platform::View> activeView;
  platform::Color background;
  platform::Color border;
};

class AppDelegate final : public CMProjectDelegate, public CMApplicationCommands {
 public:
  // Opens a file, displayed; the program's opener reports failures itself.
  using Opener = std::function<void(const std::filesystem::path&)>;

  // Once, before the first delegate is used: registers {"shouldRunFirst": YES} and installs the key names.
  static void initialize();
  AppDelegate();
  ~AppDelegate() override;
  AppDelegate(const AppDelegate&) = delete;
  AppDelegate& operator=(const AppDelegate&) = delete;

  void setOpener(Opener opener) { opener_ = std::move(opener); }
  // What quitting does (the application's quit); run once no window of the program is visible.
  void setTerminate(std::function<void()> terminate) { terminate_ = std::move(terminate); }

  // Launch steps 1 to 10; the files requested so far open at step 4, in order.
  void applicationDidFinishLaunching();
  bool applicationHasStarted() const { return applicationHasStarted_; }
  // Opens at once after launching, else queues; the tour window goes away either way.
  void applicationOpenFile(const std::filesystem::path& path);
  // The program was started again without files: the front window comes forward, no document is made.
  void applicationActivate();
  // From now on the program quits once none of its windows is visible, checked on the main queue after any
  // window hides, so one window handing over to another does not end it.
  void watchWindows();
  void checkForVisibleWindows();

  // Launch step 1: the "DefaultsInfo" defaults and "Appversion".
  void appVersionCheck();
  // The leading whole number of a version text, 0 without one.
  static std::int64_t appVersionNumber(std::string_view version);
  const std::string& appVersion() const { return appVersion_; }
  void setAppVersion(std::string version) { appVersion_ = std::move(version); }

  HUDWindow& tourWindow();
  HUDButtonCell* tourButton(const std::string& title) const;
  void showView(CMInformationPanel& panel, std::shared_ptr<platform::View> view);
  const std::array<CMInformationPanel, 4>& informationPanels() const { return panels_; }
  void openLastDocument();

  // ---- CMApplicationCommands ----
  void OnNewDocument(bool fromSender) override;
  void OnFromTemplates() override;
  void loadSample(const std::string& name) override;
  void quit() override;
  void OnShowPreferences() override;
  void OnGridSettings() override;
  void OnShowHelpWindow() override;
  void showTourWindow() override;
  void OnShowAboutWindow() override;

 private:
  void buildTourWindow();
  void open(const std::filesystem::path& path);

  bool applicationHasStarted_ = false;
  std::vector<std::filesystem::path> openFilePaths_;
  std::string appVersion_;
  std::unique_ptr<HUDWindow> tourWindow_;
  std::vector<std::shared_ptr<HUDButtonCell>> tourButtons_;
  // White rounded, dark rounded, dark square, white square.
  std::array<CMInformationPanel, 4> panels_;
  Opener opener_;
  std::function<void()> terminate_;
  bool checkQueued_ = false;
  unsigned long hideHook_ = 0;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  bool noticesShown_ = false;  // this delegate installed the notices' presenter
};
