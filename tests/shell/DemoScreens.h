#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "foundation/DocumentsDirectory.h"
#include "foundation/ResourceBundle.h"
#include "ui/ApplicationDelegate.h"

namespace kinetra::testing {

// A small application that exercises every kind of view the shell draws, for the shell's tests,
// its browser tests and nothing else:
//   tab "List":     a navigation controller over a plain table of `rows` rows in lettered
//                   sections with a section index, swipe-to-delete, an Edit button (delete
//                   controls and reorder handles), detail-disclosure buttons on every fifth row;
//                   selecting a row pushes a detail screen with a custom-drawn view and a
//                   segmented control.
//   tab "Form":     text fields with the number pad, numbers and punctuation and e-mail
//                   keyboards (the last with a Done key), a segmented control, a date picker,
//                   labels that echo what happened, and a button that opens the photo picker.
//   tab "Pictures": an image view from the bundle, one from the documents directory, and a
//                   horizontal paging scroll view of three pages.
//   tab "Flip":     a card that a button flips, and a fade.
// The echo label of each tab ("status") says what the finger last did, so tests can read it
// from the screen.
class DemoScreens : public ApplicationDelegate {
 public:
  explicit DemoScreens(const ResourceBundle& bundle, const DocumentsDirectory& documents,
                       int rows = 600);
  ~DemoScreens() override;

  void applicationDidFinishLaunching(Application& application) override;

  // Writes the pictures and files the demo shows into a bundle folder and a documents folder:
  // bundle "Chest.jpg" (PNG bytes, so sniffing matters) and "Icon.png"; documents "photo.jpg"
  // (PNG bytes), "Kinetra_Log.plist" (never served) and "notes.txt".
  static void writeDemoFiles(const std::filesystem::path& bundle,
                             const std::filesystem::path& documents);

  std::string statusText() const;
  int rowCount() const;

 private:
  struct Screens;
  std::unique_ptr<Screens> screens_;
};

}  // namespace kinetra::testing
