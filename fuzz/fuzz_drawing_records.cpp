// Hostile drawings through the whole model: a root record built from the input is
// saved as a ".vard" archive and opened, drawn and measured every way, edited by a
// list of canvas, menu and panel commands the input chooses, drawn again, saved and
// read back, and undone step by step. Checked:
//   - no edit leaves a non-finite number where the opened drawing had none;
//   - what is saved reads back as the same tree;
//   - undoing every step gives back the opened tree (the marks drawing and undo
//     registration write aside).

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "document/CMCaches.h"
#include "document/CMDocument.h"
#include "drawing_record_generator.h"
#include "drawing_session.h"
#include "drawing_tree_checks.h"
#include "platform/core/folders.h"
#include "platform/core/keyed_archive.h"

namespace {

using drawing_checks::Place;

constexpr int kMaxEdits = 16;

std::vector<std::string> trace;

[[noreturn]] void fail(const std::string& what) {
  std::fprintf(stderr, "fuzz_drawing_records: %s\n  edits:", what.c_str());
  for (const std::string& step : trace) std::fprintf(stderr, " [%s]", step.c_str());
  std::fprintf(stderr, "\n");
  std::abort();
}

// The profile and settings the model writes go to a folder of this process, removed at exit.
class ScratchFolders {
 public:
  ScratchFolders() {
    std::string pattern = (std::filesystem::temp_directory_path() / "draftwork-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    root_ = pattern;
    platform::overrideFoldersRoot(root_);
  }
  ~ScratchFolders() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }

 private:
  std::filesystem::path root_;
};

// A non-finite number may only stand where the opened drawing had one: in the same
// layer, or in a layer an edit added (a copy, under an id the tree did not hold before
// that edit, though a deleted layer's id may come back) at a key path where some opened
// layer had one. Such a copy's places are allowed from then on.
class FiniteWatch {
 public:
  explicit FiniteWatch(const platform::DictRef& root) : allowed_(drawing_checks::nonFinitePlaces(root)) {
    for (const Place& place : allowed_) openedPaths_.insert(place.path);
  }

  void check(const platform::DictRef& root, const std::set<std::string>& idsBefore) {
    std::set<Place> added;
    for (const Place& place : drawing_checks::nonFinitePlaces(root)) {
      if (allowed_.contains(place)) continue;
      if (!idsBefore.contains(place.layerId) && openedPaths_.contains(place.path)) {
        added.insert(place);
        continue;
      }
      fail("a non-finite number appeared at " + place.path + " of layer " + place.layerId);
    }
    allowed_.merge(added);
  }

 private:
  std::set<Place> allowed_;
  std::set<std::string> openedPaths_;
};

void checkSaveAndRead(CMDocument& document) {
  const platform::Expected<platform::Bytes> saved = document.dataOfType(CMDocument::kFileType);
  if (!saved) fail("the drawing could not be saved");
  CMDocument reader;
  if (!reader.readFromData(saved.value(), CMDocument::kFileType)) fail("the saved drawing does not read back");
  const std::string difference =
      drawing_checks::firstDifference(platform::Value(document.data()), platform::Value(reader.data()));
  if (!difference.empty()) fail("the saved drawing reads back as another tree at " + difference);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  static ScratchFolders folders;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  trace.clear();
  const platform::DictRef drawing = generateDrawing(input);
  auto document = std::make_shared<CMDocument>();
  if (!document->readFromData(platform::archivedDataWithRootObject(platform::Value(drawing)), CMDocument::kFileType))
    fail("a drawing the model can hold does not open");

  CMCaches::sharedCaches().clean();
  DrawingSession session(document);
  session.drawEveryWay(input.ConsumeBool());
  const platform::DictRef opened = drawing_checks::withoutMarks(document->data());
  FiniteWatch watch(document->data());
  checkSaveAndRead(*document);

  for (int step = input.ConsumeIntegralInRange(0, kMaxEdits); step > 0; --step) {
    const std::set<std::string> idsBefore = drawing_checks::layerIds(document->data());
    trace.push_back(session.editOnce(input));
    watch.check(document->data(), idsBefore);
  }
  const std::set<std::string> idsBeforeDrawing = drawing_checks::layerIds(document->data());
  session.drawEveryWay(input.ConsumeBool());
  watch.check(document->data(), idsBeforeDrawing);
  checkSaveAndRead(*document);

  session.deselectAll();
  while (document->undoManager().canUndo()) document->undo();
  if (const std::string difference = drawing_checks::firstDifference(
          platform::Value(opened), platform::Value(drawing_checks::withoutMarks(document->data())));
      !difference.empty()) {
    if (std::getenv("DRAFTWORK_FUZZ_TREES")) {
      std::fprintf(stderr, "opened: %s\nundone: %s\n", platform::Value(opened).description().c_str(),
                   platform::Value(document->data()).description().c_str());
    }
    fail("undoing every step did not give back the opened drawing at " + difference);
  }
  CMCaches::sharedCaches().clean();
  return 0;
}
