// Replays a fuzz target's inputs without libFuzzer: every regular file of the directories (or
// the files) named on the command line goes once through LLVMFuzzerTestOneInput, in name order so
// that a failure is reproducible. A target signals a broken property by aborting, so this exits
// non-zero on the first input that breaks one. No input at all is a failure too: a corpus that
// went missing must not pass as a clean replay.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

std::vector<std::filesystem::path> inputsIn(const std::filesystem::path& place) {
  std::vector<std::filesystem::path> inputs;
  std::error_code error;
  if (std::filesystem::is_regular_file(place, error)) {
    inputs.push_back(place);
    return inputs;
  }
  for (const auto& entry : std::filesystem::directory_iterator(place, error)) {
    if (entry.is_regular_file(error)) inputs.push_back(entry.path());
  }
  std::sort(inputs.begin(), inputs.end());
  return inputs;
}

bool replay(const std::filesystem::path& input) {
  std::ifstream file(input, std::ios::binary);
  if (!file) return false;
  const std::vector<char> bytes{std::istreambuf_iterator<char>(file),
                                std::istreambuf_iterator<char>()};
  // A copy of exactly the input's size on the heap, so that a read past its end is seen by
  // AddressSanitizer in the sanitising build, as libFuzzer's own copy would be.
  const std::vector<std::uint8_t> copy(bytes.begin(), bytes.end());
  LLVMFuzzerTestOneInput(copy.data(), copy.size());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::size_t replayed = 0;
  for (int i = 1; i < argc; ++i) {
    for (const auto& input : inputsIn(argv[i])) {
      std::cout << input.filename().string() << std::endl;
      if (!replay(input)) {
        std::cerr << "cannot read " << input << "\n";
        return 1;
      }
      ++replayed;
    }
  }
  std::cout << "replayed " << replayed << " inputs\n";
  if (replayed == 0) {
    std::cerr << "no inputs found\n";
    return 1;
  }
  return 0;
}
