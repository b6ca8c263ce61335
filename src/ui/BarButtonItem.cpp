#include "ui/BarButtonItem.h"

namespace kinetra {

namespace {

std::string systemTitle(BarButtonSystemItem item) {
  switch (item) {
    case BarButtonSystemItem::kCancel:
      return "Cancel";
    case BarButtonSystemItem::kEdit:
      return "Edit";
    case BarButtonSystemItem::kSave:
      return "Save";
    case BarButtonSystemItem::kAdd:
      return "+";
    case BarButtonSystemItem::kDone:
      break;
  }
  return "Done";
}

}  // namespace

BarButtonItem::BarButtonItem(std::string title, BarButtonItemStyle style, Action action)
    : title_(std::move(title)), style_(style), action_(std::move(action)) {}

BarButtonItem::BarButtonItem(BarButtonSystemItem systemItem, Action action)
    : BarButtonItem(systemTitle(systemItem),
                    systemItem == BarButtonSystemItem::kDone ? BarButtonItemStyle::kDone
                                                             : BarButtonItemStyle::kBordered,
                    std::move(action)) {}

BarButtonItem::BarButtonItem(View& customView) : customView_(&customView) {}

BarButtonItem::BarButtonItem(std::unique_ptr<View> customView) {
  setCustomView(std::move(customView));
}

void BarButtonItem::setCustomView(View* view) {
  ownedCustomView_.reset();
  customView_ = view;
}

void BarButtonItem::setCustomView(std::unique_ptr<View> view) {
  customView_ = view.get();
  ownedCustomView_ = std::move(view);
}

void BarButtonItem::invoke() {
  if (!enabled_ || !action_) return;
  Action action = action_;  // the action may replace itself
  action(*this);
}

}  // namespace kinetra
