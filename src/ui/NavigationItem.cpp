#include "ui/NavigationItem.h"

namespace kinetra {

void NavigationItem::setLeftBarButtonItem(BarButtonItem* item, Animated) { left_ = item; }

void NavigationItem::setRightBarButtonItem(BarButtonItem* item, Animated) { right_ = item; }

}  // namespace kinetra
