// Swiping through a 20-exercise workout's log panels on the ten-year logs, each event timed from
// the finger's scroll offset (dragging, then gliding to the next page, where the panels are
// rebuilt around the new row) to the frame's text the shell would send. Swipes forward through
// every page, then back. The baseline, in the same run: the same swipes on a log of one day.
// Prints the median, 99th percentile and largest time per event, and the ratios to the baseline.
// Budget: 5 ms median, 20 ms p99.
//   bench_swipe --resources=DIRECTORY [ROUNDS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "AppSession.h"
#include "SyntheticLog.h"
#include "model/ExerciseRecord.h"

namespace {

using kinetra::PropertyList;

constexpr int kExercises = 20;
constexpr double kPage = 321;
constexpr int kStepsPerPhase = 8;

struct Figures {
  double median = 0;
  double p99 = 0;
  double largest = 0;
};

// The first 20 strength exercises of the catalogue, as a workout.
PropertyList workoutOf(const kinetra::ExerciseRecords& exercises) {
  PropertyList::Array workout{PropertyList("Twenty")};
  for (const kinetra::ExerciseRecord& record : exercises) {
    const std::string name(kinetra::recordString(*record, "name").value_or(""));
    if (name.empty() || kinetra::isAerobicExercise(name)) continue;
    workout.emplace_back(name);
    if (static_cast<int>(workout.size()) > kExercises) break;
  }
  return PropertyList::Array{PropertyList(std::move(workout))};
}

// Every event of `rounds` swipes through the workout and back, in milliseconds.
std::vector<double> swipeTimes(const std::filesystem::path& resources, bool tenYears, int rounds) {
  kinetra::SyntheticLog::Options options = kinetra::SyntheticLog::tenYearsHeavy();
  if (!tenYears) options.trainingDays = 1;
  kinetra::AppSession session(resources, kinetra::SyntheticLog::make(options));
  std::vector<double> times;
  if (!session.ok) return times;
  session.app->userData().workouts = workoutOf(session.app->exerciseList().exercises);
  kinetra::MainInterface& ui = session.ui();
  ui.tabBarController.setSelectedIndex(2);
  ui.workoutsTable.tableView().reloadData();
  if (!session.finger.selectRow(ui.workoutsTable.tableView(), {0, 0}).ok()) return times;
  session.app->logFromWorkoutRow(0);
  session.frame();

  kinetra::ScrollView& pages = ui.logsScrollView;
  auto event = [&](double x, kinetra::ScrollPhase phase) {
    const auto start = std::chrono::steady_clock::now();
    static_cast<void>(session.finger.scroll(pages, {x, 0}, phase));
    session.frame();
    times.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count());
  };
  // One swipe from page `from` to page `to`: the finger drags half a page, lets go, and the
  // content glides onto the page.
  auto swipe = [&](int from, int to) {
    const double direction = to > from ? 1 : -1;
    const double start = from * kPage;
    for (int i = 1; i <= kStepsPerPhase; ++i) {
      event(start + direction * kPage / 2 * i / kStepsPerPhase, kinetra::ScrollPhase::kDragging);
    }
    for (int i = 1; i <= kStepsPerPhase; ++i) {
      event(start + direction * kPage * (0.5 + 0.5 * i / kStepsPerPhase),
            kinetra::ScrollPhase::kDecelerating);
    }
    event(to * kPage, kinetra::ScrollPhase::kEnded);
  };
  for (int round = 0; round < rounds; ++round) {
    for (int page = 0; page + 1 < kExercises; ++page) swipe(page, page + 1);
    for (int page = kExercises - 1; page > 0; --page) swipe(page, page - 1);
  }
  if (session.app->selection().selectedExercise !=
      session.ui().singleWorkoutTableView.exercises()[0]) {
    std::fprintf(stderr, "the swipes did not come back to the first exercise\n");
  }
  return times;
}

Figures figuresOf(std::vector<double> times) {
  Figures figures;
  if (times.empty()) return figures;
  std::sort(times.begin(), times.end());
  figures.median = times[times.size() / 2];
  figures.p99 = times[std::min(times.size() - 1, times.size() * 99 / 100)];
  figures.largest = times.back();
  return figures;
}

}  // namespace

int main(int argc, char** argv) {
  std::filesystem::path resources;
  int rounds = 3;
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument.starts_with("--resources=")) {
      resources = std::string(argument.substr(12));
    } else {
      rounds = std::max(1, std::atoi(argv[i]));
    }
  }
  if (resources.empty()) {
    std::fprintf(stderr, "usage: %s --resources=DIRECTORY [ROUNDS]\n", argv[0]);
    return 2;
  }
  const std::vector<double> baselineTimes = swipeTimes(resources, false, rounds);
  const std::vector<double> tenYearTimes = swipeTimes(resources, true, rounds);
  if (baselineTimes.empty() || tenYearTimes.empty()) {
    std::fprintf(stderr, "the workout could not be opened\n");
    return 1;
  }
  const Figures baseline = figuresOf(baselineTimes);
  const Figures tenYears = figuresOf(tenYearTimes);
  std::printf("swipe events per run: %zu\n", tenYearTimes.size());
  std::printf("%-22s %10s %10s %10s\n", "", "median", "p99", "largest");
  std::printf("%-22s %8.3f ms %7.3f ms %7.3f ms\n", "one-day log (baseline)", baseline.median,
              baseline.p99, baseline.largest);
  std::printf("%-22s %8.3f ms %7.3f ms %7.3f ms\n", "ten-year logs", tenYears.median, tenYears.p99,
              tenYears.largest);
  std::printf("%-22s %10.2f %10.2f %10.2f\n", "ratio", tenYears.median / baseline.median,
              tenYears.p99 / baseline.p99, tenYears.largest / baseline.largest);
  return 0;
}
