#pragma once

#include <boost/asio/ip/tcp.hpp>
#include <boost/system/error_code.hpp>
#include <cstdint>
#include <memory>

#include "foundation/Timer.h"
#include "shell/HttpMessage.h"

namespace kinetra {

struct ShellCore;

// One HTTP connection: reads requests within the shell's limits (headers, bodies, idle time),
// checks each against the access policy before anything else, answers it through the router,
// and hands a WebSocket upgrade of "/ws" over to a WebSocket session. One response is written
// at a time. Lives as long as its pending operations; no container owns it.
class HttpSession : public std::enable_shared_from_this<HttpSession> {
 public:
  static void start(boost::asio::ip::tcp::socket socket, std::weak_ptr<ShellCore> core);

  HttpSession(boost::asio::ip::tcp::socket socket, std::weak_ptr<ShellCore> core);
  ~HttpSession();
  HttpSession(const HttpSession&) = delete;
  HttpSession& operator=(const HttpSession&) = delete;

 private:
  struct State;  // the socket, buffer and parsers (Boost.Beast)

  void doReadHeader();
  void onReadHeader(boost::system::error_code error);
  void doReadBody(std::size_t limit);
  void onReadBody(boost::system::error_code error);
  void respond(HttpReply reply, bool keepAlive);
  void onWrite(boost::system::error_code error, bool keepAlive);
  void linger();
  void doDrain();
  void armIdle();
  void close();

  static constexpr std::size_t kMaxDrainBytes = 32 * 1024 * 1024;

  std::unique_ptr<State> state_;
  std::weak_ptr<ShellCore> core_;
  HttpRequestHead head_;
  std::size_t drained_ = 0;
  Timer idle_;
};

}  // namespace kinetra
