#pragma once

// The swatch balloon's grid: 29 fixed colours in six columns and five rows (the thirtieth cell stays empty). A press
// picks a cell and shows it raised while the pointer stays on it; releasing on that same cell tells the delegate.

#include <vector>

#include "platform/graphics/color.h"
#include "platform/ui/view.h"

class CMColorGridViewDelegate {
 public:
  virtual ~CMColorGridViewDelegate() = default;
  virtual void didSelectColor(const platform::Color& color) = 0;
};

class CMColorGridView : public platform::View {
 public:
  static constexpr int kColumns = 6;
  static constexpr int kRows = 5;

  explicit CMColorGridView(platform::Rect frame);

  // Six hexadecimal digits RRGGBB; a pair that does not scan reads 0.
  void addColor(const std::string& hex);
  void addColorRed(float red, float green, float blue);
  const std::vector<platform::Color>& colors() const { return colors_; }
  int selected() const { return selected_; }
  bool drawSelected() const { return drawSelected_; }
  // Before each opening: no cell pressed.
  void preopen() { selected_ = -1; }
  void setDelegate(CMColorGridViewDelegate* delegate) { delegate_ = delegate; }

  // The cell's rectangle (y-up, in the view) and the raised one drawn for the pressed cell.
  platform::Rect cellRect(int index) const;
  platform::Rect raisedCellRect(int index) const;
  // The existing cell under the point, -1 for none.
  int cellAt(platform::Point point) const;

  void drawRect(const platform::Rect& dirtyRect) override;
  void mouseDown(const platform::Event& event) override;
  void mouseDragged(const platform::Event& event) override;
  void mouseMoved(const platform::Event& event) override;
  void mouseUp(const platform::Event& event) override;

 private:
  float cellWidth() const;
  float cellHeight() const;
  void trackPointer(const platform::Event& event);

  std::vector<platform::Color> colors_;
  int selected_ = -1;
  bool drawSelected_ = false;
  CMColorGridViewDelegate* delegate_ = nullptr;
};
