#include "ui/SegmentedControl.h"

#include <cmath>

#include "ui/ScreenDescriber.h"

namespace kinetra {

namespace {

std::string styleName(SegmentedControlStyle style) {
  switch (style) {
    case SegmentedControlStyle::kBordered:
      return "bordered";
    case SegmentedControlStyle::kBar:
      return "bar";
    case SegmentedControlStyle::kBezeled:
      return "bezeled";
    case SegmentedControlStyle::kPlain:
      break;
  }
  return "plain";
}

}  // namespace

SegmentedControl::SegmentedControl(std::vector<Item> items, Rect frame) : Control(frame) {
  for (Item& item : items) {
    Segment segment;
    if (auto* title = std::get_if<std::string>(&item)) {
      segment.title = std::move(*title);
    } else {
      segment.image = std::get<Image>(std::move(item));
    }
    segments_.push_back(std::move(segment));
  }
}

SegmentedControl::SegmentedControl(const std::vector<std::string>& titles, Rect frame)
    : SegmentedControl(std::vector<Item>(titles.begin(), titles.end()), frame) {}

std::string SegmentedControl::titleForSegmentAtIndex(int segment) const {
  return valid(segment) ? segments_[static_cast<std::size_t>(segment)].title : std::string();
}

void SegmentedControl::setTitle(std::string title, int segment) {
  if (!valid(segment)) return;
  Segment& target = segments_[static_cast<std::size_t>(segment)];
  target.title = std::move(title);
  target.image = {};
}

Image SegmentedControl::imageForSegmentAtIndex(int segment) const {
  return valid(segment) ? segments_[static_cast<std::size_t>(segment)].image : Image();
}

void SegmentedControl::setImage(Image image, int segment) {
  if (!valid(segment)) return;
  Segment& target = segments_[static_cast<std::size_t>(segment)];
  target.image = std::move(image);
  target.title.clear();
}

bool SegmentedControl::isEnabledForSegmentAtIndex(int segment) const {
  return valid(segment) && segments_[static_cast<std::size_t>(segment)].enabled;
}

void SegmentedControl::setEnabled(bool enabled, int segment) {
  if (valid(segment)) segments_[static_cast<std::size_t>(segment)].enabled = enabled;
}

void SegmentedControl::setSelectedSegmentIndex(int segment) {
  selected_ = valid(segment) ? segment : kNoSegment;
}

double SegmentedControl::segmentWidth() const {
  return segments_.empty() ? 0 : bounds().width / static_cast<double>(segments_.size());
}

int SegmentedControl::segmentAtPoint(Point point) const {
  if (!pointInside(point) || segments_.empty()) return kNoSegment;
  const int segment = static_cast<int>(std::floor((point.x - bounds().x) / segmentWidth()));
  return valid(segment) ? segment : kNoSegment;
}

Point SegmentedControl::centerOfSegment(int segment) const {
  const Rect b = bounds();
  return {b.x + segmentWidth() * (segment + 0.5), b.y + b.height / 2};
}

void SegmentedControl::tapped(const Touch& touch, const Event& event) {
  const int segment = segmentAtPoint(touch.locationInView(*this));
  if (!isEnabledForSegmentAtIndex(segment)) return;
  if (!momentary_ && segment == selected_) return;
  selected_ = segment;
  WeakRef<SegmentedControl> self(this);
  sendActionsForControlEvents(ControlEvent::kValueChanged, event);
  if (SegmentedControl* control = self.get(); control != nullptr && control->momentary_) {
    control->selected_ = kNoSegment;
  }
}

void SegmentedControl::describe(ViewDescription& description) const {
  Control::describe(description);
  const double width = segmentWidth();
  for (std::size_t i = 0; i < segments_.size(); ++i) {
    SegmentDescription segment;
    segment.title = segments_[i].title;
    if (!segments_[i].image.empty()) segment.picture = describePicture(segments_[i].image);
    segment.enabled = segments_[i].enabled;
    segment.frame = {bounds().x + width * static_cast<double>(i), bounds().y, width,
                     bounds().height};
    description.segments.push_back(std::move(segment));
  }
  description.selectedSegment = selected_;
  description.momentary = momentary_;
  description.controlStyle = styleName(style_);
}

}  // namespace kinetra
