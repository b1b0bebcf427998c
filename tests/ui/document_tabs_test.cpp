// The document tab strip: how many tabs fit and how wide they are, its greys
// and marks probed in pixels, clicks that switch and close documents through
// the document manager, and the menu of every document behind the overflow
// button.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "../document/document_test_support.h"
#include "document/CMDocument.h"
#include "document/CMDocumentManager.h"
#include "platform/core/document_controller.h"
#include "platform/core/main_queue.h"
#include "platform/ui/button.h"
#include "platform/ui/menu.h"
#include "platform/ui/window.h"
#include "ui/CMDocumentSelectorView.h"
#include "ui_test_harness.h"

namespace {

using DocumentRef = std::shared_ptr<platform::Document>;
using platform::EventType;
using platform::SaveChoice;
using platform::test::pixelAt;

// How many tabs, how wide, and from which document on.
TEST(DocumentTabLayout, FullWidthTabsWhileTheyFit) {
  const CMDocumentTabLayout three = CMDocumentSelectorView::tabLayout(3, 1000);  // 540 ≤ 968
  EXPECT_EQ(three.skipped, 0u);
  EXPECT_EQ(three.drawn, 3u);
  EXPECT_DOUBLE_EQ(three.tabWidth, 180);
  EXPECT_FALSE(three.showsAllDocumentsButton);
  // Exactly filling the room still fits; one point less shrinks the tabs.
  const CMDocumentTabLayout exact = CMDocumentSelectorView::tabLayout(5, 932);
  EXPECT_DOUBLE_EQ(exact.tabWidth, 180);
  EXPECT_FALSE(exact.showsAllDocumentsButton);
  const CMDocumentTabLayout tight = CMDocumentSelectorView::tabLayout(5, 931);
  EXPECT_EQ(tight.drawn, 5u);
  EXPECT_DOUBLE_EQ(tight.tabWidth, 899.0 / 5);
  EXPECT_TRUE(tight.showsAllDocumentsButton);
}

TEST(DocumentTabLayout, BelowSixtyPointsTheFirstDocumentsGetNoTab) {
  // 12 × 180 > 668 and 668 / 12 < 60: eleven tabs of 668 / 11, the first document left out.
  const CMDocumentTabLayout twelve = CMDocumentSelectorView::tabLayout(12, 700);
  EXPECT_EQ(twelve.skipped, 1u);
  EXPECT_EQ(twelve.drawn, 11u);
  EXPECT_DOUBLE_EQ(twelve.tabWidth, 668.0 / 11);
  EXPECT_TRUE(twelve.showsAllDocumentsButton);
  // Sixty points exactly is still wide enough.
  const CMDocumentTabLayout sixty = CMDocumentSelectorView::tabLayout(10, 632);
  EXPECT_EQ(sixty.drawn, 10u);
  EXPECT_DOUBLE_EQ(sixty.tabWidth, 60);
  const CMDocumentTabLayout narrower = CMDocumentSelectorView::tabLayout(10, 631);
  EXPECT_EQ(narrower.skipped, 1u);
  EXPECT_EQ(narrower.drawn, 9u);
  EXPECT_DOUBLE_EQ(narrower.tabWidth, 599.0 / 9);
}

TEST(DocumentTabLayout, NoRoomOrNoDocumentsDrawsNothing) {
  for (const double width : {60.0, 32.0, 10.0, -500.0}) {
    const CMDocumentTabLayout none = CMDocumentSelectorView::tabLayout(4, width);
    EXPECT_EQ(none.drawn, 0u) << width;
    EXPECT_EQ(none.skipped, 4u) << width;
    EXPECT_TRUE(none.showsAllDocumentsButton) << width;
  }
  const CMDocumentTabLayout empty = CMDocumentSelectorView::tabLayout(0, 1000);
  EXPECT_EQ(empty.drawn, 0u);
  EXPECT_FALSE(empty.showsAllDocumentsButton);
}

class HeldPanels final : public platform::DocumentPanels {
 public:
  void askToSaveChanges(const platform::Document&, std::function<void(SaveChoice)> answer) override {
    pending = std::move(answer);
  }
  void chooseSavePath(const platform::Document&, PathChosen chosen) override { chosen(std::nullopt); }
  void chooseOpenPath(PathChosen chosen) override { chosen(std::nullopt); }
  void presentError(const platform::Error&) override {}

  std::function<void(SaveChoice)> pending;
};

class DocumentTabs : public testing::Test {
 protected:
  void SetUp() override {
    controller_->registerDocumentType(CMDocument::kFileType, {"vard"}, [] { return std::make_shared<CMDocument>(); });
    previousController_ = platform::DocumentController::install(controller_);
    previousManager_ = CMDocumentManager::install(manager_);
  }
  void TearDown() override {
    platform::drainMainQueue();
    CMDocumentManager::install(previousManager_);
    platform::DocumentController::install(previousController_);
  }

  // A window holding only the strip, `width` points wide, showing `count` new documents; the last one is current.
  void open(std::size_t count, double width) {
    for (std::size_t i = 0; i < count; ++i) documents.push_back(controller_->newDocument().value());
    window_ = std::make_unique<platform::Window>(platform::Size{width, CMDocumentSelectorView::kHeight});
    strip = std::make_shared<CMDocumentSelectorView>();
    strip->setFrame({0, 0, width, CMDocumentSelectorView::kHeight});
    window_->setContentView(strip);
    ASSERT_TRUE(platform::test::showAndSettle(*window_));
    redraw();
  }

  // Draws the strip as GTK does (rebuilding its tab records) and returns the pixels.
  platform::test::ImageSurface redraw() {
    platform::test::processPendingEvents();
    return platform::test::renderWidget(strip->widget());
  }

  // A left click at x in the middle of the strip's height, as the window delivers it.
  void clickAt(double x) {
    window_->sendEvent(platform::test::mouseEvent(EventType::LeftMouseDown, {x, 13}));
    window_->sendEvent(platform::test::mouseEvent(EventType::LeftMouseUp, {x, 13}));
  }

  const DocumentRef& current() const { return controller_->currentDocument(); }
  const std::vector<DocumentRef>& openDocuments() const { return controller_->documents(); }

  std::vector<DocumentRef> documents;
  std::shared_ptr<CMDocumentSelectorView> strip;
  std::shared_ptr<HeldPanels> panels_ = std::make_shared<HeldPanels>();

 private:
  document_testing::ScratchFolders folders_;
  document_testing::ObservedModel model_;
  std::shared_ptr<platform::DocumentController> controller_ = std::make_shared<platform::DocumentController>(panels_);
  std::shared_ptr<CMDocumentManager> manager_ = std::make_shared<CMDocumentManager>(*controller_, nullptr);
  std::shared_ptr<platform::DocumentController> previousController_;
  std::shared_ptr<CMDocumentManager> previousManager_;
  std::unique_ptr<platform::Window> window_;
};

// Pixels with a grey darker than `limit` in the box [x0, x1) × [y0, y1), y down from the strip's top.
int darkPixels(cairo_surface_t* surface, int x0, int x1, int y0, int y1, int limit = 120) {
  int count = 0;
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      if (pixelAt(surface, x, y).red < limit) ++count;
    }
  }
  return count;
}

TEST_F(DocumentTabs, ThreeDocumentsGetFullTabsFromTenPoints) {
  open(3, 1000);
  const auto& tabs = strip->tabs();
  ASSERT_EQ(tabs.size(), 3u);
  const double expectedX[] = {10, 190, 370};
  for (std::size_t i = 0; i < tabs.size(); ++i) {
    EXPECT_EQ(tabs[i].document, documents[i]);
    EXPECT_DOUBLE_EQ(tabs[i].rect.origin.x, expectedX[i]);
    EXPECT_DOUBLE_EQ(tabs[i].rect.origin.y, 0);
    EXPECT_DOUBLE_EQ(tabs[i].rect.size.width, 180);
    EXPECT_DOUBLE_EQ(tabs[i].rect.size.height, 26);
  }
  EXPECT_TRUE(strip->allDocumentsButton().isHidden());
}

TEST_F(DocumentTabs, GreysOfTheBarTheSeparatorsAndTheShownTab) {
  open(3, 1000);
  const platform::test::ImageSurface pixels = redraw();
  cairo_surface_t* image = pixels.get();
  // Past the last tab: the bar's grey over the bottom line (the lowest pixel row).
  EXPECT_EQ(pixelAt(image, 900, 12).red, 188);
  EXPECT_EQ(pixelAt(image, 900, 25).red, 148);
  // Separators at the first tab's left edge and between the two inactive tabs.
  EXPECT_EQ(pixelAt(image, 10, 20).red, 67);
  EXPECT_EQ(pixelAt(image, 190, 20).red, 67);
  EXPECT_EQ(pixelAt(image, 100, 22).red, 188);
  // The shown (third) tab is lighter everywhere but its bottom row, where the line runs on; it covers the
  // separator at its left edge and has none at its right.
  EXPECT_EQ(pixelAt(image, 540, 22).red, 227);
  EXPECT_EQ(pixelAt(image, 540, 0).red, 227);
  EXPECT_EQ(pixelAt(image, 540, 25).red, 148);
  EXPECT_EQ(pixelAt(image, 370, 20).red, 227);
  EXPECT_EQ(pixelAt(image, 550, 20).red, 188);
  // Each tab has its close mark 5 points in from its lower left corner, and its title.
  for (const int left : {10, 190, 370}) {
    EXPECT_GT(darkPixels(image, left + 5, left + 15, 11, 21), 4) << left;
    EXPECT_GT(darkPixels(image, left + 30, left + 150, 1, 20), 20) << left;
  }
  // Nothing dark left of the first tab.
  EXPECT_EQ(darkPixels(image, 0, 9, 0, 26), 0);
}

TEST_F(DocumentTabs, TwelveDocumentsInSevenHundredPointsLeaveTheFirstOut) {
  open(12, 700);
  const auto& tabs = strip->tabs();
  ASSERT_EQ(tabs.size(), 11u);
  EXPECT_EQ(tabs.front().document, documents[1]);
  EXPECT_EQ(tabs.back().document, documents[11]);
  EXPECT_DOUBLE_EQ(tabs.front().rect.origin.x, 10);
  EXPECT_NEAR(tabs.back().rect.origin.x, 10 + 10 * 668.0 / 11, 1e-9);
  EXPECT_DOUBLE_EQ(tabs.back().rect.size.width, 668.0 / 11);
  EXPECT_FALSE(strip->allDocumentsButton().isHidden());
  const platform::Rect button = strip->allDocumentsButton().frame();
  EXPECT_DOUBLE_EQ(button.origin.x, 680);
  EXPECT_DOUBLE_EQ(button.origin.y, 3);
  EXPECT_DOUBLE_EQ(button.size.width, 18);
  EXPECT_DOUBLE_EQ(button.size.height, 18);
}

TEST_F(DocumentTabs, ButtonFollowsTheStripsWidth) {
  open(2, 500);
  strip->setFrameSize({820, CMDocumentSelectorView::kHeight});
  EXPECT_DOUBLE_EQ(strip->allDocumentsButton().frame().origin.x, 800);
}

TEST_F(DocumentTabs, LongTitleMovesClearOfTheCloseMark) {
  open(3, 1000);
  documents[0]->setFileURL("/drawings/a drawing whose name is far too long for its tab.vard");
  documents[1]->setFileURL("/drawings/b.vard");
  const platform::test::ImageSurface pixels = redraw();
  // Rows above the close mark: the long title, cut to its rectangle, starts 18 points in; drawn in the whole tab
  // it would start at the tab's left edge.
  EXPECT_EQ(darkPixels(pixels.get(), 12, 10 + 18, 1, 10), 0);
  EXPECT_GT(darkPixels(pixels.get(), 10 + 18, 10 + 40, 1, 10), 10);
  // The short one stays centred: ink on both sides of the tab's middle, none near its ends.
  EXPECT_GT(darkPixels(pixels.get(), 240, 280, 1, 20), 10);
  EXPECT_GT(darkPixels(pixels.get(), 280, 320, 1, 20), 10);
  EXPECT_EQ(darkPixels(pixels.get(), 192, 220, 1, 10) + darkPixels(pixels.get(), 345, 369, 1, 26), 0);
}

TEST_F(DocumentTabs, ClickSwitchesToAnotherDocumentAndNotToTheShownOne) {
  open(3, 1000);
  ASSERT_EQ(current(), documents[2]);
  clickAt(460);  // the shown tab, outside its close area
  EXPECT_EQ(current(), documents[2]);
  EXPECT_EQ(openDocuments().size(), 3u);
  clickAt(100);
  EXPECT_EQ(current(), documents[0]);
  redraw();
  EXPECT_EQ(openDocuments().size(), 3u);
  EXPECT_EQ(strip->tabs().size(), 3u);
  // Clicks beside every tab do nothing.
  clickAt(5);
  clickAt(800);
  EXPECT_EQ(current(), documents[0]);
  EXPECT_FALSE(panels_->pending);
}

TEST_F(DocumentTabs, CloseAreaClosesThatDocument) {
  open(3, 1000);
  clickAt(190 + 15);  // the second tab's leftmost 16 points
  EXPECT_EQ(openDocuments(), (std::vector<DocumentRef>{documents[0], documents[2]}));
  EXPECT_EQ(current(), documents[2]);
  redraw();
  ASSERT_EQ(strip->tabs().size(), 2u);
  EXPECT_EQ(strip->tabs()[1].document, documents[2]);
  EXPECT_DOUBLE_EQ(strip->tabs()[1].rect.origin.x, 190);
  // Just right of the close area the click switches instead.
  clickAt(10 + 16);
  EXPECT_EQ(current(), documents[0]);
  EXPECT_EQ(openDocuments().size(), 2u);
}

TEST_F(DocumentTabs, ClosingTheShownDocumentShowsTheNextOne) {
  open(3, 1000);
  clickAt(370 + 2);
  EXPECT_EQ(openDocuments(), (std::vector<DocumentRef>{documents[0], documents[1]}));
  EXPECT_EQ(current(), documents[0]) << "after the last of the list comes the first";
}

TEST_F(DocumentTabs, EditedDocumentAsksBeforeClosing) {
  open(3, 1000);
  std::dynamic_pointer_cast<CMDocument>(documents[0])->setDirty(true);
  clickAt(12);
  ASSERT_TRUE(panels_->pending);
  std::exchange(panels_->pending, nullptr)(SaveChoice::Cancel);
  EXPECT_EQ(openDocuments().size(), 3u);
  clickAt(12);
  ASSERT_TRUE(panels_->pending);
  std::exchange(panels_->pending, nullptr)(SaveChoice::DontSave);
  EXPECT_EQ(openDocuments(), (std::vector<DocumentRef>{documents[1], documents[2]}));
  EXPECT_EQ(current(), documents[2]);
}

TEST_F(DocumentTabs, OverflowMenuListsEveryDocumentAndBringsOneIn) {
  open(12, 700);
  platform::test::clickButton(strip->allDocumentsButton().gtkButton());
  platform::Menu* menu = strip->documentsMenu();
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(menu->items().size(), 12u);
  for (std::size_t i = 0; i < 12; ++i) {
    const platform::MenuItem& item = *menu->items()[i];
    EXPECT_EQ(item.title(), documents[i]->displayName());
    EXPECT_EQ(item.tag(), static_cast<int>(i));
    EXPECT_EQ(item.state(), i == 11 ? 1 : 0) << i;
  }
  EXPECT_EQ(menu->items()[1]->title(), "Untitled 2");
  // The first document has no tab; the menu brings it into the window.
  menu->items()[0]->perform();
  menu->gtkMenu().popdown();
  EXPECT_EQ(current(), documents[0]);
  EXPECT_EQ(openDocuments().size(), 12u);
}

TEST_F(DocumentTabs, MenuItemOfAClosedDocumentDoesNothing) {
  open(12, 700);
  platform::test::clickButton(strip->allDocumentsButton().gtkButton());
  platform::Menu* menu = strip->documentsMenu();
  ASSERT_NE(menu, nullptr);
  menu->gtkMenu().popdown();
  // Close the last two documents while the menu's items still name them by index.
  clickAt(10 + 10 * 668.0 / 11 + 3);
  clickAt(10 + 9 * 668.0 / 11 + 3);
  ASSERT_EQ(openDocuments().size(), 10u);
  const DocumentRef shown = current();
  menu->items()[11]->perform();
  EXPECT_EQ(current(), shown);
  menu->items()[3]->perform();
  EXPECT_EQ(current(), documents[3]);
}

}  // namespace
