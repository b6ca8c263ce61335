#include "foundation/BinaryPropertyListScanner.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "foundation/PropertyList.h"

namespace kinetra {

namespace {

constexpr std::string_view kMagic = "bplist00";
constexpr std::size_t kTrailerSize = 32;

std::uint64_t readBigEndian(std::string_view bytes, std::uint64_t offset, unsigned width) {
  std::uint64_t value = 0;
  for (unsigned i = 0; i < width; ++i) {
    value = value << 8 | static_cast<unsigned char>(bytes[offset + i]);
  }
  return value;
}

struct Trailer {
  unsigned offsetSize = 0;
  unsigned referenceSize = 0;
  std::uint64_t objectCount = 0;
  std::uint64_t topObject = 0;
  std::uint64_t offsetTable = 0;
};

enum class ObjectKind { kLeaf, kString, kArray, kDictionary };

struct ObjectHeader {
  ObjectKind kind = ObjectKind::kLeaf;
  std::uint64_t count = 0;  // elements, or entries of a dictionary
  std::uint64_t contentStart = 0;
  std::uint64_t payload = 0;  // bytes of text or data libplist will copy
};

class Scan {
 public:
  Scan(std::string_view bytes, const Trailer& trailer)
      : bytes_(bytes),
        trailer_(trailer),
        state_(trailer.objectCount, kUnvisited),
        depth_(trailer.objectCount, 0),
        nodes_(trailer.objectCount, 0),
        payload_(trailer.objectCount, 0),
        maxNodes_(BinaryPropertyListScanner::maxNodes(bytes.size())),
        maxPayloadBytes_(BinaryPropertyListScanner::maxPayloadBytes(bytes.size())) {}

  Status run();
  const std::string& inexact() const { return inexact_; }
  std::vector<std::uint64_t> takeEmptyUtf16Text() { return std::move(emptyUtf16Text_); }

 private:
  static constexpr std::uint8_t kUnvisited = 0;
  static constexpr std::uint8_t kOnStack = 1;
  static constexpr std::uint8_t kDone = 2;

  struct Frame {
    std::uint64_t object;
    ObjectHeader header;
    std::uint64_t nextReference = 0;
    unsigned childDepth = 0;
    std::uint64_t nodes = 1;
    std::uint64_t payload = 0;
  };

  Status readHeader(std::uint64_t object, ObjectHeader& header) const;
  Status readCount(std::uint64_t offset, unsigned info, std::uint64_t elementSize,
                   ObjectHeader& header) const;
  std::uint64_t offsetOf(std::uint64_t object) const;
  bool holdsNul(std::uint64_t object, const ObjectHeader& header) const;
  const char* alteration(std::uint64_t object, const ObjectHeader& header) const;
  Status visit(std::uint64_t object);
  Status finishTop();
  Status accumulate(Frame& parent, std::uint64_t child);

  std::string_view bytes_;
  Trailer trailer_;
  std::vector<std::uint8_t> state_;
  std::vector<std::uint8_t> depth_;     // containers on the deepest path below and including it
  std::vector<std::uint32_t> nodes_;    // expanded nodes, at most maxNodes_
  std::vector<std::uint32_t> payload_;  // expanded bytes, at most maxPayloadBytes_
  std::uint64_t maxNodes_;
  std::uint64_t maxPayloadBytes_;
  std::vector<Frame> stack_;
  std::string inexact_;
  std::vector<std::uint64_t> emptyUtf16Text_;
};

Status corrupt(const std::string& message) { return Status::Corrupt("binary plist: " + message); }

Status Scan::readCount(std::uint64_t offset, unsigned info, std::uint64_t elementSize,
                       ObjectHeader& header) const {
  const std::uint64_t end = trailer_.offsetTable;
  std::uint64_t start = offset + 1;
  std::uint64_t count = info;
  if (info == 0xF) {
    if (start >= end) return corrupt("truncated object");
    auto marker = static_cast<unsigned char>(bytes_[start]);
    unsigned width = 1u << (marker & 0xF);
    if ((marker & 0xF0) != 0x10 || width > 8 || end - start - 1 < width) {
      return corrupt("malformed count");
    }
    count = readBigEndian(bytes_, start + 1, width);
    start += 1 + width;
  }
  if (start > end || count > (end - start) / elementSize)
    return corrupt("object runs past its table");
  header.count = count;
  header.contentStart = start;
  return Status::Ok();
}

std::uint64_t Scan::offsetOf(std::uint64_t object) const {
  return readBigEndian(bytes_, trailer_.offsetTable + object * trailer_.offsetSize,
                       trailer_.offsetSize);
}

Status Scan::readHeader(std::uint64_t object, ObjectHeader& header) const {
  const std::uint64_t offset = offsetOf(object);
  const std::uint64_t end = trailer_.offsetTable;
  if (offset < kMagic.size() || offset >= end) return corrupt("object offset out of range");
  auto marker = static_cast<unsigned char>(bytes_[offset]);
  unsigned info = marker & 0xF;
  header = ObjectHeader{};
  switch (marker >> 4) {
    case 0x0:
      if (info == 0x8 || info == 0x9) return Status::Ok();  // false, true
      return corrupt("null or fill object");
    case 0x1: {
      if (info > 4 || end - offset - 1 < (1u << info)) return corrupt("malformed integer");
      // 16-byte integers carry values above 2^63 - 1; only their lower half may be used.
      if (info == 4 && readBigEndian(bytes_, offset + 1, 8) != 0) {
        return corrupt("integer beyond 64 bits");
      }
      return Status::Ok();
    }
    case 0x2:
      if ((info != 2 && info != 3) || end - offset - 1 < (1u << info)) {
        return corrupt("malformed real");
      }
      return Status::Ok();
    case 0x3: {
      if (info != 3 || end - offset - 1 < 8) return corrupt("malformed date");
      double seconds = std::bit_cast<double>(readBigEndian(bytes_, offset + 1, 8));
      // libplist holds dates as 32-bit seconds since 2001; anything else would come out altered.
      if (!(seconds >= std::numeric_limits<std::int32_t>::min() &&
            seconds < std::numeric_limits<std::int32_t>::max() + 1.0)) {
        return corrupt("date out of range");
      }
      return Status::Ok();
    }
    case 0x4:
    case 0x5:
      if (Status status = readCount(offset, info, 1, header); !status.ok()) return status;
      header.kind = marker >> 4 == 0x5 ? ObjectKind::kString : ObjectKind::kLeaf;
      header.payload = header.count;
      return Status::Ok();
    case 0x6:
      if (Status status = readCount(offset, info, 2, header); !status.ok()) return status;
      header.kind = ObjectKind::kString;
      header.payload = header.count * 3;  // UTF-8 takes at most 3 bytes per UTF-16 unit
      return Status::Ok();
    case 0xA:
      if (Status status = readCount(offset, info, trailer_.referenceSize, header); !status.ok()) {
        return status;
      }
      header.kind = ObjectKind::kArray;
      return Status::Ok();
    case 0xD:
      if (Status status = readCount(offset, info, 2 * trailer_.referenceSize, header);
          !status.ok()) {
        return status;
      }
      header.kind = ObjectKind::kDictionary;
      return Status::Ok();
    default:
      return corrupt("unsupported object kind " + std::to_string(marker >> 4));
  }
}

Status Scan::run() {
  stack_.reserve(PropertyList::kMaxDepth + 1);
  if (Status status = visit(trailer_.topObject); !status.ok()) return status;
  while (!stack_.empty()) {
    Frame& frame = stack_.back();
    const std::uint64_t references =
        frame.header.count * (frame.header.kind == ObjectKind::kDictionary ? 2 : 1);
    if (frame.nextReference == references) {
      if (Status status = finishTop(); !status.ok()) return status;
      continue;
    }
    const std::uint64_t index = frame.nextReference++;
    const std::uint64_t child = readBigEndian(
        bytes_, frame.header.contentStart + index * trailer_.referenceSize, trailer_.referenceSize);
    if (child >= trailer_.objectCount) return corrupt("reference out of range");
    if (frame.header.kind == ObjectKind::kDictionary && index < frame.header.count) {
      ObjectHeader key;
      if (Status status = readHeader(child, key); !status.ok()) return status;
      if (key.kind != ObjectKind::kString) return corrupt("dictionary key that is not a string");
      if (holdsNul(child, key)) return corrupt("dictionary key holding a NUL character");
    }
    if (state_[child] == kOnStack) return corrupt("reference cycle");
    if (state_[child] == kUnvisited) {
      if (Status status = visit(child); !status.ok()) return status;
      if (state_[child] == kOnStack) continue;  // a container: its children come first
    }
    if (Status status = accumulate(stack_.back(), child); !status.ok()) return status;
  }
  return Status::Ok();
}

// libplist keeps keys as C strings and aborts on a key with a NUL character inside.
bool Scan::holdsNul(std::uint64_t object, const ObjectHeader& header) const {
  const std::uint64_t offset = offsetOf(object);
  bool utf16 = static_cast<unsigned char>(bytes_[offset]) >> 4 == 0x6;
  std::string_view text = bytes_.substr(header.contentStart, header.count * (utf16 ? 2 : 1));
  if (!utf16) return text.find('\0') != std::string_view::npos;
  for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
    if (text[i] == '\0' && text[i + 1] == '\0') return true;
  }
  return false;
}

// What libplist will alter in reading the leaf `object`, or null. The header has been read, so
// its bytes lie within the table.
const char* Scan::alteration(std::uint64_t object, const ObjectHeader& header) const {
  const std::uint64_t offset = offsetOf(object);
  const auto marker = static_cast<unsigned char>(bytes_[offset]);
  if (marker == 0x33) {
    double seconds = std::bit_cast<double>(readBigEndian(bytes_, offset + 1, 8));
    return seconds == std::floor(seconds) ? nullptr : "a date with a fraction of a second";
  }
  if (marker >> 4 == 0x5) {
    std::string_view text = bytes_.substr(header.contentStart, header.count);
    return text.find('\0') == std::string_view::npos ? nullptr : "text holding a NUL character";
  }
  if (marker >> 4 != 0x6) return nullptr;
  auto unitAt = [&](std::uint64_t i) {
    return readBigEndian(bytes_, header.contentStart + 2 * i, 2);
  };
  auto isLow = [](std::uint64_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; };
  for (std::uint64_t i = 0; i < header.count; ++i) {
    const std::uint64_t unit = unitAt(i);
    if (unit < 0xD800 || unit > 0xDFFF) continue;
    if (isLow(unit) || i + 1 == header.count || !isLow(unitAt(i + 1))) {
      return "UTF-16 text with a lone surrogate";
    }
    ++i;  // the pair's low half
  }
  return nullptr;
}

// Marks a new object: a leaf is finished at once, a container goes on the stack.
Status Scan::visit(std::uint64_t object) {
  ObjectHeader header;
  if (Status status = readHeader(object, header); !status.ok()) return status;
  if (header.kind != ObjectKind::kArray && header.kind != ObjectKind::kDictionary) {
    if (const char* altered = alteration(object, header); altered != nullptr && inexact_.empty()) {
      inexact_ = std::string("binary plist: ") + altered;
    }
    if (header.kind == ObjectKind::kString && header.count == 0 &&
        static_cast<unsigned char>(bytes_[offsetOf(object)]) >> 4 == 0x6) {
      emptyUtf16Text_.push_back(offsetOf(object));
    }
    if (header.payload > maxPayloadBytes_) {
      return Status::TooLarge("binary plist: text or data too large");
    }
    state_[object] = kDone;
    nodes_[object] = 1;
    payload_[object] = static_cast<std::uint32_t>(header.payload);
    return Status::Ok();
  }
  if (stack_.size() + 1 > static_cast<std::size_t>(PropertyList::kMaxDepth)) {
    return Status::TooLarge("binary plist: containers nested deeper than " +
                            std::to_string(PropertyList::kMaxDepth));
  }
  state_[object] = kOnStack;
  stack_.push_back(Frame{object, header});
  return Status::Ok();
}

Status Scan::finishTop() {
  Frame frame = stack_.back();
  stack_.pop_back();
  state_[frame.object] = kDone;
  depth_[frame.object] = static_cast<std::uint8_t>(frame.childDepth + 1);
  nodes_[frame.object] = static_cast<std::uint32_t>(frame.nodes);
  payload_[frame.object] = static_cast<std::uint32_t>(frame.payload);
  if (stack_.empty()) return Status::Ok();
  return accumulate(stack_.back(), frame.object);
}

Status Scan::accumulate(Frame& parent, std::uint64_t child) {
  // The parent sits at depth stack_.size(); a finished shared container may hang deeper here
  // than where it was first met.
  if (stack_.size() + depth_[child] > static_cast<std::size_t>(PropertyList::kMaxDepth)) {
    return Status::TooLarge("binary plist: containers nested deeper than " +
                            std::to_string(PropertyList::kMaxDepth));
  }
  parent.childDepth = std::max<unsigned>(parent.childDepth, depth_[child]);
  parent.nodes += nodes_[child];
  parent.payload += payload_[child];
  if (parent.nodes > maxNodes_) {
    return Status::TooLarge("binary plist: expands to too many values");
  }
  if (parent.payload > maxPayloadBytes_) {
    return Status::TooLarge("binary plist: expands to too much text and data");
  }
  return Status::Ok();
}

Status readTrailer(std::string_view bytes, Trailer& trailer) {
  if (bytes.size() < kMagic.size() + 1 + kTrailerSize) return corrupt("too short");
  if (bytes.substr(0, kMagic.size()) != kMagic) return corrupt("unknown version");
  const std::uint64_t at = bytes.size() - kTrailerSize;
  trailer.offsetSize = static_cast<unsigned char>(bytes[at + 6]);
  trailer.referenceSize = static_cast<unsigned char>(bytes[at + 7]);
  trailer.objectCount = readBigEndian(bytes, at + 8, 8);
  trailer.topObject = readBigEndian(bytes, at + 16, 8);
  trailer.offsetTable = readBigEndian(bytes, at + 24, 8);
  if (trailer.offsetSize < 1 || trailer.offsetSize > 8 || trailer.referenceSize < 1 ||
      trailer.referenceSize > 8) {
    return corrupt("bad offset or reference size");
  }
  if (trailer.objectCount == 0 || trailer.topObject >= trailer.objectCount) {
    return corrupt("bad object count");
  }
  if (trailer.objectCount > BinaryPropertyListScanner::kMaxNodes) {
    return Status::TooLarge("binary plist: too many objects");
  }
  if (trailer.offsetTable <= kMagic.size() || trailer.offsetTable > at ||
      trailer.objectCount > (at - trailer.offsetTable) / trailer.offsetSize) {
    return corrupt("bad offset table");
  }
  return Status::Ok();
}

}  // namespace

Result<BinaryPropertyListScanner::Findings> BinaryPropertyListScanner::check(
    std::string_view bytes) {
  Trailer trailer;
  if (Status status = readTrailer(bytes, trailer); !status.ok()) return status;
  Scan scan(bytes, trailer);
  if (Status status = scan.run(); !status.ok()) return status;
  return Findings{scan.inexact(), scan.takeEmptyUtf16Text()};
}

}  // namespace kinetra
