// The W3C SVG 1.1 test suite's drawings, as Debian's librsvg2-tests installs them: every file is imported, and each
// one whose elements the reader takes (shapes, groups, text, gradients, switch) is drawn by the PNG output format
// beside rsvg-convert's drawing of the same file on this machine, with the same fonts. Pango and librsvg place glyph
// edges a little apart, so the pictures are compared at a third of their size. The files listed in
// w3c_suite_passing.txt must keep matching; the others differ where the model cannot hold what they draw (CSS style
// sheets, clipping by a nested viewport, gradients' spread and focus, strokes of text, baseline shifts).

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <set>
#include <string>
#include <vector>

#include "../../platform/core/scratch_folder.h"
#include "document_test_support.h"
#include "io/import/CMDrawingImport.h"
#include "platform/core/files.h"
#include "svg_test_support.h"

namespace {

using svg_testing::WhitePicture;

const std::filesystem::path kSuite = "/usr/libexec/installed-tests/RSVG/fixtures/reftests/svg1.1";
constexpr double kPageWidth = 480, kPageHeight = 360;

struct Outcome {
  bool imported = false;
  bool matches = false;
};

Outcome importAndCompare(const std::filesystem::path& svg, const std::filesystem::path& scratch) {
  Outcome outcome;
  const platform::Expected<platform::Bytes> data = platform::readFile(svg);
  if (!data) return outcome;
  CMDocument document;
  svg_testing::clearPage(document, kPageWidth, kPageHeight);
  const CMSVGImport imported = importSVGData(document, data.value());
  outcome.imported = !imported.records->empty() && !imported.failure;
  const std::filesystem::path png = scratch / "rsvg.png";
  const std::string command = "rsvg-convert -b white -o " + png.string() + " " + svg.string() + " 2>/dev/null";
  if (!outcome.imported || std::system(command.c_str()) != 0) return outcome;
  const std::optional<WhitePicture> theirs = WhitePicture::fromPng(png);
  document.data()->set("width", kPageWidth);
  document.data()->set("height", kPageHeight);
  const std::optional<WhitePicture> ours = svg_testing::drawnPage(document, 1);
  outcome.matches = theirs && ours && ours->shrunk(3).differingShare(theirs->shrunk(3), 48) <= 0.01;
  return outcome;
}

TEST(W3CSuite, EveryFileImportsAndListedFilesDrawWhatRsvgConvertDraws) {
  if (!std::filesystem::is_directory(kSuite)) {
    GTEST_SKIP() << "the W3C SVG 1.1 suite is not installed at " << kSuite << " (Debian's librsvg2-tests)";
  }
  document_testing::ScratchFolders folders;
  platform::testing::ScratchFolder scratch;
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(kSuite)) {
    if (entry.path().extension() == ".svg") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  ASSERT_GE(files.size(), 150u) << "the suite at " << kSuite << " is incomplete";
  const std::set<std::string> listed = svg_testing::listedFiles("w3c_suite_passing.txt");
  ASSERT_FALSE(listed.empty());
  std::set<std::string> matching;
  for (const std::filesystem::path& file : files) {
    const std::string name = file.filename().string();
    const Outcome outcome = importAndCompare(file, scratch.path());
    // Each file of the suite draws something, its frame at least.
    EXPECT_TRUE(outcome.imported) << name << " was not imported";
    if (outcome.matches) matching.insert(name);
    if (listed.count(name)) {
      EXPECT_TRUE(outcome.matches) << name << " no longer draws what rsvg-convert draws";
    }
  }
  for (const std::string& name : matching) {
    if (!listed.count(name)) std::cout << "also matching now: " << name << "\n";
  }
  std::cout << matching.size() << " of " << files.size() << " files draw what rsvg-convert draws\n";
}

}  // namespace
