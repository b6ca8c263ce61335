// Loading and saving the synthetic logs with Kinetra's property-list layer.
//   bench_plist --data=DIRECTORY [Google Benchmark flags]
// DIRECTORY holds one_year.plist and ten_years.plist (plist_generate_log); saves go to scratch
// files beside them. bench/plist_bench.py runs this next to Python's plistlib and prints ratios.
#include <fcntl.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/AtomicFile.h"
#include "foundation/PropertyListReader.h"
#include "foundation/PropertyListWriter.h"

namespace {

using kinetra::PropertyList;

void check(const kinetra::Status& status, benchmark::State& state) {
  if (!status.ok()) state.SkipWithError(status.toString().c_str());
}

// Timed until the value is ready; freeing it afterwards is not part of a load (the application
// keeps what it loads), so the values are kept until the repetition ends.
void load(benchmark::State& state, const std::filesystem::path& path) {
  std::vector<kinetra::Result<PropertyList>> loaded;
  loaded.reserve(static_cast<std::size_t>(state.max_iterations));
  for (auto _ : state) {
    loaded.push_back(kinetra::loadPropertyList(path, PropertyList::Kind::kDictionary));
    check(loaded.back().status(), state);
  }
}

// The reader's own work on bytes already in memory: parsing and the check that the value can be
// written back.
void parse(benchmark::State& state, const std::string& bytes) {
  std::vector<kinetra::Result<PropertyList>> parsed;
  parsed.reserve(static_cast<std::size_t>(state.max_iterations));
  for (auto _ : state) {
    parsed.push_back(kinetra::PropertyListReader::parse(bytes));
    check(parsed.back().status(), state);
  }
}

// The walk that sizes the written form, part of every read.
void sizeCheck(benchmark::State& state, const PropertyList& value) {
  for (auto _ : state) {
    auto size = kinetra::PropertyListWriter::serialisedSize(value);
    check(size.status(), state);
    benchmark::DoNotOptimize(size);
  }
}

void serialise(benchmark::State& state, const PropertyList& value) {
  for (auto _ : state) {
    auto bytes = kinetra::PropertyListWriter::serialise(value);
    benchmark::DoNotOptimize(bytes);
  }
}

void save(benchmark::State& state, const PropertyList& value, const std::filesystem::path& path) {
  for (auto _ : state) check(kinetra::writePropertyList(path, value), state);
}

// The floor of any save: the same bytes written to a new file, fsynced, renamed over the
// target, and the directory fsynced; nothing else.
bool durableWrite(const std::filesystem::path& path, std::string_view bytes) {
  std::string temporary = path.string() + ".floor";
  int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  bool ok = ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()) &&
            ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  ok = ok && ::rename(temporary.c_str(), path.c_str()) == 0;
  int directory = ::open(path.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  ok = ok && directory >= 0 && ::fsync(directory) == 0;
  if (directory >= 0) ::close(directory);
  return ok;
}

void floor(benchmark::State& state, const std::string& bytes, const std::filesystem::path& path) {
  for (auto _ : state) {
    if (!durableWrite(path, bytes)) state.SkipWithError(std::strerror(errno));
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::filesystem::path data;
  std::vector<char*> arguments;
  for (int i = 0; i < argc; ++i) {
    std::string_view argument = argv[i];
    if (argument.starts_with("--data=")) {
      data = std::string(argument.substr(7));
    } else {
      arguments.push_back(argv[i]);
    }
  }
  if (data.empty()) {
    std::fprintf(stderr, "usage: %s --data=DIRECTORY [benchmark flags]\n", argv[0]);
    return 2;
  }
  int count = static_cast<int>(arguments.size());
  benchmark::Initialize(&count, arguments.data());

  // Values and bytes live until the run ends; the benchmarks refer to them.
  static std::vector<PropertyList> values;
  static std::vector<std::string> files;
  const char* names[] = {"one_year", "ten_years"};
  values.reserve(2);
  files.reserve(2);
  for (const char* name : names) {
    std::filesystem::path source = data / (std::string(name) + ".plist");
    auto value = kinetra::loadPropertyList(source, PropertyList::Kind::kDictionary);
    auto bytes = value.ok() ? kinetra::PropertyListWriter::serialise(*value)
                            : kinetra::Result<std::string>(value.status());
    if (!bytes.ok()) {
      std::fprintf(stderr, "%s: %s\n", source.c_str(), bytes.status().toString().c_str());
      return 1;
    }
    values.push_back(std::move(*value));
    files.push_back(std::move(*bytes));
    const PropertyList& log = values.back();
    const std::string& serialised = files.back();
    std::filesystem::path target = data / (std::string(name) + ".saved.plist");
    auto setUp = [](benchmark::internal::Benchmark* b) {
      b->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
    };
    setUp(benchmark::RegisterBenchmark((std::string("load/") + name).c_str(), load, source));
    setUp(benchmark::RegisterBenchmark((std::string("parse/") + name).c_str(), parse,
                                       std::cref(serialised)));
    setUp(benchmark::RegisterBenchmark((std::string("size_check/") + name).c_str(), sizeCheck,
                                       std::cref(log)));
    setUp(benchmark::RegisterBenchmark((std::string("serialise/") + name).c_str(), serialise,
                                       std::cref(log)));
    setUp(benchmark::RegisterBenchmark((std::string("save/") + name).c_str(), save, std::cref(log),
                                       target));
    setUp(benchmark::RegisterBenchmark((std::string("durable_write/") + name).c_str(), floor,
                                       std::cref(serialised), target));
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
