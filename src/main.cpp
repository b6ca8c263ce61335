// kinetra: starts the application on the run loop and runs until SIGINT or SIGTERM.

#include "foundation/DocumentsDirectory.h"
#include "foundation/PropertyListReader.h"
#include "foundation/ResourceBundle.h"
#include "foundation/RunLoop.h"

#include <boost/asio/io_context.hpp>
#include <boost/asio/signal_set.hpp>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

constexpr std::string_view kUsage =
    "usage: kinetra [--documents DIR] [--resources DIR] [--help] [--version]\n"
    "\n"
    "  --documents DIR  where the user's files live (default: $XDG_DATA_HOME/kinetra,\n"
    "                   else ~/.local/share/kinetra)\n"
    "  --resources DIR  the catalogue and pictures installed with the application\n"
    "  --help           print this text\n"
    "  --version        print the version\n";

struct Options {
  std::optional<std::string> documents;
  std::optional<std::string> resources;
  bool help = false;
  bool version = false;
};

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
    } else {
      return std::nullopt;
    }
  }
  return options;
}

// The user's files as the application keeps them, with the top level each must have.
constexpr std::pair<std::string_view, kinetra::PropertyList::Kind> kUserFiles[] = {
    {"Workouts.plist", kinetra::PropertyList::Kind::kArray},
    {"Custom_Exercises.plist", kinetra::PropertyList::Kind::kArray},
    {"Kinetra_Log.plist", kinetra::PropertyList::Kind::kDictionary},
    {"Kinetra_Aerobics_Log.plist", kinetra::PropertyList::Kind::kDictionary},
    {"settings.plist", kinetra::PropertyList::Kind::kDictionary},
};

void loadDocuments(const kinetra::DocumentsDirectory& documents, kinetra::DiagnosticLog& log) {
  int loaded = 0;
  for (const auto& [name, kind] : kUserFiles) {
    const auto path = documents.pathForFile(name);
    if (!path.ok()) continue;
    const auto value = kinetra::loadPropertyList(*path, kind);
    if (value.ok()) {
      ++loaded;
    } else if (value.status().code() != kinetra::Status::Code::kNotFound) {
      log.line(std::string(name) + " is unreadable: " + value.status().toString());
    }
  }
  log.line("documents: " + documents.path().string() + " (" + std::to_string(loaded) +
           " user files)");
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string_view> arguments(argv + 1, argv + argc);
  const std::optional<Options> options = parseOptions(arguments);
  if (!options) {
    std::fputs(kUsage.data(), stderr);
    return 2;
  }
  if (options->help) {
    std::fputs(kUsage.data(), stdout);
    return 0;
  }
  if (options->version) {
    std::printf("kinetra %s\n", KINETRA_VERSION);
    return 0;
  }

  kinetra::RunLoop loop;
  const kinetra::DocumentsDirectory documents(options->documents
                                                  ? std::filesystem::path(*options->documents)
                                                  : kinetra::DocumentsDirectory::defaultPath());
  const kinetra::ResourceBundle bundle(options->resources
                                           ? std::filesystem::path(*options->resources)
                                           : kinetra::ResourceBundle::defaultPath());
  loop.log().line("resources: " + bundle.directory().string());
  loadDocuments(documents, loop.log());

  boost::asio::signal_set signals(loop.ioContext(), SIGINT, SIGTERM);
  signals.async_wait([&loop](const boost::system::error_code& error, int) {
    if (!error) loop.stop();
  });
  loop.log().line("Kinetra is running; press Ctrl-C to stop");
  loop.run();
  return 0;
}
