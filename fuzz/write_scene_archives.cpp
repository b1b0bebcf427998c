// Writes seed archives for the archive and property-list fuzz targets: the benchmarks'
// mixed scene cut to its first few layers, archived as a document is saved.
//
// usage: write_scene_archives OUTPUT_FOLDER MAX_BYTES LAYER_COUNT...
// Each count gives "scene_<count>.vard"; a count whose archive is over MAX_BYTES fails.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "../bench/mixed_layer_scene.h"
#include "platform/core/keyed_archive.h"

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: %s OUTPUT_FOLDER MAX_BYTES LAYER_COUNT...\n", argv[0]);
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  const std::size_t maxBytes = std::strtoul(argv[2], nullptr, 10);
  const std::vector<bench::SceneLayer> scene = bench::makeScene();
  for (int arg = 3; arg < argc; ++arg) {
    const std::size_t count = std::strtoul(argv[arg], nullptr, 10);
    const platform::DictRef root =
        bench::documentRecord({scene.begin(), scene.begin() + std::min(count, scene.size())});
    const platform::Bytes archive = platform::archivedDataWithRootObject(platform::Value(root));
    if (archive.empty() || archive.size() > maxBytes) {
      std::fprintf(stderr, "%zu layers do not make an archive of at most %zu bytes\n", count, maxBytes);
      return 1;
    }
    std::ofstream(folder / ("scene_" + std::to_string(count) + ".vard"), std::ios::binary)
        .write(reinterpret_cast<const char*>(archive.data()), static_cast<std::streamsize>(archive.size()));
  }
  return 0;
}
