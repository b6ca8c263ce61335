#pragma once

#include <string>

namespace kinetra {

enum class TlsVerification {
  kVerifyPeer,  // the chain must lead to a trusted root and the certificate must name the host
  kNone,        // accept any certificate (encrypts, but does not authenticate the peer)
};

// How Stream::startTls() negotiates. TLS 1.2 is the oldest version ever accepted.
struct TlsOptions {
  // The name the certificate must carry and the one sent for SNI; empty means the host name
  // the stream was opened with. An IP address is matched against the certificate's addresses
  // and not sent as SNI.
  std::string hostName;
  TlsVerification verification = TlsVerification::kVerifyPeer;
  // PEM file of trusted roots used instead of the system's default trust store (tests).
  std::string caFile;
};

}  // namespace kinetra
