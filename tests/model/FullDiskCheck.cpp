// full_disk_check FOLDER: saves the exercise log in FOLDER (a small file system of its own, made
// by full_disk.sh), fills the file system, saves a change, and checks what a full disk must leave:
// the old log byte-identical, no temporary file, one diagnostic line, the change in memory; then
// frees the space and checks that the next save carries the change. Exit status 0 when every
// check holds, 1 otherwise, with a line for each failed check.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "foundation/FileDescriptor.h"
#include "foundation/ManualClock.h"
#include "foundation/PropertyListWriter.h"
#include "foundation/RunLoop.h"
#include "model/UserData.h"
#include "model/UserFileStore.h"
#include "support/TemporaryDirectory.h"

namespace {

using kinetra::PropertyList;

int failures = 0;
int passes = 0;

void check(bool holds, const std::string& what) {
  if (holds) {
    ++passes;
  } else {
    ++failures;
    std::printf("FAIL: %s\n", what.c_str());
  }
}

std::string twoDigits(int number) { return (number < 10 ? "0" : "") + std::to_string(number); }

// A day key of its own for each index (28 days a month, on from January 2023).
std::string day(int index) {
  return "2023-" + twoDigits(1 + index / 28) + "-" + twoDigits(1 + index % 28);
}

void addSet(kinetra::UserData& data, int index) {
  data.exerciseLog.asDictionary()[day(index)] = PropertyList::Dictionary{
      {"Squat", PropertyList::Array{std::to_string(60 + index % 50) + " kg", "5", "felt good"}},
      {"Bench Press", PropertyList::Array{"50 kg", "8", ""}}};
}

// Writes zeros into `path` until the file system has no room left; the bytes written.
long long fill(const std::filesystem::path& path) {
  kinetra::FileDescriptor fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
  if (!fd.valid()) return -1;
  const std::string block(4096, '\0');
  long long total = 0;
  for (;;) {
    const ssize_t written = ::write(fd.get(), block.data(), block.size());
    if (written > 0) {
      total += written;
    } else if (written < 0 && errno == EINTR) {
      continue;
    } else {
      break;
    }
  }
  return total;
}

std::vector<std::string> temporaries(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (name.find(".tmp-") != std::string::npos) names.push_back(name);
  }
  return names;
}

std::string serialised(const PropertyList& value) {
  return kinetra::PropertyListWriter::serialise(value).value();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: full_disk_check FOLDER\n", stderr);
    return 2;
  }
  const std::filesystem::path documents = std::filesystem::path(argv[1]) / "Documents";
  const std::filesystem::path log = documents / "Kinetra_Log.plist";
  const std::filesystem::path filler = std::filesystem::path(argv[1]) / "filler";
  std::vector<std::string> lines;
  kinetra::RunLoop loop(std::make_unique<kinetra::ManualClock>(kinetra::Date(1.7e9)));
  loop.log().setSink([&](std::string_view line) { lines.emplace_back(line); });
  kinetra::UserFileStore files(kinetra::DocumentsDirectory(documents), loop);
  kinetra::UserData data(files);

  // A year of training, saved while there is room.
  for (int index = 0; index < 300; ++index) addSet(data, index);
  check(data.saveExerciseLog().ok(), "the first save, with room, succeeds");
  const std::string old = kinetra::testing::fileContents(log);
  check(!old.empty() && old == serialised(data.exerciseLog), "the first save wrote the log");

  const long long filled = fill(filler);
  check(filled > 0, "the file system filled up");
  addSet(data, 300);
  const std::vector<std::string> changed = {day(300)};
  const kinetra::Status full = data.saveExerciseLog(changed);
  check(!full.ok(), "a save on a full disk reports failure");
  std::printf("full disk: %s\n", full.toString().c_str());
  check(kinetra::testing::fileContents(log) == old, "the old log is byte-identical");
  check(temporaries(documents).empty(), "no temporary file is left");
  check(lines.size() == 1, "one diagnostic line (" + std::to_string(lines.size()) + ")");
  for (const std::string& line : lines) std::printf("diagnostic: %s\n", line.c_str());
  check(data.exerciseLog.find(day(300)) != nullptr, "the change is kept in memory");

  std::filesystem::remove(filler);
  addSet(data, 301);
  const std::vector<std::string> next = {day(301)};
  check(data.saveExerciseLog(next).ok(), "the next save, with room again, succeeds");
  check(kinetra::testing::fileContents(log) == serialised(data.exerciseLog),
        "the next save wrote the whole log");
  kinetra::UserFileStore again(kinetra::DocumentsDirectory(documents), loop);
  kinetra::UserData reloaded(again);
  reloaded.load();
  check(reloaded.exerciseLog.find(day(300)) != nullptr, "the failed save's change is on disk");
  check(reloaded.exerciseLog == data.exerciseLog, "the log reads back as it is in memory");
  check(temporaries(documents).empty(), "still no temporary file");
  check(lines.size() == 1, "no further diagnostic line");

  std::printf("%d passed, %d failed\n", passes, failures);
  return failures == 0 ? 0 : 1;
}
