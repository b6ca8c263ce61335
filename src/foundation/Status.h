#pragma once

#include <string>
#include <utility>
#include <variant>

namespace kinetra {

// The outcome of an operation that can fail. Errors are values: nothing in the lower layers
// throws across a public interface. A default Status is success. The compiler flags one
// dropped unread; a caller that deliberately goes on after a failure says so with
// static_cast<void>(...) and a comment giving the reason.
class [[nodiscard]] Status {
 public:
  enum class Code {
    kOk,
    kNotFound,         // the file, resource or host is not there
    kInvalidArgument,  // the caller passed something unusable (a name holding "/", ...)
    kCorrupt,          // the bytes do not parse, or parse to the wrong kind
    kTooLarge,         // input over a size, depth or pixel limit
    kIOError,          // the operating system refused a read or write
    kNetworkError,     // resolve, connect, read or write on a socket failed
    kTlsError,         // handshake or certificate verification failed
    kCancelled,        // the operation was abandoned (stream closed, timer invalidated)
  };

  Status() = default;

  static Status Ok() { return {}; }
  static Status NotFound(std::string message) { return {Code::kNotFound, std::move(message)}; }
  static Status InvalidArgument(std::string message) {
    return {Code::kInvalidArgument, std::move(message)};
  }
  static Status Corrupt(std::string message) { return {Code::kCorrupt, std::move(message)}; }
  static Status TooLarge(std::string message) { return {Code::kTooLarge, std::move(message)}; }
  static Status IOError(std::string message) { return {Code::kIOError, std::move(message)}; }
  static Status NetworkError(std::string message) {
    return {Code::kNetworkError, std::move(message)};
  }
  static Status TlsError(std::string message) { return {Code::kTlsError, std::move(message)}; }
  static Status Cancelled(std::string message) { return {Code::kCancelled, std::move(message)}; }

  bool ok() const { return code_ == Code::kOk; }
  Code code() const { return code_; }
  const std::string& message() const { return message_; }

  // "ok", or the code's name followed by the message, for diagnostics.
  std::string toString() const;

 private:
  Status(Code code, std::string message) : code_(code), message_(std::move(message)) {}

  Code code_ = Code::kOk;
  std::string message_;
};

// A value or the Status that explains its absence. Construct from either; an ok Status is not
// a valid error.
template <typename T>
class [[nodiscard]] Result {
 public:
  Result(T value) : state_(std::move(value)) {}       // NOLINT: implicit by design
  Result(Status error) : state_(std::move(error)) {}  // NOLINT: implicit by design

  bool ok() const { return std::holds_alternative<T>(state_); }
  explicit operator bool() const { return ok(); }

  // Precondition: ok().
  T& value() & { return std::get<T>(state_); }
  const T& value() const& { return std::get<T>(state_); }
  T&& value() && { return std::get<T>(std::move(state_)); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }
  T& operator*() & { return value(); }
  const T& operator*() const& { return value(); }

  // Ok when a value is held.
  Status status() const { return ok() ? Status::Ok() : std::get<Status>(state_); }

 private:
  std::variant<T, Status> state_;
};

}  // namespace kinetra
