// The tool palette, the top toolbar's right-panel buttons, choosing tools and
// the tool keys.

#include <gtkmm/entry.h>
#include <gtkmm/textview.h>

#include <array>

#include "canvas/CMEditorView.h"
#include "canvas/CMFrameEditorView.h"
#include "document/CMProject.h"
#include "platform/ui/image_named.h"
#include "platform/ui/menu_bar.h"
#include "platform/ui/window.h"
#include "ui/CMLibraryPanelView.h"
#include "ui/CMMainWindowController.h"
#include "ui/CMSplitView.h"
#include "ui/CMToolKeyIds.h"
#include "ui/CMToolsView.h"
#include "ui/CMTopToolbarView.h"
#include "ui/CPMainView.h"

namespace {

struct ButtonSpec {
  int tag;
  const char* toolTip;  // the right-panel buttons' own; the palette's come from the key bindings
  const char* image;
};

constexpr std::array<ButtonSpec, 9> kPaletteButtons{{
    {kCMToolSelect, "", "select"},
    {kCMToolText, "", "texttool"},
    {kCMToolLine, "", "line"},
    {kCMToolRectangle, "", "rectangle"},
    {kCMToolOval, "", "oval"},
    {kCMToolRoundRectangle, "", "roundrectangle"},
    {kCMToolStar, "", "star"},
    {kCMToolPolygon, "", "polygon"},
    {kCMToolZoom, "", "zoomtool"},
}};

constexpr std::array<ButtonSpec, 4> kRightPanelButtons{{
    {4, "Layer Style", "layerstyle"},
    {3, "Layers", "layers"},
    {2, "Document", "document"},
    {5, "Shapes", "library"},
}};

constexpr int kRightPanelGap = 50;

Glib::RefPtr<Gdk::Pixbuf> selectedImageOf(const char* image) {
  return platform::pixbufNamed(std::string(image) + "clicked");
}

}  // namespace

void CMMainWindowController::createToolbars() {
  CMProject& project = CMProject::shareProject();
  canvasCommands_ = std::make_unique<CMEditorCanvasCommands>([this]() -> CMEditorView& { return editor(); });
  optionStrips_ = std::make_unique<CMToolOptionStrips>(CMToolOptionStrips::Commands{
      [this](int tag) { OnSelectAction(tag); },
      [this](int pointType) { canvasCommands_->changePointType(pointType); },
      [this](int index) { OnChangeZoom(index); },
  });

  CMToolsView& palette = mainView_->toolsBar();
  const auto toolAction = [this](platform::Control& sender) { OnToolAction(sender); };
  for (const ButtonSpec& spec : kPaletteButtons) {
    palette.addButton(project.keyBindings().titleFor(toolKeyIdForTag(spec.tag)), platform::pixbufNamed(spec.image),
                      selectedImageOf(spec.image), toolAction, spec.tag);
  }
  palette.selectTool(selectedTool_);

  CMTopToolbarView& toolbar = mainView_->topToolbar();
  toolbar.addOffset(kRightPanelGap);
  toolbar.addOffset(CMToolsBase::kRightPanelMarker);
  toolbar.selectEditMode(project.editMode());
  const auto panelAction = [this](platform::Control& sender) { OnRightPanelShowType(sender.tag()); };
  for (const ButtonSpec& spec : kRightPanelButtons) {
    toolbar.addButton(spec.toolTip, platform::pixbufNamed(spec.image), selectedImageOf(spec.image), panelAction,
                      spec.tag);
  }
  toolbar.selectRightPanel(project.rightPanelShowType());
  showAdditionControls(kCMToolSelect);
  // The right-panel buttons follow the divider.
  mainView_->splitView().setDidResizeSubviews([this] {
    mainView_->layout();
    mainView_->topToolbar().layoutSubViews();
  });

  OnUpdateKeyBinding();
  keyBindingsChanged_ = platform::NotificationCenter::defaultCenter().addObserver(
      CMKeyBindingManager::kUpdateNotification, [this](const platform::Notification&) { OnUpdateKeyBinding(); });
  project.keyBindings().bindKeys([this, receiver = std::weak_ptr<bool>(toolKeysReceiver_)](std::int32_t keyId) {
    if (receiver.lock()) OnToolActionFromShotkeys(keyId);
  });
  // Tool keys come after the menus' key equivalents and before the first responder.
  window_->host().setKeyEquivalentHandler([this](const platform::Event& event) {
    return menuBar_->performKeyEquivalent(event) || performToolShortcut(event);
  });
}

void CMMainWindowController::selectTool(int tag, const platform::DictRef& data) {
  const std::int32_t mode = tag == kCMToolGradient    ? kCMEditModeGradient
                            : tag == kCMToolPathPoints ? kCMEditModePathPoints
                                                       : kCMEditModeObject;
  CMProject::shareProject().setEditMode(mode);
  selectedTool_ = tag;
  showAdditionControls(tag);
  mainView_->toolsBar().selectTool(selectedTool_);
  workView_->selectTool(tag, data);
  if (tag != kCMToolLibraryShape) {
    if (CMLibraryPanelView* library = CMLibraryPanelView::sharedLibraryPanel()) library->deselectAll();
  }
}

void CMMainWindowController::OnRightPanelShowType(int type) {
  CMProject& project = CMProject::shareProject();
  project.setRightPanelShowType(type);
  mainView_->topToolbar().selectRightPanel(project.rightPanelShowType());
  updateRightPanel();
}

void CMMainWindowController::OnUpdateKeyBinding() {
  const CMKeyBindingManager& bindings = CMProject::shareProject().keyBindings();
  for (const CMToolsBase::Element& element : mainView_->toolsBar().actions()) {
    if (!element.button) continue;
    const int keyId = toolKeyIdForTag(element.button->tag());
    if (keyId == 0) continue;
    element.button->setToolTip(bindings.titleFor(keyId));
    element.button->setKeyEquivalent(bindings.valueFor(keyId), bindings.flagsFor(keyId));
  }
}

void CMMainWindowController::OnToolActionFromShotkeys(int keyId) {
  const int tag = toolTagForKeyId(keyId);
  if (tag >= 0) selectTool(tag, nullptr);
}

bool CMMainWindowController::textHasFocus() const {
  const Gtk::Widget* focus = window_->gtkWindow().get_focus();
  return dynamic_cast<const Gtk::Entry*>(focus) || dynamic_cast<const Gtk::TextView*>(focus);
}

bool CMMainWindowController::performToolShortcut(const platform::Event& event) {
  // Typing into a field must type, whatever the key is bound to.
  if (event.type != platform::EventType::KeyDown || textHasFocus()) return false;
  return CMProject::shareProject().keyBindings().performKeyEquivalent(event.keyCode, event.modifierFlags);
}
