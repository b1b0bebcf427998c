// Keys: arrow nudges and Delete.

#include <glib.h>

#include <string>

#include "canvas/CMCanvasWindowService.h"
#include "canvas/CMEditorView.h"
#include "document/CMDocument.h"
#include "document/CMLayer.h"
#include "platform/ui/key_translation.h"

namespace {

// The key codes of the arrow keys and of the numeric pad's 2, 8, 4 and 6.
constexpr std::uint16_t kKeyDown = 125, kKeyUp = 126, kKeyLeft = 123, kKeyRight = 124;
constexpr std::uint16_t kKeypad2 = 84, kKeypad8 = 91, kKeypad4 = 86, kKeypad6 = 88;
constexpr char32_t kBackspaceCharacter = 0x7F;

// The one character typed, or 0 when the text is not exactly one character.
char32_t singleCharacter(const std::string& text) {
  const auto length = static_cast<gssize>(text.size());
  if (text.empty() || !g_utf8_validate(text.data(), length, nullptr) || g_utf8_strlen(text.data(), length) != 1)
    return 0;
  return g_utf8_get_char(text.data());
}

}  // namespace

bool CMEditorView::customKeyDown(const platform::Event& event) {
  if (moveByKey(event)) return true;
  const char32_t c = singleCharacter(event.charactersIgnoringModifiers);
  if (c != kBackspaceCharacter && c != platform::function_key::Delete) return false;
  if (!document_) return false;
  if (selectedLayer_) {
    CMBaseDocument::Records records{selectedLayer_->data()};
    for (const auto& layer : layers())
      if (layer != selectedLayer_ && layer->selectedAsPartOfGroup()) records.push_back(layer->data());
    document_->deleteLayers(records);
    clickOutside();
    hideSel();
    return true;
  }
  if (selectedLayerDict_) {
    CMBaseDocument::Records records;
    for (const auto& layer : multySelectedLayers()) records.push_back(layer->data());
    document_->deleteLayers(records);
    CMCanvasWindowService::shared().updateProperties();
    hideSel();
    // The key still goes on to the main view, as it always has.
    return false;
  }
  return false;
}

bool CMEditorView::moveByKey(const platform::Event& event) {
  const std::uint16_t k = event.keyCode;
  const char32_t c = singleCharacter(event.charactersIgnoringModifiers);
  using namespace platform::function_key;
  if (k == kKeyDown || c == DownArrow || k == kKeypad2) {
    moveSelectedLayer({0, 1});
  } else if (k == kKeyUp || c == UpArrow || k == kKeypad8) {
    moveSelectedLayer({0, -1});
  } else if (k == kKeyLeft || c == LeftArrow || k == kKeypad4) {
    moveSelectedLayer({-1, 0});
  } else if (k == kKeyRight || c == RightArrow || k == kKeypad6) {
    moveSelectedLayer({1, 0});
  } else {
    return false;
  }
  return true;
}

void CMEditorView::keyDown(const platform::Event& event) {
  if (!customKeyDown(event)) CMEditorBaseView::keyDown(event);
}

void CMEditorView::moveSelectedLayer(platform::Point offset) {
  if (!selectedLayer_ || !document_) return;
  const OwnEdit own(*this);
  document_->undoManager().regUndoDictionary(0, selectedLayer_->data());
  const platform::Point origin = selectedLayer_->originPoint();
  selectedLayer_->setOriginPoint({origin.x + offset.x, origin.y + offset.y});
  document_->setDirty(true);
  setLayersNeedDisplay({selectedLayer_});
}
