#pragma once

class CMVirtualWindow;

// Told when the user picks a virtual window in the Window menu (the document manager).
class CMVirtualWindowDelegate {
 public:
  virtual ~CMVirtualWindowDelegate() = default;
  virtual void windowWillShow(CMVirtualWindow& window) = 0;
};
