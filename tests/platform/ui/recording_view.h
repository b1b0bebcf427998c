#pragma once

// A view that records the events it is sent, for dispatch tests.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/view.h"

namespace platform::test {

class RecordingView : public View {
 public:
  struct Entry {
    std::string handler;
    Event event;
  };

  RecordingView(Rect frame, std::vector<Entry>& log, std::string name = {})
      : View(frame), log_(log), name_(std::move(name)) {}

  bool acceptsFirstResponder() const override { return acceptsFirstResponder_; }
  bool resignFirstResponder() override { return resigns_; }
  void setAcceptsFirstResponder(bool accepts) { acceptsFirstResponder_ = accepts; }
  void setResigns(bool resigns) { resigns_ = resigns; }
  // Run by mouseDown after it is logged (to start a gesture, say).
  std::function<void(const Event&)> onMouseDown;

  void mouseDown(const Event& e) override {
    record("mouseDown", e);
    if (onMouseDown) onMouseDown(e);
  }
  void mouseDragged(const Event& e) override { record("mouseDragged", e); }
  void mouseUp(const Event& e) override { record("mouseUp", e); }
  void rightMouseDown(const Event& e) override { record("rightMouseDown", e); }
  void rightMouseUp(const Event& e) override { record("rightMouseUp", e); }
  void mouseMoved(const Event& e) override { record("mouseMoved", e); }
  void mouseEntered(const Event& e) override { record("mouseEntered", e); }
  void mouseExited(const Event& e) override { record("mouseExited", e); }
  void scrollWheel(const Event& e) override { record("scrollWheel", e); }
  void keyDown(const Event& e) override {
    record("keyDown", e);
    if (passKeysOn_) View::keyDown(e);
  }
  void keyUp(const Event& e) override { record("keyUp", e); }
  void flagsChanged(const Event& e) override { record("flagsChanged", e); }
  bool performKeyEquivalent(const Event& e) override {
    if (!takesKeyEquivalents_) return View::performKeyEquivalent(e);
    record("performKeyEquivalent", e);
    return true;
  }
  void setTakesKeyEquivalents(bool takes) { takesKeyEquivalents_ = takes; }
  void setPassesKeysOn(bool passes) { passKeysOn_ = passes; }

 private:
  void record(const char* handler, const Event& e) { log_.push_back({name_ + handler, e}); }

  std::vector<Entry>& log_;
  std::string name_;
  bool acceptsFirstResponder_ = false;
  bool resigns_ = true;
  bool passKeysOn_ = false;
  bool takesKeyEquivalents_ = false;
};

}  // namespace platform::test
