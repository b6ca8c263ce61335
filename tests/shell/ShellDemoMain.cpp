// shell_demo: the web shell serving the demo screens, for the browser tests. Prints
// "Kinetra is running at <url>" once it listens and runs until SIGINT or SIGTERM.
//
//   shell_demo [--port N] [--bind ADDRESS] [--token TOKEN] [--documents DIR] [--bundle DIR]
//              [--rows N]
// Without --documents/--bundle it uses fresh folders under the temporary directory, filled
// with the demo's files (and removed at exit).

#include <boost/asio/io_context.hpp>
#include <boost/asio/signal_set.hpp>
#include <csignal>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "DemoScreens.h"
#include "foundation/RunLoop.h"
#include "shell/WebShell.h"
#include "support/TemporaryDirectory.h"
#include "ui/Application.h"

int main(int argc, char** argv) {
  const std::vector<std::string_view> arguments(argv + 1, argv + argc);
  kinetra::WebShellOptions options;
  options.port = 0;
  std::string documentsFolder;
  std::string bundleFolder;
  int rows = 600;
  for (std::size_t i = 0; i + 1 < arguments.size(); i += 2) {
    const std::string value(arguments[i + 1]);
    if (arguments[i] == "--port") {
      options.port = static_cast<std::uint16_t>(std::stoi(value));
    } else if (arguments[i] == "--bind") {
      options.bindAddress = value;
    } else if (arguments[i] == "--token") {
      options.token = value;
    } else if (arguments[i] == "--documents") {
      documentsFolder = value;
    } else if (arguments[i] == "--bundle") {
      bundleFolder = value;
    } else if (arguments[i] == "--rows") {
      rows = std::stoi(value);
    } else {
      std::fprintf(stderr, "shell_demo: unknown option\n");
      return 2;
    }
  }
  kinetra::testing::TemporaryDirectory scratch;
  const std::filesystem::path documentsPath =
      documentsFolder.empty() ? scratch / "documents" : std::filesystem::path(documentsFolder);
  const std::filesystem::path bundlePath =
      bundleFolder.empty() ? scratch / "bundle" : std::filesystem::path(bundleFolder);
  kinetra::testing::DemoScreens::writeDemoFiles(bundlePath, documentsPath);

  kinetra::RunLoop loop;
  const kinetra::ResourceBundle bundle(bundlePath);
  const kinetra::DocumentsDirectory documents(documentsPath);
  kinetra::Application& application = kinetra::Application::shared();
  application.setClock(&loop.clock());
  kinetra::testing::DemoScreens demo(bundle, documents, rows);
  application.launch(demo);
  {
    kinetra::WebShell shell(loop, application, bundle, documents, options);
    if (const kinetra::Status started = shell.start(); !started.ok()) {
      std::fprintf(stderr, "shell_demo: %s\n", started.toString().c_str());
      return 1;
    }
    std::printf("Kinetra is running at %s\n", shell.url().c_str());
    std::fflush(stdout);
    boost::asio::signal_set signals(loop.ioContext(), SIGINT, SIGTERM);
    signals.async_wait([&loop](const boost::system::error_code& error, int) {
      if (!error) loop.stop();
    });
    loop.run();
  }
  application.reset();
  return 0;
}
