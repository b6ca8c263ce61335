#pragma once

#include <vector>

#include "ui/View.h"

namespace kinetra {

class DrawingContext;
struct GraphPlot;

// The progress graph of the selected strength exercise: a view of 480 × 320 points, drawn in its
// own coordinates and shown turned by a quarter turn. It keeps no state: each drawing reads
// `selectedExercise`, `exerciseLog`, the graph's two segmented controls and `previousDates`
// (which it rebuilds) from the shared state, through the application singleton. With fewer
// than two logged days it draws nothing and shows the `noGraph` picture as its subview instead.
//
// The value drawn for each day and the scale are GraphPlot's; this class draws them with the
// frame, grid and labels. A touch above y 260 hides the graph (status bar back, a 0.75-second
// fade to alpha 0); the band below y 260 holds the graph's controls.
class drawGraph : public View {
 public:
  static constexpr double kWidth = 480;
  static constexpr double kHeight = 320;
  static constexpr double kControlBandTop = 260;

  drawGraph();
  explicit drawGraph(Rect frame);

  bool drawsContent() const override { return true; }
  // drawRect: draws the whole graph into `context` (its bounds' size, origin top left). Does
  // nothing before the application's shared state exists.
  void drawRect(DrawingContext& context, Rect rect) override;
  // touchesBegan:withEvent:.
  void touchesBegan(const std::vector<Touch>& touches, const Event& event) override;

  // The frame, grid, axes and both label sets, then the line and the dots, of `plot`.
  static void drawPlot(DrawingContext& context, const GraphPlot& plot);
};

}  // namespace kinetra
