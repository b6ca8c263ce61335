// Writes the benchmark logs: plist_generate_log DIRECTORY writes one_year.plist and
// ten_years.plist there, in the stored XML form.
#include <cstdio>
#include <filesystem>

#include "SyntheticLog.h"
#include "foundation/PropertyListWriter.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s DIRECTORY\n", argv[0]);
    return 2;
  }
  const std::filesystem::path directory = argv[1];
  const std::pair<const char*, kinetra::SyntheticLog::Options> logs[] = {
      {"one_year.plist", kinetra::SyntheticLog::oneYear()},
      {"ten_years.plist", kinetra::SyntheticLog::tenYearsHeavy()},
  };
  for (const auto& [name, options] : logs) {
    kinetra::Status status =
        kinetra::writePropertyList(directory / name, kinetra::SyntheticLog::make(options));
    if (!status.ok()) {
      std::fprintf(stderr, "%s: %s\n", name, status.toString().c_str());
      return 1;
    }
  }
  return 0;
}
