#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>

#include "../platform/core/scoped_environment.h"
#include "../platform/core/scratch_folder.h"
#include "document/CMShapeLayer.h"
#include "document_test_support.h"
#include "platform/core/resources.h"
#include "platform/core/user_defaults.h"
#include "shape_library_test_support.h"
#include "../random_test_seed.h"

namespace {

using document_testing::libraryNames;
using document_testing::makeLibrary;
using document_testing::writeStore;
using platform::Value;

// A support folder of its own and resources without a seed store, unless a test provides one.
class ShapeLibraryStoreTest : public ::testing::Test {
 protected:
  void writeStoreOf(std::initializer_list<const char*> names) {
    std::vector<std::shared_ptr<CMShapeLibarary>> libraries;
    for (const char* name : names) libraries.push_back(makeLibrary(name));
    writeStore(libraries);
  }
  void setStoredIndex(std::int64_t index) {
    platform::UserDefaults::standardUserDefaults().setInteger(index, CMShapeLibraries::kSelectionKey);
  }
  std::string selectedName(const CMShapeLibraries& store) {
    return store.selectedLibrary() ? store.selectedLibrary()->name() : std::string("(none)");
  }

  void TearDown() override { platform::overrideExecutableFolder(previousExecutableFolder_); }

  document_testing::ScratchFolders folders_;
  platform::testing::ScratchFolder resources_;
  platform::testing::ScopedEnvironment resourceFolder_{"DRAFTWORK_RESOURCES", resources_.path().c_str()};
  // Nothing beside the test executable is found.
  std::filesystem::path previousExecutableFolder_ = platform::overrideExecutableFolder(resources_ / "bin");
};

TEST_F(ShapeLibraryStoreTest, NewNamesFillTheFirstGap) {
  writeStoreOf({"Shapes Library1", "Shapes Library3"});
  CMShapeLibraries store;
  EXPECT_EQ(store.generateNewName(), "Shapes Library2");
  ASSERT_TRUE(store.createNew(store.generateNewName()));
  EXPECT_EQ(store.generateNewName(), "Shapes Library4");
  EXPECT_FALSE(store.createNew("Shapes Library1"));
  EXPECT_EQ(store.items().size(), 3u);
  EXPECT_EQ(selectedName(store), "Shapes Library2");
}

TEST_F(ShapeLibraryStoreTest, StoredIndexSelectsOrFallsBackToTheFirst) {
  struct Case {
    std::int64_t stored;
    int libraries;
    const char* selected;
  } cases[] = {{7, 3, "A"}, {2, 3, "C"}, {-4, 3, "A"}, {0, 0, "(none)"}, {7, 0, "(none)"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    std::vector<std::shared_ptr<CMShapeLibarary>> libraries;
    for (int i = 0; i < c.libraries; ++i) libraries.push_back(makeLibrary(std::string(1, static_cast<char>('A' + i))));
    writeStore(libraries);
    setStoredIndex(c.stored);
    CMShapeLibraries store;
    EXPECT_EQ(selectedName(store), c.selected);
  }
}

TEST_F(ShapeLibraryStoreTest, RemovingTheSelectionSelectsANeighbour) {
  struct Case {
    const char* removed;
    std::vector<const char*> names;
    const char* selected;
  } cases[] = {{"A", {"A", "B", "C"}, "B"}, {"C", {"A", "B", "C"}, "B"}, {"B", {"A", "B", "C"}, "A"},
               {"A", {"A"}, "(none)"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.removed);
    std::vector<std::shared_ptr<CMShapeLibarary>> libraries;
    for (const char* name : c.names) libraries.push_back(makeLibrary(name));
    writeStore(libraries);
    CMShapeLibraries store;
    store.selectLibrary(c.removed);
    store.remove(store.selectedLibrary());
    EXPECT_EQ(selectedName(store), c.selected);
    // Saved at once: a new store reads the list without it.
    CMShapeLibraries reread;
    EXPECT_EQ(reread.items().size(), c.names.size() - 1);
  }
}

TEST_F(ShapeLibraryStoreTest, SelectingStoresTheIndexAndAMissingNameSelectsNothing) {
  writeStoreOf({"A", "B", "C"});
  CMShapeLibraries store;
  store.selectLibrary("C");
  // Kept on disk: the next run reads it back.
  platform::UserDefaults::resetStandardUserDefaults();
  EXPECT_EQ(platform::UserDefaults::standardUserDefaults().integerForKey(CMShapeLibraries::kSelectionKey), 2);
  store.selectLibrary("nothing");
  EXPECT_EQ(selectedName(store), "(none)");
  EXPECT_EQ(platform::UserDefaults::standardUserDefaults().integerForKey(CMShapeLibraries::kSelectionKey), 2);
  EXPECT_TRUE(store.createNew("D"));
  EXPECT_EQ(platform::UserDefaults::standardUserDefaults().integerForKey(CMShapeLibraries::kSelectionKey), 2);
}

TEST_F(ShapeLibraryStoreTest, RenameRefusesAnotherLibrarysName) {
  writeStoreOf({"A", "B"});
  CMShapeLibraries store;
  store.selectLibrary("A");
  EXPECT_FALSE(store.rename("B"));
  EXPECT_TRUE(store.rename("A"));
  EXPECT_TRUE(store.rename("Z"));
  EXPECT_EQ(libraryNames(CMShapeLibraries()), (std::vector<std::string>{"Z", "B"}));
}

TEST_F(ShapeLibraryStoreTest, ImportsTakeNumberedNamesAndExportsReadBackEqual) {
  writeStoreOf({"Stars"});
  platform::testing::ScratchFolder files;
  const auto exported = makeLibrary("Stars", 3);
  ASSERT_TRUE(exported->exportToURL(files / "stars.slib"));
  CMShapeLibraries store;
  ASSERT_TRUE(store.addWithURL(files / "stars.slib"));
  ASSERT_TRUE(store.addWithURL(files / "stars.slib"));
  EXPECT_EQ(libraryNames(store), (std::vector<std::string>{"Stars", "Stars1", "Stars2"}));
  EXPECT_EQ(selectedName(store), "Stars2");
  const auto& imported = store.selectedLibrary()->items();
  ASSERT_EQ(imported.size(), 3u);
  for (std::size_t i = 0; i < imported.size(); ++i) {
    EXPECT_EQ(imported[i]->name(), exported->items()[i]->name());
    EXPECT_TRUE(imported[i]->shapeData()->isEqual(*exported->items()[i]->shapeData()));
    EXPECT_EQ(imported[i]->className(), "CMShapeItem");
  }
}

TEST_F(ShapeLibraryStoreTest, EveryLibraryKeepsItsOwnItemsThroughASavedStore) {
  // Libraries as imported, each with items of widths of its own, then a new library made: the store is saved.
  const std::vector<std::string> names{"Numbers", "Frames", "Casual Wear", "Patterns", "Stars", "Arrows"};
  std::vector<std::shared_ptr<CMShapeLibarary>> imported;
  std::vector<std::string> expected;
  for (std::size_t k = 0; k < names.size(); ++k) {
    auto library = std::make_shared<CMShapeLibarary>(names[k]);
    std::string line = names[k] + ":";
    for (std::size_t i = 0; i <= k % 3; ++i) {
      const double width = 100.0 * static_cast<double>(k + 1) + static_cast<double>(i);
      library->addShape(document_testing::itemRecord(document_testing::libraryShape({0, 0, width, 20})));
      line += (i ? ", " : " ") + std::to_string(static_cast<int>(width));
    }
    imported.push_back(library);
    expected.push_back(line);
  }
  writeStore(imported);
  CMShapeLibraries store;
  ASSERT_TRUE(store.createNew(store.generateNewName()));
  expected.push_back("Shapes Library1:");

  // Python's plistlib reads the file as an outside reader.
  if (std::system("python3 -c 'import plistlib' > /dev/null 2>&1") == 0) {
    const std::string command = "python3 '" DRAFTWORK_SOURCE_DIR "/tests/document/shape_library_plist.py' store '" +
                                CMShapeLibraries::storePath().string() + "'";
    std::vector<std::string> lines;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
      char buffer[512];
      while (std::fgets(buffer, sizeof buffer, pipe)) lines.emplace_back(buffer, std::strcspn(buffer, "\n"));
      EXPECT_EQ(::pclose(pipe), 0) << command;
    }
    EXPECT_EQ(lines, expected);
  }
  // The next start reads each library's own items back.
  CMShapeLibraries reread;
  ASSERT_EQ(reread.items().size(), expected.size());
  for (std::size_t k = 0; k < imported.size(); ++k) {
    SCOPED_TRACE(names[k]);
    const auto& items = reread.items()[k]->items();
    ASSERT_EQ(items.size(), imported[k]->items().size());
    for (std::size_t i = 0; i < items.size(); ++i) {
      EXPECT_TRUE(items[i]->shapeData()->isEqual(*imported[k]->items()[i]->shapeData()));
    }
  }
  EXPECT_TRUE(reread.items().back()->items().empty());
}

TEST_F(ShapeLibraryStoreTest, UnreadableImportsAreReportedAndChangeNothing) {
  writeStoreOf({"A"});
  platform::testing::ScratchFolder files;
  std::ofstream(files / "junk.slib") << "not an archive";
  platform::ArrayRef list = platform::Array::make({Value(platform::ObjectRef(makeLibrary("X")))});
  const platform::Bytes wrongRoot = shape_library_archive::archive(Value(list));
  ASSERT_TRUE(platform::writeFileAtomically(files / "list.slib", wrongRoot));
  auto huge = makeLibrary("Huge");
  CMShapeLibarary::Items items(CMShapeLibraries::kMostImportedItems + 1, huge->items().front());
  huge->setItems(items);
  ASSERT_TRUE(huge->exportToURL(files / "huge.slib"));
  // Sparse: past the size limit without the disk space.
  std::ofstream(files / "big.slib").close();
  std::filesystem::resize_file(files / "big.slib", CMShapeLibraries::kLargestImportBytes + 1);
  CMShapeLibraries store;
  for (const char* name : {"junk.slib", "list.slib", "missing.slib", "huge.slib", "big.slib"}) {
    const platform::Status imported = store.addWithURL(files / name);
    ASSERT_FALSE(imported) << name;
    EXPECT_NE(imported.error().description.find(name), std::string::npos) << imported.error().description;
  }
  EXPECT_EQ(libraryNames(CMShapeLibraries()), std::vector<std::string>{"A"});
}

TEST_F(ShapeLibraryStoreTest, AddedShapesAreCopiesAtTheOriginKeepingTheirRotation) {
  writeStoreOf({"A"});
  CMShapeLibraries store;
  platform::DictRef record = document_testing::libraryShape({120, 80, 40, 30});
  record->set("rotate", 30.0);
  CMShapeLayer layer(record);
  store.addShapes({&layer});
  store.addImages({});
  ASSERT_EQ(store.selectedLibrary()->items().size(), 2u);
  const auto& item = store.selectedLibrary()->items().back();
  EXPECT_EQ(item->name(), "shape");
  const platform::DictRef copy = item->shapeData();
  EXPECT_EQ(copy->get("rotate").doubleValue(), 30.0);
  for (const char* key : {"x", "y", "rotation"}) {
    EXPECT_TRUE(copy->get(key).isReal32()) << key;
    EXPECT_EQ(copy->get(key).doubleValue(), 0.0) << key;
  }
  record->set("width", 99.0);
  record->dictionary("shape")->dictionary("fill")->set("alpha", 0.5);
  EXPECT_EQ(copy->get("width").doubleValue(), 40.0);
  EXPECT_EQ(copy->dictionary("shape")->dictionary("fill")->get("alpha").doubleValue(), 1.0);

  // Deleting goes by identity: an item of equal contents stays.
  store.addShapes({&layer});
  const auto first = store.selectedLibrary()->items()[1];
  store.deleteItem(first.get());
  ASSERT_EQ(store.selectedLibrary()->items().size(), 2u);
  EXPECT_NE(store.selectedLibrary()->items()[1], first);
  EXPECT_EQ(CMShapeLibraries().selectedLibrary()->items().size(), 2u);
}

TEST_F(ShapeLibraryStoreTest, WithoutASelectionNothingIsAdded) {
  CMShapeLibraries store;
  ASSERT_FALSE(store.selectedLibrary());
  CMShapeLayer layer(document_testing::libraryShape({0, 0, 10, 10}));
  store.addShapes({&layer});
  store.deleteItem(nullptr);
  EXPECT_TRUE(store.items().empty());
}

// ---- seeding and damaged stores ----

class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) : previousHandler_(std::signal(SIGXFSZ, SIG_IGN)) {
    ::getrlimit(RLIMIT_FSIZE, &previous_);
    rlimit limit = previous_;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, previousHandler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit previous_{};
  void (*previousHandler_)(int);
};

class ShapeLibrarySeedTest : public ShapeLibraryStoreTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(platform::writeFileAtomically(resources_ / "shapes_library.data", seedBytes()));
  }
  static platform::Bytes seedBytes() {
    platform::ArrayRef list = platform::Array::make({Value(platform::ObjectRef(makeLibrary("Seed", 2)))});
    return shape_library_archive::archive(Value(list));
  }
  std::vector<std::filesystem::path> asideFiles() const {
    std::vector<std::filesystem::path> found;
    for (const auto& entry : std::filesystem::directory_iterator(CMShapeLibraries::storePath().parent_path())) {
      if (entry.path().filename().string().starts_with("shapes_library.data.corrupt-")) found.push_back(entry.path());
    }
    return found;
  }
};

TEST_F(ShapeLibrarySeedTest, AMissingStoreIsSeededAndReadAtOnce) {
  CMShapeLibraries store;
  EXPECT_EQ(libraryNames(store), std::vector<std::string>{"Seed"});
  EXPECT_TRUE(store.takeAlertMessages().empty());
  // An existing store is never replaced.
  writeStoreOf({"Mine"});
  CMShapeLibraries::updateShapesLibrary();
  EXPECT_EQ(libraryNames(CMShapeLibraries()), std::vector<std::string>{"Mine"});
}

TEST_F(ShapeLibrarySeedTest, UnreadableStoresAreKeptAsideOnceAndTheSeedRestored) {
  const platform::Bytes good = seedBytes();
  ASSERT_GT(good.size(), 12u);
  platform::Bytes bitFlipped = good;
  bitFlipped[good.size() - 12] ^= 0xff;
  const platform::Bytes truncated(good.begin(), good.begin() + static_cast<long>(good.size() / 2));
  const platform::Bytes dictionaryRoot = shape_library_archive::archive(Value(platform::Dictionary::make()));
  struct Case {
    const char* what;
    platform::Bytes bytes;
    bool folder = false;
  } cases[] = {{"truncated", truncated}, {"bit-flipped", bitFlipped}, {"dictionary root", dictionaryRoot},
               {"folder", {}, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    for (const auto& aside : asideFiles()) std::filesystem::remove_all(aside);
    const std::filesystem::path path = CMShapeLibraries::storePath();
    std::filesystem::remove_all(path);
    if (c.folder) {
      std::filesystem::create_directory(path);
    } else {
      ASSERT_TRUE(platform::writeFileAtomically(path, c.bytes));
    }
    CMShapeLibraries store;
    const std::vector<std::string> messages = store.takeAlertMessages();
    if (c.what == std::string("bit-flipped") && messages.empty()) continue;  // the flip may hit a harmless byte
    ASSERT_EQ(messages.size(), 1u);
    const std::vector<std::filesystem::path> aside = asideFiles();
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_NE(messages[0].find(aside[0].filename().string()), std::string::npos) << messages[0];
    EXPECT_EQ(libraryNames(store), std::vector<std::string>{"Seed"});
    EXPECT_TRUE(store.takeAlertMessages().empty());
    if (!c.folder) {
      EXPECT_EQ(platform::readFile(aside[0]).value(), c.bytes);
    }
  }
}

TEST_F(ShapeLibrarySeedTest, AStoreReadInPartIsCopiedAsideBeforeTheFirstSave) {
  // Items of a class nobody knows: both items of the seed, or exactly one of a library of a shape and an image.
  auto mixed = makeLibrary("Seed");
  mixed->addImage(document_testing::itemRecord(platform::Dictionary::make({{"type", 1}, {"width", 5.0}})));
  const platform::Bytes mixedBytes =
      shape_library_archive::archive(Value(platform::Array::make({Value(platform::ObjectRef(mixed))})));
  struct Case {
    const char* what;
    platform::Bytes good;
    const char* className;
    std::size_t itemsLeft;
  } cases[] = {{"two unreadable items", seedBytes(), "CMShapeItem", 0},
               {"one unreadable item", mixedBytes, "CMImageShapeItem", 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    for (const auto& aside : asideFiles()) std::filesystem::remove_all(aside);
    std::string text(c.good.begin(), c.good.end());
    const std::size_t at = text.find(c.className);
    ASSERT_NE(at, std::string::npos);
    text[at + std::string_view(c.className).size() - 4] = 'X';  // "…Item" becomes "…Xtem"
    const platform::Bytes partial(text.begin(), text.end());
    ASSERT_TRUE(platform::writeFileAtomically(CMShapeLibraries::storePath(), partial));

    CMShapeLibraries store;
    EXPECT_EQ(libraryNames(store), std::vector<std::string>{"Seed"});
    EXPECT_EQ(store.selectedLibrary()->items().size(), c.itemsLeft);
    EXPECT_TRUE(asideFiles().empty());  // reading alone changes nothing
    EXPECT_TRUE(store.createNew("New"));
    ASSERT_EQ(asideFiles().size(), 1u);
    EXPECT_EQ(platform::readFile(asideFiles()[0]).value(), partial);
    EXPECT_EQ(store.takeAlertMessages().size(), 1u);
    EXPECT_TRUE(store.createNew("Newer"));
    EXPECT_EQ(asideFiles().size(), 1u);
    EXPECT_EQ(libraryNames(CMShapeLibraries()), (std::vector<std::string>{"Seed", "New", "Newer"}));
  }
}

TEST_F(ShapeLibrarySeedTest, AFailingSaveKeepsTheOldFileAndIsToldOnce) {
  writeStoreOf({"A"});
  const platform::Bytes before = platform::readFile(CMShapeLibraries::storePath()).value();
  CMShapeLibraries store;
  {
    // Files may not grow past 64 bytes for a moment: every write of the store fails, even for root.
    const FileSizeLimit limit(64);
    EXPECT_TRUE(store.createNew("B"));
    EXPECT_TRUE(store.createNew("C"));
  }
  const std::vector<std::string> messages = store.takeAlertMessages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("could not be saved"), std::string::npos) << messages[0];
  EXPECT_EQ(platform::readFile(CMShapeLibraries::storePath()).value(), before);
  // Once saving works again, the list as it is now is written.
  EXPECT_TRUE(store.createNew("D"));
  EXPECT_EQ(libraryNames(CMShapeLibraries()), (std::vector<std::string>{"A", "B", "C", "D"}));
}

TEST_F(ShapeLibrarySeedTest, RandomMutationsOfAGoodStoreNeverCrash) {
  const platform::Bytes good = seedBytes();
  const unsigned seed = randomTestSeed("ShapeLibraryStore mutated stores");
  std::mt19937 random(seed);
  SCOPED_TRACE("seed " + std::to_string(seed));
  for (int round = 0; round < 50; ++round) {
    platform::Bytes mutated = good;
    const int flips = 1 + static_cast<int>(random() % 8);
    for (int i = 0; i < flips; ++i) mutated[random() % mutated.size()] = static_cast<std::uint8_t>(random());
    std::filesystem::remove_all(CMShapeLibraries::storePath());
    ASSERT_TRUE(platform::writeFileAtomically(CMShapeLibraries::storePath(), mutated));
    CMShapeLibraries store;
    for (const auto& library : store.items()) {
      for (const auto& item : library->items()) ASSERT_TRUE(item->thumbnailImage());
    }
  }
}

}  // namespace
