// The document file: new documents, writing and reading ".vard" files, the
// window title, CorelDRAW documents and the template store.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <limits>
#include <set>

#include "../platform/core/captured_log.h"
#include "corel_draw_reader_fake.h"
#include "document/CMCDRDocument.h"
#include "document/CMDocument.h"
#include "document/CMImportExportServices.h"
#include "document_test_support.h"
#include "platform/core/files.h"
#include "platform/core/keyed_archive.h"
#include "platform/core/resources.h"

namespace {

using document_testing::group;
using document_testing::layer;
using platform::Array;
using platform::Bytes;
using platform::Dictionary;
using platform::DictRef;
using platform::Value;

class DocumentFileTest : public ::testing::Test {
 protected:
  void SetUp() override { CMProject::shareProject().setLockAutoOpenDocument(true); }

  // A drawing with a nested group, reals of both widths, data and a string.
  static void fill(CMDocument& document) {
    DictRef root = document.data();
    root->set("zoom", Value::real32(1.5));
    root->set("note", "Grüße, \"quoted\"");
    DictRef image = layer(7);
    image->set("bits", Value(Bytes{0, 1, 2, 255}));
    image->set("opacity", 0.25);
    root->array("layers")->add(layer(3));
    root->array("layers")->add(group(9, {image, group(12, {layer(40)})}));
    root->array("layers")->add(layer(5));
  }

  document_testing::ScratchFolders folders_;
  platform::testing::ScratchFolder files_;
};

TEST_F(DocumentFileTest, NewDocumentStartsFromTheDefaultResource) {
  CMDocument document;
  const DictRef resource = platform::dictionaryResource("default_doc");
  ASSERT_TRUE(resource);
  EXPECT_TRUE(document.data()->isEqual(*resource));
  EXPECT_FALSE(document.isDocumentEdited());
  EXPECT_EQ(document.displayName(), "Untitled");
}

TEST_F(DocumentFileTest, PendingDefaultsApplyEveryTimeAndATemplateOnce) {
  CMProject& project = CMProject::shareProject();
  const DictRef size = Dictionary::make({{"width", 1920}, {"height", 1080}, {"grid", Array::make({1, 2})}});
  project.setDocumentDefault(size);
  project.setDefaultTemplate(Dictionary::make({{"layers", Array::make({layer(4)})}, {"width", 300}}));

  CMDocument fromTemplate;
  EXPECT_EQ(fromTemplate.data()->get("width").integerValue(), 300);
  EXPECT_FALSE(fromTemplate.data()->contains("height")) << "the defaults are for documents without a template";
  EXPECT_EQ(fromTemplate.data()->array("layers")->size(), 1u);
  EXPECT_FALSE(project.defaultTemplate());

  CMDocument first;
  CMDocument second;
  for (CMDocument* document : {&first, &second}) {
    EXPECT_EQ(document->data()->get("width").integerValue(), 1920);
    EXPECT_EQ(document->data()->get("height").integerValue(), 1080);
    EXPECT_TRUE(document->data()->array("layers")->empty());
  }
  EXPECT_NE(first.data()->array("grid"), second.data()->array("grid")) << "documents must not share containers";
  EXPECT_NE(first.data()->array("grid"), size->array("grid"));
}

TEST_F(DocumentFileTest, SavedFileReopensAsAnEqualTree) {
  CMDocument saved;
  fill(saved);
  saved.setDirty(true);
  const auto path = files_ / "drawing.vard";
  ASSERT_TRUE(saved.writeToURL(path, CMDocument::kFileType));
  EXPECT_FALSE(saved.isDocumentEdited());
  EXPECT_EQ(saved.displayName(), "drawing.vard");

  CMDocument reopened;
  ASSERT_TRUE(reopened.readFromURL(path, CMDocument::kFileType));
  EXPECT_TRUE(reopened.data()->isEqual(*saved.data()));
  EXPECT_TRUE(reopened.data()->get("zoom").isReal32());
  EXPECT_EQ(reopened.fileURL(), path);
  EXPECT_FALSE(reopened.isDocumentEdited());
  // The id counter continues above the highest top-level id; new ids also clear every member.
  EXPECT_EQ(reopened.maxID(), 10);
  EXPECT_EQ(reopened.newID(), 41);
  // The tree is the document's own: editing it leaves the saved document alone.
  reopened.data()->array("layers")->at(1).dictionary()->array("items")->add(layer(80));
  EXPECT_EQ(saved.data()->array("layers")->at(1).dictionary()->array("items")->size(), 2u);
  // Undo works on the tree that was read.
  reopened.toggleHiddenLayer(reopened.data()->array("layers")->at(0).dictionary());
  reopened.undo();
  EXPECT_TRUE(reopened.data()->array("layers")->at(0).dictionary()->get("visible").boolValue());
}

TEST_F(DocumentFileTest, RepeatedIdsOfAFileGetFreshOnesSoUndoFindsTheRightLayer) {
  DictRef first = layer(4);
  DictRef masked = layer(4);
  masked->set("masks", Array::make({layer(4)}));
  DictRef unnamed = layer(0);
  unnamed->remove("id");
  const DictRef root = document_testing::rootWith({first, group(4, {masked, layer(6)}), layer(6), unnamed});
  CMDocument document;
  ASSERT_TRUE(document.readFromData(platform::archivedDataWithRootObject(Value(root)), CMDocument::kFileType));

  const platform::ArrayRef layers = document.data()->array("layers");
  const DictRef group = layers->at(1).dictionary();
  const DictRef member = group->array("items")->at(0).dictionary();
  const DictRef mask = member->array("masks")->at(0).dictionary();
  const DictRef lastMember = group->array("items")->at(1).dictionary();
  const DictRef last = layers->at(2).dictionary();
  ASSERT_TRUE(layers->at(3).dictionary()->contains("id")) << "a layer without an id gets one";
  EXPECT_EQ(layers->at(0).dictionary()->get("id").integerValue(), 4) << "the first holder keeps its id";
  EXPECT_EQ(lastMember->get("id").integerValue(), 6);
  std::set<std::int64_t> ids;
  const DictRef unnamedRead = layers->at(3).dictionary();
  for (const DictRef& record : {layers->at(0).dictionary(), group, member, mask, lastMember, last, unnamedRead})
    ids.insert(record->get("id").integerValue());
  EXPECT_EQ(ids.size(), 7u);
  EXPECT_GT(document.newID(), *ids.rbegin()) << "the counter continues past the new ids";

  // Undo of an edit of the later holder puts it back in its own place, not in the first one's.
  document.undoManager().regUndoDictionary(0, last);
  last->set("x", 99);
  document.undo();
  EXPECT_EQ(layers->size(), 4u);
  EXPECT_EQ(layers->at(0).dictionary()->get("id").integerValue(), 4);
  EXPECT_FALSE(layers->at(0).dictionary()->contains("dirty")) << "the first holder was not touched";
  EXPECT_FALSE(layers->at(2).dictionary()->contains("x"));
  EXPECT_EQ(layers->at(2).dictionary()->get("id").integerValue(), last->get("id").integerValue());
}

TEST_F(DocumentFileTest, ContainersSharedInTheFileReadAsCopiesOfTheirOwn) {
  const DictRef fill = Dictionary::make({{"color", "#336699"}});
  DictRef first = layer(1);
  DictRef second = layer(2);
  first->set("fill", fill);
  second->set("fill", fill);
  const DictRef root = document_testing::rootWith({first, group(3, {second})});
  CMDocument document;
  ASSERT_TRUE(document.readFromData(platform::archivedDataWithRootObject(Value(root)), CMDocument::kFileType));
  EXPECT_TRUE(document.data()->isEqual(*root));

  const platform::ArrayRef layers = document.data()->array("layers");
  const DictRef readFirst = layers->at(0).dictionary()->dictionary("fill");
  const DictRef readSecond = layers->at(1).dictionary()->array("items")->at(0).dictionary()->dictionary("fill");
  ASSERT_TRUE(readFirst && readSecond);
  readFirst->set("color", "#000000");
  EXPECT_EQ(readSecond->get("color").string(), "#336699") << "editing one layer's fill changed the other's";
}

TEST_F(DocumentFileTest, IdsOutOfRangeGetFreshOnesSoAGroupIsNotTakenForTheTopLevel) {
  // A 64-bit id reads as -1 in 32 bits, the mark of the top level in undo records.
  const DictRef root = document_testing::rootWith(
      {layer(1), group(std::numeric_limits<std::int64_t>::max(), {layer(5)}), layer(-7), layer(0)});
  root->array("layers")->at(0).dictionary()->set("id", 2.5);
  CMDocument document;
  ASSERT_TRUE(document.readFromData(platform::archivedDataWithRootObject(Value(root)), CMDocument::kFileType));
  const platform::ArrayRef layers = document.data()->array("layers");
  for (const platform::Value& entry : *layers) {
    const std::int64_t id = entry.dictionary()->get("id").integerValue();
    EXPECT_TRUE(id >= 1 && id <= std::numeric_limits<std::int32_t>::max()) << id;
  }
  const DictRef member = layers->at(1).dictionary()->array("items")->at(0).dictionary();
  EXPECT_EQ(member->get("id").integerValue(), 5);
  document.moveLayersToFirst({member});
  document.undo();
  ASSERT_EQ(layers->size(), 4u);
  EXPECT_EQ(layers->at(1).dictionary()->array("items")->size(), 1u) << "the member is back in its group";
}

TEST_F(DocumentFileTest, EditedFlagStaysWhenWritingFails) {
  CMDocument document;
  fill(document);
  const auto path = files_ / "kept.vard";
  ASSERT_TRUE(document.writeToURL(path, CMDocument::kFileType));
  const Bytes before = platform::readFile(path).value();

  document.data()->array("layers")->removeAll();
  document.setDirty(true);
  const auto unwritable = files_ / "missing-folder" / "kept.vard";
  EXPECT_FALSE(document.writeToURL(unwritable, CMDocument::kFileType));
  EXPECT_TRUE(document.isDocumentEdited());
  EXPECT_EQ(document.fileURL(), path);
  // Producing the data alone never counts as saving.
  ASSERT_TRUE(document.dataOfType(CMDocument::kFileType));
  EXPECT_TRUE(document.isDocumentEdited());
  EXPECT_EQ(platform::readFile(path).value(), before);
}

TEST_F(DocumentFileTest, SavingKeepsAPrivateFileLinkedFileAndLongNameAsTheyWere) {
  CMDocument document;
  fill(document);
  const auto real = files_ / "elsewhere" / "drawing.vard";
  std::filesystem::create_directories(real.parent_path());
  ASSERT_TRUE(document.writeToURL(real, CMDocument::kFileType));
  ::chmod(real.c_str(), 0600);
  std::filesystem::create_symlink(real, files_ / "linked.vard");
  const std::string longest = std::string(250, 'n') + ".vard";
  for (const auto& path : {files_ / "linked.vard", files_ / longest}) {
    document.data()->set("note", path.filename().string());
    ASSERT_TRUE(document.writeToURL(path, CMDocument::kFileType)) << path;
    CMDocument reopened;
    ASSERT_TRUE(reopened.readFromURL(path, CMDocument::kFileType));
    EXPECT_EQ(reopened.data()->get("note").string(), path.filename().string());
  }
  EXPECT_TRUE(std::filesystem::is_symlink(files_ / "linked.vard"));
  EXPECT_EQ(std::filesystem::status(real).permissions(), std::filesystem::perms::owner_read |
                                                            std::filesystem::perms::owner_write);
}

TEST_F(DocumentFileTest, DamagedFilesFailWithAMessageAndChangeNothing) {
  const Bytes archiveOfArray = platform::archivedDataWithRootObject(Value(Array::make({1, 2})));
  const Bytes layersNotAList =
      platform::archivedDataWithRootObject(Value(Dictionary::make({{"layers", "none"}, {"width", 10}})));
  const Bytes noLayers = platform::archivedDataWithRootObject(Value(Dictionary::make({{"width", 10}})));
  const Bytes whole = platform::archivedDataWithRootObject(Value(document_testing::rootWith({layer(1)})));
  const Bytes truncated(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(whole.size() / 2));
  const Bytes garbage{'n', 'o', 't', ' ', 'a', ' ', 'p', 'l', 'i', 's', 't'};
  const Bytes empty;

  for (const Bytes* bytes : {&archiveOfArray, &layersNotAList, &noLayers, &truncated, &garbage, &empty}) {
    CMDocument document;
    const DictRef before = platform::dictionaryCopy(document.data());
    platform::testing::CapturedLog log;
    const platform::Status read = document.readFromData(*bytes, CMDocument::kFileType);
    ASSERT_FALSE(read);
    EXPECT_THAT(read.error().description, ::testing::HasSubstr("not a Draftwork drawing"));
    EXPECT_TRUE(document.data()->isEqual(*before));
  }
  // What is no property list at all is not called a damaged one.
  const Bytes picture{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0};
  for (const Bytes* bytes : {&garbage, &empty, &picture}) {
    CMDocument document;
    const platform::Status read = document.readFromData(*bytes, CMDocument::kFileType);
    ASSERT_FALSE(read);
    EXPECT_EQ(read.error().description, "The file is not a Draftwork drawing.");
  }
}

TEST_F(DocumentFileTest, OpeningAMissingFileFails) {
  CMDocument document;
  EXPECT_FALSE(document.readFromURL(files_ / "nowhere.vard", CMDocument::kFileType));
  EXPECT_TRUE(document.fileURL().empty());
}

TEST_F(DocumentFileTest, TitleShowsTheZoomTheCanvasDrawsAt) {
  CMDocument document;
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const std::pair<double, const char*> cases[] = {
      {1.0, "Untitled, 100%"},     {1.5, "Untitled, 150%"},   {0.125, "Untitled, 12.50%"},
      {0.333, "Untitled, 33.30%"}, {1.1, "Untitled, 110%"},   {0.0, "Untitled, 100%"},
      {nan, "Untitled, 100%"},     {-5.0, "Untitled, 100%"},  {1e300, "Untitled, 100%"},
      {1e9, "Untitled, 10000%"},   {1e-9, "Untitled, 1%"},
  };
  for (const auto& [zoom, title] : cases) {
    document.data()->set("zoom", zoom);
    EXPECT_EQ(document.fullDisplayName(), title) << zoom;
  }
  document.data()->remove("zoom");
  EXPECT_EQ(document.fullDisplayName(), "Untitled, 100%");
  document.data()->set("zoom", "not a number");
  EXPECT_EQ(document.fullDisplayName(), "Untitled, 100%");
}

TEST_F(DocumentFileTest, CorelDrawDocumentsReadTheirDrawingAndNeverSave) {
  {
    // Without a reader nothing opens.
    CMCDRDocument document;
    const platform::Status read = document.readFromData(Bytes{'R', 'I', 'F', 'F'}, CMCDRDocument::kFileType);
    ASSERT_FALSE(read);
    EXPECT_EQ(read.error().code, 10);
    EXPECT_EQ(read.error().description, "Unsupported file format!");
  }
  const document_testing::FakeCorelDrawReaderInstalled reader;
  CMCDRDocument refused;
  const platform::Status failed = refused.readFromData(Bytes{1, 2, 3}, CMCDRDocument::kFileType);
  ASSERT_FALSE(failed);
  EXPECT_EQ(failed.error().description, "Unsupported file format!");
  EXPECT_TRUE(refused.data()->isEqual(*platform::dictionaryResource("default_doc")));

  CMCDRDocument document;
  ASSERT_TRUE(platform::writeFileAtomically(files_ / "drawing.cdr", Bytes{'R', 'I', 'F', 'F', 0}));
  ASSERT_TRUE(document.readFromURL(files_ / "drawing.cdr", CMCDRDocument::kFileType));
  EXPECT_EQ(document.data()->array("layers")->size(), 1u);
  EXPECT_FALSE(document.isDocumentEdited());
  const auto data = document.dataOfType(CMCDRDocument::kFileType);
  ASSERT_FALSE(data);
  EXPECT_EQ(data.error().domain, platform::Error::osStatusDomain);
  EXPECT_EQ(data.error().code, -4);
  // The code is the caller's; what an alert would show names none.
  EXPECT_EQ(data.error().description.find("-4"), std::string::npos) << data.error().description;
  EXPECT_FALSE(document.canWriteType(CMCDRDocument::kFileType));
  EXPECT_TRUE(document.canWriteType(CMDocument::kFileType));
  document.setDirty(true);
  EXPECT_FALSE(document.writeToURL(files_ / "copy.cdr", CMCDRDocument::kFileType));
  EXPECT_TRUE(document.isDocumentEdited());
  EXPECT_FALSE(std::filesystem::exists(files_ / "copy.cdr"));
}

class FakePNG final : public CMPageImageService {
 public:
  explicit FakePNG(int* calls) : calls_(calls) {}
  platform::Expected<Bytes> generate(CMDocument& document) override {
    ++*calls_;
    return Bytes{0x89, 'P', 'N', 'G', static_cast<std::uint8_t>(document.data()->get("width").intValue() % 256)};
  }

 private:
  int* calls_;
};

class ServiceFakes {
 public:
  ServiceFakes() {
    previousPNG_ = CMPageImageServiceFactory::install([this] { return std::make_unique<FakePNG>(&pngCalls); });
  }
  ~ServiceFakes() { CMPageImageServiceFactory::install(previousPNG_); }
  ServiceFakes(const ServiceFakes&) = delete;
  ServiceFakes& operator=(const ServiceFakes&) = delete;

  int pngCalls = 0;

 private:
  CMPageImageServiceFactory::Factory previousPNG_;
};

TEST_F(DocumentFileTest, SaveAsTemplateAppendsToTheStoreWithAThumbnail) {
  ServiceFakes fakes;
  CMDocument first;
  fill(first);
  CMDocument second;
  second.data()->set("width", 300);
  first.OnSaveAsTemplate();
  second.OnSaveAsTemplate();
  EXPECT_EQ(fakes.pngCalls, 2);

  const auto store = platform::readFile(CMProject::appFilePath(CMDocument::kTemplateStoreName));
  ASSERT_TRUE(store);
  const auto templates = platform::unarchiveObjectWithData(store.value());
  ASSERT_TRUE(templates);
  ASSERT_TRUE(templates.value().isArray());
  ASSERT_EQ(templates.value().array()->size(), 2u);
  const CMDocument* documents[] = {&first, &second};
  for (std::size_t k = 0; k < 2; ++k) {
    const DictRef entry = templates.value().array()->at(k).dictionary();
    ASSERT_TRUE(entry);
    const auto root = platform::unarchiveObjectWithData(entry->get("data").data());
    ASSERT_TRUE(root);
    EXPECT_TRUE(root.value().isEqual(Value(documents[k]->data())));
    const std::string image = entry->get("imagefilename").string();
    EXPECT_THAT(image, ::testing::MatchesRegex("[0-9A-F-]{36}\\.png"));
    const auto png = platform::readFile(CMProject::appFilePath(image));
    ASSERT_TRUE(png);
    EXPECT_EQ(png.value().back(), documents[k]->data()->get("width").intValue() % 256);
  }
}

TEST_F(DocumentFileTest, UnreadableTemplateStoreStartsANewList) {
  ServiceFakes fakes;
  const auto storePath = CMProject::appFilePath(CMDocument::kTemplateStoreName);
  ASSERT_TRUE(platform::writeFileAtomically(storePath, Bytes{'j', 'u', 'n', 'k'}));
  CMDocument document;
  platform::testing::CapturedLog log;
  document.OnSaveAsTemplate();
  const auto templates = platform::unarchiveObjectWithData(platform::readFile(storePath).value());
  ASSERT_TRUE(templates);
  EXPECT_EQ(templates.value().array()->size(), 1u);
}

TEST_F(DocumentFileTest, ExportAndImportGoToTheInstalledServices) {
  struct Recorder final : CMExportService, CMImportService {
    explicit Recorder(std::vector<const CMDocument*>* seen) : seen_(seen) {}
    void exportDocument(CMDocument& document) override { seen_->push_back(&document); }
    void doImport(CMDocument& document) override { seen_->push_back(&document); }
    std::vector<const CMDocument*>* seen_;
  };
  std::vector<const CMDocument*> exported;
  std::vector<const CMDocument*> imported;
  auto previousExport = CMExportServiceFactory::install([&] { return std::make_unique<Recorder>(&exported); });
  auto previousImport = CMImportServiceFactory::install([&] { return std::make_unique<Recorder>(&imported); });
  CMDocument document;
  document.OnExport();
  document.OnExport();
  document.OnImport();
  CMExportServiceFactory::install(previousExport);
  CMImportServiceFactory::install(previousImport);
  EXPECT_THAT(exported, ::testing::ElementsAre(&document, &document));
  EXPECT_THAT(imported, ::testing::ElementsAre(&document));
  // With nothing installed the commands do nothing but say so.
  platform::testing::CapturedLog log;
  document.OnExport();
  document.OnImport();
  EXPECT_EQ(log.warnings().size(), 2u);
  EXPECT_FALSE(document.printImage());
}

}  // namespace
