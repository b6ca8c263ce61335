#pragma once

#include <string>

#include "ui/TextRange.h"
#include "ui/Trackable.h"

namespace kinetra {

class TextView;

// What a text view asks and tells its delegate. Every operation has a default: allow
// everything, do nothing.
class TextViewDelegate : public virtual Trackable {
 public:
  virtual ~TextViewDelegate() = default;

  virtual bool textViewShouldBeginEditing(TextView&) { return true; }
  virtual void textViewDidBeginEditing(TextView&) {}
  virtual void textViewDidEndEditing(TextView&) {}
  // textView:shouldChangeTextInRange:replacementText: — false refuses the change. The return
  // key arrives here as a line feed.
  virtual bool shouldChangeTextInRange(TextView&, TextRange, const std::string&) { return true; }
  virtual void textViewDidChange(TextView&) {}
};

}  // namespace kinetra
