#pragma once

#include <cstddef>
#include <string_view>

namespace kinetra {

// Memory to read a whole file into: an anonymous private mapping, released on destruction. A
// large buffer asks for huge pages, so that filling megabytes costs a few page faults rather than
// one per 4 KiB page; a file of several megabytes is read this way at start-up, and page faults
// are much of the cost of reading it.
class ReadBuffer {
 public:
  // An empty buffer; allocate() gives it room.
  ReadBuffer() = default;
  ReadBuffer(const ReadBuffer&) = delete;
  ReadBuffer& operator=(const ReadBuffer&) = delete;
  ReadBuffer(ReadBuffer&& other) noexcept;
  ReadBuffer& operator=(ReadBuffer&& other) noexcept;
  ~ReadBuffer();

  // Room for `capacity` bytes, keeping the first `keep` bytes of what was there (keep ≤ both
  // sizes). False, with the buffer unchanged, when the memory cannot be had.
  bool allocate(std::size_t capacity, std::size_t keep = 0);

  char* data() { return data_; }
  std::size_t capacity() const { return capacity_; }
  // The first `size` bytes; precondition: size ≤ capacity().
  std::string_view view(std::size_t size) const { return {data_, size}; }

 private:
  void release();

  char* data_ = nullptr;
  std::size_t capacity_ = 0;
  std::size_t mapped_ = 0;
};

}  // namespace kinetra
