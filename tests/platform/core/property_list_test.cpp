#include "platform/core/property_list.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "platform/core/binary_plist_writer.h"
#include "platform/core/files.h"
#include "property_list_test_support.h"
#include "scratch_folder.h"

namespace platform {
namespace {

using testing::appendBigEndian;
using testing::bytesOf;
using testing::RawPlist;

constexpr std::string_view kMusic = "Gr\u00fc\u00dfe \u2713 \U0001D11E";

// A tree with every kind of value, including the awkward edges of each.
Value everyKind() {
  Bytes withZeros{0, 1, 0, 255, 0};
  return Dictionary::make({
      {"true", true},
      {"false", false},
      {"zero", 0},
      {"byte", 255},
      {"twoBytes", 256},
      {"fourBytes", 65536},
      {"largestUnsigned32", std::int64_t{4294967295}},
      {"eightBytes", std::int64_t{4294967296}},
      {"minusOne", -1},
      {"min", std::numeric_limits<std::int64_t>::min()},
      {"max", std::numeric_limits<std::int64_t>::max()},
      {"real64", 0.1},
      {"real32", Value::real32(0.1)},
      {"huge", 1e300},
      {"negative32", Value::real32(-2.75)},
      {"ascii", "plain"},
      {"music", kMusic},
      {"long", std::string(300, 'x')},
      {"empty", ""},
      {"data", Value(withZeros)},
      {"noData", Value(Bytes{})},
      {"emptyArray", Array::make()},
      {"emptyDictionary", Dictionary::make()},
      {"nested", Array::make({1, "two", Dictionary::make({{"three", 3.5}}), Array::make({Value::real32(4.0f)})})},
  });
}

Value roundTrip(const Value& value, PropertyListFormat format) {
  auto data = dataFromPropertyList(value, format);
  EXPECT_TRUE(data.ok()) << (data ? "" : data.error().description);
  if (!data) return {};
  auto back = propertyListFromData(data.value());
  EXPECT_TRUE(back.ok()) << (back ? "" : back.error().description);
  return back ? back.value() : Value();
}

Bytes binaryOf(const Value& value) {
  auto data = dataFromPropertyList(value, PropertyListFormat::Binary);
  EXPECT_TRUE(data.ok());
  return data ? data.value() : Bytes();
}

// The bytes of the single object in a one-object binary list.
Bytes onlyObject(const Bytes& list) {
  const std::uint64_t tableOffset = testing::readTrailerField(list, testing::kTrailerTableOffset);
  return Bytes(list.begin() + 8, list.begin() + static_cast<std::ptrdiff_t>(tableOffset));
}

void expectReadError(const Bytes& data, const std::string& why) {
  auto result = propertyListFromData(data);
  EXPECT_FALSE(result.ok()) << why << ": read as " << (result ? result.value().description() : "");
  if (!result) {
    EXPECT_EQ(result.error().domain, Error::cocoaDomain) << why;
    EXPECT_FALSE(result.error().description.empty()) << why;
  }
}

std::size_t occurrences(const Bytes& haystack, std::string_view needle) {
  std::size_t count = 0;
  for (std::size_t i = 0; i + needle.size() <= haystack.size(); ++i) {
    if (std::equal(needle.begin(), needle.end(), haystack.begin() + static_cast<std::ptrdiff_t>(i))) ++count;
  }
  return count;
}

// --- round trips -----------------------------------------------------------

TEST(PropertyListRoundTrip, BinaryKeepsEveryKindAndRealWidths) {
  const Value original = everyKind();
  const Value back = roundTrip(original, PropertyListFormat::Binary);
  ASSERT_TRUE(back.isDictionary());
  EXPECT_TRUE(back.isEqual(original)) << back.description();
  const Dictionary& d = *back.dictionary();
  EXPECT_TRUE(d.get("real32").isReal32());
  EXPECT_EQ(d.get("real32").floatValue(), 0.1f);
  EXPECT_TRUE(d.get("negative32").isReal32());
  EXPECT_FALSE(d.get("real64").isReal32());
  EXPECT_EQ(d.get("real64").doubleValue(), 0.1);
  EXPECT_TRUE(d.array("nested")->at(3).array()->at(0).isReal32());
  EXPECT_EQ(d.get("music").string(), kMusic);
  EXPECT_EQ(d.get("data").data(), (Bytes{0, 1, 0, 255, 0}));
  EXPECT_EQ(d.get("min").integerValue(), std::numeric_limits<std::int64_t>::min());
  EXPECT_EQ(d.keys(), original.dictionary()->keys());
}

TEST(PropertyListRoundTrip, XmlKeepsEveryKindWithRealsAs64Bit) {
  const Value original = everyKind();
  const Value back = roundTrip(original, PropertyListFormat::Xml);
  ASSERT_TRUE(back.isDictionary());
  EXPECT_TRUE(back.isEqual(original)) << back.description();
  const Dictionary& d = *back.dictionary();
  EXPECT_FALSE(d.get("real32").isReal32());
  EXPECT_EQ(d.get("real32").floatValue(), 0.1f);
  EXPECT_EQ(d.get("real64").doubleValue(), 0.1);
  EXPECT_EQ(d.get("music").string(), kMusic);
  EXPECT_EQ(d.keys(), original.dictionary()->keys());
}

TEST(PropertyListRoundTrip, XmlOutputIsAStandardPlistDocument) {
  auto xml = dataFromPropertyList(Array::make({1, "a<b"}), PropertyListFormat::Xml);
  ASSERT_TRUE(xml.ok());
  const std::string text(xml.value().begin(), xml.value().end());
  EXPECT_TRUE(text.starts_with("<?xml version=\"1.0\" encoding=\"UTF-8\"?>")) << text;
  EXPECT_NE(text.find("<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\""), std::string::npos) << text;
  EXPECT_NE(text.find("<string>a&lt;b</string>"), std::string::npos) << text;
}

TEST(PropertyListRoundTrip, FilesAreWrittenAndReadInBothFormats) {
  testing::ScratchFolder folder;
  const Value original = everyKind();
  for (auto format : {PropertyListFormat::Xml, PropertyListFormat::Binary}) {
    const auto path = folder / (format == PropertyListFormat::Xml ? "list.plist" : "list.bplist");
    ASSERT_TRUE(writePropertyListFile(path, original, format).ok());
    auto back = readPropertyListFile(path);
    ASSERT_TRUE(back.ok()) << back.error().description;
    EXPECT_TRUE(back.value().isEqual(original));
  }
  EXPECT_FALSE(readPropertyListFile(folder / "missing.plist").ok());
  EXPECT_FALSE(writePropertyListFile(folder / "bad.plist", Value(), PropertyListFormat::Xml).ok());
  EXPECT_FALSE(std::filesystem::exists(folder / "bad.plist"));
}

// --- the binary form itself ------------------------------------------------

TEST(BinaryPropertyListWriter, IsReadByLibplistToTheSameValues) {
  const Value original = everyKind();
  auto node = testing::libplistFromBinary(binaryOf(original));
  ASSERT_TRUE(node);
  EXPECT_TRUE(testing::matchesLibplist(node.get(), original));
}

TEST(BinaryPropertyListWriter, WritesIntegersInTheSmallestWidth) {
  struct Case {
    std::int64_t value;
    Bytes expected;
  };
  const Case cases[] = {
      {0, {0x10, 0x00}},
      {255, {0x10, 0xFF}},
      {256, {0x11, 0x01, 0x00}},
      {65535, {0x11, 0xFF, 0xFF}},
      {65536, {0x12, 0x00, 0x01, 0x00, 0x00}},
      {4294967295, {0x12, 0xFF, 0xFF, 0xFF, 0xFF}},
      {4294967296, {0x13, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00}},
      {-1, {0x13, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
      {-256, {0x13, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00}},
  };
  for (const Case& c : cases) EXPECT_EQ(onlyObject(binaryOf(c.value)), c.expected) << c.value;
}

TEST(BinaryPropertyListWriter, WritesRealsInTheirOwnWidth) {
  EXPECT_EQ(onlyObject(binaryOf(Value::real32(1.5))), (Bytes{0x22, 0x3F, 0xC0, 0x00, 0x00}));
  EXPECT_EQ(onlyObject(binaryOf(1.5)), (Bytes{0x23, 0x3F, 0xF8, 0, 0, 0, 0, 0, 0}));
}

TEST(BinaryPropertyListWriter, WritesAsciiAsBytesAndTheRestAsUtf16) {
  EXPECT_EQ(onlyObject(binaryOf("abc")), (Bytes{0x53, 'a', 'b', 'c'}));
  // U+00FC is one unit; U+1D11E is the surrogate pair D834 DD1E.
  EXPECT_EQ(onlyObject(binaryOf("\u00fc\U0001D11E")), (Bytes{0x63, 0x00, 0xFC, 0xD8, 0x34, 0xDD, 0x1E}));
  // Fifteen and more: the count follows as an integer object.
  Bytes fifteen{0x5F, 0x10, 15};
  fifteen.insert(fifteen.end(), 15, 'q');
  EXPECT_EQ(onlyObject(binaryOf(std::string(15, 'q'))), fifteen);
  // Malformed UTF-8 is written as U+FFFD rather than dropped: a stray byte, an
  // overlong "/", a surrogate encoded directly, a sequence cut short.
  EXPECT_EQ(onlyObject(binaryOf(std::string("a\xFF"))), (Bytes{0x62, 0x00, 'a', 0xFF, 0xFD}));
  EXPECT_EQ(onlyObject(binaryOf(std::string("\xC0\xAF"))), (Bytes{0x61, 0xFF, 0xFD}));
  EXPECT_EQ(onlyObject(binaryOf(std::string("\xED\xA0\x80"))), (Bytes{0x61, 0xFF, 0xFD}));
  EXPECT_EQ(onlyObject(binaryOf(std::string("\xE2\x9C"))), (Bytes{0x61, 0xFF, 0xFD}));
}

TEST(BinaryPropertyListWriter, WritesEachStringOnceAndSharedContainersOnce) {
  ArrayRef shared = Array::make({"inner-marker"});
  ArrayRef array = Array::make();
  for (int i = 0; i < 100; ++i) array->add("repeated-marker");
  array->add(shared);
  array->add(shared);
  const Bytes list = binaryOf(Value(array));
  EXPECT_EQ(occurrences(list, "repeated-marker"), 1u);
  EXPECT_EQ(occurrences(list, "inner-marker"), 1u);
  auto back = propertyListFromData(list);
  ASSERT_TRUE(back.ok());
  EXPECT_TRUE(back.value().isEqual(Value(array)));
  // Both uses of the shared array read back as one instance.
  EXPECT_TRUE(back.value().array()->at(100).isIdentical(back.value().array()->at(101)));
}

TEST(BinaryPropertyListWriter, WritesUidDictionariesAsUids) {
  const Value uid = Dictionary::make({{"CF$UID", 7}});
  EXPECT_EQ(onlyObject(binaryOf(uid)), (Bytes{0x80, 7}));
  EXPECT_EQ(onlyObject(binaryOf(Dictionary::make({{"CF$UID", 4294967295}}))), (Bytes{0x83, 0xFF, 0xFF, 0xFF, 0xFF}));
  auto back = propertyListFromData(binaryOf(uid));
  ASSERT_TRUE(back.ok());
  EXPECT_TRUE(back.value().isEqual(uid));
  // Anything else shaped a little differently stays a dictionary.
  for (const Value& notUid : {Value(Dictionary::make({{"CF$UID", "7"}})), Value(Dictionary::make({{"CF$UID", -1}})),
                              Value(Dictionary::make({{"CF$UID", 7}, {"other", 1}}))}) {
    auto node = testing::libplistFromBinary(binaryOf(notUid));
    ASSERT_TRUE(node);
    EXPECT_EQ(plist_get_node_type(node.get()), PLIST_DICT) << notUid.description();
    auto read = propertyListFromData(binaryOf(notUid));
    ASSERT_TRUE(read.ok());
    EXPECT_TRUE(read.value().isEqual(notUid));
  }
}

TEST(BinaryPropertyListWriter, RefusesWhatHasNoPropertyListForm) {
  struct Point : Object {
    std::string_view className() const noexcept override { return "TestPoint"; }
  };
  DictRef loop = Dictionary::make();
  loop->set("self", loop);
  ArrayRef tooDeep = Array::make();
  for (std::size_t i = 0; i < kPropertyListDepthLimit; ++i) tooDeep = Array::make({Value(tooDeep)});
  for (auto format : {PropertyListFormat::Binary, PropertyListFormat::Xml}) {
    EXPECT_FALSE(dataFromPropertyList(Value(), format).ok());
    EXPECT_FALSE(dataFromPropertyList(Array::make({Value(ObjectRef(std::make_shared<Point>()))}), format).ok());
    EXPECT_FALSE(dataFromPropertyList(Value(loop), format).ok());
    EXPECT_FALSE(dataFromPropertyList(Value(tooDeep), format).ok());
    // One level less is fine.
    EXPECT_TRUE(dataFromPropertyList(tooDeep->at(0), format).ok());
  }
  loop->removeAll();
  // XML cannot carry NUL; binary can.
  const Value withNul = std::string("a\0b", 3);
  EXPECT_FALSE(dataFromPropertyList(withNul, PropertyListFormat::Xml).ok());
  const Value back = roundTrip(withNul, PropertyListFormat::Binary);
  EXPECT_EQ(back.string(), std::string("a\0b", 3));
}

TEST(PropertyListWriter, XmlRefusesToExpandHeavilySharedTrees) {
  // Forty levels of arrays each holding the next one twice: 2^40 elements
  // written out in XML, 41 objects in binary.
  ArrayRef level = Array::make({1});
  for (int i = 0; i < 40; ++i) level = Array::make({Value(level), Value(level)});
  EXPECT_FALSE(dataFromPropertyList(Value(level), PropertyListFormat::Xml).ok());
  auto binary = dataFromPropertyList(Value(level), PropertyListFormat::Binary);
  ASSERT_TRUE(binary.ok());
  EXPECT_LT(binary.value().size(), 1000u);
}

// --- reading hand-made binary lists ----------------------------------------

TEST(BinaryPropertyListReader, ReadsTheLessCommonObjects) {
  // Sixteen-byte integers that fit in 64 bits, negative and positive.
  Bytes minusTwo{0x14};
  appendBigEndian(minusTwo, ~std::uint64_t{0}, 8);
  appendBigEndian(minusTwo, static_cast<std::uint64_t>(-2), 8);
  Bytes five{0x14};
  appendBigEndian(five, 0, 8);
  appendBigEndian(five, 5, 8);
  // 2001-01-01 plus 86400.5 seconds.
  Bytes date{0x33};
  appendBigEndian(date, std::bit_cast<std::uint64_t>(86400.5), 8);
  RawPlist list{{
      {0xA7, 1, 2, 3, 4, 5, 6, 7},
      minusTwo,
      five,
      date,
      {0x81, 0x01, 0x02},                         // UID 258
      {0x62, 0xD8, 0x34, 0x00, 'x'},              // a high surrogate without its low half
      {0x63, 0xDC, 0x00, 0x00, 'y', 0xD8, 0x00},  // a lone low surrogate, and a high one at the end
      {0x00},                                     // null, skipped in an array
  }};
  auto value = propertyListFromData(list.bytes());
  ASSERT_TRUE(value.ok()) << value.error().description;
  const Array& array = *value.value().array();
  ASSERT_EQ(array.size(), 6u);
  EXPECT_EQ(array.at(0).integerValue(), -2);
  EXPECT_EQ(array.at(1).integerValue(), 5);
  EXPECT_TRUE(array.at(2).isReal());
  EXPECT_EQ(array.at(2).doubleValue(), 86400.5);
  EXPECT_TRUE(array.at(3).isEqual(Dictionary::make({{"CF$UID", 258}})));
  EXPECT_EQ(array.at(4).string(), "\uFFFDx");
  EXPECT_EQ(array.at(5).string(), "\uFFFDy\uFFFD");
}

TEST(BinaryPropertyListReader, ANullValueDropsItsKey) {
  RawPlist list{{{0xD2, 1, 2, 3, 4}, {0x51, 'a'}, {0x51, 'b'}, {0x00}, {0x09}}};
  auto value = propertyListFromData(list.bytes());
  ASSERT_TRUE(value.ok()) << value.error().description;
  EXPECT_TRUE(value.value().isEqual(Dictionary::make({{"b", true}})));
}

TEST(BinaryPropertyListReader, SharedObjectsAreDecodedOnce) {
  // A chain of arrays each holding the next one twice: 2^60 paths, 61 objects.
  constexpr int kLevels = 60;
  RawPlist list;
  for (int i = 0; i < kLevels; ++i)
    list.objects.push_back({0xA2, static_cast<std::uint8_t>(i + 1), static_cast<std::uint8_t>(i + 1)});
  list.objects.push_back({0x10, 42});
  auto value = propertyListFromData(list.bytes());
  ASSERT_TRUE(value.ok()) << value.error().description;
  Value level = value.value();
  for (int i = 0; i < kLevels; ++i) {
    ASSERT_TRUE(level.isArray());
    ASSERT_EQ(level.array()->size(), 2u);
    EXPECT_TRUE(level.array()->at(0).isIdentical(level.array()->at(1)));
    level = level.array()->at(0);
  }
  EXPECT_EQ(level.integerValue(), 42);
}

TEST(BinaryPropertyListReader, AcceptsNestingUpToTheLimit) {
  auto nested = [](std::size_t depth) {
    BinaryPlistWriter writer;
    BinaryPlistWriter::Ref ref = writer.addArray({});
    for (std::size_t i = 1; i < depth; ++i) {
      const BinaryPlistWriter::Ref inner[] = {ref};
      ref = writer.addArray(inner);
    }
    return writer.finish(ref);
  };
  EXPECT_TRUE(propertyListFromData(nested(kPropertyListDepthLimit)).ok());
  expectReadError(nested(kPropertyListDepthLimit + 1), "one level too deep");
  expectReadError(nested(10000), "10,000 levels deep");
}

// --- broken binary lists ---------------------------------------------------

TEST(BinaryPropertyListReader, RejectsEveryTruncation) {
  const Bytes list = binaryOf(everyKind());
  for (std::size_t length = 0; length < list.size(); length += 97) {
    expectReadError(Bytes(list.begin(), list.begin() + static_cast<std::ptrdiff_t>(length)),
                    "truncated to " + std::to_string(length));
  }
  expectReadError(Bytes(list.begin(), list.end() - 1), "last byte cut");
}

TEST(BinaryPropertyListReader, RejectsBrokenHeadersAndTrailers) {
  const Bytes good = binaryOf(Array::make({1, "two", 3.0}));
  ASSERT_TRUE(propertyListFromData(good).ok());

  Bytes badMagic = good;
  badMagic[7] = '1';
  expectReadError(badMagic, "bplist01 is read as XML and is not XML");

  auto corrupt = [&](std::size_t field, std::uint64_t value, const std::string& why) {
    Bytes list = good;
    testing::writeTrailerField(list, field, value);
    expectReadError(list, why);
  };
  const std::uint64_t count = testing::readTrailerField(good, testing::kTrailerObjectCount);
  corrupt(testing::kTrailerObjectCount, 0, "no objects");
  corrupt(testing::kTrailerObjectCount, good.size(), "more objects than bytes");
  corrupt(testing::kTrailerObjectCount, ~std::uint64_t{0}, "absurd count");
  corrupt(testing::kTrailerTopIndex, count, "top index past the table");
  corrupt(testing::kTrailerTableOffset, good.size(), "offset table past the end");
  corrupt(testing::kTrailerTableOffset, 3, "offset table inside the header");
  corrupt(testing::kTrailerTableOffset, ~std::uint64_t{0} - 2, "offset table offset that overflows");

  for (std::uint8_t size : {0, 9}) {
    Bytes list = good;
    list[list.size() - testing::kTrailerOffsetSize] = size;
    expectReadError(list, "offset size " + std::to_string(size));
    list = good;
    list[list.size() - testing::kTrailerReferenceSize] = size;
    expectReadError(list, "reference size " + std::to_string(size));
  }
}

TEST(BinaryPropertyListReader, RejectsBadOffsetsAndReferences) {
  const RawPlist good{{{0xA1, 1}, {0x10, 1}}};
  ASSERT_TRUE(propertyListFromData(good.bytes()).ok());

  // Offsets are the two-byte entries just before the trailer.
  Bytes list = good.bytes();
  const std::size_t table = list.size() - 32 - 4;
  std::swap(list[table], list[table + 1]);  // 0x0008 flipped to 0x0800
  expectReadError(list, "offset flipped past the object area");
  list = good.bytes();
  list[table + 3] = 2;
  expectReadError(list, "offset into the header");

  expectReadError(RawPlist{{{0xA1, 2}, {0x10, 1}}}.bytes(), "array element past the table");
  expectReadError(RawPlist{{{0xD1, 1, 5}, {0x51, 'k'}}}.bytes(), "dictionary value past the table");
  expectReadError(RawPlist{{{0xD1, 1, 1}, {0x10, 1}}}.bytes(), "integer dictionary key");
  expectReadError(RawPlist{{{0xA1, 0}}}.bytes(), "array containing itself");
  expectReadError(RawPlist{{{0xA1, 1}, {0xD1, 2, 0}, {0x51, 'k'}}}.bytes(),
                  "array and dictionary containing each other");
  expectReadError(RawPlist{{{0x58, 'a', 'b'}}}.bytes(), "string longer than the object area");
  expectReadError(RawPlist{{{0x4F, 0x13, 0x7F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}}}.bytes(), "huge data length");
  expectReadError(RawPlist{{{0xAF, 0x12, 0xFF, 0xFF, 0xFF, 0xFF}}}.bytes(), "huge array length");
  expectReadError(RawPlist{{{0x6F, 0x51, 'x'}}}.bytes(), "count that is not an integer");
  expectReadError(RawPlist{{{0x13, 0x01}}}.bytes(), "eight-byte integer cut short");
  expectReadError(RawPlist{{{0x00}}}.bytes(), "a null top object");
}

TEST(BinaryPropertyListReader, RejectsUnknownAndUnrepresentableObjects) {
  Bytes tooWide{0x14};
  appendBigEndian(tooWide, 1, 8);
  appendBigEndian(tooWide, 0, 8);
  expectReadError(RawPlist{{tooWide}}.bytes(), "sixteen-byte integer past 64 bits");
  Bytes unsignedPastSigned{0x14};
  appendBigEndian(unsignedPastSigned, 0, 8);
  appendBigEndian(unsignedPastSigned, std::uint64_t{1} << 63, 8);
  expectReadError(RawPlist{{unsignedPastSigned}}.bytes(), "2^63 as a sixteen-byte integer");
  expectReadError(RawPlist{{{0x15, 0, 0}}}.bytes(), "32-byte integer marker");
  expectReadError(RawPlist{{{0x21, 0, 0}}}.bytes(), "two-byte real");
  expectReadError(RawPlist{{{0x52, 'a', 0xC3}}}.bytes(), "ASCII string with a high byte");
  expectReadError(RawPlist{{{0x88, 0, 0, 0, 0, 0, 0, 0, 0, 1}}}.bytes(), "nine-byte UID");
  for (std::uint8_t marker : {0x01, 0x0F, 0x70, 0x90, 0xB0, 0xC0, 0xE0, 0xF0}) {
    expectReadError(RawPlist{{{marker, 0, 0, 0}}}.bytes(), "marker " + std::to_string(marker));
  }
}

// --- XML -------------------------------------------------------------------

TEST(XmlPropertyListReader, ReadsAHandWrittenList) {
  const std::string text = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0">
<dict>
  <key>name</key><string>Gr&#xFC;&#223;e &amp; more</string>
  <key>count</key><integer>-12</integer>
  <key>scale</key><real>2.5</real>
  <key>flags</key><array><true/><false/></array>
  <key>bytes</key><data>AAEC/w==</data>
  <key>when</key><date>2001-01-02T00:00:00Z</date>
  <key>uid</key><dict><key>CF$UID</key><integer>4</integer></dict>
  <key>none</key><dict/>
</dict>
</plist>)";
  auto value = propertyListFromData(bytesOf(text));
  ASSERT_TRUE(value.ok()) << value.error().description;
  const Value expected = Dictionary::make({
      {"name", "Gr\u00fc\u00dfe & more"},
      {"count", -12},
      {"scale", 2.5},
      {"flags", Array::make({true, false})},
      {"bytes", Value(Bytes{0, 1, 2, 255})},
      {"when", 86400.0},
      {"uid", Dictionary::make({{"CF$UID", 4}})},
      {"none", Dictionary::make()},
  });
  EXPECT_TRUE(value.value().isEqual(expected)) << value.value().description();
  EXPECT_EQ(value.value().dictionary()->keys(), expected.dictionary()->keys());
}

TEST(XmlPropertyListReader, ReplacesMalformedUtf8) {
  const std::string text =
      "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>k\xE2</key><string>a\xFF\xC3(b</string></dict></plist>";
  auto value = propertyListFromData(bytesOf(text));
  ASSERT_TRUE(value.ok()) << value.error().description;
  EXPECT_TRUE(value.value().isEqual(Dictionary::make({{"k\uFFFD", "a\uFFFD\uFFFD(b"}}))) << value.value().description();
}

TEST(XmlPropertyListReader, RejectsMalformedAndDeeplyNestedText) {
  expectReadError(bytesOf(""), "empty");
  expectReadError(bytesOf("not a property list"), "plain text");
  expectReadError(bytesOf("<dict>"), "an open tag alone");
  expectReadError(bytesOf("<?xml version=\"1.0\"?><plist version=\"1.0\"><array><string>open"), "unterminated");
  expectReadError(bytesOf("<?xml version=\"1.0\"?><plist version=\"1.0\"><bogus/></plist>"), "unknown element");

  auto nested = [](std::size_t depth, std::string_view open, std::string_view close) {
    std::string text = "<?xml version=\"1.0\"?><plist version=\"1.0\">";
    for (std::size_t i = 0; i < depth; ++i) text += open;
    for (std::size_t i = 0; i < depth; ++i) text += close;
    return bytesOf(text + "</plist>");
  };
  EXPECT_TRUE(propertyListFromData(nested(kPropertyListDepthLimit, "<array>", "</array>")).ok());
  expectReadError(nested(kPropertyListDepthLimit + 1, "<array>", "</array>"), "one array level too deep");
  expectReadError(nested(10000, "<array>", "</array>"), "10,000 arrays deep");
  expectReadError(nested(10000, "<dict><key>k</key>", "</dict>"), "10,000 dictionaries deep");
  // Empty elements open nothing, however many there are.
  std::string flat = "<?xml version=\"1.0\"?><plist version=\"1.0\"><array>";
  for (int i = 0; i < 2000; ++i) flat += "<array/><dict/>";
  EXPECT_TRUE(propertyListFromData(bytesOf(flat + "</array></plist>")).ok());
}

}  // namespace
}  // namespace platform
