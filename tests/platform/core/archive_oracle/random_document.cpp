#include "random_document.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace platform {
namespace {

using Entries = std::vector<std::pair<std::string, Value>>;

const std::vector<std::int64_t> kIntegers = {
    0, 1, -1, 42, 127, 128, 255, 256, -128, -129, 32767, 65535, 65536, 2147483647, -2147483648LL, 4294967295LL,
    4294967296LL, 4294967297LL, -4294967296LL, 9007199254740993LL, std::numeric_limits<std::int64_t>::max(),
    std::numeric_limits<std::int64_t>::min()};

const std::vector<double> kDoubles = {0.0,
                                      -0.0,
                                      1.0,
                                      -1.5,
                                      0.1,
                                      1.0 / 3.0,
                                      12.5,
                                      std::numeric_limits<double>::denorm_min(),
                                      -std::numeric_limits<double>::denorm_min(),
                                      std::numeric_limits<double>::min(),
                                      std::numeric_limits<double>::max(),
                                      std::numeric_limits<double>::lowest(),
                                      1e300,
                                      -1e-300,
                                      9007199254740993.0,
                                      std::numeric_limits<double>::infinity(),
                                      -std::numeric_limits<double>::infinity()};

const std::vector<float> kFloats = {0.0f,
                                    -0.0f,
                                    1.0f,
                                    -2.75f,
                                    0.1f,
                                    1.0f / 3.0f,
                                    std::numeric_limits<float>::denorm_min(),
                                    std::numeric_limits<float>::min(),
                                    std::numeric_limits<float>::max(),
                                    std::numeric_limits<float>::lowest(),
                                    16777216.0f,
                                    std::numeric_limits<float>::infinity()};

const std::vector<std::string> kStrings = {"",
                                           "plain",
                                           "名前",
                                           "Grüße 𝄞",
                                           "😀 and 🎨 outside the BMP",
                                           "{12.5, 40}",
                                           "{{0, 0}, {100.25, 50}}",
                                           "line\nbreak\ttab\rreturn",
                                           "quote \" and backslash \\",
                                           "Ünïcödé façade",
                                           std::string("zero\0byte", 9),
                                           "\x01\x1f control",
                                           "exactly fifteen",
                                           std::string(300, 'w'),
                                           "Ω≈ç√∫˜µ≤≥÷ 𝕏𝕐𝕑 long enough to need a length object"};

const std::vector<std::string> kShapeTypes = {"rectangle", "oval", "path", "text", "group", "image"};

class Chooser {
 public:
  explicit Chooser(std::uint64_t seed) : engine_(seed) {}

  std::size_t below(std::size_t count) { return static_cast<std::size_t>(engine_() % count); }
  bool coin() { return (engine_() & 1) != 0; }
  template <class T>
  const T& from(const std::vector<T>& pool) {
    return pool[below(pool.size())];
  }

  // Half the time an awkward value from the pool, else random bits (never NaN:
  // NaN is unequal to itself and cannot be checked for a round trip).
  std::int64_t integer() { return coin() ? from(kIntegers) : static_cast<std::int64_t>(engine_()); }
  double real64() {
    if (coin()) return from(kDoubles);
    double d;
    do d = std::bit_cast<double>(engine_());
    while (std::isnan(d));
    return d;
  }
  float real32() {
    if (coin()) return from(kFloats);
    float f;
    do f = std::bit_cast<float>(static_cast<std::uint32_t>(engine_()));
    while (std::isnan(f));
    return f;
  }
  Value anyReal() { return coin() ? Value::real32(real32()) : Value(real64()); }
  Value string() { return Value(from(kStrings)); }
  Value data() {
    static const std::vector<Bytes> kFixed = {{}, {0}, {0, 0, 0}, {0xff, 0x00, 0x80, 0x7f}};
    if (coin()) return Value(from(kFixed));
    Bytes bytes(below(coin() ? 40 : 300));
    for (auto& byte : bytes) byte = below(3) == 0 ? 0 : static_cast<std::uint8_t>(engine_());
    return Value(std::move(bytes));
  }
  Value scalar() {
    switch (below(6)) {
      case 0: return Value(coin());
      case 1: return Value(integer());
      case 2: return Value::real32(real32());
      case 3: return Value(real64());
      case 4: return string();
      default: return data();
    }
  }

  // Shuffled so that a reader or writer that sorts keys is caught.
  DictRef dictionary(Entries entries) {
    std::shuffle(entries.begin(), entries.end(), engine_);
    auto dictionary = Dictionary::make();
    for (auto& [key, value] : entries) dictionary->set(key, std::move(value));
    return dictionary;
  }

 private:
  std::mt19937_64 engine_;
};

DictRef makeStyle(Chooser& choose) {
  auto dash = Array::make();
  for (std::size_t i = choose.below(4); i > 0; --i) dash->add(choose.real64());
  return choose.dictionary({{"color", choose.string()},
                            {"opacity", Value::real32(choose.real32())},
                            {"width", choose.real64()},
                            {"enabled", choose.coin()},
                            {"dash", dash}});
}

ArrayRef makePoints(Chooser& choose) {
  auto points = Array::make();
  for (std::size_t i = choose.below(7); i > 0; --i) {
    points->add(choose.dictionary({{"x", choose.anyReal()},
                                   {"y", choose.anyReal()},
                                   {"kind", static_cast<std::int64_t>(choose.below(4))},
                                   {"smooth", choose.coin()}}));
  }
  return points;
}

DictRef makeShape(Chooser& choose, Value fill) {
  Entries entries = {{"type", choose.from(kShapeTypes)},
                     {"fill", std::move(fill)},
                     {"stroke", makeStyle(choose)},
                     {"points", makePoints(choose)},
                     {"closed", choose.coin()}};
  if (choose.coin()) entries.emplace_back("meta", Dictionary::make());
  return choose.dictionary(std::move(entries));
}

DictRef makeLayer(Chooser& choose, std::int64_t id, Value fill) {
  auto tags = Array::make();
  for (std::size_t i = choose.below(5); i > 0; --i) tags->add(choose.scalar());
  return choose.dictionary({{"id", id},
                            {"name", choose.string()},
                            {"visible", choose.coin()},
                            {"lock", choose.coin()},
                            {"x", choose.real64()},
                            {"y", choose.real64()},
                            {"alpha", Value::real32(choose.real32())},
                            {"rotate", Value::real32(choose.real32())},
                            {"blending_mode", choose.integer()},
                            {"tags", tags},
                            {"payload", choose.data()},
                            {"shape", makeShape(choose, std::move(fill))}});
}

}  // namespace

DictRef makeRandomDocument(std::uint64_t seed) {
  Chooser choose(seed);
  const DictRef sharedStyle = makeStyle(choose);
  const std::size_t layerCount = 2 + choose.below(4);
  const std::size_t sharingLayer = choose.below(layerCount);

  auto layers = Array::make();
  for (std::size_t i = 0; i < layerCount; ++i) {
    Value fill = i == sharingLayer ? Value(sharedStyle) : Value(makeStyle(choose));
    layers->add(makeLayer(choose, static_cast<std::int64_t>(i) + 1, std::move(fill)));
  }
  return choose.dictionary({{"名前", choose.string()},
                            {"Grüße 𝄞", choose.integer()},
                            {"", choose.coin()},
                            {"format", 3},
                            {"layers", layers},
                            {"sharedStyle", sharedStyle},
                            {"emptyDictionary", Dictionary::make()},
                            {"emptyArray", Array::make()},
                            {"preview", Value(Bytes{0, 0, 1, 0, 0xff, 0})},
                            {"scale32", Value::real32(choose.real32())},
                            {"scale64", choose.real64()}});
}

}  // namespace platform
