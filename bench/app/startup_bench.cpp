// Start-up to the first frame: the program's own start-up (the application, its project, document types and main
// window, the file given on the command line opened and shown) run in-process on the 10,000-layer drawing, the
// GLib main loop running until the canvas has drawn once. The time ends at that first frame; closing the window
// and dropping the document afterwards are not counted. The first start-up of the process, which also loads GTK,
// its theme and the fonts, is printed apart at the end; reading the file alone is measured beside it.
// The whole process is measured too: the program run with "--benchmark-first-frame" on the same drawing, from its
// launch to the line it prints after the first frame, each run followed by rsvg-convert rendering the same scene
// written as SVG, the part of the page the first frame showed at its zoom, with the peak memory of each.
// Needs an X display (the program opens a window): run under xvfb-run.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <glibmm/main.h>
#include <gtkmm/application.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "app/CMApplicationStartup.h"
#include "bench/mixed_layer_scene.h"
#include "bench/mixed_layer_svg.h"
#include "canvas/CMEditorView.h"
#include "document/CMCaches.h"
#include "document/CMDocument.h"
#include "document/CMProject.h"
#include "platform/core/folders.h"
#include "platform/core/value.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr unsigned kTimeLimitSeconds = 120;

// The drawing saved once per process, in a folder of its own that also takes the program's settings, so that
// nothing reaches the user's folders; removed at exit.
class SavedDrawing {
 public:
  static const SavedDrawing& shared() {
    static const SavedDrawing drawing;
    return drawing;
  }
  ~SavedDrawing() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  const std::filesystem::path& file() const { return file_; }
  const std::filesystem::path& svg() const { return svg_; }
  bool saved() const { return saved_; }

 private:
  SavedDrawing()
      : folder_(std::filesystem::temp_directory_path() / ("draftwork-startup-bench-" + std::to_string(getpid()))),
        file_(folder_ / "benchmark.vard"),
        svg_(folder_ / "benchmark.svg") {
    std::filesystem::create_directories(folder_);
    platform::overrideFoldersRoot(folder_ / "root");
    // GTK's own records (recent files, settings) go there too, and no session bus is looked for.
    setenv("XDG_DATA_HOME", (folder_ / "root" / "data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (folder_ / "root" / "config").c_str(), 1);
    setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent", 1);
    const std::vector<bench::SceneLayer> scene = bench::makeScene();
    bench::writeSceneSvg(scene, svg_);
    platform::DictRef record = bench::documentRecord(scene);
    record->set("width", static_cast<double>(bench::kWidth));
    record->set("height", static_cast<double>(bench::kHeight));
    auto document = std::make_shared<CMDocument>();
    document->setData(record);
    saved_ = document->writeToURL(file_, CMDocument::kFileType).ok();
  }

  std::filesystem::path folder_;
  std::filesystem::path file_;
  std::filesystem::path svg_;
  bool saved_ = false;
};

// The first start-up in this process, cold: GTK, the theme and the fonts are loaded on the way.
struct ColdStart {
  double milliseconds = 0;
  ~ColdStart() {
    if (milliseconds > 0) std::printf("first start-up in the process (cold): %.1f ms\n", milliseconds);
  }
};
ColdStart coldStart;

// The time from the start of the start-up to the canvas's first frame, and the canvas's layer count then (0 when the
// application ended without a frame).
struct FirstFrame {
  Clock::duration elapsed{};
  std::size_t layers = 0;
};

// Runs the program's start-up on `file` until the canvas has drawn its first frame.
FirstFrame startUntilFirstFrame(const std::filesystem::path& file) {
  FirstFrame frame;
  const Clock::time_point start = Clock::now();
  Glib::RefPtr<Gtk::Application> application = makeDraftworkApplication();
  sigc::connection watch = whenFirstFrameDrawn([&] {
    frame.elapsed = Clock::now() - start;
    frame.layers = CMEditorView::activeEditor()->layers().size();
    application->quit();
  });
  // A canvas that never draws ends the run instead of hanging it.
  sigc::connection limit = Glib::signal_timeout().connect_seconds(
      [&] {
        application->quit();
        return false;
      },
      kTimeLimitSeconds);
  std::string program = "draftwork";
  std::string argument = file.string();
  char* argv[] = {program.data(), argument.data(), nullptr};
  application->run(2, argv);
  watch.disconnect();
  limit.disconnect();
  return frame;
}

void StartupToFirstFrame(benchmark::State& state) {
  const SavedDrawing& drawing = SavedDrawing::shared();
  if (!drawing.saved()) {
    state.SkipWithError("the benchmark drawing could not be saved");
    return;
  }
  for (auto _ : state) {
    // Every start begins as a fresh process would: no project, no cached layer images, no canvas.
    CMProject::resetSharedProject();
    CMCaches::sharedCaches().clean();
    if (CMEditorView::activeEditor()) {
      state.SkipWithError("a canvas of the previous start-up is still alive");
      return;
    }
    const FirstFrame frame = startUntilFirstFrame(drawing.file());
    if (frame.layers == 0) {
      state.SkipWithError("the program ended without drawing (no display? run under xvfb-run)");
      return;
    }
    if (frame.layers != bench::kLayerCount) {
      state.SkipWithError("the canvas's first frame did not show the benchmark drawing");
      return;
    }
    const double seconds = std::chrono::duration<double>(frame.elapsed).count();
    if (coldStart.milliseconds == 0) coldStart.milliseconds = seconds * 1000;
    state.SetIterationTime(seconds);
  }
  state.counters["layers"] = bench::kLayerCount;
}
BENCHMARK(StartupToFirstFrame)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(5);

// The part of the start-up that reads the file: the drawing decoded into a document.
void ReadDrawing(benchmark::State& state) {
  const SavedDrawing& drawing = SavedDrawing::shared();
  for (auto _ : state) {
    CMDocument document;
    if (!document.readFromURL(drawing.file(), CMDocument::kFileType).ok()) {
      state.SkipWithError("the benchmark drawing could not be read");
      return;
    }
    benchmark::DoNotOptimize(document.data());
  }
}
BENCHMARK(ReadDrawing)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(5);

// ---- whole processes ----

// One run of a program: the seconds from its launch to the end of its first line of output and to its exit, its
// peak memory, and that line. GNU time runs it and writes the peak to a file: a process launched from this one would
// report this one's own peak as its own (Linux carries it over the exec).
struct ProcessRun {
  bool succeeded = false;
  double toFirstLine = 0;
  double toExit = 0;
  double peakMegabytes = 0;
  std::string firstLine;
};

ProcessRun runProcess(std::vector<std::string> arguments) {
  ProcessRun run;
  const std::filesystem::path peakFile = SavedDrawing::shared().file().parent_path() / "peak.txt";
  arguments.insert(arguments.begin(), {"time", "-f", "%M", "-o", peakFile.string()});
  int output[2];
  if (pipe2(output, O_CLOEXEC) != 0) return run;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  const Clock::time_point start = Clock::now();
  pid_t child = 0;
  const bool spawned = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0;
  posix_spawn_file_actions_destroy(&actions);
  close(output[1]);
  if (!spawned) {
    close(output[0]);
    return run;
  }
  char byte = 0;
  bool lineEnded = false;
  while (read(output[0], &byte, 1) == 1) {
    if (lineEnded) continue;
    if (byte == '\n') {
      lineEnded = true;
      run.toFirstLine = std::chrono::duration<double>(Clock::now() - start).count();
    } else {
      run.firstLine += byte;
    }
  }
  close(output[0]);
  int status = 0;
  if (waitpid(child, &status, 0) != child) return run;
  run.toExit = std::chrono::duration<double>(Clock::now() - start).count();
  std::ifstream peak(peakFile);
  double kilobytes = 0;
  run.succeeded = WIFEXITED(status) && WEXITSTATUS(status) == 0 && (peak >> kilobytes);
  run.peakMegabytes = kilobytes / 1024;
  return run;
}

// The seconds and peak memory of each run of one program.
struct Series {
  std::vector<double> seconds;
  std::vector<double> peaks;

  void add(double time, double peak) {
    seconds.push_back(time);
    peaks.push_back(peak);
  }
};

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

double spread(const std::vector<double>& values) {
  if (values.empty()) return 0;
  const auto [low, high] = std::minmax_element(values.begin(), values.end());
  return *high - *low;
}

// The medians of both programs' runs, compared at the end.
struct ProcessFigures {
  Series program;
  Series rsvg;

  ~ProcessFigures() {
    if (program.seconds.empty() || rsvg.seconds.empty()) return;
    std::printf("whole process to the first frame: %.0f ms (spread %.0f, %zu runs), peak %.0f MB; rsvg-convert %.0f ms "
                "(spread %.0f), peak %.0f MB; ratio %.2f (goals under 1000 ms, 400 MB and a ratio of 0.5)\n",
                median(program.seconds) * 1000, spread(program.seconds) * 1000, program.seconds.size(),
                median(program.peaks), median(rsvg.seconds) * 1000, spread(rsvg.seconds) * 1000, median(rsvg.peaks),
                median(program.seconds) / median(rsvg.seconds));
  }
};
ProcessFigures processFigures;

// The part of the page the program's first frame showed, from its line "first frame … ms, page area x y w h at zoom
// z": rsvg-convert is given the same area at the same scale, so both draw the same pixels.
struct ShownArea {
  double x = 0, y = 0, width = 0, height = 0, zoom = 0;
};

bool readShownArea(const std::string& line, ShownArea& area) {
  const std::size_t at = line.find("page area ");
  return at != std::string::npos && std::sscanf(line.c_str() + at, "page area %lf %lf %lf %lf at zoom %lf", &area.x,
                                                &area.y, &area.width, &area.height, &area.zoom) == 5 &&
         area.width > 0 && area.height > 0 && area.zoom > 0;
}

std::vector<std::string> rsvgConvertArea(const ShownArea& area, const std::string& png, const std::string& svg) {
  const auto length = [](double value) { return std::to_string(value); };
  // Joined to their options: a separate negative value would be read as an option.
  return {"rsvg-convert", "--zoom=" + length(area.zoom), "--page-width=" + length(area.width * area.zoom),
          "--page-height=" + length(area.height * area.zoom), "--left=" + length(-area.x * area.zoom),
          "--top=" + length(-area.y * area.zoom), "-o", png, svg};
}

// Ours and the peer's runs alternate, so that a change in the machine's load falls on both alike.
void WholeProcessesToFirstFrame(benchmark::State& state) {
  const SavedDrawing& drawing = SavedDrawing::shared();
  const std::string png = (drawing.svg().parent_path() / "benchmark.png").string();
  for (auto _ : state) {
    const ProcessRun ours = runProcess({DRAFTWORK_PROGRAM, "--benchmark-first-frame", drawing.file().string()});
    ShownArea area;
    if (!ours.succeeded || ours.firstLine.rfind("first frame", 0) != 0 || !readShownArea(ours.firstLine, area)) {
      state.SkipWithError("the program ended without a first frame (no display? run under xvfb-run; GNU time missing?)");
      return;
    }
    const ProcessRun peer = runProcess(rsvgConvertArea(area, png, drawing.svg().string()));
    if (!peer.succeeded) {
      state.SkipWithError("rsvg-convert or GNU time failed or is missing (Debian packages librsvg2-bin, time)");
      return;
    }
    processFigures.program.add(ours.toFirstLine, ours.peakMegabytes);
    processFigures.rsvg.add(peer.toExit, peer.peakMegabytes);
    state.SetIterationTime(ours.toFirstLine);
    state.counters["peak_MB"] = ours.peakMegabytes;
    state.counters["rsvg_peak_MB"] = peer.peakMegabytes;
    state.counters["area_width"] = area.width;
    state.counters["area_height"] = area.height;
  }
}
BENCHMARK(WholeProcessesToFirstFrame)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
