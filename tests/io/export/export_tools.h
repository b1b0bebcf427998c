#pragma once

// Outside readers of exported files and the scenes they are checked on. Pictures are read back by ImageMagick as
// straight 8-bit RGBA and compared laid onto white.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "../../platform/core/scratch_folder.h"
#include "document/CMDocument.h"
#include "document_test_support.h"
#include "export_test_support.h"
#include "platform/core/files.h"

namespace export_testing {

using platform::Dictionary;
using platform::DictRef;

inline bool run(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }
// What the command prints on its standard output.
inline std::string outputOf(const std::string& command) {
  std::unique_ptr<FILE, decltype(&pclose)> pipe(popen(command.c_str(), "r"), pclose);
  std::string out;
  for (int c; pipe && (c = std::fgetc(pipe.get())) != EOF;) out += static_cast<char>(c);
  return out;
}
inline void writeBytes(const std::filesystem::path& path, const platform::Bytes& bytes) {
  ASSERT_TRUE(platform::writeFileAtomically(path, bytes).ok()) << path;
}
inline std::string readText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// A 400 × 300 picture; empty when ImageMagick cannot read the file or it has another size.
struct Picture {
  std::string rgba;
  int at(int x, int y, int c) const { return static_cast<unsigned char>(rgba[(y * 400 + x) * 4 + c]); }
  int onWhite(int x, int y, int c) const { return (at(x, y, c) * at(x, y, 3) + 255 * (255 - at(x, y, 3)) + 127) / 255; }
};
inline Picture readPicture(const std::filesystem::path& file) {
  if (!run("convert '" + file.string() + "' -depth 8 rgba:'" + file.string() + ".rgba'")) return {};
  std::string bytes = readText(file.string() + ".rgba");
  return {bytes.size() == 400 * 300 * 4 ? bytes : ""};
}
// Of the colours laid onto white: the shares of pixels that differ by more than 32 and by more than 128 in some
// channel, the mean difference of a channel and the largest.
inline std::array<double, 4> differingShares(const Picture& a, const Picture& b) {
  std::array<double, 4> shares{};
  for (int p = 0; p < 400 * 300; ++p) {
    int worst = 0;
    for (int c = 0, d = 0; c < 3; ++c, worst = std::max(worst, d), shares[2] += d / (400.0 * 300 * 3))
      d = std::abs(a.onWhite(p % 400, p / 400, c) - b.onWhite(p % 400, p / 400, c));
    shares[0] += (worst > 32) / (400.0 * 300);
    shares[1] += (worst > 128) / (400.0 * 300);
    shares[3] = std::max<double>(shares[3], worst);
  }
  return shares;
}

// A colour fill, or with a width a stroke with that cap and join (0–2), dashed or not, used or not.
inline DictRef paint(int r, int g, int b, double alpha, double width = 0, int cap = 0, int dash = 0, bool use = true) {
  return Dictionary::make({{"use", use}, {"type", 1}, {"alpha", alpha}, {"lineWidth", width}, {"lineCapStyle", cap},
                           {"lineJoinStyle", cap}, {"dashStyle", dash}, {"dashPoints", platform::Array::make({5, 5})},
                           {"color", Dictionary::make({{"r", r}, {"g", g}, {"b", b}, {"a", 255}})}});
}
inline DictRef styled(DictRef record, DictRef fill, DictRef line) {
  const DictRef shape = record->dictionary("shape");
  fill ? shape->set("fill", fill) : shape->remove("fill");
  line ? shape->set("stroke", line) : shape->remove("stroke");
  return record;
}
// A path of straight segments through page points, one contour a list.
inline DictRef polyline(const std::vector<std::vector<platform::Point>>& contours, bool closed) {
  std::vector<DictRef> points;
  for (const auto& contour : contours)
    for (std::size_t i = 0; i < contour.size(); ++i)
      points.push_back(document_testing::pointRecord(points.size() + 1, contour[i],
                                                     i == 0 ? 1 : (i + 1 == contour.size() && closed ? 10 : 2)));
  DictRef record = document_testing::pathLayerRecord(points);
  record->set("alpha", 1.0);
  return record;
}

// A line of the line tool from `from` to `to`: its ends are in its shape, its own place stays (0, 0).
inline DictRef lineRecord(CMDocument& d, platform::Point from, platform::Point to, DictRef stroke) {
  DictRef line = d.createObject("line", {0, 0});
  const DictRef shape = line->dictionary("shape");
  for (const auto& [key, value] : {std::pair{"x1", from.x}, {"y1", from.y}, {"x2", to.x}, {"y2", to.y}})
    shape->set(key, platform::Value::real32(static_cast<float>(value)));
  shape->set("def_width", stroke->get("lineWidth").intValue());
  shape->set("type", 0);
  return styled(line, nullptr, stroke);
}

// 400 × 300: shapes of every kind (a line of the line tool among them), gradients, a translucent fill, caps, joins,
// a dash, a hole, a turned layer, a group with a hidden member; no text.
inline void sceneA(CMDocument& d) {
  setPage(d, 400, 300, 255, 255, 255, 255);
  const auto line = [] { return paint(20, 20, 120, 1, 2, 1); };
  // Gradients from red to blue, left to right and at 30°.
  const auto stop = [](double pos) { return Dictionary::make({{"pos", pos}, {"red", 1 - pos}, {"blue", pos}}); };
  const auto gradient = [&](int type) {
    return Dictionary::make({{"use", true}, {"type", 3}, {"gradient", Dictionary::make({{"type", type}, {"angle", 30.0},
                             {"markers", platform::Array::make({stop(0), stop(1)})}})}});
  };
  addLayer(d, styled(d.createObject("rect", {20, 20}), gradient(0), paint(20, 20, 120, 1, 4)));
  addLayer(d, styled(d.createObject("oval", {140, 20}), paint(30, 160, 60, 0.5), line()));
  addLayer(d, styled(d.createObject("star", {260, 20}), paint(240, 200, 30, 1), paint(20, 20, 120, 1, 3, 2, 1)));
  DictRef turned =
      styled(d.createObject("polygon", {20, 140}), paint(130, 60, 170, 1), paint(0, 0, 0, 1, 2, 0, 0, false));
  turned->set("rotate", 30.0);
  DictRef group = d.createGroup();
  DictRef hidden = styled(d.createObject("rect", {160, 160}), paint(0, 0, 0, 1), line());
  hidden->set("visible", false);
  group->set("items", platform::Array::make(
                          {styled(d.createObject("roundrect", {140, 140}), gradient(2), line()), hidden}));
  addLayer(d, turned);
  addLayer(d, group);
  const std::vector<std::vector<platform::Point>> holed{{{260, 140}, {350, 140}, {350, 230}, {260, 230}},
                                                       {{290, 170}, {320, 170}, {320, 200}, {290, 200}}};
  addLayer(d, styled(polyline(holed, true), paint(250, 140, 20, 1), nullptr));
  addLayer(d, lineRecord(d, {50, 226.5}, {297, 136.5}, paint(200, 30, 30, 1, 3, 1)));
  for (int cap = 0; cap < 3; ++cap)
    addLayer(d, styled(polyline({{{20.0 + 130 * cap, 290}, {70.0 + 130 * cap, 255}, {120.0 + 130 * cap, 290}}}, false),
                       nullptr, paint(20, 20, 120, 1, 8, cap)));
}

}  // namespace export_testing
