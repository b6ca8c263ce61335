// Asio's SSL layer, compiled once for the tests' TLS peers (LoopbackServer). The system itself
// runs TLS over memory and never links it.
#include <boost/asio/ssl/impl/src.hpp>
