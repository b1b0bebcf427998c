#pragma once

// The canvas's delegate (its frame view): told of every event a tool loop takes, so the rulers follow the pointer.

namespace platform {
struct Event;
}

class CMEditorViewDelegate {
 public:
  virtual ~CMEditorViewDelegate() = default;
  virtual void updateRules(const platform::Event& event) = 0;
};
