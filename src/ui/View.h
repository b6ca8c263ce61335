#pragma once

#include <concepts>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/AnimationRecord.h"
#include "ui/Color.h"
#include "ui/Geometry.h"
#include "ui/Image.h"
#include "ui/Responder.h"

namespace kinetra {

class DrawingContext;
class ViewController;
class Window;
struct ViewDescription;

// A rectangle on the screen with subviews, kept back to front. The toolkit keeps state only:
// the screen draws it from the description.
//
// Ownership. A view added by reference (addSubview(View&)) stays owned by whoever made it; the
// superview keeps a non-owning pointer. A view added as a unique_ptr is owned by its superview
// and lives as long as it stays there (or moves to another superview, which takes ownership).
// Destroying a view takes it out of its superview and detaches its subviews (destroying those it
// owns). No pointer in either direction ever dangles.
//
// Geometry. A view has a centre in its superview's coordinates, a size, a bounds origin (the
// content offset of a scroll view) and a transform about its centre. frame() is the box around
// the transformed bounds.
class View : public Responder {
 public:
  View();
  explicit View(Rect frame);
  ~View() override;

  // Stable for the life of the view; the screen addresses views by it.
  ViewId identifier() const { return identifier_; }
  // What the screen draws: "view", "label", "imageView", "button", ...
  virtual std::string kind() const { return "view"; }

  Rect frame() const;
  void setFrame(Rect frame);
  Rect bounds() const { return {boundsOrigin_.x, boundsOrigin_.y, size_.width, size_.height}; }
  // Changes the size (about the centre); the origin of a scroll view's bounds is its offset.
  void setBoundsSize(Size size);
  Point center() const { return center_; }
  void setCenter(Point center);
  const AffineTransform& transform() const { return transform_; }
  void setTransform(const AffineTransform& transform);
  double alpha() const { return alpha_; }
  // Clamped to [0, 1]; NaN counts as 0.
  void setAlpha(double alpha);
  bool isHidden() const { return hidden_; }
  void setHidden(bool hidden) { hidden_ = hidden; }
  bool isUserInteractionEnabled() const { return userInteractionEnabled_; }
  void setUserInteractionEnabled(bool enabled) { userInteractionEnabled_ = enabled; }
  const Color& backgroundColor() const { return backgroundColor_; }
  void setBackgroundColor(const Color& color) { backgroundColor_ = color; }
  bool clipsToBounds() const { return clipsToBounds_; }
  void setClipsToBounds(bool clips) { clipsToBounds_ = clips; }
  bool autoresizesSubviews() const { return autoresizesSubviews_; }
  void setAutoresizesSubviews(bool resizes) { autoresizesSubviews_ = resizes; }
  // How this view follows a change of its superview's size (when the superview autoresizes its
  // subviews): a flexible height or width takes the whole change; otherwise a flexible top or
  // left margin does, so the view keeps its place from the bottom or the right. None: the view
  // keeps its frame, its place from the top left.
  enum Autoresizing : unsigned {
    kNoAutoresizing = 0,
    kFlexibleLeftMargin = 1U << 0,
    kFlexibleWidth = 1U << 1,
    kFlexibleTopMargin = 1U << 3,
    kFlexibleHeight = 1U << 4,
  };
  unsigned autoresizingMask() const { return autoresizingMask_; }
  void setAutoresizingMask(unsigned mask) { autoresizingMask_ = mask; }
  int tag() const { return tag_; }
  void setTag(int tag) { tag_ = tag; }

  // ---- Hierarchy
  View* superview() const { return superview_; }
  // Back to front.
  const std::vector<View*>& subviews() const { return subviews_; }
  // Puts `view` in front of the other subviews, taking it out of its old superview first (a
  // view already here moves to the front). Adding a view to itself or to one of its own
  // descendants does nothing.
  void addSubview(View& view);
  // The same, and this view owns `view` from now on. Returns the added view.
  template <std::derived_from<View> T>
  T& addSubview(std::unique_ptr<T> view) {
    T& added = *view;
    adopt(std::unique_ptr<View>(std::move(view)), subviews_.size());
    return added;
  }
  // Inserts at `index` of subviews (clamped to the end).
  void insertSubview(View& view, std::size_t index);
  template <std::derived_from<View> T>
  T& insertSubview(std::unique_ptr<T> view, std::size_t index) {
    T& added = *view;
    adopt(std::unique_ptr<View>(std::move(view)), index);
    return added;
  }
  // Moves a subview to the front / back; does nothing for a view that is not a subview.
  void bringSubviewToFront(View& view);
  void sendSubviewToBack(View& view);
  // Takes this view out of its superview. Returns the view when the superview owned it (so the
  // caller may keep it; dropping the result destroys it), null otherwise.
  std::unique_ptr<View> removeFromSuperview();
  bool isDescendantOfView(const View& view) const;
  // The top of this view's hierarchy (itself when it has no superview).
  const View& rootView() const;
  // The application window this view is shown in, if any.
  Window* window() const;
  // True when this view and all its ancestors are not hidden and it is in the window.
  bool isVisibleInWindow() const;

  // ---- Coordinates
  // A point of this view's bounds in `view`'s bounds; null means the root of the hierarchy.
  Point convertPointToView(Point point, const View* view) const;
  Point convertPointFromView(Point point, const View* view) const;
  Point convertPointToSuperview(Point point) const;
  Point convertPointFromSuperview(Point point) const;

  // ---- Touches
  // The frontmost descendant (or this view) that takes touches at `point`, in this view's
  // bounds. Hidden views, views that do not take touches, nearly transparent views, and
  // everything inside them, are skipped.
  virtual View* hitTest(Point point);
  virtual bool pointInside(Point point) const;
  Responder* nextResponder() const override;
  // The screen controller whose view this is, if any.
  ViewController* viewController() const { return controller_; }

  // ---- Custom drawing
  // setNeedsDisplay: the screen asks renderContent() for a new picture of the view.
  void setNeedsDisplay() { ++displayGeneration_; }
  // Counts the setNeedsDisplay calls; the screen redraws when it changes.
  std::uint64_t displayGeneration() const { return displayGeneration_; }
  // A custom view returns true here and draws itself in drawRect (drawRect:), into a context
  // of its bounds' size with the origin at its top left.
  virtual bool drawsContent() const { return false; }
  virtual void drawRect(DrawingContext& context, Rect rect);
  // The view's own drawing as a PNG picture at `scale` device pixels per point; empty for a view
  // that draws nothing or has no area.
  Image renderContent(double scale = 2);

  // ---- Animations (the device's class-wide view animation block)
  using AnimationDidStop = std::function<void(const std::string& animationId, bool finished)>;
  static void beginAnimations(std::string animationId = {});
  static void setAnimationDuration(double seconds);
  static void setAnimationDelay(double seconds);
  // setAnimationDelegate: with setAnimationDidStopSelector: — called once the block's
  // duration has passed on the run loop's clock.
  static void setAnimationDidStop(AnimationDidStop callback);
  static void setAnimationTransition(AnimationTransition transition, View& view);
  static void commitAnimations();
  // The animation this view was last given, if any.
  const std::optional<AnimationRecord>& lastAnimation() const { return lastAnimation_; }
  void setLastAnimation(const AnimationRecord& record) { lastAnimation_ = record; }

  // ---- Layout
  // Brings internal subviews up to date before the screen is read or touched (bars, cells).
  virtual void layoutIfNeeded();

  // Fills the kind-specific part of the description; the common part is filled by the
  // describer. Subclasses call their base first.
  virtual void describe(ViewDescription& description) const;

 protected:
  void setBoundsOrigin(Point origin) { boundsOrigin_ = origin; }
  // Told after the size changed (table views lay out their rows again).
  virtual void sizeDidChange() {}
  // The size changed from `oldSize`: subviews follow by their autoresizing, then sizeDidChange.
  void resized(Size oldSize);

 private:
  friend class ViewController;

  void adopt(std::unique_ptr<View> view, std::size_t index);
  void insertReference(View& view, std::size_t index);
  // Takes `view` out of subviews_; returns it when it was owned.
  std::unique_ptr<View> detach(View& view);
  bool canAdd(const View& view) const;

  ViewId identifier_;
  Point center_;
  Size size_;
  Point boundsOrigin_;
  AffineTransform transform_;
  double alpha_ = 1;
  bool hidden_ = false;
  bool userInteractionEnabled_ = true;
  bool clipsToBounds_ = false;
  bool autoresizesSubviews_ = true;
  unsigned autoresizingMask_ = kNoAutoresizing;
  int tag_ = 0;
  Color backgroundColor_;
  View* superview_ = nullptr;
  std::vector<View*> subviews_;
  std::vector<std::unique_ptr<View>> owned_;
  ViewController* controller_ = nullptr;
  std::uint64_t displayGeneration_ = 0;
  std::optional<AnimationRecord> lastAnimation_;
};

}  // namespace kinetra
