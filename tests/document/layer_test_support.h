#pragma once

// Layer objects for the layer base tests: the base alone has no frame, so this one
// takes its frame from the record's "x", "y", "width" and "height", and counts the
// calls the base makes into its subclass.

#include <string>
#include <vector>

#include "document/CMLayer.h"
#include "document/CMNotificationNames.h"
#include "platform/core/geometry_strings.h"
#include "platform/core/notification_center.h"

namespace document_testing {

class RecordRectLayer : public CMLayer {
 public:
  explicit RecordRectLayer(platform::DictRef data) : CMLayer(std::move(data)) { refreshRect(); }

  platform::Rect layerRect() override { return layerRect_; }
  float layerOffset() const override { return offset; }
  platform::BezierPath framePath(bool /*zoomed*/) override { return platform::BezierPath::rect(layerRect_); }
  void updateLayerRect() override {
    ++rectUpdates;
    refreshRect();
  }
  void prepareEditing() override { ++preparations; }
  void endEditing() override { ++endings; }
  void applyMatrix() override { ++matrixApplications; }

  // The cached rect, as a subclass's measuring leaves it.
  platform::Rect& cachedRect() { return layerRect_; }

  float offset = 0;
  int rectUpdates = 0;
  int preparations = 0;
  int endings = 0;
  int matrixApplications = 0;

 private:
  void refreshRect() {
    layerRect_ = {data_->get("x").floatValue(), data_->get("y").floatValue(), data_->get("width").floatValue(),
                  data_->get("height").floatValue()};
  }
};

// Counts "notificationLayerChanged" posts without a sender while it lives.
class LayerChangedCounter {
 public:
  LayerChangedCounter()
      : token_(platform::NotificationCenter::defaultCenter().addObserver(
            kNotificationLayerChanged, [this](const platform::Notification& note) {
              if (note.object == nullptr) ++count;
            })) {}

  int count = 0;

 private:
  platform::ObserverToken token_;
};

}  // namespace document_testing
