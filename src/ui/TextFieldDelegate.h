#pragma once

#include <string>

#include "ui/TextRange.h"
#include "ui/Trackable.h"

namespace kinetra {

class TextField;

// What a text field asks and tells its delegate. Every operation has a default: allow
// everything, do nothing.
class TextFieldDelegate : public virtual Trackable {
 public:
  virtual ~TextFieldDelegate() = default;

  virtual bool textFieldShouldBeginEditing(TextField&) { return true; }
  virtual void textFieldDidBeginEditing(TextField&) {}
  virtual void textFieldDidEndEditing(TextField&) {}
  // textField:shouldChangeCharactersInRange:replacementString:
  virtual bool shouldChangeCharactersInRange(TextField&, TextRange, const std::string&) {
    return true;
  }
  // The return key was pressed; the field does nothing else on return.
  virtual bool textFieldShouldReturn(TextField&) { return true; }
};

}  // namespace kinetra
