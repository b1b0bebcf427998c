// The shape library panel's commands: its alerts, sheets and file panels, and the built-in libraries.

#include <algorithm>
#include <map>

#include "canvas/CMEditorView.h"
#include "platform/core/main_queue.h"
#include "platform/core/resources.h"
#include "platform/ui/alert.h"
#include "platform/ui/file_panel.h"
#include "platform/ui/menu.h"
#include "platform/ui/pop_up_button.h"
#include "ui/CMLibraryGridView.h"
#include "ui/CMLibraryItemPrototype.h"
#include "ui/CMLibraryPanelView.h"
#include "ui/CMMainWindowController.h"
#include "ui/CMPanelWindow.h"

namespace {

constexpr const char* kLibraryType = "slib";
constexpr const char* kDuplicateName = "This name already exists, enter a unique name.";

std::shared_ptr<platform::Alert> makeAlert(const std::string& message, const std::string& informative,
                                           std::vector<std::string> buttons) {
  auto alert = platform::Alert::create();
  alert->setMessageText(message);
  alert->setInformativeText(informative);
  for (const std::string& title : buttons) alert->addButtonWithTitle(title);
  return alert;
}

void selectTool(int tag, const platform::DictRef& data) {
  CMMainWindowController::sharedWindowController()->selectTool(tag, data);
}

}  // namespace

void CMLibraryPanelView::later(std::function<void(CMLibraryPanelView&)> work) {
  platform::dispatchAsync([this, alive = std::weak_ptr<bool>(alive_), work = std::move(work)] {
    if (alive.lock()) work(*this);
  });
}

void CMLibraryPanelView::runAlert(std::shared_ptr<platform::Alert> alert, std::function<void(int)> answered) {
  platform::Window* window = CMPanelWindow::shared().sheetParent();
  if (!window) {
    answered(alert->runModal());
    return;
  }
  alert->beginSheet(*window, [alive = std::weak_ptr<bool>(alive_), answered = std::move(answered)](int response) {
    if (alive.lock()) answered(response);
  });
}

void CMLibraryPanelView::showAlert(const std::string& text) { runAlert(makeAlert("Error", text, {"OK"}), [](int) {}); }

void CMLibraryPanelView::showStoreMessages() {
  for (const std::string& message : libraries_.takeAlertMessages()) {
    later([message](CMLibraryPanelView& panel) { panel.showAlert(message); });
  }
}

void CMLibraryPanelView::askForName(const std::string& informative, const std::string& initial,
                                    std::function<void(const std::string&)> accepted) {
  auto alert = makeAlert("Name", informative, {"Ok", "Cancel"});
  alert->addAccessoryTextField(initial);
  runAlert(alert, [alert, accepted = std::move(accepted)](int response) {
    if (response == platform::Alert::FirstButtonReturn) accepted(alert->accessoryText());
  });
}

void CMLibraryPanelView::askToRemove(const std::string& informative, std::function<void()> confirmed) {
  runAlert(makeAlert("Warning", informative, {"Yes", "No"}), [confirmed = std::move(confirmed)](int response) {
    if (response == platform::Alert::FirstButtonReturn) confirmed();
  });
}

void CMLibraryPanelView::runFilePanel(std::shared_ptr<platform::FilePanel> panel,
                                      std::function<void(platform::FilePanel&)> accepted) {
  platform::Window* window = CMPanelWindow::shared().sheetParent();
  if (!window) return;
  panel->beginSheet(*window, [alive = std::weak_ptr<bool>(alive_), panel, accepted = std::move(accepted)](bool ok) {
    if (ok && alive.lock()) accepted(*panel);
  });
}

void CMLibraryPanelView::OnSettings() {
  menuSettings_->update();
  menuSettings_->popUpAtPointer();
}

void CMLibraryPanelView::OnSelectLibrary() {
  libraries_.selectLibrary(librarySelectorView_->titleOfSelectedItem());
  reload();
}

void CMLibraryPanelView::OnNewShapeLibrary() {
  askForName("Please enter Library name.", libraries_.generateNewName(), [this](const std::string& name) {
    afterNaming(libraries_.createNew(name), &CMLibraryPanelView::loadItems);
  });
}

void CMLibraryPanelView::OnRename() {
  if (!libraries_.selectedLibrary()) return;
  askForName("Please enter new Library name.", libraries_.selectedLibrary()->name(), [this](const std::string& name) {
    afterNaming(libraries_.rename(name), &CMLibraryPanelView::updateLibraryNames);
  });
}

void CMLibraryPanelView::afterNaming(bool accepted, void (CMLibraryPanelView::*refresh)()) {
  showStoreMessages();
  later([accepted, refresh](CMLibraryPanelView& panel) {
    if (accepted) {
      (panel.*refresh)();
    } else {
      panel.showAlert(kDuplicateName);
    }
  });
}

void CMLibraryPanelView::OnRemoveShapeLibrary() {
  if (!libraries_.selectedLibrary()) return;
  askToRemove("The library will be removed. Continue?", [this] {
    libraries_.remove(libraries_.selectedLibrary());
    showStoreMessages();
    later([](CMLibraryPanelView& panel) { panel.loadItems(); });
  });
}

void CMLibraryPanelView::OnImport() {
  auto panel = platform::FilePanel::openPanel();
  panel->setAllowedFileTypes({kLibraryType});
  panel->setAllowsMultipleSelection(true);
  runFilePanel(panel, [this](platform::FilePanel& chosen) {
    std::vector<std::string> refused;
    for (const std::string& path : chosen.paths()) {
      const platform::Status added = libraries_.addWithURL(path);
      if (!added) refused.push_back(added.error().description);
    }
    loadItems();
    showStoreMessages();
    for (const std::string& message : refused) later([message](CMLibraryPanelView& view) { view.showAlert(message); });
  });
}

void CMLibraryPanelView::OnExport() {
  const auto library = libraries_.selectedLibrary();
  if (!library) return;
  auto panel = platform::FilePanel::savePanel();
  panel->setAllowedFileTypes({kLibraryType});
  panel->setNameFieldStringValue(library->name() + "." + kLibraryType);
  runFilePanel(panel, [this, library](platform::FilePanel& chosen) {
    if (chosen.paths().empty() || !library->exportToURL(chosen.paths().front())) {
      later([](CMLibraryPanelView& view) { view.showAlert("Can't save file!"); });
    }
  });
}

void CMLibraryPanelView::addSelectedLayers(bool images) {
  CMEditorView* canvas = CMEditorView::activeEditor();
  if (!canvas) return;
  std::vector<CMLayer*> layers;
  for (const auto& layer : canvas->selectedLayers()) layers.push_back(layer.get());
  if (images) {
    libraries_.addImages(layers);
  } else {
    libraries_.addShapes(layers);
  }
  reload();
  showStoreMessages();
}

void CMLibraryPanelView::OnAddSelectedShapesToLibrary() { addSelectedLayers(false); }

void CMLibraryPanelView::OnAddSelectedImageToLibrary() { addSelectedLayers(true); }

void CMLibraryPanelView::OnDeleteShape() {
  for (const auto& cell : collectionView_->items()) {
    if (cell->isSelected()) libraries_.deleteItem(cell->shapeItem().get());
  }
  reload();
  showStoreMessages();
  selectTool(kCMToolSelect, nullptr);
}

void CMLibraryPanelView::OnRemoveShape(const void* cell) {
  for (const auto& candidate : collectionView_->items()) {
    if (candidate.get() != cell) continue;
    libraries_.deleteItem(candidate->shapeItem().get());
    reload();
    showStoreMessages();
    selectTool(kCMToolSelect, nullptr);
    return;
  }
}

// ---- built-in libraries ----

std::shared_ptr<CMShapeLibarary> CMLibraryPanelView::builtInLibrary(const std::string& resource) {
  const std::filesystem::path file = platform::pathForResource(resource, kLibraryType, "library");
  if (file.empty()) return nullptr;
  auto library = CMShapeLibraries::readLibraryFile(file);
  return library ? library.value() : nullptr;
}

bool CMLibraryPanelView::isUnchangedBuiltIn(const CMShapeLibarary& library) {
  // Read once: the name inside each shipped file, and that file.
  static const std::map<std::string, std::string> resources = [] {
    std::map<std::string, std::string> found;
    for (const BuiltInLibrary& entry : builtInLibraries()) {
      if (const auto builtIn = builtInLibrary(entry.resource)) found.emplace(builtIn->name(), entry.resource);
    }
    return found;
  }();
  const auto resource = resources.find(library.name());
  if (resource == resources.end()) return false;
  const std::shared_ptr<CMShapeLibarary> builtIn = builtInLibrary(resource->second);
  return builtIn && library.hasSameItems(*builtIn);
}

void CMLibraryPanelView::importBuiltIn(const std::string& resource) {
  const std::shared_ptr<CMShapeLibarary> library = builtInLibrary(resource);
  if (!library) {
    runAlert(makeAlert("Error", "File does not exist!", {"OK"}), [](int) {});
    return;
  }
  const auto selected = libraries_.selectedLibrary();
  if (selected && !isUnchangedBuiltIn(*selected)) {
    askToRemove("The library will be removed. Continue?", [this, library] { replaceSelectedWith(library); });
    return;
  }
  replaceSelectedWith(library);
}

void CMLibraryPanelView::replaceSelectedWith(const std::shared_ptr<CMShapeLibarary>& library) {
  if (const auto selected = libraries_.selectedLibrary()) libraries_.remove(selected);
  libraries_.addLibrary(library);
  loadItems();
  showStoreMessages();
}

void CMLibraryPanelView::loadfirstlibrary() {
  const std::shared_ptr<CMShapeLibarary> builtIn = builtInLibrary("StrokeClothes");
  if (!builtIn) {
    loadItems();
    runAlert(makeAlert("Error", "File does not exist!", {"OK"}), [](int) {});
    return;
  }
  // Never at the cost of a library of the user's: the one of that name is selected, else the file is added.
  const auto& existing = libraries_.items();
  const bool present = std::any_of(existing.begin(), existing.end(),
                                   [&](const auto& library) { return library->name() == builtIn->name(); });
  if (present) {
    libraries_.selectLibrary(builtIn->name());
  } else {
    libraries_.addLibrary(builtIn);
  }
  loadItems();
}
