#pragma once

// Boost.Beast comes in only here and in the session units.
#include <boost/beast/http/empty_body.hpp>
#include <boost/beast/http/message.hpp>

namespace kinetra {

// The request a browser opened its WebSocket with, handed from the HTTP session to the
// WebSocket session that answers it.
struct UpgradeRequest {
  boost::beast::http::request<boost::beast::http::empty_body> request;
};

}  // namespace kinetra
