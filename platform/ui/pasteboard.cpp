#include "platform/ui/pasteboard.h"

#include <glibmm/convert.h>
#include <glibmm/error.h>

#include <algorithm>
#include <array>
#include <utility>

namespace platform {
namespace {

struct TypeTarget {
  const char* type;
  const char* target;
};
constexpr std::array<TypeTarget, 3> kTargets{{
    {pasteboard_type::FileNames, "text/uri-list"},
    {pasteboard_type::Shape, "application/x-draftwork-shape"},
    {pasteboard_type::LayerRows, "application/x-draftwork-layer-rows"},
}};

}  // namespace

std::string gtkTargetForType(const std::string& type) {
  for (const auto& entry : kTargets)
    if (type == entry.type) return entry.target;
  return type;
}

std::string typeForGtkTarget(const std::string& target) {
  for (const auto& entry : kTargets)
    if (target == entry.target) return entry.type;
  return target;
}

Gtk::TargetFlags targetFlagsForType(const std::string& type) {
  return type == pasteboard_type::LayerRows ? Gtk::TARGET_SAME_APP : Gtk::TargetFlags(0);
}

void Pasteboard::declareTypes(const std::vector<std::string>& types) {
  types_.clear();
  for (const auto& type : types)
    if (!hasType(type)) types_.push_back(type);
  data_.assign(types_.size(), std::nullopt);
}

bool Pasteboard::hasType(const std::string& type) const {
  return std::find(types_.begin(), types_.end(), type) != types_.end();
}

std::optional<std::string> Pasteboard::availableTypeFrom(const std::vector<std::string>& wanted) const {
  for (const auto& type : wanted)
    if (hasType(type)) return type;
  return std::nullopt;
}

bool Pasteboard::setData(Bytes data, const std::string& type) {
  const auto it = std::find(types_.begin(), types_.end(), type);
  if (it == types_.end()) return false;
  data_[static_cast<std::size_t>(it - types_.begin())] = std::move(data);
  return true;
}

std::optional<Pasteboard::Bytes> Pasteboard::dataForType(const std::string& type) const {
  const auto it = std::find(types_.begin(), types_.end(), type);
  if (it == types_.end()) return std::nullopt;
  return data_[static_cast<std::size_t>(it - types_.begin())];
}

bool Pasteboard::setFileNames(const std::vector<std::string>& paths) {
  std::string list;
  for (const auto& path : paths) {
    if (path.empty() || path.front() != '/') return false;
    try {
      list += Glib::filename_to_uri(path) + "\r\n";  // RFC 2483 lines
    } catch (const Glib::Error&) {
      return false;
    }
  }
  return setData(Bytes(list.begin(), list.end()), pasteboard_type::FileNames);
}

std::vector<std::string> Pasteboard::fileNames() const {
  std::vector<std::string> paths;
  const auto data = dataForType(pasteboard_type::FileNames);
  if (!data) return paths;
  const std::string list(data->begin(), data->end());
  std::size_t start = 0;
  while (start < list.size()) {
    std::size_t end = list.find('\n', start);
    if (end == std::string::npos) end = list.size();
    std::string line = list.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line.front() == '#') continue;  // comments are allowed in URI lists
    try {
      paths.push_back(Glib::filename_from_uri(line));
    } catch (const Glib::Error&) {
      // Not a local file (another scheme, or malformed): nothing a canvas could open.
    }
  }
  return paths;
}

}  // namespace platform
