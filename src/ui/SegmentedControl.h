#pragma once

#include <string>
#include <variant>
#include <vector>

#include "ui/Control.h"
#include "ui/Image.h"

namespace kinetra {

enum class SegmentedControlStyle { kPlain, kBordered, kBar, kBezeled };

// A row of equally wide segments, each a title or a picture. A tap on an enabled segment
// selects it and sends value-changed; a momentary control sends value-changed on every tap,
// with the tapped segment selected while its actions run, and keeps no segment selected.
class SegmentedControl : public Control {
 public:
  static constexpr int kNoSegment = -1;
  using Item = std::variant<std::string, Image>;

  // initWithItems:
  explicit SegmentedControl(std::vector<Item> items, Rect frame = {});
  explicit SegmentedControl(const std::vector<std::string>& titles, Rect frame = {});

  std::string kind() const override { return "segmentedControl"; }

  int numberOfSegments() const { return static_cast<int>(segments_.size()); }
  // Out-of-range segments read as empty and ignore changes.
  std::string titleForSegmentAtIndex(int segment) const;
  void setTitle(std::string title, int segment);
  Image imageForSegmentAtIndex(int segment) const;
  void setImage(Image image, int segment);
  using Control::isEnabled;
  using Control::setEnabled;
  bool isEnabledForSegmentAtIndex(int segment) const;
  void setEnabled(bool enabled, int segment);

  int selectedSegmentIndex() const { return selected_; }
  // An index out of range selects no segment. Sends no action.
  void setSelectedSegmentIndex(int segment);
  bool isMomentary() const { return momentary_; }
  void setMomentary(bool momentary) { momentary_ = momentary; }
  SegmentedControlStyle segmentedControlStyle() const { return style_; }
  void setSegmentedControlStyle(SegmentedControlStyle style) { style_ = style; }

  // The segment under a point of the bounds; kNoSegment outside.
  int segmentAtPoint(Point point) const;
  // The centre of a segment, in the bounds.
  Point centerOfSegment(int segment) const;

  void describe(ViewDescription& description) const override;

 protected:
  void tapped(const Touch& touch, const Event& event) override;

 private:
  struct Segment {
    std::string title;
    Image image;
    bool enabled = true;
  };

  bool valid(int segment) const { return segment >= 0 && segment < numberOfSegments(); }
  double segmentWidth() const;

  std::vector<Segment> segments_;
  int selected_ = kNoSegment;
  bool momentary_ = false;
  SegmentedControlStyle style_ = SegmentedControlStyle::kPlain;
};

}  // namespace kinetra
