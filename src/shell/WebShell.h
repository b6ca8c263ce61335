#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "foundation/DocumentsDirectory.h"
#include "foundation/ResourceBundle.h"
#include "foundation/RunLoop.h"
#include "foundation/Status.h"
#include "shell/ClientFiles.h"
#include "shell/ShellLimits.h"
#include "ui/Application.h"

namespace kinetra {

struct ShellCore;
class HttpListener;

struct WebShellOptions {
  // A numeric IPv4 or IPv6 address. Anything beyond loopback requires the access token.
  std::string bindAddress = "127.0.0.1";
  std::uint16_t port = 8080;  // 0: any free port
  // Required beyond loopback (generated when not given); on loopback only when given.
  std::optional<std::string> token;
  std::filesystem::path clientDirectory = ClientFiles::defaultPath();
  // Bundle pictures offered as the web-app icons, when present.
  std::vector<std::string> iconNames = {"Icon.png", "Icon@2x.png"};
  ShellLimits limits;
  // How often (run-loop seconds) the screen is checked for changes that no browser event
  // caused (timers, network replies); 0 turns the check off.
  double watchSeconds = 0.25;
};

// The device's screen and finger in a browser: an HTTP and WebSocket server on the run loop
// that serves the browser client, sends every connected browser the application's screen as a
// frame after each change, and carries out the touches and typing the browsers send back (see
// ScreenHub, HttpRouter, AccessPolicy). Generic: it knows the toolkit's views, never the
// system's screens.
//
// Connections are held to `limits` (see ShellLimits): a connection that has not passed the
// access policy gets a short header deadline and may be dropped to make room; any other is
// closed only when it makes no progress for the idle time. Lines a stranger can repeat
// (refusals, malformed events) reach the diagnostic log rate-limited by kind.
//
// Everything runs on the run loop's thread. The loop, the application, the bundle and the
// documents directory must outlive the shell. Destroying the shell stops listening and closes
// every connection.
class WebShell {
 public:
  WebShell(RunLoop& loop, Application& application, const ResourceBundle& bundle,
           const DocumentsDirectory& documents, WebShellOptions options = {});
  ~WebShell();
  WebShell(const WebShell&) = delete;
  WebShell& operator=(const WebShell&) = delete;

  // Binds and starts serving. InvalidArgument for a bad address or token, IOError when the
  // address cannot be bound (in use, not this machine's).
  Status start();

  // Valid after start().
  std::uint16_t port() const { return port_; }
  // The address to open, e.g. "http://127.0.0.1:8080/"; with "?token=..." when a token is
  // required. Print it once; it is the only place the token appears.
  std::string url() const;
  bool requiresToken() const;

  // Sends the next frame soon: for changes made outside the browsers' events.
  void screenChanged();
  // Connected browsers.
  std::size_t connectionCount() const;
  // The newest frame sent to the browsers (JSON), for tests and benchmarks; empty before any.
  std::string lastFrame() const;

 private:
  RunLoop& loop_;
  Application& application_;
  const ResourceBundle& bundle_;
  const DocumentsDirectory& documents_;
  WebShellOptions options_;
  std::shared_ptr<ShellCore> core_;
  std::shared_ptr<HttpListener> listener_;
  std::uint16_t port_ = 0;
  std::string urlHost_;
};

}  // namespace kinetra
