#pragma once

#include "ui/View.h"

namespace kinetra {

class TabBarController;

// The bar along the bottom of a tab bar controller's view: one equally wide item per screen.
// A tap on an item selects its tab the way the finger does.
class TabBar : public View {
 public:
  static constexpr double kHeight = 49;

  explicit TabBar(TabBarController& controller);

  std::string kind() const override { return "tabBar"; }

  // The rectangle of item `index` in the bar's bounds; empty when there is no such item.
  Rect rectForItem(int index) const;
  int itemAtPoint(Point point) const;

  void touchesBegan(const std::vector<Touch>& touches, const Event& event) override;
  void touchesEnded(const std::vector<Touch>& touches, const Event& event) override;
  void describe(ViewDescription& description) const override;

 private:
  TabBarController& controller_;
};

}  // namespace kinetra
