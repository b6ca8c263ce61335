#include "ui/TabBar.h"

#include <cmath>

#include "ui/ScreenDescriber.h"
#include "ui/TabBarController.h"

namespace kinetra {

TabBar::TabBar(TabBarController& controller)
    : View(Rect{0, 0, 320, kHeight}), controller_(controller) {
  setBackgroundColor(Color::blackColor());
}

Rect TabBar::rectForItem(int index) const {
  const int count = static_cast<int>(controller_.viewControllers().size());
  if (index < 0 || index >= count) return {};
  const double width = bounds().width / count;
  return {width * index, 0, width, bounds().height};
}

int TabBar::itemAtPoint(Point point) const {
  const int count = static_cast<int>(controller_.viewControllers().size());
  if (count == 0 || !pointInside(point)) return -1;
  const int index = static_cast<int>(std::floor(point.x / (bounds().width / count)));
  return index >= 0 && index < count ? index : -1;
}

void TabBar::touchesBegan(const std::vector<Touch>&, const Event&) {}

void TabBar::touchesEnded(const std::vector<Touch>& touches, const Event&) {
  if (touches.empty()) return;
  const int index = itemAtPoint(touches.front().locationInView(*this));
  if (index >= 0) controller_.selectByFinger(index);
}

void TabBar::describe(ViewDescription& description) const {
  View::describe(description);
  const std::vector<ViewController*> controllers = controller_.viewControllers();
  for (int i = 0; i < static_cast<int>(controllers.size()); ++i) {
    TabDescription tab;
    const TabBarItem& item = controllers[static_cast<std::size_t>(i)]->tabBarItem();
    tab.title = item.title;
    if (!item.image.empty()) tab.picture = describePicture(item.image);
    if (!item.selectedImage.empty()) tab.selectedPicture = describePicture(item.selectedImage);
    tab.frame = rectForItem(i);
    description.tabs.push_back(std::move(tab));
  }
  description.selectedTab = controller_.selectedIndex();
}

}  // namespace kinetra
