// The polygon text format: the exact text written, reading it back, and hostile input.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>

#include "geometry/polygon_text.h"

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// The text read through a memory stream, as a file would be.
bool readText(const std::string& text, bool holes, PolygonRecord& polygon) {
  File file(fmemopen(const_cast<char*>(text.data()), text.size(), "r"));
  return readPolygon(file.get(), holes, polygon);
}

std::string writtenText(const PolygonRecord& polygon, bool holes) {
  char* buffer = nullptr;
  std::size_t size = 0;
  std::FILE* file = open_memstream(&buffer, &size);
  EXPECT_TRUE(writePolygon(file, holes, polygon));
  std::fclose(file);
  std::string text(buffer, size);
  std::free(buffer);
  return text;
}

const PolygonRecord kUnitSquare{{{{0, 0}, {1, 0}, {1, 1}, {0, 1}}}, {0}};

TEST(PolygonText, TheUnitSquareWithFlagsIsWrittenOneItemPerLine) {
  const std::string text = writtenText(kUnitSquare, true);
  EXPECT_EQ(text,
            "1\n4\n0\n 0.000000000000000  0.000000000000000\n 1.000000000000000  0.000000000000000\n"
            " 1.000000000000000  1.000000000000000\n 0.000000000000000  1.000000000000000\n");
  PolygonRecord read;
  ASSERT_TRUE(readText(text, true, read));
  EXPECT_EQ(read, kUnitSquare);
}

TEST(PolygonText, WithoutFlagsEveryFlagReadsAsZero) {
  const PolygonRecord holes{{{{0, 0}, {4, 0}, {0, 4}}, {{1, 1}, {2, 1}, {1, 2}}}, {0, 1}};
  const std::string text = writtenText(holes, false);
  EXPECT_EQ(text.find("\n1\n"), std::string::npos);  // no flag lines
  PolygonRecord read;
  ASSERT_TRUE(readText(text, false, read));
  EXPECT_EQ(read.contours, holes.contours);
  EXPECT_EQ(read.holes, (std::vector<int>{0, 0}));
}

TEST(PolygonText, NegativeValuesKeepTheirSignAndEveryDigitThatIsWritten) {
  const PolygonRecord polygon{{{{-2.5, 1e-3}, {123456.125, -0.1}, {-0.0, 7}}, {}}, {3, 0}};
  const std::string text = writtenText(polygon, true);
  EXPECT_NE(text.find("-2.500000000000000  0.001000000000000\n"), std::string::npos);
  EXPECT_NE(text.find(" 123456.125000000000000 -0.100000000000000\n"), std::string::npos);
  EXPECT_NE(text.find("0\n0\n"), std::string::npos);  // the empty contour: no vertices, flag 0
  PolygonRecord read;
  ASSERT_TRUE(readText(text, true, read));
  EXPECT_EQ(read.holes, (std::vector<int>{3, 0}));
  ASSERT_EQ(read.contours.size(), 2u);
  EXPECT_TRUE(read.contours[1].empty());
  EXPECT_EQ(read.contours[0][0], (PolygonVertex{-2.5, 0.001}));
}

TEST(PolygonText, LooseWhitespaceAndSignsRead) {
  PolygonRecord read;
  ASSERT_TRUE(readText("  2\t3 +0 +1 -1  1.5e1 0\n2 2 \n\n 0 -7\n", true, read));
  ASSERT_EQ(read.contours.size(), 2u);
  EXPECT_EQ(read.contours[0], (PolygonContour{{1, -1}, {15, 0}, {2, 2}}));
  EXPECT_EQ(read.contours[1], (PolygonContour{}));
  EXPECT_EQ(read.holes, (std::vector<int>{0, -7}));
}

TEST(PolygonText, BadInputFailsAndLeavesThePolygonAlone) {
  const std::string cases[] = {
      "",                    // no count
      "x",                   // not a number
      "-1\n",                // negative contour count
      "1\n-3\n",             // negative vertex count
      "1\n2\n0 0\n1\n",      // a coordinate missing
      "1\n1\n0 nan\n",       // not a finite number
      "1\n1\n0 1e999\n",     // too large for a double
      "1\n1\n0 0.5.5\n",     // trailing rubbish
      "1\n1\n2.5 0 0\n",     // a flag that is not an integer
      "2147483647\n",        // more contours than the rest of the input could hold
      "1\n2147483647\n0\n",  // more vertices than that
      "1\n99999999999\n",    // beyond a 32-bit count
      "1\n3\n0 0 1 0 0 1 ",  // the flag read as a coordinate leaves one short
  };
  for (const std::string& text : cases) {
    SCOPED_TRACE(text);
    PolygonRecord polygon = kUnitSquare;
    EXPECT_FALSE(readText(text, true, polygon));
    EXPECT_EQ(polygon, kUnitSquare);
  }
}

// A pipe cannot be measured: the counts are believed but nothing is set aside for them.
TEST(PolygonText, AHugeCountOnAStreamThatCannotSeekFailsAtItsEnd) {
  int ends[2];
  ASSERT_EQ(pipe(ends), 0);
  const std::string text = "1\n2147483647\n0\n0 0\n1 1\n";
  ASSERT_EQ(write(ends[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
  close(ends[1]);
  File file(fdopen(ends[0], "r"));
  PolygonRecord polygon;
  EXPECT_FALSE(readPolygon(file.get(), true, polygon));
  EXPECT_TRUE(polygon.contours.empty());
}

TEST(PolygonText, ReadingStopsAtThePolygonsEnd) {
  File file(fmemopen(const_cast<char*>("1\n1\n0\n5 6\nnext"), 16, "r"));
  PolygonRecord polygon;
  ASSERT_TRUE(readPolygon(file.get(), true, polygon));
  char rest[8] = {};
  ASSERT_NE(std::fgets(rest, sizeof rest, file.get()), nullptr);
  EXPECT_STREQ(rest, "next");
}

}  // namespace
