#pragma once

#include <memory>

namespace kinetra {

// Gives an object a lifetime token that WeakRef can watch, so that toolkit objects holding
// non-owning references (a table's data source, a navigation item's bar buttons, the first
// responder) never reach an object that has been destroyed. Inherit it virtually: a screen that
// is a data source, a delegate and a view controller at once still has one token.
//
// Copying an object gives the copy a token of its own.
class Trackable {
 public:
  Trackable() = default;
  Trackable(const Trackable&) : token_(std::make_shared<char>()) {}
  Trackable& operator=(const Trackable&) { return *this; }

  std::weak_ptr<const void> lifetimeToken() const { return token_; }

 protected:
  ~Trackable() = default;

 private:
  std::shared_ptr<char> token_ = std::make_shared<char>();
};

// A non-owning reference that reads as null once its object is destroyed.
template <typename T>
class WeakRef {
 public:
  WeakRef() = default;
  WeakRef(T* object)  // NOLINT: implicit by design, like a pointer
      : object_(object),
        token_(object != nullptr ? object->lifetimeToken() : std::weak_ptr<const void>()) {}

  T* get() const { return token_.expired() ? nullptr : object_; }
  T* operator->() const { return get(); }
  explicit operator bool() const { return get() != nullptr; }
  void reset() { *this = WeakRef(); }

  friend bool operator==(const WeakRef& a, const WeakRef& b) { return a.get() == b.get(); }
  friend bool operator==(const WeakRef& a, const T* b) { return a.get() == b; }

 private:
  T* object_ = nullptr;
  std::weak_ptr<const void> token_;
};

}  // namespace kinetra
