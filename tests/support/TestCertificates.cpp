#include "support/TestCertificates.h"

#include <openssl/bio.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace kinetra::testing {

namespace {

struct KeyFree {
  void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
struct CertificateFree {
  void operator()(X509* certificate) const { X509_free(certificate); }
};
struct BioFree {
  void operator()(BIO* bio) const { BIO_free(bio); }
};
struct ExtensionFree {
  void operator()(X509_EXTENSION* extension) const { X509_EXTENSION_free(extension); }
};
using Key = std::unique_ptr<EVP_PKEY, KeyFree>;
using Certificate = std::unique_ptr<X509, CertificateFree>;
using Bio = std::unique_ptr<BIO, BioFree>;
using Extension = std::unique_ptr<X509_EXTENSION, ExtensionFree>;

// Test set-up cannot go on without its certificates; failing loudly is the useful outcome.
void require(bool condition, const char* what) {
  if (!condition) throw std::runtime_error(std::string("test certificates: ") + what);
}

Key makeKey() {
  Key key(EVP_PKEY_Q_keygen(nullptr, nullptr, "EC", "P-256"));
  require(key != nullptr, "key generation");
  return key;
}

void addExtension(X509* certificate, X509* issuer, int nid, const char* value) {
  X509V3_CTX context;
  X509V3_set_ctx(&context, issuer, certificate, nullptr, nullptr, 0);
  Extension extension(X509V3_EXT_conf_nid(nullptr, &context, nid, value));
  require(extension != nullptr, "extension");
  require(X509_add_ext(certificate, extension.get(), -1) == 1, "adding extension");
}

struct Subject {
  const char* commonName;
  bool isAuthority;
};

// Signs with `issuerKey`; a null `issuer` makes the certificate self-signed.
Certificate makeCertificate(const Subject& subject, EVP_PKEY* key, X509* issuer,
                            EVP_PKEY* issuerKey, long serial) {
  Certificate certificate(X509_new());
  require(certificate != nullptr, "X509_new");
  X509* raw = certificate.get();
  X509_set_version(raw, 2);
  ASN1_INTEGER_set(X509_get_serialNumber(raw), serial);
  X509_gmtime_adj(X509_getm_notBefore(raw), -3600);
  X509_gmtime_adj(X509_getm_notAfter(raw), 30L * 24 * 3600);
  X509_set_pubkey(raw, key);
  X509_NAME* name = X509_get_subject_name(raw);
  X509_NAME_add_entry_by_txt(name, "O", MBSTRING_ASC,
                             reinterpret_cast<const unsigned char*>("Kinetra tests"), -1, -1, 0);
  X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                             reinterpret_cast<const unsigned char*>(subject.commonName), -1, -1, 0);
  X509* signer = issuer != nullptr ? issuer : raw;
  X509_set_issuer_name(raw, X509_get_subject_name(signer));
  addExtension(raw, signer, NID_subject_key_identifier, "hash");
  if (subject.isAuthority) {
    addExtension(raw, signer, NID_basic_constraints, "critical,CA:TRUE");
    addExtension(raw, signer, NID_key_usage, "critical,keyCertSign,cRLSign");
  } else {
    addExtension(raw, signer, NID_basic_constraints, "critical,CA:FALSE");
    addExtension(raw, signer, NID_key_usage, "critical,digitalSignature");
    addExtension(raw, signer, NID_ext_key_usage, "serverAuth");
    addExtension(raw, signer, NID_subject_alt_name, "DNS:localhost,IP:127.0.0.1");
  }
  if (issuer != nullptr) addExtension(raw, signer, NID_authority_key_identifier, "keyid");
  require(X509_sign(raw, issuerKey, EVP_sha256()) > 0, "signing");
  return certificate;
}

std::string bioText(BIO* bio) {
  char* data = nullptr;
  const long length = BIO_ctrl(bio, BIO_CTRL_INFO, 0, &data);
  return std::string(data, static_cast<std::size_t>(length));
}

std::string certificatePem(X509* certificate) {
  Bio bio(BIO_new(BIO_s_mem()));
  require(bio && PEM_write_bio_X509(bio.get(), certificate) == 1, "certificate PEM");
  return bioText(bio.get());
}

std::string keyPem(EVP_PKEY* key) {
  Bio bio(BIO_new(BIO_s_mem()));
  require(
      bio && PEM_write_bio_PrivateKey(bio.get(), key, nullptr, nullptr, 0, nullptr, nullptr) == 1,
      "key PEM");
  return bioText(bio.get());
}

std::filesystem::path makeTemporaryDirectory() {
  std::string pattern = (std::filesystem::temp_directory_path() / "kinetra-certs-XXXXXX").string();
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  require(mkdtemp(buffer.data()) != nullptr, "temporary directory");
  return std::filesystem::path(buffer.data());
}

}  // namespace

TestCertificates::TestCertificates() {
  Key caKey = makeKey();
  Certificate ca = makeCertificate({"Kinetra Test CA", true}, caKey.get(), nullptr, caKey.get(), 1);
  caCertificatePem_ = certificatePem(ca.get());

  Key serverKey = makeKey();
  Certificate server =
      makeCertificate({"localhost", false}, serverKey.get(), ca.get(), caKey.get(), 2);
  caSigned_ = {certificatePem(server.get()), keyPem(serverKey.get())};

  Key loneKey = makeKey();
  Certificate lone =
      makeCertificate({"localhost", false}, loneKey.get(), nullptr, loneKey.get(), 3);
  selfSigned_ = {certificatePem(lone.get()), keyPem(loneKey.get())};

  directory_ = makeTemporaryDirectory();
  caFile_ = directory_ / "ca.pem";
  std::ofstream(caFile_) << caCertificatePem_;
}

TestCertificates::~TestCertificates() {
  std::error_code ignored;
  std::filesystem::remove_all(directory_, ignored);
}

}  // namespace kinetra::testing
