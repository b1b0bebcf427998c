#include "io/export/CMExportManager.h"

#include <array>
#include <vector>
#include <utility>

#include "document/CMDocument.h"
#include "io/export/CMPNGOutputFormat.h"
#include "io/export/CMRasterOutputFormats.h"
#include "io/export/CMSVGOutputFormat.h"
#include "io/export/CMVectorOutputFormats.h"
#include "platform/core/files.h"
#include "platform/core/folders.h"
#include "platform/core/log.h"
#include "platform/core/numeric.h"
#include "platform/core/string_utilities.h"
#include "platform/core/user_defaults.h"
#include "platform/ui/alert.h"
#include "platform/ui/file_panel.h"
#include "platform/ui/label.h"
#include "platform/ui/pop_up_button.h"
#include "platform/ui/slider.h"
#include "platform/ui/view.h"
#include "ui/CMMainWindowController.h"

namespace {

constexpr const char* kExportTagKey = "export_tag";
constexpr int kJPEGTag = 5;
// The formats offered, in tag order; PSD (6) and AI (7) have names but no format.
constexpr std::array kOfferedTags{1, 2, 3, 4, 5, 8, 9, 10};
constexpr float kStartingQuality = 0.9f;

// Where the last export of this session went: the next one of an unsaved drawing opens there.
std::filesystem::path& lastExportFolder() {
  static std::filesystem::path folder;
  return folder;
}

// The file types whose ending a change of format replaces in the name field: every format's (in either spelling,
// "jpg" as well as "jpeg") and the drawing's own.
std::vector<std::string> knownFileTypes() {
  std::vector<std::string> types{"vard"};
  for (int tag = 1; CMExportManager::formatForTag(tag); ++tag) {
    types.push_back(platform::lowercaseString(*CMExportManager::formatForTag(tag)));
  }
  return types;
}

std::unique_ptr<CMBaseOutputFormat> outputFormatForTag(int tag, float quality) {
  switch (tag) {
    case 1: return std::make_unique<CMPDFOutputFormat>();
    case 2: return std::make_unique<CMEPSOutputFormat>();
    case 3: return std::make_unique<CMTIFFOutputFormat>();
    case 4: return std::make_unique<CMPNGOutputFormat>();
    case 5: return std::make_unique<CMJPEGOutputFormat>(quality);
    case 8: return std::make_unique<CMSVGOutputFormat>();
    case 9: return std::make_unique<CMGIFOutputFormat>();
    case 10: return std::make_unique<CMBMPOutputFormat>();
    default: return nullptr;
  }
}

class ExportLauncher final : public CMExportService {
 public:
  void exportDocument(CMDocument& document) override { std::make_shared<CMExportManager>()->exportDocument(document); }
};

}  // namespace

std::optional<std::string> CMExportManager::formatForTag(int tag) {
  static constexpr std::array<const char*, 10> kNames{"PDF", "EPS", "TIFF", "PNG", "JPEG",
                                                      "PSD", "AI",  "SVG",  "GIF", "BMP"};
  if (tag < 1 || tag > static_cast<int>(kNames.size())) return std::nullopt;
  return kNames[static_cast<std::size_t>(tag - 1)];
}

std::unique_ptr<CMExportService> CMExportManager::makeService() { return std::make_unique<ExportLauncher>(); }

CMExportManager::CMExportManager()
    : exportAccessoryView_(std::make_shared<platform::View>(platform::Rect{0, 0, 420, 40})),
      exportFormatPopUp_(std::make_shared<platform::PopUpButton>(platform::Rect{70, 6, 110, 28})),
      // As high as the pop-up: a GTK scale needs more than 20 pixels to draw its knob.
      jpgQualitySlider_(
          std::make_shared<platform::Slider>(platform::Rect{270, 6, 140, 28}, 0.0, 1.0, kStartingQuality)) {
  exportAccessoryView_->addSubview(std::make_shared<platform::Label>(platform::Rect{6, 12, 60, 16}, "Format:"));
  exportAccessoryView_->addSubview(exportFormatPopUp_);
  exportAccessoryView_->addSubview(std::make_shared<platform::Label>(platform::Rect{196, 12, 70, 16}, "Quality:"));
  exportAccessoryView_->addSubview(jpgQualitySlider_);
  for (int tag : kOfferedTags) {
    exportFormatPopUp_->addItemWithTitle(*formatForTag(tag));
    exportFormatPopUp_->setTagOfItemAtIndex(exportFormatPopUp_->numberOfItems() - 1, tag);
  }
  exportFormatPopUp_->selectItemAtIndex(0);
  const auto remembered = platform::UserDefaults::standardUserDefaults().integerForKey(kExportTagKey);
  exportFormatPopUp_->selectItemWithTag(platform::saturatingTruncate<int>(remembered));
  exportFormatPopUp_->setAction([this](platform::Control& sender) { exportAccessoryViewPopupFormatDidChange(sender); });
}

CMExportManager::~CMExportManager() = default;

void CMExportManager::exportDocument(CMDocument& document) {
  currentExportPanel_ = platform::FilePanel::savePanel();
  exportAccessoryViewPopupFormatDidChange(*exportFormatPopUp_);
  currentExportPanel_->setAccessoryView(exportAccessoryView_);
  currentExportPanel_->setTitle("Export");
  currentExportPanel_->setKnownFileTypes(knownFileTypes());
  currentExportPanel_->setTypeFromName([this](const std::string& type) { chooseFormatForType(type); });
  currentExportPanel_->setNameFieldStringValue(std::filesystem::path(document.displayName()).stem().string());
  // Beside the drawing, else where the last export went, else in the documents folder.
  const std::filesystem::path saved = document.fileURL();
  currentExportPanel_->setDirectory(
      (!saved.empty()                ? saved.parent_path()
       : !lastExportFolder().empty() ? lastExportFolder()
                                     : platform::documentsFolder())
          .string());
  const std::shared_ptr<CMMainWindowController> controller = CMMainWindowController::sharedWindowController();
  // The handler keeps the manager, and the document when shared, until the panel has closed.
  currentExportPanel_->beginSheet(controller->window(), [self = shared_from_this(), target = &document,
                                                         keep = document.weak_from_this().lock()](bool accepted) {
    const std::shared_ptr<platform::FilePanel> panel = std::exchange(self->currentExportPanel_, nullptr);
    if (!accepted || panel->paths().empty()) return;
    self->quality_ = static_cast<float>(self->jpgQualitySlider_->doubleValue());
    const std::filesystem::path url = panel->paths().front();
    lastExportFolder() = url.parent_path();
    self->exportToURL(*target, url);
  });
}

void CMExportManager::exportAccessoryViewPopupFormatDidChange(platform::Control&) {
  const int tag = exportFormatPopUp_->selectedTag();
  if (currentExportPanel_) {
    currentExportPanel_->setAllowedFileTypes({platform::lowercaseString(formatForTag(tag).value_or(""))});
  }
  jpgQualitySlider_->setEnabled(tag == kJPEGTag);
  platform::UserDefaults& defaults = platform::UserDefaults::standardUserDefaults();
  defaults.setInteger(tag, kExportTagKey);
  if (platform::Status stored = defaults.synchronize(); !stored) {
    platform::logWarning("the export format is not remembered: " + stored.error().description);
  }
}

void CMExportManager::chooseFormatForType(const std::string& type) {
  for (const int tag : kOfferedTags) {
    if (platform::lowercaseString(*formatForTag(tag)) != type) continue;
    exportFormatPopUp_->selectItemWithTag(tag);
    exportAccessoryViewPopupFormatDidChange(*exportFormatPopUp_);
    return;
  }
}

void CMExportManager::exportToURL(CMDocument& document, const std::filesystem::path& url) {
  platform::Expected<platform::Bytes> data = generate(document);
  if (!data) {
    platform::logWarning("export failed: " + data.error().description);
    // A page too large or unusable for the format says which size or limit stops it.
    const bool pageSize = data.error().domain == platform::Error::cocoaDomain &&
                          data.error().code == CMBaseOutputFormat::kPageSizeError;
    return platform::Alert::runModalWithOK(
        "Error", pageSize ? data.error().description : "Can't create file. Format does not support.");
  }
  if (platform::Status written = platform::writeFileAtomically(url, data.value()); !written) {
    platform::Alert::runModalWithOK(written.error().description, "");
  }
}

platform::Expected<platform::Bytes> CMExportManager::generate(CMDocument& document) {
  const int tag = exportFormatPopUp_->selectedTag();
  std::unique_ptr<CMBaseOutputFormat> format = outputFormatForTag(tag, quality_);
  if (!format) {
    return platform::Error::make(platform::Error::cocoaDomain, 0,
                                 "No output format for " + formatForTag(tag).value_or("this tag") + ".");
  }
  return format->generate(document);
}
