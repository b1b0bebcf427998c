// The feature corpus of the shared test data: every file is imported into a fresh document and its page drawn by
// the PNG output format beside the file's reference picture. Every file must import or be refused with a message;
// the files listed in feature_corpus_passing.txt must keep matching their pictures. A file of which SVG renders
// nothing imports nothing.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "../../outside_test_data.h"
#include "../../platform/core/scoped_environment.h"
#include "document_test_support.h"
#include "io/import/CMDrawingImport.h"
#include "platform/core/files.h"
#include "svg_test_support.h"

namespace {

using svg_testing::WhitePicture;

const std::filesystem::path kCorpus = std::filesystem::path(DRAFTWORK_TESTDATA_DIR) / "svg" / "features";

// A file matches its picture when at most 1 % of the pixels differ by more than 48 of 255.
constexpr double kLargestDifferingShare = 0.01;
constexpr int kDifferenceThreshold = 48;

struct Outcome {
  bool imported = false;
  bool refusedWithMessage = false;
  // Nothing imported of a file whose picture is blank: SVG renders nothing of it.
  bool blankAsItsPicture = false;
  bool matches = false;
};

Outcome importAndCompare(const std::filesystem::path& svg) {
  Outcome outcome;
  const std::optional<WhitePicture> reference =
      WhitePicture::fromPng(std::filesystem::path(svg).replace_extension(".png"));
  const platform::Expected<platform::Bytes> data = platform::readFile(svg);
  if (!data || !reference) return outcome;
  // The pictures are drawn from a 200-unit wide view.
  const double scale = reference->width() / 200.0;
  CMDocument document;
  svg_testing::clearPage(document, reference->width() / scale, reference->height() / scale);
  const CMSVGImport imported = importSVGData(document, data.value());
  outcome.imported = !imported.records->empty();
  outcome.refusedWithMessage = !outcome.imported && imported.failure && !imported.failure->message.empty();
  outcome.blankAsItsPicture = !outcome.imported && !imported.failure && reference->isBlank();
  if (!outcome.imported) return outcome;
  // The page keeps the picture's size, whatever the drawing's bounds.
  document.data()->set("width", reference->width() / scale);
  document.data()->set("height", reference->height() / scale);
  const std::optional<WhitePicture> drawn = svg_testing::drawnPage(document, scale);
  outcome.matches = drawn && drawn->differingShare(*reference, kDifferenceThreshold) <= kLargestDifferingShare;
  return outcome;
}

std::vector<std::filesystem::path> corpusFiles() {
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(kCorpus)) {
    if (entry.path().extension() == ".svg") files.push_back(std::filesystem::relative(entry.path(), kCorpus));
  }
  std::sort(files.begin(), files.end());
  return files;
}

TEST(FeatureCorpus, EveryFileImportsOrIsRefusedAndListedFilesMatchTheirPictures) {
  SKIP_WITHOUT_OUTSIDE_TEST_DATA(kCorpus);
  document_testing::ScratchFolders folders;
  // The corpus's pictures of "systemLanguage" are drawn for a reader of American English.
  const platform::testing::ScopedEnvironment language("LANGUAGE", "en_US");
  const std::vector<std::filesystem::path> files = corpusFiles();
  ASSERT_EQ(files.size(), 842u) << "the corpus at " << kCorpus << " is incomplete";
  const std::set<std::string> listed = svg_testing::listedFiles("feature_corpus_passing.txt");
  ASSERT_FALSE(listed.empty());
  std::map<std::string, std::pair<int, int>> folderRates;  // folder → passing, all
  std::map<std::string, bool> passes;
  for (const std::filesystem::path& file : files) {
    const Outcome outcome = importAndCompare(kCorpus / file);
    EXPECT_TRUE(outcome.imported || outcome.refusedWithMessage || outcome.blankAsItsPicture)
        << file << " was neither imported nor refused";
    passes[file.string()] = outcome.matches;
    auto& [passing, all] = folderRates[file.parent_path().string()];
    passing += outcome.matches;
    ++all;
    if (listed.count(file.string())) {
      EXPECT_TRUE(outcome.matches) << file << " no longer matches its picture";
    }
  }
  for (const std::string& file : listed) EXPECT_TRUE(passes.count(file)) << file << " is listed but not found";
  int newlyPassing = 0;
  for (const auto& [file, matches] : passes) {
    if (matches && !listed.count(file)) std::cout << "also matching now: " << file << "\n", ++newlyPassing;
  }
  for (const auto& [folder, rate] : folderRates) {
    std::cout << folder << ": " << rate.first << " of " << rate.second << "\n";
  }

  // The floors the importer is held to.
  const auto share = [&](std::initializer_list<const char*> folders) {
    int passing = 0, all = 0;
    for (const char* folder : folders) {
      passing += folderRates[folder].first;
      all += folderRates[folder].second;
    }
    return all ? static_cast<double>(passing) / all : 0.0;
  };
  EXPECT_GE(share({"shapes/path", "shapes/rect", "shapes/circle", "shapes/line", "shapes/polyline", "shapes/polygon",
                   "structure/g", "structure/defs", "structure/transform", "structure/svg"}),
            0.85);
  EXPECT_GE(share({"painting/stroke", "painting/stroke-linecap", "painting/stroke-linejoin", "painting/stroke-width",
                   "painting/stroke-dasharray", "painting/stroke-dashoffset", "painting/stroke-miterlimit",
                   "painting/stroke-opacity", "painting/fill", "painting/fill-opacity", "painting/opacity"}),
            0.75);
  EXPECT_GE(share({"paint-servers/linearGradient", "paint-servers/radialGradient", "paint-servers/stop"}), 0.75);
  for (const char* colour : {"painting/fill/#RGB-color.svg", "painting/fill/#RRGGBB-color.svg",
                             "painting/fill/#RRGGBB-uppercase-color.svg", "painting/fill/named-color.svg",
                             "painting/fill/named-color-in-mixedcase.svg", "painting/fill/named-color-in-uppercase.svg",
                             "painting/fill/not-trimmed-attribute-value.svg", "painting/fill/rgb-color.svg",
                             "painting/fill/none.svg", "paint-servers/stop-color/simple-case.svg"}) {
    EXPECT_TRUE(passes[colour]) << colour;
  }
}

}  // namespace
