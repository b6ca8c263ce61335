#include "foundation/ReadBuffer.h"

#include <sys/mman.h>

#include <cstring>
#include <utility>

namespace kinetra {

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;
constexpr std::size_t kPage = 4096;

std::size_t roundUp(std::size_t size, std::size_t unit) { return (size + unit - 1) / unit * unit; }

}  // namespace

ReadBuffer::ReadBuffer(ReadBuffer&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      capacity_(std::exchange(other.capacity_, 0)),
      mapped_(std::exchange(other.mapped_, 0)) {}

ReadBuffer& ReadBuffer::operator=(ReadBuffer&& other) noexcept {
  if (this != &other) {
    release();
    data_ = std::exchange(other.data_, nullptr);
    capacity_ = std::exchange(other.capacity_, 0);
    mapped_ = std::exchange(other.mapped_, 0);
  }
  return *this;
}

ReadBuffer::~ReadBuffer() { release(); }

bool ReadBuffer::allocate(std::size_t capacity, std::size_t keep) {
  const bool huge = capacity >= kHugePage;
  const std::size_t length = roundUp(capacity == 0 ? 1 : capacity, huge ? kHugePage : kPage);
  void* memory =
      ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (memory == MAP_FAILED) return false;
  // Only advice: where huge pages are not to be had the mapping works with small ones.
  if (huge) ::madvise(memory, length, MADV_HUGEPAGE);
  if (keep > 0) std::memcpy(memory, data_, keep);
  release();
  data_ = static_cast<char*>(memory);
  capacity_ = capacity;
  mapped_ = length;
  return true;
}

void ReadBuffer::release() {
  if (data_ != nullptr) ::munmap(data_, mapped_);
  data_ = nullptr;
  capacity_ = 0;
  mapped_ = 0;
}

}  // namespace kinetra
