// The web shell's latency: a browser's event over a loopback WebSocket to the next frame.
// Drives the real shell (run loop on a thread of its own, the system clock) with a stand-in
// for the complete list: a plain table of 600 rows in 26 lettered sections with an index.
// Three events, each timed from send to the frame that acknowledges it:
//   row tap    a tap on an on-screen row (the row gets a checkmark, the title changes);
//   add set    typing a weight into a field and pressing return (a row is added to a table
//              of sets, the field is emptied);
//   scroll     a dragging offset on the long list (new rows come on screen).
// Prints the median, 99th percentile and largest time, and the frame sizes.
// Usage: bench_shell [ITERATIONS]

#pragma GCC diagnostic ignored "-Wnull-dereference"  // inside Beast and Asio, once inlined

#include <algorithm>
#include <boost/asio/connect.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/beast/core/buffers_to_string.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/websocket.hpp>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>
#include <vector>

#include "foundation/RunLoop.h"
#include "shell/WebShell.h"
#include "ui/Application.h"
#include "ui/NavigationController.h"
#include "ui/TabBarController.h"
#include "ui/TableViewController.h"
#include "ui/TableViewDataSource.h"
#include "ui/TextField.h"

namespace {

using namespace kinetra;
namespace beast = boost::beast;
namespace websocket = beast::websocket;
using tcp = boost::asio::ip::tcp;
using nlohmann::json;

class LongList : public TableViewController {
 public:
  LongList() {
    setTitle("Exercises");
    for (int i = 0; i < 600; ++i) {
      names[i % 26].push_back(std::string(1, static_cast<char>('A' + i % 26)) + " exercise " +
                              std::to_string(i));
    }
  }
  int numberOfSectionsInTableView(TableView&) override { return 26; }
  int numberOfRowsInSection(TableView&, int s) override {
    return static_cast<int>(names[s].size());
  }
  std::optional<std::string> titleForHeaderInSection(TableView&, int s) override {
    return std::string(1, static_cast<char>('A' + s));
  }
  std::vector<std::string> sectionIndexTitlesForTableView(TableView&) override {
    std::vector<std::string> titles;
    for (char c = 'A'; c <= 'Z'; ++c) titles.emplace_back(1, c);
    return titles;
  }
  std::unique_ptr<TableViewCell> cellForRowAtIndexPath(TableView& table, IndexPath i) override {
    auto cell = table.dequeueReusableCellWithIdentifier("row");
    if (!cell) cell = std::make_unique<TableViewCell>(Rect{}, "row");
    cell->setText(names[i.section][static_cast<std::size_t>(i.row)]);
    cell->setAccessoryType(i == checked ? TableViewCellAccessoryType::kCheckmark
                                        : TableViewCellAccessoryType::kDisclosureIndicator);
    return cell;
  }
  void didSelectRowAtIndexPath(TableView& table, IndexPath i) override {
    checked = i;
    setTitle(names[i.section][static_cast<std::size_t>(i.row)]);
    table.deselectRowAtIndexPath(i, Animated::Yes);
    table.reloadData();
  }
  std::vector<std::string> names[26];
  IndexPath checked{-1, -1};
};

// A field for the weight over the table of the sets logged so far.
class SetLog : public ViewController, public TableViewDataSource, public TextFieldDelegate {
 public:
  SetLog() {
    setTitle("Log");
    auto root = std::make_unique<View>(Rect{0, 0, 320, 411});
    field = &root->addSubview(std::make_unique<TextField>(Rect{10, 5, 300, 31}));
    field->setKeyboardType(KeyboardType::kNumbersAndPunctuation);
    field->setDelegate(this);
    table = &root->addSubview(std::make_unique<TableView>(Rect{0, 41, 320, 370}));
    table->setDataSource(this);
    setView(std::move(root));
  }
  int numberOfRowsInSection(TableView&, int) override { return static_cast<int>(sets.size()); }
  std::unique_ptr<TableViewCell> cellForRowAtIndexPath(TableView& t, IndexPath i) override {
    auto cell = t.dequeueReusableCellWithIdentifier("set");
    if (!cell) cell = std::make_unique<TableViewCell>(Rect{}, "set");
    cell->setText(sets[static_cast<std::size_t>(i.row)]);
    return cell;
  }
  bool textFieldShouldReturn(TextField& f) override {
    sets.insert(sets.begin(), f.text() + " kg x 8");
    f.setText("");
    table->reloadData();
    return true;
  }
  TextField* field = nullptr;
  TableView* table = nullptr;
  std::vector<std::string> sets;
};

struct Stats {
  std::vector<double> millis;
  std::vector<std::size_t> bytes;
};

double percentile(std::vector<double> v, double p) {
  std::sort(v.begin(), v.end());
  const std::size_t at = std::min(v.size() - 1, static_cast<std::size_t>(p * (v.size() - 1) + 0.5));
  return v[at];
}

void report(const char* name, const Stats& s) {
  std::vector<double> sizes(s.bytes.begin(), s.bytes.end());
  std::printf(
      "%-8s n=%zu  median %.3f ms  p99 %.3f ms  max %.3f ms  frame median %.0f B, max %.0f B\n",
      name, s.millis.size(), percentile(s.millis, 0.5), percentile(s.millis, 0.99),
      percentile(s.millis, 1.0), percentile(sizes, 0.5), percentile(sizes, 1.0));
}

const json* findView(const json& v, const std::string& kind) {
  if (v.value("kind", "") == kind) return &v;
  if (!v.contains("subviews")) return nullptr;
  for (const json& s : v["subviews"]) {
    if (const json* f = findView(s, kind)) return f;
  }
  return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  const int iterations = argc > 1 ? std::max(10, std::atoi(argv[1])) : 500;
  RunLoop loop;
  loop.log().setSink([](std::string_view) {});
  Application& application = Application::shared();
  application.setClock(&loop.clock());
  LongList list;
  NavigationController navigation(list);
  SetLog log;
  TabBarController tabs;
  tabs.setViewControllers({&navigation, &log});
  application.window().addSubview(tabs.view());
  const std::filesystem::path nowhere = std::filesystem::temp_directory_path();
  const ResourceBundle bundle(nowhere);
  const DocumentsDirectory documents(nowhere);
  WebShellOptions options;
  options.port = 0;
  options.watchSeconds = 0;
  WebShell shell(loop, application, bundle, documents, options);
  if (Status started = shell.start(); !started.ok()) {
    std::fprintf(stderr, "bench_shell: %s\n", started.toString().c_str());
    return 1;
  }
  const std::uint16_t port = shell.port();
  std::thread server([&loop] { loop.run(); });

  boost::asio::io_context context;
  websocket::stream<tcp::socket> ws(context);
  ws.next_layer().connect(tcp::endpoint(boost::asio::ip::make_address("127.0.0.1"), port));
  ws.next_layer().set_option(tcp::no_delay(true));
  const std::string host = "127.0.0.1:" + std::to_string(port);
  ws.set_option(websocket::stream_base::decorator(
      [host](websocket::request_type& r) { r.set(beast::http::field::origin, "http://" + host); }));
  ws.handshake(host, "/ws");
  beast::flat_buffer buffer;
  auto readFrame = [&] {
    buffer.consume(buffer.size());
    ws.read(buffer);
    return beast::buffers_to_string(buffer.data());
  };
  json frame = json::parse(readFrame());
  std::int64_t seq = 0;
  std::size_t lastSize = 0;
  // Sends the event; the time until the frame that acknowledges it, in milliseconds.
  auto timed = [&](json event) {
    event["seq"] = ++seq;
    const std::string text = event.dump();
    const auto start = std::chrono::steady_clock::now();
    ws.text(true);
    ws.write(boost::asio::buffer(text));
    for (;;) {
      const std::string message = readFrame();
      frame = json::parse(message);
      lastSize = message.size();
      if (frame.value("ack", std::int64_t{-1}) >= seq) break;
    }
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
  };

  const std::uint64_t table = (*findView(frame["root"], "tableView"))["id"];
  Stats tap, add, scroll;
  for (int i = 0; i < iterations; ++i) {
    // Rows 60 to 400 points down the list: always on screen at offset 0.
    const double y = 20 + 44 + 60 + (i % 8) * 44;
    tap.millis.push_back(timed({{"type", "tap"}, {"x", 100}, {"y", y}}));
    tap.bytes.push_back(lastSize);
  }
  for (int i = 0; i < iterations; ++i) {
    scroll.millis.push_back(timed({{"type", "scroll"},
                                   {"view", table},
                                   {"x", 0},
                                   {"y", (i * 97) % 24000},
                                   {"phase", "dragging"}}));
    scroll.bytes.push_back(lastSize);
  }
  timed({{"type", "scroll"}, {"view", table}, {"x", 0}, {"y", 0}, {"phase", "ended"}});
  timed({{"type", "tap"}, {"x", 240}, {"y", 470}});  // the second tab
  const json* field = findView(frame["root"], "textField");
  if (field == nullptr) {
    std::fprintf(stderr, "bench_shell: no text field on the second tab: %s\n",
                 frame.dump().c_str());
    return 1;
  }
  timed({{"type", "tap"}, {"view", (*field)["id"]}, {"x", 10}, {"y", 10}});
  for (int i = 0; i < iterations; ++i) {
    const auto start = std::chrono::steady_clock::now();
    timed({{"type", "editText"}, {"text", std::to_string(20 + i % 60) + ".5"}});
    timed({{"type", "pressReturn"}});
    add.millis.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count());
    add.bytes.push_back(lastSize);
  }

  std::printf("web shell, loopback WebSocket, %d iterations each (600-row list)\n", iterations);
  report("row tap", tap);
  report("scroll", scroll);
  report("add set", add);
  std::printf(
      "(add set = typing the weight and pressing return: two events, two frames; %zu sets "
      "logged)\n",
      log.sets.size());

  boost::system::error_code ignored;
  ws.close(websocket::close_code::normal, ignored);
  loop.post([&loop] { loop.stop(); });
  server.join();
  application.reset();
  return 0;
}
