// CorelDRAW drawings read for real: libcdr's own calls counted by a recording drawing interface, the converter
// process's page read into records and drawn beside rsvg-convert's rendering of the same page; files that are no
// drawing, cut or damaged ones, and converters that crash, hang or write nonsense, all ending in the error 10
// with no folder left behind.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <libcdr/libcdr.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>

#include "../../outside_test_data.h"
#include "cdr_test_support.h"
#include "document/CMDocument.h"
#include "drawing_call_recorder.h"
#include "io/cdr/CDR2SVG.h"
#include "io/cdr/CMCDRConverterProcess.h"
#include "io/cdr/CMConversionFolder.h"
#include "io/import/CMDrawingImport.h"
#include "platform/core/files.h"
#include "svg_test_support.h"

namespace {

using cdr_testing::kSamples;

// Every number in the tree is finite; `names` counts the records by "name", groups left out.
bool allFinite(const platform::Value& value) {
  if (value.isReal()) return std::isfinite(value.doubleValue());
  if (value.isArray()) {
    for (const platform::Value& item : *value.array()) {
      if (!allFinite(item)) return false;
    }
  }
  if (value.isDictionary()) {
    for (const auto& [key, item] : *value.dictionary()) {
      if (!allFinite(item)) return false;
    }
  }
  return true;
}

void countShapes(const platform::ArrayRef& records, std::map<std::string, long>& names) {
  for (const platform::Value& item : *records) {
    const platform::DictRef record = item.dictionary();
    if (!record) continue;
    if (record->get("type").intValue() == 3) {
      if (const platform::ArrayRef items = record->array("items")) countShapes(items, names);
    } else {
      ++names[record->get("name").string()];
    }
  }
}

platform::Bytes sampleBytes(const char* name) {
  platform::Expected<platform::Bytes> bytes = platform::readFile(kSamples / name);
  return bytes ? std::move(bytes).value() : platform::Bytes();
}

class CorelDrawingTest : public ::testing::Test {
 protected:
  cdr_testing::OwnTemporaryFolder temporary_;
};

struct Sample {
  const char* file;
  long paths;
  double largestDifference;
};

void PrintTo(const Sample& sample, std::ostream* out) { *out << sample.file; }

// Each sample is a test of its own: the large one takes long in the sanitized build, and tests run side by side.
class SampleDrawingTest : public CorelDrawingTest, public ::testing::WithParamInterface<Sample> {};

TEST_P(SampleDrawingTest, IsOnePageOfPathsAsLibcdrDrawsThem) {
  SKIP_WITHOUT_OUTSIDE_TEST_DATA(kSamples);
  const Sample& sample = GetParam();
  const std::filesystem::path path = kSamples / sample.file;
  // libcdr's own account of the drawing.
  librevenge::RVNGFileStream stream(path.c_str());
  DrawingCallRecorder recorder;
  ASSERT_TRUE(libcdr::CDRDocument::parse(&stream, &recorder));
  EXPECT_EQ(recorder.count("drawPath"), sample.paths);
  EXPECT_EQ(recorder.count("startPage"), 1);
  for (const std::string& key : recorder.keys()) std::printf("libcdr sends %s\n", key.c_str());

  const platform::Expected<CMConversionFolder> folder = CMConversionFolder::make();
  ASSERT_TRUE(folder.ok());
  const platform::Expected<platform::Bytes> page = CMCDRConverterProcess::convert(path, folder.value().path());
  ASSERT_TRUE(page.ok()) << page.error().description;
  const std::string xhtml(page.value().begin(), page.value().end());
  EXPECT_EQ(cdr_testing::occurrences(xhtml, "<path "), static_cast<std::size_t>(sample.paths));
  EXPECT_EQ(cdr_testing::occurrences(xhtml, "<svg id=\"svgRoot\""), 1u);

  CMDocument document;
  VDSVGParser reader;
  const platform::ArrayRef records = reader.parseSVG(page.value(), document);
  EXPECT_FALSE(reader.failure());
  EXPECT_EQ(records->size(), 1u) << "one page, one top-level group";
  std::map<std::string, long> names;
  countShapes(records, names);
  EXPECT_EQ(names, (std::map<std::string, long>{{"Path", sample.paths}}));
  EXPECT_TRUE(allFinite(platform::Value(records)));

  // Our drawing of the records beside rsvg-convert's of the page, cut out with the svg prefix bound.
  std::string svg = xhtml.substr(xhtml.find("<svg id="));
  svg = svg.substr(0, svg.find("</svg>\n") + 7);
  svg.insert(svg.find(" version="), " xmlns:svg=\"http://www.w3.org/2000/svg\"");
  const std::string root = svg.substr(0, svg.find('>'));
  const double width = std::stod(root.substr(root.find("width=\"") + 7));
  const double height = std::stod(root.substr(root.find("height=\"") + 8));
  svg_testing::clearPage(document, width, height);
  appendLayers(document, records);
  const std::optional<svg_testing::WhitePicture> ours = svg_testing::drawnPage(document, 1);
  ASSERT_TRUE(ours);
  const std::filesystem::path cut = folder.value().path() / "page.svg", png = folder.value().path() / "page.png";
  std::ofstream(cut, std::ios::binary) << svg;
  ASSERT_EQ(std::system(("rsvg-convert -w " + std::to_string(ours->width()) + " -h " +
                         std::to_string(ours->height()) + " -o " + png.string() + " " + cut.string())
                            .c_str()),
            0);
  const std::optional<svg_testing::WhitePicture> theirs = svg_testing::WhitePicture::fromPng(png);
  ASSERT_TRUE(theirs);
  const double differing = ours->differingShare(*theirs, 48);
  std::printf("%s: %.2f %% of %d x %d pixels differ by more than 48/255 from rsvg-convert\n", sample.file,
              differing * 100, ours->width(), ours->height());
  EXPECT_LE(differing, sample.largestDifference);
  EXPECT_EQ(temporary_.conversionFolders(), std::vector{folder.value().path()});
}

TEST_P(SampleDrawingTest, OpensOnAPageOfItsFirstPagesSizeAsLibcdrsOwnGeneratorGivesIt) {
  SKIP_WITHOUT_OUTSIDE_TEST_DATA(kSamples);
  const std::filesystem::path path = kSamples / GetParam().file;
  // cdr2xhtml (libcdr-tools) writes each page's size in points as its viewBox.
  std::unique_ptr<FILE, decltype(&pclose)> pipe(popen(("cdr2xhtml '" + path.string() + "'").c_str(), "r"), pclose);
  std::string xhtml;
  for (int c; pipe && (c = std::fgetc(pipe.get())) != EOF;) xhtml += static_cast<char>(c);
  const std::size_t box = xhtml.find("viewBox=\"0 0 ");
  ASSERT_NE(box, std::string::npos) << "cdr2xhtml of libcdr-tools is needed";
  std::istringstream numbers(xhtml.substr(box + 13));
  double width = 0, height = 0;
  numbers >> width >> height;
  CMDocument document;
  ASSERT_TRUE(CMCorelDrawReader().readCorelDrawing(document, sampleBytes(GetParam().file)).ok());
  EXPECT_NEAR(document.data()->get("width").doubleValue(), width, 0.01);
  EXPECT_NEAR(document.data()->get("height").doubleValue(), height, 0.01);
}

INSTANTIATE_TEST_SUITE_P(Samples, SampleDrawingTest,
                         ::testing::Values(Sample{"sample-x4.cdr", 61, 0.05}, Sample{"drawing-v11.cdr", 4287, 1},
                                           Sample{"simple-shapes-x7.cdr", 6, 1}),
                         [](const auto& info) {
                           std::string name = info.param.file;
                           return name.substr(0, name.find('-'));
                         });

TEST_F(CorelDrawingTest, WhatIsNoReadableDrawingIsTheErrorTenAndLeavesNoFolder) {
  SKIP_WITHOUT_OUTSIDE_TEST_DATA(kSamples);
  const platform::Bytes sample = sampleBytes("sample-x4.cdr");
  ASSERT_FALSE(sample.empty());
  std::vector<std::pair<std::string, platform::Bytes>> files = {
      {"unsupported-v23.cdr", sampleBytes("unsupported-v23.cdr")},
      {"empty.cdr", {}},
      {"picture.cdr", {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'}},
  };
  for (const int percent : {10, 50, 90}) {
    files.emplace_back("cut" + std::to_string(percent) + ".cdr",
                       platform::Bytes(sample.begin(), sample.begin() + sample.size() * percent / 100));
  }
  platform::testing::ScratchFolder inputs;
  for (const auto& [name, bytes] : files) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(platform::writeFileAtomically(inputs / name, bytes));
    CMDocument document;
    for (const platform::Expected<platform::ArrayRef>& read :
         {readCorelDrawing(document, inputs / name), readCorelDrawingData(document, bytes)}) {
      ASSERT_FALSE(read.ok());
      EXPECT_EQ(read.error().domain, platform::Error::cocoaDomain);
      EXPECT_EQ(read.error().code, 10);
      EXPECT_EQ(read.error().description, "Unsupported file format!");
    }
    // In process, the same files fail in the same way.
    CDR2SVG converter(inputs / name);
    const platform::Status converted = converter.convertToSVG();
    ASSERT_FALSE(converted.ok());
    EXPECT_EQ(converted.error().code, 10);
    EXPECT_TRUE(converter.svgData().empty());
    EXPECT_TRUE(temporary_.conversionFolders().empty());
  }
}

// 200 mutated copies in four shards of 50, run side by side.
class MutatedDrawingTest : public CorelDrawingTest, public ::testing::WithParamInterface<int> {};

TEST_P(MutatedDrawingTest, EndsInRecordsOrTheErrorAndTheProcessSurvives) {
  SKIP_WITHOUT_OUTSIDE_TEST_DATA(kSamples);
  const platform::Bytes sample = sampleBytes("sample-x4.cdr");
  ASSERT_FALSE(sample.empty());
  const unsigned seed = 20261207u + static_cast<unsigned>(GetParam());
  std::printf("seed %u\n", seed);
  std::mt19937 random(seed);
  const auto below = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); };
  int read = 0, refused = 0;
  for (int i = 0; i < 50; ++i) {
    platform::Bytes mutated = sample;
    switch (i % 3) {
      case 0:
        for (int flips = 0; flips < 1 + static_cast<int>(below(16)); ++flips) {
          mutated[below(mutated.size())] ^= static_cast<unsigned char>(1u << below(8));
        }
        break;
      case 1: mutated.resize(below(mutated.size())); break;
      default: {
        const std::size_t start = below(mutated.size());
        const std::size_t length = std::min(mutated.size() - start, 1 + below(512));
        std::fill_n(mutated.begin() + static_cast<std::ptrdiff_t>(start), length, 0);
      }
    }
    CMDocument document;
    const platform::Expected<platform::ArrayRef> records = readCorelDrawingData(document, mutated);
    if (records) {
      ++read;
      EXPECT_TRUE(allFinite(platform::Value(records.value()))) << "copy " << i;
    } else {
      ++refused;
      EXPECT_EQ(records.error().description, "Unsupported file format!") << "copy " << i;
    }
  }
  std::printf("%d copies read, %d refused\n", read, refused);
  EXPECT_EQ(read + refused, 50);
  EXPECT_TRUE(temporary_.conversionFolders().empty());
}

INSTANTIATE_TEST_SUITE_P(Shards, MutatedDrawingTest, ::testing::Range(0, 4));

// Converters that go wrong, stood in for by scripts: one that never ends, one that crashes, one that writes a page
// the reader cannot read, and one that saves a picture and succeeds.
class ConverterProcessTest : public CorelDrawingTest {
 protected:
  void TearDown() override { CMCDRConverterProcess::settings() = previous_; }
  void useScript(const std::string& body) {
    const std::filesystem::path script = scripts_ / ("converter" + std::to_string(++made_) + ".sh");
    std::ofstream(script) << "#!/bin/sh\n" << body << "\n";
    ::chmod(script.c_str(), 0755);
    CMCDRConverterProcess::settings().executable = script;
  }

  CMCDRConverterSettings previous_ = CMCDRConverterProcess::settings();
  platform::testing::ScratchFolder scripts_;
  int made_ = 0;
};

TEST_F(ConverterProcessTest, EachWayAConverterGoesWrongHasItsOwnErrorAndLeavesNoFolder) {
  CMCDRConverterProcess::settings().timeLimit = std::chrono::milliseconds(300);
  CMCDRConverterProcess::settings().largestPage = std::size_t{1} << 20;
  struct Case {
    std::string script;
    std::int64_t code;
    std::string says;
  };
  const Case cases[] = {
      {"exec sleep 30", 13, "did not finish within 0.3 seconds"},
      // The child ends, its own child keeps the output open.
      {"sleep 5", 13, "did not finish within 0.3 seconds"},
      {"kill -SEGV $$", 12, "crashed while reading the drawing (Segmentation fault)"},
      {"kill -ABRT $$", 12, "crashed while reading the drawing (Aborted)"},
      {"exec head -c 3000000 /dev/zero", 14, "wrote more than 1 MB"},
      // A page of exactly the limit is read whole (and is no drawing); one byte more is refused.
      {"exec head -c 1048576 /dev/zero", 10, "Unsupported file format!"},
      {"exec head -c 1048577 /dev/zero", 14, "wrote more than 1 MB"},
      {"echo '<svg><g><path d=\"M 0 0 L 1 1\"'; exit 0", 10, "Unsupported file format!"},
      {"echo 'not xml at all'", 10, "Unsupported file format!"},
      {"printf '<svg/>' ; exit 3", 10, "Unsupported file format!"},
  };
  for (const Case& converter : cases) {
    SCOPED_TRACE(converter.script);
    useScript(converter.script);
    CMDocument document;
    const platform::Expected<platform::ArrayRef> read = readCorelDrawing(document, kSamples / "sample-x4.cdr");
    ASSERT_FALSE(read.ok());
    EXPECT_EQ(read.error().code, converter.code);
    EXPECT_THAT(read.error().description, ::testing::HasSubstr(converter.says));
    EXPECT_TRUE(temporary_.conversionFolders().empty());
  }
  // A converter that cannot start is named, with why, in what the alert shows.
  CMCDRConverterProcess::settings().executable = scripts_ / "missing";
  CMDocument document;
  const platform::Expected<platform::ArrayRef> missing = readCorelDrawing(document, kSamples / "sample-x4.cdr");
  ASSERT_FALSE(missing.ok());
  EXPECT_EQ(missing.error().code, 10);
  EXPECT_NE(missing.error().description.find((scripts_ / "missing").string() + " could not be started"),
            std::string::npos)
      << missing.error().description;
  // A temporary folder that is a file: the error names it and says so.
  std::filesystem::remove_all(platform::temporaryFolder());
  ASSERT_TRUE(platform::writeFileAtomically(platform::temporaryFolder(), platform::Bytes{'x'}));
  const platform::Expected<platform::ArrayRef> read = readCorelDrawing(document, kSamples / "sample-x4.cdr");
  ASSERT_FALSE(read.ok());
  EXPECT_THAT(read.error().description,
              ::testing::HasSubstr(platform::temporaryFolder().string() + "\": Not a directory"));
  std::filesystem::remove(platform::temporaryFolder());
}

TEST_F(ConverterProcessTest, ThePicturesFolderIsGoneAfterASuccessfulRead) {
  useScript("echo picture > \"$2/A.bmp\"; test -f \"$2/A.bmp\" || exit 4; echo '<svg><rect width=\"3\" height=\"4\"/></svg>'");
  CMDocument document;
  const platform::Expected<platform::ArrayRef> read = readCorelDrawing(document, kSamples / "sample-x4.cdr");
  ASSERT_TRUE(read.ok()) << read.error().description;
  EXPECT_EQ(read.value()->size(), 1u);
  EXPECT_TRUE(temporary_.conversionFolders().empty());
}

}  // namespace
