#include "platform/core/keyed_archive.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <map>
#include <memory>
#include <new>
#include <random>
#include <set>
#include <string>

#include "captured_log.h"
#include "platform/core/binary_plist_writer.h"
#include "platform/core/property_list.h"
#include "property_list_test_support.h"

namespace platform {
namespace {

using Ref = BinaryPlistWriter::Ref;
using testing::bytesOf;
using testing::CapturedLog;
using testing::PlistNode;

// A document-like tree: document → layers → graphics, each graphic with a
// nested shape, a points array and a shared style.
Value makeDocument(unsigned seed) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> coordinate(-1000, 1000);
  DictRef sharedStyle = Dictionary::make({{"stroke", Value::real32(1.5)}, {"color", "#ff0000"}});
  ArrayRef layers = Array::make();
  for (int l = 0; l < 3; ++l) {
    ArrayRef graphics = Array::make();
    for (int g = 0; g < 4; ++g) {
      ArrayRef points = Array::make();
      for (int p = 0; p < 6; ++p) points->add(p % 2 ? Value::real32(coordinate(random)) : Value(coordinate(random)));
      graphics->add(Dictionary::make({
          {"class", g % 2 ? "Rectangle" : "Ellipse"},
          {"id", static_cast<std::int64_t>(random()) - (1LL << 31)},
          {"locked", g == 3},
          {"name", "Graphic \u2713 " + std::to_string(g)},
          {"shape", Dictionary::make({{"kind", g}, {"radius", coordinate(random)}, {"closed", true}})},
          {"points", points},
          {"style", sharedStyle},
          {"thumbnail", Value(Bytes{0, static_cast<std::uint8_t>(g), 0, 255})},
      }));
    }
    layers->add(
        Dictionary::make({{"name", "Layer " + std::to_string(l)}, {"graphics", graphics}, {"empty", Array::make()}}));
  }
  return Dictionary::make({{"version", 3}, {"title", "Gr\u00fc\u00dfe \U0001D11E"}, {"layers", layers}});
}

Value unarchived(const Bytes& archive) {
  auto value = unarchiveObjectWithData(archive);
  EXPECT_TRUE(value.ok()) << (value ? "" : value.error().description);
  return value ? value.value() : Value();
}

void expectArchiveError(const Bytes& data, const std::string& why) {
  auto result = unarchiveObjectWithData(data);
  EXPECT_FALSE(result.ok()) << why << ": read as " << (result ? result.value().description() : "");
  if (!result) {
    EXPECT_FALSE(result.error().description.empty()) << why;
  }
}

// Builds archives entry by entry with the plain binary writer, so the reader
// is tested on input the archiver did not make.
class ArchiveBuilder {
 public:
  ArchiveBuilder() { entries_.push_back(writer.addString("$null")); }

  ArchiveUid add(Ref ref) {
    entries_.push_back(ref);
    return entries_.size() - 1;
  }
  ArchiveUid reserve() { return add(0); }
  void set(ArchiveUid uid, Ref ref) { entries_[uid] = ref; }

  Ref string(std::string_view text) { return writer.addString(text); }
  Ref uid(ArchiveUid uid) { return writer.addUid(uid); }
  Ref uids(std::initializer_list<ArchiveUid> list) {
    std::vector<Ref> refs;
    for (ArchiveUid u : list) refs.push_back(writer.addUid(u));
    return writer.addArray(refs);
  }
  Ref dictionary(std::initializer_list<std::pair<std::string_view, Ref>> fields) {
    std::vector<BinaryPlistWriter::Entry> entries;
    for (const auto& [key, value] : fields) entries.push_back({writer.addString(key), value});
    return writer.addDictionary(entries);
  }
  ArchiveUid classEntry(std::string_view name) {
    const Ref names[] = {writer.addString(name), writer.addString("NSObject")};
    return add(dictionary({{"$classname", names[0]}, {"$classes", writer.addArray(names)}}));
  }

  // rootField: the object stored as "root" in "$top".
  Bytes finishWithRootField(Ref rootField, std::string_view archiver = "NSKeyedArchiver") {
    const Ref top = dictionary({{"root", rootField}});
    const Ref objects = writer.addArray(entries_);
    return writer.finish(dictionary({{"$archiver", string(archiver)},
                                     {"$version", writer.addInteger(100000)},
                                     {"$top", top},
                                     {"$objects", objects}}));
  }
  Bytes finish(ArchiveUid root) { return finishWithRootField(uid(root)); }

  BinaryPlistWriter writer;

 private:
  std::vector<Ref> entries_;
};

// --- libplist's view of our archives -----------------------------------------

plist_t item(plist_t dictionary, const char* key) { return plist_dict_get_item(dictionary, key); }

std::uint64_t uidOf(plist_t node) {
  std::uint64_t uid = ~std::uint64_t{0};
  if (node && plist_get_node_type(node) == PLIST_UID) plist_get_uid_val(node, &uid);
  return uid;
}

std::string stringOf(plist_t node) {
  if (!node || plist_get_node_type(node) != PLIST_STRING) return "<not a string>";
  std::uint64_t length = 0;
  const char* text = plist_get_string_ptr(node, &length);
  return std::string(text, length);
}

// A minimal independent decoder of the property-list classes over libplist's
// reading, for checking what the archiver wrote.
Value decodeWithLibplist(plist_t objects, std::uint64_t uid) {
  if (uid == 0 || uid >= plist_array_get_size(objects)) return Value();
  plist_t entry = plist_array_get_item(objects, static_cast<std::uint32_t>(uid));
  switch (plist_get_node_type(entry)) {
    case PLIST_STRING: return stringOf(entry);
    case PLIST_BOOLEAN: {
      std::uint8_t b = 0;
      plist_get_bool_val(entry, &b);
      return b != 0;
    }
    case PLIST_UINT: {
      std::uint64_t u = 0;
      plist_get_uint_val(entry, &u);
      return static_cast<std::int64_t>(u);
    }
    case PLIST_REAL: {
      double d = 0;
      plist_get_real_val(entry, &d);
      return d;
    }
    case PLIST_DATA: {
      std::uint64_t length = 0;
      const char* bytes = plist_get_data_ptr(entry, &length);
      return Value::data(bytes, length);
    }
    case PLIST_DICT: {
      const std::string className = stringOf(
          item(plist_array_get_item(objects, static_cast<std::uint32_t>(uidOf(item(entry, "$class")))), "$classname"));
      plist_t values = item(entry, "NS.objects");
      if (className == "NSMutableArray") {
        ArrayRef array = Array::make();
        for (std::uint32_t i = 0; i < plist_array_get_size(values); ++i) {
          array->add(decodeWithLibplist(objects, uidOf(plist_array_get_item(values, i))));
        }
        return array;
      }
      if (className == "NSMutableDictionary") {
        plist_t keys = item(entry, "NS.keys");
        DictRef dictionary = Dictionary::make();
        for (std::uint32_t i = 0; i < plist_array_get_size(keys); ++i) {
          const Value key = decodeWithLibplist(objects, uidOf(plist_array_get_item(keys, i)));
          dictionary->set(key.string(), decodeWithLibplist(objects, uidOf(plist_array_get_item(values, i))));
        }
        return dictionary;
      }
      return Value();
    }
    default: return Value();
  }
}

TEST(KeyedArchiveWriter, WritesTheKeyedArchiveLayout) {
  const Value document = makeDocument(1);
  const Bytes archive = archivedDataWithRootObject(document);
  PlistNode top = testing::libplistFromBinary(archive);
  ASSERT_TRUE(top);
  ASSERT_EQ(plist_get_node_type(top.get()), PLIST_DICT);

  std::vector<std::string> keys;
  plist_dict_iter iterator = nullptr;
  plist_dict_new_iter(top.get(), &iterator);
  for (;;) {
    char* key = nullptr;
    plist_t value = nullptr;
    plist_dict_next_item(top.get(), iterator, &key, &value);
    if (!value) break;
    keys.emplace_back(key);
    std::free(key);
  }
  std::free(iterator);
  EXPECT_EQ(keys, (std::vector<std::string>{"$archiver", "$version", "$top", "$objects"}));
  EXPECT_EQ(stringOf(item(top.get(), "$archiver")), "NSKeyedArchiver");
  std::uint64_t version = 0;
  plist_get_uint_val(item(top.get(), "$version"), &version);
  EXPECT_EQ(version, 100000u);
  EXPECT_EQ(uidOf(item(item(top.get(), "$top"), "root")), 1u);
  plist_t objects = item(top.get(), "$objects");
  ASSERT_TRUE(objects);
  EXPECT_EQ(stringOf(plist_array_get_item(objects, 0)), "$null");

  // One class entry per class, with its chain.
  std::map<std::string, int> classEntries;
  for (std::uint32_t i = 0; i < plist_array_get_size(objects); ++i) {
    plist_t entry = plist_array_get_item(objects, i);
    if (plist_get_node_type(entry) != PLIST_DICT || !item(entry, "$classname")) continue;
    const std::string name = stringOf(item(entry, "$classname"));
    ++classEntries[name];
    plist_t chain = item(entry, "$classes");
    ASSERT_EQ(plist_array_get_size(chain), 3u) << name;
    EXPECT_EQ(stringOf(plist_array_get_item(chain, 0)), name);
    EXPECT_EQ(stringOf(plist_array_get_item(chain, 2)), "NSObject");
  }
  EXPECT_EQ(classEntries, (std::map<std::string, int>{{"NSMutableArray", 1}, {"NSMutableDictionary", 1}}));

  // Read independently of our unarchiver, the archive holds the document.
  EXPECT_TRUE(decodeWithLibplist(objects, 1).isEqual(document));
}

TEST(KeyedArchiveWriter, WritesEachStringOnce) {
  ArrayRef array = Array::make();
  for (int i = 0; i < 50; ++i) array->add(Dictionary::make({{"repeated-key", "repeated-value"}}));
  const Bytes archive = archivedDataWithRootObject(array);
  for (std::string_view text : {"repeated-key", "repeated-value", "NS.keys", "$class"}) {
    // The ASCII string object: its marker holds the length (all under 15 here).
    Bytes object{static_cast<std::uint8_t>(0x50 | text.size())};
    object.insert(object.end(), text.begin(), text.end());
    std::size_t count = 0;
    for (auto it = archive.begin();
         (it = std::search(it, archive.end(), object.begin(), object.end())) != archive.end(); ++it) {
      ++count;
    }
    EXPECT_EQ(count, 1u) << text;
  }
}

// --- round trips -------------------------------------------------------------

TEST(KeyedArchiveRoundTrip, KeepsADocumentTree) {
  for (unsigned seed : {1u, 2u, 3u}) {
    const Value document = makeDocument(seed);
    const Value back = unarchived(archivedDataWithRootObject(document));
    EXPECT_TRUE(back.isEqual(document)) << "seed " << seed;
    // Real widths survive: the points alternate 64- and 32-bit.
    const ArrayRef points =
        back.dictionary()->array("layers")->at(2).dictionary()->array("graphics")->at(3).dictionary()->array("points");
    ASSERT_TRUE(points);
    EXPECT_FALSE(points->at(0).isReal32());
    EXPECT_TRUE(points->at(1).isReal32());
  }
}

TEST(KeyedArchiveRoundTrip, KeepsSharedContainersShared) {
  const Value document = makeDocument(4);
  UnarchiveReport report;
  const Value back = unarchiveObjectWithData(archivedDataWithRootObject(document), report).value();
  EXPECT_TRUE(report.sharesContainers);
  const ArrayRef layers = back.dictionary()->array("layers");
  ASSERT_TRUE(layers);
  const DictRef first = layers->at(0).dictionary()->array("graphics")->at(0).dictionary()->dictionary("style");
  const DictRef last = layers->at(2).dictionary()->array("graphics")->at(3).dictionary()->dictionary("style");
  ASSERT_TRUE(first);
  EXPECT_EQ(first, last);
  // Separately made but equal containers stay separate.
  const DictRef shapeA = layers->at(0).dictionary()->array("graphics")->at(0).dictionary()->dictionary("shape");
  const DictRef shapeB = layers->at(0).dictionary()->array("graphics")->at(1).dictionary()->dictionary("shape");
  EXPECT_NE(shapeA, shapeB);
}

TEST(KeyedArchiveRoundTrip, KeepsSharingAmongThousandsOfContainers) {
  // Enough instances that the writer's table of them grows several times.
  const DictRef shared = Dictionary::make({{"color", "#102030"}});
  const ArrayRef list = Array::make();
  for (int k = 0; k < 6000; ++k) list->add(k % 100 == 0 ? shared : Dictionary::make({{"id", k}}));
  const ArrayRef back = unarchived(archivedDataWithRootObject(list)).array();
  ASSERT_TRUE(back);
  EXPECT_TRUE(back->isEqual(*list));
  std::set<const Dictionary*> distinct;
  for (const Value& element : *back) distinct.insert(element.dictionary().get());
  EXPECT_EQ(distinct.size(), 6000u - 59u);
}

TEST(KeyedArchiveRoundTrip, ReportsSharingOnlyOfContainers) {
  // Equal strings are one entry of the archive, reached from both places; that is no sharing to report.
  const Value tree = Dictionary::make({{"a", Array::make({"same", Dictionary::make({{"b", "same"}})})},
                                       {"c", Dictionary::make({{"d", Array::make()}})}});
  UnarchiveReport report{.nilObjects = 3, .sharesContainers = true};
  ASSERT_TRUE(unarchiveObjectWithData(archivedDataWithRootObject(tree), report));
  EXPECT_FALSE(report.sharesContainers);
  EXPECT_EQ(report.nilObjects, 0u);
}

TEST(KeyedArchiveRoundTrip, KeepsScalarRootsAndNil) {
  for (const Value& root : {Value("text"), Value(-7), Value::real32(0.3), Value(true), Value(Bytes{1, 0, 2})}) {
    const Value back = unarchived(archivedDataWithRootObject(root));
    EXPECT_TRUE(back.isEqual(root)) << root.description();
    EXPECT_EQ(back.isReal32(), root.isReal32());
  }
  EXPECT_TRUE(unarchived(archivedDataWithRootObject(Value())).isNil());
}

TEST(KeyedArchiveRoundTrip, SurvivesATripThroughXml) {
  const Value document = makeDocument(5);
  auto list = propertyListFromData(archivedDataWithRootObject(document));
  ASSERT_TRUE(list.ok());
  auto xml = dataFromPropertyList(list.value(), PropertyListFormat::Xml);
  ASSERT_TRUE(xml.ok());
  EXPECT_NE(std::string(xml.value().begin(), xml.value().end()).find("<key>CF$UID</key>"), std::string::npos);
  EXPECT_TRUE(unarchived(xml.value()).isEqual(document));
}

TEST(KeyedArchiveRoundTrip, DropsWhatCannotBeArchivedWithAWarning) {
  CapturedLog log;
  DictRef loop = Dictionary::make({{"x", 1}});
  loop->set("self", loop);
  const Value back = unarchived(archivedDataWithRootObject(loop));
  loop->removeAll();
  EXPECT_TRUE(back.isEqual(Dictionary::make({{"x", 1}}))) << back.description();
  EXPECT_EQ(log.warnings().size(), 1u);

  // Nesting: the archive keeps as many levels as the reader accepts.
  ArrayRef nested = Array::make();
  for (int i = 1; i < 600; ++i) nested = Array::make({Value(nested)});
  const Value deep = unarchived(archivedDataWithRootObject(nested));
  std::size_t depth = 0;
  for (Value level = deep; level.isArray(); level = level.array()->at(0)) ++depth;
  EXPECT_EQ(depth, kPropertyListDepthLimit);
  EXPECT_EQ(log.warnings().size(), 2u);
}

// --- class coders --------------------------------------------------------------

class PointHolder : public Object {
 public:
  PointHolder(double x, float y, DictRef info) : x(x), y(y), info(std::move(info)) {}
  std::string_view className() const noexcept override { return "TestPointHolder"; }
  double x;
  float y;
  DictRef info;
};

class PointHolderCoder : public ClassCoder {
 public:
  std::vector<std::string> decodedClassNames() const override { return {"TestPointHolder"}; }
  std::vector<std::string> classChain() const override { return {"TestPointHolder", "TestShape", "NSObject"}; }
  void encode(const Value& value, KeyedEncoder& encoder) const override {
    const auto& point = static_cast<const PointHolder&>(*value.object());
    encoder.encode("x", point.x);
    encoder.encode("y", point.y);
    encoder.encode("info", point.info);
    // A key outside ASCII is stored as UTF-16.
    encoder.encode("\u00e9tiquette", "\u2713");
  }
  Expected<Value> decode(KeyedDecoder& decoder) const override {
    if (!decoder.contains("x") || decoder.contains("z")) return Error::make("test", 1, "unexpected keys");
    auto x = decoder.decode("x");
    auto y = decoder.decode("y");
    auto info = decoder.decode("info");
    auto label = decoder.decode("\u00e9tiquette");
    if (!x || !y || !info || !label) return Error::make("test", 2, "undecodable field");
    if (label.value().string() != "\u2713") return Error::make("test", 4, "label lost");
    if (!x.value().isReal() || !y.value().isReal32()) return Error::make("test", 3, "wrong number kinds");
    return Value(ObjectRef(
        std::make_shared<PointHolder>(x.value().doubleValue(), y.value().floatValue(), info.value().dictionary())));
  }
};

class Unregistered : public Object {
 public:
  std::string_view className() const noexcept override { return "TestUnregistered"; }
};

TEST(KeyedArchiveClassCoders, RoundTripAnObjectOfTheProgramsOwn) {
  registerClassCoder(std::make_shared<PointHolderCoder>());
  auto point =
      std::make_shared<PointHolder>(0.1, 2.5f, Dictionary::make({{"label", "corner"}, {"tags", Array::make({"a"})}}));
  auto other = std::make_shared<PointHolder>(-3.0, 0.1f, Dictionary::make());
  const Value root = Array::make({Value(ObjectRef(point)), Value(ObjectRef(point)), Value(ObjectRef(other))});
  const Bytes archive = archivedDataWithRootObject(root);

  PlistNode top = testing::libplistFromBinary(archive);
  ASSERT_TRUE(top);
  plist_t objects = item(top.get(), "$objects");
  int pointClasses = 0;
  for (std::uint32_t i = 0; i < plist_array_get_size(objects); ++i) {
    plist_t entry = plist_array_get_item(objects, i);
    if (plist_get_node_type(entry) == PLIST_DICT && stringOf(item(entry, "$classname")) == "TestPointHolder") {
      ++pointClasses;
      EXPECT_EQ(stringOf(plist_array_get_item(item(entry, "$classes"), 1)), "TestShape");
    }
  }
  EXPECT_EQ(pointClasses, 1);

  const Value back = unarchived(archive);
  ASSERT_TRUE(back.isArray());
  ASSERT_EQ(back.array()->size(), 3u);
  EXPECT_TRUE(back.array()->at(0).isIdentical(back.array()->at(1)));
  const auto* first = dynamic_cast<const PointHolder*>(back.array()->at(0).object().get());
  const auto* second = dynamic_cast<const PointHolder*>(back.array()->at(2).object().get());
  ASSERT_TRUE(first && second);
  EXPECT_EQ(first->x, 0.1);
  EXPECT_EQ(first->y, 2.5f);
  EXPECT_TRUE(Value(first->info).isEqual(Value(point->info)));
  EXPECT_EQ(second->x, -3.0);
  EXPECT_EQ(second->y, 0.1f);
}

TEST(KeyedArchiveClassCoders, ArchiveAnObjectWithoutACoderAsNil) {
  CapturedLog log;
  const Value root = Dictionary::make({{"kept", 1}, {"dropped", Value(ObjectRef(std::make_shared<Unregistered>()))}});
  const Value back = unarchived(archivedDataWithRootObject(root));
  EXPECT_TRUE(back.isEqual(Dictionary::make({{"kept", 1}}))) << back.description();
  ASSERT_EQ(log.warnings().size(), 1u);
  EXPECT_NE(log.warnings()[0].find("TestUnregistered"), std::string::npos);
}

// One block of memory handed out again as soon as it is free: a container made in it and dropped gives the next one
// its address on every allocator (the sanitizers' quarantine included).
struct ReusedBlock {
  alignas(std::max_align_t) static inline unsigned char bytes[256];
  static inline bool inUse = false;
};

template <class T>
struct ReusingAllocator {
  using value_type = T;
  ReusingAllocator() = default;
  template <class U>
  ReusingAllocator(const ReusingAllocator<U>&) noexcept {}
  T* allocate(std::size_t n) {
    if (ReusedBlock::inUse || n * sizeof(T) > sizeof(ReusedBlock::bytes)) {
      return static_cast<T*>(::operator new(n * sizeof(T)));
    }
    ReusedBlock::inUse = true;
    return reinterpret_cast<T*>(ReusedBlock::bytes);
  }
  void deallocate(T* p, std::size_t) noexcept {
    if (reinterpret_cast<unsigned char*>(p) == ReusedBlock::bytes) {
      ReusedBlock::inUse = false;
    } else {
      ::operator delete(p);
    }
  }
  template <class U>
  bool operator==(const ReusingAllocator<U>&) const noexcept {
    return true;
  }
};

// An object whose coder archives a list it makes for the occasion and drops when its encode returns, as a coder
// of the program's own classes may.
class NumberedHolder : public Object {
 public:
  explicit NumberedHolder(int number) : number(number) {}
  std::string_view className() const noexcept override { return "TestNumberedHolder"; }
  int number;
};

class NumberedHolderCoder : public ClassCoder {
 public:
  std::vector<std::string> decodedClassNames() const override { return {"TestNumberedHolder"}; }
  std::vector<std::string> classChain() const override { return {"TestNumberedHolder", "NSObject"}; }
  void encode(const Value& value, KeyedEncoder& encoder) const override {
    const int number = static_cast<const NumberedHolder&>(*value.object()).number;
    auto list = std::allocate_shared<Array>(ReusingAllocator<Array>());
    list->add(number);
    list->add("holder " + std::to_string(number));
    encoder.encode("list", Value(ArrayRef(list)));
  }
  Expected<Value> decode(KeyedDecoder& decoder) const override {
    auto list = decoder.decode("list");
    if (!list || !list.value().isArray()) return Error::make("test", 1, "no list");
    return Value(ObjectRef(std::make_shared<NumberedHolder>(list.value().array()->at(0).intValue())));
  }
};

TEST(KeyedArchiveClassCoders, ContainersACoderMadeForTheOccasionKeepTheirOwnEntries) {
  registerClassCoder(std::make_shared<NumberedHolderCoder>());
  constexpr int kHolders = 6;
  ArrayRef holders = Array::make();
  for (int i = 0; i < kHolders; ++i) holders->add(Value(ObjectRef(std::make_shared<NumberedHolder>(i))));
  const Bytes archive = archivedDataWithRootObject(Value(holders));
  EXPECT_FALSE(ReusedBlock::inUse);

  // libplist's reading: each holder's entry refers to a list of its own, holding its own number.
  PlistNode top = testing::libplistFromBinary(archive);
  ASSERT_TRUE(top);
  plist_t objects = item(top.get(), "$objects");
  plist_t root = plist_array_get_item(objects, static_cast<std::uint32_t>(uidOf(item(item(top.get(), "$top"), "root"))));
  plist_t elements = item(root, "NS.objects");
  ASSERT_EQ(plist_array_get_size(elements), static_cast<std::uint32_t>(kHolders));
  std::set<std::uint64_t> listEntries;
  for (int i = 0; i < kHolders; ++i) {
    SCOPED_TRACE(i);
    plist_t holder = plist_array_get_item(objects, static_cast<std::uint32_t>(uidOf(plist_array_get_item(elements, i))));
    const std::uint64_t list = uidOf(item(holder, "list"));
    listEntries.insert(list);
    const Value read = decodeWithLibplist(objects, list);
    EXPECT_TRUE(read.isEqual(Array::make({i, "holder " + std::to_string(i)}))) << read.description();
  }
  EXPECT_EQ(listEntries.size(), static_cast<std::size_t>(kHolders));

  // Our reader agrees.
  const Value back = unarchived(archive);
  ASSERT_TRUE(back.isArray());
  ASSERT_EQ(back.array()->size(), static_cast<std::size_t>(kHolders));
  for (int i = 0; i < kHolders; ++i) {
    EXPECT_EQ(dynamic_cast<const NumberedHolder&>(*back.array()->at(i).object()).number, i);
  }
}

// --- hand-built archives ----------------------------------------------------------

TEST(KeyedArchiveReader, ReadsFoundationsClassesAndForms) {
  ArchiveBuilder b;
  const ArchiveUid root = b.reserve();
  const ArchiveUid dictionaryClass = b.classEntry("NSDictionary");
  const ArchiveUid arrayClass = b.classEntry("NSArray");
  const ArchiveUid stringClass = b.classEntry("NSMutableString");
  const ArchiveUid dataClass = b.classEntry("NSMutableData");
  const ArchiveUid keyText = b.add(b.string("text"));
  const ArchiveUid keyBytes = b.add(b.string("bytes"));
  const ArchiveUid keyList = b.add(b.string("list"));
  const ArchiveUid keyNothing = b.add(b.string("nothing"));
  const ArchiveUid text =
      b.add(b.dictionary({{"NS.string", b.string("mutable \u2713")}, {"$class", b.uid(stringClass)}}));
  const Ref rawBytes = b.writer.addData(Bytes{9, 0, 8});
  const ArchiveUid bytes = b.add(b.dictionary({{"NS.data", rawBytes}, {"$class", b.uid(dataClass)}}));
  const ArchiveUid real32 = b.add(b.writer.addReal(0.1, true));
  const ArchiveUid real64 = b.add(b.writer.addReal(0.1, false));
  const ArchiveUid list =
      b.add(b.dictionary({{"NS.objects", b.uids({real32, 0, real64, text})}, {"$class", b.uid(arrayClass)}}));
  b.set(root, b.dictionary({{"NS.keys", b.uids({keyText, keyBytes, keyList, keyNothing})},
                            {"NS.objects", b.uids({text, bytes, list, 0})},
                            {"$class", b.uid(dictionaryClass)}}));
  const Value value = unarchived(b.finish(root));
  const Value expected = Dictionary::make({{"text", "mutable \u2713"},
                                           {"bytes", Value(Bytes{9, 0, 8})},
                                           {"list", Array::make({Value::real32(0.1), 0.1, "mutable \u2713"})}});
  EXPECT_TRUE(value.isEqual(expected)) << value.description();
  ASSERT_TRUE(value.isDictionary());
  EXPECT_EQ(value.dictionary()->keys(), (std::vector<std::string>{"text", "bytes", "list"}));
  const ArrayRef read = value.dictionary()->array("list");
  ASSERT_TRUE(read);
  EXPECT_TRUE(read->at(0).isReal32());
  EXPECT_EQ(read->at(0).floatValue(), 0.1f);
  EXPECT_FALSE(read->at(1).isReal32());
}

TEST(KeyedArchiveReader, ReadsAnUnknownClassAsNilWithAWarning) {
  CapturedLog log;
  ArchiveBuilder b;
  const ArchiveUid root = b.reserve();
  const ArchiveUid dictionaryClass = b.classEntry("NSMutableDictionary");
  const ArchiveUid imageClass = b.classEntry("NSImage");
  const ArchiveUid image = b.add(b.dictionary({{"NSSize", b.string("{1, 2}")}, {"$class", b.uid(imageClass)}}));
  const ArchiveUid other = b.add(b.dictionary({{"$class", b.uid(imageClass)}}));
  const ArchiveUid keyA = b.add(b.string("picture"));
  const ArchiveUid keyB = b.add(b.string("kept"));
  const ArchiveUid keyC = b.add(b.string("another"));
  const ArchiveUid kept = b.add(b.writer.addInteger(5));
  b.set(root, b.dictionary({{"NS.keys", b.uids({keyA, keyB, keyC})},
                            {"NS.objects", b.uids({image, kept, other})},
                            {"$class", b.uid(dictionaryClass)}}));
  const Value value = unarchived(b.finish(root));
  EXPECT_TRUE(value.isEqual(Dictionary::make({{"kept", 5}}))) << value.description();
  ASSERT_FALSE(log.warnings().empty());
  EXPECT_NE(log.warnings()[0].find("NSImage"), std::string::npos) << log.warnings()[0];
}

TEST(KeyedArchiveReader, ReadsAnXmlArchive) {
  const std::string text = R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict>
  <key>$archiver</key><string>NSKeyedArchiver</string>
  <key>$version</key><integer>100000</integer>
  <key>$top</key><dict><key>root</key><dict><key>CF$UID</key><integer>1</integer></dict></dict>
  <key>$objects</key><array>
    <string>$null</string>
    <dict>
      <key>NS.objects</key><array>
        <dict><key>CF$UID</key><integer>3</integer></dict>
        <dict><key>CF$UID</key><integer>4</integer></dict>
      </array>
      <key>$class</key><dict><key>CF$UID</key><integer>2</integer></dict>
    </dict>
    <dict><key>$classname</key><string>NSArray</string></dict>
    <string>one</string>
    <integer>2</integer>
  </array>
</dict></plist>)";
  EXPECT_TRUE(unarchived(bytesOf(text)).isEqual(Array::make({"one", 2})));
}

// --- broken archives ----------------------------------------------------------------

TEST(KeyedArchiveReader, RejectsEveryTruncation) {
  const Bytes archive = archivedDataWithRootObject(makeDocument(6));
  for (std::size_t length = 0; length < archive.size(); length += 97) {
    expectArchiveError(Bytes(archive.begin(), archive.begin() + static_cast<std::ptrdiff_t>(length)),
                       "truncated to " + std::to_string(length));
  }
}

TEST(KeyedArchiveReader, RejectsWhatIsNotAKeyedArchive) {
  auto plain = dataFromPropertyList(Array::make({1, 2}), PropertyListFormat::Binary);
  ASSERT_TRUE(plain.ok());
  expectArchiveError(plain.value(), "a plain array");
  expectArchiveError(bytesOf("<plist"), "broken XML");
  {
    ArchiveBuilder b;
    expectArchiveError(b.finishWithRootField(b.uid(1), "NSSomethingElse"), "another archiver");
  }
  {
    ArchiveBuilder b;
    expectArchiveError(b.finishWithRootField(b.string("root")), "a root that is not a UID");
  }
  {
    ArchiveBuilder b;
    b.add(b.string("only"));
    expectArchiveError(b.finish(ArchiveUid{2}), "root UID past the end");
  }
  {
    BinaryPlistWriter w;
    const BinaryPlistWriter::Entry fields[] = {{w.addString("$archiver"), w.addString("NSKeyedArchiver")},
                                               {w.addString("$objects"), w.addString("not a list")}};
    expectArchiveError(w.finish(w.addDictionary(fields)), "$objects not an array");
  }
}

TEST(KeyedArchiveReader, RejectsReferenceCyclesAndDeepNesting) {
  {
    ArchiveBuilder b;
    const ArchiveUid root = b.reserve();
    const ArchiveUid dictionaryClass = b.classEntry("NSDictionary");
    const ArchiveUid key = b.add(b.string("self"));
    b.set(root, b.dictionary(
                    {{"NS.keys", b.uids({key})}, {"NS.objects", b.uids({root})}, {"$class", b.uid(dictionaryClass)}}));
    expectArchiveError(b.finish(root), "a dictionary containing itself");
  }
  {
    ArchiveBuilder b;
    const ArchiveUid first = b.reserve();
    const ArchiveUid second = b.reserve();
    const ArchiveUid arrayClass = b.classEntry("NSArray");
    b.set(first, b.dictionary({{"NS.objects", b.uids({second})}, {"$class", b.uid(arrayClass)}}));
    b.set(second, b.dictionary({{"NS.objects", b.uids({first})}, {"$class", b.uid(arrayClass)}}));
    expectArchiveError(b.finish(first), "two arrays containing each other");
  }
  auto nested = [](std::size_t depth) {
    ArchiveBuilder b;
    const ArchiveUid arrayClass = b.classEntry("NSArray");
    ArchiveUid inner = b.add(b.dictionary({{"NS.objects", b.uids({})}, {"$class", b.uid(arrayClass)}}));
    for (std::size_t i = 1; i < depth; ++i) {
      inner = b.add(b.dictionary({{"NS.objects", b.uids({inner})}, {"$class", b.uid(arrayClass)}}));
    }
    return b.finish(inner);
  };
  EXPECT_TRUE(unarchiveObjectWithData(nested(kPropertyListDepthLimit)).ok());
  expectArchiveError(nested(kPropertyListDepthLimit + 1), "one level too deep");
  expectArchiveError(nested(10000), "10,000 levels deep");
}

TEST(KeyedArchiveReader, RejectsFieldsOfTheWrongType) {
  // Each case builds a dictionary entry as root with one thing wrong.
  struct Case {
    const char* why;
    std::function<Ref(ArchiveBuilder&, ArchiveUid dictionaryClass, ArchiveUid key, ArchiveUid value)> root;
  };
  const Case cases[] = {
      {"NS.keys not an array",
       [](ArchiveBuilder& b, ArchiveUid c, ArchiveUid, ArchiveUid v) {
         return b.dictionary({{"NS.keys", b.string("k")}, {"NS.objects", b.uids({v})}, {"$class", b.uid(c)}});
       }},
      {"NS.objects missing",
       [](ArchiveBuilder& b, ArchiveUid c, ArchiveUid k, ArchiveUid) {
         return b.dictionary({{"NS.keys", b.uids({k})}, {"$class", b.uid(c)}});
       }},
      {"more keys than objects",
       [](ArchiveBuilder& b, ArchiveUid c, ArchiveUid k, ArchiveUid v) {
         return b.dictionary({{"NS.keys", b.uids({k, k})}, {"NS.objects", b.uids({v})}, {"$class", b.uid(c)}});
       }},
      {"a key that is not a string",
       [](ArchiveBuilder& b, ArchiveUid c, ArchiveUid, ArchiveUid v) {
         return b.dictionary({{"NS.keys", b.uids({v})}, {"NS.objects", b.uids({v})}, {"$class", b.uid(c)}});
       }},
      {"a nil key",
       [](ArchiveBuilder& b, ArchiveUid c, ArchiveUid, ArchiveUid v) {
         return b.dictionary({{"NS.keys", b.uids({0})}, {"NS.objects", b.uids({v})}, {"$class", b.uid(c)}});
       }},
      {"NS.objects holding an integer, not a UID",
       [](ArchiveBuilder& b, ArchiveUid c, ArchiveUid k, ArchiveUid) {
         const Ref inline5[] = {b.writer.addInteger(5)};
         return b.dictionary(
             {{"NS.keys", b.uids({k})}, {"NS.objects", b.writer.addArray(inline5)}, {"$class", b.uid(c)}});
       }},
      {"a UID out of range inside",
       [](ArchiveBuilder& b, ArchiveUid c, ArchiveUid k, ArchiveUid) {
         return b.dictionary({{"NS.keys", b.uids({k})}, {"NS.objects", b.uids({999})}, {"$class", b.uid(c)}});
       }},
      {"$class missing",
       [](ArchiveBuilder& b, ArchiveUid, ArchiveUid k, ArchiveUid v) {
         return b.dictionary({{"NS.keys", b.uids({k})}, {"NS.objects", b.uids({v})}});
       }},
      {"$class not a UID",
       [](ArchiveBuilder& b, ArchiveUid, ArchiveUid k, ArchiveUid v) {
         return b.dictionary(
             {{"NS.keys", b.uids({k})}, {"NS.objects", b.uids({v})}, {"$class", b.string("NSDictionary")}});
       }},
      {"$class pointing at a string",
       [](ArchiveBuilder& b, ArchiveUid, ArchiveUid k, ArchiveUid v) {
         return b.dictionary({{"NS.keys", b.uids({k})}, {"NS.objects", b.uids({v})}, {"$class", b.uid(k)}});
       }},
      {"$class pointing at $null",
       [](ArchiveBuilder& b, ArchiveUid, ArchiveUid k, ArchiveUid v) {
         return b.dictionary({{"NS.keys", b.uids({k})}, {"NS.objects", b.uids({v})}, {"$class", b.uid(0)}});
       }},
      {"$classname not a string",
       [](ArchiveBuilder& b, ArchiveUid, ArchiveUid k, ArchiveUid v) {
         const ArchiveUid badClass = b.add(b.dictionary({{"$classname", b.writer.addInteger(1)}}));
         return b.dictionary({{"NS.keys", b.uids({k})}, {"NS.objects", b.uids({v})}, {"$class", b.uid(badClass)}});
       }},
      {"an entry's key that is not a string",
       [](ArchiveBuilder& b, ArchiveUid c, ArchiveUid k, ArchiveUid v) {
         std::vector<BinaryPlistWriter::Entry> fields{
             {b.string("NS.keys"), b.uids({k})}, {b.writer.addInteger(3), b.uids({v})}, {b.string("$class"), b.uid(c)}};
         return b.writer.addDictionary(fields);
       }},
      {"NSString without a string",
       [](ArchiveBuilder& b, ArchiveUid, ArchiveUid, ArchiveUid) {
         const ArchiveUid stringClass = b.classEntry("NSString");
         return b.dictionary({{"NS.string", b.writer.addInteger(1)}, {"$class", b.uid(stringClass)}});
       }},
      {"an inline dictionary as a field",
       [](ArchiveBuilder& b, ArchiveUid, ArchiveUid, ArchiveUid) {
         const ArchiveUid stringClass = b.classEntry("NSString");
         return b.dictionary({{"NS.string", b.dictionary({})}, {"$class", b.uid(stringClass)}});
       }},
  };
  for (const Case& c : cases) {
    ArchiveBuilder b;
    const ArchiveUid root = b.reserve();
    const ArchiveUid dictionaryClass = b.classEntry("NSDictionary");
    const ArchiveUid key = b.add(b.string("k"));
    const ArchiveUid value = b.add(b.writer.addInteger(1));
    b.set(root, c.root(b, dictionaryClass, key, value));
    expectArchiveError(b.finish(root), c.why);
  }
  // The same builder with nothing wrong reads fine.
  ArchiveBuilder b;
  const ArchiveUid root = b.reserve();
  const ArchiveUid dictionaryClass = b.classEntry("NSDictionary");
  const ArchiveUid key = b.add(b.string("k"));
  const ArchiveUid value = b.add(b.writer.addInteger(1));
  b.set(root, b.dictionary(
                  {{"NS.keys", b.uids({key})}, {"NS.objects", b.uids({value})}, {"$class", b.uid(dictionaryClass)}}));
  EXPECT_TRUE(unarchived(b.finish(root)).isEqual(Dictionary::make({{"k", 1}})));
}

}  // namespace
}  // namespace platform
