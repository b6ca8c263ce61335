// libFuzzer target for the SMTP client's reply handling. The first bytes choose the starting
// state, the options and how the rest is cut into reads; the rest is what the relay "said".
// No network: commands are logged but written nowhere. Checks that the delegate hears at most
// once, and exactly once after the watchdog has had its chance.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "foundation/ManualClock.h"
#include "foundation/RunLoop.h"
#include "mail/SMTPMessage.h"
#include "mail/SMTPMessageDelegate.h"

namespace {

struct CountingDelegate : kinetra::SMTPMessageDelegate {
  void messageSent(kinetra::SMTPMessage&) override { ++calls; }
  void messageFailed(kinetra::SMTPMessage&, const kinetra::SMTPError&) override { ++calls; }
  int calls = 0;
};

struct Loop {
  Loop() {
    auto manual = std::make_unique<kinetra::ManualClock>();
    clock = manual.get();
    loop = std::make_unique<kinetra::RunLoop>(std::move(manual));
    loop->log().setSink([](std::string_view) {});
  }
  kinetra::ManualClock* clock;
  std::unique_ptr<kinetra::RunLoop> loop;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kinetra;
  static Loop shared;
  if (size < 3) return 0;
  const std::uint8_t stateByte = data[0];
  const std::uint8_t options = data[1];
  const std::size_t chunk = 1 + data[2] % 64;
  data += 3;
  size -= 3;

  CountingDelegate delegate;
  {
    SMTPMessage message(*shared.loop);
    message.setDelegate(&delegate);
    message.setRelayHost((options & 1) ? "127.0.0.1" : "relay.example.org");
    message.setRequiresAuth(options & 2);
    message.setValidateSSLChain(options & 4);
    message.setLogin("user");
    message.setPass("secret");
    message.setFromEmail("from@example.org");
    message.setToEmail("to@example.org");
    message.setSubject("Subject");
    message.setParts({{{kSMTPPartContentTypeKey, "text/plain"},
                       {kSMTPPartContentTransferEncodingKey, "base64"},
                       {kSMTPPartMessageKey, "aGVsbG8=\n.dot"}}});
    message.setSendState(static_cast<SMTPSendState>(stateByte % 13));

    for (std::size_t offset = 0; offset < size; offset += chunk) {
      const std::size_t count = std::min(chunk, size - offset);
      message.setInputString(message.inputString() +
                             std::string(reinterpret_cast<const char*>(data) + offset, count));
      message.parseBuffer();
      if (delegate.calls > 1) std::abort();
      if (message.inputString().size() > 64 * 1024 + chunk) std::abort();
    }
    shared.clock->advance(100);
    if (delegate.calls > 1) std::abort();
    // Every pass leaves an attempt in progress with a timer running, so it has ended by now.
    if (message.watchdogTimer().isValid()) std::abort();
  }
  shared.clock->advance(100);
  if (delegate.calls > 1) std::abort();
  return 0;
}
