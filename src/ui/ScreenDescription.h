#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "graphics/Font.h"
#include "ui/AnimationRecord.h"
#include "ui/Color.h"
#include "ui/Geometry.h"
#include "ui/IndexPath.h"

namespace kinetra {

// A picture on the screen: its identifier (equal bytes, equal identifier), its size in points
// and its encoded bytes, which the screen serves by identifier.
struct PictureDescription {
  std::uint64_t identifier = 0;
  Size size;
  std::shared_ptr<const std::vector<std::uint8_t>> bytes;
};

struct SegmentDescription {
  std::string title;
  std::optional<PictureDescription> picture;
  bool enabled = true;
  Rect frame;  // in the control's bounds
};

struct SectionHeaderDescription {
  int section = 0;
  std::string title;
  Rect frame;  // in the table's bounds (content coordinates)
};

struct TabDescription {
  std::string title;
  std::optional<PictureDescription> picture;
  std::optional<PictureDescription> selectedPicture;
  Rect frame;  // in the tab bar's bounds
};

// One view as the screen draws it. Common fields first; each kind fills its own group and
// leaves the others at their defaults. Subviews are back to front, hidden ones left out.
struct ViewDescription {
  std::uint64_t identifier = 0;
  std::string kind;
  Rect frame;          // in the superview's bounds, without the transform
  Point boundsOrigin;  // the content offset of a scroll view
  AffineTransform transform;
  double alpha = 1;
  Color backgroundColor;
  bool userInteractionEnabled = true;
  bool clipsToBounds = false;

  // Text (labels, text fields, text views, buttons, bar titles).
  std::optional<std::string> text;
  std::optional<Font> font;
  Color textColor = Color::blackColor();
  std::string textAlignment;  // "left", "center", "right"
  int numberOfLines = 1;      // 0: any number
  std::string placeholder;
  std::string keyboardType;   // "default", "numberPad", "numbersAndPunctuation", "email"
  std::string returnKeyType;  // "default", "done"
  bool editable = false;
  bool firstResponder = false;

  // Pictures: an image view's picture, a button's background, a custom view's drawing.
  std::optional<PictureDescription> picture;
  // A custom-drawn view: the screen asks the view for renderContent() when the generation
  // changes (the view is found with Application::viewWithIdentifier).
  bool drawsContent = false;
  std::uint64_t displayGeneration = 0;

  // Controls.
  bool enabled = true;
  bool selected = false;
  bool highlighted = false;
  std::string buttonType;  // "custom", "roundedRect", "infoLight", ...
  std::vector<SegmentDescription> segments;
  int selectedSegment = -1;
  bool momentary = false;
  std::string controlStyle;    // segmented style, bar item style
  std::optional<double> date;  // seconds since 1970, for the date picker
  // A document picker's offer: the kinds of file (extensions and media types, comma-separated;
  // empty: any) and the largest size in bytes; its prompt is its text.
  std::string acceptedTypes;
  std::uint64_t maxBytes = 0;

  // Scroll views and tables.
  Size contentSize;
  bool pagingEnabled = false;
  bool scrollEnabled = true;
  std::string tableStyle;  // "plain", "grouped"
  bool editing = false;
  std::vector<std::string> sectionIndexTitles;
  std::vector<SectionHeaderDescription> sectionHeaders;

  // Table cells.
  std::optional<IndexPath> indexPath;
  std::string accessoryType;   // "none", "disclosureIndicator", "detailDisclosureButton"
  std::string selectionStyle;  // "none", "blue", "gray"
  bool deletable = false;
  bool movable = false;

  // Bars.
  std::string title;
  std::vector<TabDescription> tabs;
  int selectedTab = -1;

  std::vector<ViewDescription> subviews;
};

// The whole screen.
struct ScreenDescription {
  Size size;
  bool statusBarHidden = false;
  ViewDescription window;
  // Requested since the previous description, oldest first.
  std::vector<AnimationRecord> animations;
};

}  // namespace kinetra
