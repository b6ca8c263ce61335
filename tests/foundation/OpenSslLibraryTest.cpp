#include "foundation/OpenSslLibrary.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kinetra {
namespace {

using ::testing::HasSubstr;

TEST(OpenSslLibraryTest, OpensTheSystemsLibraryAndReachesLibcryptoThroughIt) {
  auto library = OpenSslLibrary::open();
  ASSERT_TRUE(library.ok()) << library.status().toString();
  const OpenSslLibrary::Functions& ssl = (*library)->functions();
  EXPECT_NE(ssl.TLS_client_method(), nullptr);
  // BIO_new_bio_pair lives in libcrypto, which libssl needs.
  BIO* one = nullptr;
  BIO* other = nullptr;
  ASSERT_EQ(ssl.BIO_new_bio_pair(&one, 0, &other, 0), 1);
  EXPECT_EQ(ssl.BIO_write(one, "ping", 4), 4);
  char received[8] = {};
  EXPECT_EQ(ssl.BIO_read(other, received, sizeof received), 4);
  EXPECT_STREQ(received, "ping");
  ssl.BIO_free(one);
  ssl.BIO_free(other);
}

TEST(OpenSslLibraryTest, AMissingLibraryOrFunctionIsATlsErrorThatNamesIt) {
  auto missing = OpenSslLibrary::open("libkinetra-no-such-ssl.so.3");
  ASSERT_FALSE(missing.ok());
  EXPECT_EQ(missing.status().code(), Status::Code::kTlsError);
  EXPECT_THAT(missing.status().message(), HasSubstr("libkinetra-no-such-ssl.so.3"));

  // zlib is on every machine this runs on (the PNG encoder needs it) and has none of them.
  auto unrelated = OpenSslLibrary::open("libz.so.1");
  ASSERT_FALSE(unrelated.ok());
  EXPECT_EQ(unrelated.status().code(), Status::Code::kTlsError);
  EXPECT_THAT(unrelated.status().message(), HasSubstr("lacks TLS_client_method"));
}

}  // namespace
}  // namespace kinetra
