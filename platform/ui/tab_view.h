#pragma once

// NSTabView: a row of tabs (a Gtk::Notebook whose pages are empty) over the
// views of its items, of which only the chosen one shows. Choosing a tab, by
// the user or in code, shows its view and calls the selection handler.

#include <gtkmm/notebook.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/control.h"

namespace platform {

class TabView : public View {
 public:
  static constexpr double kTabHeight = 40;

  explicit TabView(Rect frame);
  ~TabView() override;

  bool isFlipped() const override { return true; }
  // The view fills the area under the tabs.
  void addTabViewItem(const std::string& label, std::shared_ptr<View> view);
  int numberOfTabViewItems() const { return static_cast<int>(items_.size()); }
  View& viewOfItem(int index) const { return *items_.at(static_cast<std::size_t>(index)); }
  void selectTabViewItemAtIndex(int index);
  int indexOfSelectedTabViewItem() const { return selected_; }
  void setDidSelect(std::function<void(int index)> handler) { didSelect_ = std::move(handler); }
  Gtk::Notebook& gtkNotebook() { return strip_->notebook(); }

 protected:
  void resizeSubviewsWithOldSize(Size oldSize) override;

 private:
  class Strip : public Control {
   public:
    explicit Strip(Rect frame);
    Gtk::Notebook& notebook() { return *notebook_; }

   private:
    Gtk::Notebook* notebook_;  // managed
  };

  void show(int index);
  Rect itemFrame() const;

  std::shared_ptr<Strip> strip_;
  std::vector<std::shared_ptr<View>> items_;
  std::function<void(int)> didSelect_;
  sigc::connection switched_;  // GTK switches pages while the notebook is torn down
  int selected_ = -1;
};

}  // namespace platform
