// The document architecture without a toolkit: document types, untitled names,
// open, save and save as, the "can close?" flow and the Window menu model.

#include "platform/core/document_controller.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <deque>
#include <string>

#include "platform/core/files.h"
#include "scratch_folder.h"

namespace {

using platform::Bytes;
using platform::Document;
using platform::DocumentController;
using platform::SaveChoice;

// Text in a file; "BAD" reads as damaged.
class TextDocument final : public Document {
 public:
  platform::Expected<Bytes> dataOfType(std::string_view) override { return Bytes(text.begin(), text.end()); }
  platform::Status readFromData(const Bytes& data, std::string_view) override {
    std::string read(data.begin(), data.end());
    if (read == "BAD") return platform::Error::make("test", 1, "damaged");
    text = read;
    return platform::success();
  }
  void makeWindowControllers() override { ++shown; }

  std::string text;
  int shown = 0;
};

// Answers are queued by the test; an empty queue holds the question until answerLater().
class FakePanels final : public platform::DocumentPanels {
 public:
  void askToSaveChanges(const Document& document, std::function<void(SaveChoice)> answer) override {
    asked.push_back(document.displayName());
    if (choices.empty()) {
      pending = std::move(answer);
      return;
    }
    const SaveChoice choice = choices.front();
    choices.pop_front();
    answer(choice);
  }
  void chooseSavePath(const Document&, PathChosen chosen) override {
    ++savePanels;
    chosen(savePath);
  }
  void chooseOpenPath(PathChosen chosen) override { chosen(openPath); }
  void presentError(const platform::Error& error) override { errors.push_back(error.description); }

  std::deque<SaveChoice> choices;
  std::function<void(SaveChoice)> pending;
  std::optional<std::filesystem::path> savePath;
  std::optional<std::filesystem::path> openPath;
  std::vector<std::string> asked;
  std::vector<std::string> errors;
  int savePanels = 0;
};

class DocumentControllerTest : public ::testing::Test {
 protected:
  DocumentControllerTest() {
    controller_.registerDocumentType("text", {"txt", "TEXT"}, [] { return std::make_shared<TextDocument>(); });
    controller_.registerDocumentType("note", {"note"}, [] { return std::make_shared<TextDocument>(); });
  }

  std::shared_ptr<TextDocument> newText() {
    auto made = controller_.newDocument();
    EXPECT_TRUE(made);
    return std::static_pointer_cast<TextDocument>(made.value());
  }
  std::filesystem::path file(const std::string& name, const std::string& text) {
    const auto path = folder_ / name;
    EXPECT_TRUE(platform::writeFileAtomically(path, text.data(), text.size()));
    return path;
  }
  std::string contents(const std::filesystem::path& path) {
    const Bytes bytes = platform::readFile(path).value();
    return std::string(bytes.begin(), bytes.end());
  }

  platform::testing::ScratchFolder folder_;
  std::shared_ptr<FakePanels> panels_ = std::make_shared<FakePanels>();
  DocumentController controller_{panels_};
};

TEST_F(DocumentControllerTest, NewDocumentsAreNumberedUntitled) {
  const auto first = newText();
  const auto second = newText();
  const auto third = newText();
  EXPECT_EQ(first->displayName(), "Untitled");
  EXPECT_EQ(second->displayName(), "Untitled 2");
  EXPECT_EQ(third->displayName(), "Untitled 3");
  EXPECT_EQ(first->fileType(), "text");
  EXPECT_EQ(first->shown, 1);
  EXPECT_EQ(controller_.currentDocument(), third);
  // A closed name is free again; the lowest free one is taken.
  first->close();
  EXPECT_EQ(newText()->displayName(), "Untitled");
  EXPECT_EQ(newText()->displayName(), "Untitled 4");
  EXPECT_EQ(controller_.documents().size(), 4u);
  EXPECT_FALSE(controller_.newDocument("drawing"));
}

TEST_F(DocumentControllerTest, OpenPicksTheClassByExtension) {
  const auto path = file("Letter.TXT", "hello");
  auto opened = controller_.openDocument(path);
  ASSERT_TRUE(opened);
  EXPECT_EQ(opened.value()->fileType(), "text");
  EXPECT_EQ(opened.value()->displayName(), "Letter.TXT");
  EXPECT_EQ(std::static_pointer_cast<TextDocument>(opened.value())->text, "hello");
  auto note = controller_.openDocument(file("a.note", "n"));
  ASSERT_TRUE(note);
  EXPECT_EQ(note.value()->fileType(), "note");
  // The same file again is the same document, brought forward.
  auto again = controller_.openDocument(folder_.path() / "." / "Letter.TXT");
  ASSERT_TRUE(again);
  EXPECT_EQ(again.value(), opened.value());
  EXPECT_EQ(controller_.currentDocument(), opened.value());
  EXPECT_EQ(controller_.documents().size(), 2u);
}

TEST_F(DocumentControllerTest, FilesThatCannotBeOpenedAreReported) {
  const auto unknown = controller_.openDocument(file("picture.bmp", "x"));
  ASSERT_FALSE(unknown);
  EXPECT_THAT(unknown.error().description, ::testing::HasSubstr("picture.bmp"));
  const auto damaged = controller_.openDocument(file("broken.txt", "BAD"));
  ASSERT_FALSE(damaged);
  EXPECT_THAT(damaged.error().description, ::testing::HasSubstr("broken.txt"));
  EXPECT_THAT(damaged.error().description, ::testing::HasSubstr("damaged"));
  EXPECT_FALSE(controller_.openDocument(folder_ / "absent.txt"));
  EXPECT_TRUE(controller_.documents().empty());

  panels_->openPath = folder_ / "broken.txt";
  controller_.openDocumentWithPanel();
  EXPECT_EQ(panels_->errors.size(), 1u);
}

TEST_F(DocumentControllerTest, SaveAsksForAFileOnlyTheFirstTime) {
  const auto document = newText();
  document->text = "one";
  document->setDocumentEdited(true);
  std::vector<bool> results;
  controller_.saveDocument(document, [&](bool saved) { results.push_back(saved); });  // panel cancelled
  EXPECT_TRUE(document->isDocumentEdited());
  panels_->savePath = folder_ / "saved.txt";
  controller_.saveDocument(document, [&](bool saved) { results.push_back(saved); });
  EXPECT_EQ(contents(folder_ / "saved.txt"), "one");
  EXPECT_EQ(document->displayName(), "saved.txt");
  EXPECT_FALSE(document->isDocumentEdited());
  document->text = "two";
  panels_->savePath = folder_ / "elsewhere.txt";
  controller_.saveDocument(document, [&](bool saved) { results.push_back(saved); });
  EXPECT_EQ(contents(folder_ / "saved.txt"), "two");
  EXPECT_EQ(panels_->savePanels, 2);
  controller_.saveDocumentAs(document, [&](bool saved) { results.push_back(saved); });
  EXPECT_EQ(document->fileURL(), folder_ / "elsewhere.txt");
  EXPECT_THAT(results, ::testing::ElementsAre(false, true, true, true));
}

TEST_F(DocumentControllerTest, FailedSaveIsPresentedAndKeepsTheEditedMark) {
  const auto document = newText();
  document->setDocumentEdited(true);
  panels_->savePath = folder_ / "no-such-folder" / "x.txt";
  bool result = true;
  controller_.saveDocument(document, [&](bool saved) { result = saved; });
  EXPECT_FALSE(result);
  EXPECT_EQ(panels_->errors.size(), 1u);
  EXPECT_TRUE(document->isDocumentEdited());
  EXPECT_TRUE(document->fileURL().empty());
}

TEST_F(DocumentControllerTest, CanCloseAsksOnlyForEditedDocuments) {
  const auto document = newText();
  std::vector<bool> answers;
  const auto record = [&](bool shouldClose) { answers.push_back(shouldClose); };
  controller_.canCloseDocument(document, record);
  EXPECT_TRUE(panels_->asked.empty());

  document->setDocumentEdited(true);
  panels_->choices = {SaveChoice::Cancel, SaveChoice::DontSave, SaveChoice::Save};
  controller_.canCloseDocument(document, record);
  controller_.canCloseDocument(document, record);
  controller_.canCloseDocument(document, record);  // Save, but the save panel is cancelled
  EXPECT_TRUE(document->isDocumentEdited());
  panels_->choices = {SaveChoice::Save};
  panels_->savePath = folder_ / "closing.txt";
  controller_.canCloseDocument(document, record);
  EXPECT_FALSE(document->isDocumentEdited());
  EXPECT_TRUE(std::filesystem::exists(folder_ / "closing.txt"));
  EXPECT_THAT(answers, ::testing::ElementsAre(true, false, true, false, true));
  EXPECT_THAT(panels_->asked, ::testing::Each(std::string("Untitled")));
}

TEST_F(DocumentControllerTest, ClosingWaitsForTheAnswer) {
  const auto document = newText();
  document->setDocumentEdited(true);
  document->shouldCloseWindowController();
  ASSERT_TRUE(panels_->pending);
  EXPECT_EQ(controller_.documents().size(), 1u) << "nothing closes before the user answers";
  panels_->pending(SaveChoice::DontSave);
  EXPECT_TRUE(controller_.documents().empty());
  EXPECT_FALSE(controller_.currentDocument());
}

TEST_F(DocumentControllerTest, DocumentWithoutControllerClosesOnlyWhenUnedited) {
  TextDocument alone;
  std::vector<bool> answers;
  alone.canCloseDocument([&](bool shouldClose) { answers.push_back(shouldClose); });
  alone.setDocumentEdited(true);
  alone.canCloseDocument([&](bool shouldClose) { answers.push_back(shouldClose); });
  EXPECT_THAT(answers, ::testing::ElementsAre(true, false));
}

TEST(WindowMenu, ItemsAreAddedUpdatedChosenAndRemoved) {
  platform::WindowMenu menu;
  int changes = 0;
  menu.setChangeHandler([&] { ++changes; });
  int first = 0;
  int second = 0;
  int chosenFirst = 0;
  menu.addWindowsItem(&first, "One", "", [&] { ++chosenFirst; });
  menu.addWindowsItem(&second, "Two", "/tmp/two.vard", [&] { menu.removeWindowsItem(&second); });
  menu.addWindowsItem(&first, "One, 50%", "", [&] { chosenFirst += 10; });
  ASSERT_EQ(menu.items().size(), 2u);
  EXPECT_EQ(menu.items()[0].title, "One, 50%");
  EXPECT_EQ(menu.items()[1].filename, "/tmp/two.vard");
  menu.choose(0);
  EXPECT_EQ(chosenFirst, 10);
  menu.choose(1);  // the item removes itself while chosen
  EXPECT_FALSE(menu.contains(&second));
  menu.choose(5);
  menu.removeWindowsItem(&second);  // already gone: no change
  EXPECT_EQ(changes, 4);
}

}  // namespace
