// Start-up of the shared state on the ten-year logs: the catalogue resources, every user file
// (both logs among them), the exercise list and its name index, and the interface.
//   bench_startup --generate=DIRECTORY
//       writes Kinetra_Log.plist (the ten heavy years of SyntheticLog) and
//       Kinetra_Aerobics_Log.plist (the same ten years of aerobic sets) there;
//   bench_startup --documents=DIRECTORY --resources=DIRECTORY [Google Benchmark flags]
//       times launching the application on them, one launch per iteration.
// bench/startup_bench.py runs both next to Python's plistlib and prints the ratio.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
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

int generate(const std::filesystem::path& directory) {
  const PropertyList strength = kinetra::SyntheticLog::make(kinetra::SyntheticLog::tenYearsHeavy());
  for (const auto& [name, value] :
       {std::pair<const char*, PropertyList>{"Kinetra_Log.plist", strength},
        std::pair<const char*, PropertyList>{"Kinetra_Aerobics_Log.plist",
                                             kinetra::SyntheticLog::aerobicFor(strength)}}) {
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
        *loop, kinetra::VelomarAppDelegate::Environment{documents, resources, {}, std::nullopt});
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
