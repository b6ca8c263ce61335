#include "foundation/OpenSslLibrary.h"

#include <dlfcn.h>

#include <utility>

namespace kinetra {

const char* const OpenSslLibrary::kDefaultFileName =
    "libssl.so." OPENSSL_MSTR(OPENSSL_SHLIB_VERSION);

namespace {

// dlsym() finds a symbol of the library or of the libraries it needs (libcrypto's for libssl).
template <typename Function>
bool find(void* handle, const char* name, Function& function) {
  void* symbol = dlsym(handle, name);
  if (symbol == nullptr) return false;
  function = reinterpret_cast<Function>(symbol);  // NOLINT: dlsym's object-to-function cast
  return true;
}

}  // namespace

Result<std::unique_ptr<OpenSslLibrary>> OpenSslLibrary::open(const std::string& fileName) {
  void* handle = dlopen(fileName.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* reason = dlerror();
    return Status::TlsError("cannot load the TLS library " + fileName + ": " +
                            (reason != nullptr ? reason : "unknown error"));
  }
  auto library = std::make_unique<OpenSslLibrary>(Key{}, handle);
  if (Status status = library->resolve(); !status.ok()) return status;
  return library;
}

OpenSslLibrary::~OpenSslLibrary() { dlclose(handle_); }

Status OpenSslLibrary::resolve() {
  Functions& f = functions_;
  const char* missing = nullptr;
  // Each name is spelled once: the macro gives find() both the text and the member.
#define KINETRA_FIND(name) \
  if (missing == nullptr && !find(handle_, #name, f.name)) missing = #name
  KINETRA_FIND(TLS_client_method);
  KINETRA_FIND(SSL_CTX_new);
  KINETRA_FIND(SSL_CTX_free);
  KINETRA_FIND(SSL_CTX_ctrl);
  KINETRA_FIND(SSL_CTX_set_options);
  KINETRA_FIND(SSL_CTX_set_verify);
  KINETRA_FIND(SSL_CTX_set_default_verify_paths);
  KINETRA_FIND(SSL_CTX_load_verify_locations);
  KINETRA_FIND(SSL_new);
  KINETRA_FIND(SSL_free);
  KINETRA_FIND(SSL_ctrl);
  KINETRA_FIND(SSL_set1_host);
  KINETRA_FIND(SSL_get0_param);
  KINETRA_FIND(SSL_set_connect_state);
  KINETRA_FIND(SSL_set_bio);
  KINETRA_FIND(SSL_do_handshake);
  KINETRA_FIND(SSL_read);
  KINETRA_FIND(SSL_write);
  KINETRA_FIND(SSL_get_error);
  KINETRA_FIND(SSL_get_verify_result);
  KINETRA_FIND(X509_verify_cert_error_string);
  KINETRA_FIND(X509_VERIFY_PARAM_set1_ip_asc);
  KINETRA_FIND(BIO_new_bio_pair);
  KINETRA_FIND(BIO_free);
  KINETRA_FIND(BIO_read);
  KINETRA_FIND(BIO_write);
  KINETRA_FIND(BIO_ctrl_pending);
  KINETRA_FIND(ERR_get_error);
  KINETRA_FIND(ERR_clear_error);
  KINETRA_FIND(ERR_reason_error_string);
#undef KINETRA_FIND
  if (missing != nullptr) return Status::TlsError(std::string("the TLS library lacks ") + missing);
  return Status::Ok();
}

}  // namespace kinetra
