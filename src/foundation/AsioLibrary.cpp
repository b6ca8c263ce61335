// The one translation unit that compiles Boost.Asio and its SSL layer. Every other unit that
// includes Asio sees BOOST_ASIO_SEPARATE_COMPILATION (set by kinetra_runloop) and links to
// this instead of instantiating the library itself, which keeps those units quick to build.
#include <boost/asio/impl/src.hpp>
#include <boost/asio/ssl/impl/src.hpp>
