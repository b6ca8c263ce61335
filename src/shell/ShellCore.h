#pragma once

#include <memory>

#include "foundation/DiagnosticRateLimiter.h"
#include "foundation/DocumentsDirectory.h"
#include "foundation/ResourceBundle.h"
#include "foundation/RunLoop.h"
#include "shell/AccessPolicy.h"
#include "shell/ClientFiles.h"
#include "shell/FileOffers.h"
#include "shell/HttpRouter.h"
#include "shell/PictureRoutes.h"
#include "shell/PictureStore.h"
#include "shell/ScreenHub.h"
#include "shell/ShellLimits.h"
#include "shell/UnauthenticatedConnections.h"

namespace kinetra {

// What the shell's connections share. The web shell owns it; connections hold it weakly, so a
// connection whose handlers run after the shell is gone simply ends. Run-loop thread only.
struct ShellCore {
  ShellCore(RunLoop& runLoop, Application& application, const ResourceBundle& resourceBundle,
            const DocumentsDirectory& documentsDirectory, AccessPolicy accessPolicy,
            ClientFiles clientFiles, ShellLimits shellLimits, std::vector<std::string> iconNames,
            double watchSeconds)
      : loop(runLoop),
        limits(shellLimits),
        diagnostics(runLoop.clock(), runLoop.log()),
        unauthenticated(shellLimits.maxUnauthenticatedConnections),
        policy(std::move(accessPolicy)),
        client(std::move(clientFiles)),
        pictureRoutes(pictures, resourceBundle, documentsDirectory),
        hub(std::make_shared<ScreenHub>(runLoop, application, pictures, watchSeconds, &fileOffers)),
        router(client, pictureRoutes, fileOffers, resourceBundle, std::move(iconNames),
               {[this](std::uint64_t view) { return hub->photoPickerShown(view); },
                [this](std::uint64_t view, std::vector<std::uint8_t> bytes) {
                  return hub->pickPhoto(view, std::move(bytes));
                }},
               {[this](std::uint64_t view) { return hub->documentPickerShown(view); },
                [this](std::uint64_t view, const std::vector<std::uint8_t>& bytes) {
                  return hub->pickDocument(view, bytes);
                }}) {}

  ShellCore(const ShellCore&) = delete;
  ShellCore& operator=(const ShellCore&) = delete;

  RunLoop& loop;
  const ShellLimits limits;
  // The connections' lines that strangers can repeat (refusals, oversized messages).
  DiagnosticRateLimiter diagnostics;
  UnauthenticatedConnections unauthenticated;
  const AccessPolicy policy;
  const ClientFiles client;
  PictureStore pictures;
  const PictureRoutes pictureRoutes;
  FileOffers fileOffers;
  const std::shared_ptr<ScreenHub> hub;
  const HttpRouter router;
};

}  // namespace kinetra
