#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "foundation/OpenSslLibrary.h"
#include "foundation/Status.h"
#include "foundation/TlsOptions.h"

namespace kinetra {

// The client side of one TLS connection, kept in memory: OpenSSL encrypts and decrypts, and the
// caller carries the ciphertext between the session and its socket. Every call that may
// produce ciphertext appends it to `toPeer`, which the caller then sends as it is, in order.
//
// Not thread-safe. Owns the OpenSSL objects and its handle on the library.
class TlsSession {
 public:
  enum class Progress {
    kEstablished,  // the handshake is complete
    kNeedsInput,   // send toPeer, then call receive() and handshake() again with the reply
    kFailed,       // see failure()
  };

  // A session for `hostName` (a name, sent for SNI, or an IP address), negotiated as `options`
  // say (their hostName is not consulted). Fails with a TLS error when OpenSSL cannot be
  // loaded, or with invalid-argument when the trusted certificates (options.caFile, or the
  // system's) cannot be.
  static Result<std::unique_ptr<TlsSession>> create(const TlsOptions& options,
                                                    const std::string& hostName);

  // For create() only: the key cannot be made elsewhere.
  class Key {
    friend class TlsSession;
    Key() = default;
  };
  TlsSession(Key, std::unique_ptr<OpenSslLibrary> library);
  TlsSession(const TlsSession&) = delete;
  TlsSession& operator=(const TlsSession&) = delete;
  ~TlsSession();

  // Runs the handshake as far as the bytes received allow.
  Progress handshake(std::string& toPeer);
  // Why the handshake failed, with the certificate's verification error if there was one.
  const std::string& failure() const { return failure_; }

  // Takes ciphertext received from the peer, at most kMaxReceive bytes at a time; the caller
  // decrypts (or handshakes) between calls, which uses every whole record taken.
  static constexpr std::size_t kMaxReceive = 16 * 1024;
  Status receive(std::string_view ciphertext);

  // Appends to `plaintext` every byte the ciphertext received so far decrypts to. Sets
  // `peerClosed` when the peer ended the session (close_notify). A corrupt record is a TLS
  // error.
  Status decrypt(std::string& plaintext, std::string& toPeer, bool& peerClosed);

  // Encrypts `plaintext` whole.
  Status encrypt(std::string_view plaintext, std::string& toPeer);

 private:
  // Frees OpenSSL's objects through the library that made them.
  struct Release {
    const OpenSslLibrary::Functions* functions;
    void operator()(SSL_CTX* context) const { functions->SSL_CTX_free(context); }
    void operator()(SSL* ssl) const { functions->SSL_free(ssl); }
    void operator()(BIO* bio) const { functions->BIO_free(bio); }
  };
  template <typename T>
  using Owned = std::unique_ptr<T, Release>;

  Status configure(const TlsOptions& options, const std::string& hostName);
  // Moves the ciphertext the session wrote to `toPeer`; returns how many bytes.
  std::size_t takeOutput(std::string& toPeer);
  // The reason OpenSSL gives for the last failure, and clears its error queue.
  std::string lastError(const char* otherwise);

  std::unique_ptr<OpenSslLibrary> library_;
  const OpenSslLibrary::Functions& ssl_;  // the library's functions, spelled as OpenSSL's
  Owned<SSL_CTX> context_;
  // The session's own end of its pair of memory BIOs is the SSL's; this is the caller's end.
  Owned<BIO> network_;
  Owned<SSL> session_;
  std::string failure_;
};

}  // namespace kinetra
