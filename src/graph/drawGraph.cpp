#include "graph/drawGraph.h"

#include <string>
#include <utility>

#include "graphics/DrawingContext.h"
#include "ui/Application.h"
#include "ui/Event.h"

namespace kinetra {

namespace {

constexpr double kFadeSeconds = 0.75;
constexpr double kAxisX = 65;
constexpr double kAxisY = 240;
constexpr double kLabelY = 247;

void strokeGridLines(DrawingContext& context, double fromX, double toX) {
  for (int i = 1; i <= 11; ++i) {
    context.moveToPoint(fromX, 20.0 * i);
    context.addLineToPoint(toX, 20.0 * i);
  }
  context.strokePath();
}

void drawFrame(DrawingContext& context) {
  context.setShadow(0, 0, 1);
  context.clearRect({0, 0, drawGraph::kWidth, drawGraph::kHeight});

  // The band under the date axis; it runs past the bottom edge.
  context.setGrayFillColor(0.168, 1);
  context.fillRect({0, 241, drawGraph::kWidth, drawGraph::kHeight});

  context.setGrayStrokeColor(0.25, 1);
  context.setLineWidth(1);
  strokeGridLines(context, kAxisX, drawGraph::kWidth);
  context.setGrayStrokeColor(0.15, 1);
  strokeGridLines(context, 0, kAxisX);
  context.setGrayStrokeColor(1, 1);
  context.setLineWidth(1.5);
  strokeGridLines(context, 60, kAxisX);

  context.setGrayStrokeColor(0.25, 1);
  context.moveToPoint(kAxisX, 0);
  context.addLineToPoint(kAxisX, kAxisY);
  context.moveToPoint(0, kAxisY);
  context.addLineToPoint(drawGraph::kWidth, kAxisY);
  context.strokePath();
  context.setGrayStrokeColor(1, 1);
  for (int j = 0; j < GraphPlot::kDateLabels; ++j) {
    context.moveToPoint(110 + 50.0 * j, kAxisY);
    context.addLineToPoint(110 + 50.0 * j, kAxisY + 5);
  }
  context.strokePath();
}

void drawLabels(DrawingContext& context, const GraphPlot& plot) {
  const Font font = Font::systemFontOfSize(11);
  context.setGrayFillColor(0.8, 1);
  context.drawAtPoint("0", {61, kLabelY}, font);
  for (int j = 0; j < GraphPlot::kDateLabels; ++j) {
    context.drawAtPoint(plot.dateLabels[static_cast<std::size_t>(j)], {95 + 50.0 * j, kLabelY},
                        font);
  }
  if (!plot.unitLabel.empty()) context.drawAtPoint(plot.unitLabel, GraphPlot::kUnitLabelAt, font);
  for (std::size_t i = 0; i < plot.valueLabels.size(); ++i) {
    context.drawAtPoint(plot.valueLabels[i], {40, 212 - 20.0 * static_cast<double>(i)}, font);
  }
}

void drawLineAndDots(DrawingContext& context, const GraphPlot& plot) {
  context.setShadow(0, -4, 1);
  if (!plot.line.empty()) {
    context.moveToPoint(plot.line.front().x, plot.line.front().y);
    for (const Point& point : plot.line) context.addLineToPoint(point.x, point.y);
    context.setRGBStrokeColor(0.58, 0.78, 1.0, 1);
    context.setLineWidth(3);
    context.strokePath();
  }
  for (const Rect& dot : plot.dots) context.fillEllipseInRect(dot);
}

}  // namespace

drawGraph::drawGraph() : drawGraph(Rect{0, 0, kWidth, kHeight}) {}

drawGraph::drawGraph(Rect frame) : View(frame) {}

void drawGraph::setPlot(std::optional<GraphPlot> plot) {
  plot_ = std::move(plot);
  setNeedsDisplay();
}

void drawGraph::drawRect(DrawingContext& context, Rect) {
  if (plot_) drawPlot(context, *plot_);
}

void drawGraph::drawPlot(DrawingContext& context, const GraphPlot& plot) {
  drawFrame(context);
  drawLabels(context, plot);
  if (plot.plotted) drawLineAndDots(context, plot);
}

void drawGraph::touchesBegan(const std::vector<Touch>& touches, const Event&) {
  if (touches.empty()) return;
  if (touches.front().locationInView(*this).y >= kControlBandTop) return;
  Application::shared().setStatusBarHidden(false, Animated::Yes);
  View::beginAnimations();
  View::setAnimationDuration(kFadeSeconds);
  setAlpha(0);
  View::commitAnimations();
}

}  // namespace kinetra
