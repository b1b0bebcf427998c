// The templates window filled with 200 templates: loadItems (reading the store, making every item and decoding
// its thumbnail) up to every thumbnail drawn once, beside gdk-pixbuf decoding the same 200 PNG files alone, the
// floor of that work. Needs an X display: run under xvfb-run.

#include <benchmark/benchmark.h>
#include <cairomm/surface.h>
#include <gdkmm/pixbuf.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include "app/CMTemplatesWindowController.h"
#include "document/CMDocument.h"
#include "document/CMProject.h"
#include "platform/core/files.h"
#include "platform/core/folders.h"
#include "platform/core/keyed_archive.h"
#include "platform/ui/ui_initialization.h"

namespace {

constexpr int kTemplateCount = 200;

// A support folder with a store of 200 templates, each with its own 160 × 120 thumbnail; removed at exit.
class TemplateFolder {
 public:
  static const TemplateFolder& shared() {
    static const TemplateFolder folder;
    return folder;
  }
  ~TemplateFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  const std::vector<std::filesystem::path>& images() const { return images_; }
  bool ready() const { return ready_; }

 private:
  TemplateFolder()
      : folder_(std::filesystem::temp_directory_path() / ("draftwork-templates-bench-" + std::to_string(getpid()))) {
    std::filesystem::create_directories(folder_);
    platform::overrideFoldersRoot(folder_ / "root");
    platform::initializeUi();
    auto document = std::make_shared<CMDocument>();
    document->addObject("rect", {10, 10});
    const platform::Value data(platform::archivedDataWithRootObject(platform::Value(document->data())));
    platform::ArrayRef records = platform::Array::make();
    for (int index = 0; index < kTemplateCount; ++index) {
      const std::string name = "bench" + std::to_string(index) + ".png";
      Glib::RefPtr<Gdk::Pixbuf> image = Gdk::Pixbuf::create(Gdk::COLORSPACE_RGB, true, 8, 160, 120);
      image->fill(0x20406080u + static_cast<guint32>(index) * 0x01010100u);
      images_.push_back(CMProject::appFilePath(name));
      image->save(images_.back().string(), "png");
      records->add(platform::Dictionary::make({{"data", data}, {"imagefilename", name}}));
    }
    ready_ = platform::writeFileAtomically(CMProject::appFilePath(CMDocument::kTemplateStoreName),
                                           platform::archivedDataWithRootObject(platform::Value(records)))
                 .ok();
  }

  std::filesystem::path folder_;
  std::vector<std::filesystem::path> images_;
  bool ready_ = false;
};

void LoadItemsAndDrawThumbnails(benchmark::State& state) {
  const TemplateFolder& folder = TemplateFolder::shared();
  if (!folder.ready()) return state.SkipWithError("the template store could not be written");
  CMTemplatesWindowController templates;
  auto surface = Cairo::ImageSurface::create(Cairo::FORMAT_ARGB32, 100, 100);
  auto context = Cairo::Context::create(surface);
  for (auto _ : state) {
    templates.loadItems();
    for (const auto& item : templates.items()) {
      CMTemplateItemButton::draw(context, {100, 100}, item->button().image(), false, false);
    }
    benchmark::DoNotOptimize(surface->get_data());
  }
  state.counters["templates"] = static_cast<double>(templates.items().size());
}
BENCHMARK(LoadItemsAndDrawThumbnails)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(3);

void GdkPixbufDecodesTheSamePNGs(benchmark::State& state) {
  const TemplateFolder& folder = TemplateFolder::shared();
  for (auto _ : state) {
    for (const std::filesystem::path& image : folder.images()) {
      Glib::RefPtr<Gdk::Pixbuf> decoded = Gdk::Pixbuf::create_from_file(image.string());
      benchmark::DoNotOptimize(decoded->get_pixels());
    }
  }
}
BENCHMARK(GdkPixbufDecodesTheSamePNGs)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(3);

}  // namespace
