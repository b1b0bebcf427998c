// The scroll view's two rulers: installed once, shown by the "show_ruler" setting, in the unit of "unit_index".

#include <array>

#include "canvas/CMEditorView.h"
#include "canvas/CMFrameEditorView.h"
#include "canvas/VDRulerView.h"
#include "document/CMProject.h"
#include "platform/ui/scroll_view.h"

namespace {

constexpr std::array<const char*, 4> kUnits = {"Points", "Centimeters", "Inches", "Picas"};
constexpr double kRulerLabelWhite = 0.25;

// Any other index keeps the ruler's unit.
void applyUnit(VDRulerView& ruler, std::int64_t index) {
  if (index >= 0 && index < static_cast<std::int64_t>(kUnits.size())) ruler.setMeasurementUnits(kUnits[index]);
}

}  // namespace

void CMFrameEditorView::awakeFromNib() {
  platform::ScrollView* scrollView = enclosingScrollView();
  if (!scrollView || horizontalRuler_) return;
  const platform::UserDefaults& settings = CMProject::shareProject().settings();
  scrollView->setRulersVisible(settings.boolForKey("show_ruler"));
  horizontalRuler_ = std::make_shared<VDRulerView>(platform::RulerOrientation::Horizontal);
  verticalRuler_ = std::make_shared<VDRulerView>(platform::RulerOrientation::Vertical);
  scrollView->setHorizontalRulerView(horizontalRuler_);
  scrollView->setVerticalRulerView(verticalRuler_);
  scrollView->setHasHorizontalRuler(true);
  scrollView->setHasVerticalRuler(true);
  for (VDRulerView* ruler : {horizontalRuler_.get(), verticalRuler_.get()}) {
    applyUnit(*ruler, settings.integerForKey("unit_index"));
    // Darker than the 50 % grey of the original look: at 8 points that grey left the numbers barely legible.
    ruler->setColor(platform::Color::white(kRulerLabelWhite, 1));
    ruler->setFont(platform::Font::systemFont(8));
  }
  updateRulers();
}

void CMFrameEditorView::updateRules() {
  platform::ScrollView* scrollView = enclosingScrollView();
  if (!scrollView) return;
  const platform::UserDefaults& settings = CMProject::shareProject().settings();
  const bool show = settings.boolForKey("show_ruler");
  scrollView->setRulersVisible(show);
  if (!show) return;
  for (VDRulerView* ruler : {horizontalRuler_.get(), verticalRuler_.get()}) {
    if (!ruler) continue;
    applyUnit(*ruler, settings.integerForKey("unit_index"));
    ruler->setNeedsDisplay();
  }
}

void CMFrameEditorView::updateRulers() {
  const platform::Rect canvas = editor_->frame();
  if (horizontalRuler_) horizontalRuler_->setOriginOffset(static_cast<float>(canvas.origin.x));
  if (verticalRuler_) verticalRuler_->setOriginOffset(static_cast<float>(canvas.origin.y));
  for (VDRulerView* ruler : {horizontalRuler_.get(), verticalRuler_.get()}) {
    if (!ruler) continue;
    ruler->setZoom(zoom_);
    ruler->setEditorRect(canvas);
    ruler->setNeedsDisplay();
  }
}
