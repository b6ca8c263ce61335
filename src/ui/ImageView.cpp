#include "ui/ImageView.h"

#include "ui/ScreenDescriber.h"

namespace kinetra {

ImageView::ImageView() : ImageView(Rect{}) {}

ImageView::ImageView(Rect frame) : View(frame) { setUserInteractionEnabled(false); }

ImageView::ImageView(Image image) : ImageView(Rect{0, 0, image.size().width, image.size().height}) {
  image_ = std::move(image);
}

void ImageView::describe(ViewDescription& description) const {
  View::describe(description);
  if (!image_.empty()) description.picture = describePicture(image_);
}

}  // namespace kinetra
