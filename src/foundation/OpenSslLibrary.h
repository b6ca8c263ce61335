#pragma once

#include <openssl/bio.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509_vfy.h>

#include <memory>
#include <string>

#include "foundation/Status.h"

namespace kinetra {

// OpenSSL's TLS library, opened when a stream first upgrades to TLS instead of at start-up.
// Only the mail's STARTTLS needs it, and a process that maps and relocates libssl and libcrypto
// holds over 1.5 MiB more resident memory for its whole life.
//
// The functions are typed from OpenSSL's own declarations, so a call through them is checked
// as a direct call would be. Opening it again shares the loader's copy. Once opened the library
// stays loaded (libcrypto is built never to be unloaded); destroying this drops the handle only.
// Immutable once opened.
class OpenSslLibrary {
 public:
  // The libssl of the headers this was built with ("libssl.so.3").
  static const char* const kDefaultFileName;

  // Every function the TLS client calls.
  struct Functions {
    decltype(&::TLS_client_method) TLS_client_method;
    decltype(&::SSL_CTX_new) SSL_CTX_new;
    decltype(&::SSL_CTX_free) SSL_CTX_free;
    decltype(&::SSL_CTX_ctrl) SSL_CTX_ctrl;
    decltype(&::SSL_CTX_set_options) SSL_CTX_set_options;
    decltype(&::SSL_CTX_set_verify) SSL_CTX_set_verify;
    decltype(&::SSL_CTX_set_default_verify_paths) SSL_CTX_set_default_verify_paths;
    decltype(&::SSL_CTX_load_verify_locations) SSL_CTX_load_verify_locations;
    decltype(&::SSL_new) SSL_new;
    decltype(&::SSL_free) SSL_free;
    decltype(&::SSL_ctrl) SSL_ctrl;
    decltype(&::SSL_set1_host) SSL_set1_host;
    decltype(&::SSL_get0_param) SSL_get0_param;
    decltype(&::SSL_set_connect_state) SSL_set_connect_state;
    decltype(&::SSL_set_bio) SSL_set_bio;
    decltype(&::SSL_do_handshake) SSL_do_handshake;
    decltype(&::SSL_read) SSL_read;
    decltype(&::SSL_write) SSL_write;
    decltype(&::SSL_get_error) SSL_get_error;
    decltype(&::SSL_get_verify_result) SSL_get_verify_result;
    decltype(&::X509_verify_cert_error_string) X509_verify_cert_error_string;
    decltype(&::X509_VERIFY_PARAM_set1_ip_asc) X509_VERIFY_PARAM_set1_ip_asc;
    decltype(&::BIO_new_bio_pair) BIO_new_bio_pair;
    decltype(&::BIO_free) BIO_free;
    decltype(&::BIO_read) BIO_read;
    decltype(&::BIO_write) BIO_write;
    decltype(&::BIO_ctrl_pending) BIO_ctrl_pending;
    decltype(&::ERR_get_error) ERR_get_error;
    decltype(&::ERR_clear_error) ERR_clear_error;
    decltype(&::ERR_reason_error_string) ERR_reason_error_string;
  };

  // Opens the library and finds every function in it or in the libraries it needs. A library
  // that cannot be opened, or lacks a function, is a TLS error naming it.
  static Result<std::unique_ptr<OpenSslLibrary>> open(
      const std::string& fileName = kDefaultFileName);

  // For open() only: the key cannot be made elsewhere.
  class Key {
    friend class OpenSslLibrary;
    Key() = default;
  };
  OpenSslLibrary(Key, void* handle) : handle_(handle) {}
  OpenSslLibrary(const OpenSslLibrary&) = delete;
  OpenSslLibrary& operator=(const OpenSslLibrary&) = delete;
  ~OpenSslLibrary();

  const Functions& functions() const { return functions_; }

 private:
  Status resolve();

  void* handle_;
  Functions functions_{};
};

}  // namespace kinetra
