#include "ui/VDGradientRecords.h"

#include <algorithm>
#include <cmath>

namespace VDGradientRecords {

namespace {

using platform::Array;
using platform::ArrayRef;
using platform::Dictionary;
using platform::DictRef;
using platform::Value;

constexpr const char* kShapeKeys[] = {"type", "angle", "radius_factor", "fx", "fy"};
constexpr const char* kStopKeys[] = {"pos", "mix", "red", "green", "blue"};
constexpr float kFarthestNeighbour = 10.0F;

float position(const DictRef& stop) { return number(stop, "pos"); }

DictRef stopCopy(const DictRef& stop) {
  DictRef copy = Dictionary::make();
  for (const char* key : {"pos", "red", "green", "blue", "mix"}) copy->set(key, number(stop, key));
  return copy;
}

ArrayRef stopCopies(const DictRef& gradient) {
  ArrayRef markers = Array::make();
  for (const DictRef& stop : stopsOf(gradient)) markers->add(stopCopy(stop));
  return markers;
}

struct Stop {
  float pos, red, green, blue;
};

DictRef builtIn(std::initializer_list<Stop> stops) {
  ArrayRef markers = Array::make();
  for (const Stop& stop : stops)
    markers->add(Dictionary::make(
        {{"pos", stop.pos}, {"red", stop.red}, {"green", stop.green}, {"blue", stop.blue}, {"mix", 0.5F}}));
  return Dictionary::make({{"type", 0}, {"angle", 0}, {"markers", markers}});
}

}  // namespace

float number(const DictRef& record, const char* key) {
  const float value = record ? record->get(key).floatValue() : 0.0F;
  return std::isfinite(value) ? value : 0.0F;
}

std::vector<DictRef> stopsOf(const DictRef& gradient) {
  std::vector<DictRef> stops;
  if (const ArrayRef markers = gradient ? gradient->array("markers") : nullptr)
    for (const Value& entry : *markers)
      if (DictRef stop = entry.dictionary()) stops.push_back(std::move(stop));
  return stops;
}

std::vector<DictRef> sortedStops(const DictRef& gradient) {
  std::vector<DictRef> stops = stopsOf(gradient);
  std::stable_sort(stops.begin(), stops.end(),
                   [](const DictRef& a, const DictRef& b) { return position(a) < position(b); });
  return stops;
}

std::vector<std::size_t> rightNeighbours(const std::vector<DictRef>& sorted) {
  // Sorted, the nearest stop at or past a stop is the first other one of its own position, else the first of the
  // next position: one pass over the runs of equal positions.
  const std::size_t n = sorted.size();
  std::vector<std::size_t> neighbours(n, kNoNeighbour);
  std::size_t runStart = 0;
  while (runStart < n) {
    const float pos = position(sorted[runStart]);
    std::size_t runEnd = runStart + 1;
    while (runEnd < n && position(sorted[runEnd]) == pos) ++runEnd;
    for (std::size_t i = runStart; i < runEnd; ++i) {
      if (runEnd - runStart >= 2) {
        neighbours[i] = i == runStart ? runStart + 1 : runStart;
      } else if (runEnd < n && position(sorted[runEnd]) - pos < kFarthestNeighbour) {
        neighbours[i] = runEnd;
      }
    }
    runStart = runEnd;
  }
  return neighbours;
}

float handlePosition(const DictRef& stop, const DictRef& neighbour) {
  const float pos = position(stop);
  return pos + (position(neighbour) - pos) * number(stop, "mix");
}

float newStopPosition(const DictRef& gradient) {
  const std::vector<DictRef> sorted = sortedStops(gradient);
  float p = 0;
  for (std::size_t i = 1; i < sorted.size(); ++i) {
    const float a = position(sorted[i - 1]);
    const float b = position(sorted[i]);
    if (a != b) p = a + (b - a) * 0.5F;
  }
  return p;
}

DictRef addStop(const DictRef& gradient) {
  ArrayRef markers = gradient->array("markers");
  if (!markers) {
    markers = Array::make();
    gradient->set("markers", markers);
  }
  DictRef stop = Dictionary::make(
      {{"pos", newStopPosition(gradient)}, {"red", 1.0F}, {"green", 1.0F}, {"blue", 1.0F}, {"mix", 0.5F}});
  markers->add(stop);
  return stop;
}

void deleteStop(const DictRef& gradient, const DictRef& stop) {
  if (const ArrayRef markers = gradient ? gradient->array("markers") : nullptr) markers->remove(Value(stop));
}

bool isEqualGradient(const DictRef& a, const DictRef& b) {
  for (const char* key : kShapeKeys)
    if (number(a, key) != number(b, key)) return false;
  const std::vector<DictRef> first = stopsOf(a);
  const std::vector<DictRef> second = stopsOf(b);
  if (first.size() != second.size()) return false;
  for (std::size_t i = 0; i < first.size(); ++i)
    for (const char* key : kStopKeys)
      if (number(first[i], key) != number(second[i], key)) return false;
  return true;
}

void copyGradient(const DictRef& record, const DictRef& source) {
  if (!record) return;
  for (const char* key : kShapeKeys) {
    const Value* value = source ? source->find(key) : nullptr;
    if (value) {
      record->set(key, platform::deepCopy(*value));
    } else {
      record->remove(key);
    }
  }
  record->set("markers", stopCopies(source));
}

DictRef newGradientFrom(const DictRef& source) {
  DictRef made = Dictionary::make();
  if (!source) {
    made->set("markers", Array::make());
    return made;
  }
  copyGradient(made, source);
  return made;
}

ArrayRef builtInGradients() {
  ArrayRef list = Array::make({
      builtIn({{0, 0, 0, 0}, {1, 1, 1, 1}}),
      builtIn({{0, 1, 0, 0}, {1, 1, 1, 1}}),
      builtIn({{0, 0, 1, 0.3F}, {1, 1, 1, 0}}),
      builtIn({{0, 0, 1, 1}, {1, 0, 1, 0}}),
      builtIn({{0, 0.3F, 0.7F, 0}, {1, 0, 0.3F, 0.1F}}),
      builtIn({{0, 0.1F, 0.2F, 0.3F}, {1, 0.3F, 0.2F, 0.1F}}),
      builtIn({{0, 0.5F, 1, 0.5F}, {1, 1, 0.5F, 1}}),
      builtIn({{0, 1, 0.5F, 0.5F}, {1, 1, 0.5F, 1}}),
      builtIn({{0, 0.8F, 1, 0.1F}, {1, 1, 1, 0.3F}}),
      builtIn({{0, 0, 1, 1}, {1, 1, 0.5F, 0.5F}}),
      builtIn({{0, 0.5F, 1.4F, 0.3F}, {0.5F, 1.5F, 0.5F, 1}, {1, 0.4F, 0.5F, 1}}),
      builtIn({{0, 0.23F, 0, 0.456F}, {1, 0.76F, 0.56F, 0.5F}}),
      builtIn({{0, 0.333F, 0, 0.111F}, {1, 0.777F, 0.555F, 0}}),
      builtIn({{0, 0.888F, 0, 0}, {1, 0.666F, 0.5F, 0.5F}}),
      builtIn({{0, 0.888F, 0.777F, 0.666F}, {1, 0.666F, 0.777F, 0.888F}}),
      builtIn({{0, 0.222F, 0.888F, 0.333F}, {1, 0.888F, 0.111F, 0.555F}}),
      builtIn({{0, 0.333F, 0.444F, 0.333F}, {1, 0.666F, 0.777F, 0.666F}}),
      builtIn({{0, 0.555F, 0.444F, 0.666F}, {1, 0.222F, 0.444F, 0.555F}}),
  });
  // Only the first has focal values.
  const DictRef first = list->at(0).dictionary();
  first->set("fx", 0);
  first->set("fy", 0);
  return list;
}

ArrayRef storedGradients(const Value& stored) {
  const ArrayRef list = stored.array();
  if (!list) return nullptr;
  ArrayRef gradients = Array::make();
  for (const Value& entry : *list)
    if (const DictRef record = entry.dictionary()) gradients->add(platform::dictionaryCopy(record));
  return gradients;
}

}  // namespace VDGradientRecords
