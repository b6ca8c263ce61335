#pragma once

#include "ui/Image.h"
#include "ui/View.h"

namespace kinetra {

// Shows a picture. Takes no touches by default. An empty image leaves the view empty.
class ImageView : public View {
 public:
  ImageView();
  explicit ImageView(Rect frame);
  // initWithImage: a view exactly the picture's size, at the origin.
  explicit ImageView(Image image);

  std::string kind() const override { return "imageView"; }

  const Image& image() const { return image_; }
  void setImage(Image image) { image_ = std::move(image); }

  void describe(ViewDescription& description) const override;

 private:
  Image image_;
};

}  // namespace kinetra
