#pragma once

// The one process-wide project object: settings, the profile store, the
// key-binding manager, default layer records, the support folder, and the few
// interface values every window must share.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string_view>
#include <utility>

#include "document/CMGlobalProfile.h"
#include "document/CMKeyBindingManager.h"
#include "document/CMProjectDelegate.h"
#include "platform/core/user_defaults.h"
#include "platform/core/value.h"

class CPMainView;  // the main window's content view; defined by the window layer

enum CMEditMode : std::int32_t {
  kCMEditModeObject = 0,
  kCMEditModePathPoints = 1,
  kCMEditModeText = 2,
  kCMEditModeGradient = 3,
  kCMEditModePenCurve = 4,
};

class CMProject {
 public:
  static CMProject& shareProject();
  // Drops the shared project; the next shareProject() builds a new one over the
  // folders of that moment. For tests.
  static void resetSharedProject();

  // Opens the profile, makes the key-binding manager, reads the right panel type
  // and registers the "settings" defaults, in that order.
  CMProject();
  CMProject(const CMProject&) = delete;
  CMProject& operator=(const CMProject&) = delete;

  CMProjectDelegate* delegate() const noexcept { return delegate_; }
  void setDelegate(CMProjectDelegate* delegate) noexcept { delegate_ = delegate; }
  CPMainView* mainView() const noexcept { return mainView_; }
  void setMainView(CPMainView* view) noexcept { mainView_ = view; }
  std::int32_t editMode() const noexcept { return editMode_; }
  void setEditMode(std::int32_t mode) noexcept { editMode_ = mode; }
  std::int32_t rightPanelShowType() const noexcept { return rightPanelShowType_; }
  // Also stored in the profile, where the next launch reads it back.
  void setRightPanelShowType(std::int32_t type);

  CMGlobalProfile& profile() noexcept { return *profile_; }
  CMKeyBindingManager& keyBindings() noexcept { return *keyBindings_; }

  bool lockAutoOpenDocument() const noexcept { return lockAutoOpenDocument_; }
  void setLockAutoOpenDocument(bool lock) noexcept { lockAutoOpenDocument_ = lock; }
  // Entries copied over every new document that does not start from a template.
  const platform::DictRef& documentDefault() const noexcept { return documentDefault_; }
  void setDocumentDefault(platform::DictRef defaults) noexcept { documentDefault_ = std::move(defaults); }
  // Root record the next new document starts from; that document clears it.
  const platform::DictRef& defaultTemplate() const noexcept { return defaultTemplate_; }
  void setDefaultTemplate(platform::DictRef rootRecord) noexcept { defaultTemplate_ = std::move(rootRecord); }

  // The standard user defaults.
  platform::UserDefaults& settings() const;
  // Writes the settings to disk now, so a change the user made survives however the program ends; a failure is
  // logged.
  void saveSettings() const;

  // These read no project state, so callers need not make the project for them.
  // A fresh deep copy of the default layer record of that name from the "data"
  // resource (read anew on every call), or null when there is none.
  static platform::DictRef defaultObject(std::string_view name);
  // <support folder>/<fileName>. The folder is created with its parents (a fresh
  // account may lack them); a failure is logged and the path returned all the same.
  static std::filesystem::path appFilePath(std::string_view fileName);

 private:
  std::unique_ptr<CMGlobalProfile> profile_;
  std::unique_ptr<CMKeyBindingManager> keyBindings_;
  CMProjectDelegate* delegate_ = nullptr;
  CPMainView* mainView_ = nullptr;
  std::int32_t editMode_ = kCMEditModeObject;
  std::int32_t rightPanelShowType_ = 0;
  bool lockAutoOpenDocument_ = false;
  platform::DictRef documentDefault_;
  platform::DictRef defaultTemplate_;
};
