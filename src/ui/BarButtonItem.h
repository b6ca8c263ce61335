#pragma once

#include <functional>
#include <memory>
#include <string>

#include "ui/Trackable.h"
#include "ui/View.h"

namespace kinetra {

enum class BarButtonItemStyle { kPlain, kBordered, kDone };
enum class BarButtonSystemItem { kDone, kCancel, kEdit, kSave, kAdd };

// A button for a navigation bar: a title with an action, or a custom view (a segmented
// control, an information button) that handles its own touches. Not a view itself: the bar
// that shows it makes a button for a titled item and places a custom view as it is.
class BarButtonItem : public virtual Trackable {
 public:
  using Action = std::function<void(BarButtonItem& sender)>;

  // initWithTitle:style:target:action:
  BarButtonItem(std::string title, BarButtonItemStyle style, Action action);
  // initWithBarButtonSystemItem:target:action:
  BarButtonItem(BarButtonSystemItem systemItem, Action action);
  // initWithCustomView: — the caller keeps ownership of the view.
  explicit BarButtonItem(View& customView);
  // initWithCustomView: — the item owns the view.
  explicit BarButtonItem(std::unique_ptr<View> customView);

  BarButtonItem(const BarButtonItem&) = delete;
  BarButtonItem& operator=(const BarButtonItem&) = delete;
  virtual ~BarButtonItem() = default;

  const std::string& title() const { return title_; }
  void setTitle(std::string title) { title_ = std::move(title); }
  BarButtonItemStyle style() const { return style_; }
  void setStyle(BarButtonItemStyle style) { style_ = style; }
  bool isEnabled() const { return enabled_; }
  void setEnabled(bool enabled) { enabled_ = enabled; }
  // setTarget: with setAction:
  void setAction(Action action) { action_ = std::move(action); }

  View* customView() const { return customView_.get(); }
  void setCustomView(View* view);
  void setCustomView(std::unique_ptr<View> view);

 private:
  friend class NavigationBar;
  // What a tap on the bar's button for this item does.
  void invoke();

  std::string title_;
  BarButtonItemStyle style_ = BarButtonItemStyle::kBordered;
  bool enabled_ = true;
  Action action_;
  WeakRef<View> customView_;
  std::unique_ptr<View> ownedCustomView_;
};

}  // namespace kinetra
