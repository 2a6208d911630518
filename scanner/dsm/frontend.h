// What the Source Manager shows and starts on the desktop side: the scanner
// selection, the source's dialog and a scan without dialog. The library uses
// the Qt dialogs of ui/ (QtFrontend); the tests put scripted dialogs in their
// place, so that the triplets can be driven without a window.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "morvex/sane/device.h"
#include "morvex/winshim/hglobal.h"
#include "morvex/winshim/post_message.h"

namespace morvex::dsm {

// Something running for an enabled source (a dialog or a scan); destroying it
// closes the dialog or cancels the scan and waits for it.
class Running {
 public:
  virtual ~Running() = default;
};

// Called with a complete image (the receiver owns the block), on any thread.
using ImageHandler = std::function<void(HGLOBAL dib)>;
// Called when the dialog asks to be closed, or a scan without dialog failed
// (`error` is the device's message; empty when it was cancelled).
using CloseHandler = std::function<void(const std::string& error)>;
// Whether the dialog may offer a scan mode (the program can limit the pixel
// types); an empty filter offers every mode.
using ModeFilter = std::function<bool(const std::string& mode)>;

class Frontend {
 public:
  virtual ~Frontend() = default;
  // The selection dialog, modal over `parent`: the chosen device name, or
  // nothing for Cancel.
  virtual std::optional<std::string> ChooseScanner(HWND parent, const std::string& remembered) = 0;
  // The source's dialog, not modal, over `parent`, offering the modes
  // `modeAllowed` lets through.
  virtual std::unique_ptr<Running> ShowSource(sane::Device& device, const std::string& scannerName, HWND parent,
                                              ModeFilter modeAllowed, ImageHandler image, CloseHandler close) = 0;
  // One scan at once with the device's current settings, off this thread.
  virtual std::unique_ptr<Running> Scan(sane::Device& device, ImageHandler image, CloseHandler failed) = 0;
  // The settings the user left for this device last time (best effort), and
  // remembering them.
  virtual void ApplySettings(sane::Device& device) = 0;
};

// The Qt dialogs and the scan job of ui/.
class QtFrontend : public Frontend {
 public:
  std::optional<std::string> ChooseScanner(HWND parent, const std::string& remembered) override;
  std::unique_ptr<Running> ShowSource(sane::Device& device, const std::string& scannerName, HWND parent,
                                      ModeFilter modeAllowed, ImageHandler image, CloseHandler close) override;
  std::unique_ptr<Running> Scan(sane::Device& device, ImageHandler image, CloseHandler failed) override;
  void ApplySettings(sane::Device& device) override;
};

}  // namespace morvex::dsm
