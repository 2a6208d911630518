// The scanner's own dialog: its settings, a preview and the scan.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "morvex/sane/device.h"
#include "morvex/winshim/hglobal.h"
#include "scan_area.h"

// The signal carries a handle whose block type is opaque.
Q_DECLARE_OPAQUE_POINTER(HGLOBAL)

class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QScrollArea;
class QVBoxLayout;
class QWidget;

namespace morvex::dsm {

class PreviewWidget;
class ScanJob;

// The source's dialog, not modal, over `parent`: scanner name, mode, resolution, document
// source, scan area with presets (whole bed; a note-sized area in the middle), the device's
// other options generated from their descriptors in a section of their own (every SANE type,
// inactive ones disabled, rebuilt when the device asks), a low-resolution preview on which the
// user drags the scan area, "Сканировать" and "Закрыть", and while scanning a progress bar and
// "Отмена". Scans run through ScanJob; the window keeps painting. A scan error is shown in the
// dialog, which stays open. Settings are remembered per device (RememberSettings).
//
// The device belongs to the scan while one runs: every setting is disabled
// until it ends. Destroying the dialog cancels a running scan and waits for it.
class SourceDialog : public QDialog {
  Q_OBJECT
 public:
  // `modeAllowed` (when given) says which of the device's scan modes the mode
  // box offers; the device's current mode is always among them.
  SourceDialog(morvex::sane::Device& device, const QString& scannerName, QWidget* parent,
               std::function<bool(const std::string& mode)> modeAllowed = {});
  ~SourceDialog() override;

  // Every way of closing (the button, the window's close, Escape) ends here:
  // a running scan is cancelled and waited for, the settings are remembered,
  // and closeRequested follows.
  void done(int result) override;

 signals:
  void imageScanned(HGLOBAL dib);   // a complete image; the receiver owns the block
  void closeRequested();            // "Закрыть" or the window closed

 private:
  enum class Purpose { Scan, Preview };
  struct PreviewRestore;

  void buildSettings();
  void fillChoice(QComboBox* box, const char* option);
  void fillResolution();
  void fillAreaPreset();
  void scheduleRebuild();
  void setOption(const std::string& name, const morvex::sane::OptionValue& value);
  void applyPreset(int index);
  void applyDraggedArea(const QRectF& fractions);
  void showArea();

  void startScan(Purpose purpose);
  void cancelScan();
  void abandonScan();
  void scanEnded(HGLOBAL dib, const std::string& error);
  void setScanning(bool scanning);
  void showError(const QString& text);

  morvex::sane::Device& device_;
  std::function<bool(const std::string& mode)> modeAllowed_;
  std::optional<Bed> bed_;
  // Set while a job runs; a job's queued results carry its number so that
  // the results of a job already given up are dropped.
  std::unique_ptr<ScanJob> job_;
  unsigned jobNumber_ = 0;
  Purpose purpose_ = Purpose::Scan;
  std::unique_ptr<PreviewRestore> restore_;
  bool rebuildPending_ = false;

  QComboBox* modeBox_ = nullptr;
  QComboBox* resolutionBox_ = nullptr;
  QComboBox* sourceBox_ = nullptr;
  QComboBox* areaPresetBox_ = nullptr;
  QVBoxLayout* areaHolder_ = nullptr;
  QWidget* areaFields_ = nullptr;
  QWidget* settings_ = nullptr;
  QWidget* otherOptions_ = nullptr;
  QVBoxLayout* otherHolder_ = nullptr;
  QWidget* otherContent_ = nullptr;
  QScrollArea* otherScroll_ = nullptr;
  PreviewWidget* preview_ = nullptr;
  QPushButton* previewButton_ = nullptr;
  QPushButton* scanButton_ = nullptr;
  QPushButton* closeButton_ = nullptr;
  QPushButton* cancelScanButton_ = nullptr;
  QProgressBar* progressBar_ = nullptr;
  QLabel* errorLabel_ = nullptr;
};

}  // namespace morvex::dsm
