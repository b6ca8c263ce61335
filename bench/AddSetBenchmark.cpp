// Adding one strength set to the ten-year log, as the entry pane's add button does it: compose
// the weight text, append three strings under today, write "Kinetra_Log.plist" whole and
// atomically, reload today's table. Timed against the bare durable write of the same bytes
// (write a temporary file, fsync, rename over the old one, fsync the folder), the floor under
// any whole-file save.
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
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "SyntheticLog.h"
#include "app/VelomarAppDelegate.h"
#include "foundation/PropertyListWriter.h"
#include "foundation/RunLoop.h"
#include "ui/Application.h"

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

bool durableWrite(const std::filesystem::path& path, const std::string& bytes) {
  const std::filesystem::path temporary = path.string() + ".bench-tmp";
  {
    Descriptor file(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (file.get() < 0) return false;
    std::size_t written = 0;
    while (written < bytes.size()) {
      const ssize_t n = ::write(file.get(), bytes.data() + written, bytes.size() - written);
      if (n <= 0) return false;
      written += static_cast<std::size_t>(n);
    }
    if (::fsync(file.get()) != 0) return false;
  }
  if (::rename(temporary.c_str(), path.c_str()) != 0) return false;
  Descriptor folder(::open(path.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  return folder.get() >= 0 && ::fsync(folder.get()) == 0;
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

  kinetra::MainInterface& ui = delegate->interface();
  delegate->selection().selectedExercise = "Barbell Squat";
  delegate->velomarTabSelect();
  ui.weight.setText("82");
  ui.weightDecimal.setText("5");
  ui.weightType.setSelectedSegmentIndex(1);
  ui.reps.setText("6");
  ui.note.setText("bench");

  std::vector<double> adds;
  std::vector<double> writes;
  for (int i = 0; i < repetitions; ++i) {
    const Clock::time_point start = Clock::now();
    delegate->addLog();
    ui.logTableView.layoutIfNeeded();
    adds.push_back(milliseconds(Clock::now() - start));

    const std::string bytes = fileBytes(logFile);
    const Clock::time_point writeStart = Clock::now();
    if (!durableWrite(logFile, bytes)) {
      std::fprintf(stderr, "the durable write failed\n");
      return 1;
    }
    writes.push_back(milliseconds(Clock::now() - writeStart));
  }
  const double add = median(adds);
  const double write = median(writes);
  std::printf("Adding a set to the ten-year strength log (%zu days, %.1f MB), median of %d:\n",
              days, static_cast<double>(std::filesystem::file_size(logFile)) / 1e6, repetitions);
  std::printf("  addLog (compose, append, atomic whole-file write, table reload): %8.2f ms\n", add);
  std::printf("  bare durable write of the same bytes (write, fsync, rename, dir): %8.2f ms\n",
              write);
  std::printf("  ratio addLog / bare write:                                        %8.2f\n",
              add / write);

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
