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
#include "foundation/XmlCharacter.h"
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

bool isUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    if (static_cast<unsigned char>(text[i]) < 0x80) {
      ++i;
      continue;
    }
    std::size_t length = xmlCharacterLength(text.substr(i));
    if (length == 0) return false;
    i += length;
  }
  return true;
}

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

class LibplistConverter {
 public:
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
  static Status convertString(plist_t node, PropertyList& out) {
    std::uint64_t length = 0;
    const char* text = plist_get_string_ptr(node, &length);
    std::string_view view(text, length);
    if (!isUtf8(view)) return corrupt("string that is not UTF-8");
    out = view;
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
    PropertyList::Dictionary dictionary;
    plist_dict_iter rawIterator = nullptr;
    plist_dict_new_iter(node, &rawIterator);
    std::unique_ptr<void, MallocFree> iterator(rawIterator);
    while (true) {
      char* rawKey = nullptr;
      plist_t item = nullptr;
      plist_dict_next_item(node, iterator.get(), &rawKey, &item);
      std::unique_ptr<char, MallocFree> key(rawKey);
      if (item == nullptr) break;
      if (key == nullptr || !isUtf8(key.get())) return corrupt("key that is not UTF-8");
      PropertyList value;
      if (Status status = convert(item, depth + 1, value); !status.ok()) return status;
      dictionary.insert_or_assign(std::string(key.get()), std::move(value));
    }
    out = std::move(dictionary);
    return Status::Ok();
  }
};

Result<PropertyList> parseBinary(std::string_view bytes) {
  if (Status status = BinaryPropertyListScanner::check(bytes); !status.ok()) return status;
  plist_t raw = nullptr;
  plist_from_bin(bytes.data(), static_cast<std::uint32_t>(bytes.size()), &raw);
  PlistNode root(raw);
  if (root == nullptr) return corrupt("does not parse");
  PropertyList value;
  LibplistConverter converter;
  if (Status status = converter.convert(root.get(), 0, value); !status.ok()) return status;
  return value;
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
// bounded.
Status readAll(int fd, const std::filesystem::path& path, std::size_t expected, std::string& out) {
  constexpr std::size_t kLimit = PropertyListReader::kMaxFileBytes + 1;
  out.resize(std::min(expected + 1, kLimit));
  std::size_t used = 0;
  while (true) {
    if (used == out.size()) {
      if (out.size() >= kLimit) break;
      out.resize(std::min(out.size() * 2, kLimit));
    }
    ssize_t got = ::read(fd, out.data() + used, out.size() - used);
    if (got < 0) {
      if (errno == EINTR) continue;
      return Status::IOError(describe(path, std::strerror(errno)));
    }
    if (got == 0) break;
    used += static_cast<std::size_t>(got);
  }
  out.resize(used);
  return Status::Ok();
}

}  // namespace

Result<PropertyList> PropertyListReader::parse(std::string_view bytes) {
  if (bytes.size() > kMaxFileBytes) return Status::TooLarge("property list over 64 MiB");
  if (bytes.substr(0, kBinaryMagic.size()) == kBinaryMagic) return parseBinary(bytes);
  return XmlPropertyListParser::parse(bytes);
}

Result<PropertyList> PropertyListReader::readFile(const std::filesystem::path& path) {
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
  if (static_cast<std::uintmax_t>(info.st_size) > kMaxFileBytes) {
    return Status::TooLarge(describe(path, "over 64 MiB"));
  }
  std::string bytes;
  if (Status status = readAll(file.get(), path, static_cast<std::size_t>(info.st_size), bytes);
      !status.ok()) {
    return status;
  }
  Result<PropertyList> value = parse(bytes);
  if (!value.ok()) {
    const Status& error = value.status();
    return error.code() == Status::Code::kTooLarge
               ? Status::TooLarge(describe(path, error.message().c_str()))
               : Status::Corrupt(describe(path, error.message().c_str()));
  }
  return value;
}

Result<PropertyList> loadPropertyList(const std::filesystem::path& path,
                                      PropertyList::Kind expected) {
  Result<PropertyList> value = PropertyListReader::readFile(path);
  if (!value.ok()) return value;
  if (value->kind() != expected) {
    return Status::Corrupt(path.string() + ": top level is " +
                           PropertyList::kindName(value->kind()) + ", expected " +
                           PropertyList::kindName(expected));
  }
  return value;
}

}  // namespace kinetra
