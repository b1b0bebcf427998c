#pragma once

// What the document manager asks of the one main window besides giving it a
// document (CMMainWindowService): showing it, hiding it, and refreshing the
// document tabs. The window layer hands one to the document manager.

class CMMainWindowPresenter {
 public:
  virtual ~CMMainWindowPresenter() = default;
  virtual void showWindow() = 0;
  virtual void orderOut() = 0;
  // The main view's document tab strip lists the open documents again.
  virtual void updateDocumentTabs() = 0;
};
