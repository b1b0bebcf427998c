// The upward services the window layer installs, and the virtual window.

#include <gtest/gtest.h>

#include "document/CMBaseDocument.h"
#include "document/CMGradientEditorService.h"
#include "document/CMMainWindowService.h"
#include "document/CMVirtualWindow.h"
#include "document_test_support.h"

namespace {

using document_testing::FakeMainWindow;

TEST(MainWindowService, TheStandInKeepsTheDocumentAndIgnoresRefreshes) {
  auto fake = std::make_shared<FakeMainWindow>();
  std::shared_ptr<CMMainWindowService> previous = CMMainWindowService::install(fake);
  EXPECT_EQ(&CMMainWindowService::shared(), fake.get());
  CMMainWindowService::shared().updateEditor();
  CMMainWindowService::shared().updateDocument();
  EXPECT_EQ(fake->editorUpdates, 1);
  EXPECT_EQ(fake->documentUpdates, 1);
  EXPECT_EQ(CMMainWindowService::install(previous), fake);

  CMMainWindowService& standIn = CMMainWindowService::shared();
  EXPECT_NE(&standIn, fake.get());
  auto document = std::make_shared<CMBaseDocument>();
  standIn.setDocument(document);
  EXPECT_EQ(standIn.document(), document);
  EXPECT_FALSE(standIn.selectedLayer());
  standIn.updateEditor();
  standIn.setDocument(nullptr);
}

class CountingGradientEditor final : public CMGradientEditorService {
 public:
  void update() override { ++updates; }
  int updates = 0;
};

TEST(GradientEditorService, UpdatesReachTheInstalledEditorOnly) {
  CMGradientEditorService::sharedGradient().update();  // the stand-in: nothing to reach
  auto editor = std::make_shared<CountingGradientEditor>();
  std::shared_ptr<CMGradientEditorService> previous = CMGradientEditorService::install(editor);
  CMGradientEditorService::sharedGradient().update();
  EXPECT_EQ(editor->updates, 1);
  CMGradientEditorService::install(previous);
  CMGradientEditorService::sharedGradient().update();
  EXPECT_EQ(editor->updates, 1);
}

class RecordingDelegate final : public CMVirtualWindowDelegate {
 public:
  void windowWillShow(CMVirtualWindow& window) override { shown.push_back(&window); }
  std::vector<CMVirtualWindow*> shown;
};

TEST(VirtualWindow, BringingItForwardOnlyTellsTheDelegate) {
  auto document = std::make_shared<CMBaseDocument>();
  auto delegate = std::make_shared<RecordingDelegate>();
  CMVirtualWindow window(document, delegate);
  EXPECT_EQ(window.document(), document);
  EXPECT_EQ(document.use_count(), 2) << "the window keeps its document";
  window.makeKeyAndOrderFront();
  ASSERT_EQ(delegate->shown.size(), 1u);
  EXPECT_EQ(delegate->shown[0], &window);
  CMVirtualWindow orphan(document, nullptr);
  orphan.makeKeyAndOrderFront();
  EXPECT_EQ(delegate->shown.size(), 1u);
}

}  // namespace
