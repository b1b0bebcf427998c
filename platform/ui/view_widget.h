#pragma once

// The GTK side of a View: a window-less container that draws its view and
// places the subviews' widgets where their y-up frames say, ignoring the
// positions Gtk::Fixed would use.

#include <gtkmm/fixed.h>

namespace platform {

class View;

class ViewWidget : public Gtk::Fixed {
 public:
  explicit ViewWidget(View& owner);

  // Null once the view is gone while the widget outlives it.
  View* owner() const { return owner_; }
  void detachOwner() { owner_ = nullptr; }

  // Marks a handler of this widget (or of a widget inside it) as running, so a
  // view destroyed meanwhile does not destroy the widget under its own handler.
  class HandlerScope {
   public:
    explicit HandlerScope(ViewWidget& widget) : widget_(widget) { ++widget_.handlerDepth_; }
    ~HandlerScope() { --widget_.handlerDepth_; }
    HandlerScope(const HandlerScope&) = delete;
    HandlerScope& operator=(const HandlerScope&) = delete;

   private:
    ViewWidget& widget_;
  };
  bool inHandler() const { return handlerDepth_ > 0; }

  // A GTK widget that fills the view (controls); managed by this container.
  void setContent(Gtk::Widget& content);

 protected:
  bool on_draw(const Cairo::RefPtr<Cairo::Context>& cr) override;
  void on_size_allocate(Gtk::Allocation& allocation) override;
  void get_preferred_width_vfunc(int& minimum, int& natural) const override;
  void get_preferred_height_vfunc(int& minimum, int& natural) const override;

 private:
  View* owner_;
  Gtk::Widget* content_ = nullptr;
  int handlerDepth_ = 0;
};

// Pixels of a frame coordinate: rounded to the nearest, saturated.
int pixelsFromLength(double length);

}  // namespace platform
