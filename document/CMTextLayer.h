#pragma once

// A text layer (layer type 2): the record's "text" measured and drawn with the
// attributes of its text style record under "style".
//
// Text style record keys: "fontName", "fontSize", "foregroundColor",
// "backgroundColor", "underlilneStyle" (spelt so in stored records),
// "underlineColor" (kept, not drawn), "strikethroughStyle", "strikethroughColor"
// (kept, not drawn), "strokeWidth", "strokeColor", "shadow" (drawn when its "use"
// is true) and "paragraphStyle" (its "aligment").
//
// Model half here and in CMTextLayer.cpp; drawing in CMTextLayerDrawing.cpp.

#include <string>

#include "document/CMPathBaseLayer.h"
#include "platform/graphics/text_attributes.h"

class CMTextLayer : public CMPathBaseLayer {
 public:
  // The base set-up only: zero layer rect, nothing measured.
  explicit CMTextLayer(platform::DictRef data);
  // Sets the view zoom, measures the text and applies imported transforms.
  CMTextLayer(platform::DictRef data, float zoom);

  // Measures the text: origin ("x", "y") times the view zoom; width 200 when the text is
  // empty; a non-zero "width" or "height" replaces the measured one; the "end" anchor puts
  // "x" at the right end of the text, "middle" at its middle.
  void updateLayerRect() override;
  // Writes the record's "text" and measures it again; the panels hear of the new size.
  void setText(const std::string& text);
  platform::Rect layerRect() override { return layerRect_; }
  // The room the shadow in use and an outline stroke need: |offset_x| + |offset_y| plus the
  // integral part of a "strokeWidth" of at least 1, times the view zoom.
  float layerOffset() const override;
  // The layer rect grown by half the offset on every side.
  platform::BezierPath framePath(bool zoomed) override;
  // Switching the mode off also resets the zoom to 1; the text is measured again.
  void setVectorViewMode(bool vectorViewMode) override;
  platform::DictRef shadowRecords() const override { return style(); }
  // The text, flipped within the rectangle, clipped to the outline, scaled by the zoom; its shadow unclipped.
  void drawL(platform::GraphicsContext& context, const platform::Rect& rect) override;

  // The attributes of the style record; the outline stroke only when `withStroke`.
  platform::TextAttributes textAttributes(bool withStroke) const;

  const std::string& text() const noexcept { return text_; }
  // How far below the frame's top the first line's baseline lies, unzoomed: where SVG places a text.
  double baselineOffset() const;
  // The measured text size (200 wide when empty) times the view zoom.
  platform::Size originalTextSize() const noexcept { return originalTextSize_; }

 private:
  platform::DictRef style() const;

  std::string text_;
  // The measured size in document units: the text is laid out in it at every zoom.
  platform::Size textSize_{};
  platform::Size originalTextSize_{};
};
