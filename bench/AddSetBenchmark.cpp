// Changing the ten-year log the three ways the screens do, each timed against the bare durable
// write of the same bytes (write a temporary file, fsync, rename over the old one, fsync the
// folder), the floor under any whole-file save:
//  - adding one strength set, as the entry pane's add button does it: compose the weight text,
//    append three strings under today, write "Kinetra_Log.plist" whole and atomically, reload
//    today's table;
//  - deleting one of today's sets with the finger (the row deleted, the log written);
//  - deleting a day from "All Records" with the finger (both logs written, the list updated).
//   bench_add_set --documents=DIRECTORY --resources=DIRECTORY [--repetitions=N]
// DIRECTORY is made if missing and should be on the disk whose writes are of interest (not a
// RAM file system, where fsync costs nothing).
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "SyntheticLog.h"
#include "app/VelomarAppDelegate.h"
#include "foundation/PropertyListWriter.h"
#include "foundation/RunLoop.h"
#include "ui/Application.h"
#include "ui/Finger.h"

namespace {

using Clock = std::chrono::steady_clock;

// A file descriptor closed on every path.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

// Fills a temporary file with `fill`, then fsync, rename over `path`, fsync of the folder.
template <typename Fill>
bool durablyReplace(const std::filesystem::path& path, const Fill& fill) {
  const std::filesystem::path temporary = path.string() + ".bench-tmp";
  {
    Descriptor file(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (file.get() < 0 || !fill(file.get()) || ::fsync(file.get()) != 0) return false;
  }
  if (::rename(temporary.c_str(), path.c_str()) != 0) return false;
  Descriptor folder(::open(path.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  return folder.get() >= 0 && ::fsync(folder.get()) == 0;
}

// The floor under any save: the bytes written from memory.
bool durableWrite(const std::filesystem::path& path, const std::string& bytes) {
  return durablyReplace(path, [&bytes](int fd) {
    std::size_t written = 0;
    while (written < bytes.size()) {
      const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
      if (n <= 0) return false;
      written += static_cast<std::size_t>(n);
    }
    return true;
  });
}

// The bare write as a save makes it: a MiB at a time, the disk asked to start writing each
// (sync_file_range) before the next is written, so that the fsync waits for the last one only.
bool durableWriteWithEarlyWriteback(const std::filesystem::path& path, const std::string& bytes) {
  return durablyReplace(path, [&bytes](int fd) {
    constexpr std::size_t kStretch = std::size_t{1} << 20;
    std::size_t written = 0;
    while (written < bytes.size()) {
      const std::size_t length = std::min(kStretch, bytes.size() - written);
      const ssize_t n = ::write(fd, bytes.data() + written, length);
      if (n <= 0) return false;
      ::sync_file_range(fd, static_cast<off_t>(written), n, SYNC_FILE_RANGE_WRITE);
      written += static_cast<std::size_t>(n);
    }
    return true;
  });
}

// The floor under a save that holds no copy of the file in memory: the bytes copied by the
// kernel from `source` (on a file system without shared extents, a copy through the page cache).
bool durableCopy(const std::filesystem::path& path, const std::filesystem::path& source) {
  Descriptor from(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
  if (from.get() < 0) return false;
  return durablyReplace(path, [&from](int fd) {
    ssize_t n = 0;
    while ((n = ::copy_file_range(from.get(), nullptr, fd, nullptr, 1 << 30, 0)) > 0) {
    }
    return n == 0;
  });
}

std::string fileBytes(const std::filesystem::path& path) {
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  if (error) return {};
  std::string bytes(static_cast<std::size_t>(size), '\0');
  std::ifstream in(path, std::ios::binary);
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return bytes;
}

double milliseconds(Clock::duration duration) {
  return std::chrono::duration<double, std::milli>(duration).count();
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

int run(const std::filesystem::path& documents, const std::filesystem::path& resources,
        int repetitions) {
  std::filesystem::create_directories(documents);
  const std::filesystem::path logFile = documents / "Kinetra_Log.plist";
  const kinetra::Status generated = kinetra::writePropertyList(
      logFile, kinetra::SyntheticLog::make(kinetra::SyntheticLog::tenYearsHeavy()));
  if (!generated.ok()) {
    std::fprintf(stderr, "generating the log: %s\n", generated.toString().c_str());
    return 1;
  }
  // The bare writes replace a file of the log's size beside it, as a save replaces the log.
  const std::filesystem::path bareFile = documents / "Bare_Write.plist";
  if (!durableWrite(bareFile, fileBytes(logFile))) {
    std::fprintf(stderr, "writing %s failed\n", bareFile.c_str());
    return 1;
  }

  kinetra::Application& application = kinetra::Application::shared();
  auto loop = std::make_unique<kinetra::RunLoop>();
  application.setClock(&loop->clock());
  auto delegate = std::make_unique<kinetra::VelomarAppDelegate>(
      *loop, kinetra::VelomarAppDelegate::Environment{documents, resources, {}, std::nullopt});
  application.launch(*delegate);
  const std::size_t days = delegate->userData().exerciseLog.asDictionary().size();
  if (days == 0) {
    std::fprintf(stderr, "the log did not load\n");
    return 1;
  }

  // The exercise opened and its log pane chosen, as a user gets there.
  kinetra::MainInterface& ui = delegate->interface();
  kinetra::Finger finger(application);
  delegate->selection().selectedExercise = "Barbell Squat";
  delegate->flags().doneLogo = true;
  delegate->selection().lastTabIndex = 1;
  ui.velomarNavigationTitle.setLeftBarButtonItem(&ui.velomarBackButton);
  ui.velomarNavigationTitle.setRightBarButtonItem(ui.segmentBarItem.get());
  delegate->velomarTabSelect();
  if (!finger.chooseSegment(*ui.segmentedControl, 1).ok()) {
    std::fprintf(stderr, "the log pane did not open\n");
    return 1;
  }
  ui.weight.setText("82");
  ui.weightDecimal.setText("5");
  ui.weightType.setSelectedSegmentIndex(1);
  ui.reps.setText("6");
  ui.note.setText("bench");

  // Times `change` and then the bare durable write of the log it left, `repetitions` times.
  struct Figures {
    std::vector<double> changes;
    std::vector<double> writes;
    std::vector<double> copies;
    std::vector<double> earlyWritebacks;
  };
  const auto measure = [&](const auto& change) -> std::optional<Figures> {
    Figures figures;
    for (int i = 0; i < repetitions; ++i) {
      const Clock::time_point start = Clock::now();
      if (!change()) return std::nullopt;
      figures.changes.push_back(milliseconds(Clock::now() - start));
      const std::string bytes = fileBytes(logFile);
      // Beside the log, not over it: the application would rightly take a log replaced by
      // someone else for one it cannot copy its unchanged days from.
      const Clock::time_point writeStart = Clock::now();
      if (!durableWrite(bareFile, bytes)) return std::nullopt;
      figures.writes.push_back(milliseconds(Clock::now() - writeStart));
      const Clock::time_point copyStart = Clock::now();
      if (!durableCopy(bareFile, logFile)) return std::nullopt;
      figures.copies.push_back(milliseconds(Clock::now() - copyStart));
      const Clock::time_point earlyStart = Clock::now();
      if (!durableWriteWithEarlyWriteback(bareFile, bytes)) return std::nullopt;
      figures.earlyWritebacks.push_back(milliseconds(Clock::now() - earlyStart));
    }
    return figures;
  };
  const auto report = [](const char* what, const Figures& figures) {
    const double change = median(figures.changes);
    const double write = median(figures.writes);
    const double copy = median(figures.copies);
    const double early = median(figures.earlyWritebacks);
    std::printf("  %-40s %6.2f   %6.2f  %4.2f   %6.2f  %4.2f   %6.2f  %4.2f\n", what, change, write,
                change / write, copy, change / copy, early, change / early);
  };

  const std::optional<Figures> adds = measure([&] {
    delegate->addLog();
    ui.logTableView.layoutIfNeeded();
    return true;
  });
  if (!finger.tapBarButton(ui.logEditButton).ok()) {
    std::fprintf(stderr, "today's table did not go into editing\n");
    return 1;
  }
  const std::optional<Figures> deletes = measure([&] {
    const bool deleted = finger.deleteRow(ui.logTableView, {0, 0}).ok();
    ui.logTableView.layoutIfNeeded();
    return deleted;
  });
  ui.tabBarController.setSelectedIndex(4);
  kinetra::TableView& dayList = ui.LimitedLogTableView.tableView();
  constexpr int kAllRecordsRow = 5;
  const bool listed = finger.selectRow(ui.logTabTableView.tableView(), {0, kAllRecordsRow}).ok();
  const std::optional<Figures> dayDeletes = measure([&] {
    const bool deleted = listed && finger.deleteRow(dayList, {0, 0}).ok();
    dayList.layoutIfNeeded();
    return deleted;
  });
  if (!adds || !deletes || !dayDeletes) {
    std::fprintf(stderr,
                 "a change or the durable write failed (adding %d, deleting a set %d, "
                 "deleting a day %d)\n",
                 !adds, !deletes, !dayDeletes);
    return 1;
  }
  std::printf(
      "Changing the ten-year strength log (%zu days, %.1f MB), medians of %d, milliseconds and "
      "the change's ratio to each:\n"
      "  %-40s %6s   %-12s   %-12s   %-15s\n",
      days, static_cast<double>(std::filesystem::file_size(logFile)) / 1e6, repetitions, "",
      "change", "bare write", "bare copy", "early writeback");
  report("adding a set (addLog, table reloaded)", *adds);
  report("deleting one of today's sets (finger)", *deletes);
  report("deleting a day from All Records (finger)", *dayDeletes);
  std::printf(
      "The bare write is of the very bytes the change wrote (write, fsync, rename, fsync "
      "of the folder);\nthe bare copy copies them from the log in the kernel (copy_file_range) "
      "instead of writing them;\nearly writeback is the bare write a MiB at a time, each "
      "handed to the disk (sync_file_range) as the save does.\n");

  delegate.reset();
  application.setClock(nullptr);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::filesystem::path documents;
  std::filesystem::path resources;
  int repetitions = 15;
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument.starts_with("--documents=")) {
      documents = std::string(argument.substr(12));
    } else if (argument.starts_with("--resources=")) {
      resources = std::string(argument.substr(12));
    } else if (argument.starts_with("--repetitions=")) {
      repetitions = std::max(1, std::atoi(std::string(argument.substr(14)).c_str()));
    }
  }
  if (documents.empty() || resources.empty()) {
    std::fprintf(stderr,
                 "usage: %s --documents=DIRECTORY --resources=DIRECTORY [--repetitions=N]\n",
                 argv[0]);
    return 2;
  }
  return run(documents, resources, repetitions);
}
