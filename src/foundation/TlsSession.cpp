#include "foundation/TlsSession.h"

#include <arpa/inet.h>

#include <algorithm>
#include <array>
#include <utility>

namespace kinetra {

namespace {

// The session's end of the pair holds the ciphertext it writes until the caller takes it: at
// most one whole record, since the caller takes it after every record. The caller's end holds
// received ciphertext: a part of a record left over, and the next receive().
constexpr std::size_t kToPeerBuffer = 32 * 1024;
constexpr std::size_t kFromPeerBuffer = 64 * 1024;
// The most plaintext one record carries.
constexpr std::size_t kRecordPlaintext = 16 * 1024;

bool isIpAddress(const std::string& host) {
  std::array<unsigned char, 16> address{};
  return inet_pton(AF_INET, host.c_str(), address.data()) == 1 ||
         inet_pton(AF_INET6, host.c_str(), address.data()) == 1;
}

}  // namespace

Result<std::unique_ptr<TlsSession>> TlsSession::create(const TlsOptions& options,
                                                       const std::string& hostName) {
  auto library = OpenSslLibrary::open();
  if (!library.ok()) return library.status();
  auto session = std::make_unique<TlsSession>(Key{}, std::move(library).value());
  if (Status status = session->configure(options, hostName); !status.ok()) return status;
  return session;
}

TlsSession::TlsSession(Key, std::unique_ptr<OpenSslLibrary> library)
    : library_(std::move(library)),
      ssl_(library_->functions()),
      context_(nullptr, Release{&ssl_}),
      network_(nullptr, Release{&ssl_}),
      session_(nullptr, Release{&ssl_}) {}

// The members go in reverse: the SSL (with its end of the pair), the caller's end, the context,
// and last the library that frees them.
TlsSession::~TlsSession() = default;

Status TlsSession::configure(const TlsOptions& options, const std::string& hostName) {
  ssl_.ERR_clear_error();
  context_.reset(ssl_.SSL_CTX_new(ssl_.TLS_client_method()));
  if (context_ == nullptr) return Status::TlsError(lastError("cannot make a TLS context"));
  ssl_.SSL_CTX_ctrl(context_.get(), SSL_CTRL_SET_MIN_PROTO_VERSION, TLS1_2_VERSION, nullptr);
  ssl_.SSL_CTX_set_options(context_.get(), SSL_OP_ALL | SSL_OP_NO_COMPRESSION);
  const bool verify = options.verification == TlsVerification::kVerifyPeer;
  ssl_.SSL_CTX_set_verify(context_.get(), verify ? SSL_VERIFY_PEER : SSL_VERIFY_NONE, nullptr);
  if (verify) {
    const int loaded =
        options.caFile.empty()
            ? ssl_.SSL_CTX_set_default_verify_paths(context_.get())
            : ssl_.SSL_CTX_load_verify_locations(context_.get(), options.caFile.c_str(), nullptr);
    if (loaded != 1) {
      return Status::InvalidArgument("cannot load trusted certificates: " +
                                     lastError("unknown error"));
    }
  }

  session_.reset(ssl_.SSL_new(context_.get()));
  BIO* sessionEnd = nullptr;
  BIO* callerEnd = nullptr;
  if (session_ == nullptr ||
      ssl_.BIO_new_bio_pair(&sessionEnd, kToPeerBuffer, &callerEnd, kFromPeerBuffer) != 1) {
    return Status::TlsError(lastError("cannot make a TLS session"));
  }
  network_.reset(callerEnd);
  ssl_.SSL_set_bio(session_.get(), sessionEnd, sessionEnd);
  ssl_.SSL_set_connect_state(session_.get());

  int named = 1;
  if (!isIpAddress(hostName)) {
    // SSL_set_tlsext_host_name() spelled out: the macro's C cast trips our warnings.
    ssl_.SSL_ctrl(session_.get(), SSL_CTRL_SET_TLSEXT_HOSTNAME, TLSEXT_NAMETYPE_host_name,
                  const_cast<char*>(hostName.c_str()));
    if (verify) named = ssl_.SSL_set1_host(session_.get(), hostName.c_str());
  } else if (verify) {
    named =
        ssl_.X509_VERIFY_PARAM_set1_ip_asc(ssl_.SSL_get0_param(session_.get()), hostName.c_str());
  }
  // Verifying a chain without the name it must carry would accept any trusted certificate.
  if (named != 1) return Status::TlsError("cannot verify the name " + hostName);
  return Status::Ok();
}

TlsSession::Progress TlsSession::handshake(std::string& toPeer) {
  for (;;) {
    ssl_.ERR_clear_error();
    const int result = ssl_.SSL_do_handshake(session_.get());
    const std::size_t taken = takeOutput(toPeer);
    if (result == 1) return Progress::kEstablished;
    const int error = ssl_.SSL_get_error(session_.get(), result);
    if (error == SSL_ERROR_WANT_READ) return Progress::kNeedsInput;
    if (error == SSL_ERROR_WANT_WRITE && taken > 0) continue;
    failure_ = "TLS handshake failed: " + lastError("the connection ended");
    const long verified = ssl_.SSL_get_verify_result(session_.get());
    if (verified != X509_V_OK) {
      failure_ += " (";
      failure_ += ssl_.X509_verify_cert_error_string(verified);
      failure_ += ")";
    }
    return Progress::kFailed;
  }
}

Status TlsSession::receive(std::string_view ciphertext) {
  while (!ciphertext.empty()) {
    const auto size = static_cast<int>(std::min(ciphertext.size(), kMaxReceive));
    const int written = ssl_.BIO_write(network_.get(), ciphertext.data(), size);
    if (written <= 0) return Status::TlsError("read failed: more ciphertext than a record");
    ciphertext.remove_prefix(static_cast<std::size_t>(written));
  }
  return Status::Ok();
}

Status TlsSession::decrypt(std::string& plaintext, std::string& toPeer, bool& peerClosed) {
  for (;;) {
    ssl_.ERR_clear_error();
    const std::size_t before = plaintext.size();
    plaintext.resize(before + kRecordPlaintext);
    const int result = ssl_.SSL_read(session_.get(), plaintext.data() + before,
                                     static_cast<int>(kRecordPlaintext));
    plaintext.resize(before + static_cast<std::size_t>(std::max(result, 0)));
    takeOutput(toPeer);  // an answer to a key update, say
    if (result > 0) continue;
    switch (ssl_.SSL_get_error(session_.get(), result)) {
      case SSL_ERROR_WANT_READ:
        return Status::Ok();
      case SSL_ERROR_ZERO_RETURN:
        peerClosed = true;
        return Status::Ok();
      default:
        return Status::TlsError("read failed: " + lastError("the session broke"));
    }
  }
}

Status TlsSession::encrypt(std::string_view plaintext, std::string& toPeer) {
  while (!plaintext.empty()) {
    ssl_.ERR_clear_error();
    const auto size = static_cast<int>(std::min(plaintext.size(), kRecordPlaintext));
    const int written = ssl_.SSL_write(session_.get(), plaintext.data(), size);
    const std::size_t taken = takeOutput(toPeer);
    if (written > 0) {
      plaintext.remove_prefix(static_cast<std::size_t>(written));
      continue;
    }
    const int error = ssl_.SSL_get_error(session_.get(), written);
    if (error == SSL_ERROR_WANT_WRITE && taken > 0) continue;
    return Status::TlsError("write failed: " + lastError("the session broke"));
  }
  return Status::Ok();
}

std::size_t TlsSession::takeOutput(std::string& toPeer) {
  std::size_t taken = 0;
  while (const std::size_t pending = ssl_.BIO_ctrl_pending(network_.get())) {
    const std::size_t before = toPeer.size();
    toPeer.resize(before + pending);
    const int read =
        ssl_.BIO_read(network_.get(), toPeer.data() + before, static_cast<int>(pending));
    toPeer.resize(before + static_cast<std::size_t>(std::max(read, 0)));
    if (read <= 0) break;
    taken += static_cast<std::size_t>(read);
  }
  return taken;
}

std::string TlsSession::lastError(const char* otherwise) {
  const unsigned long code = ssl_.ERR_get_error();
  const char* reason = code != 0 ? ssl_.ERR_reason_error_string(code) : nullptr;
  ssl_.ERR_clear_error();
  return reason != nullptr ? reason : otherwise;
}

}  // namespace kinetra
