#include "svg_to_png_turns.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>

#include "document/CMDocument.h"
#include "io/export/CMPNGOutputFormat.h"
#include "io/import/CMDrawingImport.h"
#include "platform/core/files.h"
#include "platform/core/folders.h"

namespace {

struct Run {
  double seconds = 0;
  double peakMB = 0;
  bool ok = false;
};

// `work` in a child process: its wall time, its largest resident set, and whether it exited with 0.
Run inChild(const std::function<int()>& work) {
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child == 0) _exit(work());
  int status = 0;
  rusage usage{};
  if (child < 0 || wait4(child, &status, 0, &usage) != child) return {};
  return {std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
          static_cast<double>(usage.ru_maxrss) / 1024.0, WIFEXITED(status) && WEXITSTATUS(status) == 0};
}

Run ours(const std::filesystem::path& file, double page, const std::string& label) {
  const std::filesystem::path out = benchFolder() / "ours.png";
  return inChild([&] {
    // A drawing of the file's page size, which the import keeps: the PNG is of the page rsvg-convert draws.
    CMDocument document;
    document.data()->set("width", page);
    document.data()->set("height", page);
    const platform::Expected<platform::Bytes> data = platform::readFile(file, kLargestImportFile);
    if (!data) return 2;
    const CMSVGImport imported = importSVGData(document, data.value());
    if (!imported.refusal.empty()) {
      std::printf("%s, import refused: %s\n", label.c_str(), imported.refusal.c_str());
      std::fflush(stdout);
      return 0;
    }
    if (imported.failure) {
      std::printf("%s, damaged at line %d: %s\n", label.c_str(), imported.failure->line,
                  imported.failure->message.c_str());
      std::fflush(stdout);
    }
    // Nothing is kept of a file damaged before its first element.
    if (imported.records->empty()) return imported.failure ? 0 : 1;
    const platform::Expected<platform::Bytes> png = CMPNGOutputFormat().generate(document);
    if (!png) return 3;
    const platform::Bytes& bytes = png.value();
    std::ofstream written(out, std::ios::binary);
    written.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return written ? 0 : 4;
  });
}

Run peer(const std::filesystem::path& file) {
  const std::string path = file.string(), out = (benchFolder() / "theirs.png").string();
  return inChild([&] {
    std::freopen("/dev/null", "w", stderr);
    // On white, as our page is: both write the same picture.
    execlp("rsvg-convert", "rsvg-convert", "-b", "white", "-o", out.c_str(), path.c_str(), static_cast<char*>(nullptr));
    return 127;
  });
}

}  // namespace

const std::filesystem::path& benchFolder() {
  static const std::filesystem::path path = [] {
    const std::filesystem::path made = std::filesystem::temp_directory_path() / "draftwork-svg-to-png-bench";
    std::filesystem::create_directories(made);
    // Nothing the documents record may reach the real user's folders.
    platform::overrideFoldersRoot(made / "root");
    return made;
  }();
  return path;
}

void svgToPNGInTurns(benchmark::State& state, const std::filesystem::path& file, double page,
                     const std::string& label) {
  double ourSeconds = 0, peerSeconds = 0, ourPeak = 0, peerPeak = 0;
  bool oursFirst = true;
  for (auto _ : state) {
    Run mine, theirs;
    if (oursFirst) {
      mine = ours(file, page, label);
      theirs = peer(file);
    } else {
      theirs = peer(file);
      mine = ours(file, page, label);
    }
    oursFirst = !oursFirst;
    if (!mine.ok) return state.SkipWithError("the import and export did not finish the file");
    if (!theirs.ok) return state.SkipWithError("rsvg-convert (librsvg2-bin) did not finish the file");
    state.SetIterationTime(mine.seconds);
    ourSeconds += mine.seconds;
    peerSeconds += theirs.seconds;
    ourPeak = std::max(ourPeak, mine.peakMB);
    peerPeak = std::max(peerPeak, theirs.peakMB);
  }
  const double runs = static_cast<double>(state.iterations());
  state.counters["rsvg-convert ms"] = peerSeconds / runs * 1e3;
  state.counters["ratio"] = ourSeconds / peerSeconds;
  state.counters["peak MB"] = ourPeak;
  state.counters["rsvg-convert peak MB"] = peerPeak;
  std::printf("%s: ours %.0f ms (peak %.0f MB), rsvg-convert %.0f ms (peak %.0f MB), ratio %.2f\n", label.c_str(),
              ourSeconds / runs * 1e3, ourPeak, peerSeconds / runs * 1e3, peerPeak, ourSeconds / peerSeconds);
}
