#pragma once

// The items of a shape library: a named copy of a layer record with an 80 x 80
// thumbnail drawn from it. Shape items hold shape layer records, image items
// image layer records; the two are told apart by class in library files.
// Items are shared, never duplicated: copying one hands out the same object.

#include <memory>
#include <string>
#include <string_view>

#include "platform/core/geometry.h"
#include "platform/core/value.h"
#include "platform/graphics/image.h"

class CMLayer;

class CMLibraryItem : public platform::Object {
 public:
  static constexpr double kThumbnailSide = 80;
  static constexpr double kDrawingSide = 70;

  const std::string& name() const noexcept { return name_; }
  void setName(std::string name) { name_ = std::move(name); }
  const platform::DictRef& shapeData() const noexcept { return shapeData_; }
  void setShapeData(platform::DictRef data) { shapeData_ = std::move(data); }
  const std::shared_ptr<platform::Image>& thumbnailImage() const noexcept { return thumbnailImage_; }
  void setThumbnailImage(std::shared_ptr<platform::Image> image) { thumbnailImage_ = std::move(image); }

  // Whether the record's points run top-down, as the canvas's do ("isFlipped" in the record or in its "shape": every
  // shape drawn in the program and every shipped one); a drop turns the others over (bottom-up records of older
  // libraries).
  static bool isTopDown(const platform::DictRef& record);
  // A new thumbnail of the record, upright as the shape lands on the canvas: a record that is not top-down is drawn
  // upside down once more, as a drop turns it over. Thumbnails are never stored: each is drawn anew when its library
  // is read.
  void createThumbnail(const platform::DictRef& record);
  // Fits the record's layer into `rect` of the current context, centred in a box 5 points larger each way. The
  // context's CTM is left flipped about the rectangle's height. A layer of no size, or a fit that is not finite,
  // draws nothing.
  void drawLayer(const platform::DictRef& record, const platform::Rect& rect) const;

 protected:
  // From a shape item record {"name", "shape"}.
  CMLibraryItem(std::string name, platform::DictRef shapeData);
  // The layer object that draws the record, or null.
  virtual std::unique_ptr<CMLayer> makeLayer(platform::DictRef record) const = 0;

 private:
  std::string name_;
  platform::DictRef shapeData_;
  std::shared_ptr<platform::Image> thumbnailImage_;
};

class CMShapeItem final : public CMLibraryItem {
 public:
  static constexpr std::string_view kClassName = "CMShapeItem";
  CMShapeItem(std::string name, platform::DictRef shapeData);
  // initWithDictionary: with a shape item record.
  static std::shared_ptr<CMShapeItem> make(const platform::DictRef& itemRecord);
  std::string_view className() const noexcept override { return kClassName; }

 protected:
  std::unique_ptr<CMLayer> makeLayer(platform::DictRef record) const override;
};

class CMImageShapeItem final : public CMLibraryItem {
 public:
  static constexpr std::string_view kClassName = "CMImageShapeItem";
  CMImageShapeItem(std::string name, platform::DictRef shapeData);
  static std::shared_ptr<CMImageShapeItem> make(const platform::DictRef& itemRecord);
  std::string_view className() const noexcept override { return kClassName; }

 protected:
  std::unique_ptr<CMLayer> makeLayer(platform::DictRef record) const override;
};
