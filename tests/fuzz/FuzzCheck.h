#pragma once

#include <cstdio>
#include <cstdlib>

#include "foundation/Status.h"

// A property a fuzz target holds its code to. A broken one aborts, naming the line, so libFuzzer
// keeps the input as a crash and the corpus replay fails on it.
#define FUZZ_CHECK(condition)                                                               \
  do {                                                                                      \
    if (!(condition)) {                                                                     \
      std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                         \
    }                                                                                       \
  } while (false)

namespace kinetra::fuzz {

// What a reader of hostile bytes may answer besides a value.
inline bool isRefusal(const Status& status) {
  return status.code() == Status::Code::kCorrupt || status.code() == Status::Code::kTooLarge;
}

}  // namespace kinetra::fuzz
