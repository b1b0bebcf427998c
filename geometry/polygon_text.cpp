#include "geometry/polygon_text.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <string>

#include "platform/core/string_conversions.h"
#include "platform/core/string_utilities.h"

namespace {

// The longest field read: a finite double written with 15 decimals needs at most 326 characters.
constexpr std::size_t kLongestField = 400;

bool isBlank(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

class FieldReader {
 public:
  explicit FieldReader(std::FILE* stream) : stream_(stream) { measureRest(); }

  std::optional<int> count() {
    const std::optional<std::string> text = field();
    if (!text) return std::nullopt;
    int value = 0;
    const char* first = text->data();
    const char* last = first + text->size();
    if (first != last && *first == '+') ++first;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last) return std::nullopt;
    return value;
  }

  std::optional<double> coordinate() {
    const std::optional<std::string> text = field();
    if (!text) return std::nullopt;
    double value = 0;
    if (platform::scanDouble(*text, value) != text->size() || !std::isfinite(value)) return std::nullopt;
    return value;
  }

  // False when the stream can be measured and `count` items of at least `bytesEach` bytes
  // (separators included) do not fit into what is left of it.
  bool couldHold(int count, long bytesEach) const {
    if (rest_ < 0) return true;
    const long left = rest_ - consumed_;
    return count <= (left + 1) / bytesEach;
  }
  // Only a measured stream has proved its counts, so only then is room made in advance.
  bool measured() const { return rest_ >= 0; }

 private:
  std::optional<std::string> field() {
    int c = next();
    while (c != EOF && isBlank(c)) c = next();
    std::string text;
    while (c != EOF && !isBlank(c)) {
      if (text.size() == kLongestField) return std::nullopt;
      text.push_back(static_cast<char>(c));
      c = next();
    }
    if (text.empty()) return std::nullopt;
    return text;
  }

  int next() {
    const int c = std::getc(stream_);
    if (c != EOF) ++consumed_;
    return c;
  }

  // Bytes from here to the end, when the stream can seek; -1 otherwise.
  void measureRest() {
    const long here = std::ftell(stream_);
    if (here < 0 || std::fseek(stream_, 0, SEEK_END) != 0) return;
    const long end = std::ftell(stream_);
    if (std::fseek(stream_, here, SEEK_SET) != 0) {
      rest_ = -1;
      return;
    }
    if (end >= here) rest_ = end - here;
  }

  std::FILE* stream_;
  long rest_ = -1;
  long consumed_ = 0;
};

}  // namespace

bool readPolygon(std::FILE* stream, bool readHoles, PolygonRecord& polygon) {
  FieldReader reader(stream);
  const std::optional<int> contourCount = reader.count();
  // A contour takes at least its count and a separator.
  if (!contourCount || *contourCount < 0 || !reader.couldHold(*contourCount, readHoles ? 4 : 2)) return false;
  PolygonRecord read;
  if (reader.measured()) {
    read.contours.reserve(static_cast<std::size_t>(*contourCount));
    read.holes.reserve(static_cast<std::size_t>(*contourCount));
  }
  for (int c = 0; c < *contourCount; ++c) {
    const std::optional<int> vertexCount = reader.count();
    if (!vertexCount || *vertexCount < 0) return false;
    int hole = 0;
    if (readHoles) {
      const std::optional<int> flag = reader.count();
      if (!flag) return false;
      hole = *flag;
    }
    // A vertex takes at least two one-digit coordinates and two separators.
    if (!reader.couldHold(*vertexCount, 4)) return false;
    PolygonContour contour;
    if (reader.measured()) contour.reserve(static_cast<std::size_t>(*vertexCount));
    for (int v = 0; v < *vertexCount; ++v) {
      const std::optional<double> x = reader.coordinate();
      const std::optional<double> y = x ? reader.coordinate() : std::nullopt;
      if (!y) return false;
      contour.push_back({*x, *y});
    }
    read.contours.push_back(std::move(contour));
    read.holes.push_back(hole);
  }
  polygon = std::move(read);
  return true;
}

bool writePolygon(std::FILE* stream, bool writeHoles, const PolygonRecord& polygon) {
  std::string text;
  platform::appendFormat(text, "%d\n", static_cast<int>(polygon.contours.size()));
  for (std::size_t c = 0; c < polygon.contours.size(); ++c) {
    const PolygonContour& contour = polygon.contours[c];
    platform::appendFormat(text, "%d\n", static_cast<int>(contour.size()));
    if (writeHoles) platform::appendFormat(text, "%d\n", holeFlag(polygon, c));
    for (const PolygonVertex& vertex : contour)
      platform::appendFormat(text, "% .*lf % .*lf\n", 15, vertex.x, 15, vertex.y);
  }
  return std::fwrite(text.data(), 1, text.size(), stream) == text.size();
}
