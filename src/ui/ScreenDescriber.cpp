#include "ui/ScreenDescriber.h"

#include "ui/View.h"

namespace kinetra {

ViewDescription describeViewTree(const View& view) {
  ViewDescription description;
  view.describe(description);
  for (const View* subview : view.subviews()) {
    if (subview->isHidden()) continue;
    description.subviews.push_back(describeViewTree(*subview));
  }
  return description;
}

PictureDescription describePicture(const Image& image) {
  return {image.identifier(), image.size(), image.sharedBytes()};
}

}  // namespace kinetra
