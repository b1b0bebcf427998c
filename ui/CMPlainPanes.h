#pragma once

// The panes whose contents arrive later: the tool palette, the top toolbar and
// the document tab strip are for now areas of their own colour at their place.

#include "platform/graphics/color.h"
#include "ui/CMPanelBase.h"

class CMFilledPane : public CMPanelBase {
 public:
  CMFilledPane(platform::Rect frame, int paneType, platform::Color fill)
      : CMPanelBase(frame, paneType), fill_(fill) {}
  void drawRect(const platform::Rect& dirtyRect) override;

 private:
  platform::Color fill_;
};

class CMToolsView : public CMFilledPane {
 public:
  CMToolsView();
};

class CMTopToolbarView : public CMFilledPane {
 public:
  static constexpr double kHeight = 44;
  CMTopToolbarView();
};

// The document tabs. Their place is the top edge of the main view, whatever its height.
class CMDocumentSelectorView : public CMFilledPane {
 public:
  static constexpr double kHeight = 26;
  CMDocumentSelectorView();
  void layoutPane() override;
};
