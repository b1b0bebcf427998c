#pragma once

// Stands in the Window menu for an open document that the one main window does
// not show. It is never shown itself: being brought to the front only tells its
// delegate, which swaps the document into the main window.

#include <memory>

#include "document/CMVirtualWindowDelegate.h"

class CMBaseDocument;

class CMVirtualWindow {
 public:
  CMVirtualWindow(std::shared_ptr<CMBaseDocument> document, std::shared_ptr<CMVirtualWindowDelegate> delegate);

  const std::shared_ptr<CMBaseDocument>& document() const noexcept { return document_; }
  void makeKeyAndOrderFront();

 private:
  std::shared_ptr<CMBaseDocument> document_;
  std::shared_ptr<CMVirtualWindowDelegate> delegate_;
};
