#pragma once

// The base of every right-hand panel: a plain object owning the panel's root
// view, holding the document it edits and whether it is shown, and keeping
// the panel's editing run.
//
// Editing runs: a panel registers one undo record per run. A run is one
// property (its id and slot index) edited on one record; a write of another
// property, slot or record starts a new run, and so does the end of any
// panel text field's editing ("notificationEndTextEditing"). Every write
// marks the document edited, also inside a run, so a save in the middle of a
// run never hides the writes after it.

#include <memory>
#include <optional>

#include "platform/core/notification_center.h"
#include "platform/core/value.h"
#include "platform/graphics/color.h"

class CMDocument;

namespace platform {
class View;
}

class CMBasePanelView {
 public:
  CMBasePanelView();
  virtual ~CMBasePanelView();
  CMBasePanelView(const CMBasePanelView&) = delete;
  CMBasePanelView& operator=(const CMBasePanelView&) = delete;

  const std::shared_ptr<platform::View>& view() const { return view_; }
  void setView(std::shared_ptr<platform::View> view) { view_ = std::move(view); }
  const std::shared_ptr<CMDocument>& document() const { return document_; }
  virtual void setDocument(std::shared_ptr<CMDocument> document);
  bool isShown() const { return show_; }
  // The main window sends YES whenever it shows the panel.
  virtual void show(bool shown) { show_ = shown; }

  // Writes "a", "r", "g" and "b" (in that order), each the colour's component × 255, into the record.
  static void setColorDict(const platform::DictRef& record, const platform::Color& color);
  // Ends the editing run.
  void endEditing() { run_.reset(); }

 protected:
  // Told before each write of a property into `record`: true when the write opens a new editing run (register its
  // undo record then). The document is marked edited either way.
  bool beginWrite(int propertyId, int index, const platform::DictRef& record);

 private:
  struct EditingRun {
    int propertyId;
    int index;
    std::weak_ptr<platform::Dictionary> record;
  };

  std::shared_ptr<platform::View> view_;
  std::shared_ptr<CMDocument> document_;
  bool show_ = false;
  std::optional<EditingRun> run_;
  platform::ObserverToken endTextEditing_;
};
