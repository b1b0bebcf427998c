// The document manager with fakes: one main window shows one document, every
// other open document is a Window menu item, and closing moves on only once
// the document has really closed.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "corel_draw_reader_fake.h"
#include "document/CMCDRDocument.h"
#include "document/CMDocument.h"
#include "document/CMDocumentManager.h"
#include "document_test_support.h"
#include "platform/core/files.h"
#include "platform/core/keyed_archive.h"

namespace {

using platform::SaveChoice;
using DocumentRef = std::shared_ptr<platform::Document>;
using ::testing::Contains;
using ::testing::ElementsAre;

class HeldPanels final : public platform::DocumentPanels {
 public:
  void askToSaveChanges(const platform::Document&, std::function<void(SaveChoice)> answer) override {
    pending = std::move(answer);
  }
  void chooseSavePath(const platform::Document&, PathChosen chosen) override { chosen(std::nullopt); }
  void chooseOpenPath(PathChosen chosen) override { chosen(std::nullopt); }
  void presentError(const platform::Error&) override {}

  void answer(SaveChoice choice) {
    ASSERT_TRUE(pending) << "no question was asked";
    std::exchange(pending, nullptr)(choice);
  }

  std::function<void(SaveChoice)> pending;
};

class FakePresenter final : public CMMainWindowPresenter {
 public:
  void showWindow() override { ++shown; }
  void orderOut() override { ++orderedOut; }
  void updateDocumentTabs() override { ++tabUpdates; }

  int shown = 0;
  int orderedOut = 0;
  int tabUpdates = 0;
};

class DocumentManagerTest : public ::testing::Test {
 protected:
  DocumentManagerTest() {
    controller_.registerDocumentType(CMDocument::kFileType, {"vard"}, [] { return std::make_shared<CMDocument>(); });
    controller_.registerDocumentType(CMCDRDocument::kFileType, {"cdr"},
                                     [] { return std::make_shared<CMCDRDocument>(); });
    previous_ = CMDocumentManager::install(manager_);
  }
  ~DocumentManagerTest() override { CMDocumentManager::install(previous_); }

  DocumentRef newDocument() { return controller_.newDocument().value(); }
  DocumentRef shown() { return std::dynamic_pointer_cast<platform::Document>(model_.window().shown); }
  std::vector<std::string> menuTitles() {
    std::vector<std::string> titles;
    for (const auto& item : controller_.windowMenu().items()) titles.push_back(item.title);
    return titles;
  }
  long posted(const char* name) { return std::ranges::count(model_.posted, std::string(name)); }

  document_testing::ScratchFolders folders_;
  document_testing::ObservedModel model_;
  std::shared_ptr<HeldPanels> panels_ = std::make_shared<HeldPanels>();
  platform::DocumentController controller_{panels_};
  std::shared_ptr<FakePresenter> presenter_ = std::make_shared<FakePresenter>();
  std::shared_ptr<CMDocumentManager> manager_ = std::make_shared<CMDocumentManager>(controller_, presenter_);
  std::shared_ptr<CMDocumentManager> previous_;
};

TEST_F(DocumentManagerTest, SecondDocumentBecomesTheShownOneAndBack) {
  const DocumentRef first = newDocument();
  EXPECT_EQ(shown(), first);
  EXPECT_TRUE(controller_.windowMenu().items().empty());
  std::dynamic_pointer_cast<CMDocument>(first)->data()->set("zoom", 0.5);

  const DocumentRef second = newDocument();
  EXPECT_EQ(shown(), second);
  EXPECT_THAT(menuTitles(), ElementsAre("Untitled, 50%"));
  EXPECT_EQ(manager_->virtualWindows().size(), 1u);
  EXPECT_EQ(presenter_->tabUpdates, 1);
  EXPECT_EQ(posted(kNotificationNeedToUpdateDocumentTab), 2);

  controller_.windowMenu().choose(0);
  EXPECT_EQ(shown(), first);
  EXPECT_EQ(controller_.currentDocument(), first);
  EXPECT_THAT(menuTitles(), ElementsAre("Untitled 2, 100%"));
  ASSERT_EQ(manager_->virtualWindows().size(), 1u);
  EXPECT_EQ(std::dynamic_pointer_cast<platform::Document>(manager_->virtualWindows()[0]->document()), second);

  // Picking a document tab: the one behind a virtual window is swapped in, the shown one stays.
  manager_->openDocument(second);
  EXPECT_EQ(shown(), second);
  EXPECT_THAT(menuTitles(), ElementsAre("Untitled, 50%"));
  manager_->openDocument(second);
  EXPECT_EQ(shown(), second);
  EXPECT_EQ(manager_->virtualWindows().size(), 1u);
}

TEST_F(DocumentManagerTest, ClosingTheShownOfThreeShowsTheNextOrTheFirst) {
  const DocumentRef a = newDocument();
  const DocumentRef b = newDocument();
  const DocumentRef c = newDocument();
  EXPECT_EQ(menuTitles().size(), 2u);

  EXPECT_FALSE(manager_->closeDocument(c));  // the last one: the first comes next
  EXPECT_EQ(shown(), a);
  EXPECT_THAT(controller_.documents(), ElementsAre(a, b));
  EXPECT_THAT(menuTitles(), ElementsAre("Untitled 2, 100%"));
  EXPECT_EQ(posted(kNotificationDocumentChanged), 1);

  const DocumentRef d = newDocument();  // shown; a becomes an item
  manager_->openDocument(a);            // a shown again; list order is a, b, d
  manager_->closeDocument(a);
  EXPECT_EQ(shown(), b) << "the document after the closed one in the list";
  EXPECT_THAT(controller_.documents(), ElementsAre(b, d));
  EXPECT_EQ(manager_->virtualWindows().size(), 1u);
  EXPECT_THAT(menuTitles(), ElementsAre("Untitled 3, 100%"));
}

TEST_F(DocumentManagerTest, CancelAtTheSavePromptChangesNothing) {
  const DocumentRef a = newDocument();
  const DocumentRef b = newDocument();
  const DocumentRef c = newDocument();
  std::dynamic_pointer_cast<CMDocument>(c)->setDirty(true);
  const auto titles = menuTitles();

  manager_->closeDocument(c);
  ASSERT_TRUE(panels_->pending);
  // While the user thinks, the main window keeps its document and the menu its items.
  EXPECT_EQ(shown(), c);
  EXPECT_EQ(menuTitles(), titles);
  panels_->answer(SaveChoice::Cancel);
  EXPECT_EQ(shown(), c);
  EXPECT_EQ(menuTitles(), titles);
  EXPECT_THAT(controller_.documents(), ElementsAre(a, b, c));
  EXPECT_EQ(manager_->virtualWindows().size(), 2u);
  EXPECT_EQ(posted(kNotificationDocumentChanged), 0);

  manager_->closeDocument(c);
  panels_->answer(SaveChoice::DontSave);
  EXPECT_EQ(shown(), a);
  EXPECT_THAT(controller_.documents(), ElementsAre(a, b));
}

TEST_F(DocumentManagerTest, ClosingADocumentBehindTheWindowMenu) {
  const DocumentRef a = newDocument();
  const DocumentRef b = newDocument();
  std::dynamic_pointer_cast<CMDocument>(a)->setDirty(true);
  manager_->closeDocument(a);
  panels_->answer(SaveChoice::Cancel);
  EXPECT_THAT(menuTitles(), ElementsAre("Untitled, 100%")) << "still open, still listed";
  manager_->closeDocument(a);
  panels_->answer(SaveChoice::DontSave);
  EXPECT_TRUE(menuTitles().empty());
  EXPECT_TRUE(manager_->virtualWindows().empty());
  EXPECT_THAT(controller_.documents(), ElementsAre(b));
  EXPECT_EQ(shown(), b);
  EXPECT_EQ(posted(kNotificationDocumentChanged), 1);
}

TEST_F(DocumentManagerTest, ClosingTheOnlyDocumentHidesTheMainWindowAfterItCloses) {
  const DocumentRef only = newDocument();
  std::dynamic_pointer_cast<CMDocument>(only)->setDirty(true);
  manager_->closeDocument(only);
  panels_->answer(SaveChoice::Cancel);
  EXPECT_EQ(presenter_->orderedOut, 0);
  EXPECT_EQ(controller_.documents().size(), 1u);
  manager_->closeDocument(only);
  EXPECT_EQ(presenter_->orderedOut, 0);
  panels_->answer(SaveChoice::DontSave);
  EXPECT_EQ(presenter_->orderedOut, 1);
  EXPECT_TRUE(controller_.documents().empty());
}

TEST_F(DocumentManagerTest, WindowCloseButtonGoesThroughTheManager) {
  const DocumentRef a = newDocument();
  const DocumentRef b = newDocument();
  b->shouldCloseWindowController();
  EXPECT_EQ(shown(), a);
  EXPECT_THAT(controller_.documents(), ElementsAre(a));
}

TEST_F(DocumentManagerTest, OpeningAnOpenFileAgainBringsItForwardAndItLeavesTheMenuWhenClosed) {
  platform::testing::ScratchFolder files;
  const platform::DictRef root = document_testing::rootWith({document_testing::layer(1)});
  root->set("zoom", 1.0);
  for (const char* name : {"a.vard", "b.vard"}) {
    ASSERT_TRUE(platform::writeFileAtomically(files / name, platform::archivedDataWithRootObject(root)));
  }
  const DocumentRef a = controller_.openDocument(files / "a.vard").value();
  const DocumentRef b = controller_.openDocument(files / "b.vard").value();
  ASSERT_THAT(menuTitles(), ElementsAre("a.vard, 100%"));

  EXPECT_EQ(controller_.openDocument(files / "a.vard").value(), a);
  EXPECT_EQ(shown(), a);
  EXPECT_THAT(menuTitles(), ElementsAre("b.vard, 100%")) << "one Window menu item per document not shown";
  EXPECT_EQ(manager_->virtualWindows().size(), 1u);
  EXPECT_EQ(controller_.openDocument(files / "a.vard").value(), a);
  EXPECT_THAT(menuTitles(), ElementsAre("b.vard, 100%"));

  manager_->closeDocument(a);
  EXPECT_EQ(shown(), b);
  EXPECT_THAT(controller_.documents(), ElementsAre(b));
  EXPECT_TRUE(menuTitles().empty()) << "the closed drawing cannot come back from the Window menu";
  EXPECT_TRUE(manager_->virtualWindows().empty());
}

TEST_F(DocumentManagerTest, FilesOpenAsTheirDocumentClass) {
  platform::testing::ScratchFolder files;
  const auto root = document_testing::rootWith({document_testing::layer(6)});
  root->set("zoom", 2.0);
  ASSERT_TRUE(platform::writeFileAtomically(files / "plan.vard", platform::archivedDataWithRootObject(root)));
  ASSERT_TRUE(platform::writeFileAtomically(files / "logo.cdr", platform::Bytes{'R', 'I', 'F', 'F'}));

  const auto plan = controller_.openDocument(files / "plan.vard");
  ASSERT_TRUE(plan);
  const auto drawing = std::dynamic_pointer_cast<CMDocument>(plan.value());
  ASSERT_TRUE(drawing);
  EXPECT_TRUE(drawing->data()->isEqual(*root));
  EXPECT_EQ(drawing->fullDisplayName(), "plan.vard, 200%");
  EXPECT_EQ(shown(), plan.value());

  const document_testing::FakeCorelDrawReaderInstalled reader;
  const auto logo = controller_.openDocument(files / "logo.cdr");
  ASSERT_TRUE(logo);
  EXPECT_TRUE(std::dynamic_pointer_cast<CMCDRDocument>(logo.value()));
  EXPECT_THAT(menuTitles(), ElementsAre("plan.vard, 200%"));

  // While the shell holds automatic opening back, nothing is shown.
  CMProject::shareProject().setLockAutoOpenDocument(true);
  const DocumentRef held = newDocument();
  EXPECT_EQ(shown(), logo.value());
  EXPECT_THAT(controller_.documents(), Contains(held));
}

}  // namespace
