#pragma once

#include <functional>
#include <string>

#include "ui/View.h"

namespace kinetra {

// The view of a navigation or tab bar controller: it lets its controller arrange it (the top
// screen's view, the bars) before its subviews lay themselves out.
class ContainerView : public View {
 public:
  ContainerView(Rect frame, std::string kind, std::function<void()> arrange)
      : View(frame), kind_(std::move(kind)), arrange_(std::move(arrange)) {}

  std::string kind() const override { return kind_; }

  void layoutIfNeeded() override {
    if (arrange_) arrange_();
    View::layoutIfNeeded();
  }

 private:
  std::string kind_;
  std::function<void()> arrange_;
};

}  // namespace kinetra
