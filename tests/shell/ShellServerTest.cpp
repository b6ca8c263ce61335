#include <gtest/gtest.h>

// GCC flags code inside nlohmann/json once inlined; not ours to change.
#pragma GCC diagnostic ignored "-Wnull-dereference"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <nlohmann/json.hpp>

#include "HttpTestClient.h"
#include "ShellTestServer.h"
#include "WebSocketTestClient.h"
#include "graphics/PictureHeader.h"
#include "graphics/TestPictures.h"

namespace kinetra::testing {
namespace {

using nlohmann::json;

const json* findView(const json& view, const std::function<bool(const json&)>& match) {
  if (match(view)) return &view;
  if (!view.contains("subviews")) return nullptr;
  for (const json& subview : view["subviews"]) {
    if (const json* found = findView(subview, match)) return found;
  }
  return nullptr;
}
const json* viewOfKind(const json& frame, const std::string& kind) {
  return findView(frame["root"], [&](const json& v) { return v["kind"] == kind; });
}
const json* viewWithText(const json& frame, const std::string& text) {
  return findView(frame["root"], [&](const json& v) { return v.value("text", "") == text; });
}
std::string origin(const ShellTestServer& server) {
  return "http://127.0.0.1:" + std::to_string(server.port());
}
std::string host(const ShellTestServer& server) {
  return "127.0.0.1:" + std::to_string(server.port());
}
std::string tokenOf(const ShellTestServer& server) {
  const std::string url = server.url();
  const std::size_t at = url.find("?token=");
  return at == std::string::npos ? std::string() : url.substr(at + 7);
}
std::string post(const ShellTestServer& server, const std::string& path, std::size_t length) {
  return "POST " + path + " HTTP/1.1\r\nHost: " + host(server) + "\r\nOrigin: " + origin(server) +
         "\r\nContent-Type: application/octet-stream\r\nContent-Length: " + std::to_string(length) +
         "\r\n\r\n";
}
std::size_t linesWith(const std::vector<std::string>& lines, std::string_view text) {
  return static_cast<std::size_t>(std::count_if(lines.begin(), lines.end(), [&](const auto& line) {
    return line.find(text) != std::string::npos;
  }));
}

// A browser on the shell's own origin.
class Browser {
 public:
  explicit Browser(ShellTestServer& server, std::string cookie = "") {
    WebSocketTestClient::Handshake handshake;
    handshake.host = host(server);
    handshake.origin = origin(server);
    handshake.cookie = std::move(cookie);
    connected = socket.connect(server.port(), handshake);
    if (connected) frame = nextFrame();
  }
  json nextFrame() {
    const std::optional<std::string> message = socket.read();
    return message ? json::parse(*message) : json();
  }
  // Sends the event and waits for the frame that acknowledges it.
  json perform(json event) {
    event["seq"] = ++sequence;
    socket.write(event.dump());
    for (int i = 0; i < 20; ++i) {
      frame = nextFrame();
      if (frame.is_null() || frame.value("ack", -1) >= sequence) break;
    }
    return frame;
  }
  json tapOn(const std::string& text) {
    const json* view = viewWithText(frame, text);
    if (view == nullptr) return json();
    return perform({{"type", "tap"}, {"view", (*view)["id"]}, {"x", 5}, {"y", 5}});
  }
  // The path to upload a photo to, once the form's picker is open; empty when it is not.
  std::string openPhotoPicker() {
    tapTab(1);
    tapOn("Choose Photo");
    const json* picker = viewOfKind(frame, "imagePicker");
    if (picker == nullptr) return {};
    return "/photo/" + std::to_string((*picker)["id"].get<std::uint64_t>());
  }
  json tapTab(int index) {
    const json* bar = viewOfKind(frame, "tabBar");
    const json& tab = (*bar)["tabs"][index]["frame"];
    const double x = (*bar)["frame"][0].get<double>() + tab[0].get<double>() + 10;
    const double y = (*bar)["frame"][1].get<double>() + 20 + tab[1].get<double>() + 10;
    return perform({{"type", "tap"}, {"x", x}, {"y", y}});
  }

  WebSocketTestClient socket;
  bool connected = false;
  json frame;
  int sequence = 0;
};

TEST(ShellServerTest, ServesTheClientAndItsManifestOnLoopback) {
  ShellTestServer server;
  ASSERT_TRUE(server.startStatus().ok()) << server.startStatus().toString();
  EXPECT_EQ(server.url(), "http://127.0.0.1:" + std::to_string(server.port()) + "/");
  HttpTestClient client(server.port());
  auto page =
      client.request(HttpTestClient::get("/", "localhost:" + std::to_string(server.port())));
  ASSERT_TRUE(page);
  EXPECT_EQ(page->status, 200);
  EXPECT_NE(page->header("Content-Type").find("text/html"), std::string::npos);
  EXPECT_NE(page->body.find("<html"), std::string::npos);
  EXPECT_EQ(page->header("X-Content-Type-Options"), "nosniff");
  // Keep-alive: the same connection serves the next request.
  auto script = client.request(HttpTestClient::get("/client/main.js"));
  ASSERT_TRUE(script);
  EXPECT_EQ(script->status, 200);
  EXPECT_NE(script->header("Content-Type").find("javascript"), std::string::npos);
  auto manifest = client.request(HttpTestClient::get("/manifest.webmanifest"));
  ASSERT_TRUE(manifest);
  const json m = json::parse(manifest->body);
  EXPECT_EQ(m["display"], "standalone");
  ASSERT_FALSE(m["icons"].empty());
  EXPECT_EQ(m["icons"][0]["src"], "/bundle/Icon.png");
  EXPECT_EQ(m["icons"][0]["sizes"], "57x57");
  for (const char* path :
       {"/client/../WebShell.cpp", "/client/%2e%2e%2fWebShell.cpp", "/client/CMakeLists.txt",
        "/client/", "/nothing", "/client/.hidden.js"}) {
    auto missing = client.request(HttpTestClient::get(path));
    ASSERT_TRUE(missing) << path;
    EXPECT_EQ(missing->status, 404) << path;
  }
}

TEST(ShellServerTest, AForeignHostIsRefusedOnEveryRoute) {
  ShellTestServer server;
  for (const char* path : {"/", "/client/main.js", "/bundle/Chest.jpg", "/ws"}) {
    HttpTestClient client(server.port());
    auto refused = client.request(HttpTestClient::get(path, "rebound.example:8080"));
    ASSERT_TRUE(refused) << path;
    EXPECT_EQ(refused->status, 403) << path;
  }
  HttpTestClient noHost(server.port());
  auto refused = noHost.request("GET / HTTP/1.1\r\n\r\n");
  ASSERT_TRUE(refused);
  EXPECT_EQ(refused->status, 403);
  WebSocketTestClient socket;
  EXPECT_FALSE(socket.connect(server.port(), {"rebound.example", origin(server), "/ws", ""}));
  EXPECT_EQ(socket.refusedStatus(), 403);
}

TEST(ShellServerTest, AWebSocketWithoutOrItsOwnOriginIsRefusedBeforeTheHandshake) {
  ShellTestServer server;
  WebSocketTestClient missing;
  EXPECT_FALSE(missing.connect(server.port(), {host(server), std::nullopt, "/ws", ""}));
  EXPECT_EQ(missing.refusedStatus(), 403);
  WebSocketTestClient foreign;
  EXPECT_FALSE(foreign.connect(server.port(), {host(server), "http://evil.example", "/ws", ""}));
  EXPECT_EQ(foreign.refusedStatus(), 403);
  EXPECT_EQ(server.connections(), 0u);
  Browser browser(server);
  EXPECT_TRUE(browser.connected);
  EXPECT_EQ(browser.frame["type"], "frame");
  EXPECT_EQ(server.connections(), 1u);
}

TEST(ShellServerTest, BeyondLoopbackEveryRouteAndTheWebSocketNeedTheToken) {
  WebShellOptions options;
  options.bindAddress = "0.0.0.0";
  ShellTestServer server(options);
  ASSERT_TRUE(server.startStatus().ok()) << server.startStatus().toString();
  const std::string url = server.url();
  const std::size_t at = url.find("?token=");
  ASSERT_NE(at, std::string::npos);
  const std::string token = url.substr(at + 7);
  EXPECT_EQ(token.size(), 32u);

  for (const char* path : {"/", "/client/main.js", "/bundle/Chest.jpg", "/documents/photo.jpg",
                           "/manifest.webmanifest", "/downloads/0123456789abcdef"}) {
    HttpTestClient client(server.port());
    auto refused = client.request(HttpTestClient::get(path, host(server)));
    ASSERT_TRUE(refused) << path;
    EXPECT_EQ(refused->status, 401) << path;
  }
  WebSocketTestClient anonymous;
  EXPECT_FALSE(anonymous.connect(server.port(), {host(server), origin(server), "/ws", ""}));
  EXPECT_EQ(anonymous.refusedStatus(), 401);

  HttpTestClient client(server.port());
  auto first = client.request(HttpTestClient::get("/?token=" + token, host(server)));
  ASSERT_TRUE(first);
  EXPECT_EQ(first->status, 303);
  EXPECT_EQ(first->header("Location"), "/");
  const std::string setCookie = first->header("Set-Cookie");
  EXPECT_NE(setCookie.find("HttpOnly"), std::string::npos);
  EXPECT_NE(setCookie.find("SameSite=Strict"), std::string::npos);
  const std::string cookie = setCookie.substr(0, setCookie.find(';'));
  auto page = client.request(HttpTestClient::get("/", host(server), "Cookie: " + cookie + "\r\n"));
  ASSERT_TRUE(page);
  EXPECT_EQ(page->status, 200);
  Browser browser(server, cookie);
  EXPECT_TRUE(browser.connected);

  for (const std::string& line : server.logLines()) {
    EXPECT_EQ(line.find(token), std::string::npos) << line;
  }
}

TEST(ShellServerTest, AWeakTokenOrAForeignAddressStopsTheStart) {
  WebShellOptions weak;
  weak.bindAddress = "0.0.0.0";
  weak.token = "1234";
  ShellTestServer refused(weak);
  EXPECT_EQ(refused.startStatus().code(), Status::Code::kInvalidArgument);
  WebShellOptions foreign;
  foreign.bindAddress = "203.0.113.9";  // documentation range: not this machine's
  ShellTestServer unbound(foreign);
  EXPECT_EQ(unbound.startStatus().code(), Status::Code::kIOError);
}

TEST(ShellServerTest, AnEventIsCarriedOutAndAnsweredWithTheNextFrame) {
  ShellTestServer server;
  Browser browser(server);
  ASSERT_TRUE(browser.connected);
  const json* table = viewOfKind(browser.frame, "tableView");
  ASSERT_NE(table, nullptr);
  EXPECT_EQ((*table)["indexTitles"].size(), 26u);
  EXPECT_TRUE(viewWithText(browser.frame, "A exercise 0") != nullptr);

  const json frame = browser.perform(
      {{"type", "selectRow"}, {"view", (*table)["id"]}, {"section", 0}, {"row", 1}});
  EXPECT_EQ(frame["ack"], browser.sequence);
  EXPECT_EQ(server.statusText(), "Selected A exercise 26");
  EXPECT_TRUE(viewWithText(frame, "Detail of A exercise 26") != nullptr);
  bool pushed = false;
  for (const json& a : frame["animations"]) pushed = pushed || a["kind"] == "push";
  EXPECT_TRUE(pushed);
  // The detail screen's graph is drawn by the process and served as a picture.
  const json* graph = findView(frame["root"], [](const json& v) { return v.contains("draws"); });
  ASSERT_NE(graph, nullptr);
  const std::string id = (*graph)["picture"]["id"];
  HttpTestClient client(server.port());
  auto picture = client.request(HttpTestClient::get("/pictures/" + id));
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->status, 200);
  EXPECT_EQ(picture->header("Content-Type"), "image/png");
}

TEST(ShellServerTest, AFileToSaveGoesOnlyToTheBrowserWhoseEventLedToIt) {
  ShellTestServer server;
  Browser tapping(server);
  Browser watching(server);
  ASSERT_TRUE(tapping.connected && watching.connected);
  server.onLoop([] {
    const std::string text = "Cardio\n";
    Application::shared().offerFileToSave(
        {"Kinetra_Log.csv",
         "text/csv; charset=utf-8",
         std::make_shared<const std::vector<std::uint8_t>>(text.begin(), text.end()),
         {}});
  });
  const json* table = viewOfKind(tapping.frame, "tableView");
  ASSERT_NE(table, nullptr);
  const json save = tapping.perform(
      {{"type", "selectRow"}, {"view", (*table)["id"]}, {"section", 0}, {"row", 1}});
  ASSERT_EQ(save["type"], "save") << save.dump();
  EXPECT_EQ(save["name"], "Kinetra_Log.csv");
  HttpTestClient client(server.port());
  auto file = client.request(HttpTestClient::get(save["url"].get<std::string>()));
  ASSERT_TRUE(file);
  EXPECT_EQ(file->status, 200);
  EXPECT_EQ(file->body, "Cardio\n");
  EXPECT_EQ(file->header("Content-Disposition"), "attachment; filename=\"Kinetra_Log.csv\"");

  int frames = 0;
  while (const std::optional<std::string> message = watching.socket.read(1)) {
    EXPECT_EQ(json::parse(*message)["type"], "frame") << *message;
    ++frames;
  }
  EXPECT_GE(frames, 1) << "the other browser sees the new screen, not the file";
}

// A file made as it is sent (ten years of log) goes out a piece at a time: chunked to an
// HTTP/1.1 browser, whose connection then serves its next request, and up to the close to an
// HTTP/1.0 client, which cannot read chunks.
TEST(ShellServerTest, AFileMadeAsItIsSentArrivesWholeInChunksOrUpToTheClose) {
  ShellTestServer server;
  Browser browser(server);
  ASSERT_TRUE(browser.connected);
  constexpr int kPieces = 40;
  constexpr std::size_t kPieceBytes = 50000;
  server.onLoop([] {
    Application::shared().offerFileToSave(
        {"Kinetra_Log.csv", "text/csv; charset=utf-8", nullptr, []() -> FileToSave::Pieces {
           return [made = 0]() mutable {
             if (made == kPieces) return std::vector<std::uint8_t>();
             return std::vector<std::uint8_t>(kPieceBytes, static_cast<std::uint8_t>('a' + made++));
           };
         }});
  });
  const json* table = viewOfKind(browser.frame, "tableView");
  ASSERT_NE(table, nullptr);
  const json save = browser.perform(
      {{"type", "selectRow"}, {"view", (*table)["id"]}, {"section", 0}, {"row", 1}});
  ASSERT_EQ(save["type"], "save") << save.dump();
  const std::string url = save["url"];
  std::string whole;
  for (int piece = 0; piece < kPieces; ++piece)
    whole.append(kPieceBytes, static_cast<char>('a' + piece));

  HttpTestClient client(server.port());
  for (int fetch = 0; fetch < 2; ++fetch) {
    const auto file = client.request(HttpTestClient::get(url));
    ASSERT_TRUE(file) << "fetch " << fetch;
    EXPECT_EQ(file->status, 200);
    EXPECT_EQ(file->header("Transfer-Encoding"), "chunked");
    EXPECT_EQ(file->header("Content-Length"), "");
    EXPECT_EQ(file->header("Content-Disposition"), "attachment; filename=\"Kinetra_Log.csv\"");
    EXPECT_TRUE(file->body == whole) << "fetch " << fetch << ": " << file->body.size() << " bytes";
  }

  HttpTestClient older(server.port());
  ASSERT_TRUE(older.send("GET " + url + " HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n"));
  const std::optional<std::string> answer = older.receiveUntilClosed();
  ASSERT_TRUE(answer);
  const std::size_t bodyStart = answer->find("\r\n\r\n");
  ASSERT_NE(bodyStart, std::string::npos);
  const std::string head = answer->substr(0, bodyStart);
  EXPECT_TRUE(head.starts_with("HTTP/1.1 200")) << head;
  EXPECT_EQ(head.find("chunked"), std::string::npos) << head;
  EXPECT_TRUE(answer->compare(bodyStart + 4, std::string::npos, whole) == 0)
      << answer->size() - bodyStart - 4 << " bytes";
}

TEST(ShellServerTest, SwipeToDeleteTypingAndSegmentsReachTheScreens) {
  ShellTestServer server(WebShellOptions{}, 60);
  Browser browser(server);
  const json* table = viewOfKind(browser.frame, "tableView");
  ASSERT_NE(table, nullptr);
  json frame = browser.perform(
      {{"type", "deleteRow"}, {"view", (*table)["id"]}, {"section", 0}, {"row", 0}});
  EXPECT_EQ(server.rowCount(), 59);
  EXPECT_EQ(server.statusText(), "Deleted A exercise 0");
  bool deleted = false;
  for (const json& a : frame["animations"]) deleted = deleted || a["kind"] == "deleteRows";
  EXPECT_TRUE(deleted);

  browser.tapTab(1);
  const json* weight = findView(
      browser.frame["root"], [](const json& v) { return v.value("placeholder", "") == "Weight"; });
  ASSERT_NE(weight, nullptr);
  EXPECT_EQ((*weight)["keyboard"], "numberPad");
  browser.perform({{"type", "tap"}, {"view", (*weight)["id"]}, {"x", 10}, {"y", 10}});
  frame = browser.perform({{"type", "editText"}, {"text", "20.5kg"}});
  // The number pad has digits only.
  EXPECT_TRUE(viewWithText(frame, "Typed 205") != nullptr);
  const json* units = viewOfKind(frame, "segmentedControl");
  ASSERT_NE(units, nullptr);
  frame = browser.perform({{"type", "chooseSegment"}, {"view", (*units)["id"]}, {"segment", 1}});
  EXPECT_TRUE(viewWithText(frame, "Units lb") != nullptr);
}

TEST(ShellServerTest, MalformedOrStaleEventsAreIgnoredWithOneLineEach) {
  ShellTestServer server;
  Browser browser(server);
  const std::size_t before = server.logLines().size();
  browser.socket.write("this is not json");
  browser.socket.write(R"({"type":"teleport","seq":1})");
  browser.sequence = 1;  // the next event is answered after the teleport's frame
  browser.socket.write(R"({"type":"selectRow","view":999999,"section":0,"row":0})");
  json frame = browser.perform({{"type", "pressReturn"}});  // nothing has the keyboard
  EXPECT_FALSE(frame.is_null());
  const std::vector<std::string> lines = server.logLines();
  ASSERT_EQ(lines.size(), before + 4);
  EXPECT_NE(lines[before].find("not JSON"), std::string::npos);
  EXPECT_NE(lines[before + 1].find("unknown type"), std::string::npos);
  EXPECT_EQ(lines[before + 1].find("teleport"), std::string::npos);
  // The connection still works.
  EXPECT_TRUE(browser.tapTab(3).is_object());
  EXPECT_TRUE(viewWithText(browser.frame, "Turn") != nullptr);
}

TEST(ShellServerTest, AnEventThatIsRefusedIsStillAnsweredByTheFrameAfterIt) {
  ShellTestServer server;
  Browser browser(server);
  // A kind this server does not know (a newer client, say), and a view that is gone: the
  // browser counts on a frame acknowledging each before it trusts the screen again.
  for (const json& event :
       {json{{"type", "teleport"}}, json{{"type", "tap"}, {"view", 999999}, {"x", 1}, {"y", 1}}}) {
    const json frame = browser.perform(event);
    ASSERT_TRUE(frame.is_object());
    EXPECT_EQ(frame["ack"], browser.sequence);
  }
  // One without a valid number is ignored; the acknowledged number stays.
  browser.socket.write(R"({"type":"teleport","seq":-3})");
  const json frame = browser.nextFrame();
  ASSERT_TRUE(frame.is_object());
  EXPECT_EQ(frame["ack"], browser.sequence);
}

TEST(ShellServerTest, ABrowserThatConnectsCostsTheOthersNoFrameWhileTheScreenStaysTheSame) {
  ShellTestServer server;
  Browser first(server);
  ASSERT_TRUE(first.connected);
  std::vector<std::unique_ptr<Browser>> others;
  for (int i = 0; i < 5; ++i) {
    others.push_back(std::make_unique<Browser>(server));
    ASSERT_TRUE(others.back()->frame.is_object());
  }
  // The first browser's next frame is the one that answers its event, not one per newcomer.
  first.socket.write(json({{"type", "pressReturn"}, {"seq", 1}}).dump());
  const json frame = first.nextFrame();
  ASSERT_TRUE(frame.is_object());
  EXPECT_EQ(frame["ack"], 1);
  // A newcomer after a change gets the changed screen, and so does everyone else.
  ASSERT_TRUE(first.tapTab(3).is_object());
  Browser late(server);
  ASSERT_TRUE(late.frame.is_object());
  EXPECT_EQ(late.frame["root"], first.frame["root"]);
}

TEST(ShellServerTest, LimitsOnHeadersMessagesAndUploadsHold) {
  ShellTestServer server;
  Browser form(server);
  const std::string upload = form.openPhotoPicker();
  ASSERT_FALSE(upload.empty());
  {
    HttpTestClient client(server.port());
    const std::string huge = "X-Filler: " + std::string(17 * 1024, 'a') + "\r\n";
    auto refused = client.request(HttpTestClient::get("/", "127.0.0.1", huge));
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->status, 431);
  }
  {
    // 413 from the header alone: no body byte is ever sent.
    HttpTestClient client(server.port());
    auto refused =
        client.request("POST /photo/5 HTTP/1.1\r\nHost: " + host(server) +
                       "\r\nOrigin: " + origin(server) + "\r\nContent-Length: 20971521\r\n\r\n");
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->status, 413);
  }
  {
    // Chunked, with no length up front: refused once the limit is passed.
    HttpTestClient client(server.port());
    client.send("POST " + upload + " HTTP/1.1\r\nHost: " + host(server) +
                "\r\nOrigin: " + origin(server) + "\r\nTransfer-Encoding: chunked\r\n\r\n");
    const std::string chunk = "100000\r\n" + std::string(0x100000, 'x') + "\r\n";
    std::optional<HttpTestClient::Response> refused;
    for (int i = 0; i < 22 && !refused; ++i) {
      if (!client.send(chunk)) break;
    }
    refused = client.receive();
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->status, 413);
  }
  Browser other(server);
  {
    Browser noisy(server);
    ASSERT_TRUE(noisy.connected);
    noisy.socket.write(std::string(1024 * 1024 + 1, ' '));
    EXPECT_TRUE(noisy.socket.closedByServer());
  }
  // Everyone else goes on.
  EXPECT_TRUE(other.tapTab(2).is_object());
  EXPECT_TRUE(viewWithText(other.frame, "Page 0") != nullptr);
}

TEST(ShellServerTest, IdleConnectionsAreClosed) {
  WebShellOptions options;
  options.limits.idleSeconds = 30;
  ShellTestServer server(options);
  HttpTestClient idle(server.port());
  ASSERT_TRUE(idle.request(HttpTestClient::get("/manifest.webmanifest")));
  server.advance(29);
  auto stillOpen = idle.request(HttpTestClient::get("/manifest.webmanifest"));
  ASSERT_TRUE(stillOpen);  // and the request started the period again
  server.advance(31);
  EXPECT_TRUE(idle.closedByServer());

  // A body that stops coming.
  HttpTestClient stalled(server.port());
  ASSERT_TRUE(stalled.send(post(server, "/nothing", 100) + "only part"));
  server.settle();
  server.advance(31);
  EXPECT_TRUE(stalled.closedByServer());

  Browser silent(server);
  ASSERT_TRUE(silent.connected);
  server.advance(31);  // pinged; the test client answers only while reading
  server.advance(31);  // no answer within the second period
  EXPECT_TRUE(silent.socket.closedByServer());
  // The session ends once its aborted operations have come back; give the loop a few turns.
  std::size_t left = server.connections();
  for (int turn = 0; turn < 1000 && left != 0; ++turn) left = server.connections();
  EXPECT_EQ(left, 0u);
}

TEST(ShellServerTest, ASlowBrowserHoldsUpNoOne) {
  ShellTestServer server;
  Browser slow(server);  // never reads again
  Browser quick(server);
  ASSERT_TRUE(slow.connected && quick.connected);
  const json* table = viewOfKind(quick.frame, "tableView");
  ASSERT_NE(table, nullptr);
  const json tableId = (*table)["id"];
  for (int i = 0; i < 200; ++i) {
    const json frame = quick.perform({{"type", "scroll"},
                                      {"view", tableId},
                                      {"x", 0},
                                      {"y", (i % 50) * 80},
                                      {"phase", "dragging"}});
    ASSERT_EQ(frame.value("ack", -1), quick.sequence);
  }
  EXPECT_EQ(server.connections(), 2u);
}

TEST(ShellServerTest, PicturesAreServedByContentAndNoOtherFileIs) {
  ShellTestServer server;
  std::filesystem::create_symlink(server.documents() / "photo.jpg",
                                  server.documents() / "link.png");
  HttpTestClient client(server.port());
  for (const char* path : {"/bundle/Chest.jpg", "/documents/photo.jpg", "/bundle/Icon.png"}) {
    auto picture = client.request(HttpTestClient::get(path));
    ASSERT_TRUE(picture) << path;
    EXPECT_EQ(picture->status, 200) << path;
    // The ".jpg" files hold PNG data.
    EXPECT_EQ(picture->header("Content-Type"), "image/png") << path;
    EXPECT_EQ(sniffPictureType({reinterpret_cast<const std::uint8_t*>(picture->body.data()),
                                picture->body.size()}),
              PictureType::kPng);
  }
  for (const char* path :
       {"/documents/Kinetra_Log.plist", "/documents/notes.txt", "/documents/missing.png",
        "/documents/..%2Fbundle%2FChest.jpg", "/documents/%2e%2e", "/documents/",
        "/documents/link.png", "/documents/photo.jpg%00.png", "/bundle/..%2Fdocuments%2Fphoto.jpg",
        "/bundle/Exercises.plist", "/pictures/0000000000000001", "/pictures/..",
        "/documents/..%252fbundle%252fChest.jpg"}) {
    auto refused = client.request(HttpTestClient::get(path));
    ASSERT_TRUE(refused) << path;
    EXPECT_EQ(refused->status, 404) << path;
    EXPECT_EQ(refused->body.find("plist"), std::string::npos);
  }
}

TEST(ShellServerTest, APhotoUploadReachesThePickerShownOnTheScreen) {
  ShellTestServer server;
  Browser browser(server);
  const std::string path = browser.openPhotoPicker();
  ASSERT_FALSE(path.empty());
  auto upload = [&](const std::string& body, bool withOrigin) {
    HttpTestClient client(server.port());
    return client.request("POST " + path + " HTTP/1.1\r\nHost: " + host(server) + "\r\n" +
                          (withOrigin ? "Origin: " + origin(server) + "\r\n" : "") +
                          "Content-Type: application/octet-stream\r\nContent-Length: " +
                          std::to_string(body.size()) + "\r\n\r\n" + body);
  };
  auto notPicture = upload("just text", true);
  ASSERT_TRUE(notPicture);
  EXPECT_EQ(notPicture->status, 415);
  const std::string png = fileContents(server.documents() / "photo.jpg");
  auto crossSite = upload(png, false);
  ASSERT_TRUE(crossSite);
  EXPECT_EQ(crossSite->status, 403);
  auto accepted = upload(png, true);
  ASSERT_TRUE(accepted);
  EXPECT_EQ(accepted->status, 204);
  // Every upload, taken or not, is answered with a frame; the last one shows the photo.
  json frame = browser.nextFrame();
  for (int i = 0; i < 3 && viewWithText(frame, "Photo 32x24") == nullptr; ++i) {
    frame = browser.nextFrame();
  }
  EXPECT_TRUE(viewWithText(frame, "Photo 32x24") != nullptr);
  EXPECT_EQ(viewOfKind(frame, "imagePicker"), nullptr);
}

std::string jpegPhoto(int width, int height, std::uint16_t orientation) {
  JpegSpec recipe{width, height};
  recipe.quality = 90;
  recipe.samples = photoRgb(width, height, 11);
  const std::vector<std::uint8_t> jpeg = withApp1(makeJpeg(recipe), exifPayload(orientation));
  return {jpeg.begin(), jpeg.end()};
}

// What a phone sends: a photo of 12 megapixels and some 5 MB is taken; one cut short, or with
// a size over the limits, is refused with a line the page shows as it is.
TEST(ShellServerTest, APhotoThatDoesNotDecodeWholeIsRefusedWithOneLine) {
  ShellTestServer server;
  Browser browser(server);
  const std::string path = browser.openPhotoPicker();
  ASSERT_FALSE(path.empty());
  auto upload = [&](const std::string& body) {
    HttpTestClient client(server.port());
    return client.request(post(server, path, body.size()) + body);
  };
  const std::string small = jpegPhoto(400, 300, 1);
  auto cutShort = upload(small.substr(0, small.size() * 2 / 3));
  ASSERT_TRUE(cutShort);
  EXPECT_EQ(cutShort->status, 415);
  EXPECT_NE(cutShort->header("Content-Type").find("text/plain"), std::string::npos);
  EXPECT_NE(cutShort->body.find("JPEG"), std::string::npos) << cutShort->body;
  EXPECT_EQ(cutShort->body.find('\n'), cutShort->body.size() - 1) << "one line";
  std::vector<std::uint8_t> forged(small.begin(), small.end());
  forgeJpegSize(forged, 9000, 9000);
  auto tooLarge = upload(std::string(forged.begin(), forged.end()));
  ASSERT_TRUE(tooLarge);
  EXPECT_EQ(tooLarge->status, 415);
  EXPECT_NE(tooLarge->body.find("too large"), std::string::npos) << tooLarge->body;
  EXPECT_NE(viewOfKind(browser.nextFrame(), "imagePicker"), nullptr) << "the picker stays open";

  const std::string photo = jpegPhoto(4032, 3024, 6);
  ASSERT_GT(photo.size(), 4u << 20);
  auto taken = upload(photo);
  ASSERT_TRUE(taken);
  EXPECT_EQ(taken->status, 204);
  json frame = browser.nextFrame();
  for (int i = 0; i < 3 && viewWithText(frame, "Photo 4032x3024") == nullptr; ++i) {
    frame = browser.nextFrame();
  }
  EXPECT_NE(viewWithText(frame, "Photo 4032x3024"), nullptr);
}

TEST(ShellServerTest, AnUploadIsCutOffOnlyWhenItStopsComingNotForItsAge) {
  WebShellOptions options;
  options.limits.idleSeconds = 30;
  ShellTestServer server(options);
  Browser browser(server);
  const std::string path = browser.openPhotoPicker();
  ASSERT_FALSE(path.empty());
  const std::string png = fileContents(server.documents() / "photo.jpg");
  constexpr std::size_t kPieces = 8;
  ASSERT_GE(png.size(), kPieces);
  HttpTestClient phone(server.port());
  ASSERT_TRUE(phone.send(post(server, path, png.size())));
  server.settle();
  // A piece every 10 s: 70 s in all, never 30 s without progress.
  const std::size_t piece = png.size() / kPieces;
  for (std::size_t i = 0; i < kPieces; ++i) {
    const std::size_t length = i + 1 == kPieces ? std::string::npos : piece;
    ASSERT_TRUE(phone.send(png.substr(i * piece, length))) << "closed before piece " << i;
    server.settle();
    if (i + 1 < kPieces) server.advance(10);
  }
  auto answer = phone.receive();
  ASSERT_TRUE(answer) << "the upload was cut off";
  EXPECT_EQ(answer->status, 204);
}

TEST(ShellServerTest, AnUploadToNoOpenPickerIsRefusedBeforeItsBodyIsRead) {
  ShellTestServer server;
  Browser browser(server);
  const std::string picker = browser.openPhotoPicker();
  ASSERT_FALSE(picker.empty());
  const json* table = viewOfKind(browser.frame, "tableView");
  const std::string notAPicker =
      table == nullptr ? "/photo/1"
                       : "/photo/" + std::to_string((*table)["id"].get<std::uint64_t>());
  struct Case {
    std::string path;
    int status;
  };
  // The full 20 MiB are announced; not one byte of the body is sent.
  for (const Case& c : std::vector<Case>{
           {"/photo/999999", 409}, {notAPicker, 409}, {"/photo/x1", 404}, {"/photo/", 404}}) {
    HttpTestClient client(server.port());
    auto refused = client.request(post(server, c.path, 20 * 1024 * 1024));
    ASSERT_TRUE(refused) << c.path << ": no answer without the body";
    EXPECT_EQ(refused->status, c.status) << c.path;
  }
}

TEST(ShellServerTest, HeadIsAnsweredLikeGetWithoutABody) {
  ShellTestServer server;
  Browser browser(server);
  browser.tapTab(2);  // pictures
  const json* image =
      findView(browser.frame["root"], [](const json& v) { return v.contains("picture"); });
  ASSERT_NE(image, nullptr);
  const std::vector<std::string> paths = {
      "/",
      "/index.html",
      "/client/main.js",
      "/manifest.webmanifest",
      "/bundle/Chest.jpg",
      "/nothing",
      "/documents/photo.jpg",
      "/pictures/" + (*image)["picture"]["id"].get<std::string>()};
  HttpTestClient client(server.port());
  for (const std::string& path : paths) {
    auto get = client.request(HttpTestClient::get(path));
    ASSERT_TRUE(get) << path;
    EXPECT_EQ(get->header("Content-Length"), std::to_string(get->body.size())) << path;
    ASSERT_TRUE(client.send("HEAD " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n")) << path;
    auto head = client.receive("HEAD");
    ASSERT_TRUE(head) << path;
    EXPECT_EQ(head->status, get->status) << path;
    for (const char* name : {"Content-Type", "Content-Length", "Cache-Control"}) {
      EXPECT_EQ(head->header(name), get->header(name)) << path << " " << name;
    }
    // On the same connection: a body after the HEAD answer would garble this one.
    auto next = client.request(HttpTestClient::get("/nothing"));
    ASSERT_TRUE(next) << path << ": the HEAD answer carried a body";
    EXPECT_EQ(next->status, 404) << path;
  }
}

TEST(ShellServerTest, AMethodARouteDoesNotServeIsRefusedWith405) {
  ShellTestServer server;
  struct Case {
    std::string request;
    int status;
    std::string allow;
  };
  const std::string fields =
      " HTTP/1.1\r\nHost: " + host(server) + "\r\nOrigin: " + origin(server) + "\r\n";
  const std::vector<Case> cases = {
      {"POST /ws" + fields + "Content-Length: 0\r\n\r\n", 405, "GET"},
      {"PUT /ws" + fields + "Content-Length: 0\r\n\r\n", 405, "GET"},
      {"DELETE /" + fields + "\r\n", 405, "GET, HEAD"},
      {"POST /client/main.js" + fields + "Content-Length: 0\r\n\r\n", 405, "GET, HEAD"},
      {"GET /photo/5" + fields + "\r\n", 405, "POST"},
      {"GET /ws" + fields + "\r\n", 426, ""},
  };
  for (const Case& c : cases) {
    HttpTestClient client(server.port());
    auto answer = client.request(c.request);
    const std::string label = c.request.substr(0, c.request.find('\r'));
    ASSERT_TRUE(answer) << label;
    EXPECT_EQ(answer->status, c.status) << label;
    EXPECT_EQ(answer->header("Allow"), c.allow) << label;
  }
}

TEST(ShellServerTest, TheTokenRedirectStaysOnThisServer) {
  WebShellOptions options;
  options.bindAddress = "0.0.0.0";
  ShellTestServer server(options);
  const std::string token = tokenOf(server);
  ASSERT_FALSE(token.empty());
  for (const char* target : {"//evil.example/", "/\\evil.example", "/%2F%2Fevil.example",
                             "/..//evil.example", "http://evil.example/"}) {
    HttpTestClient client(server.port());
    auto answer =
        client.request(HttpTestClient::get(std::string(target) + "?token=" + token, host(server)));
    ASSERT_TRUE(answer) << target;
    EXPECT_EQ(answer->status, 303) << target;
    EXPECT_EQ(answer->header("Location"), "/") << target;
  }
}

TEST(ShellServerTest, FloodsOfRefusalsAndMalformedEventsLeaveAFewLinesAndACount) {
  WebShellOptions options;
  options.bindAddress = "0.0.0.0";
  ShellTestServer server(options);
  const std::string cookie = "Cookie: kinetra_token_" + std::to_string(server.port()) + "=" +
                             std::string(32, 'f') + "\r\n";
  for (int i = 0; i < 2000; ++i) {
    HttpTestClient client(server.port());
    auto refused = client.request(HttpTestClient::get("/", host(server), cookie));
    ASSERT_TRUE(refused) << "request " << i;
    ASSERT_EQ(refused->status, 401) << "request " << i;
  }
  EXPECT_LE(linesWith(server.logLines(), "shell: refused"), 10u);

  HttpTestClient holder(server.port());
  auto redirect = holder.request(HttpTestClient::get("/?token=" + tokenOf(server), host(server)));
  ASSERT_TRUE(redirect);
  const std::string setCookie = redirect->header("Set-Cookie");
  Browser browser(server, setCookie.substr(0, setCookie.find(';')));
  ASSERT_TRUE(browser.connected);
  for (int i = 0; i < 2000; ++i) ASSERT_TRUE(browser.socket.write("not json")) << "event " << i;
  // Every malformed event is answered with a frame; the valid one after them with its ack.
  browser.socket.write(json({{"type", "pressReturn"}, {"seq", 1}}).dump());
  json frame = json::object();
  for (int i = 0; i < 5000 && frame.value("ack", -1) < 1; ++i) {
    frame = browser.nextFrame();
    ASSERT_FALSE(frame.is_null()) << "no answer to the valid event";
  }
  EXPECT_LE(linesWith(server.logLines(), "shell: ignored"), 10u);

  server.advance(60);  // the intervals end: one count each
  const std::vector<std::string> lines = server.logLines();
  EXPECT_EQ(linesWith(lines, "shell: refused: 1995 more like this in the last 60 s"), 1u);
  EXPECT_EQ(linesWith(lines, "shell: ignored: 1995 more like this in the last 60 s"), 1u);
  EXPECT_LE(lines.size(), 40u);
}

}  // namespace
}  // namespace kinetra::testing

namespace kinetra::testing {
namespace {

// The messages a browser is sent up to and including the first that `last` accepts (at most
// ten); reading stops there, because a read that times out ends the test client's connection.
std::vector<json> messagesUntil(Browser& browser, const std::function<bool(const json&)>& last) {
  std::vector<json> messages;
  for (int i = 0; i < 10; ++i) {
    const std::optional<std::string> message = browser.socket.read(2);
    if (!message) break;
    messages.push_back(json::parse(*message));
    if (last(messages.back())) break;
  }
  return messages;
}

bool isVibration(const json& message) { return message["type"] == "vibrate"; }

TEST(ShellServerTest, AVibrationReachesEveryBrowserOnceBeforeTheNextFrame) {
  ShellTestServer server;
  Browser first(server);
  Browser second(server);
  ASSERT_TRUE(first.connected && second.connected);

  // Asked for by a timer, not by a browser's event: the screen watch sends it.
  server.onLoop([] { Application::shared().vibrate({400, 100, 400}); });
  server.advance(1);
  for (Browser* browser : {&first, &second}) {
    const std::vector<json> messages = messagesUntil(*browser, isVibration);
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back()["type"], "vibrate");
    EXPECT_EQ(messages.back()["pattern"], (json{400, 100, 400}));
  }

  // Asked for by an event: it comes before the frame that answers the event, and the first
  // vibration is not sent again.
  server.onLoop([] { Application::shared().vibrate({20000, -5}); });
  const json* table = viewOfKind(first.frame, "tableView");
  ASSERT_NE(table, nullptr);
  const int sequence = ++first.sequence;
  first.socket.write(json{
      {"type", "selectRow"},
      {"view", (*table)["id"]},
      {"section", 0},
      {"row", 2},
      {"seq", sequence}}.dump());
  const std::vector<json> messages = messagesUntil(first, [&](const json& message) {
    return message["type"] == "frame" && message.value("ack", -1) >= sequence;
  });
  const auto vibration = std::find_if(messages.begin(), messages.end(), isVibration);
  ASSERT_NE(vibration, messages.end()) << json(messages).dump().substr(0, 200);
  EXPECT_EQ((*vibration)["pattern"], (json{5000, 0})) << "each length held to the toolkit's";
  EXPECT_EQ(std::count_if(messages.begin(), messages.end(), isVibration), 1);
  const std::vector<json> seen = messagesUntil(second, isVibration);
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.back()["pattern"], (json{5000, 0}));
}

// A browser too slow for every frame still gets every message that is not a frame, in order:
// newer frames replace the frames waiting for it, never a vibration among them.
TEST(ShellServerTest, ASlowBrowserMissesFramesButNoVibration) {
  ShellTestServer server;
  // Reads nothing until the end, through a small window: the server's buffer for it fills.
  WebSocketTestClient slow;
  WebSocketTestClient::Handshake handshake;
  handshake.host = host(server);
  handshake.origin = origin(server);
  handshake.receiveBufferBytes = 4096;
  ASSERT_TRUE(slow.connect(server.port(), handshake));
  Browser quick(server);
  ASSERT_TRUE(quick.connected);
  constexpr int kScrolls = 1000;
  const json* table = viewOfKind(quick.frame, "tableView");
  ASSERT_NE(table, nullptr);
  const json tableId = (*table)["id"];
  const auto scroll = [&](int count) {
    for (int i = 0; i < count; ++i) {
      quick.perform({{"type", "scroll"},
                     {"view", tableId},
                     {"x", 0},
                     {"y", (i % 50) * 80},
                     {"phase", "dragging"}});
    }
  };
  scroll(kScrolls);
  server.onLoop([] { Application::shared().vibrate({300}); });
  scroll(kScrolls);
  std::vector<json> messages;
  while (const std::optional<std::string> message = slow.read(2)) {
    messages.push_back(json::parse(*message));
  }
  const auto frames = std::count_if(messages.begin(), messages.end(),
                                    [](const json& m) { return m["type"] == "frame"; });
  EXPECT_LT(frames, 2 * kScrolls) << "the slow browser should have missed frames";
  EXPECT_EQ(std::count_if(messages.begin(), messages.end(), isVibration), 1);
  EXPECT_EQ(messages.back()["type"], "frame");
}

TEST(ShellServerTest, AVibrationAskedForWithNoBrowserThereIsNotPlayedLate) {
  ShellTestServer server;
  server.onLoop([] { Application::shared().vibrate({200}); });
  Browser late(server);
  ASSERT_TRUE(late.connected);
  server.advance(1);
  std::vector<json> messages;
  while (const std::optional<std::string> message = late.socket.read(0.5)) {
    messages.push_back(json::parse(*message));
  }
  EXPECT_EQ(std::count_if(messages.begin(), messages.end(), isVibration), 0);
}

}  // namespace
}  // namespace kinetra::testing
