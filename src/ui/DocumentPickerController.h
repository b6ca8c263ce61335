#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "foundation/Status.h"
#include "ui/DocumentPickerControllerDelegate.h"
#include "ui/ViewController.h"

namespace kinetra {

// The file picker, a screen pushed like any other. Its view stands for the device's files; the
// chosen file itself comes from outside (the screen's upload, or a test) through
// Finger::pickDocument. The picker only checks the size; what the bytes mean is the delegate's.
class DocumentPickerController : public ViewController {
 public:
  static constexpr std::size_t kDefaultMaxBytes = 32 * 1024 * 1024;

  DocumentPickerController();

  // The kinds of file offered, each a file name extension (".csv") or a media type
  // ("text/csv"); none: any file.
  const std::vector<std::string>& allowedTypes() const { return allowedTypes_; }
  void setAllowedTypes(std::vector<std::string> types) { allowedTypes_ = std::move(types); }

  // A line or two above the chooser saying what to choose; none by default.
  const std::string& prompt() const { return prompt_; }
  void setPrompt(std::string prompt) { prompt_ = std::move(prompt); }

  // The largest file taken, in bytes.
  std::size_t maxBytes() const { return maxBytes_; }
  void setMaxBytes(std::size_t bytes) { maxBytes_ = bytes; }

  DocumentPickerControllerDelegate* delegate() const { return delegate_.get(); }
  void setDelegate(DocumentPickerControllerDelegate* delegate) { delegate_ = delegate; }

 protected:
  std::unique_ptr<View> loadView() override;

 private:
  friend class Finger;
  // Hands the file to the delegate; TooLarge, and the delegate hears nothing, for a file over
  // maxBytes.
  Status pick(const std::vector<std::uint8_t>& bytes);
  void cancel();

  std::vector<std::string> allowedTypes_;
  std::string prompt_;
  std::size_t maxBytes_ = kDefaultMaxBytes;
  WeakRef<DocumentPickerControllerDelegate> delegate_;
};

}  // namespace kinetra
