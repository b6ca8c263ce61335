#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "ui/Animated.h"
#include "ui/AnimationRecorder.h"
#include "ui/ApplicationDelegate.h"
#include "ui/FileToSave.h"
#include "ui/ScreenDescription.h"
#include "ui/Trackable.h"
#include "ui/Window.h"

namespace kinetra {

class Clock;
class Responder;

// The application singleton (sharedApplication): its delegate, its window, the status bar, the
// keyboard focus, the view animation blocks and the counter that names views. It is the only
// process-wide state of the toolkit. Everything runs on the run loop's thread.
class Application {
 public:
  static constexpr double kStatusBarHeight = 20;

  static Application& shared();

  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // UIApplicationMain: sets the delegate and calls applicationDidFinishLaunching.
  void launch(ApplicationDelegate& delegate);
  // The delegate, or null when none was set or it is gone.
  ApplicationDelegate* delegate() const { return delegate_.get(); }
  void setDelegate(ApplicationDelegate* delegate) { delegate_ = delegate; }

  Window& window();

  bool isStatusBarHidden() const { return statusBarHidden_; }
  void setStatusBarHidden(bool hidden, Animated animated);

  // The run loop's clock, on which animation stop callbacks are scheduled. The caller keeps it
  // alive until it sets another one or null.
  void setClock(Clock* clock) { animations_.setClock(clock); }

  // The current keyboard focus, if any.
  Responder* firstResponder() const { return firstResponder_.get(); }

  AnimationRecorder& animations() { return animations_; }

  // A new view identifier; never 0, never repeated.
  ViewId nextViewIdentifier() { return nextViewIdentifier_++; }
  // The view with this identifier in the window's tree (hidden ones included), or null.
  View* viewWithIdentifier(ViewId identifier);

  // Brings bars, cells and other internal views of the window up to date.
  void layoutIfNeeded();

  // What is on the screen now, and the animations requested since the last description.
  ScreenDescription describeScreen();

  // Hands the user `file` to keep: the device offers it (a browser downloads it) once. Files
  // wait, oldest first, until the device takes them.
  void offerFileToSave(FileToSave file) { filesToSave_.push_back(std::move(file)); }
  // The files offered since the last call, oldest first; the device calls it after each event.
  std::vector<FileToSave> takeFilesToSave() { return std::exchange(filesToSave_, {}); }

  // Asks the device to vibrate: milliseconds on, off, on, ... (a browser that cannot vibrate
  // does nothing). Each length is brought into [0, kMaxVibrationMilliseconds] and only the first
  // kMaxVibrationSteps are kept; an empty pattern asks for nothing. Requests wait, oldest first,
  // until the device takes them.
  static constexpr int kMaxVibrationMilliseconds = 5000;
  static constexpr std::size_t kMaxVibrationSteps = 16;
  // At most kMaxPendingVibrations wait; a new one pushes out the oldest.
  static constexpr std::size_t kMaxPendingVibrations = 4;
  void vibrate(std::vector<int> pattern);
  // The vibrations asked for since the last call, oldest first; the device calls it whenever it
  // sends a frame.
  std::vector<std::vector<int>> takeVibrations() { return std::exchange(vibrations_, {}); }

  // Back to the state at process start (a new window, no delegate, no focus, no clock, status
  // bar shown). View identifiers keep counting. For tests.
  void reset();

 private:
  friend class Responder;

  Application() = default;
  void setFirstResponder(Responder* responder) { firstResponder_ = responder; }

  WeakRef<ApplicationDelegate> delegate_;
  std::unique_ptr<Window> window_;  // made on first use: views ask this object for their ids
  bool statusBarHidden_ = false;
  WeakRef<Responder> firstResponder_;
  AnimationRecorder animations_;
  ViewId nextViewIdentifier_ = 1;
  std::vector<FileToSave> filesToSave_;
  std::vector<std::vector<int>> vibrations_;
};

}  // namespace kinetra
