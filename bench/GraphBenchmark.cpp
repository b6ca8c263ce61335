// The progress graph of an exercise logged on 2,000 days: one showing of the graph as the screen
// does it: the plot worked out (the exercise's day list rebuilt from the whole log, the values
// of the window) and handed to the graph view, then drawn (drawRect into a fresh 480 × 320-point
// context at 2 device pixels per point).
// Each of the four windows; then the same with the PNG encoding the screen adds.
//   bench_graph --resources=DIRECTORY [Google Benchmark flags]
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/VelomarAppDelegate.h"
#include "foundation/RunLoop.h"
#include "graphics/DrawingContext.h"
#include "ui/Application.h"

namespace {

using kinetra::PropertyList;

constexpr int kDays = 2000;
constexpr const char* kExercise = "Barbell Bench Press";

// 2,000 training days, every other calendar day, each with three sets of the graphed exercise
// and two sets of another one.
PropertyList log(const kinetra::VelomarAppDelegate& app) {
  PropertyList::Dictionary days;
  const kinetra::Date first = app.now().addingTimeInterval(-2.0 * kDays * 86400);
  for (int d = 0; d < kDays; ++d) {
    PropertyList::Array sets;
    for (int set = 0; set < 3; ++set) {
      sets.emplace_back(std::to_string(60 + (d * 7 + set * 5) % 60) + "." +
                        std::to_string(d % 2 * 5) + " kg");
      sets.emplace_back(std::to_string(5 + (d + set) % 8));
      sets.emplace_back(set == 2 ? "last" : "");
    }
    PropertyList::Dictionary day{
        {kExercise, std::move(sets)},
        {"Back Squat", PropertyList::Array{"100 kg", "5", "", "100 kg", "5", ""}}};
    days.emplace(app.dayString(first.addingTimeInterval(2.0 * d * 86400)), std::move(day));
  }
  return days;
}

struct Session {
  std::unique_ptr<kinetra::RunLoop> loop = std::make_unique<kinetra::RunLoop>();
  std::unique_ptr<kinetra::VelomarAppDelegate> app;

  explicit Session(const std::filesystem::path& resources) {
    kinetra::Application::shared().reset();
    kinetra::Application::shared().setClock(&loop->clock());
    const std::filesystem::path documents =
        std::filesystem::temp_directory_path() / "kinetra-bench-graph-unused";
    app = std::make_unique<kinetra::VelomarAppDelegate>(
        *loop, kinetra::VelomarAppDelegate::Environment{
                   documents, resources, {"en_US", "UTC"}, std::nullopt});
    kinetra::Application::shared().launch(*app);
    app->userData().exerciseLog = log(*app);
    app->selection().selectedExercise = kExercise;
  }
  ~Session() {
    app.reset();
    kinetra::Application::shared().setClock(nullptr);
    kinetra::Application::shared().reset();
  }
};

void draw(benchmark::State& state, const std::filesystem::path& resources) {
  Session session(resources);
  kinetra::MainInterface& ui = session.app->interface();
  ui.graphDuration.setSelectedSegmentIndex(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    session.app->updateGraph();
    kinetra::Result<kinetra::DrawingContext> context = kinetra::DrawingContext::create(480, 320, 2);
    ui.graphView.drawRect(*context, ui.graphView.bounds());
    benchmark::DoNotOptimize(context);
    benchmark::ClobberMemory();
  }
  if (session.app->selection().previousDates.size() != kDays) state.SkipWithError("not 2,000 days");
  if (ui.noGraph.superview() != nullptr || !ui.graphView.plot()) {
    state.SkipWithError("no plot drawn");
  }
}

void drawAndEncode(benchmark::State& state, const std::filesystem::path& resources) {
  Session session(resources);
  kinetra::MainInterface& ui = session.app->interface();
  ui.graphDuration.setSelectedSegmentIndex(static_cast<int>(state.range(0)));
  std::size_t bytes = 0;
  for (auto _ : state) {
    session.app->updateGraph();
    bytes = ui.graphView.renderContent(2).bytes().size();
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["png_bytes"] = static_cast<double>(bytes);
}

}  // namespace

int main(int argc, char** argv) {
  std::filesystem::path resources;
  std::vector<char*> arguments;
  for (int i = 0; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument.starts_with("--resources=")) {
      resources = std::string(argument.substr(12));
    } else {
      arguments.push_back(argv[i]);
    }
  }
  if (resources.empty()) {
    std::fprintf(stderr, "usage: %s --resources=DIRECTORY [benchmark flags]\n", argv[0]);
    return 2;
  }
  int count = static_cast<int>(arguments.size());
  benchmark::Initialize(&count, arguments.data());
  benchmark::RegisterBenchmark("graph/2000_days/draw", draw, resources)
      ->DenseRange(0, 3)
      ->ArgName("window_segment")
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("graph/2000_days/draw_and_png", drawAndEncode, resources)
      ->Arg(3)
      ->ArgName("window_segment")
      ->Unit(benchmark::kMillisecond);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
