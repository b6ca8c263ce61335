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

#include "AppSession.h"
#include "SyntheticLog.h"

namespace {

using kinetra::PropertyList;

constexpr int kAllRecordsRow = 5;

using Session = kinetra::AppSession;

// Back to the log menu, untimed.
void back(Session& session) {
  session.ui().logNavigationController.popToRootViewControllerAnimated(kinetra::Animated::No);
  session.frame();
}

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
    back(session);
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
    back(session);
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
