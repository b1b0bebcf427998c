#pragma once

// The "Document" panel: the page size and background of the shown document.
// "Resolution" holds the width and height (with "Save Ratio", kept per user
// in the profile as "not_save_ratio"); "Background" holds "Transparent" and
// the page colour. Values are the root record's own numbers, no units.
//
// A side below 1, or above what both the canvas's largest page and a number
// field's stepper reach, is refused: nothing is written or registered and the
// field shows the stored side again. The new-document window takes its sides by
// the same rule. With the ratio kept, a side of 0 or a ratio that is not finite
// leaves the other side as it is.

#include "ui/CMOptionsPanelView.h"

class CMPicturePanelView : public CMOptionsPanelView {
 public:
  enum PropertyId : int {
    kWidth = 1,
    kHeight = 2,
    kSaveRatio = 3,
    kWidthDisplayMode = 4,
    kHeightDisplayMode = 5,
    kTransparent = 6,
    kColor = 7,
  };

  CMPicturePanelView();

  // Whether a page may be given that side by hand.
  static bool acceptsSide(double side);

  void setDocument(std::shared_ptr<CMDocument> document) override;

  CMPanelValue findValue(int propertyId, int index) override;
  void setValue(const CMPanelValue& value, int propertyId, int index) override;
  bool isEnable(int, int) override { return true; }

 private:
  static std::vector<platform::DictRef> imageParameters();
  static std::vector<platform::DictRef> backgroundParameters();
  void setSide(double value, int propertyId, int index);
  // The page's colour record, made when the document has none.
  platform::DictRef backgroundColorRecord() const;
  // The canvas, rulers and panels show the page again.
  void refreshPage(bool sizeChanged);

  platform::ObserverToken pageChanged_;
};
