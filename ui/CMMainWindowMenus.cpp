// The main menu (File, Edit, Arrange, View, Window, Help) and the canvas's context menu. Items
// whose command may not apply carry a validator; the command checks again itself. The
// arrange commands are always enabled: each one checks the selection itself.

#include <gtkmm/menuitem.h>
#include <gtkmm/separatormenuitem.h>

#include "document/CMDocument.h"
#include "platform/core/document_controller.h"
#include "platform/ui/event.h"
#include "platform/ui/menu.h"
#include "platform/ui/menu_bar.h"
#include "platform/ui/window.h"
#include "ui/CMApplicationCommands.h"
#include "ui/CMMainWindowController.h"

namespace {

using platform::KeyEquivalent;
using platform::MenuItem;
namespace modifier = platform::modifier;

KeyEquivalent shortcut(const char* key, platform::ModifierFlags extra = 0) {
  return KeyEquivalent{key, modifier::Control | extra};
}

// The F1 key's characters.
constexpr const char* kF1 = "\uF704";

// Runs an application command when the application shell is installed.
template <class Command>
void applicationCommand(Command command) {
  if (CMApplicationCommands* commands = CMApplicationCommands::installed()) command(*commands);
}

// The arrange commands by their strip tags; a null title is a separator.
struct ArrangeItem {
  const char* title;
  int tag;
};
constexpr ArrangeItem kArrangeItems[] = {
    {"Group", 1},           {"Ungroup", 2},       {nullptr, 0},           {"Bring to Front", 12},
    {"Bring Forward", 13},  {"Send Backward", 15}, {"Send to Back", 14},  {nullptr, 0},
    {"Align Left", 5},      {"Align Right", 6},   {"Align Top", 3},       {"Align Bottom", 4},
    {nullptr, 0},           {"Flip Horizontal", 7}, {"Flip Vertical", 8}, {nullptr, 0},
    {"Union", 16},          {"Subtract", 17},     {"Intersect", 18},      {"Difference", 19},
};

}  // namespace

void CMMainWindowController::buildMenus() {
  menuBar_ = std::make_shared<platform::MenuBar>();
  buildFileMenu();
  buildEditMenu();
  addArrangeItems(menuBar_->addMenu("Arrange"));
  buildViewMenu();
  buildWindowMenu();
  buildHelpMenu();
  buildArrangeMenu();
  window_->setMainMenu(menuBar_);
}

void CMMainWindowController::buildFileMenu() {
  platform::Menu& menu = menuBar_->addMenu("File");
  menu.addItem("New\u2026", [](MenuItem&) { applicationCommand([](auto& app) { app.OnNewDocument(true); }); },
               shortcut("n"));
  menu.addItem("New from Template\u2026",
               [](MenuItem&) { applicationCommand([](auto& app) { app.OnFromTemplates(); }); });
  platform::Menu& samples = menu.addSubmenu("Samples");
  for (std::size_t index = 0; index < std::size(CMApplicationCommands::kSampleNames); ++index) {
    samples.addItem(CMApplicationCommands::kSampleTitles[index], [index](MenuItem&) {
      applicationCommand([index](auto& app) { app.loadSample(CMApplicationCommands::kSampleNames[index]); });
    });
  }
  menu.addItem("Open\u2026", [this](MenuItem&) { OnOpenDocument(); }, shortcut("o"));
  menu.addSeparator();
  menu.addItem("Save", [this](MenuItem&) { OnSaveDocument(); }, shortcut("s"))
      .setValidator([this](MenuItem&) { return document_ != nullptr; });
  menu.addItem("Save As\u2026", [this](MenuItem&) { OnSaveDocumentAs(); }, shortcut("s", modifier::Shift))
      .setValidator([this](MenuItem&) { return document_ != nullptr; });
  menu.addItem("Import\u2026", [this](MenuItem&) {
        if (document_) document_->OnImport();
      }).setValidator([this](MenuItem&) { return document_ != nullptr; });
  menu.addItem("Export\u2026", [this](MenuItem&) {
        if (document_) document_->OnExport();
      }).setValidator([this](MenuItem&) { return document_ != nullptr; });
  menu.addItem("Save as Template\u2026", [this](MenuItem&) {
        if (document_) document_->OnSaveAsTemplate();
      }).setValidator([this](MenuItem&) { return document_ != nullptr; });
  menu.addSeparator();
  menu.addItem("Close", [this](MenuItem&) { OnCloseDocument(); }, shortcut("w"))
      .setValidator([this](MenuItem&) { return document_ != nullptr; });
  menu.addSeparator();
  menu.addItem("Print\u2026", [this](MenuItem&) { OnPrint(); }, shortcut("p"))
      .setValidator([this](MenuItem&) { return document_ != nullptr; });
  menu.addSeparator();
  menu.addItem("Quit", [](MenuItem&) { applicationCommand([](auto& app) { app.quit(); }); }, shortcut("q"));
}

void CMMainWindowController::buildEditMenu() {
  platform::Menu& menu = menuBar_->addMenu("Edit");
  menu.addItem(undoTitle(), [this](MenuItem&) { undo(); }, shortcut("z")).setValidator([this](MenuItem& item) {
    item.setTitle(undoTitle());
    return canUndo();
  });
  menu.addItem(redoTitle(), [this](MenuItem&) { redo(); }, shortcut("z", modifier::Shift))
      .setValidator([this](MenuItem& item) {
        item.setTitle(redoTitle());
        return canRedo();
      });
  menu.addSeparator();
  menu.addItem("Cut", [this](MenuItem&) { cut(); }, shortcut("x")).setValidator([this](MenuItem&) {
    return hasSelection();
  });
  menu.addItem("Copy", [this](MenuItem&) { copy(); }, shortcut("c")).setValidator([this](MenuItem&) {
    return hasLayers();
  });
  menu.addItem("Paste", [this](MenuItem&) { paste(); }, shortcut("v")).setValidator([this](MenuItem&) {
    return canPaste();
  });
  menu.addItem("Delete", [this](MenuItem&) { deleteSelection(); }).setValidator([this](MenuItem&) {
    return hasSelection();
  });
  menu.addItem("Duplicate", [this](MenuItem&) { duplicate(); }, shortcut("d")).setValidator([this](MenuItem&) {
    return hasSelection();
  });
  menu.addItem("Select All", [this](MenuItem&) { selectAll(); }, shortcut("a")).setValidator([this](MenuItem&) {
    return hasLayers();
  });
  menu.addSeparator();
  menu.addItem("Preferences\u2026",
               [](MenuItem&) { applicationCommand([](auto& app) { app.OnShowPreferences(); }); });
}

void CMMainWindowController::buildViewMenu() {
  platform::Menu& menu = menuBar_->addMenu("View");
  const auto withDocument = [this](MenuItem&) { return document_ != nullptr; };
  MenuItem& zoomIn = menu.addItem("Zoom In", [this](MenuItem&) { OnZoomIn(); }, shortcut("+"));
  zoomIn.setValidator(withDocument);
  // The main keyboard's "+" shares its key with "=": that key zooms in with or without Shift.
  zoomIn.addKeyEquivalent(shortcut("="));
  menu.addItem("Zoom Out", [this](MenuItem&) { OnZoomOut(); }, shortcut("-")).setValidator(withDocument);
  menu.addItem("Zoom to Fit", [this](MenuItem&) { OnZoomFit(); }).setValidator(withDocument);
  menu.addItem("Actual Size", [this](MenuItem&) { OnZoom100(); }, shortcut("0")).setValidator(withDocument);
  menu.addSeparator();
  menu.addItem(rulerTitle(), [this](MenuItem&) { OnShowRulers(); }, shortcut("r")).setValidator([](MenuItem& item) {
    item.setTitle(rulerTitle());
    return true;
  });
  menu.addItem(gridTitle(), [this](MenuItem&) { OnShowGrid(); }, shortcut("'")).setValidator([](MenuItem& item) {
    item.setTitle(gridTitle());
    return true;
  });
  menu.addSeparator();
  menu.addItem(rightPanelTitle(), [this](MenuItem&) { OnShowRightPanel(); }).setValidator([this](MenuItem& item) {
    item.setTitle(rightPanelTitle());
    return true;
  });
  menu.addItem("Grid Settings\u2026", [](MenuItem&) { applicationCommand([](auto& app) { app.OnGridSettings(); }); });
}

void CMMainWindowController::buildHelpMenu() {
  platform::Menu& menu = menuBar_->addMenu("Help");
  menu.addItem("Draftwork Help", [](MenuItem&) { applicationCommand([](auto& app) { app.OnShowHelpWindow(); }); },
               KeyEquivalent{kF1, 0});
  menu.addItem("Welcome Tour", [](MenuItem&) { applicationCommand([](auto& app) { app.showTourWindow(); }); });
  menu.addItem("About Draftwork",
               [](MenuItem&) { applicationCommand([](auto& app) { app.OnShowAboutWindow(); }); });
}

void CMMainWindowController::buildWindowMenu() {
  windowMenu_ = &menuBar_->addMenu("Window");
}

void CMMainWindowController::rebuildWindowMenu() {
  // The document entries are plain GTK items after the menu's own items, rebuilt from the model each time.
  Gtk::Menu& menu = windowMenu_->gtkMenu();
  for (Gtk::Widget* child : menu.get_children()) gtk_widget_destroy(child->gobj());
  const platform::WindowMenu& model = platform::DocumentController::shared().windowMenu();
  for (std::size_t index = 0; index < model.items().size(); ++index) {
    auto* item = Gtk::make_managed<Gtk::MenuItem>(model.items()[index].title);
    item->signal_activate().connect([index] { platform::DocumentController::shared().windowMenu().choose(index); });
    menu.append(*item);
    item->show();
  }
}

void CMMainWindowController::addArrangeItems(platform::Menu& menu) {
  for (const ArrangeItem& entry : kArrangeItems) {
    if (!entry.title) {
      menu.addSeparator();
      continue;
    }
    menu.addItem(entry.title, [this, tag = entry.tag](MenuItem&) { OnSelectAction(tag); }).setTag(entry.tag);
  }
}

void CMMainWindowController::buildArrangeMenu() {
  // The canvas's context menu: the arrange commands, then the edit commands.
  arrangeMenu_ = std::make_unique<platform::Menu>();
  addArrangeItems(*arrangeMenu_);
  arrangeMenu_->addSeparator();
  arrangeMenu_->addItem("Cut", [this](MenuItem&) { cut(); }).setValidator([this](MenuItem&) { return hasSelection(); });
  arrangeMenu_->addItem("Copy", [this](MenuItem&) { copy(); }).setValidator([this](MenuItem&) { return hasLayers(); });
  arrangeMenu_->addItem("Paste", [this](MenuItem&) { paste(); }).setValidator([this](MenuItem&) { return canPaste(); });
  arrangeMenu_->addItem("Duplicate", [this](MenuItem&) { duplicate(); }).setValidator([this](MenuItem&) {
    return hasSelection();
  });
  arrangeMenu_->addItem("Delete", [this](MenuItem&) { deleteSelection(); }).setValidator([this](MenuItem&) {
    return hasSelection();
  });
}
