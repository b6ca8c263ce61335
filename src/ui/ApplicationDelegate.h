#pragma once

#include "ui/Trackable.h"

namespace kinetra {

class Application;

// The application's delegate: the system's shared state, reached by every screen through
// Application::shared().delegate().
class ApplicationDelegate : public virtual Trackable {
 public:
  virtual ~ApplicationDelegate() = default;

  // Called once by Application::launch, after the delegate is set.
  virtual void applicationDidFinishLaunching(Application& application) = 0;
};

}  // namespace kinetra
