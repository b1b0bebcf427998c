#include "document/CMVirtualWindow.h"

#include <utility>

CMVirtualWindow::CMVirtualWindow(std::shared_ptr<CMBaseDocument> document,
                                 std::shared_ptr<CMVirtualWindowDelegate> delegate)
    : document_(std::move(document)), delegate_(std::move(delegate)) {}

void CMVirtualWindow::makeKeyAndOrderFront() {
  if (delegate_) delegate_->windowWillShow(*this);
}
