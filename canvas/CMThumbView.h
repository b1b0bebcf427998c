#pragma once

// The off-screen canvas of the PDF and EPS output: the page alone, upright,
// without selection marks, grid or guides; white where the page is transparent.
// It never becomes the active editor.

#include <memory>

#include "canvas/CMEditorView.h"

class CMThumbView : public CMEditorView {
 public:
  using CMEditorView::CMEditorView;

  // Pages are y-up and the drawer turns the page's downward records upright itself.
  bool isFlipped() const override { return false; }
  void drawRect(const platform::Rect& dirtyRect) override;

  // The page drawn onto a graphics context whose base space is the page (y up, one unit per point), as PDF and
  // PostScript surfaces give; it is made current meanwhile.
  void drawPage(platform::GraphicsContext& context);

 protected:
  void drawDefaultBackground(platform::GraphicsContext& context) override;
};
