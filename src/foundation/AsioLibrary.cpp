// The one translation unit that compiles Boost.Asio. Every other unit that includes Asio sees
// BOOST_ASIO_SEPARATE_COMPILATION (set by kinetra_runloop) and links to this instead of
// instantiating the library itself, which keeps those units quick to build. Asio's SSL layer is
// not compiled here: the system's TLS runs over memory (TlsSession), and only the tests' TLS
// peers use Asio's, compiled with them.
#include <boost/asio/impl/src.hpp>
