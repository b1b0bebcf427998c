#pragma once

// PDF and EPS: the page drawn by an off-screen canvas of the page's size onto a vector page of that size in points,
// white where the page colour is transparent. Any finite positive page size is taken.

#include "io/export/CMBaseOutputFormat.h"

class CMPDFOutputFormat final : public CMBaseOutputFormat {
 public:
  platform::Expected<platform::Bytes> generate(CMDocument& document) override;
};

class CMEPSOutputFormat final : public CMBaseOutputFormat {
 public:
  platform::Expected<platform::Bytes> generate(CMDocument& document) override;
};
