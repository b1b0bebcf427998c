#pragma once

// The canvas rulers: a scroll-view ruler that draws its own ticks and labels
// (VDRulerTicks) in the chosen unit at the canvas zoom, its zero at the page's
// top-left corner. Labels count page units rightwards on the horizontal ruler
// and downwards from the page's top edge on the vertical one, like the
// document's own coordinates.

#include <optional>
#include <vector>

#include "canvas/VDRulerTicks.h"
#include "platform/graphics/color.h"
#include "platform/graphics/font.h"
#include "platform/ui/ruler_view.h"

class VDRulerView : public platform::RulerView {
 public:
  // Across the band, from its outer edge: the labels' top, the line along the band under the labels, where the
  // ticks start (hanging from that line towards the canvas) and the band's thickness.
  static constexpr double kLabelTop = 1;
  static constexpr double kBaseline = 11.5;
  static constexpr double kTickStart = kBaseline - 0.5;
  static constexpr double kThickness = 22;
  static constexpr double kDefaultFontSize = 9;

  explicit VDRulerView(platform::RulerOrientation orientation);

  float zoom() const { return zoom_; }
  // Stores and redisplays.
  void setZoom(float zoom);
  const std::optional<platform::Color>& color() const { return color_; }
  void setColor(std::optional<platform::Color> color) { color_ = std::move(color); }
  const std::optional<platform::Font>& font() const { return font_; }
  void setFont(std::optional<platform::Font> font) { font_ = std::move(font); }
  const platform::Rect& editorRect() const { return editorRect_; }
  void setEditorRect(const platform::Rect& rect) { editorRect_ = rect; }
  // The pointer's last place; kept for the frame view, not drawn.
  platform::Point rulePoint() const { return rulePoint_; }
  void setRulePoint(platform::Point point) { rulePoint_ = point; }

  // Where the page's zero lies along the ruler, in the ruler's own coordinates.
  double pageOrigin() const;
  // The ticks the ruler shows now, over the part of the document it faces.
  std::vector<VDRulerTick> ticks() const;

  void drawRect(const platform::Rect& dirtyRect) override;
  void drawHashMarksAndLabelsInRect(const platform::Rect& rect) override;

 private:
  platform::Font labelFont() const;
  double labelWidth(const std::string& text) const;
  void drawLabel(const std::string& text, double position) const;

  std::optional<platform::Color> color_;
  std::optional<platform::Font> font_;
  platform::Rect editorRect_;
  platform::Point rulePoint_;
  float zoom_ = 1;
};
