#pragma once

#include <optional>
#include <vector>

#include "graph/GraphPlot.h"
#include "ui/View.h"

namespace kinetra {

class DrawingContext;

// The progress graph of the selected strength exercise: a view of 480 × 320 points, drawn in its
// own coordinates and shown turned by a quarter turn. It draws the plot it was last handed
// (the values and the scale are GraphPlot's; this class adds the frame, grid and labels), and
// nothing while it has none: whoever hands it a plot works the plot out from the log and shows
// a picture in its place when there is too little to draw. A touch above y 260 hides the graph
// (status bar back, a 0.75-second fade to alpha 0); the band below y 260 holds the graph's
// controls.
class drawGraph : public View {
 public:
  static constexpr double kWidth = 480;
  static constexpr double kHeight = 320;
  static constexpr double kControlBandTop = 260;

  drawGraph();
  explicit drawGraph(Rect frame);

  bool drawsContent() const override { return true; }
  // The plot to draw from now on, or none; asks to be drawn again.
  void setPlot(std::optional<GraphPlot> plot);
  const std::optional<GraphPlot>& plot() const { return plot_; }

  // drawRect: draws the whole graph into `context` (its bounds' size, origin top left).
  void drawRect(DrawingContext& context, Rect rect) override;
  // touchesBegan:withEvent:.
  void touchesBegan(const std::vector<Touch>& touches, const Event& event) override;

  // The frame, grid, axes and both label sets, then the line and the dots, of `plot`.
  static void drawPlot(DrawingContext& context, const GraphPlot& plot);

 private:
  std::optional<GraphPlot> plot_;
};

}  // namespace kinetra
