#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/Date.h"
#include "foundation/Status.h"
#include "ui/Geometry.h"
#include "ui/IndexPath.h"
#include "ui/ScrollView.h"

namespace kinetra {

class Application;
class BarButtonItem;
class DatePicker;
class DocumentPickerController;
class ImagePickerController;
class NavigationController;
class SegmentedControl;
class TabBarController;
class TableView;
class TextField;
class TextView;
class View;

// The finger and the keyboard: the one way tests and the screen act on the toolkit. Every
// touch goes the way a real one goes: the window is laid out, hit testing finds the frontmost
// view that takes touches at the point, that view (or the next responder) gets
// touchesBegan/touchesEnded, and controls, tables and bars turn them into targets, actions and
// delegate calls. A view that is hidden, covered or off screen cannot be reached.
//
// Views are addressed by reference; the screen finds them by identifier with
// Application::viewWithIdentifier. Each operation returns NotFound when there is nothing to
// act on there, InvalidArgument when the request makes no sense for the view (no such
// segment, a row that cannot be deleted), Cancelled when a delegate refused typed text.
class Finger {
 public:
  // Steps of the synthetic swipe, in points; gliding halves the remaining distance per step.
  static constexpr double kDragStep = 10;
  static constexpr double kRestDistance = 0.5;
  // A swipe that moves at least this share of a page goes on to the next page.
  static constexpr double kFlickShare = 0.1;

  Finger();
  explicit Finger(Application& application);

  // ---- Touches
  Status tap(Point pointInWindow, int tapCount = 1);
  // At the centre of the view's bounds, or at a point of them.
  Status tap(View& view, int tapCount = 1);
  Status tap(View& view, Point pointInView, int tapCount = 1);

  // ---- Tables (rows must be on screen)
  Status selectRow(TableView& table, IndexPath indexPath);
  // The accessory: a detail disclosure button or the data source's own accessory view.
  Status tapAccessory(TableView& table, IndexPath indexPath);
  // The delete control (in editing mode) or swipe-to-delete.
  Status deleteRow(TableView& table, IndexPath indexPath);
  // Drags the row's reorder control (editing mode) to `to`.
  Status moveRow(TableView& table, IndexPath from, IndexPath to);
  Status chooseSectionIndexTitle(TableView& table, int index);

  // ---- Keyboard (the first responder)
  // Types at the end of the text.
  Status type(const std::string& text);
  // Taps the field or text view, then types.
  Status typeInto(TextField& field, const std::string& text);
  Status typeInto(TextView& textView, const std::string& text);
  // The screen's way: the whole new text of the focused field, turned into one edit.
  Status editText(const std::string& newText);
  Status deleteBackward();
  Status pressReturn();

  // ---- Controls
  Status chooseSegment(SegmentedControl& control, int segment);
  Status pickDate(DatePicker& picker, Date date);
  // A photo chosen in the picker: NotFound when the picker is not on the screen, otherwise the
  // picker's answer (Corrupt or TooLarge for what it refuses; see ImagePickerController).
  Status pickPhoto(ImagePickerController& picker, std::vector<std::uint8_t> bytes);
  Status cancelPicker(ImagePickerController& picker);
  // A file chosen in the document picker: NotFound when the picker is not on the screen,
  // TooLarge over its size limit (see DocumentPickerController).
  Status pickDocument(DocumentPickerController& picker, const std::vector<std::uint8_t>& bytes);
  Status cancelPicker(DocumentPickerController& picker);

  // ---- Scrolling
  // One report of the finger's scrolling: an offset in a phase. Ending a paging scroll view off
  // a page glides it onto the nearest one first.
  Status scroll(ScrollView& scrollView, Point offset, ScrollPhase phase);
  // A whole swipe: dragging offsets from the current offset to `releaseOffset`, release, then
  // (with paging) gliding offsets that come to rest on a whole page, as the device produces
  // them. The release is at most one screen from the start (a finger's reach). Without paging
  // the content stops where it was released.
  Status swipe(ScrollView& scrollView, Point releaseOffset);

  // ---- Bars
  Status tapBarButton(BarButtonItem& item);
  Status tapBackButton(NavigationController& navigationController);
  Status selectTab(TabBarController& tabBarController, int index);

 private:
  // Whether a touch at the view's centre reaches the view (or something inside it).
  Status reach(View& view);
  Status glide(ScrollView& scrollView, Point target);
  Point pagedRestOffset(const ScrollView& scrollView, Point start, Point release) const;

  Application& application_;
};

}  // namespace kinetra
