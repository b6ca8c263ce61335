#include "ui/View.h"

#include <algorithm>
#include <cmath>

#include "graphics/DrawingContext.h"
#include "ui/Application.h"
#include "ui/ScreenDescription.h"
#include "ui/ViewController.h"
#include "ui/Window.h"

namespace kinetra {

namespace {

// Views this transparent take no touches.
constexpr double kMinimumTouchAlpha = 0.01;

double finiteOr(double value, double fallback) { return std::isfinite(value) ? value : fallback; }

Rect sanitized(Rect r) {
  return {finiteOr(r.x, 0), finiteOr(r.y, 0), std::max(0.0, finiteOr(r.width, 0)),
          std::max(0.0, finiteOr(r.height, 0))};
}

}  // namespace

View::View() : View(Rect{}) {}

View::View(Rect frame) : identifier_(Application::shared().nextViewIdentifier()) {
  const Rect r = sanitized(frame);
  size_ = {r.width, r.height};
  center_ = {r.x + r.width / 2, r.y + r.height / 2};
}

View::~View() {
  if (superview_ != nullptr) superview_->detach(*this);
  for (View* subview : subviews_) subview->superview_ = nullptr;
  subviews_.clear();
  // owned_ goes with the members; its views no longer point here.
}

Rect View::frame() const {
  const double halfWidth = size_.width / 2;
  const double halfHeight = size_.height / 2;
  if (transform_.isIdentity()) {
    return {center_.x - halfWidth, center_.y - halfHeight, size_.width, size_.height};
  }
  const Point corners[] = {{-halfWidth, -halfHeight},
                           {halfWidth, -halfHeight},
                           {-halfWidth, halfHeight},
                           {halfWidth, halfHeight}};
  double minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
  for (Point corner : corners) {
    const Point p = transform_.apply(corner);
    minX = std::min(minX, p.x);
    maxX = std::max(maxX, p.x);
    minY = std::min(minY, p.y);
    maxY = std::max(maxY, p.y);
  }
  return {center_.x + minX, center_.y + minY, maxX - minX, maxY - minY};
}

void View::setFrame(Rect frame) {
  const Rect from = this->frame();
  const Rect r = sanitized(frame);
  center_ = {r.x + r.width / 2, r.y + r.height / 2};
  const Size oldSize = size_;
  if (transform_.isIdentity()) size_ = {r.width, r.height};
  Application::shared().animations().recordFrame(*this, from, this->frame());
  if (!(oldSize == size_)) resized(oldSize);
}

void View::resized(Size oldSize) {
  if (autoresizesSubviews_) {
    const double dw = size_.width - oldSize.width;
    const double dh = size_.height - oldSize.height;
    for (View* subview : std::vector<View*>(subviews_)) {
      const unsigned mask = subview->autoresizingMask_;
      if (mask == kNoAutoresizing) continue;
      Rect f = subview->frame();
      if ((mask & kFlexibleWidth) != 0) {
        f.width = std::max(0.0, f.width + dw);
      } else if ((mask & kFlexibleLeftMargin) != 0) {
        f.x += dw;
      }
      if ((mask & kFlexibleHeight) != 0) {
        f.height = std::max(0.0, f.height + dh);
      } else if ((mask & kFlexibleTopMargin) != 0) {
        f.y += dh;
      }
      subview->setFrame(f);
    }
  }
  sizeDidChange();
}

void View::setBoundsSize(Size size) {
  const Size newSize{std::max(0.0, finiteOr(size.width, 0)),
                     std::max(0.0, finiteOr(size.height, 0))};
  if (newSize == size_) return;
  const Size oldSize = size_;
  size_ = newSize;
  resized(oldSize);
}

void View::setCenter(Point center) {
  const Rect from = frame();
  center_ = {finiteOr(center.x, 0), finiteOr(center.y, 0)};
  Application::shared().animations().recordFrame(*this, from, frame());
}

void View::setTransform(const AffineTransform& transform) {
  const AffineTransform from = transform_;
  transform_ = transform;
  Application::shared().animations().recordTransform(*this, from, transform_);
}

void View::setAlpha(double alpha) {
  const double from = alpha_;
  alpha_ = std::clamp(finiteOr(alpha, 0), 0.0, 1.0);
  Application::shared().animations().recordAlpha(*this, from, alpha_);
}

// ---- Hierarchy

bool View::canAdd(const View& view) const {
  // Not itself, and not one of its own ancestors.
  return &view != this && !isDescendantOfView(view);
}

void View::addSubview(View& view) { insertSubview(view, subviews_.size()); }

void View::insertSubview(View& view, std::size_t index) {
  if (!canAdd(view)) return;
  if (view.superview_ == this) {
    // Moving within this view keeps the ownership.
    const auto position = std::find(subviews_.begin(), subviews_.end(), &view);
    const auto target =
        subviews_.begin() + static_cast<std::ptrdiff_t>(std::min(index, subviews_.size() - 1));
    if (target > position) {
      std::rotate(position, position + 1, target + (index >= subviews_.size() ? 1 : 0));
    } else {
      std::rotate(target, position, position + 1);
    }
    return;
  }
  std::unique_ptr<View> owned =
      view.superview_ != nullptr ? view.superview_->detach(view) : nullptr;
  if (owned) {
    adopt(std::move(owned), index);
    return;
  }
  insertReference(view, index);
}

void View::adopt(std::unique_ptr<View> view, std::size_t index) {
  if (!view || !canAdd(*view)) return;  // an unaddable owned view is dropped
  View& added = *view;
  if (added.superview_ != nullptr) {
    // A view cannot be owned by the caller and sit in a superview that owns it; keep the
    // caller's ownership and take the view out of its old place.
    added.superview_->detach(added);
  }
  owned_.push_back(std::move(view));
  insertReference(added, index);
}

void View::insertReference(View& view, std::size_t index) {
  view.superview_ = this;
  subviews_.insert(
      subviews_.begin() + static_cast<std::ptrdiff_t>(std::min(index, subviews_.size())), &view);
}

std::unique_ptr<View> View::detach(View& view) {
  std::erase(subviews_, &view);
  view.superview_ = nullptr;
  const auto owned = std::find_if(owned_.begin(), owned_.end(),
                                  [&](const std::unique_ptr<View>& p) { return p.get() == &view; });
  if (owned == owned_.end()) return nullptr;
  std::unique_ptr<View> released = std::move(*owned);
  owned_.erase(owned);
  return released;
}

void View::bringSubviewToFront(View& view) {
  if (view.superview_ != this) return;
  const auto position = std::find(subviews_.begin(), subviews_.end(), &view);
  std::rotate(position, position + 1, subviews_.end());
}

void View::sendSubviewToBack(View& view) {
  if (view.superview_ != this) return;
  const auto position = std::find(subviews_.begin(), subviews_.end(), &view);
  std::rotate(subviews_.begin(), position, position + 1);
}

std::unique_ptr<View> View::removeFromSuperview() {
  if (superview_ == nullptr) return nullptr;
  // A view leaving the screen takes the keyboard with it.
  if (auto* focus = dynamic_cast<View*>(Application::shared().firstResponder());
      focus != nullptr && focus->isDescendantOfView(*this)) {
    focus->resignFirstResponder();
  }
  return superview_->detach(*this);
}

bool View::isDescendantOfView(const View& view) const {
  for (const View* v = this; v != nullptr; v = v->superview_) {
    if (v == &view) return true;
  }
  return false;
}

const View& View::rootView() const {
  const View* v = this;
  while (v->superview_ != nullptr) v = v->superview_;
  return *v;
}

Window* View::window() const {
  Window& window = Application::shared().window();
  return &rootView() == &window ? &window : nullptr;
}

bool View::isVisibleInWindow() const {
  for (const View* v = this; v != nullptr; v = v->superview_) {
    if (v->hidden_) return false;
  }
  return window() != nullptr;
}

// ---- Coordinates

Point View::convertPointToSuperview(Point point) const {
  const Point relative{point.x - boundsOrigin_.x - size_.width / 2,
                       point.y - boundsOrigin_.y - size_.height / 2};
  const Point turned = transform_.apply(relative);
  return {turned.x + center_.x, turned.y + center_.y};
}

Point View::convertPointFromSuperview(Point point) const {
  const Point relative{point.x - center_.x, point.y - center_.y};
  const Point turned = transform_.inverted().apply(relative);
  return {turned.x + boundsOrigin_.x + size_.width / 2,
          turned.y + boundsOrigin_.y + size_.height / 2};
}

Point View::convertPointToView(Point point, const View* view) const {
  Point rootPoint = point;
  for (const View* v = this; v->superview_ != nullptr; v = v->superview_) {
    rootPoint = v->convertPointToSuperview(rootPoint);
  }
  if (view == nullptr) return rootPoint;
  return view->convertPointFromView(rootPoint, nullptr);
}

Point View::convertPointFromView(Point point, const View* view) const {
  const Point rootPoint = view != nullptr ? view->convertPointToView(point, nullptr) : point;
  std::vector<const View*> chain;
  for (const View* v = this; v->superview_ != nullptr; v = v->superview_) chain.push_back(v);
  Point result = rootPoint;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    result = (*it)->convertPointFromSuperview(result);
  }
  return result;
}

// ---- Touches

bool View::pointInside(Point point) const { return rectContainsPoint(bounds(), point); }

View* View::hitTest(Point point) {
  if (hidden_ || !userInteractionEnabled_ || alpha_ < kMinimumTouchAlpha) return nullptr;
  if (!pointInside(point)) return nullptr;
  for (auto it = subviews_.rbegin(); it != subviews_.rend(); ++it) {
    View* subview = *it;
    if (View* hit = subview->hitTest(subview->convertPointFromSuperview(point))) return hit;
  }
  return this;
}

Responder* View::nextResponder() const {
  if (controller_ != nullptr) return controller_;
  return superview_;
}

// ---- Animations

void View::beginAnimations(std::string animationId) {
  Application::shared().animations().begin(std::move(animationId));
}

void View::setAnimationDuration(double seconds) {
  Application::shared().animations().setDuration(seconds);
}

void View::setAnimationDelay(double seconds) {
  Application::shared().animations().setDelay(seconds);
}

void View::setAnimationDidStop(AnimationDidStop callback) {
  Application::shared().animations().setDidStop(std::move(callback));
}

void View::setAnimationTransition(AnimationTransition transition, View& view) {
  Application::shared().animations().setTransition(transition, view);
}

void View::commitAnimations() { Application::shared().animations().commit(); }

// ---- Custom drawing

void View::drawRect(DrawingContext&, Rect) {}

Image View::renderContent(double scale) {
  if (!drawsContent() || size_.width <= 0 || size_.height <= 0) return {};
  Result<DrawingContext> context = DrawingContext::create(size_.width, size_.height, scale);
  if (!context.ok()) return {};
  drawRect(*context, {0, 0, size_.width, size_.height});
  Result<std::vector<std::uint8_t>> png = context->pngData();
  return png.ok() ? Image::fromBytes(std::move(png.value())) : Image();
}

// ---- Layout and description

void View::layoutIfNeeded() {
  // A copy: laying out may add or remove subviews of subviews, never of this view's list.
  const std::vector<View*> subviews = subviews_;
  for (View* subview : subviews) subview->layoutIfNeeded();
}

void View::describe(ViewDescription& description) const {
  description.identifier = identifier_;
  description.kind = kind();
  description.frame = {center_.x - size_.width / 2, center_.y - size_.height / 2, size_.width,
                       size_.height};
  description.boundsOrigin = boundsOrigin_;
  description.transform = transform_;
  description.alpha = alpha_;
  description.backgroundColor = backgroundColor_;
  description.userInteractionEnabled = userInteractionEnabled_;
  description.clipsToBounds = clipsToBounds_;
  description.displayGeneration = displayGeneration_;
  description.drawsContent = drawsContent();
}

}  // namespace kinetra
