#pragma once

#include <filesystem>
#include <memory>

#include "app/VelomarAppDelegate.h"
#include "foundation/PropertyList.h"
#include "foundation/RunLoop.h"
#include "shell/FrameEncoder.h"
#include "shell/PictureStore.h"
#include "ui/Finger.h"

namespace kinetra {

// The application launched on a documents folder of its own holding `strength`, its aerobic log
// (SyntheticLog::aerobicFor) and `workouts`, with the finger the shell's events go through and
// the encoder of the frames it sends. The folder goes with the session.
struct AppSession {
  AppSession(const std::filesystem::path& resources, const PropertyList& strength,
             const PropertyList& workouts = PropertyList::Array{});
  ~AppSession();
  AppSession(const AppSession&) = delete;
  AppSession& operator=(const AppSession&) = delete;

  // What the shell does after an event: the screen described and encoded; the text's length.
  std::size_t frame();
  MainInterface& ui() { return app->interface(); }

  std::filesystem::path documents;
  std::unique_ptr<RunLoop> loop;
  std::unique_ptr<VelomarAppDelegate> app;
  PictureStore pictures;
  FrameEncoder encoder;
  Finger finger;
  bool ok = true;
};

}  // namespace kinetra
