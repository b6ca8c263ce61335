#pragma once

#include <vector>

#include "ui/BarButtonItem.h"
#include "ui/Button.h"
#include "ui/Label.h"
#include "ui/View.h"

namespace kinetra {

class NavigationController;

// The bar at the top of a navigation controller's view. It shows the top screen's navigation
// item: the title, the left item (or the back button, titled after the screen below), the
// right item. It brings itself up to date in layoutIfNeeded, which the toolkit runs before the
// screen is read or touched.
class NavigationBar : public View {
 public:
  static constexpr double kHeight = 44;

  explicit NavigationBar(NavigationController& controller);

  std::string kind() const override { return "navigationBar"; }

  Button& backButton() { return *backButton_; }
  // The view showing `item` in this bar now (its custom view or the bar's button for it), or
  // null when the bar does not show it.
  View* viewForItem(const BarButtonItem& item);

  void layoutIfNeeded() override;
  void describe(ViewDescription& description) const override;

 private:
  void place(BarButtonItem* item, Button& button, bool left, std::vector<View*>& placed);
  // Puts the title between the buttons shown (after they are placed).
  void placeTitle();

  NavigationController& controller_;
  Button* backButton_;
  Button* leftButton_;
  Button* rightButton_;
  Label* titleLabel_;
  WeakRef<BarButtonItem> leftItem_;
  WeakRef<BarButtonItem> rightItem_;
  std::vector<WeakRef<View>> customViews_;
};

}  // namespace kinetra
