#include "ui/Finger.h"

#include <algorithm>
#include <cmath>

#include "ui/Application.h"
#include "ui/BarButtonItem.h"
#include "ui/DatePicker.h"
#include "ui/DocumentPickerController.h"
#include "ui/ImagePickerController.h"
#include "ui/NavigationController.h"
#include "ui/SegmentedControl.h"
#include "ui/TabBarController.h"
#include "ui/TableView.h"
#include "ui/TextField.h"
#include "ui/TextView.h"

namespace kinetra {

namespace {

Point centerOf(const Rect& r) { return {r.x + r.width / 2, r.y + r.height / 2}; }

Event touchEvent(View& view, Touch::Phase phase) {
  const Point center = view.convertPointToView(centerOf(view.bounds()), nullptr);
  return Event({Touch(center, 1, &view, phase)});
}

NavigationBar* findBarShowing(View& view, const BarButtonItem& item) {
  if (view.isHidden()) return nullptr;
  if (auto* bar = dynamic_cast<NavigationBar*>(&view);
      bar != nullptr && bar->viewForItem(item) != nullptr) {
    return bar;
  }
  for (View* subview : view.subviews()) {
    if (NavigationBar* found = findBarShowing(*subview, item)) return found;
  }
  return nullptr;
}

}  // namespace

Finger::Finger() : Finger(Application::shared()) {}

Finger::Finger(Application& application) : application_(application) {}

// ---- Touches

Status Finger::tap(Point pointInWindow, int tapCount) {
  application_.layoutIfNeeded();
  Window& window = application_.window();
  View* hit = window.hitTest(pointInWindow);
  if (hit == nullptr || hit == &window) return Status::NotFound("nothing takes touches there");
  WeakRef<View> target(hit);
  const Touch began(pointInWindow, tapCount, hit, Touch::Phase::kBegan);
  hit->touchesBegan({began}, Event({began}));
  View* still = target.get();
  if (still == nullptr) return Status::Ok();
  const Touch ended(pointInWindow, tapCount, still, Touch::Phase::kEnded);
  still->touchesEnded({ended}, Event({ended}));
  return Status::Ok();
}

Status Finger::tap(View& view, int tapCount) {
  return tap(view, centerOf(view.bounds()), tapCount);
}

Status Finger::tap(View& view, Point pointInView, int tapCount) {
  application_.layoutIfNeeded();
  if (!view.isVisibleInWindow()) return Status::NotFound("the view is not on the screen");
  return tap(view.convertPointToView(pointInView, nullptr), tapCount);
}

Status Finger::reach(View& view) {
  application_.layoutIfNeeded();
  if (!view.isVisibleInWindow()) return Status::NotFound("the view is not on the screen");
  const Point center = view.convertPointToView(centerOf(view.bounds()), nullptr);
  View* hit = application_.window().hitTest(center);
  if (hit == nullptr || !hit->isDescendantOfView(view)) {
    return Status::NotFound("the view is covered or takes no touches");
  }
  return Status::Ok();
}

// ---- Tables

Status Finger::selectRow(TableView& table, IndexPath indexPath) {
  application_.layoutIfNeeded();
  TableViewCell* cell = table.cellForRowAtIndexPath(indexPath);
  if (cell == nullptr) return Status::NotFound("the row is not on screen");
  // Just inside the content's left edge, at the middle of the row's visible part.
  const Rect row = table.rectForRowAtIndexPath(indexPath);
  const Rect visible = table.bounds();
  const double top = std::max(row.y, visible.y);
  const double bottom = std::min(row.y + row.height, visible.y + visible.height);
  const Point point{cell->contentView().frame().x + 5, (top + bottom) / 2};
  return tap(table, point);
}

Status Finger::tapAccessory(TableView& table, IndexPath indexPath) {
  application_.layoutIfNeeded();
  TableViewCell* cell = table.cellForRowAtIndexPath(indexPath);
  if (cell == nullptr) return Status::NotFound("the row is not on screen");
  const Rect accessory = cell->accessoryRect();
  if (accessory.width <= 0) return Status::NotFound("the row has no accessory");
  return tap(*cell, centerOf(accessory));
}

Status Finger::deleteRow(TableView& table, IndexPath indexPath) {
  application_.layoutIfNeeded();
  TableViewCell* cell = table.cellForRowAtIndexPath(indexPath);
  if (cell == nullptr) return Status::NotFound("the row is not on screen");
  if (Status reached = reach(*cell); !reached.ok()) return reached;
  if (!table.commitDeletion(indexPath)) return Status::InvalidArgument("the row cannot be deleted");
  return Status::Ok();
}

Status Finger::moveRow(TableView& table, IndexPath from, IndexPath to) {
  application_.layoutIfNeeded();
  TableViewCell* cell = table.cellForRowAtIndexPath(from);
  if (cell == nullptr) return Status::NotFound("the row is not on screen");
  if (Status reached = reach(*cell); !reached.ok()) return reached;
  if (!table.moveRow(from, to)) return Status::InvalidArgument("the row cannot move there");
  return Status::Ok();
}

Status Finger::chooseSectionIndexTitle(TableView& table, int index) {
  if (Status reached = reach(table); !reached.ok()) return reached;
  if (!table.chooseSectionIndexTitle(index)) return Status::InvalidArgument("no such index title");
  return Status::Ok();
}

// ---- Keyboard

namespace {

struct Focus {
  TextField* field = nullptr;
  TextView* textView = nullptr;
  View* view() const { return field != nullptr ? static_cast<View*>(field) : textView; }
  const std::string& text() const { return field != nullptr ? field->text() : textView->text(); }
};

Focus focusOf(Application& application) {
  Responder* responder = application.firstResponder();
  return {dynamic_cast<TextField*>(responder), dynamic_cast<TextView*>(responder)};
}

std::size_t lastCharacterStart(const std::string& text) {
  std::size_t start = text.size();
  while (start > 0) {
    --start;
    if ((static_cast<unsigned char>(text[start]) & 0xC0) != 0x80) break;
  }
  return start;
}

}  // namespace

Status Finger::editText(const std::string& newText) {
  const Focus focus = focusOf(application_);
  if (focus.view() == nullptr) return Status::NotFound("nothing has the keyboard");
  std::string replacement;
  const TextRange range = TextRange::difference(focus.text(), newText, replacement);
  if (range.length == 0 && replacement.empty()) return Status::Ok();
  const bool changed = focus.field != nullptr
                           ? focus.field->replaceText(
                                 range, replacement, touchEvent(*focus.field, Touch::Phase::kEnded))
                           : focus.textView->replaceText(range, replacement);
  return changed ? Status::Ok() : Status::Cancelled("the text was refused");
}

Status Finger::type(const std::string& text) {
  const Focus focus = focusOf(application_);
  if (focus.view() == nullptr) return Status::NotFound("nothing has the keyboard");
  const TextRange end{focus.text().size(), 0};
  const bool changed =
      focus.field != nullptr
          ? focus.field->replaceText(end, text, touchEvent(*focus.field, Touch::Phase::kEnded))
          : focus.textView->replaceText(end, text);
  return changed ? Status::Ok() : Status::Cancelled("the text was refused");
}

Status Finger::typeInto(TextField& field, const std::string& text) {
  if (!field.isFirstResponder()) {
    if (Status tapped = tap(field); !tapped.ok()) return tapped;
    if (!field.isFirstResponder()) return Status::NotFound("the field did not take the keyboard");
  }
  return type(text);
}

Status Finger::typeInto(TextView& textView, const std::string& text) {
  if (!textView.isFirstResponder()) {
    if (Status tapped = tap(textView); !tapped.ok()) return tapped;
    if (!textView.isFirstResponder()) {
      return Status::NotFound("the text view did not take the keyboard");
    }
  }
  return type(text);
}

Status Finger::deleteBackward() {
  const Focus focus = focusOf(application_);
  if (focus.view() == nullptr) return Status::NotFound("nothing has the keyboard");
  const std::string& text = focus.text();
  if (text.empty()) return Status::Ok();
  const std::size_t start = lastCharacterStart(text);
  const TextRange last{start, text.size() - start};
  const bool changed =
      focus.field != nullptr
          ? focus.field->replaceText(last, "", touchEvent(*focus.field, Touch::Phase::kEnded))
          : focus.textView->replaceText(last, "");
  return changed ? Status::Ok() : Status::Cancelled("the deletion was refused");
}

Status Finger::pressReturn() {
  const Focus focus = focusOf(application_);
  if (focus.field != nullptr) {
    focus.field->pressReturn();
    return Status::Ok();
  }
  if (focus.textView != nullptr) {
    focus.textView->pressReturn();
    return Status::Ok();
  }
  return Status::NotFound("nothing has the keyboard");
}

// ---- Controls

Status Finger::chooseSegment(SegmentedControl& control, int segment) {
  if (segment < 0 || segment >= control.numberOfSegments()) {
    return Status::InvalidArgument("no such segment");
  }
  return tap(control, control.centerOfSegment(segment));
}

Status Finger::pickDate(DatePicker& picker, Date date) {
  if (Status reached = reach(picker); !reached.ok()) return reached;
  if (!picker.isEnabled()) return Status::InvalidArgument("the picker is disabled");
  picker.pick(date, touchEvent(picker, Touch::Phase::kEnded));
  return Status::Ok();
}

Status Finger::pickPhoto(ImagePickerController& picker, std::vector<std::uint8_t> bytes) {
  application_.layoutIfNeeded();
  if (!picker.isViewLoaded() || !picker.view().isVisibleInWindow()) {
    return Status::NotFound("the photo picker is not on the screen");
  }
  return picker.pick(std::move(bytes));
}

Status Finger::cancelPicker(ImagePickerController& picker) {
  application_.layoutIfNeeded();
  if (!picker.isViewLoaded() || !picker.view().isVisibleInWindow()) {
    return Status::NotFound("the photo picker is not on the screen");
  }
  picker.cancel();
  return Status::Ok();
}

Status Finger::pickDocument(DocumentPickerController& picker,
                            const std::vector<std::uint8_t>& bytes) {
  application_.layoutIfNeeded();
  if (!picker.isViewLoaded() || !picker.view().isVisibleInWindow()) {
    return Status::NotFound("the document picker is not on the screen");
  }
  return picker.pick(bytes);
}

Status Finger::cancelPicker(DocumentPickerController& picker) {
  application_.layoutIfNeeded();
  if (!picker.isViewLoaded() || !picker.view().isVisibleInWindow()) {
    return Status::NotFound("the document picker is not on the screen");
  }
  picker.cancel();
  return Status::Ok();
}

// ---- Scrolling

Point Finger::pagedRestOffset(const ScrollView& scrollView, Point start, Point release) const {
  const Rect b = scrollView.bounds();
  const Point maximum = scrollView.maximumContentOffset();
  auto axis = [](double page, double from, double to, double limit) {
    if (page <= 0) return std::clamp(to, 0.0, limit);
    const double startPage = std::round(from / page);
    double target = std::round(to / page);
    const double moved = to - from;
    if (target == startPage && std::fabs(moved) >= kFlickShare * page) {
      target = startPage + (moved > 0 ? 1 : -1);
    }
    const double lastPage = std::floor(limit / page + 1e-9);
    return std::min(std::clamp(target, 0.0, lastPage) * page, limit);
  };
  return {axis(b.width, start.x, release.x, maximum.x),
          axis(b.height, start.y, release.y, maximum.y)};
}

Status Finger::glide(ScrollView& scrollView, Point target) {
  WeakRef<ScrollView> alive(&scrollView);
  Point current = scrollView.contentOffset();
  for (int step = 0; step < 200; ++step) {
    const double dx = target.x - current.x;
    const double dy = target.y - current.y;
    if (std::max(std::fabs(dx), std::fabs(dy)) <= kRestDistance) break;
    current = {current.x + dx / 2, current.y + dy / 2};
    scrollView.scrollByFinger(current, ScrollPhase::kDecelerating);
    // A delegate that moved the content by code stopped the glide.
    if (!alive || !scrollView.isDecelerating()) return Status::Ok();
  }
  scrollView.scrollByFinger(target, ScrollPhase::kDecelerating);
  if (!alive || !scrollView.isDecelerating()) return Status::Ok();
  scrollView.scrollByFinger(target, ScrollPhase::kEnded);
  return Status::Ok();
}

Status Finger::scroll(ScrollView& scrollView, Point offset, ScrollPhase phase) {
  if (Status reached = reach(scrollView); !reached.ok()) return reached;
  if (!scrollView.isScrollEnabled()) return Status::InvalidArgument("scrolling is off");
  if (phase == ScrollPhase::kEnded && scrollView.isPagingEnabled()) {
    const Point current = scrollView.contentOffset();
    const Point rest = pagedRestOffset(scrollView, offset, offset);
    if (!pointsEqual(rest, offset) || !pointsEqual(current, offset)) {
      if (!pointsEqual(current, offset))
        scrollView.scrollByFinger(offset, ScrollPhase::kDecelerating);
      return glide(scrollView, rest);
    }
  }
  scrollView.scrollByFinger(offset, phase);
  return Status::Ok();
}

Status Finger::swipe(ScrollView& scrollView, Point releaseOffset) {
  if (Status reached = reach(scrollView); !reached.ok()) return reached;
  if (!scrollView.isScrollEnabled()) return Status::InvalidArgument("scrolling is off");
  WeakRef<ScrollView> alive(&scrollView);
  const Point start = scrollView.contentOffset();
  const Point maximum = scrollView.maximumContentOffset();
  // A finger drags the content at most one screen: further is out of its reach.
  const Rect b = scrollView.bounds();
  auto reachable = [](double to, double from, double page, double limit) {
    if (!std::isfinite(to)) return from;
    return std::clamp(std::clamp(to, from - page, from + page), 0.0, limit);
  };
  const Point release{reachable(releaseOffset.x, start.x, b.width, maximum.x),
                      reachable(releaseOffset.y, start.y, b.height, maximum.y)};
  const double distance = std::max(std::fabs(release.x - start.x), std::fabs(release.y - start.y));
  const int steps = std::max(1, static_cast<int>(std::ceil(distance / kDragStep)));
  for (int step = 1; step <= steps; ++step) {
    const double t = static_cast<double>(step) / steps;
    scrollView.scrollByFinger(
        {start.x + (release.x - start.x) * t, start.y + (release.y - start.y) * t},
        ScrollPhase::kDragging);
    if (!alive) return Status::Ok();
  }
  if (!scrollView.isPagingEnabled()) {
    scrollView.scrollByFinger(release, ScrollPhase::kEnded);
    return Status::Ok();
  }
  const Point rest = pagedRestOffset(scrollView, start, release);
  if (pointsEqual(rest, scrollView.contentOffset())) {
    scrollView.scrollByFinger(rest, ScrollPhase::kEnded);
    return Status::Ok();
  }
  return glide(scrollView, rest);
}

// ---- Bars

Status Finger::tapBarButton(BarButtonItem& item) {
  application_.layoutIfNeeded();
  NavigationBar* bar = findBarShowing(application_.window(), item);
  if (bar == nullptr) return Status::NotFound("no bar on the screen shows the item");
  View* view = bar->viewForItem(item);
  return view != nullptr ? tap(*view) : Status::NotFound("no bar on the screen shows the item");
}

Status Finger::tapBackButton(NavigationController& navigationController) {
  application_.layoutIfNeeded();
  Button& back = navigationController.navigationBar().backButton();
  if (back.isHidden()) return Status::NotFound("there is no back button");
  return tap(back);
}

Status Finger::selectTab(TabBarController& tabBarController, int index) {
  const Rect item = tabBarController.tabBar().rectForItem(index);
  if (item.width <= 0) return Status::InvalidArgument("no such tab");
  return tap(tabBarController.tabBar(), centerOf(item));
}

}  // namespace kinetra
