#pragma once

// The export command: a save panel with a format accessory (a pop-up of the export formats and a JPEG quality
// slider), the format chosen remembered in the default "export_tag", and the chosen format's data written
// atomically to the file; a format that makes no data and a failed write end in an alert. A manager serves one
// export and stays alive until its panel has closed.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "document/CMImportExportServices.h"
#include "platform/core/error.h"
#include "platform/core/value.h"

namespace platform {
class Control;
class FilePanel;
class PopUpButton;
class Slider;
class View;
}  // namespace platform

class CMExportManager final : public CMExportService, public std::enable_shared_from_this<CMExportManager> {
 public:
  // The name of an export format tag (1 "PDF", 2 "EPS", 3 "TIFF", 4 "PNG", 5 "JPEG", 6 "PSD", 7 "AI", 8 "SVG",
  // 9 "GIF", 10 "BMP"); nothing for any other tag.
  static std::optional<std::string> formatForTag(int tag);
  // What start-up installs as the document's export service: each export gets a manager of its own.
  static std::unique_ptr<CMExportService> makeService();

  // init: the accessory view built, the pop-up on the item of the "export_tag" default when one has it.
  CMExportManager();
  ~CMExportManager() override;

  // Opens the save panel as a sheet on the main window and returns; the export runs when the panel closes.
  void exportDocument(CMDocument& document) override;
  // The pop-up's action: the panel's file type and the slider follow the selected format, which is stored.
  void exportAccessoryViewPopupFormatDidChange(platform::Control& sender);
  // A name saved with an offered format's extension ("pdf", "jpeg") chooses that format, as the pop-up would;
  // any other type leaves the format as it is.
  void chooseFormatForType(const std::string& type);
  // Makes the data of the selected format and writes it to `url`, or shows why it cannot.
  void exportToURL(CMDocument& document, const std::filesystem::path& url);
  // The data of the pop-up's selected format; an error for a format that makes none.
  platform::Expected<platform::Bytes> generate(CMDocument& document);

  platform::PopUpButton& formatPopUp() const { return *exportFormatPopUp_; }
  platform::Slider& qualitySlider() const { return *jpgQualitySlider_; }
  const std::shared_ptr<platform::FilePanel>& currentExportPanel() const { return currentExportPanel_; }

 private:
  std::shared_ptr<platform::View> exportAccessoryView_;
  std::shared_ptr<platform::PopUpButton> exportFormatPopUp_;
  std::shared_ptr<platform::Slider> jpgQualitySlider_;
  std::shared_ptr<platform::FilePanel> currentExportPanel_;
  float quality_ = 0.9f;
};
