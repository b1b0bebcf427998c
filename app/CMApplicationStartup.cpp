#include "app/CMApplicationStartup.h"

#include <glibmm/main.h>
#include <gtkmm/application.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/AppDelegate.h"
#include "canvas/CMEditorView.h"
#include "canvas/CMZoomSteps.h"
#include "document/CMCDRDocument.h"
#include "document/CMDocument.h"
#include "document/CMDocumentManager.h"
#include "document/CMImportExportServices.h"
#include "document/CMProject.h"
#include "io/cdr/CMCDRConverterProcess.h"
#include "io/export/CMExportManager.h"
#include "io/export/CMPNGOutputFormat.h"
#include "io/import/CMConversionProgressWindow.h"
#include "io/import/CMDrawingImport.h"
#include "io/import/CMImportCommand.h"
#include "platform/core/document_controller.h"
#include "platform/core/log.h"
#include "platform/graphics/rect_functions.h"
#include "platform/ui/recent_documents.h"
#include "platform/ui/scroll_view.h"
#include "platform/ui/ui_initialization.h"
#include "platform/ui/window.h"
#include "ui/CMDocumentDialogs.h"
#include "ui/CMMainWindowController.h"

namespace {

constexpr const char* kApplicationId = "org.draftwork.Draftwork";

// What lives as long as the application runs.
struct Session {
  std::shared_ptr<CMMainWindowController> window;
  std::shared_ptr<platform::DocumentController> documents;
  std::shared_ptr<CMDocumentManager> manager;
  std::unique_ptr<AppDelegate> delegate;
};

void start(Session& session, Gtk::Application& application) {
  if (!platform::initializeUi()) {
    platform::logWarning("Draftwork needs a display.");
    return;
  }
  AppDelegate::initialize();
  CMProject::shareProject();
  session.window = std::make_shared<CMMainWindowController>();
  session.documents = std::make_shared<platform::DocumentController>(session.window->sharedDialogs());
  session.documents->registerDocumentType(CMDocument::kFileType, {CMDocument::kFileType},
                                          [] { return std::make_shared<CMDocument>(); });
  session.documents->registerDocumentType(CMCDRDocument::kFileType, {CMCDRDocument::kFileType},
                                          [] { return std::make_shared<CMCDRDocument>(); });
  session.documents->setNoteRecentDocument(platform::RecentDocuments::noteNewRecentDocumentURL);
  platform::DocumentController::install(session.documents);
  session.window->installAsServices();
  session.manager = std::make_shared<CMDocumentManager>(*session.documents, session.window);
  CMDocumentManager::install(session.manager);
  CMPageImageServiceFactory::install([] { return std::make_unique<CMPNGOutputFormat>(); });
  CMExportServiceFactory::install(CMExportManager::makeService);
  CMImportServiceFactory::install(CMImportCommand::makeService);
  CMCorelDrawReadServiceFactory::install([] { return std::make_unique<CMCorelDrawReader>(); });
  CMCDRConverterProcess::installProgress(CMConversionProgressWindow::make);
  session.delegate = std::make_unique<AppDelegate>();
  session.delegate->setTerminate([&application] { application.quit(); });
  CMApplicationCommands::install(session.delegate.get());
  // The application runs until its delegate finds no window visible; it does not wait for windows it knows of.
  application.hold();
  session.delegate->watchWindows();
}

void open(Session& session, const std::vector<Glib::RefPtr<Gio::File>>& files) {
  for (const Glib::RefPtr<Gio::File>& file : files) {
    const std::string path = file->get_path();
    if (path.empty()) {
      session.documents->panels().presentError(platform::Error::make(
          "Draftwork", 0, "\u201c" + file->get_uri() + "\u201d is not a file on this computer."));
      continue;
    }
    session.delegate->applicationOpenFile(path);
  }
  if (!session.delegate->applicationHasStarted()) session.delegate->applicationDidFinishLaunching();
}

void shutdown(Session& session) {
  // Whatever ended the run, no setting changed in it is lost.
  if (session.delegate) CMProject::shareProject().saveSettings();
  CMApplicationCommands::install(nullptr);
  CMDocumentManager::install(nullptr);
  CMPageImageServiceFactory::install(nullptr);
  CMExportServiceFactory::install(nullptr);
  CMImportServiceFactory::install(nullptr);
  CMCorelDrawReadServiceFactory::install(nullptr);
  CMCDRConverterProcess::installProgress(nullptr);
  if (session.window) session.window->uninstall();
  platform::DocumentController::install(nullptr);
  session = Session{};
}

}  // namespace

Glib::RefPtr<Gtk::Application> makeDraftworkApplication() {
  Glib::RefPtr<Gtk::Application> application = Gtk::Application::create(kApplicationId, Gio::APPLICATION_HANDLES_OPEN);
  // The handlers share the session, so it lives as long as the application does.
  auto session = std::make_shared<Session>();
  Gtk::Application* app = application.get();
  application->signal_startup().connect([session, app] { start(*session, *app); });
  application->signal_activate().connect([session] {
    if (!session->delegate) return;
    if (session->delegate->applicationHasStarted()) return session->delegate->applicationActivate();
    session->delegate->applicationDidFinishLaunching();
  });
  application->signal_open().connect(
      [session](const std::vector<Glib::RefPtr<Gio::File>>& files, const Glib::ustring&) {
        if (session->window) open(*session, files);
      });
  application->signal_shutdown().connect([session] { shutdown(*session); });
  return application;
}

sigc::connection whenFirstFrameDrawn(std::function<void()> drawn) {
  // Below the redraw priority: it runs once the frame in progress has been drawn and handed to the display.
  return Glib::signal_idle().connect([drawn = std::move(drawn)] {
    if (!CMEditorView::activeEditor()) return true;
    drawn();
    return false;
  });
}

namespace {

// The part of the page the canvas shows, in page units, and the zoom it shows it at: what another program must draw
// to have drawn what the first frame drew.
std::string shownPageArea() {
  const CMEditorView* editor = CMEditorView::activeEditor();
  for (const platform::View* view = editor ? editor->superview() : nullptr; view; view = view->superview()) {
    const auto* scroll = dynamic_cast<const platform::ScrollView*>(view);
    if (!scroll || !scroll->documentView()) continue;
    const platform::Rect visible = scroll->documentVisibleRect();
    const platform::View& document = *scroll->documentView();
    const auto onPage = [&](platform::Point point) {
      return editor->backZoomTransform().transformPoint(
          editor->convertPointFromWindow(document.convertPointToWindow(point)));
    };
    const platform::Point a = onPage(visible.origin);
    const platform::Point b = onPage({platform::maxX(visible), platform::maxY(visible)});
    const platform::DictRef root = editor->document() ? editor->document()->data() : nullptr;
    if (!root) return {};
    const platform::Size page{CMUsablePageLength(root->get("width").floatValue()),
                              CMUsablePageLength(root->get("height").floatValue())};
    const double left = std::clamp(std::min(a.x, b.x), 0.0, page.width);
    const double top = std::clamp(std::min(a.y, b.y), 0.0, page.height);
    const double right = std::clamp(std::max(a.x, b.x), 0.0, page.width);
    const double bottom = std::clamp(std::max(a.y, b.y), 0.0, page.height);
    char text[160];
    std::snprintf(text, sizeof text, ", page area %.1f %.1f %.1f %.1f at zoom %g", left, top, right - left,
                  bottom - top, static_cast<double>(editor->zoom()));
    return text;
  }
  return {};
}

}  // namespace

int runDraftwork(int argc, char** argv) {
  const auto start = std::chrono::steady_clock::now();
  std::vector<char*> arguments(argv, argv + argc);
  const auto benchmark = std::find_if(arguments.begin(), arguments.end(), [](const char* argument) {
    return std::string_view(argument) == "--benchmark-first-frame";
  });
  Glib::RefPtr<Gtk::Application> application = makeDraftworkApplication();
  if (benchmark != arguments.end()) {
    arguments.erase(benchmark);
    whenFirstFrameDrawn([start, app = application.get()] {
      std::printf("first frame %.1f ms%s\n",
                  std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count(),
                  shownPageArea().c_str());
      std::fflush(stdout);
      app->quit();
    });
  }
  return application->run(static_cast<int>(arguments.size()), arguments.data());
}
