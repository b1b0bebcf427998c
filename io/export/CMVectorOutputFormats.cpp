#include "io/export/CMVectorOutputFormats.h"

#include <memory>

#include "canvas/CMThumbView.h"
#include "document/CMDocument.h"

namespace {

enum class PageData { Pdf, Eps };

// The largest page side that readers of PDF 1.x and EPS take, in points (200 inches).
constexpr double kLargestPageSide = 14400;

platform::Expected<platform::Bytes> thumbViewData(const CMDocument& original, PageData kind) {
  const platform::Expected<platform::Size> size =
      CMBaseOutputFormat::pageSize(original, kLargestPageSide, "PDF and EPS");
  if (!size) return size.error();
  const platform::Rect frame{{0, 0}, size.value()};
  const auto view = std::make_shared<CMThumbView>(frame);
  view->setDocument(CMBaseOutputFormat::detachedCopy(original));
  return kind == PageData::Pdf ? view->dataWithPDFInsideRect(frame) : view->dataWithEPSInsideRect(frame);
}

}  // namespace

platform::Expected<platform::Bytes> CMPDFOutputFormat::generate(CMDocument& document) {
  return thumbViewData(document, PageData::Pdf);
}

platform::Expected<platform::Bytes> CMEPSOutputFormat::generate(CMDocument& document) {
  return thumbViewData(document, PageData::Eps);
}
