#include "foundation/PropertyListReader.h"

#include <fcntl.h>
#include <plist/plist.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <utility>

#include "foundation/BinaryPropertyListScanner.h"
#include "foundation/PropertyListWriter.h"
#include "foundation/ReadBuffer.h"
#include "foundation/XmlPropertyListParser.h"

namespace kinetra {

namespace {

constexpr std::string_view kBinaryMagic = "bplist";
constexpr double kSecondsFrom1970To2001 = 978307200.0;

struct PlistFree {
  void operator()(void* node) const { plist_free(node); }
};
using PlistNode = std::unique_ptr<void, PlistFree>;

// For memory libplist allocates with malloc and leaves to the caller (keys, iterators).
struct MallocFree {
  void operator()(void* memory) const { std::free(memory); }
};

Status corrupt(const std::string& message) { return Status::Corrupt("binary plist: " + message); }

// libplist 2.2 keeps every integer as 64 bits and remembers, out of reach of its getters,
// whether it was read as an unsigned value above 2^63 - 1. A node made afresh from the same bits
// is signed; the two compare equal only when the original was signed too.
PropertyList::Integer integerOf(plist_t node) {
  std::uint64_t bits = 0;
  plist_get_uint_val(node, &bits);
  if (bits <= static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
    return PropertyList::Integer::fromUnsigned(bits);
  }
  PlistNode signedNode(plist_new_uint(bits));
  if (plist_compare_node_value(node, signedNode.get()) == 0) {
    return PropertyList::Integer::fromUnsigned(bits);
  }
  return PropertyList::Integer(static_cast<std::int64_t>(bits));
}

// Text longer than this is cut short in a diagnostic line.
constexpr std::size_t kExcerptLength = 40;

std::string excerpt(std::string_view text) {
  return text.size() <= kExcerptLength ? std::string(text)
                                       : std::string(text.substr(0, kExcerptLength)) + "...";
}

class LibplistConverter {
 public:
  // The first thing found that the value cannot keep exactly; empty when there is none.
  const std::string& inexact() const { return inexact_; }

  Status convert(plist_t node, int depth, PropertyList& out) {
    switch (plist_get_node_type(node)) {
      case PLIST_STRING:
        return convertString(node, out);
      case PLIST_ARRAY:
        return convertArray(node, depth, out);
      case PLIST_DICT:
        return convertDictionary(node, depth, out);
      case PLIST_UINT:
        out = integerOf(node);
        return Status::Ok();
      case PLIST_REAL: {
        double value = 0;
        plist_get_real_val(node, &value);
        out = value;
        return Status::Ok();
      }
      case PLIST_BOOLEAN: {
        std::uint8_t value = 0;
        plist_get_bool_val(node, &value);
        out = value != 0;
        return Status::Ok();
      }
      case PLIST_DATE: {
        std::int32_t seconds = 0;
        std::int32_t microseconds = 0;
        plist_get_date_val(node, &seconds, &microseconds);
        out = Date(kSecondsFrom1970To2001 + seconds + microseconds / 1e6);
        return Status::Ok();
      }
      case PLIST_DATA: {
        std::uint64_t length = 0;
        const auto* bytes =
            reinterpret_cast<const std::uint8_t*>(plist_get_data_ptr(node, &length));
        out = PropertyList::Data(bytes, bytes + length);
        return Status::Ok();
      }
      default:
        return corrupt("unsupported value kind");
    }
  }

 private:
  void noteInexact(std::string reason) {
    if (inexact_.empty()) inexact_ = "binary plist: " + std::move(reason);
  }

  // Text as the value holds it: repaired, and noted, when XML could not carry it as it is (bytes
  // that are not UTF-8, control characters, U+FFFE or U+FFFF).
  std::string keptText(std::string_view raw) {
    if (PropertyListWriter::carriesText(raw)) return std::string(raw);
    std::string repaired = PropertyListWriter::repairedText(raw);
    noteInexact("text XML cannot carry: " + excerpt(repaired));
    return repaired;
  }

  Status convertString(plist_t node, PropertyList& out) {
    std::uint64_t length = 0;
    const char* raw = plist_get_string_ptr(node, &length);
    out = keptText(std::string_view(raw, length));
    return Status::Ok();
  }

  Status enter(int depth) const {
    if (depth >= PropertyList::kMaxDepth) return Status::TooLarge("binary plist: nested too deep");
    return Status::Ok();
  }

  Status convertArray(plist_t node, int depth, PropertyList& out) {
    if (Status status = enter(depth); !status.ok()) return status;
    PropertyList::Array array;
    array.reserve(plist_array_get_size(node));
    plist_array_iter rawIterator = nullptr;
    plist_array_new_iter(node, &rawIterator);
    std::unique_ptr<void, MallocFree> iterator(rawIterator);
    while (true) {
      plist_t item = nullptr;
      plist_array_next_item(node, iterator.get(), &item);
      if (item == nullptr) break;
      if (Status status = convert(item, depth + 1, array.emplace_back()); !status.ok()) {
        return status;
      }
    }
    out = std::move(array);
    return Status::Ok();
  }

  Status convertDictionary(plist_t node, int depth, PropertyList& out) {
    if (Status status = enter(depth); !status.ok()) return status;
    PropertyList::Dictionary::Entries entries;
    plist_dict_iter rawIterator = nullptr;
    plist_dict_new_iter(node, &rawIterator);
    std::unique_ptr<void, MallocFree> iterator(rawIterator);
    while (true) {
      char* rawKey = nullptr;
      plist_t item = nullptr;
      plist_dict_next_item(node, iterator.get(), &rawKey, &item);
      std::unique_ptr<char, MallocFree> key(rawKey);
      if (item == nullptr) break;
      if (key == nullptr) return corrupt("key that is not text");
      PropertyList value;
      if (Status status = convert(item, depth + 1, value); !status.ok()) return status;
      entries.emplace_back(keptText(key.get()), std::move(value));
    }
    out = PropertyList::Dictionary::fromEntries(std::move(entries), [this](const std::string& key) {
      noteInexact("key repeated: " + excerpt(key));
    });
    return Status::Ok();
  }

  std::string inexact_;
};

Result<PropertyListReading> parseBinary(std::string_view bytes) {
  Result<BinaryPropertyListScanner::Findings> findings = BinaryPropertyListScanner::check(bytes);
  if (!findings.ok()) return findings.status();
  // libplist refuses empty UTF-16 text; the same object as empty ASCII text reads as it should.
  std::string patched;
  if (!findings->emptyUtf16Text.empty()) {
    patched.assign(bytes);
    for (const std::uint64_t offset : findings->emptyUtf16Text) {
      patched[offset] =
          static_cast<char>(0x50 | (static_cast<unsigned char>(patched[offset]) & 0xF));
    }
    bytes = patched;
  }
  plist_t raw = nullptr;
  plist_from_bin(bytes.data(), static_cast<std::uint32_t>(bytes.size()), &raw);
  PlistNode root(raw);
  if (root == nullptr) return corrupt("does not parse");
  PropertyListReading reading;
  LibplistConverter converter;
  if (Status status = converter.convert(root.get(), 0, reading.value); !status.ok()) {
    return status;
  }
  reading.inexact = findings->inexact.empty() ? converter.inexact() : findings->inexact;
  return reading;
}

// "128 MiB", or the number of bytes when it is not a whole number of mebibytes.
std::string describeLimit(std::size_t maxBytes) {
  constexpr std::size_t kMebibyte = std::size_t{1} << 20;
  if (maxBytes % kMebibyte == 0) return std::to_string(maxBytes / kMebibyte) + " MiB";
  return std::to_string(maxBytes) + " bytes";
}

// Refuses a value the writer could not write back within `maxBytes`.
Status checkWritable(const PropertyList& value, std::size_t maxBytes) {
  Result<std::size_t> size = PropertyListWriter::serialisedSize(value, maxBytes);
  if (size.ok()) return Status::Ok();
  if (size.status().code() == Status::Code::kTooLarge) {
    return Status::TooLarge("property list whose XML form is over " + describeLimit(maxBytes));
  }
  return Status::Corrupt("property list that cannot be written back: " + size.status().message());
}

// Owns a file descriptor for the duration of a read.
class ReadableFile {
 public:
  explicit ReadableFile(const std::filesystem::path& path)
      : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK)) {}
  ReadableFile(const ReadableFile&) = delete;
  ReadableFile& operator=(const ReadableFile&) = delete;
  ~ReadableFile() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }

 private:
  int fd_;
};

std::string describe(const std::filesystem::path& path, const char* what) {
  return path.string() + ": " + what;
}

// Reads at most kMaxFileBytes + 1 bytes, so that a file growing under the reader is still
// bounded; `size` is how many were read.
Status readAll(int fd, const std::filesystem::path& path, std::size_t expected, ReadBuffer& out,
               std::size_t& size) {
  constexpr std::size_t kLimit = PropertyListReader::kMaxFileBytes + 1;
  size = 0;
  if (!out.allocate(std::min(expected + 1, kLimit))) {
    return Status::IOError(describe(path, "no memory to read it into"));
  }
  while (true) {
    if (size == out.capacity()) {
      if (out.capacity() >= kLimit) break;
      if (!out.allocate(std::min(out.capacity() * 2, kLimit), size)) {
        return Status::IOError(describe(path, "no memory to read it into"));
      }
    }
    ssize_t got = ::read(fd, out.data() + size, out.capacity() - size);
    if (got < 0) {
      if (errno == EINTR) continue;
      return Status::IOError(describe(path, std::strerror(errno)));
    }
    if (got == 0) break;
    size += static_cast<std::size_t>(got);
  }
  return Status::Ok();
}

Result<PropertyListReading> readFileReading(const std::filesystem::path& path) {
  constexpr std::size_t kMaxBytes = PropertyListReader::kMaxFileBytes;
  ReadableFile file(path);
  if (file.get() < 0) {
    int error = errno;
    if (error == ENOENT || error == ENOTDIR)
      return Status::NotFound(describe(path, "no such file"));
    return Status::IOError(describe(path, std::strerror(error)));
  }
  struct stat info {};
  if (::fstat(file.get(), &info) != 0) return Status::IOError(describe(path, std::strerror(errno)));
  if (!S_ISREG(info.st_mode)) return Status::IOError(describe(path, "not a regular file"));
  if (static_cast<std::uintmax_t>(info.st_size) > kMaxBytes) {
    return Status::TooLarge(describe(path, ("over " + describeLimit(kMaxBytes)).c_str()));
  }
  ReadBuffer buffer;
  std::size_t size = 0;
  if (Status status =
          readAll(file.get(), path, static_cast<std::size_t>(info.st_size), buffer, size);
      !status.ok()) {
    return status;
  }
  Result<PropertyListReading> reading = PropertyListReader::read(buffer.view(size), kMaxBytes);
  if (!reading.ok()) {
    const Status& error = reading.status();
    return error.code() == Status::Code::kTooLarge
               ? Status::TooLarge(describe(path, error.message().c_str()))
               : Status::Corrupt(describe(path, error.message().c_str()));
  }
  return reading;
}

}  // namespace

Result<PropertyListReading> PropertyListReader::read(std::string_view bytes, std::size_t maxBytes) {
  if (bytes.size() > maxBytes) {
    return Status::TooLarge("property list over " + describeLimit(maxBytes));
  }
  if (bytes.substr(0, kBinaryMagic.size()) == kBinaryMagic) {
    Result<PropertyListReading> reading = parseBinary(bytes);
    if (!reading.ok()) return reading;
    if (Status status = checkWritable(reading->value, maxBytes); !status.ok()) return status;
    return reading;
  }
  Result<XmlPropertyListParser::CountedReading> counted =
      XmlPropertyListParser::parseCounted(bytes);
  if (!counted.ok()) return counted.status();
  // Sizing the value walks all of it; a document well within the limit cannot need it.
  if (PropertyListWriter::xmlSizeBound(bytes.size(), counted->elements, counted->deepest) >
      maxBytes) {
    if (Status status = checkWritable(counted->reading.value, maxBytes); !status.ok()) {
      return status;
    }
  }
  return std::move(counted->reading);
}

Result<PropertyList> PropertyListReader::parse(std::string_view bytes, std::size_t maxBytes) {
  Result<PropertyListReading> reading = read(bytes, maxBytes);
  if (!reading.ok()) return reading.status();
  return std::move(reading->value);
}

Result<PropertyList> PropertyListReader::readFile(const std::filesystem::path& path) {
  Result<PropertyListReading> reading = readFileReading(path);
  if (!reading.ok()) return reading.status();
  return std::move(reading->value);
}

Result<PropertyListReading> loadPropertyListReading(const std::filesystem::path& path,
                                                    PropertyList::Kind expected) {
  Result<PropertyListReading> reading = readFileReading(path);
  if (!reading.ok()) return reading;
  if (reading->value.kind() != expected) {
    return Status::Corrupt(path.string() + ": top level is " +
                           PropertyList::kindName(reading->value.kind()) + ", expected " +
                           PropertyList::kindName(expected));
  }
  return reading;
}

Result<PropertyList> loadPropertyList(const std::filesystem::path& path,
                                      PropertyList::Kind expected) {
  Result<PropertyListReading> reading = loadPropertyListReading(path, expected);
  if (!reading.ok()) return reading.status();
  return std::move(reading->value);
}

}  // namespace kinetra
