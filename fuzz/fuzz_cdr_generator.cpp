// Hostile drawing-interface calls, as a damaged CorelDRAW drawing could make libcdr send them, fed to the SVG
// drawing generator: the joined XHTML drawing page must parse as XML and read into records with finite numbers.
//
// Input layout: one byte picks each call; calls with a property list read an entry count, and per entry a key
// byte (from the keys libcdr and librevenge use) and its value: a length or number (a kind byte, then a small
// signed byte or 8 raw bytes of a double, then a unit byte), a text (a length byte and raw bytes), an integer, a
// block of binary data, or a list of property lists (paths, points, gradient stops). Text calls read a text.

#include <libxml/parser.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>

#include "byte_reader.h"
#include "document/CMDocument.h"
#include "finite_records.h"
#include "io/cdr/CDR2SVG.h"
#include "io/cdr/CMSVGDrawingGenerator.h"
#include "io/cdr/TMPManager.h"
#include "io/svg/VDSVGParser.h"
#include "platform/core/folders.h"
#include "platform/core/log.h"

namespace {

class Input : public FuzzByteReader {
 public:
  using FuzzByteReader::FuzzByteReader;
  double number() {
    const std::uint8_t kind = byte();
    if (kind % 4 != 0) return static_cast<std::int8_t>(byte()) / 4.0;
    std::uint8_t bytes[8] = {};
    for (std::uint8_t& b : bytes) b = byte();
    double value = 0;
    std::memcpy(&value, bytes, sizeof value);
    return value;
  }
  std::string text() {
    std::string out;
    for (std::uint8_t n = byte(); n > 0 && !empty(); --n) out += static_cast<char>(byte());
    return out;
  }
};

enum class Kind { Length, Number, Text, Integer, Binary, Segments, Points, Stops };

struct Key {
  const char* name;
  Kind kind;
};

constexpr Key kKeys[] = {
    {"svg:x", Kind::Length}, {"svg:y", Kind::Length}, {"svg:width", Kind::Length}, {"svg:height", Kind::Length},
    {"svg:x1", Kind::Length}, {"svg:y1", Kind::Length}, {"svg:x2", Kind::Length}, {"svg:y2", Kind::Length},
    {"svg:rx", Kind::Length}, {"svg:ry", Kind::Length}, {"svg:cx", Kind::Length}, {"svg:cy", Kind::Length},
    {"svg:stroke-width", Kind::Length}, {"fo:font-size", Kind::Length}, {"draw:dots1-length", Kind::Length},
    {"draw:distance", Kind::Length}, {"librevenge:rotate", Kind::Number}, {"draw:angle", Kind::Number},
    {"draw:opacity", Kind::Number}, {"svg:stroke-opacity", Kind::Number}, {"svg:offset", Kind::Number},
    {"svg:stop-opacity", Kind::Number}, {"draw:fill", Kind::Text}, {"draw:fill-color", Kind::Text},
    {"draw:stroke", Kind::Text}, {"svg:stroke-color", Kind::Text}, {"draw:style", Kind::Text},
    {"svg:stroke-linecap", Kind::Text}, {"svg:fill-rule", Kind::Text}, {"style:font-name", Kind::Text},
    {"fo:color", Kind::Text}, {"svg:stop-color", Kind::Text}, {"librevenge:master-page-name", Kind::Text},
    {"librevenge:mime-type", Kind::Text}, {"librevenge:path-action", Kind::Text}, {"draw:dots1", Kind::Integer},
    {"librevenge:large-arc", Kind::Integer}, {"draw:mirror-horizontal", Kind::Integer},
    {"office:binary-data", Kind::Binary}, {"svg:d", Kind::Segments}, {"svg:points", Kind::Points},
    {"svg:linearGradient", Kind::Stops}, {"svg:radialGradient", Kind::Stops},
};
constexpr const char* kFills[] = {"solid", "gradient", "none", "dash", "linear", "radial", "#ff0000"};
constexpr const char kActions[] = "MLHVCSQTAZX";
constexpr librevenge::RVNGUnit kUnits[] = {librevenge::RVNG_INCH, librevenge::RVNG_POINT, librevenge::RVNG_TWIP,
                                           librevenge::RVNG_PERCENT, librevenge::RVNG_GENERIC};

librevenge::RVNGPropertyList properties(Input& in, int depth);

librevenge::RVNGPropertyListVector listOf(Input& in, int depth, bool segments) {
  librevenge::RVNGPropertyListVector list;
  for (int n = in.byte() % 6; n > 0 && !in.empty(); --n) {
    librevenge::RVNGPropertyList item = properties(in, depth + 1);
    if (segments) item.insert("librevenge:path-action", std::string(1, kActions[in.byte() % 11]).c_str());
    list.append(item);
  }
  return list;
}

librevenge::RVNGPropertyList properties(Input& in, int depth) {
  librevenge::RVNGPropertyList list;
  for (int n = in.byte() % 8; n > 0 && !in.empty(); --n) {
    const Key& key = kKeys[in.byte() % std::size(kKeys)];
    switch (key.kind) {
      case Kind::Length: {
        const double value = in.number();
        list.insert(key.name, value, kUnits[in.byte() % std::size(kUnits)]);
        break;
      }
      case Kind::Number: list.insert(key.name, in.number(), librevenge::RVNG_GENERIC); break;
      case Kind::Text: {
        // Mostly the words the generator looks for, sometimes anything at all.
        const std::uint8_t pick = in.byte();
        list.insert(key.name, pick < 200 ? kFills[pick % std::size(kFills)] : in.text().c_str());
        break;
      }
      case Kind::Integer: list.insert(key.name, static_cast<int>(static_cast<std::int8_t>(in.byte()))); break;
      case Kind::Binary: {
        const std::string bytes = in.text();
        list.insert(key.name, librevenge::RVNGBinaryData(reinterpret_cast<const unsigned char*>(bytes.data()),
                                                         bytes.size()));
        break;
      }
      case Kind::Segments:
      case Kind::Points:
      case Kind::Stops:
        if (depth < 2) list.insert(key.name, listOf(in, depth, key.kind == Kind::Segments));
        break;
    }
  }
  return list;
}

void call(CMSVGDrawingGenerator& generator, Input& in) {
  switch (in.byte() % 24) {
    case 0: generator.startPage(properties(in, 0)); break;
    case 1: generator.endPage(); break;
    case 2: generator.startMasterPage(properties(in, 0)); break;
    case 3: generator.endMasterPage(); break;
    case 4: generator.setStyle(properties(in, 0)); break;
    case 5: generator.startLayer(properties(in, 0)); break;
    case 6: generator.endLayer(); break;
    case 7: generator.openGroup(properties(in, 0)); break;
    case 8: generator.closeGroup(); break;
    case 9: generator.drawRectangle(properties(in, 0)); break;
    case 10: generator.drawEllipse(properties(in, 0)); break;
    case 11: generator.drawPolygon(properties(in, 0)); break;
    case 12: generator.drawPolyline(properties(in, 0)); break;
    case 13: generator.drawPath(properties(in, 0)); break;
    case 14: generator.drawGraphicObject(properties(in, 0)); break;
    case 15: generator.drawConnector(properties(in, 0)); break;
    case 16: generator.startTextObject(properties(in, 0)); break;
    case 17: generator.endTextObject(); break;
    case 18: generator.openSpan(properties(in, 0)); break;
    case 19: generator.closeSpan(); break;
    case 20: generator.insertText(in.text().c_str()); break;
    case 21: generator.insertLineBreak(); break;
    case 22: generator.openParagraph(properties(in, 0)); break;
    default: generator.insertTab(); break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // The project's folders, the pictures' among them, go to a scratch place, never to the user's.
  const std::filesystem::path root = std::filesystem::temp_directory_path() / "draftwork-fuzz-cdr-generator";
  std::filesystem::create_directories(root);
  platform::overrideFoldersRoot(root);
  std::filesystem::create_directories(platform::temporaryFolder());
  TMPManager::instance().setFolder(platform::temporaryFolder());
  platform::setLogSink([](platform::LogLevel, std::string_view) {});
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input in(data, size);
  librevenge::RVNGStringVector pages;
  {
    CMSVGDrawingGenerator generator(pages, "");
    while (!in.empty()) call(generator, in);
    generator.endPage();
  }
  TMPManager::instance().removeAllFiles();
  if (pages.empty()) return 0;
  const std::string page = xhtmlDrawingPage(pages);
  xmlDocPtr parsed = xmlReadMemory(page.data(), static_cast<int>(page.size()), "page.xhtml", nullptr,
                                   XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_HUGE);
  if (!parsed) fuzzing::fail("fuzz_cdr_generator", "the drawing page is not well-formed XML");
  xmlFreeDoc(parsed);
  // The records are made in the document but never added to it: one document serves every run.
  static CMDocument document;
  VDSVGParser reader;
  const platform::ArrayRef records = reader.parseSVG(platform::Bytes(page.begin(), page.end()), document);
  if (reader.failure()) fuzzing::fail("fuzz_cdr_generator", "the reader stopped in the drawing page");
  fuzzing::checkFinite("fuzz_cdr_generator", records);
  return 0;
}
