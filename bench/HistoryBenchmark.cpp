// Opening the history on the ten-year logs, each timed from the finger's event to the frame's
// text the shell would send (the screen described and encoded): choosing "All Records" in the
// log menu (every logged day listed), and choosing the newest day in that list (the day-log
// screen, one section per exercise). The baseline, in the same run: the same two events on logs
// of a single day, so that the ratio is what ten years cost beyond the screens' own work.
// Budget: 10 ms each.
//   bench_history --resources=DIRECTORY [Google Benchmark flags]
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "SyntheticLog.h"
#include "app/VelomarAppDelegate.h"
#include "foundation/PropertyListWriter.h"
#include "foundation/RunLoop.h"
#include "shell/FrameEncoder.h"
#include "shell/PictureStore.h"
#include "ui/Application.h"
#include "ui/Finger.h"

namespace {

using kinetra::PropertyList;

constexpr int kAllRecordsRow = 5;

// The application on a documents folder of its own holding `strength` and its aerobic log.
struct Session {
  Session(const std::filesystem::path& resources, const PropertyList& strength) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "kinetra-history-XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr) documents = pattern;
    for (const auto& [name, value] :
         {std::pair<const char*, PropertyList>{"Kinetra_Log.plist", strength},
          std::pair<const char*, PropertyList>{"Kinetra_Aerobics_Log.plist",
                                               kinetra::SyntheticLog::aerobicFor(strength)}}) {
      if (!kinetra::writePropertyList(documents / name, value).ok()) ok = false;
    }
    kinetra::Application::shared().reset();
    loop = std::make_unique<kinetra::RunLoop>();
    kinetra::Application::shared().setClock(&loop->clock());
    app = std::make_unique<kinetra::VelomarAppDelegate>(
        *loop, kinetra::VelomarAppDelegate::Environment{documents, resources, {"en_US", "UTC"}});
    kinetra::Application::shared().launch(*app);
    ok = ok && !app->userData().exerciseLog.asDictionary().empty();
    frame();  // the first frame carries the pictures
  }
  ~Session() {
    app.reset();
    kinetra::Application::shared().setClock(nullptr);
    kinetra::Application::shared().reset();
    std::error_code ignored;
    std::filesystem::remove_all(documents, ignored);
  }

  // What the shell does after an event: the screen described and encoded.
  std::size_t frame() {
    return encoder.encode(kinetra::Application::shared().describeScreen()).size();
  }

  kinetra::MainInterface& ui() { return app->interface(); }

  void back() {
    ui().logNavigationController.popToRootViewControllerAnimated(kinetra::Animated::No);
    frame();
  }

  std::filesystem::path documents;
  std::unique_ptr<kinetra::RunLoop> loop;
  std::unique_ptr<kinetra::VelomarAppDelegate> app;
  kinetra::PictureStore pictures;
  kinetra::FrameEncoder encoder{pictures, [](const kinetra::ViewDescription&) {
                                  return std::optional<kinetra::PictureDescription>();
                                }};
  kinetra::Finger finger;
  bool ok = true;
};

PropertyList logOf(bool tenYears) {
  kinetra::SyntheticLog::Options options = kinetra::SyntheticLog::tenYearsHeavy();
  if (!tenYears) options.trainingDays = 1;
  return kinetra::SyntheticLog::make(options);
}

void allRecords(benchmark::State& state, const std::filesystem::path& resources) {
  Session session(resources, logOf(state.range(0) != 0));
  if (!session.ok) state.SkipWithError("the logs were not written or loaded");
  kinetra::TableView& menu = session.ui().logTabTableView.tableView();
  session.ui().tabBarController.setSelectedIndex(4);
  session.frame();
  for (auto _ : state) {
    if (!session.finger.selectRow(menu, {0, kAllRecordsRow}).ok()) state.SkipWithError("no row");
    benchmark::DoNotOptimize(session.frame());
    state.PauseTiming();
    session.back();
    state.ResumeTiming();
  }
  state.counters["days"] = static_cast<double>(session.app->selection().limitedDates.size());
}

void day(benchmark::State& state, const std::filesystem::path& resources) {
  Session session(resources, logOf(state.range(0) != 0));
  if (!session.ok) state.SkipWithError("the logs were not written or loaded");
  kinetra::TableView& menu = session.ui().logTabTableView.tableView();
  kinetra::TableView& days = session.ui().LimitedLogTableView.tableView();
  session.ui().tabBarController.setSelectedIndex(4);
  for (auto _ : state) {
    state.PauseTiming();
    if (!session.finger.selectRow(menu, {0, kAllRecordsRow}).ok()) state.SkipWithError("no row");
    session.frame();
    state.ResumeTiming();
    if (!session.finger.selectRow(days, {0, 0}).ok()) state.SkipWithError("no day");
    benchmark::DoNotOptimize(session.frame());
    state.PauseTiming();
    session.back();
    state.ResumeTiming();
  }
  state.counters["sections"] = session.ui().exerciseLogTableView.tableView().numberOfSections();
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
  // Argument 0: the one-day baseline; 1: the ten-year logs.
  benchmark::RegisterBenchmark("history/all_records", allRecords, resources)
      ->Arg(0)
      ->Arg(1)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("history/day", day, resources)
      ->Arg(0)
      ->Arg(1)
      ->Unit(benchmark::kMillisecond);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
