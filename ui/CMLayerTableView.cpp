#include "ui/CMLayerTableView.h"

#include <glib.h>

#include "platform/ui/key_translation.h"

void CMLayerTableView::keyDown(const platform::Event& event) {
  const std::string& keys = event.charactersIgnoringModifiers;
  if (keys.empty() || !g_utf8_validate(keys.data(), static_cast<gssize>(keys.size()), nullptr)) return;
  const char32_t first = g_utf8_get_char(keys.data());
  if ((first == 0x7F || first == platform::function_key::Delete) && layerDelegate_)
    layerDelegate_->didDelButtonPressed(*this);
}
