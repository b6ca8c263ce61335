// The document picker's upload route on the real web shell: a file reaches the picker on the
// screen whole; uploads that cannot be taken are refused from their head, before any body.
#include <gtest/gtest.h>

#include <future>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "HttpTestClient.h"
#include "foundation/ManualClock.h"
#include "foundation/RunLoop.h"
#include "shell/WebShell.h"
#include "support/TemporaryDirectory.h"
#include "ui/Application.h"
#include "ui/DocumentPickerController.h"
#include "ui/Label.h"

namespace kinetra::testing {
namespace {

// A screen holding a document picker that keeps what it was handed, and a label beside it.
class PickerScreen : public ApplicationDelegate, public DocumentPickerControllerDelegate {
 public:
  void applicationDidFinishLaunching(Application& application) override {
    picker.setDelegate(this);
    picker.setAllowedTypes({".csv", "text/csv"});
    application.window().addSubview(picker.view());
    application.window().addSubview(label);
  }
  void didPickDocument(DocumentPickerController&, const std::vector<std::uint8_t>& bytes) override {
    picked.emplace_back(bytes.begin(), bytes.end());
  }

  DocumentPickerController picker;
  Label label{Rect{0, 400, 100, 20}};
  std::vector<std::string> picked;
};

class DocumentUploadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto clock = std::make_unique<ManualClock>(Date(1'700'000'000));
    loop_ = std::make_unique<RunLoop>(std::move(clock));
    loop_->log().setSink([](std::string_view) {});
    Application::shared().reset();
    Application::shared().setClock(&loop_->clock());
    Application::shared().launch(screen_);
    WebShellOptions options;
    options.port = 0;
    shell_ = std::make_unique<WebShell>(*loop_, Application::shared(), bundle_, documents_,
                                        std::move(options));
    ASSERT_TRUE(shell_->start().ok());
    thread_ = std::thread([this] { loop_->run(); });
  }

  void TearDown() override {
    if (thread_.joinable()) {
      loop_->post([this] { loop_->stop(); });
      thread_.join();
    }
    shell_.reset();
    Application::shared().setClock(nullptr);
    Application::shared().reset();
  }

  template <typename F>
  auto onLoop(F work) -> std::invoke_result_t<F> {
    std::packaged_task<std::invoke_result_t<F>()> task(std::move(work));
    auto result = task.get_future();
    auto shared = std::make_shared<decltype(task)>(std::move(task));
    loop_->post([shared] { (*shared)(); });
    return result.get();
  }

  std::string head(const std::string& path, std::size_t length) const {
    const std::string host = "127.0.0.1:" + std::to_string(shell_->port());
    return "POST " + path + " HTTP/1.1\r\nHost: " + host + "\r\nOrigin: http://" + host +
           "\r\nContent-Type: text/csv\r\nContent-Length: " + std::to_string(length) + "\r\n\r\n";
  }
  std::optional<HttpTestClient::Response> post(const std::string& path, const std::string& body) {
    HttpTestClient client(shell_->port());
    return client.request(head(path, body.size()) + body);
  }

  std::string pickerPath() {
    return "/document/" +
           std::to_string(onLoop([this] { return screen_.picker.view().identifier(); }));
  }
  std::string labelPath() {
    return "/document/" + std::to_string(onLoop([this] { return screen_.label.identifier(); }));
  }
  std::vector<std::string> picked() {
    return onLoop([this] { return screen_.picked; });
  }

  TemporaryDirectory folder_;
  ResourceBundle bundle_{folder_ / "bundle"};
  DocumentsDirectory documents_{folder_ / "documents"};
  PickerScreen screen_;
  std::unique_ptr<RunLoop> loop_;
  std::unique_ptr<WebShell> shell_;
  std::thread thread_;
};

TEST_F(DocumentUploadTest, AFileReachesThePickerOnTheScreenWhole) {
  const std::string csv =
      "Date,Exercise Name\r\n\"a\nb\",\"\xC3\xA9\"\r\n" + std::string(1, '\0') + "end";
  auto answer = post(pickerPath(), csv);
  ASSERT_TRUE(answer);
  EXPECT_EQ(answer->status, 204);
  EXPECT_EQ(picked(), std::vector<std::string>{csv});
}

TEST_F(DocumentUploadTest, UploadsThatCannotBeTakenAreRefusedFromTheirHead) {
  const std::string picker = pickerPath();
  struct Case {
    std::string path;
    std::size_t length;
    int status;
  };
  // Announced, never sent: each answer comes from the head alone.
  for (const Case& c : std::vector<Case>{
           {picker, 32 * 1024 * 1024 + 1, 413},
           {picker, 100 * 1024 * 1024, 413},
           {labelPath(), 1000, 409},
           {"/document/999999", 1000, 409},
           {"/photo/" + picker.substr(10), 1000, 409},
           {"/document/x1", 1000, 404},
           {"/document/", 1000, 404},
       }) {
    HttpTestClient client(shell_->port());
    auto refused = client.request(head(c.path, c.length));
    ASSERT_TRUE(refused) << c.path << ": no answer without the body";
    EXPECT_EQ(refused->status, c.status) << c.path << " " << c.length;
  }
  HttpTestClient client(shell_->port());
  auto got =
      client.request(HttpTestClient::get(picker, "127.0.0.1:" + std::to_string(shell_->port())));
  ASSERT_TRUE(got);
  EXPECT_EQ(got->status, 405);
  EXPECT_TRUE(picked().empty());
}

TEST_F(DocumentUploadTest, APickerOffTheScreenOrOverItsOwnLimitTakesNothing) {
  const std::string path = pickerPath();
  onLoop([this] {
    screen_.picker.setMaxBytes(10);
    return 0;
  });
  auto over = post(path, std::string(11, 'x'));
  ASSERT_TRUE(over);
  EXPECT_EQ(over->status, 413);
  auto within = post(path, std::string(10, 'x'));
  ASSERT_TRUE(within);
  EXPECT_EQ(within->status, 204);

  onLoop([this] {
    screen_.picker.view().removeFromSuperview();
    return 0;
  });
  auto gone = post(path, "a,b\n");
  ASSERT_TRUE(gone);
  EXPECT_EQ(gone->status, 409);
  EXPECT_EQ(picked(), std::vector<std::string>{std::string(10, 'x')});
}

}  // namespace
}  // namespace kinetra::testing
