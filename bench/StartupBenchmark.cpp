// Start-up of the shared state on the ten-year logs: the catalogue resources, every user file
// (both logs among them), the exercise list and its name index, and the interface.
//   bench_startup --generate=DIRECTORY
//       writes Kinetra_Log.plist (the ten heavy years of SyntheticLog) and
//       Kinetra_Aerobics_Log.plist (the same ten years of aerobic sets) there;
//   bench_startup --documents=DIRECTORY --resources=DIRECTORY [Google Benchmark flags]
//       times launching the application on them, one launch per iteration.
// bench/startup_bench.py runs both next to Python's plistlib and prints the ratio.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "SyntheticLog.h"
#include "app/VelomarAppDelegate.h"
#include "foundation/PropertyListWriter.h"
#include "foundation/RunLoop.h"
#include "ui/Application.h"

namespace {

using kinetra::PropertyList;

constexpr std::array<const char*, 9> kAerobic = {" treadmill",    " cycling",   " elliptical",
                                                 " jogging",      " jump rope", " rowing",
                                                 " step machine", " swimming",  " tennis"};

// The aerobic log of the same ten years: on every training day of the strength log, one or two
// aerobic exercises of one to three bouts, five strings each.
PropertyList aerobicLog(const PropertyList& strengthLog) {
  std::mt19937_64 random(2030);
  auto below = [&](std::uint64_t bound) { return static_cast<std::size_t>(random() % bound); };
  PropertyList log = PropertyList::Dictionary{};
  for (const auto& entry : strengthLog.asDictionary()) {
    PropertyList::Dictionary day;
    const std::size_t kinds = 1 + below(2);
    for (std::size_t k = 0; k < kinds; ++k) {
      PropertyList::Array bouts;
      const std::size_t count = 1 + below(3);
      for (std::size_t bout = 0; bout < count; ++bout) {
        bouts.emplace_back(std::to_string(10 + below(50)));
        bouts.emplace_back(std::to_string(1 + below(12)) + "." + std::to_string(below(10)));
        bouts.emplace_back(std::to_string(100 + below(600)));
        bouts.emplace_back(below(3) == 0 ? std::string() : std::to_string(below(15)));
        bouts.emplace_back(below(6) == 0 ? "hills" : "");
      }
      day.emplace(kAerobic[below(kAerobic.size())], std::move(bouts));
    }
    log.asDictionary().emplace(entry.first, std::move(day));
  }
  return log;
}

int generate(const std::filesystem::path& directory) {
  const PropertyList strength = kinetra::SyntheticLog::make(kinetra::SyntheticLog::tenYearsHeavy());
  for (const auto& [name, value] :
       {std::pair<const char*, PropertyList>{"Kinetra_Log.plist", strength},
        std::pair<const char*, PropertyList>{"Kinetra_Aerobics_Log.plist", aerobicLog(strength)}}) {
    const kinetra::Status status = kinetra::writePropertyList(directory / name, value);
    if (!status.ok()) {
      std::fprintf(stderr, "%s: %s\n", name, status.toString().c_str());
      return 1;
    }
  }
  return 0;
}

void launch(benchmark::State& state, const std::filesystem::path& documents,
            const std::filesystem::path& resources) {
  kinetra::Application& application = kinetra::Application::shared();
  for (auto _ : state) {
    state.PauseTiming();
    application.reset();
    auto loop = std::make_unique<kinetra::RunLoop>();
    application.setClock(&loop->clock());
    state.ResumeTiming();

    auto delegate = std::make_unique<kinetra::VelomarAppDelegate>(
        *loop, kinetra::VelomarAppDelegate::Environment{documents, resources, {}});
    application.launch(*delegate);
    if (delegate->userData().exerciseLog.asDictionary().empty() ||
        delegate->userData().aerobicsLog.asDictionary().empty()) {
      state.SkipWithError("the logs did not load");
    }

    state.PauseTiming();
    delegate.reset();
    application.setClock(nullptr);
    loop.reset();
    state.ResumeTiming();
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::filesystem::path documents;
  std::filesystem::path resources;
  std::vector<char*> arguments;
  for (int i = 0; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument.starts_with("--generate=")) return generate(std::string(argument.substr(11)));
    if (argument.starts_with("--documents=")) {
      documents = std::string(argument.substr(12));
    } else if (argument.starts_with("--resources=")) {
      resources = std::string(argument.substr(12));
    } else {
      arguments.push_back(argv[i]);
    }
  }
  if (documents.empty() || resources.empty()) {
    std::fprintf(stderr,
                 "usage: %s --generate=DIRECTORY\n"
                 "       %s --documents=DIRECTORY --resources=DIRECTORY [benchmark flags]\n",
                 argv[0], argv[0]);
    return 2;
  }
  int count = static_cast<int>(arguments.size());
  benchmark::Initialize(&count, arguments.data());
  benchmark::RegisterBenchmark("startup/ten_years", launch, documents, resources)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime()
      ->Iterations(1);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
