// Start-up to the first frame: the program's own start-up (the application, its project, document types and main
// window, the file given on the command line opened and shown) run in-process on the 10,000-layer drawing, the
// GLib main loop running until the canvas has drawn once. The time ends at that first frame; closing the window
// and dropping the document afterwards are not counted. The first start-up of the process, which also loads GTK,
// its theme and the fonts, is printed apart at the end; reading the file alone is measured beside it.
// Needs an X display (the program opens a window): run under xvfb-run.

#include <benchmark/benchmark.h>
#include <glibmm/main.h>
#include <gtkmm/application.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include "app/CMApplicationStartup.h"
#include "bench/mixed_layer_scene.h"
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
  bool saved() const { return saved_; }

 private:
  SavedDrawing()
      : folder_(std::filesystem::temp_directory_path() / ("draftwork-startup-bench-" + std::to_string(getpid()))),
        file_(folder_ / "benchmark.vard") {
    std::filesystem::create_directories(folder_);
    platform::overrideFoldersRoot(folder_ / "root");
    // GTK's own records (recent files, settings) go there too, and no session bus is looked for.
    setenv("XDG_DATA_HOME", (folder_ / "root" / "data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (folder_ / "root" / "config").c_str(), 1);
    setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent", 1);
    platform::DictRef record = bench::documentRecord(bench::makeScene());
    record->set("width", static_cast<double>(bench::kWidth));
    record->set("height", static_cast<double>(bench::kHeight));
    auto document = std::make_shared<CMDocument>();
    document->setData(record);
    saved_ = document->writeToURL(file_, CMDocument::kFileType).ok();
  }

  std::filesystem::path folder_;
  std::filesystem::path file_;
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
  // Below the redraw priority: it runs once the frame in progress has been drawn and handed to the display.
  sigc::connection watch = Glib::signal_idle().connect([&] {
    const CMEditorView* canvas = CMEditorView::activeEditor();
    if (!canvas) return true;
    frame.elapsed = Clock::now() - start;
    frame.layers = canvas->layers().size();
    application->quit();
    return false;
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

}  // namespace
