#include "shell/WebShell.h"

#include "shell/AccessPolicy.h"
#include "shell/HttpListener.h"
#include "shell/ShellCore.h"

namespace kinetra {

namespace {

// The host to put in the printed address: the bound address, or for "all interfaces" the
// first address of this machine a phone could reach.
std::string urlHostFor(const std::string& bindAddress) {
  std::string host = bindAddress;
  if (host == "0.0.0.0" || host == "::") {
    host = "127.0.0.1";
    for (const std::string& address : AccessPolicy::ownAddresses()) {
      if (address.find(':') == std::string::npos && !AccessPolicy::isLoopbackAddress(address)) {
        host = address;
        break;
      }
    }
  }
  if (host.find(':') != std::string::npos) host = "[" + host + "]";
  return host;
}

}  // namespace

WebShell::WebShell(RunLoop& loop, Application& application, const ResourceBundle& bundle,
                   const DocumentsDirectory& documents, WebShellOptions options)
    : loop_(loop),
      application_(application),
      bundle_(bundle),
      documents_(documents),
      options_(std::move(options)) {}

WebShell::~WebShell() {
  if (listener_) listener_->stop();
  if (core_) core_->hub->closeAll();
}

Status WebShell::start() {
  if (listener_) return Status::InvalidArgument("the web shell is already running");
  // The token is checked before anything listens.
  const Result<AccessPolicy> check =
      AccessPolicy::create(options_.bindAddress, options_.port, options_.token, {});
  if (!check.ok()) return check.status();
  Result<std::shared_ptr<HttpListener>> listener =
      HttpListener::open(loop_, options_.bindAddress, options_.port);
  if (!listener.ok()) return listener.status();
  port_ = (*listener)->port();
  Result<AccessPolicy> policy =
      AccessPolicy::create(options_.bindAddress, port_, options_.token,
                           AccessPolicy::ownAddresses(), &AccessPolicy::ownAddresses);
  if (!policy.ok()) return policy.status();
  core_ = std::make_shared<ShellCore>(loop_, application_, bundle_, documents_, std::move(*policy),
                                      ClientFiles(options_.clientDirectory), options_.limits,
                                      options_.iconNames, options_.watchSeconds);
  listener_ = std::move(*listener);
  listener_->start(core_);
  urlHost_ = urlHostFor(options_.bindAddress);
  return Status::Ok();
}

std::string WebShell::url() const {
  std::string url = "http://" + urlHost_ + ":" + std::to_string(port_) + "/";
  if (core_ && core_->policy.requiresToken()) url += "?token=" + core_->policy.token();
  return url;
}

bool WebShell::requiresToken() const { return core_ && core_->policy.requiresToken(); }

void WebShell::screenChanged() {
  if (core_) core_->hub->screenChanged();
}

std::size_t WebShell::connectionCount() const { return core_ ? core_->hub->connectionCount() : 0; }

std::string WebShell::lastFrame() const {
  if (!core_) return {};
  const auto frame = core_->hub->lastFrame();
  return frame ? *frame : std::string();
}

}  // namespace kinetra
