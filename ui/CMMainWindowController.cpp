#include "ui/CMMainWindowController.h"

#include <gdkmm/display.h>
#include <gdkmm/monitor.h>

#include <algorithm>
#include <utility>

#include "canvas/CMEditorView.h"
#include "canvas/CMFrameEditorView.h"
#include "document/CMCaches.h"
#include "document/CMDocument.h"
#include "document/CMDocumentManager.h"
#include "document/CMLayer.h"
#include "document/CMNotificationNames.h"
#include "document/CMProject.h"
#include "platform/core/document_controller.h"
#include "platform/core/main_queue.h"
#include "platform/ui/event.h"
#include "platform/ui/menu.h"
#include "platform/ui/menu_bar.h"
#include "platform/ui/view_widget.h"
#include "platform/ui/window.h"
#include "ui/CMDocumentDialogs.h"
#include "ui/CPMainView.h"
#include "ui/VDGradientWindowController.h"

namespace {

constexpr const char* kApplicationName = "Draftwork";

platform::Size mainScreenSize() {
  Glib::RefPtr<Gdk::Display> display = Gdk::Display::get_default();
  Glib::RefPtr<Gdk::Monitor> monitor = display ? display->get_primary_monitor() : Glib::RefPtr<Gdk::Monitor>();
  if (!monitor && display && display->get_n_monitors() > 0) monitor = display->get_monitor(0);
  if (!monitor) return {1024, 768};
  Gdk::Rectangle area;
  monitor->get_geometry(area);
  return {static_cast<double>(area.get_width()), static_cast<double>(area.get_height())};
}

std::shared_ptr<CMMainWindowController>& sharedSlot() {
  static std::shared_ptr<CMMainWindowController> shared;
  return shared;
}

}  // namespace

CMMainWindowController::CMMainWindowController()
    : workView_(std::make_shared<CMFrameEditorView>()),
      dialogs_(std::make_shared<CMDocumentDialogs>([this] { return window_.get(); })) {
  const platform::Size screen = mainScreenSize();
  const double width = std::max(1.0, screen.width - kScreenWidthInset);
  const double height = std::max(1.0, screen.height - kScreenHeightInset);
  window_ = std::make_unique<platform::Window>(platform::Size{width, height}, kApplicationName);
  mainView_ = std::make_shared<CPMainView>(platform::Rect{0, 0, width, height}, workView_);
  mainView_->setCanvasKeyHandler([this](const platform::Event& event) { return editor().customKeyDown(event); });
  window_->setContentView(mainView_);
  buildMenus();
  // The whole window, menu bar included, takes the size.
  Gtk::Window& gtkWindow = window_->gtkWindow();
  gtkWindow.set_default_size(platform::pixelsFromLength(width), platform::pixelsFromLength(height));
  gtkWindow.set_position(Gtk::WIN_POS_CENTER);
  gtkWindow.signal_delete_event().connect([this](GdkEventAny*) {
    OnCloseDocument();
    return true;
  });
  platform::NotificationCenter& center = platform::NotificationCenter::defaultCenter();
  layersChanged_ =
      center.addObserver(kNotificationLayersChanged, [this](const platform::Notification&) { selectedLayer_ = nullptr; });
  tabsChanged_ = center.addObserver(kNotificationNeedToUpdateDocumentTab,
                                    [this](const platform::Notification&) { updateDocumentTabs(); });
  // A closed drawing that was not shown changes the tabs without showing another.
  documentsChanged_ = center.addObserver(kNotificationDocumentChanged,
                                         [this](const platform::Notification&) { updateDocumentTabs(); });
  window_->makeFirstResponder(mainView_.get());
  // The right panel starts as the user left it.
  if (CMProject::shareProject().profile().getState("hideRightPanel") != 0) mainView_->toggleRightPanel();
  createToolbars();
  updateRightPanel();
  loadDefaultPanels();
  mainView_->setFrameDidChange([this] { updatePanel(); });
}

CMMainWindowController::~CMMainWindowController() {
  CMProject& project = CMProject::shareProject();
  if (project.mainView() == mainView_.get()) project.setMainView(nullptr);
  platform::DocumentController::shared().windowMenu().removeWindowsItem(static_cast<const CMMainWindowPresenter*>(this));
}

std::shared_ptr<CMMainWindowController> CMMainWindowController::sharedWindowController() {
  if (!sharedSlot()) std::make_shared<CMMainWindowController>()->installAsServices();
  return sharedSlot();
}

void CMMainWindowController::installAsServices() {
  sharedSlot() = shared_from_this();
  CMMainWindowService::install(shared_from_this());
  CMCanvasWindowService::install(shared_from_this());
  CMPanelWindow::install(shared_from_this());
  CMGradientEditorService::install(VDGradientWindowController::sharedGradientPointer());
  platform::DocumentController::shared().windowMenu().setChangeHandler([this] { rebuildWindowMenu(); });
  rebuildWindowMenu();
}

void CMMainWindowController::uninstall() {
  if (sharedSlot().get() != this) return;
  platform::DocumentController::shared().windowMenu().setChangeHandler(nullptr);
  CMMainWindowService::install(nullptr);
  CMCanvasWindowService::install(nullptr);
  CMPanelWindow::install(nullptr);
  CMGradientEditorService::install(nullptr);
  sharedSlot().reset();
}

CMEditorView& CMMainWindowController::editor() const { return workView_->editor(); }

void CMMainWindowController::updateEditor() {
  if (editorUpdateQueued_) return;
  editorUpdateQueued_ = true;
  platform::dispatchAsync([weak = weak_from_this()] {
    if (const auto self = weak.lock()) {
      self->editorUpdateQueued_ = false;
      self->mainView_->updateEditor();
    }
  });
}

void CMMainWindowController::updateDocument() { setDocument(document_); }

std::shared_ptr<CMBaseDocument> CMMainWindowController::document() { return document_; }

std::shared_ptr<platform::Document> CMMainWindowController::shownDocument() const { return document_; }

void CMMainWindowController::setDocument(std::shared_ptr<CMBaseDocument> document) {
  auto drawing = std::dynamic_pointer_cast<CMDocument>(document);
  if (drawing != document_) {
    // The cached layer images are keyed by layer id, which another document reuses.
    CMCaches::sharedCaches().clean();
    selectedLayer_ = nullptr;
    if (document_) {
      document_->setDirtyChanged(nullptr);
      document_->undoManager().setCurrentLayer(nullptr);
    }
    // The title and the tab mark unsaved changes as they come and go.
    if (drawing) {
      drawing->setDirtyChanged([weak = weak_from_this()] {
        if (const auto self = weak.lock()) {
          self->updateTitle();
          self->updateDocumentTabs();
        }
      });
      // Each step remembers the layer the commands take as the current one (it has the handles), which undo and
      // redo make current again.
      drawing->undoManager().setCurrentLayer([weak = weak_from_this()]() -> std::optional<std::int32_t> {
        const auto self = weak.lock();
        const CMEditorView::Records current = self ? self->editor().layerSelected() : CMEditorView::Records{};
        if (current.empty()) return std::nullopt;
        return current.front()->get("id").intValue();
      });
    }
  }
  document_ = drawing;
  updateTitle();
  if (!document_) {
    setAssignDocumentForPanels(nullptr);
    return;
  }
  CMProject& project = CMProject::shareProject();
  editor().setViewMode(project.settings().boolForKey("viewMode"));
  mainView_->setDocument(document_);
  project.setMainView(mainView_.get());
  setAssignDocumentForPanels(document_);
  selectZoomIndex();
}

void CMMainWindowController::selectAddedLayers(const CMBaseDocument& document,
                                               const std::vector<platform::DictRef>& records) {
  if (&document != document_.get()) return;
  mainView_->updateEditor();
  editor().selectNewLayers(records);
}

void CMMainWindowController::updateTitle() {
  const std::string title = document_ ? document_->markedDisplayName() : std::string(kApplicationName);
  window_->setTitle(title);
  const std::string file = document_ ? document_->fileURL().string() : std::string();
  platform::DocumentController::shared().windowMenu().addWindowsItem(
      static_cast<const CMMainWindowPresenter*>(this), title, file, [this] { window_->gtkWindow().present(); });
}

void CMMainWindowController::showWindow() {
  // Not show_all: hidden panes and scrollers keep their widgets hidden.
  window_->gtkWindow().present();
}

void CMMainWindowController::orderOut() { window_->hide(); }

void CMMainWindowController::updateDocumentTabs() { mainView_->update(); }

void CMMainWindowController::update() {
  workView_->updateEditorSize();
  mainView_->update();
}

void CMMainWindowController::selectLayer(const platform::DictRef& record, const void* sender) {
  setPropertyForPanel(record, sender);
  if (sender != &editor()) mainView_->selectLayer(record);
  selectedLayer_ = record;
  updateSubPanelState();
}

void CMMainWindowController::selectLayers(const std::vector<platform::DictRef>& records, const void* sender) {
  if (records.empty()) {
    selectLayer(platform::DictRef(), sender);
    return;
  }
  selectLayer(records.front(), sender);
  if (sender != &editor()) mainView_->selectLayers(records);
}

bool CMMainWindowController::isAltPressed() {
  const platform::Event* event = platform::currentEvent();
  return event && (event->modifierFlags & platform::modifier::Option);
}

bool CMMainWindowController::isShiftPressed() {
  const platform::Event* event = platform::currentEvent();
  return event && (event->modifierFlags & platform::modifier::Shift);
}

void CMMainWindowController::showArrangeMenu(platform::Point, platform::View&) { arrangeMenu_->popUpAtPointer(); }

void CMMainWindowController::setScrollPosition(platform::Point relative) { mainView_->setScrollPosition(relative); }
