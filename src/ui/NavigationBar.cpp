#include "ui/NavigationBar.h"

#include <algorithm>

#include "ui/NavigationController.h"
#include "ui/ScreenDescription.h"

namespace kinetra {

namespace {

constexpr double kMargin = 5;
constexpr double kButtonHeight = 30;
// The least room between the title and a button beside it.
constexpr double kTitleGap = 6;

// Roughly the width the device gives a bar button for its title.
double buttonWidth(const std::string& title) {
  return std::clamp(16.0 + 8.0 * static_cast<double>(title.size()), 50.0, 120.0);
}

// Roughly the width a bar button needs for its title drawn at its smallest, six tenths of its
// size (the screen shrinks titles that do not fit that far before it cuts them).
double smallestButtonWidth(const std::string& title) {
  return 16.0 + 0.6 * 8.0 * static_cast<double>(title.size());
}

// Roughly the width the bar's title takes, centred in `space`.
double titleWidth(const std::string& title, double space) {
  return std::min(space, 12.0 * static_cast<double>(title.size()));
}

}  // namespace

NavigationBar::NavigationBar(NavigationController& controller)
    : View(Rect{0, 0, 320, kHeight}),
      controller_(controller),
      backButton_(&addSubview(std::make_unique<Button>(ButtonType::kRoundedRect))),
      leftButton_(&addSubview(std::make_unique<Button>(ButtonType::kRoundedRect))),
      rightButton_(&addSubview(std::make_unique<Button>(ButtonType::kRoundedRect))),
      titleLabel_(&addSubview(std::make_unique<Label>())) {
  setBackgroundColor(Color::rgba(0.43, 0.52, 0.64, 1));
  titleLabel_->setFont(Font::boldSystemFontOfSize(20));
  titleLabel_->setTextAlignment(TextAlignment::kCenter);
  titleLabel_->setBackgroundColor(Color::clearColor());
  titleLabel_->setTextColor(Color::whiteColor());
  backButton_->addTarget([this](Control&) { controller_.popViewControllerAnimated(Animated::Yes); },
                         ControlEvent::kTouchUpInside);
  leftButton_->addTarget(
      [this](Control&) {
        if (BarButtonItem* item = leftItem_.get()) item->invoke();
      },
      ControlEvent::kTouchUpInside);
  rightButton_->addTarget(
      [this](Control&) {
        if (BarButtonItem* item = rightItem_.get()) item->invoke();
      },
      ControlEvent::kTouchUpInside);
}

void NavigationBar::place(BarButtonItem* item, Button& button, bool left,
                          std::vector<View*>& placed) {
  const double width = bounds().width;
  if (item == nullptr) {
    button.setHidden(true);
    return;
  }
  if (View* custom = item->customView()) {
    button.setHidden(true);
    if (custom->superview() != this) addSubview(*custom);
    const Rect b = custom->bounds();
    custom->setFrame(
        {left ? kMargin : width - kMargin - b.width, (kHeight - b.height) / 2, b.width, b.height});
    placed.push_back(custom);
    return;
  }
  const double w = buttonWidth(item->title());
  button.setHidden(false);
  button.setTitle(item->title(), ControlState::kNormal);
  button.setEnabled(item->isEnabled());
  button.setFrame(
      {left ? kMargin : width - kMargin - w, (kHeight - kButtonHeight) / 2, w, kButtonHeight});
}

void NavigationBar::layoutIfNeeded() {
  ViewController* top = controller_.topViewController();
  const std::vector<ViewController*> stack = controller_.viewControllers();
  ViewController* below = stack.size() >= 2 ? stack[stack.size() - 2] : nullptr;
  NavigationItem* item = top != nullptr ? &top->navigationItem() : nullptr;

  leftItem_ = item != nullptr ? item->leftBarButtonItem() : nullptr;
  rightItem_ = item != nullptr ? item->rightBarButtonItem() : nullptr;
  titleLabel_->setText(item != nullptr ? item->title() : std::string());

  std::vector<View*> placed;
  place(leftItem_.get(), *leftButton_, true, placed);
  place(rightItem_.get(), *rightButton_, false, placed);

  const bool showsBack =
      leftItem_.get() == nullptr && below != nullptr && item != nullptr && !item->hidesBackButton();
  backButton_->setHidden(!showsBack);
  if (showsBack) {
    const BarButtonItem* back = below->navigationItem().backBarButtonItem();
    std::string title = back != nullptr ? back->title() : below->navigationItem().title();
    // A title that would run into the bar's own title is drawn smaller in the room left of it
    // (the screen shrinks a button's title to fit); only when even its smallest size does not
    // fit there does it give way to "Back".
    const double width = bounds().width;
    const double titleLeft =
        (width - titleWidth(titleLabel_->text(), std::max(0.0, width - 160))) / 2;
    const double room = titleLeft - kMargin;
    double w = buttonWidth(title);
    if (!title.empty() && w > room && smallestButtonWidth(title) <= room) {
      w = room;
    } else if (title.empty() || w > room) {
      title = "Back";
      w = buttonWidth(title);
    }
    backButton_->setTitle(title, ControlState::kNormal);
    backButton_->setFrame({kMargin, (kHeight - kButtonHeight) / 2, w, kButtonHeight});
  }

  // Custom views of items no longer shown leave the bar.
  for (const WeakRef<View>& old : customViews_) {
    View* view = old.get();
    if (view != nullptr && view->superview() == this &&
        std::find(placed.begin(), placed.end(), view) == placed.end()) {
      view->removeFromSuperview();
    }
  }
  customViews_.assign(placed.begin(), placed.end());

  placeTitle();
  View::layoutIfNeeded();
}

void NavigationBar::placeTitle() {
  // The title is centred in the bar when it fits between what stands on its left and on its
  // right; otherwise it keeps clear of both and is cut short with an ellipsis where it is drawn.
  const double width = bounds().width;
  double left = 0;
  double right = width;
  for (View* view : subviews()) {
    if (view == titleLabel_ || view->isHidden()) continue;
    const Rect frame = view->frame();
    if (frame.x + frame.width / 2 < width / 2) {
      left = std::max(left, frame.x + frame.width + kTitleGap);
    } else {
      right = std::min(right, frame.x - kTitleGap);
    }
  }
  // The widest box centred in the bar that keeps clear of both sides; when the title is
  // longer than that, all the room between them.
  const double half = std::max(0.0, std::min(width / 2 - left, right - width / 2));
  if (titleWidth(titleLabel_->text(), width) <= 2 * half) {
    titleLabel_->setFrame({width / 2 - half, 0, 2 * half, kHeight});
  } else {
    titleLabel_->setFrame({left, 0, std::max(0.0, right - left), kHeight});
  }
}

View* NavigationBar::viewForItem(const BarButtonItem& item) {
  layoutIfNeeded();
  if (View* custom = item.customView(); custom != nullptr && custom->superview() == this) {
    return custom;
  }
  if (leftItem_.get() == &item && !leftButton_->isHidden()) return leftButton_;
  if (rightItem_.get() == &item && !rightButton_->isHidden()) return rightButton_;
  return nullptr;
}

void NavigationBar::describe(ViewDescription& description) const {
  View::describe(description);
  description.title = titleLabel_->text();
}

}  // namespace kinetra
