// The tool operations' hooks. The selection code and the shape tools override
// them; until then a gesture ends as soon as it starts (a creation tool queues
// its completion at once) and selection finds nothing.

#include "canvas/CMEditorView.h"
#include "platform/core/main_queue.h"

bool CMEditorView::selectItem(const platform::Event&) { return false; }
void CMEditorView::dbClick(const platform::Event&) {}
bool CMEditorView::moveItem(const platform::Event&) { return false; }
void CMEditorView::selectArea(const platform::Event&) {}
void CMEditorView::hideSel() {}
void CMEditorView::drawSel(platform::GraphicsContext&) {}
void CMEditorView::drawHelperLines(platform::GraphicsContext&) {}
void CMEditorView::drawGrid(platform::GraphicsContext&) {}
void CMEditorView::startEditingText(const platform::Event&) {}

void CMEditorView::addRectangle(const platform::Event&, Completion done) { platform::dispatchAsync(std::move(done)); }
void CMEditorView::addRoundRectangle(const platform::Event&, Completion done) {
  platform::dispatchAsync(std::move(done));
}
void CMEditorView::addOval(const platform::Event&, Completion done) { platform::dispatchAsync(std::move(done)); }
void CMEditorView::addStar(const platform::Event&, Completion done) { platform::dispatchAsync(std::move(done)); }
void CMEditorView::addPolygon(const platform::Event&, Completion done) { platform::dispatchAsync(std::move(done)); }
void CMEditorView::addLine(const platform::Event&, Completion done) { platform::dispatchAsync(std::move(done)); }
void CMEditorView::addPencil(const platform::Event&, Completion done) { platform::dispatchAsync(std::move(done)); }
void CMEditorView::addBetheier(const platform::Event&, Completion done) { platform::dispatchAsync(std::move(done)); }
void CMEditorView::erase(const platform::Event&, Completion done) { platform::dispatchAsync(std::move(done)); }
void CMEditorView::addShare(const platform::Event&, const platform::DictRef&, Completion done) {
  platform::dispatchAsync(std::move(done));
}
void CMEditorView::addShare(const platform::DictRef&, platform::Point, Completion done) {
  platform::dispatchAsync(std::move(done));
}
void CMEditorView::addBetherPoint(const platform::Event&, Completion done) {
  platform::dispatchAsync(std::move(done));
}
void CMEditorView::saveCurve() {}
void CMEditorView::mouseDraggedBezheir(const platform::Event&) {}
void CMEditorView::mouseMovedBezheir(const platform::Event&) {}
void CMEditorView::mouseUpBezheir(const platform::Event&) {}
