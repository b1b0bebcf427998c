#include "io/export/CMVectorOutputFormats.h"

#include <memory>

#include "canvas/CMThumbView.h"
#include "document/CMDocument.h"

namespace {

enum class PageData { Pdf, Eps };

platform::Expected<platform::Bytes> thumbViewData(const std::shared_ptr<CMDocument>& document, PageData kind) {
  const platform::DictRef root = document->data();
  const float width = root ? root->get("width").floatValue() : 0;
  const float height = root ? root->get("height").floatValue() : 0;
  const platform::Rect frame{0, 0, width, height};
  const auto view = std::make_shared<CMThumbView>(frame);
  view->setDocument(document);
  return kind == PageData::Pdf ? view->dataWithPDFInsideRect(frame) : view->dataWithEPSInsideRect(frame);
}

}  // namespace

platform::Expected<platform::Bytes> CMPDFOutputFormat::generate(CMDocument& document) {
  return thumbViewData(detachedCopy(document), PageData::Pdf);
}

platform::Expected<platform::Bytes> CMEPSOutputFormat::generate(CMDocument& document) {
  return thumbViewData(detachedCopy(document), PageData::Eps);
}
