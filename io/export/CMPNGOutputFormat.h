#pragma once

// The PNG output format: the page rendered on the raster road and written as PNG, alpha kept. It is also what the
// document's print and save-as-template commands ask for as their page image (the model's page image service).

#include "document/CMImportExportServices.h"
#include "io/export/CMBaseOutputFormat.h"

class CMPNGOutputFormat final : public CMBaseOutputFormat, public CMPageImageService {
 public:
  platform::Expected<platform::Bytes> generate(CMDocument& document) override;
  platform::Expected<platform::Bytes> convertImageToData(platform::Image image) override;
  void setPixelsPerPoint(double pixelsPerPoint) override { CMBaseOutputFormat::setPixelsPerPoint(pixelsPerPoint); }
};
