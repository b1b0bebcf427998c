#include "app/CMNewDocumentWindowController.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <utility>

#include "app/CMDocumentOpening.h"
#include "app/CMTemplatesWindowController.h"
#include "app/CMWindowLayout.h"
#include "document/CMProject.h"
#include "platform/core/debug_log.h"
#include "platform/core/document_controller.h"
#include "platform/core/numeric.h"
#include "platform/core/string_conversions.h"
#include "platform/ui/button.h"
#include "platform/ui/file_panel.h"
#include "platform/ui/label.h"
#include "platform/ui/pop_up_button.h"
#include "platform/ui/recent_documents.h"
#include "platform/ui/segmented_control.h"
#include "platform/ui/text_field.h"
#include "platform/ui/window.h"
#include "ui/CMPicturePanelView.h"

namespace {

constexpr const char* kDebug = "DEBUG ";
constexpr platform::Size kWindowSize{520, 330};

struct Preset {
  int tag;
  int width;
  int height;
};
constexpr std::array<Preset, 10> kPresets{{{2, 414, 736},
                                           {3, 400, 1736},
                                           {4, 468, 60},
                                           {5, 640, 480},
                                           {6, 800, 600},
                                           {7, 595, 842},
                                           {8, 709, 1001},
                                           {9, 400, 600},
                                           {10, 500, 700},
                                           {11, 800, 1000}}};

platform::UserDefaults& defaults() { return platform::UserDefaults::standardUserDefaults(); }

void store(std::int64_t value, const char* key) {
  defaults().setInteger(value, key);
  defaults().synchronize();
}

int countsAsOne(const char* key) {
  const std::int64_t value = defaults().integerForKey(key);
  return value == 0 ? 1 : static_cast<int>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

// Sizes no page may be given (unset, 0, negative, not a number or beyond the largest) are the default 500.
int pageSize(const char* key) {
  const std::int64_t value = defaults().integerForKey(key);
  return CMPicturePanelView::acceptsSide(static_cast<double>(value)) ? static_cast<int>(value)
                                                                      : CMNewDocumentWindowController::kDefaultSize;
}

}  // namespace

CMNewDocumentWindowController& CMNewDocumentWindowController::sharedNewDocument() {
  static CMNewDocumentWindowController controller;
  return controller;
}

CMNewDocumentWindowController::CMNewDocumentWindowController() {
  platform::Log2Message(kDebug, __LINE__, __func__, "init");
}

CMNewDocumentWindowController::~CMNewDocumentWindowController() = default;

int CMNewDocumentWindowController::typeId() { return countsAsOne("typeId"); }
int CMNewDocumentWindowController::presetSelected() { return countsAsOne("preset_selected"); }
int CMNewDocumentWindowController::defaultWidth() { return pageSize("defaultW"); }
int CMNewDocumentWindowController::defaultHeight() { return pageSize("defaultH"); }

platform::Window& CMNewDocumentWindowController::window() {
  if (!window_) loadWindow();
  return *window_;
}

void CMNewDocumentWindowController::showWindow() {
  window();
  // Read at each showing: a drawing opened or saved since the last one is offered too.
  loadRecentFiles();
  showCentred(window());
}

void CMNewDocumentWindowController::loadRecentFiles() {
  recentPaths_.clear();
  recent_->removeAllItems();
  for (const std::filesystem::path& path : platform::RecentDocuments::recentDocumentURLs()) {
    recentPaths_.push_back(path.string());
    recent_->addItemWithTitle(path.string());
  }
  if (!recentPaths_.empty()) recent_->selectItemAtIndex(0);
}

void CMNewDocumentWindowController::loadWindow() {
  platform::Log2Message(kDebug, __LINE__, __func__, "windowdidload");
  window_ = std::make_unique<platform::Window>(kWindowSize, "New Document");
  window_->gtkWindow().set_resizable(false);
  auto content = std::make_shared<CMFlippedView>(platform::Rect{{0, 0}, kWindowSize});

  type_ = std::make_shared<platform::SegmentedControl>(platform::Rect{20, 16, 480, 30},
                                                       std::vector<std::string>{"New Document", "Open Recent"});
  type_->setAction([this](platform::Control&) { OnChangeType(); });
  preset_ = std::make_shared<platform::PopUpButton>(platform::Rect{120, 62, 220, 28});
  preset_->addItemWithTitle("Custom");
  preset_->setTagOfItemAtIndex(0, kCustomPreset);
  for (const Preset& preset : kPresets) {
    preset_->addItemWithTitle(std::to_string(preset.width) + " \u00D7 " + std::to_string(preset.height) + " pt");
    preset_->setTagOfItemAtIndex(preset_->numberOfItems() - 1, preset.tag);
  }
  preset_->setAction([this](platform::Control&) { OnPresetChange(); });
  width_ = std::make_shared<platform::TextField>(platform::Rect{120, 100, 80, 26});
  height_ = std::make_shared<platform::TextField>(platform::Rect{270, 100, 80, 26});
  for (platform::TextField* field : {width_.get(), height_.get()}) {
    field->setAction([this, field](platform::Control&) {
      commitSide(*field);
      followSides();
    });
  }
  dimension_ = std::make_shared<platform::PopUpButton>(platform::Rect{360, 100, 110, 28});
  dimension_->addItemWithTitle("points");
  dimension_->setTagOfItemAtIndex(0, 0);
  orientation_ = std::make_shared<platform::SegmentedControl>(platform::Rect{120, 138, 220, 30},
                                                              std::vector<std::string>{"Portrait", "Landscape"});
  orientation_->setAction([this](platform::Control&) { OnChangeOrientation(); });
  recent_ = std::make_shared<platform::PopUpButton>(platform::Rect{120, 190, 280, 28});
  browse_ = std::make_shared<platform::Button>(platform::Rect{410, 190, 90, 28}, platform::ButtonType::MomentaryPush,
                                               "Browse\u2026");
  browse_->setAction([this](platform::Control&) { OnBrowser(); });
  auto templates = std::make_shared<platform::Button>(platform::Rect{20, 280, 150, 30},
                                                      platform::ButtonType::MomentaryPush, "From Template\u2026");
  templates->setAction([this](platform::Control&) { OnFromTemplates(); });
  auto close = std::make_shared<platform::Button>(platform::Rect{300, 280, 95, 30},
                                                  platform::ButtonType::MomentaryPush, "Close");
  close->setAction([this](platform::Control&) { OnClose(); });
  auto createButton = std::make_shared<platform::Button>(platform::Rect{405, 280, 95, 30},
                                                         platform::ButtonType::MomentaryPush, "Create");
  createButton->setAction([this](platform::Control&) { OnCreateDocument(); });

  content->addSubview(type_);
  content->addSubview(std::make_shared<platform::Label>(platform::Rect{20, 66, 95, 20}, "Page size:"));
  content->addSubview(preset_);
  content->addSubview(std::make_shared<platform::Label>(platform::Rect{20, 104, 95, 20}, "Width:"));
  content->addSubview(width_);
  content->addSubview(std::make_shared<platform::Label>(platform::Rect{208, 104, 60, 20}, "Height:"));
  content->addSubview(height_);
  content->addSubview(dimension_);
  content->addSubview(orientation_);
  content->addSubview(std::make_shared<platform::Label>(platform::Rect{20, 194, 95, 20}, "Recent file:"));
  content->addSubview(recent_);
  content->addSubview(browse_);
  content->addSubview(templates);
  content->addSubview(close);
  content->addSubview(createButton);
  window_->setContentView(content);

  platform::Log2Message(kDebug, __LINE__, __func__, "awakefromnib");
  type_->setSelectedSegment(typeId() - 1);
  orientation_->setSelectedSegment(static_cast<int>(defaults().integerForKey("orientation_type")));
  showPageSize();
  dimension_->selectItemWithTag(static_cast<int>(defaults().integerForKey("defaultD")));
  preset_->selectItemWithTag(presetSelected());
  followSides();
  loadRecentFiles();
  updateControls();
  platform::Log2Message(kDebug, __LINE__, __func__, "awakefromnib end");
}

void CMNewDocumentWindowController::setFirstLauncheMode(bool mode) {
  platform::Log2Message(kDebug, __LINE__, __func__, "firstlaunchmode begin");
  firstLauncheMode_ = mode;
  if (window_) updateControls();
  platform::Log2Message(kDebug, __LINE__, __func__, "firstlaunchmode end");
}

void CMNewDocumentWindowController::setParamWidth(int width, int height) {
  if (window_) {
    width_->setStringValue(std::to_string(width));
    height_->setStringValue(std::to_string(height));
  }
  defaults().setInteger(width, "defaultW");
  defaults().setInteger(height, "defaultH");
  defaults().synchronize();
}

void CMNewDocumentWindowController::updateControls() {
  if (!window_) return;
  const int type = typeId();
  type_->setSelectedSegment(type - 1);
  const bool creating = type == kCreateType;
  const bool custom = presetSelected() == kCustomPreset;
  browse_->setEnabled(!creating);
  recent_->setEnabled(!creating);
  preset_->setEnabled(creating);
  orientation_->setEnabled(creating);
  width_->setEditable(creating && custom);
  height_->setEditable(creating && custom);
  dimension_->setEnabled(creating && custom);
  platform::Log2Message(kDebug, __LINE__, __func__, "updatecontrols end");
}

void CMNewDocumentWindowController::OnChangeType() {
  store(type_->selectedSegment() + 1, "typeId");
  updateControls();
}

void CMNewDocumentWindowController::OnPresetChange() {
  const int tag = preset_->selectedTag();
  store(tag, "preset_selected");
  for (const Preset& preset : kPresets)
    if (preset.tag == tag) setParamWidth(preset.width, preset.height);
  followSides();
  updateControls();
}

void CMNewDocumentWindowController::OnChangeOrientation() {
  const int chosen = orientation_->selectedSegment();
  commitSides();
  store(chosen, "orientation_type");
  // Landscape lays the longer side across and Portrait stands it up; sides that already lie so stay as typed.
  int width = defaultWidth();
  int height = defaultHeight();
  if (chosen == kLandscape ? width < height : height < width) std::swap(width, height);
  setParamWidth(width, height);
}

void CMNewDocumentWindowController::commitSide(platform::TextField& field) {
  const bool width = &field == width_.get();
  const std::optional<double> side = platform::wholeNumberValue(field.stringValue());
  // Read whole, never keystroke by keystroke: "1e9" typed passes through "1", which is a side too.
  if (side && CMPicturePanelView::acceptsSide(*side))
    store(platform::saturatingTruncate<std::int64_t>(*side), width ? "defaultW" : "defaultH");
  // A refused side leaves the one in use, which the field shows again.
  field.setStringValue(std::to_string(width ? defaultWidth() : defaultHeight()));
}

void CMNewDocumentWindowController::commitSides() {
  commitSide(*width_);
  commitSide(*height_);
}

void CMNewDocumentWindowController::followSides() {
  const int width = defaultWidth();
  const int height = defaultHeight();
  if (width == height) return;
  const int orientation = width > height ? kLandscape : 0;
  if (orientation_) orientation_->setSelectedSegment(orientation);
  if (defaults().integerForKey("orientation_type") != orientation) store(orientation, "orientation_type");
}

void CMNewDocumentWindowController::showPageSize() {
  width_->setStringValue(std::to_string(defaultWidth()));
  height_->setStringValue(std::to_string(defaultHeight()));
}

void CMNewDocumentWindowController::OnCreateDocument() {
  platform::Log2Message(kDebug, __LINE__, __func__, "OnCreateDocument begin");
  // Create clicked before the field was left: the text typed counts, and the orientation follows it.
  if (window_) {
    commitSides();
    followSides();
  }
  const auto proceed = [this] { typeId() >= kOpenRecentType ? openRecent() : create(); };
  if (!firstLauncheMode_) return proceed();
  std::string names;
  for (const auto& document : platform::DocumentController::shared().documents())
    names += (names.empty() ? "" : ", ") + document->displayName();
  platform::Log2Message(kDebug, __LINE__, __func__, "doc (" + names + ")");
  // Closing asks about unsaved changes first; a Cancel makes nothing.
  closeAllDocumentsThen(proceed);
}

void CMNewDocumentWindowController::create() {
  CMProject& project = CMProject::shareProject();
  project.setLockAutoOpenDocument(false);
  project.setDocumentDefault(platform::Dictionary::make({{"width", defaultWidth()}, {"height", defaultHeight()}}));
  platform::DocumentController& controller = platform::DocumentController::shared();
  platform::Log2Message(kDebug, __LINE__, __func__, "controller document controller");
  auto made = controller.newDocument();
  if (!made) {
    controller.panels().presentError(made.error());
    return;
  }
  window().hide();
  platform::Log2Message(kDebug, __LINE__, __func__, "OnCreateDocuement End");
}

void CMNewDocumentWindowController::openRecent() {
  const int index = recent_ ? recent_->indexOfSelectedItem() : -1;
  if (index < 0 || index >= static_cast<int>(recentPaths_.size())) return;
  CMProject::shareProject().setLockAutoOpenDocument(false);
  const std::filesystem::path path = recentPaths_[static_cast<std::size_t>(index)];
  std::error_code error;
  if (!std::filesystem::exists(path, error)) return presentErrorText(kFileDoesNotExist);
  closeDocumentForPathThen(path, [this, path] {
    if (openFileDisplayed(path)) window().hide();
  });
}

void CMNewDocumentWindowController::OnBrowser() {
  platform::Log2Message(kDebug, __LINE__, __func__, "OnBrowser Begin");
  std::shared_ptr<platform::FilePanel> panel = platform::FilePanel::openPanel();
  panel->setAllowedFileTypes({"vard", "cdr"});
  panel->beginSheet(window(), [this, panel](bool accepted) {
    if (!accepted || panel->paths().empty()) return;
    CMProject::shareProject().setLockAutoOpenDocument(false);
    const std::filesystem::path path = panel->paths().front();
    closeDocumentForPathThen(path, [this, path] {
      if (openFileDisplayed(path)) window().hide();
    });
  });
}

void CMNewDocumentWindowController::OnFromTemplates() {
  platform::Log2Message(kDebug, __LINE__, __func__, "OnFromTemplate Begin");
  window().hide();
  CMProject::shareProject().setLockAutoOpenDocument(false);
  CMTemplatesWindowController& templates = CMTemplatesWindowController::sharedTemplate();
  templates.loadItems();
  templates.setDelegate([this] { didClose(); });
  templates.showWindow();
  platform::Log2Message(kDebug, __LINE__, __func__, "OnfromTemplate End");
}

void CMNewDocumentWindowController::OnClose() {
  platform::Log2Message(kDebug, __LINE__, __func__, "onClose");
  CMProject::shareProject().setLockAutoOpenDocument(false);
  window().hide();
}

void CMNewDocumentWindowController::didClose() { showWindow(); }
