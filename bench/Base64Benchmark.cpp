// Encodes or decodes one file to standard output with the mail subsystem's Base64 codec, the
// way coreutils' base64 does, so bench/base64_bench.sh can time both on the same bytes.
//   bench_base64 encode FILE | bench_base64 decode FILE
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "mail/Base64Data.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s encode|decode FILE\n", argv[0]);
    return 2;
  }
  const std::string_view mode = argv[1];
  std::error_code error;
  const auto size = std::filesystem::file_size(argv[2], error);
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(argv[2], "rb"),
                                                             std::fclose);
  std::string input(error ? 0 : size, '\0');
  if (error || !file || std::fread(input.data(), 1, input.size(), file.get()) != input.size()) {
    std::fprintf(stderr, "cannot read %s\n", argv[2]);
    return 1;
  }
  if (mode == "encode") {
    const kinetra::Result<std::string> text = kinetra::Base64Data::encodeBase64(input);
    if (!text) return 1;
    std::fwrite(text->data(), 1, text->size(), stdout);
    return 0;
  }
  if (mode == "decode") {
    const auto bytes = kinetra::Base64Data::decodeBase64(input);
    if (!bytes) return 1;
    std::fwrite(bytes->data(), 1, bytes->size(), stdout);
    return 0;
  }
  std::fprintf(stderr, "unknown mode %s\n", argv[1]);
  return 2;
}
