#include "AppSession.h"

#include <cstdlib>
#include <optional>
#include <string>
#include <system_error>
#include <utility>

#include "SyntheticLog.h"
#include "foundation/PropertyListWriter.h"
#include "ui/Application.h"

namespace kinetra {

AppSession::AppSession(const std::filesystem::path& resources, const PropertyList& strength,
                       const PropertyList& workouts)
    : encoder(pictures,
              [](const ViewDescription&) { return std::optional<PictureDescription>(); }) {
  std::string pattern = (std::filesystem::temp_directory_path() / "kinetra-bench-XXXXXX").string();
  if (::mkdtemp(pattern.data()) != nullptr) documents = pattern;
  for (const auto& [name, value] :
       {std::pair<const char*, PropertyList>{"Kinetra_Log.plist", strength},
        std::pair<const char*, PropertyList>{"Kinetra_Aerobics_Log.plist",
                                             SyntheticLog::aerobicFor(strength)},
        std::pair<const char*, PropertyList>{"Workouts.plist", workouts}}) {
    if (!writePropertyList(documents / name, value).ok()) ok = false;
  }
  Application::shared().reset();
  loop = std::make_unique<RunLoop>();
  Application::shared().setClock(&loop->clock());
  app = std::make_unique<VelomarAppDelegate>(
      *loop, VelomarAppDelegate::Environment{documents, resources, {"en_US", "UTC"}, std::nullopt});
  Application::shared().launch(*app);
  ok = ok && !app->userData().exerciseLog.asDictionary().empty();
  frame();  // the first frame carries the pictures
}

AppSession::~AppSession() {
  app.reset();
  Application::shared().setClock(nullptr);
  Application::shared().reset();
  std::error_code ignored;
  std::filesystem::remove_all(documents, ignored);
}

std::size_t AppSession::frame() {
  return encoder.encode(Application::shared().describeScreen()).size();
}

}  // namespace kinetra
