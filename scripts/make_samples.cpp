// Writes the program's sample drawings and its first template resource through the document model, into the
// resources folder given as the only argument:
//   cmake --build build/test --target make_samples && build/test/bin/make_samples resources
// Each drawing is a few plain shapes (garment outlines in line and fill); the templates keep a thumbnail beside
// them, drawn by the page renderer.

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "document/CMDocument.h"
#include "document/CMImportExportServices.h"
#include "document/CMShapeLayer.h"
#include "io/export/CMPNGOutputFormat.h"
#include "platform/core/files.h"
#include "platform/core/keyed_archive.h"

namespace {

struct Shape {
  const char* kind;  // a default object: "rect", "roundrect", "oval", "star", "polygon", "line"
  double x, y, width, height;
  int red, green, blue;  // the fill; -1 for none
};

struct Drawing {
  const char* name;
  int width, height;
  std::vector<Shape> shapes;
};

platform::DictRef colour(int red, int green, int blue) {
  return platform::Dictionary::make({{"r", red}, {"g", green}, {"b", blue}, {"a", 255}});
}

std::shared_ptr<CMDocument> draw(const Drawing& drawing) {
  auto document = std::make_shared<CMDocument>();
  document->data()->set("width", drawing.width);
  document->data()->set("height", drawing.height);
  for (const Shape& shape : drawing.shapes) {
    platform::DictRef record = document->addObject(shape.kind, {shape.x, shape.y});
    if (!record) {
      std::fprintf(stderr, "no default object \"%s\"\n", shape.kind);
      continue;
    }
    CMShapeLayer(record).setLayerRect({shape.x, shape.y, shape.width, shape.height});
    const platform::DictRef style = record->get("shape").dictionary();
    if (!style) continue;
    if (const platform::DictRef fill = style->get("fill").dictionary()) {
      fill->set("use", shape.red >= 0);
      fill->set("type", 1);
      if (shape.red >= 0) fill->set("color", colour(shape.red, shape.green, shape.blue));
    }
    if (const platform::DictRef stroke = style->get("stroke").dictionary()) {
      stroke->set("use", true);
      stroke->set("lineWidth", 2.0);
      stroke->set("color", colour(40, 40, 40));
    }
  }
  return document;
}

// A shirt: body, two sleeves, collar and a placket of buttons.
std::vector<Shape> shirt(int red, int green, int blue, bool back) {
  std::vector<Shape> shapes{
      {"roundrect", 180, 120, 240, 330, red, green, blue},
      {"polygon", 90, 130, 110, 190, red, green, blue},
      {"polygon", 400, 130, 110, 190, red, green, blue},
      {"oval", 255, 95, 90, 50, 245, 245, 240},
  };
  if (back) {
    shapes.push_back({"line", 180, 190, 240, 2, -1, 0, 0});  // the yoke seam
  } else {
    for (int button = 0; button < 5; ++button) shapes.push_back({"oval", 293, 170.0 + button * 55, 14, 14, 250, 250, 250});
  }
  return shapes;
}

const std::vector<Drawing> kSamples{
    {"manshirtback", 600, 560, shirt(120, 160, 210, true)},
    {"shirt1", 600, 560, shirt(230, 170, 190, false)},
    {"floraldesign", 600, 600,
     {{"star", 220, 220, 160, 160, 240, 200, 60},
      {"oval", 270, 270, 60, 60, 200, 90, 40},
      {"star", 60, 60, 110, 110, 220, 120, 160},
      {"star", 430, 60, 110, 110, 220, 120, 160},
      {"star", 60, 430, 110, 110, 220, 120, 160},
      {"star", 430, 430, 110, 110, 220, 120, 160},
      {"oval", 150, 150, 300, 300, -1, 0, 0}}},
    {"menVardelle", 800, 560,
     [] {
       std::vector<Shape> shapes = shirt(90, 110, 140, false);
       for (Shape& shape : shapes) shape.x -= 60;
       shapes.push_back({"rect", 560, 120, 80, 330, 60, 60, 80});  // trousers, side view
       shapes.push_back({"rect", 650, 120, 80, 330, 60, 60, 80});
       return shapes;
     }()},
    {"womanVardelle", 800, 600,
     {{"roundrect", 300, 100, 200, 170, 200, 60, 90},
      {"polygon", 240, 260, 320, 300, 200, 60, 90},
      {"oval", 355, 75, 90, 45, 250, 240, 240},
      {"line", 250, 268, 300, 2, -1, 0, 0}}},
};

const std::vector<Drawing> kTemplates{
    {"template001a", 595, 842,
     {{"rect", 40, 40, 515, 762, -1, 0, 0}, {"line", 40, 120, 515, 2, -1, 0, 0}, {"rect", 60, 60, 200, 40, 230, 230, 230}}},
    {"template001b", 842, 595,
     {{"rect", 30, 30, 782, 535, -1, 0, 0}, {"line", 421, 30, 2, 535, -1, 0, 0}}},
};

bool write(const std::filesystem::path& path, const platform::Bytes& bytes) {
  const platform::Status written = platform::writeFileAtomically(path, bytes);
  if (!written) std::fprintf(stderr, "cannot write %s: %s\n", path.c_str(), written.error().description.c_str());
  return written.ok();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_samples RESOURCES_FOLDER\n");
    return 2;
  }
  const std::filesystem::path resources = argv[1];
  std::filesystem::create_directories(resources / "Samples");
  CMPageImageServiceFactory::install([] { return std::make_unique<CMPNGOutputFormat>(); });
  bool ok = true;
  for (const Drawing& sample : kSamples) {
    const std::filesystem::path path = resources / "Samples" / (std::string(sample.name) + ".vard");
    const platform::Status written = draw(sample)->writeToURL(path, CMDocument::kFileType);
    if (!written) std::fprintf(stderr, "cannot write %s\n", path.c_str());
    ok = ok && written.ok();
  }
  platform::ArrayRef templates = platform::Array::make();
  for (const Drawing& drawing : kTemplates) {
    std::shared_ptr<CMDocument> document = draw(drawing);
    const std::string image = std::string(drawing.name) + ".png";
    platform::Expected<platform::Bytes> thumbnail = document->printImage(0.25);
    ok = ok && thumbnail && write(resources / image, thumbnail.value());
    templates->add(platform::Dictionary::make(
        {{"data", platform::archivedDataWithRootObject(platform::Value(document->data()))}, {"imagefilename", image}}));
  }
  ok = ok && write(resources / "templates001.data", platform::archivedDataWithRootObject(platform::Value(templates)));
  CMPageImageServiceFactory::install(nullptr);
  return ok ? 0 : 1;
}
