#include "shell/ScreenHub.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "shell/EventDecoder.h"
#include "ui/ScreenDescriber.h"
#include "ui/View.h"

namespace kinetra {

ScreenHub::ScreenHub(RunLoop& loop, Application& application, PictureStore& pictures,
                     double watchSeconds, FileOffers* files)
    : loop_(loop),
      application_(application),
      performer_(application),
      encoder_(pictures, [this](const ViewDescription& d) { return render(d); }),
      watchSeconds_(watchSeconds),
      files_(files),
      diagnostics_(loop.clock(), loop.log()) {}

void ScreenHub::attach(std::weak_ptr<FrameSink> sink) {
  pruneSinks();
  // A vibration asked for while no browser was there is over: the first to come does not get it.
  if (sinks_.empty()) static_cast<void>(application_.takeVibrations());
  sinks_.push_back(sink);
  // The others already have the screen unless it changed: a newcomer costs one frame, not one
  // for every browser (a thousand tabs connecting at once would cost a million).
  std::string text = encodeScreen();
  if (lastFrame_ != nullptr && *lastFrame_ == text) {
    if (auto shared = sink.lock()) shared->sendFrame(lastFrame_);
  } else {
    broadcast(std::make_shared<const std::string>(std::move(text)));
  }
  if (!watchTimer_.isValid() && watchSeconds_ > 0) watch();
}

void ScreenHub::receive(FrameSink& sink, std::string_view message) {
  Result<ShellEvent> event = EventDecoder::decode(message);
  if (!event.ok()) {
    diagnostics_.line("shell: ignored", "shell: ignored " + event.status().message());
    // The browser still waits for an answer: the next frame answers a numbered event too.
    if (const std::int64_t sequence = EventDecoder::sequenceOf(message); sequence >= 0) {
      sink.acknowledge(sequence);
    }
    screenChanged();
    return;
  }
  const Status done = performer_.perform(*event);
  if (!done.ok()) {
    diagnostics_.line("shell: an event was not carried out",
                      "shell: an event was not carried out: " + done.toString());
  }
  if (event->sequence >= 0) sink.acknowledge(event->sequence);
  offerFiles(sink);
  screenChanged();
}

void ScreenHub::offerFiles(FrameSink& sink) {
  if (files_ == nullptr) return;
  for (FileToSave& file : application_.takeFilesToSave()) {
    sink.sendMessage(std::make_shared<const std::string>(files_->offer(std::move(file))));
  }
}

Status ScreenHub::pickPhoto(std::uint64_t pickerView, std::vector<std::uint8_t> bytes) {
  const Status done = performer_.pickPhoto(pickerView, std::move(bytes));
  screenChanged();
  return done;
}

Status ScreenHub::pickDocument(std::uint64_t pickerView, const std::vector<std::uint8_t>& bytes) {
  const Status done = performer_.pickDocument(pickerView, bytes);
  screenChanged();
  return done;
}

void ScreenHub::screenChanged() {
  if (publishPending_) return;
  publishPending_ = true;
  // Events that arrived together are all carried out before the one frame that answers them.
  loop_.post([weak = weak_from_this()] {
    if (auto hub = weak.lock()) {
      hub->publishPending_ = false;
      hub->publish();
    }
  });
}

void ScreenHub::publish() {
  publishPending_ = false;
  pruneSinks();
  if (sinks_.empty()) return;
  broadcast(std::make_shared<const std::string>(encodeScreen()));
}

std::string ScreenHub::encodeScreen() {
  for (auto& [id, rendered] : renders_) rendered.seen = false;
  const ScreenDescription screen = application_.describeScreen();
  std::string text = encoder_.encode(screen);
  // Pictures of views no longer on the screen are forgotten.
  std::erase_if(renders_, [](const auto& entry) { return !entry.second.seen; });
  return text;
}

void ScreenHub::sendVibrations() {
  for (const std::vector<int>& pattern : application_.takeVibrations()) {
    const nlohmann::json message = {{"type", "vibrate"}, {"pattern", pattern}};
    auto text = std::make_shared<const std::string>(message.dump());
    const std::vector<std::weak_ptr<FrameSink>> sinks = sinks_;
    for (const auto& weak : sinks) {
      if (auto sink = weak.lock()) sink->sendMessage(text);
    }
  }
}

void ScreenHub::broadcast(std::shared_ptr<const std::string> frame) {
  // Vibrations go out with the frame that shows why.
  sendVibrations();
  lastFrame_ = frame;
  // A sink may close (and leave) while being sent to; work on a copy.
  const std::vector<std::weak_ptr<FrameSink>> sinks = sinks_;
  for (const auto& weak : sinks) {
    if (auto sink = weak.lock()) sink->sendFrame(frame);
  }
}

void ScreenHub::watch() {
  watchTimer_ = loop_.schedule(watchSeconds_, [weak = weak_from_this()] {
    auto hub = weak.lock();
    if (!hub) return;
    hub->pruneSinks();
    if (hub->sinks_.empty()) return;  // attach() starts watching again
    hub->sendVibrations();            // also when the screen itself stays the same
    if (!hub->publishPending_) {
      std::string text = hub->encodeScreen();
      if (hub->lastFrame_ == nullptr || *hub->lastFrame_ != text) {
        hub->broadcast(std::make_shared<const std::string>(std::move(text)));
      }
    }
    hub->watch();
  });
}

std::optional<PictureDescription> ScreenHub::render(const ViewDescription& description) {
  Rendered& rendered = renders_[description.identifier];
  const Size size{description.frame.width, description.frame.height};
  rendered.seen = true;
  if (rendered.drawn && rendered.generation == description.displayGeneration &&
      rendered.size == size) {
    return rendered.picture;
  }
  View* view = application_.viewWithIdentifier(description.identifier);
  if (view == nullptr) return std::nullopt;
  const Image image = view->renderContent(2);
  rendered.drawn = true;
  rendered.generation = description.displayGeneration;
  rendered.size = size;
  rendered.picture = image.empty() ? std::nullopt : std::optional(describePicture(image));
  if (rendered.picture) rendered.picture->size = size;  // drawn at two pixels per point
  return rendered.picture;
}

void ScreenHub::pruneSinks() {
  std::erase_if(sinks_, [](const std::weak_ptr<FrameSink>& sink) { return sink.expired(); });
}

void ScreenHub::closeAll() {
  const std::vector<std::weak_ptr<FrameSink>> sinks = sinks_;
  sinks_.clear();
  watchTimer_.invalidate();
  for (const auto& weak : sinks) {
    if (auto sink = weak.lock()) sink->close();
  }
}

std::size_t ScreenHub::connectionCount() {
  pruneSinks();
  return sinks_.size();
}

}  // namespace kinetra
