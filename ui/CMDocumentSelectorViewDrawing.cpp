// The tab strip's drawing: a light grey bar with a darker line along its bottom,
// inactive tabs marked off by dark separators, the shown document's tab lighter
// still, each with its title and its close mark.

#include <memory>

#include "document/CMDocument.h"
#include "document/CMStyle.h"
#include "platform/core/document_controller.h"
#include "platform/graphics/attributed_string.h"
#include "platform/graphics/graphics_context.h"
#include "platform/ui/button.h"
#include "ui/CMDocumentSelectorView.h"

namespace {

const platform::Color kBarGrey = platform::Color::white(188.0 / 255.0, 1);
const platform::Color kBottomLineGrey = platform::Color::white(148.0 / 255.0, 1);
const platform::Color kSeparatorGrey = platform::Color::white(67.0 / 255.0, 1);
const platform::Color kActiveTabGrey = platform::Color::white(227.0 / 255.0, 1);
// A title wider than its tab less this moves right, clear of the close mark.
constexpr double kTitleRoom = 36;
constexpr double kTitleShift = 18;
constexpr double kCloseMarkInset = 5;

platform::TextAttributes tabTitleAttributes(bool truncate) {
  const CMTextAttributes style = CMStyle::textAttributesForDocumentTabs(truncate);
  platform::TextAttributes attributes;
  attributes.paragraphStyle = platform::ParagraphStyle{
      static_cast<platform::TextAlignment>(style.paragraphStyle.alignment),
      static_cast<platform::LineBreakMode>(style.paragraphStyle.lineBreakMode)};
  if (style.font) {
    const std::optional<platform::Font> named =
        style.font->family.empty() ? std::nullopt : platform::Font::withName(style.font->family, style.font->size);
    attributes.font = named ? *named : platform::Font::systemFont(style.font->size);
  }
  return attributes;
}

std::string tabTitle(const platform::Document& document) {
  if (const auto* drawing = dynamic_cast<const CMDocument*>(&document)) return drawing->markedDisplayName();
  return document.displayName();
}

}  // namespace

void CMDocumentSelectorView::drawRect(const platform::Rect& dirtyRect) {
  CMPanelBase::drawRect(dirtyRect);
  platform::GraphicsContext* context = platform::GraphicsContext::current();
  if (!context) return;
  const platform::Size size = frame().size;
  context->setFillColor(kBarGrey);
  context->rectFill({0, 0, size.width, size.height});
  context->setFillColor(kBottomLineGrey);
  context->rectFill({0, 0, size.width, 1});
  drawTabs();
}

std::vector<CMDocumentSelectorView::TabRecord> CMDocumentSelectorView::currentTabs() const {
  std::vector<TabRecord> tabs;
  const auto& documents = platform::DocumentController::shared().documents();
  const CMDocumentTabLayout layout = tabLayout(documents.size(), frame().size.width);
  double x = kFirstTabX;
  for (std::size_t index = layout.skipped; index < layout.skipped + layout.drawn; ++index) {
    tabs.push_back({documents[index], {x, 0, layout.tabWidth, frame().size.height}});
    x += layout.tabWidth;
  }
  return tabs;
}

void CMDocumentSelectorView::drawTabs() {
  const platform::DocumentController& controller = platform::DocumentController::shared();
  const auto& documents = controller.documents();
  std::shared_ptr<platform::Document> current = controller.currentDocument();
  if (!current && !documents.empty()) current = documents.front();
  allDocumentsBt_->setHidden(!tabLayout(documents.size(), frame().size.width).showsAllDocumentsButton);
  tabs_ = currentTabs();
  bool first = true;
  for (const TabRecord& tab : tabs_) {
    if (tab.document == current) {
      drawActiveTab(*tab.document, tab.rect);
    } else {
      drawTab(*tab.document, tab.rect, first);
    }
    first = false;
  }
}

void CMDocumentSelectorView::drawTab(const platform::Document& document, const platform::Rect& rect, bool first) {
  platform::GraphicsContext* context = platform::GraphicsContext::current();
  const double height = frame().size.height;
  context->setFillColor(kSeparatorGrey);
  context->rectFill({rect.origin.x + rect.size.width, 0, 1, height});
  if (first) context->rectFill({rect.origin.x, 0, 1, height});
  drawDocumentTitle(document, rect);
  drawCloseBt(rect);
}

void CMDocumentSelectorView::drawActiveTab(const platform::Document& document, const platform::Rect& rect) {
  platform::GraphicsContext* context = platform::GraphicsContext::current();
  // One point up, so that the bottom line runs on under the shown tab.
  context->setFillColor(kActiveTabGrey);
  context->rectFill({rect.origin.x, rect.origin.y + 1, rect.size.width, rect.size.height});
  drawDocumentTitle(document, rect);
  drawCloseBt(rect);
}

void CMDocumentSelectorView::drawDocumentTitle(const platform::Document& document, const platform::Rect& rect) {
  const std::string title = tabTitle(document);
  platform::Rect textRect{rect.origin.x, rect.origin.y, rect.size.width, rect.size.height - 2};
  if (platform::AttributedString(title, tabTitleAttributes(false)).size().width > rect.size.width - kTitleRoom) {
    textRect.origin.x += kTitleShift;
    textRect.size.width -= kTitleShift;
  }
  platform::AttributedString(title, tabTitleAttributes(true)).drawInRect(textRect);
}

void CMDocumentSelectorView::drawCloseBt(const platform::Rect& rect) {
  if (!closeImage_) return;
  closeImage_->drawAtPoint({rect.origin.x + kCloseMarkInset, rect.origin.y + kCloseMarkInset}, {},
                           platform::CompositingOperation::SourceOver, 1);
}
