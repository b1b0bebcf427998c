// Writes the program's sample drawings and its first template resource through the document model, into the resources
// folder given as the only argument:
//   cmake --build build/test --target make_samples && build/test/bin/make_samples resources
// Each sample is a flat technical sketch (scripts/samples); the templates keep a thumbnail beside them, drawn by the
// page renderer.

#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "document/CMDocument.h"
#include "document/CMImportExportServices.h"
#include "io/export/CMPNGOutputFormat.h"
#include "platform/core/files.h"
#include "platform/core/keyed_archive.h"
#include "scripts/samples/garments.h"

namespace {

using samples::Sketch;

struct Drawing {
  const char* name;
  int width, height;
  std::function<void(Sketch&)> draw;
};

// A garment of a line-up: how to draw it and the span of its drawing in the garment frame.
struct Garment {
  std::function<void(Sketch&)> draw;
  double left, right, top;
};

// The garments side by side at one scale, their tops level, spread evenly across the page.
std::function<void(Sketch&)> lineUp(std::vector<Garment> garments, double pageWidth, double scale) {
  return [garments = std::move(garments), pageWidth, scale](Sketch& sketch) {
    double widths = 0;
    for (const Garment& garment : garments) widths += (garment.right - garment.left) * scale;
    const double gap = (pageWidth - widths) / static_cast<double>(garments.size() + 1);
    double x = gap;
    for (const Garment& garment : garments) {
      sketch.place({x - garment.left * scale, 60 - garment.top * scale}, scale);
      garment.draw(sketch);
      x += (garment.right - garment.left) * scale + gap;
    }
    sketch.place({0, 0}, 1);
  };
}

void shirtBack(Sketch& sketch) { samples::shirt(sketch, samples::ShirtView::ManBack); }
void manShirtFront(Sketch& sketch) { samples::shirt(sketch, samples::ShirtView::ManFront); }
void womanShirt(Sketch& sketch) { samples::shirt(sketch, samples::ShirtView::WomanFront); }

const std::vector<Drawing> kSamples{
    {"manshirtback", 600, 560, shirtBack},
    {"shirt1", 600, 560, womanShirt},
    {"floraldesign", 600, 600, samples::floralMotif},
    {"menVardelle", 900, 440,
     lineUp({{manShirtFront, 110, 490, 80},
             {shirtBack, 110, 490, 80},
             {samples::tShirt, 148, 452, 96},
             {samples::trousers, 194, 406, 77}},
            900, 0.62)},
    {"womanVardelle", 900, 440,
     lineUp({{womanShirt, 110, 490, 80},
             {samples::skirt, 170, 430, 80},
             {samples::dress, 174, 426, 94},
             {samples::trousers, 194, 406, 77}},
            900, 0.62)},
};

const std::vector<Drawing> kTemplates{
    {"template001a", 595, 842, samples::portraitSheet},
    {"template001b", 842, 595, samples::landscapeSheet},
};

std::shared_ptr<CMDocument> draw(const Drawing& drawing) {
  Sketch sketch(drawing.width, drawing.height);
  drawing.draw(sketch);
  return sketch.document();
}

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
