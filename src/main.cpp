// kinetra: starts the application on the run loop and runs until SIGINT or SIGTERM.

#include "app/VelomarAppDelegate.h"
#include "foundation/DocumentsDirectory.h"
#include "foundation/DocumentsLock.h"
#include "foundation/FileSystem.h"
#include "foundation/KillingFileSystem.h"
#include "foundation/ResourceBundle.h"
#include "foundation/RunLoop.h"
#include "graphics/DrawingContext.h"
#include "mail/MailAccount.h"
#include "model/CatalogueResources.h"
#include "shell/WebShell.h"
#include "ui/Application.h"

#include <malloc.h>
#include <sys/resource.h>

#include <boost/asio/io_context.hpp>
#include <boost/asio/signal_set.hpp>

#include <charconv>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

constexpr std::string_view kUsage =
    "usage: kinetra [--documents DIR] [--resources DIR] [--bind ADDRESS] [--port N]\n"
    "               [--token TOKEN] [--smtp-relay HOST[:PORT,...] --smtp-from ADDRESS\n"
    "               [--smtp-login LOGIN] [--smtp-password-file FILE] [--smtp-ca-file FILE]\n"
    "               [--support-address ADDRESS]] [--help] [--version]\n"
    "\n"
    "  --documents DIR  where the user's files live (default: $XDG_DATA_HOME/kinetra,\n"
    "                   else ~/.local/share/kinetra)\n"
    "  --resources DIR  the catalogue and pictures installed with the application\n"
    "  --bind ADDRESS   numeric address to serve on (default 127.0.0.1; beyond loopback an\n"
    "                   access token is required)\n"
    "  --port N         port to serve on (default 8080; 0: any free port)\n"
    "  --token TOKEN    access token (at least 22 of A-Z a-z 0-9 - . _ ~); else the\n"
    "                   environment's KINETRA_TOKEN; generated when serving beyond loopback\n"
    "  --smtp-relay HOST[:PORT,...]  the mail relay exports are sent through (ports tried in\n"
    "                   order; default 587); without it exports can only be downloaded\n"
    "  --smtp-from ADDRESS     the sender address of your mail account\n"
    "  --smtp-login LOGIN      the account's login (default: the sender address)\n"
    "  --smtp-password-file FILE  a file whose first line is the account's password; else\n"
    "                   the environment's KINETRA_SMTP_PASSWORD; none: no AUTH\n"
    "  --smtp-ca-file FILE     PEM certificates to verify the relay by (default: the system's)\n"
    "  --support-address ADDRESS  the address the export letter names for questions\n"
    "                   (default: the sender address)\n"
    "  --help           print this text\n"
    "  --version        print the version\n";

// Exit statuses: 1 when kinetra cannot run here (documents folder in use, port taken), 2 for a
// malformed command line or an installation without its catalogue.
constexpr int kExitCannotRun = 1;
constexpr int kExitMisconfigured = 2;

struct Options {
  std::optional<std::string> documents;
  std::optional<std::string> resources;
  std::optional<std::string> bind;
  std::optional<std::uint16_t> port;
  std::optional<std::string> token;
  std::optional<kinetra::MailAccount::Relay> smtpRelay;
  std::optional<std::string> smtpFrom;
  std::optional<std::string> smtpLogin;
  std::optional<std::string> smtpPasswordFile;
  std::optional<std::string> smtpCaFile;
  std::optional<std::string> supportAddress;
  bool help = false;
  bool version = false;
};

std::optional<std::uint16_t> parsePort(std::string_view text) {
  unsigned value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value > 65535)
    return std::nullopt;
  return static_cast<std::uint16_t>(value);
}

// The mail account's options that take a plain value; false for any other argument.
bool parseMailOption(std::string_view argument, std::string_view value, bool hasValue,
                     Options& options) {
  std::optional<std::string>* target = nullptr;
  if (argument == "--smtp-from") target = &options.smtpFrom;
  if (argument == "--smtp-login") target = &options.smtpLogin;
  if (argument == "--smtp-password-file") target = &options.smtpPasswordFile;
  if (argument == "--smtp-ca-file") target = &options.smtpCaFile;
  if (argument == "--support-address") target = &options.supportAddress;
  if (target == nullptr || !hasValue || value.empty()) return false;
  *target = std::string(value);
  return true;
}

// Nothing on a malformed command line; the caller prints the usage.
std::optional<Options> parseOptions(const std::vector<std::string_view>& arguments) {
  Options options;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string_view argument = arguments[i];
    const bool hasValue = i + 1 < arguments.size();
    if (argument == "--help" || argument == "-h") {
      options.help = true;
    } else if (argument == "--version") {
      options.version = true;
    } else if (argument == "--documents" && hasValue) {
      options.documents = std::string(arguments[++i]);
    } else if (argument == "--resources" && hasValue) {
      options.resources = std::string(arguments[++i]);
    } else if (argument == "--bind" && hasValue) {
      options.bind = std::string(arguments[++i]);
    } else if (argument == "--token" && hasValue) {
      options.token = std::string(arguments[++i]);
    } else if (argument == "--port" && hasValue) {
      options.port = parsePort(arguments[++i]);
      if (!options.port) return std::nullopt;
    } else if (argument == "--smtp-relay" && hasValue) {
      options.smtpRelay = kinetra::MailAccount::parseRelay(arguments[++i]);
      if (!options.smtpRelay) return std::nullopt;
    } else if (!parseMailOption(argument, hasValue ? arguments[i + 1] : "", hasValue, options)) {
      return std::nullopt;
    } else {
      ++i;
    }
  }
  // The account's other options mean nothing without a relay, and a relay needs a sender.
  const bool accountDetails = options.smtpFrom || options.smtpLogin || options.smtpPasswordFile ||
                              options.smtpCaFile || options.supportAddress;
  if (options.smtpRelay ? !options.smtpFrom : accountDetails) return std::nullopt;
  return options;
}

// The mail account, with its password read from the password file or else the environment
// (which then forgets it, so no child process inherits it). Nothing without a relay; an error
// when the password file cannot be read. The password itself is never printed.
kinetra::Result<std::optional<kinetra::MailAccount>> mailAccount(const Options& options) {
  if (!options.smtpRelay) return std::optional<kinetra::MailAccount>();
  kinetra::MailAccount account;
  account.relayHost = options.smtpRelay->host;
  account.relayPorts = options.smtpRelay->ports;
  account.fromEmail = options.smtpFrom.value_or("");
  account.login = options.smtpLogin.value_or("");
  account.caFile = options.smtpCaFile.value_or("");
  account.supportAddress = options.supportAddress.value_or("");
  if (options.smtpPasswordFile) {
    std::ifstream file(*options.smtpPasswordFile);
    if (!file || !std::getline(file, account.pass)) {
      return kinetra::Status::NotFound("cannot read the password file " +
                                       *options.smtpPasswordFile);
    }
    if (account.pass.ends_with('\r')) account.pass.pop_back();
  } else if (const char* password = std::getenv("KINETRA_SMTP_PASSWORD")) {
    account.pass = password;
  }
  ::unsetenv("KINETRA_SMTP_PASSWORD");
  return std::optional(std::move(account));
}

// The access token from the command line, else from the environment (which then forgets it, so
// no child process inherits it and a service can keep it out of its command line).
std::optional<std::string> accessToken(const Options& options) {
  std::optional<std::string> token = options.token;
  const char* fromEnvironment = std::getenv("KINETRA_TOKEN");
  if (!token && fromEnvironment != nullptr && *fromEnvironment != '\0') token = fromEnvironment;
  ::unsetenv("KINETRA_TOKEN");
  return token;
}

// Every connection costs a descriptor, and the usual soft limit (1,024) is far below what the
// system allows this process: take all of it. Left as it is when it cannot be raised.
void raiseOpenFileLimit() {
  rlimit limit{};
  if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur >= limit.rlim_max) return;
  limit.rlim_cur = limit.rlim_max;
  ::setrlimit(RLIMIT_NOFILE, &limit);
}

// The test-only kill switch (KillingFileSystem) when KINETRA_TEST_KILL_AT names one; nothing when
// it is unset, or malformed (said in one diagnostic line).
std::unique_ptr<kinetra::KillingFileSystem> killSwitch(const kinetra::DiagnosticLog& log) {
  const char* value = std::getenv(kinetra::KillingFileSystem::kEnvironmentVariable);
  if (value == nullptr) return nullptr;
  const std::optional<kinetra::KillingFileSystem::KillPoint> point =
      kinetra::KillingFileSystem::parse(value);
  if (!point) {
    log.line(std::string(kinetra::KillingFileSystem::kEnvironmentVariable) + "=" + value +
             " is not <create|write|sync|close|rename|syncdir>:<n> with n at least 1; ignored");
    return nullptr;
  }
  log.line(std::string("test kill switch: SIGKILL after ") + value);
  return std::make_unique<kinetra::KillingFileSystem>(kinetra::FileSystem::system(), *point);
}

// Runs the application until SIGINT or SIGTERM; everything it made is gone when it returns.
int runKinetra(const Options& options) {
  kinetra::RunLoop loop;
  kinetra::VelomarAppDelegate::Environment environment;
  const std::unique_ptr<kinetra::KillingFileSystem> killing = killSwitch(loop.log());
  if (killing) environment.fileSystem = killing.get();
  environment.documentsDirectory = options.documents ? std::filesystem::path(*options.documents)
                                                     : kinetra::DocumentsDirectory::defaultPath();
  environment.resourceDirectory = options.resources ? std::filesystem::path(*options.resources)
                                                    : kinetra::ResourceBundle::defaultPath();
  kinetra::Result<std::optional<kinetra::MailAccount>> mail = mailAccount(options);
  if (!mail.ok()) {
    std::fprintf(stderr, "kinetra: %s\n", mail.status().message().c_str());
    return kExitMisconfigured;
  }
  environment.mail = std::move(mail).value();
  if (environment.mail) {
    loop.log().line("mail: exports go through " + environment.mail->relayHost + " as " +
                    environment.mail->fromEmail);
  }
  loop.log().line("resources: " + environment.resourceDirectory.string());
  loop.log().line("documents: " + environment.documentsDirectory.string());
  const kinetra::ResourceBundle bundle(environment.resourceDirectory);
  const kinetra::DocumentsDirectory documents(environment.documentsDirectory);
  if (const kinetra::Status catalogue = kinetra::CatalogueResources::check(bundle);
      !catalogue.ok()) {
    std::fprintf(stderr, "kinetra: %s\n", catalogue.message().c_str());
    return kExitMisconfigured;
  }
  // Held until the process ends: a second kinetra on these files would overwrite our saves.
  const kinetra::Result<kinetra::DocumentsLock> lock = kinetra::DocumentsLock::acquire(documents);
  if (!lock.ok()) {
    std::fprintf(stderr, "kinetra: cannot use the documents folder: %s\n",
                 lock.status().message().c_str());
    return kExitCannotRun;
  }

  kinetra::Application& application = kinetra::Application::shared();
  application.setClock(&loop.clock());
  kinetra::VelomarAppDelegate delegate(loop, std::move(environment));
  application.launch(delegate);

  raiseOpenFileLimit();
  kinetra::WebShellOptions shellOptions;
  if (options.bind) shellOptions.bindAddress = *options.bind;
  if (options.port) shellOptions.port = *options.port;
  shellOptions.token = accessToken(options);
  kinetra::WebShell shell(loop, application, bundle, documents, shellOptions);
  if (const kinetra::Status started = shell.start(); !started.ok()) {
    std::fprintf(stderr, "kinetra: %s\n", started.toString().c_str());
    application.setClock(nullptr);
    return kExitCannotRun;
  }
  // The only place the access token is ever shown.
  std::printf("Kinetra is running at %s\n", shell.url().c_str());
  std::fflush(stdout);

  boost::asio::signal_set signals(loop.ioContext(), SIGINT, SIGTERM);
  signals.async_wait([&loop](const boost::system::error_code& error, int) {
    if (!error) loop.stop();
  });
  loop.run();
  application.setClock(nullptr);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // Large blocks (a graph's canvas, a file read whole) are mapped and given back when freed.
  // Left to itself, glibc raises this threshold to the largest block freed so far, and later
  // canvases then come from the heap, which keeps growing by what it cannot return.
  mallopt(M_MMAP_THRESHOLD, 256 * 1024);
  const std::vector<std::string_view> arguments(argv + 1, argv + argc);
  const std::optional<Options> options = parseOptions(arguments);
  if (!options) {
    std::fputs(kUsage.data(), stderr);
    return kExitMisconfigured;
  }
  if (options->help) {
    std::fputs(kUsage.data(), stdout);
    return 0;
  }
  if (options->version) {
    std::printf("kinetra %s\n", KINETRA_VERSION);
    return 0;
  }

  const int status = runKinetra(*options);
  kinetra::DrawingContext::releaseFontCaches();
  return status;
}
