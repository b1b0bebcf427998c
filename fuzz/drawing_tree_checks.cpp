#include "drawing_tree_checks.h"

#include <cmath>
#include <string_view>

#include "platform/core/geometry_strings.h"

namespace drawing_checks {
namespace {

using platform::Value;

// Lists whose entries are layer records of their own.
bool holdsLayers(std::string_view key) { return key == "layers" || key == "items" || key == "masks"; }

bool nonFinite(const Value& value) {
  if (value.isReal()) return !std::isfinite(value.doubleValue());
  if (!value.isString() || value.string().empty() || value.string().front() != '{') return false;
  const platform::Point point = platform::pointFromString(value.string());
  return !std::isfinite(point.x) || !std::isfinite(point.y);
}

class PlaceWalk {
 public:
  std::set<Place> places;

  void layerRecord(const platform::DictRef& record) { inside(record, record->get("id").description(), ""); }

  void inside(const platform::DictRef& record, const std::string& layerId, const std::string& path) {
    for (const auto& [key, value] : *record) {
      const platform::ArrayRef list = value.array();
      if (holdsLayers(key) && list) {
        for (const Value& entry : *list)
          if (const platform::DictRef member = entry.dictionary()) layerRecord(member);
        continue;
      }
      element(value, layerId, path + "/" + key);
    }
  }

 private:
  void element(const Value& value, const std::string& layerId, const std::string& path) {
    if (nonFinite(value)) places.insert({layerId, path});
    if (const platform::DictRef dictionary = value.dictionary()) inside(dictionary, layerId, path);
    if (const platform::ArrayRef array = value.array())
      for (const Value& entry : *array) element(entry, layerId, path + "[]");
  }
};

void stripMarks(const platform::ArrayRef& list) {
  if (!list) return;
  for (const Value& entry : *list) {
    const platform::DictRef record = entry.dictionary();
    if (!record) continue;
    for (const char* key : {"dirty", "isDirty", "group_id", "position"}) record->remove(key);
    if (const platform::DictRef shape = record->dictionary("shape")) {
      for (const char* key : {"x_offset", "y_offset"}) shape->remove(key);
    }
    stripMarks(record->array("items"));
    stripMarks(record->array("masks"));
  }
}

void collectIds(const platform::ArrayRef& list, std::set<std::string>& ids) {
  if (!list) return;
  for (const Value& entry : *list) {
    const platform::DictRef record = entry.dictionary();
    if (!record) continue;
    ids.insert(record->get("id").description());
    collectIds(record->array("items"), ids);
    collectIds(record->array("masks"), ids);
  }
}

}  // namespace

std::set<Place> nonFinitePlaces(const platform::DictRef& root) {
  PlaceWalk walk;
  walk.inside(root, "root", "");
  return std::move(walk.places);
}

std::string firstDifference(const Value& a, const Value& b, const std::string& path) {
  const std::string both = path + ": " + a.description().substr(0, 200) + " against " + b.description().substr(0, 200);
  if (a.kind() != b.kind()) return both;
  switch (a.kind()) {
    case Value::Kind::Real: {
      const double x = a.doubleValue(), y = b.doubleValue();
      return x == y || (std::isnan(x) && std::isnan(y)) ? "" : both;
    }
    case Value::Kind::Array: {
      const platform::Array& x = *a.array();
      const platform::Array& y = *b.array();
      if (x.size() != y.size())
        return path + ": " + std::to_string(x.size()) + " against " + std::to_string(y.size()) + " entries";
      for (std::size_t i = 0; i < x.size(); ++i) {
        std::string difference = firstDifference(x.at(i), y.at(i), path + "[" + std::to_string(i) + "]");
        if (!difference.empty()) return difference;
      }
      return "";
    }
    case Value::Kind::Dictionary: {
      const platform::Dictionary& x = *a.dictionary();
      const platform::Dictionary& y = *b.dictionary();
      for (const auto& [key, value] : y)
        if (!x.contains(key)) return path + "/" + key + ": missing against " + value.description().substr(0, 200);
      for (const auto& [key, value] : x) {
        const Value* other = y.find(key);
        if (!other) return path + "/" + key + ": " + value.description().substr(0, 200) + " against missing";
        std::string difference = firstDifference(value, *other, path + "/" + key);
        if (!difference.empty()) return difference;
      }
      return "";
    }
    default:
      return a.isEqual(b) ? "" : both;
  }
}

platform::DictRef withoutMarks(const platform::DictRef& root) {
  platform::DictRef copy = platform::dictionaryCopy(root);
  stripMarks(copy->array("layers"));
  return copy;
}

std::set<std::string> layerIds(const platform::DictRef& root) {
  std::set<std::string> ids;
  collectIds(root->array("layers"), ids);
  return ids;
}

}  // namespace drawing_checks
