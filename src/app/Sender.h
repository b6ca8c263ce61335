#pragma once

namespace kinetra {

class BarButtonItem;
class Control;

// The object that sent an action: a control, a bar button item, or nothing when code calls the
// action directly. Actions take it, as the device's do, and ignore it.
class Sender {
 public:
  Sender() = default;
  Sender(const Control& control) : object_(&control) {}  // NOLINT: implicit by design
  Sender(const BarButtonItem& item) : object_(&item) {}  // NOLINT: implicit by design

  const void* object() const { return object_; }

 private:
  const void* object_ = nullptr;
};

}  // namespace kinetra
