#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/DiagnosticRateLimiter.h"
#include "foundation/RunLoop.h"
#include "foundation/Timer.h"
#include "shell/EventPerformer.h"
#include "shell/FileOffers.h"
#include "shell/FrameEncoder.h"
#include "shell/FrameSink.h"
#include "shell/PictureStore.h"
#include "ui/Application.h"

namespace kinetra {

// The one device all browsers show. It carries out the events browsers send, and after each
// (and whenever something else changed the screen, which it notices by looking every
// `watchSeconds` of run-loop time while browsers are connected) sends the next frame to every
// connected browser. Frames are built once and shared; custom-drawn views are rendered only
// when their display generation or size changed. Vibrations the application asks for go to every
// connected browser, as "vibrate" messages just before the next frame. Sinks are kept weakly: a
// connection lives as long as its own pending operations.
class ScreenHub : public std::enable_shared_from_this<ScreenHub> {
 public:
  // `files`, when given, keeps the files the application offers to save (see receive()); it
  // must outlive the hub.
  ScreenHub(RunLoop& loop, Application& application, PictureStore& pictures, double watchSeconds,
            FileOffers* files = nullptr);
  ScreenHub(const ScreenHub&) = delete;
  ScreenHub& operator=(const ScreenHub&) = delete;

  // A browser connected: it gets the current screen at once (the others only when it changed
  // since their last frame). Vibrations the application asked for while no browser was
  // connected are dropped, not played late.
  void attach(std::weak_ptr<FrameSink> sink);
  // One message from `sink`'s browser: decoded and carried out, then a frame goes out; files the
  // application offered to save meanwhile go to this browser alone, as "save" messages. A
  // malformed, unknown or failing event is ignored with one diagnostic line (rate-limited by
  // kind: a browser sending thousands gets a few lines and a count), and the frame that follows
  // still acknowledges it when it carried a valid number.
  void receive(FrameSink& sink, std::string_view message);
  // The photo uploaded for the picker whose view is `pickerView`, then a frame.
  Status pickPhoto(std::uint64_t pickerView, std::vector<std::uint8_t> bytes);
  // Whether that picker is on the screen now (see EventPerformer::photoPickerShown).
  Status photoPickerShown(std::uint64_t pickerView) {
    return performer_.photoPickerShown(pickerView);
  }
  // The file uploaded for the document picker whose view is `pickerView`, then a frame.
  Status pickDocument(std::uint64_t pickerView, const std::vector<std::uint8_t>& bytes);
  Status documentPickerShown(std::uint64_t pickerView) {
    return performer_.documentPickerShown(pickerView);
  }

  // Sends a frame soon (once, however often this is called before it goes).
  void screenChanged();
  // Builds and sends a frame now.
  void publish();
  // Closes every connection.
  void closeAll();

  std::size_t connectionCount();
  // The newest frame sent, for tests and benchmarks; null before the first.
  std::shared_ptr<const std::string> lastFrame() const { return lastFrame_; }

 private:
  struct Rendered {
    std::uint64_t generation = 0;
    Size size;
    std::optional<PictureDescription> picture;
    bool drawn = false;
    bool seen = false;
  };

  std::optional<PictureDescription> render(const ViewDescription& description);
  // The screen as a frame's text; forgets the pictures of views no longer on it.
  std::string encodeScreen();
  void pruneSinks();
  void watch();
  void broadcast(std::shared_ptr<const std::string> frame);
  void offerFiles(FrameSink& sink);
  // The vibrations the application asked for, each as a "vibrate" message to every browser.
  void sendVibrations();

  RunLoop& loop_;
  Application& application_;
  EventPerformer performer_;
  FrameEncoder encoder_;
  double watchSeconds_;
  FileOffers* files_;
  DiagnosticRateLimiter diagnostics_;
  std::vector<std::weak_ptr<FrameSink>> sinks_;
  std::map<std::uint64_t, Rendered> renders_;
  std::shared_ptr<const std::string> lastFrame_;
  bool publishPending_ = false;
  Timer watchTimer_;
};

}  // namespace kinetra
