#include "ui/ScreenLayout.h"

namespace kinetra {

std::unique_ptr<View> ScreenLayout::contentView() {
  auto view = std::make_unique<View>(Rect{0, 0, kWidth, kContentHeight});
  view->setBackgroundColor(Color::whiteColor());
  return view;
}

}  // namespace kinetra
