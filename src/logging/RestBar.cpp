#include "logging/RestBar.h"

#include <cstdio>
#include <initializer_list>

#include "logging/RestTimer.h"

namespace kinetra {

namespace {

constexpr double kControlTop = 7;
constexpr double kControlHeight = 30;

Color runningColor() { return Color::rgba(0.15, 0.19, 0.27, 1); }
Color overColor() { return Color::rgba(0.13, 0.55, 0.29, 1); }

}  // namespace

RestBar::RestBar(double width)
    : bar(Rect{0, 0, width, kHeight}),
      time(Rect{10, kControlTop, 112, kControlHeight}),
      shorter(ButtonType::kRoundedRect, Rect{124, kControlTop, 56, kControlHeight}),
      longer(ButtonType::kRoundedRect, Rect{184, kControlTop, 56, kControlHeight}),
      cancel(ButtonType::kRoundedRect, Rect{244, kControlTop, width - 252, kControlHeight}) {
  bar.setHidden(true);
  bar.setBackgroundColor(runningColor());
  // It stays along the bottom of a pane that grows.
  bar.setAutoresizingMask(View::kFlexibleTopMargin | View::kFlexibleWidth);
  cancel.setAutoresizingMask(View::kFlexibleLeftMargin);
  time.setFont(Font::boldSystemFontOfSize(18));
  time.setTextColor(Color::whiteColor());
  time.setBackgroundColor(Color::clearColor());
  shorter.setTitle("\u221215 s", ControlState::kNormal);
  longer.setTitle("+15 s", ControlState::kNormal);
  cancel.setTitle("Cancel", ControlState::kNormal);
  for (View* view : std::initializer_list<View*>{&time, &shorter, &longer, &cancel}) {
    bar.addSubview(*view);
  }
}

std::string RestBar::clockText(int seconds) {
  if (seconds < 0) seconds = 0;
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d", seconds / 60, seconds % 60);
  return text;
}

void RestBar::show(const RestTimer& timer, TableView& table) {
  const RestTimer::Phase phase = timer.phase();
  bar.setHidden(phase == RestTimer::Phase::kIdle);
  if (phase == RestTimer::Phase::kRunning) {
    bar.setBackgroundColor(runningColor());
    time.setText("Rest " + clockText(timer.remainingSeconds()));
    cancel.setTitle("Cancel", ControlState::kNormal);
  } else if (phase == RestTimer::Phase::kOver) {
    bar.setBackgroundColor(overColor());
    time.setText("Rest over");
    cancel.setTitle("OK", ControlState::kNormal);
  }
  const bool running = phase == RestTimer::Phase::kRunning;
  shorter.setHidden(!running);
  longer.setHidden(!running);
  shorter.setEnabled(timer.canShorten());
  longer.setEnabled(timer.canLengthen());
  fitTable(table);
}

void RestBar::fitTable(TableView& table) const {
  const View* pane = table.superview();
  if (pane == nullptr) return;
  const Rect frame = table.frame();
  const double bottom =
      bar.isHidden() || bar.superview() != pane ? pane->bounds().height : bar.frame().y;
  table.setFrame({frame.x, frame.y, frame.width, std::max(0.0, bottom - frame.y)});
}

}  // namespace kinetra
