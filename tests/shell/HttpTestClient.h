#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace kinetra::testing {

// A raw HTTP/1.1 client over a blocking loopback socket whose reads give up after a few
// seconds, so a test never hangs on a server that does not answer.
class HttpTestClient {
 public:
  // kLater: the socket is made now (taking its descriptor) and connected by connect().
  enum class Connect { kNow, kLater };

  explicit HttpTestClient(std::uint16_t port, Connect when = Connect::kNow) : port_(port) {
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    timeval timeout{5, 0};
    ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    ::setsockopt(fd_, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
    if (when == Connect::kNow) connect();
  }
  ~HttpTestClient() { ::close(fd_); }
  HttpTestClient(const HttpTestClient&) = delete;
  HttpTestClient& operator=(const HttpTestClient&) = delete;

  bool connect() {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port_);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    connected_ = ::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    return connected_;
  }

  bool connected() const { return connected_; }

  bool send(std::string_view bytes) {
    while (!bytes.empty()) {
      const ssize_t n = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
      if (n <= 0) return false;
      bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
  }

  struct Response {
    int status = 0;
    std::string head;  // status line and headers
    std::string body;
    std::string header(std::string_view name) const {
      std::string lowerHead;
      for (char c : head)
        lowerHead += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      std::string key = "\r\n";
      for (char c : name) key += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      key += ": ";
      const std::size_t at = lowerHead.find(key);
      if (at == std::string::npos) return {};
      const std::size_t start = at + key.size();
      return head.substr(start, head.find("\r\n", start) - start);
    }
  };

  // One response (with a Content-Length or chunked body, unless it answers a HEAD request; the
  // chunks are joined); nothing on time-out or a closed connection.
  std::optional<Response> receive(std::string_view requestMethod = "GET") {
    while (buffer_.find("\r\n\r\n") == std::string::npos) {
      if (!fill()) return std::nullopt;
    }
    Response response;
    const std::size_t end = buffer_.find("\r\n\r\n");
    response.head = buffer_.substr(0, end);
    buffer_.erase(0, end + 4);
    // "HTTP/1.1 200 ...": anything else is no response.
    if (response.head.size() < 12 || !response.head.starts_with("HTTP/1.") ||
        !std::all_of(response.head.begin() + 9, response.head.begin() + 12,
                     [](char c) { return c >= '0' && c <= '9'; })) {
      return std::nullopt;
    }
    response.status = std::stoi(response.head.substr(9, 3));
    if (requestMethod != "HEAD" && response.header("Transfer-Encoding") == "chunked") {
      if (!receiveChunks(response.body)) return std::nullopt;
      return response;
    }
    const std::string length = response.header("Content-Length");
    const std::size_t size = length.empty() || requestMethod == "HEAD" ? 0 : std::stoul(length);
    while (buffer_.size() < size) {
      if (!fill()) return std::nullopt;
    }
    response.body = buffer_.substr(0, size);
    buffer_.erase(0, size);
    return response;
  }

  std::optional<Response> request(std::string_view bytes) {
    if (!send(bytes)) return std::nullopt;
    return receive();
  }

  // Everything the connection sends until the server closes it (an HTTP/1.0 answer of unknown
  // length); nothing on time-out.
  std::optional<std::string> receiveUntilClosed() {
    for (;;) {
      const ssize_t n = ::recv(fd_, chunk_, sizeof chunk_, 0);
      if (n == 0) return std::exchange(buffer_, {});
      if (n < 0) return std::nullopt;
      buffer_.append(chunk_, static_cast<std::size_t>(n));
    }
  }

  // True when the server closed the connection (end of stream or reset) before the time-out.
  bool closedByServer() {
    char byte = 0;
    for (;;) {
      const ssize_t n = ::recv(fd_, &byte, 1, 0);
      if (n == 0) return true;
      if (n < 0) return errno == ECONNRESET;
    }
  }

  static std::string get(std::string_view path, std::string_view host = "127.0.0.1",
                         std::string_view extra = "") {
    return "GET " + std::string(path) + " HTTP/1.1\r\nHost: " + std::string(host) + "\r\n" +
           std::string(extra) + "\r\n";
  }

 private:
  bool fill() {
    const ssize_t n = ::recv(fd_, chunk_, sizeof chunk_, 0);
    if (n <= 0) return false;
    buffer_.append(chunk_, static_cast<std::size_t>(n));
    return true;
  }

  // The line that starts the buffer, without its CRLF, once it has come in whole.
  std::optional<std::string> line() {
    std::size_t end;
    while ((end = buffer_.find("\r\n")) == std::string::npos) {
      if (!fill()) return std::nullopt;
    }
    std::string text = buffer_.substr(0, end);
    buffer_.erase(0, end + 2);
    return text;
  }

  // A chunked body: hexadecimal sizes, each followed by its bytes and a CRLF, up to the empty
  // chunk and the (empty) trailer.
  bool receiveChunks(std::string& body) {
    for (;;) {
      const std::optional<std::string> size = line();
      if (!size || size->empty()) return false;
      const std::size_t bytes = std::stoul(*size, nullptr, 16);
      if (bytes == 0) return line().has_value();
      while (buffer_.size() < bytes + 2) {
        if (!fill()) return false;
      }
      body.append(buffer_, 0, bytes);
      buffer_.erase(0, bytes + 2);
    }
  }

  std::uint16_t port_ = 0;
  int fd_ = -1;
  bool connected_ = false;
  std::string buffer_;
  char chunk_[65536];
};

}  // namespace kinetra::testing
