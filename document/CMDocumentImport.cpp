// The page growth that an import of drawings brings.

#include <algorithm>
#include <cmath>

#include "document/CMDocument.h"
#include "document/CMDrawer.h"
#include "document/CMLayer.h"
#include "document/CMPageLength.h"
#include "document/CMUndoActionType.h"
#include "platform/graphics/rect_functions.h"

namespace {

constexpr std::int64_t kGroupLayer = 3;

}  // namespace

void CMDocument::parseLayers(const platform::ArrayRef& records, platform::Rect& rect) {
  if (!records) return;
  for (const platform::Value& entry : *records) {
    const platform::DictRef record = entry.dictionary();
    if (!record) continue;
    if (record->get("type").integerValue() == kGroupLayer) {
      parseLayers(record->array("items"), rect);
    } else if (const std::shared_ptr<CMLayer> layer = CMDrawer::makeLayer(record, 1)) {
      // Measured by the layer the canvas draws the record with: a text by its laid-out text, an image by its picture.
      rect = platform::unionRect(rect, layer->layerRect());
    }
  }
}

void CMDocument::resizeDocument(const platform::ArrayRef& records) {
  platform::Rect bounds;
  parseLayers(records, bounds);
  const platform::DictRef root = data();
  // A drawing reaching further grows the page only as far as a page can be.
  const double right = std::min(platform::maxX(bounds), kCMLargestPageLength);
  const double bottom = std::min(platform::maxY(bounds), kCMLargestPageLength);
  const bool wider = right > root->get("width").intValue();
  const bool taller = bottom > root->get("height").intValue();
  if (!wider && !taller) return;
  undoManager().regUndoArray(kCMUndoPageSize, platform::Array::make({"width", "height"}));
  if (wider) root->set("width", right);
  if (taller) root->set("height", bottom);
}
