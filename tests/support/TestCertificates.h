#pragma once

#include <filesystem>
#include <string>

namespace kinetra::testing {

// A certificate and its private key, both PEM.
struct TlsIdentity {
  std::string certificatePem;
  std::string privateKeyPem;
};

// Certificates made at run time with OpenSSL (EC P-256, SHA-256, valid from an hour ago for
// thirty days): a test CA, a server identity for "localhost" and 127.0.0.1 signed by that CA,
// and a self-signed identity for the same names. The CA certificate is also written to a PEM
// file in a fresh temporary directory, removed on destruction.
class TestCertificates {
 public:
  TestCertificates();
  TestCertificates(const TestCertificates&) = delete;
  TestCertificates& operator=(const TestCertificates&) = delete;
  ~TestCertificates();

  const TlsIdentity& caSigned() const { return caSigned_; }
  const TlsIdentity& selfSigned() const { return selfSigned_; }
  const std::string& caCertificatePem() const { return caCertificatePem_; }
  std::string caFile() const { return caFile_.string(); }

 private:
  std::string caCertificatePem_;
  TlsIdentity caSigned_;
  TlsIdentity selfSigned_;
  std::filesystem::path directory_;
  std::filesystem::path caFile_;
};

}  // namespace kinetra::testing
