#pragma once

// The layers panel's table: rows as the panel draws them; of all keys only
// Delete and forward Delete do anything (they ask the delegate to delete), so
// the arrows never move the selection or reach the canvas behind.

#include "platform/ui/table_view.h"

class CMLayerTableView;

class CMLayerTableViewDelegate {
 public:
  virtual ~CMLayerTableViewDelegate() = default;
  virtual void didDelButtonPressed(CMLayerTableView& table) = 0;
};

class CMLayerTableView : public platform::TableView {
 public:
  using TableView::TableView;

  void setLayerDelegate(CMLayerTableViewDelegate* delegate) { layerDelegate_ = delegate; }
  void keyDown(const platform::Event& event) override;

 private:
  CMLayerTableViewDelegate* layerDelegate_ = nullptr;
};
