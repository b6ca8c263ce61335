#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "HttpTestClient.h"
#include "ShellTestServer.h"

namespace kinetra::testing {
namespace {

std::string host(const ShellTestServer& server) {
  return "127.0.0.1:" + std::to_string(server.port());
}

std::size_t linesWith(const std::vector<std::string>& lines, std::string_view text) {
  return static_cast<std::size_t>(std::count_if(lines.begin(), lines.end(), [&](const auto& line) {
    return line.find(text) != std::string::npos;
  }));
}

// Turns the server's loop until it has logged a line with `text`; false after a few seconds.
bool waitForLine(ShellTestServer& server, std::string_view text) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (std::chrono::steady_clock::now() < deadline) {
    if (linesWith(server.logLines(), text) > 0) return true;
    server.settle();
  }
  return false;
}

// Takes every free descriptor of this process, which the test and the shell share: lowers the
// soft limit to a little above the highest descriptor in use, then opens /dev/null until none is
// left. Destroying it gives everything back.
class DescriptorHog {
 public:
  DescriptorHog() {
    ::getrlimit(RLIMIT_NOFILE, &saved_);
    int highest = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
      highest = std::max(highest, std::stoi(entry.path().filename().string()));
    }
    rlimit lowered = saved_;
    lowered.rlim_cur = std::min<rlim_t>(saved_.rlim_cur, static_cast<rlim_t>(highest) + 64);
    ::setrlimit(RLIMIT_NOFILE, &lowered);
    for (int fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC); fd >= 0;
         fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC)) {
      descriptors_.push_back(fd);
    }
    full_ = errno == EMFILE;
  }
  ~DescriptorHog() {
    for (int fd : descriptors_) ::close(fd);
    ::setrlimit(RLIMIT_NOFILE, &saved_);
  }
  DescriptorHog(const DescriptorHog&) = delete;
  DescriptorHog& operator=(const DescriptorHog&) = delete;

  // True when no descriptor is left.
  bool full() const { return full_; }

 private:
  rlimit saved_{};
  bool full_ = false;
  std::vector<int> descriptors_;
};

TEST(ShellConnectionLimitsTest, StrangersAreCappedOldestFirstAndGetAShortHeaderDeadline) {
  WebShellOptions options;
  options.bindAddress = "0.0.0.0";
  options.limits.maxUnauthenticatedConnections = 4;
  options.limits.headerSeconds = 5;
  options.limits.idleSeconds = 30;
  ShellTestServer server(options);
  const std::string url = server.url();
  const std::string token = url.substr(url.find("?token=") + 7);

  HttpTestClient holder(server.port());
  auto redirect = holder.request(HttpTestClient::get("/?token=" + token, host(server)));
  ASSERT_TRUE(redirect);
  ASSERT_EQ(redirect->status, 303);
  const std::string setCookie = redirect->header("Set-Cookie");
  const std::string cookie = "Cookie: " + setCookie.substr(0, setCookie.find(';')) + "\r\n";

  std::vector<std::unique_ptr<HttpTestClient>> strangers;
  for (int i = 0; i < 10; ++i) strangers.push_back(std::make_unique<HttpTestClient>(server.port()));
  for (int i = 0; i < 6; ++i) {
    EXPECT_TRUE(strangers[static_cast<std::size_t>(i)]->closedByServer())
        << "stranger " << i << " was kept beyond the cap";
  }
  server.advance(5);
  for (int i = 6; i < 10; ++i) {
    EXPECT_TRUE(strangers[static_cast<std::size_t>(i)]->closedByServer())
        << "stranger " << i << " outlived the header deadline";
  }
  // The token holder's connection keeps the idle time, and a new one is served at once.
  HttpTestClient again(server.port());
  for (HttpTestClient* client : {&holder, &again}) {
    auto page = client->request(HttpTestClient::get("/manifest.webmanifest", host(server), cookie));
    ASSERT_TRUE(page);
    EXPECT_EQ(page->status, 200);
  }
}

TEST(ShellConnectionLimitsTest, OutOfDescriptorsTheOldestStrangerMakesRoom) {
  WebShellOptions options;
  options.limits.maxUnauthenticatedConnections = 4;
  ShellTestServer server(options);
  HttpTestClient user(server.port(), HttpTestClient::Connect::kLater);
  // Five strangers, then one more connection: the cap drops the first two while descriptors are
  // plenty. This runs the drop and the end of a dropped session once before the descriptors run
  // out, as the sanitizers' type checks need the first time they meet a type (they cannot check
  // memory without a spare descriptor).
  std::vector<std::unique_ptr<HttpTestClient>> strangers;
  for (int i = 0; i < 5; ++i) strangers.push_back(std::make_unique<HttpTestClient>(server.port()));
  // Connections are accepted in order: once this one is answered, the strangers were accepted.
  HttpTestClient earlier(server.port());
  ASSERT_TRUE(earlier.request(HttpTestClient::get("/nothing")));
  ASSERT_TRUE(strangers[0]->closedByServer());
  ASSERT_TRUE(strangers[1]->closedByServer());
  server.settle();
  {
    DescriptorHog hog;
    ASSERT_TRUE(hog.full());
    ASSERT_TRUE(user.connect());
    auto answer = user.request(HttpTestClient::get("/nothing"));
    ASSERT_TRUE(answer) << "not accepted while out of descriptors";
    EXPECT_EQ(answer->status, 404);
    EXPECT_TRUE(strangers[2]->closedByServer()) << "the oldest stranger was not the one dropped";
  }
  auto still = earlier.request(HttpTestClient::get("/nothing"));
  ASSERT_TRUE(still) << "a connection that passed the policy was dropped";
  EXPECT_EQ(still->status, 404);
}

TEST(ShellConnectionLimitsTest, WithNothingToDropAcceptingBacksOffOnTheRunLoopAndSaysSoOnce) {
  WebShellOptions options;
  options.limits.acceptRetrySeconds = 0.5;
  ShellTestServer server(options);
  // A connection that passed the policy (nothing to drop), and every path the loop and the test
  // take below run once while descriptors are plenty: the sanitizers' type checks need one the
  // first time they meet a type.
  HttpTestClient earlier(server.port());
  ASSERT_TRUE(earlier.request(HttpTestClient::get("/nothing")));
  server.advance(0);
  server.settle();
  HttpTestClient user(server.port(), HttpTestClient::Connect::kLater);
  {
    DescriptorHog hog;
    ASSERT_TRUE(hog.full());
    ASSERT_TRUE(user.connect());
    ASSERT_TRUE(user.send(HttpTestClient::get("/nothing")));
    ASSERT_TRUE(waitForLine(server, "accept failed"));
    // Each period one more attempt, and it fails too.
    for (int attempt = 0; attempt < 10; ++attempt) server.advance(0.5);
    server.settle();
  }
  server.advance(0.5);
  server.advance(0.5);
  auto answer = user.receive();
  ASSERT_TRUE(answer) << "not accepted once descriptors were free again";
  EXPECT_EQ(answer->status, 404);
  const std::vector<std::string> lines = server.logLines();
  EXPECT_EQ(linesWith(lines, "accept failed"), 1u);
  EXPECT_EQ(linesWith(lines, "accepting connections again after"), 1u);
}

}  // namespace
}  // namespace kinetra::testing
