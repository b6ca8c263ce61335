#pragma once

#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

#include "DemoScreens.h"
#include "foundation/ManualClock.h"
#include "foundation/RunLoop.h"
#include "shell/WebShell.h"
#include "support/TemporaryDirectory.h"
#include "ui/Application.h"

namespace kinetra::testing {

// The real web shell with the demo screens on a free loopback port, its run loop on a thread of
// its own with a manual clock, temporary bundle and documents folders. Tests talk to it over
// sockets from the test thread and reach into the loop only through onLoop().
class ShellTestServer {
 public:
  explicit ShellTestServer(WebShellOptions options = {}, int rows = 600)
      : bundleDirectory_(folder_ / "bundle"),
        documentsDirectory_(folder_ / "documents"),
        bundle_(bundleDirectory_),
        documents_(documentsDirectory_) {
    DemoScreens::writeDemoFiles(bundleDirectory_, documentsDirectory_);
    auto clock = std::make_unique<ManualClock>(Date(1'700'000'000));
    clock_ = clock.get();
    loop_ = std::make_unique<RunLoop>(std::move(clock));
    loop_->log().setSink([this](std::string_view line) {
      const std::lock_guard lock(mutex_);
      log_.emplace_back(line);
    });
    Application::shared().reset();
    Application::shared().setClock(&loop_->clock());
    demo_ = std::make_unique<DemoScreens>(bundle_, documents_, rows);
    Application::shared().launch(*demo_);
    if (options.port == 8080) options.port = 0;
    shell_ = std::make_unique<WebShell>(*loop_, Application::shared(), bundle_, documents_,
                                        std::move(options));
    status_ = shell_->start();
    if (status_.ok()) thread_ = std::thread([this] { loop_->run(); });
  }

  ~ShellTestServer() {
    if (thread_.joinable()) {
      loop_->post([this] { loop_->stop(); });
      thread_.join();
    }
    shell_.reset();
    Application::shared().reset();
    demo_.reset();
    loop_.reset();
  }

  ShellTestServer(const ShellTestServer&) = delete;
  ShellTestServer& operator=(const ShellTestServer&) = delete;

  const Status& startStatus() const { return status_; }
  std::uint16_t port() const { return shell_->port(); }
  std::string url() const { return shell_->url(); }
  const std::filesystem::path& documents() const { return documentsDirectory_; }

  // Runs `work` on the loop's thread and returns its result.
  template <typename F>
  auto onLoop(F work) -> std::invoke_result_t<F> {
    using R = std::invoke_result_t<F>;
    std::packaged_task<R()> task(std::move(work));
    std::future<R> result = task.get_future();
    auto shared = std::make_shared<std::packaged_task<R()>>(std::move(task));
    loop_->post([shared] { (*shared)(); });
    return result.get();
  }

  // Turns the loop a number of times, so that bytes a test has just sent are taken in (as a
  // rule, not a guarantee) before it moves the clock.
  void settle() {
    for (int turn = 0; turn < 20; ++turn) onLoop([] {});
  }

  // Moves the manual clock, firing the shell's timers (idle time-outs, the screen watch).
  void advance(double seconds) {
    onLoop([this, seconds] { clock_->advance(seconds); });
  }

  std::string statusText() {
    return onLoop([this] { return demo_->statusText(); });
  }
  int rowCount() {
    return onLoop([this] { return demo_->rowCount(); });
  }
  std::size_t connections() {
    return onLoop([this] { return shell_->connectionCount(); });
  }
  std::vector<std::string> logLines() {
    const std::lock_guard lock(mutex_);
    return log_;
  }

 private:
  TemporaryDirectory folder_;
  std::filesystem::path bundleDirectory_;
  std::filesystem::path documentsDirectory_;
  ResourceBundle bundle_;
  DocumentsDirectory documents_;
  ManualClock* clock_ = nullptr;
  std::unique_ptr<RunLoop> loop_;
  std::unique_ptr<DemoScreens> demo_;
  std::unique_ptr<WebShell> shell_;
  Status status_;
  std::thread thread_;
  std::mutex mutex_;
  std::vector<std::string> log_;
};

}  // namespace kinetra::testing
