#include "ui/CMColorGridView.h"

#include <cstdlib>
#include <string>

#include "platform/graphics/bezier_path.h"
#include "platform/graphics/graphics_context.h"
#include "platform/graphics/rect_functions.h"

namespace {

constexpr const char* kSwatches[] = {"61adf0", "98f8ea", "a5f76a", "fefc7f", "ef9b91", "f094c4", "479ff7", "6ce1ce",
                                     "81d654", "f5e359", "ec6e56", "dd69a5", "3374b6", "4ba59d", "54ae32", "edbc40",
                                     "d93c26", "ba3a78", "1e4c7d", "357a76", "316f1d", "f09937", "a52a17", "8d265e",
                                     "ffffff", "aaaaaa", "7a7a7a", "444444", "000000"};

// The cells' outline: sRGB grey, not the swatches' colour space.
const platform::Color kOutline = platform::Color::calibrated(160.0 / 255, 160.0 / 255, 160.0 / 255, 1);

// Two hexadecimal digits from `start`; 0 when they do not scan.
float hexPair(const std::string& hex, std::size_t start) {
  if (hex.size() < start + 2) return 0;
  const std::string pair = hex.substr(start, 2);
  char* end = nullptr;
  const long value = std::strtol(pair.c_str(), &end, 16);
  return end == pair.c_str() ? 0.0F : static_cast<float>(value);
}

}  // namespace

CMColorGridView::CMColorGridView(platform::Rect frame) : View(frame) {
  for (const char* hex : kSwatches) addColor(hex);
}

void CMColorGridView::addColor(const std::string& hex) {
  addColorRed(hexPair(hex, 0), hexPair(hex, 2), hexPair(hex, 4));
}

void CMColorGridView::addColorRed(float red, float green, float blue) {
  colors_.push_back(platform::Color::calibrated(red / 255.0, green / 255.0, blue / 255.0, 1));
}

float CMColorGridView::cellWidth() const { return static_cast<float>(frame().size.width - 10) / kColumns; }
float CMColorGridView::cellHeight() const { return static_cast<float>(frame().size.height - 10) / kRows; }

platform::Rect CMColorGridView::cellRect(int index) const {
  const int column = index % kColumns;
  const int row = index / kColumns;
  const float cw = cellWidth();
  const float ch = cellHeight();
  return {6 + column * cw, 6 + (kRows - 1 - row) * ch, cw - 2.0, ch - 2.0};
}

platform::Rect CMColorGridView::raisedCellRect(int index) const {
  const int column = index % kColumns;
  const int row = index / kColumns;
  const float cw = cellWidth();
  const float ch = cellHeight();
  return {3 + column * cw, 3 + (kRows - 1 - row) * ch, cw + 4.0, ch + 4.0};
}

int CMColorGridView::cellAt(platform::Point point) const {
  for (int i = 0; i < static_cast<int>(colors_.size()); ++i)
    if (platform::pointInRect(point, cellRect(i))) return i;
  return -1;
}

void CMColorGridView::drawRect(const platform::Rect&) {
  platform::GraphicsContext* context = platform::GraphicsContext::current();
  if (!context) return;
  context->saveGraphicsState();
  context->setShouldAntialias(false);
  const auto drawCell = [&](const platform::Rect& rect, const platform::Color& fill) {
    platform::BezierPath path = platform::BezierPath::rect(rect);
    path.setLineWidth(1);
    context->setFillColor(fill);
    context->fillPath(path);
    context->setStrokeColor(kOutline);
    context->strokePath(path);
  };
  for (int i = 0; i < static_cast<int>(colors_.size()); ++i) drawCell(cellRect(i), colors_[i]);
  if (drawSelected_ && selected_ >= 0 && selected_ < static_cast<int>(colors_.size())) {
    drawCell(raisedCellRect(selected_), platform::Color::whiteColor());
    drawCell(cellRect(selected_), colors_[selected_]);
  }
  context->restoreGraphicsState();
}

void CMColorGridView::mouseDown(const platform::Event& event) {
  const int cell = cellAt(convertPointFromWindow(event.locationInWindow));
  if (cell < 0) return;
  selected_ = cell;
  drawSelected_ = true;
  setNeedsDisplay();
}

void CMColorGridView::trackPointer(const platform::Event& event) {
  drawSelected_ = cellAt(convertPointFromWindow(event.locationInWindow)) == selected_;
  setNeedsDisplay();
}

void CMColorGridView::mouseDragged(const platform::Event& event) { trackPointer(event); }
void CMColorGridView::mouseMoved(const platform::Event& event) { trackPointer(event); }

void CMColorGridView::mouseUp(const platform::Event& event) {
  const int cell = cellAt(convertPointFromWindow(event.locationInWindow));
  if (cell >= 0 && cell == selected_ && delegate_) delegate_->didSelectColor(colors_[cell]);
}
