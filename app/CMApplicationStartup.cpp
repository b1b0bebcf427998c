#include "app/CMApplicationStartup.h"

#include <gtkmm/application.h>

#include <memory>
#include <vector>

#include "document/CMCDRDocument.h"
#include "document/CMDocument.h"
#include "document/CMDocumentManager.h"
#include "document/CMImportExportServices.h"
#include "document/CMProject.h"
#include "document/CMShapeLibraries.h"
#include "io/export/CMExportManager.h"
#include "io/export/CMPNGOutputFormat.h"
#include "io/import/CMDrawingImport.h"
#include "io/import/CMImportCommand.h"
#include "platform/core/document_controller.h"
#include "platform/core/log.h"
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
};

void start(Session& session, Gtk::Application& application) {
  if (!platform::initializeUi()) {
    platform::logWarning("Draftwork needs a display.");
    return;
  }
  CMProject::shareProject();
  CMShapeLibraries::updateShapesLibrary();
  session.window = std::make_shared<CMMainWindowController>();
  session.documents = std::make_shared<platform::DocumentController>(session.window->sharedDialogs());
  session.documents->registerDocumentType(CMDocument::kFileType, {CMDocument::kFileType},
                                          [] { return std::make_shared<CMDocument>(); });
  session.documents->registerDocumentType(CMCDRDocument::kFileType, {CMCDRDocument::kFileType},
                                          [] { return std::make_shared<CMCDRDocument>(); });
  platform::DocumentController::install(session.documents);
  session.window->installAsServices();
  session.manager = std::make_shared<CMDocumentManager>(*session.documents, session.window);
  CMDocumentManager::install(session.manager);
  CMPageImageServiceFactory::install([] { return std::make_unique<CMPNGOutputFormat>(); });
  CMExportServiceFactory::install(CMExportManager::makeService);
  CMImportServiceFactory::install(CMImportCommand::makeService);
  CMCorelDrawReadServiceFactory::install([] { return std::make_unique<CMCorelDrawReader>(); });
  application.add_window(session.window->window().gtkWindow());
  session.window->setDidOrderOut([&application] { application.quit(); });
}

// A window that shows nothing is of no use: an empty start, or one whose files all failed, gets a new document.
void ensureDocument(Session& session) {
  if (!session.documents->documents().empty()) return;
  auto made = session.documents->newDocument();
  if (!made) session.documents->panels().presentError(made.error());
}

void open(Session& session, const std::vector<Glib::RefPtr<Gio::File>>& files) {
  for (const Glib::RefPtr<Gio::File>& file : files) {
    auto opened = session.documents->openDocument(file->get_path());
    if (!opened) session.documents->panels().presentError(opened.error());
  }
  ensureDocument(session);
  session.window->showWindow();
}

void shutdown(Session& session) {
  CMDocumentManager::install(nullptr);
  CMPageImageServiceFactory::install(nullptr);
  CMExportServiceFactory::install(nullptr);
  CMImportServiceFactory::install(nullptr);
  CMCorelDrawReadServiceFactory::install(nullptr);
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
    if (!session->window) return;
    ensureDocument(*session);
    session->window->showWindow();
  });
  application->signal_open().connect(
      [session](const std::vector<Glib::RefPtr<Gio::File>>& files, const Glib::ustring&) {
        if (session->window) open(*session, files);
      });
  application->signal_shutdown().connect([session] { shutdown(*session); });
  return application;
}

int runDraftwork(int argc, char** argv) { return makeDraftworkApplication()->run(argc, argv); }
