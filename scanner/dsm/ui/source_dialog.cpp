#include "source_dialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMetaMethod>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <exception>
#include <memory>
#include <set>
#include <string_view>
#include <utility>
#include <vector>

#include "device_settings.h"
#include "dib_picture.h"
#include "option_editor.h"
#include "preview_widget.h"
#include "scan_job.h"

namespace morvex::dsm {

namespace {

using morvex::sane::ConstraintKind;
using morvex::sane::OptionDescriptor;
using morvex::sane::OptionType;
using morvex::sane::OptionValue;

QString Text(const std::string& s) { return QString::fromStdString(s); }

// The options the main section shows; the rest go into "other options".
const std::set<std::string>& MainOptions() {
  static const std::set<std::string> names = {"mode", "resolution", "source", "tl-x", "tl-y", "br-x", "br-y"};
  return names;
}

constexpr std::array<std::pair<const char*, const char*>, 4> kAreaFields = {{
    {"tl-x", "Слева:"}, {"tl-y", "Сверху:"}, {"br-x", "Справа:"}, {"br-y", "Снизу:"}}};

// Preview scans are made at about this resolution: enough to see a note.
constexpr double kPreviewDpi = 50;
// Resolutions offered when the device takes any value of a range.
constexpr std::array<double, 11> kCommonDpi = {50, 75, 100, 150, 200, 300, 400, 600, 1200, 2400, 4800};


enum AreaPreset { kWholeBed = 0, kNote = 1, kCustom = 2 };

std::optional<OptionValue> Read(const morvex::sane::Device& device, const OptionDescriptor& o) {
  if (!o.readable()) return std::nullopt;
  try {
    return device.get(o.name);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

std::optional<double> Number(const std::optional<OptionValue>& v) {
  if (!v) return std::nullopt;
  if (const auto* ints = std::get_if<std::vector<std::int32_t>>(&*v); ints && !ints->empty()) return (*ints)[0];
  if (const auto* reals = std::get_if<std::vector<double>>(&*v); reals && !reals->empty()) return (*reals)[0];
  return std::nullopt;
}

OptionValue NumberValue(const OptionDescriptor& o, double number) {
  if (o.type == OptionType::Int) return std::vector<std::int32_t>{static_cast<std::int32_t>(std::lround(number))};
  return std::vector<double>{number};
}

double CurrentDpi(const morvex::sane::Device& device) {
  const OptionDescriptor* o = device.find("resolution");
  if (!o) return 0;
  return Number(Read(device, *o)).value_or(0);
}

// The resolutions a user picks from: the device's list, or the common ones
// its range allows (on its steps).
std::vector<double> ResolutionChoices(const OptionDescriptor& o) {
  if (o.constraint == ConstraintKind::WordList) return o.words;
  std::vector<double> choices;
  if (o.constraint != ConstraintKind::Range) return std::vector<double>(kCommonDpi.begin(), kCommonDpi.end());
  for (const double dpi : kCommonDpi) {
    if (dpi < o.range.min || dpi > o.range.max) continue;
    if (o.range.quant > 0 && std::abs(std::remainder(dpi - o.range.min, o.range.quant)) > 1e-6) continue;
    choices.push_back(dpi);
  }
  if (choices.empty()) choices = {o.range.min, o.range.max};
  return choices;
}

QString DpiText(double dpi) { return QStringLiteral("%1 точек на дюйм").arg(QString::number(dpi, 'g', 10)); }

// A global block that is freed unless someone takes it: a scan's result
// travels to the GUI thread in one, so that a result never delivered (the
// dialog went first) is not lost memory.
struct OwnedDib {
  HGLOBAL block = nullptr;
  explicit OwnedDib(HGLOBAL b) : block(b) {}
  ~OwnedDib() {
    if (block) GlobalFree(block);
  }
  OwnedDib(const OwnedDib&) = delete;
  OwnedDib& operator=(const OwnedDib&) = delete;
  HGLOBAL take() { return std::exchange(block, nullptr); }
};

}  // namespace

// The settings a preview changes, put back when it ends.
struct SourceDialog::PreviewRestore {
  std::optional<OptionValue> resolution;
  std::optional<ScanArea> area;
  std::optional<OptionValue> preview;
};

SourceDialog::SourceDialog(morvex::sane::Device& device, const QString& scannerName, QWidget* parent,
                           std::function<bool(const std::string& mode)> modeAllowed)
    : QDialog(parent), device_(device), modeAllowed_(std::move(modeAllowed)) {
  setObjectName(QStringLiteral("ScannerSource"));
  setWindowTitle(QStringLiteral("Сканирование — %1").arg(scannerName));
  setModal(false);

  auto* name = new QLabel(QStringLiteral("Сканер: <b>%1</b>").arg(scannerName.toHtmlEscaped()), this);
  name->setObjectName(QStringLiteral("scannerName"));
  name->setTextFormat(Qt::RichText);

  // Left: the settings, which the scan owns while it runs.
  settings_ = new QWidget(this);
  auto* main = new QGroupBox(QStringLiteral("Основные параметры"), settings_);
  modeBox_ = new QComboBox(main);
  modeBox_->setObjectName(QStringLiteral("modeBox"));
  resolutionBox_ = new QComboBox(main);
  resolutionBox_->setObjectName(QStringLiteral("resolutionBox"));
  sourceBox_ = new QComboBox(main);
  sourceBox_->setObjectName(QStringLiteral("sourceBox"));
  auto* mainForm = new QFormLayout(main);
  mainForm->addRow(QStringLiteral("Режим:"), modeBox_);
  mainForm->addRow(QStringLiteral("Разрешение:"), resolutionBox_);
  mainForm->addRow(QStringLiteral("Источник документов:"), sourceBox_);

  auto* area = new QGroupBox(QStringLiteral("Область сканирования"), settings_);
  areaPresetBox_ = new QComboBox(area);
  areaPresetBox_->setObjectName(QStringLiteral("areaPresetBox"));
  auto* areaLayout = new QVBoxLayout(area);
  auto* presetForm = new QFormLayout;
  presetForm->addRow(QStringLiteral("Размер:"), areaPresetBox_);
  areaLayout->addLayout(presetForm);
  areaHolder_ = new QVBoxLayout;
  areaHolder_->setContentsMargins(0, 0, 0, 0);
  areaLayout->addLayout(areaHolder_);

  auto* other = new QGroupBox(QStringLiteral("Другие параметры сканера"), settings_);
  otherOptions_ = new QWidget;
  otherOptions_->setObjectName(QStringLiteral("otherOptions"));
  otherHolder_ = new QVBoxLayout(otherOptions_);
  otherHolder_->setContentsMargins(0, 0, 0, 0);
  otherScroll_ = new QScrollArea(other);
  otherScroll_->setWidgetResizable(true);
  otherScroll_->setFrameShape(QFrame::NoFrame);
  otherScroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  otherScroll_->setWidget(otherOptions_);
  otherScroll_->setMinimumHeight(160);
  auto* otherLayout = new QVBoxLayout(other);
  otherLayout->addWidget(otherScroll_);

  auto* settingsLayout = new QVBoxLayout(settings_);
  settingsLayout->setContentsMargins(0, 0, 0, 0);
  settingsLayout->addWidget(main);
  settingsLayout->addWidget(area);
  settingsLayout->addWidget(other, 1);

  // Right: the preview.
  auto* previewGroup = new QGroupBox(QStringLiteral("Предварительный просмотр"), this);
  preview_ = new PreviewWidget(previewGroup);
  previewButton_ = new QPushButton(QStringLiteral("Просмотр"), previewGroup);
  previewButton_->setObjectName(QStringLiteral("previewButton"));
  previewButton_->setToolTip(QStringLiteral("Быстро отсканировать всё стекло с низким разрешением"));
  auto* previewLayout = new QVBoxLayout(previewGroup);
  previewLayout->addWidget(preview_, 1);
  auto* previewButtons = new QHBoxLayout;
  previewButtons->addStretch(1);
  previewButtons->addWidget(previewButton_);
  previewLayout->addLayout(previewButtons);

  // Bottom: the error, the scan's progress and the buttons.
  errorLabel_ = new QLabel(this);
  errorLabel_->setObjectName(QStringLiteral("errorLabel"));
  errorLabel_->setWordWrap(true);
  errorLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  errorLabel_->setStyleSheet(QStringLiteral("color: #b00000;"));
  errorLabel_->hide();
  progressBar_ = new QProgressBar(this);
  progressBar_->setObjectName(QStringLiteral("progressBar"));
  progressBar_->setRange(0, 1000);
  progressBar_->setFormat(QStringLiteral("%p%"));
  progressBar_->hide();
  cancelScanButton_ = new QPushButton(QStringLiteral("Отмена"), this);
  cancelScanButton_->setObjectName(QStringLiteral("cancelScanButton"));
  cancelScanButton_->hide();
  scanButton_ = new QPushButton(QStringLiteral("Сканировать"), this);
  scanButton_->setObjectName(QStringLiteral("scanButton"));
  // No default button: Enter confirms a typed value and must not start a scan.
  scanButton_->setAutoDefault(false);
  previewButton_->setAutoDefault(false);
  cancelScanButton_->setAutoDefault(false);
  closeButton_ = new QPushButton(QStringLiteral("Закрыть"), this);
  closeButton_->setObjectName(QStringLiteral("closeButton"));
  closeButton_->setAutoDefault(false);

  auto* columns = new QHBoxLayout;
  columns->addWidget(settings_, 3);
  columns->addWidget(previewGroup, 2);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(progressBar_, 1);
  buttons->addWidget(cancelScanButton_);
  buttons->addStretch(0);
  buttons->addSpacing(12);
  buttons->addWidget(scanButton_);
  buttons->addWidget(closeButton_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(name);
  layout->addLayout(columns, 1);
  layout->addWidget(errorLabel_);
  layout->addLayout(buttons);

  connect(modeBox_, &QComboBox::currentIndexChanged, this,
          [this](int i) { setOption("mode", modeBox_->itemData(i).toString().toStdString()); });
  connect(sourceBox_, &QComboBox::currentIndexChanged, this,
          [this](int i) { setOption("source", sourceBox_->itemData(i).toString().toStdString()); });
  connect(resolutionBox_, &QComboBox::currentIndexChanged, this, [this](int i) {
    if (const OptionDescriptor* o = device_.find("resolution")) setOption("resolution", NumberValue(*o, resolutionBox_->itemData(i).toDouble()));
  });
  connect(areaPresetBox_, &QComboBox::currentIndexChanged, this, [this](int i) { applyPreset(i); });
  connect(preview_, &PreviewWidget::areaDragged, this, [this](const QRectF& f) { applyDraggedArea(f); });
  connect(previewButton_, &QPushButton::clicked, this, [this] { startScan(Purpose::Preview); });
  connect(scanButton_, &QPushButton::clicked, this, [this] { startScan(Purpose::Scan); });
  connect(cancelScanButton_, &QPushButton::clicked, this, [this] { cancelScan(); });
  connect(closeButton_, &QPushButton::clicked, this, &QDialog::close);

  buildSettings();
  resize(920, 660);
}

SourceDialog::~SourceDialog() { abandonScan(); }

void SourceDialog::done(int result) {
  abandonScan();
  RememberSettings(device_);
  QDialog::done(result);
  emit closeRequested();
}

// ---- settings ----

void SourceDialog::buildSettings() {
  rebuildPending_ = false;
  bed_ = BedOf(device_);
  fillChoice(modeBox_, "mode");
  fillChoice(sourceBox_, "source");
  fillResolution();

  // The area's own fields.
  delete areaFields_;
  areaFields_ = new QWidget;
  auto* areaForm = new QFormLayout(areaFields_);
  areaForm->setContentsMargins(0, 0, 0, 0);
  for (const auto& [optionName, label] : kAreaFields) {
    const OptionDescriptor* o = device_.find(optionName);
    if (!o) continue;
    const std::optional<OptionValue> value = Read(device_, *o);
    OptionEditorHooks hooks{[this, n = o->name](const OptionValue& v) { setOption(n, v); },
                            [this](const QString& why) { showError(why); }};
    areaForm->addRow(QString::fromUtf8(label), MakeOptionEditor(*o, value ? &*value : nullptr, hooks, areaFields_));
  }
  areaHolder_->addWidget(areaFields_);
  fillAreaPreset();

  // Every other option, under its device's group titles.
  const int scrolled = otherScroll_->verticalScrollBar()->value();
  delete otherContent_;
  otherContent_ = new QWidget;
  auto* form = new QFormLayout(otherContent_);
  form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
  form->setRowWrapPolicy(QFormLayout::WrapLongRows);
  QString group;
  int shown = 0;
  for (const OptionDescriptor& o : device_.options()) {
    if (o.type == OptionType::Group) {
      group = Text(o.title);
      continue;
    }
    if (o.name.empty() || MainOptions().count(o.name)) continue;
    if (!group.isEmpty()) {
      auto* heading = new QLabel(QStringLiteral("<b>%1</b>").arg(group.toHtmlEscaped()), otherContent_);
      form->addRow(heading);
      group.clear();
    }
    const std::optional<OptionValue> value = Read(device_, o);
    OptionEditorHooks hooks{[this, n = o.name](const OptionValue& v) { setOption(n, v); },
                            [this](const QString& why) { showError(why); }};
    QWidget* editor = MakeOptionEditor(o, value ? &*value : nullptr, hooks, otherContent_);
    if (!editor) continue;
    if (WithOwnTitle(o)) {
      form->addRow(editor);
    } else {
      auto* label = new QLabel(OptionLabel(o), otherContent_);
      label->setToolTip(Text(o.description));
      label->setEnabled(o.settable());
      label->setBuddy(editor);
      form->addRow(label, editor);
    }
    ++shown;
  }
  if (shown == 0) form->addRow(new QLabel(QStringLiteral("У этого сканера других параметров нет."), otherContent_));
  otherHolder_->addWidget(otherContent_);
  otherHolder_->activate();
  otherScroll_->verticalScrollBar()->setValue(scrolled);
  showArea();
}

void SourceDialog::fillChoice(QComboBox* box, const char* option) {
  const QSignalBlocker block(box);
  box->clear();
  const OptionDescriptor* o = device_.find(option);
  if (!o || o->type != OptionType::String || o->constraint != ConstraintKind::StringList) {
    box->addItem(QStringLiteral("—"));
    box->setEnabled(false);
    box->setToolTip(QStringLiteral("Сканер не позволяет это выбрать"));
    return;
  }
  const std::optional<OptionValue> value = Read(device_, *o);
  const std::string* now = value ? std::get_if<std::string>(&*value) : nullptr;
  const bool isMode = std::string_view(option) == "mode";
  for (const std::string& s : o->strings) {
    const bool current = now && *now == s;
    if (isMode && modeAllowed_ && !current && !modeAllowed_(s)) continue;
    box->addItem(Text(s), Text(s));
    if (current) box->setCurrentIndex(box->count() - 1);
  }
  box->setToolTip(Text(o->description));
  box->setEnabled(o->settable());
}

void SourceDialog::fillResolution() {
  const QSignalBlocker block(resolutionBox_);
  resolutionBox_->clear();
  const OptionDescriptor* o = device_.find("resolution");
  if (!o || o->count != 1 || (o->type != OptionType::Int && o->type != OptionType::Fixed)) {
    resolutionBox_->addItem(QStringLiteral("—"));
    resolutionBox_->setEnabled(false);
    return;
  }
  std::vector<double> choices = ResolutionChoices(*o);
  const std::optional<double> now = Number(Read(device_, *o));
  // The device's current value is offered even when it is none of the common ones.
  if (now && std::find(choices.begin(), choices.end(), *now) == choices.end()) {
    choices.insert(std::lower_bound(choices.begin(), choices.end(), *now), *now);
  }
  for (const double dpi : choices) {
    resolutionBox_->addItem(DpiText(dpi), dpi);
    if (now && *now == dpi) resolutionBox_->setCurrentIndex(resolutionBox_->count() - 1);
  }
  resolutionBox_->setToolTip(Text(o->description));
  resolutionBox_->setEnabled(o->settable());
}

void SourceDialog::fillAreaPreset() {
  const QSignalBlocker block(areaPresetBox_);
  areaPresetBox_->clear();
  if (!bed_) {
    areaPresetBox_->addItem(QStringLiteral("—"));
    areaPresetBox_->setEnabled(false);
    return;
  }
  areaPresetBox_->addItem(QStringLiteral("Всё стекло сканера"));
  areaPresetBox_->addItem(QStringLiteral("Банкнота в центре (%1 × %2 мм)")
                              .arg(QString::number(kNoteWidthMm), QString::number(kNoteHeightMm)));
  areaPresetBox_->addItem(QStringLiteral("Своя область"));
  areaPresetBox_->setEnabled(true);
}

void SourceDialog::scheduleRebuild() {
  if (rebuildPending_) return;
  rebuildPending_ = true;
  // Later, not now: the widget whose signal got here is among those rebuilt.
  // While a scan has the device the rebuild stays pending; scanEnded asks again.
  QMetaObject::invokeMethod(
      this, [this] { if (rebuildPending_ && !job_) buildSettings(); }, Qt::QueuedConnection);
}

void SourceDialog::setOption(const std::string& name, const OptionValue& value) {
  if (job_) return;  // the scan has the device
  try {
    const morvex::sane::SetResult r = device_.set(name, value);
    showError({});
    if (r.reloadOptions || r.inexact || name == "resolution") {
      scheduleRebuild();
    } else {
      showArea();
    }
  } catch (const std::exception& e) {
    const OptionDescriptor* o = device_.find(name);
    showError(QStringLiteral("Сканер не принял значение параметра «%1»: %2")
                  .arg(Text(o && !o->title.empty() ? o->title : name), Text(e.what())));
    scheduleRebuild();  // the fields show what the device really holds
  }
}


void SourceDialog::applyPreset(int index) {
  if (!bed_ || job_) return;
  if (index == kCustom) return;  // the user's own area stays as it is
  try {
    SetArea(device_, index == kWholeBed ? WholeBed(*bed_) : NoteArea(*bed_, CurrentDpi(device_)));
    showError({});
  } catch (const std::exception& e) {
    showError(QStringLiteral("Сканер не принял область сканирования: %1").arg(Text(e.what())));
  }
  scheduleRebuild();
}

void SourceDialog::applyDraggedArea(const QRectF& f) {
  if (!bed_ || job_) return;
  try {
    SetArea(device_, AreaFromFractions(*bed_, f.left(), f.top(), f.right(), f.bottom()));
    showError({});
  } catch (const std::exception& e) {
    showError(QStringLiteral("Сканер не принял область сканирования: %1").arg(Text(e.what())));
  }
  scheduleRebuild();
}

// The area in the preview and the preset it matches.
void SourceDialog::showArea() {
  const std::optional<ScanArea> area = bed_ ? CurrentArea(device_) : std::nullopt;
  if (!bed_ || !area) {
    preview_->setArea(std::nullopt);
    return;
  }
  preview_->setBedAspect(bed_->width() / bed_->height());
  const ScanArea f = FractionsOf(*bed_, *area);
  preview_->setArea(QRectF(QPointF(f.left, f.top), QPointF(f.right, f.bottom)));
  // A preset matches within a step of the device (or a thousandth of the bed).
  const double tolerance = std::max(1.0, std::max(bed_->width(), bed_->height()) / 1000);
  int preset = kCustom;
  if (SameArea(*area, WholeBed(*bed_), tolerance)) {
    preset = kWholeBed;
  } else if (SameArea(*area, NoteArea(*bed_, CurrentDpi(device_)), tolerance)) {
    preset = kNote;
  }
  const QSignalBlocker block(areaPresetBox_);
  areaPresetBox_->setCurrentIndex(preset);
}

// ---- scanning ----

void SourceDialog::startScan(Purpose purpose) {
  if (job_) return;
  showError({});
  purpose_ = purpose;
  if (purpose == Purpose::Preview) {
    // The whole bed, coarse, and flagged as a preview where the device knows
    // the difference; put back when the preview ends.
    restore_ = std::make_unique<PreviewRestore>();
    try {
      if (const OptionDescriptor* o = device_.find("resolution"); o && o->settable()) {
        restore_->resolution = Read(device_, *o);
        const std::vector<double> choices = ResolutionChoices(*o);
        double dpi = kPreviewDpi;
        if (o->constraint == ConstraintKind::Range) {
          dpi = std::clamp(kPreviewDpi, o->range.min, o->range.max);
        } else if (!choices.empty()) {
          dpi = *std::min_element(choices.begin(), choices.end(), [](double a, double b) {
            return std::abs(a - kPreviewDpi) < std::abs(b - kPreviewDpi);
          });
        }
        device_.set("resolution", NumberValue(*o, dpi));
      }
      if (bed_) {
        restore_->area = CurrentArea(device_);
        SetArea(device_, WholeBed(*bed_));
      }
      if (const OptionDescriptor* o = device_.find("preview"); o && o->settable() && o->type == OptionType::Bool) {
        restore_->preview = Read(device_, *o);
        device_.set("preview", true);
      }
    } catch (const std::exception&) {
      // A preview at the user's own settings is still a preview.
    }
  }
  const unsigned number = ++jobNumber_;
  setScanning(true);
  auto progress = [this, number, last = -2](double fraction) mutable {
    // Only visible changes cross to the GUI thread.
    const int value = fraction < 0 ? -1 : static_cast<int>(fraction * 1000);
    if (value == last) return;
    last = value;
    QMetaObject::invokeMethod(
        this,
        [this, number, value] {
          if (number != jobNumber_ || !job_) return;
          if (value < 0) {
            progressBar_->setRange(0, 0);  // the height is unknown: a busy bar
          } else {
            progressBar_->setRange(0, 1000);
            progressBar_->setValue(value);
          }
        },
        Qt::QueuedConnection);
  };
  auto finished = [this, number](HGLOBAL dib, const std::string& error) {
    auto owned = std::make_shared<OwnedDib>(dib);
    QMetaObject::invokeMethod(
        this,
        [this, number, owned, error] {
          if (number != jobNumber_) return;  // given up already: the block goes with `owned`
          scanEnded(owned->take(), error);
        },
        Qt::QueuedConnection);
  };
  job_ = std::make_unique<ScanJob>(device_, std::move(progress), std::move(finished));
}

void SourceDialog::cancelScan() {
  if (!job_) return;
  job_->Cancel();
  cancelScanButton_->setEnabled(false);
  progressBar_->setRange(0, 0);
}

// Ends a running scan at once (closing, destruction): cancels it, waits for
// the worker and drops its result.
void SourceDialog::abandonScan() {
  if (!job_) return;
  job_->Cancel();
  job_.reset();
  ++jobNumber_;
  scanEnded(nullptr, {});
}

void SourceDialog::scanEnded(HGLOBAL dib, const std::string& error) {
  job_.reset();  // the worker has finished its work; this joins it
  setScanning(false);
  if (rebuildPending_) {
    rebuildPending_ = false;
    scheduleRebuild();
  }
  if (purpose_ == Purpose::Preview) {
    if (restore_) {
      try {
        if (restore_->resolution) device_.set("resolution", *restore_->resolution);
        if (restore_->area) SetArea(device_, *restore_->area);
        if (restore_->preview) device_.set("preview", *restore_->preview);
      } catch (const std::exception& e) {
        showError(QStringLiteral("Не удалось вернуть параметры после просмотра: %1").arg(Text(e.what())));
      }
      restore_.reset();
    }
    if (dib) {
      preview_->setPicture(DibPicture(dib));
      GlobalFree(dib);
    } else if (!error.empty()) {
      showError(QStringLiteral("Просмотр не удался: %1").arg(Text(error)));
    }
    scheduleRebuild();
    return;
  }
  if (!dib) {
    if (!error.empty()) showError(QStringLiteral("Сканирование не удалось: %1").arg(Text(error)));
    return;
  }
  RememberSettings(device_);
  // The block belongs to the receiver; with none it would be lost.
  if (isSignalConnected(QMetaMethod::fromSignal(&SourceDialog::imageScanned))) {
    emit imageScanned(dib);
  } else {
    GlobalFree(dib);
  }
}

void SourceDialog::setScanning(bool scanning) {
  settings_->setEnabled(!scanning);
  preview_->setEnabled(!scanning);
  previewButton_->setEnabled(!scanning);
  scanButton_->setEnabled(!scanning);
  cancelScanButton_->setVisible(scanning);
  cancelScanButton_->setEnabled(scanning);
  progressBar_->setVisible(scanning);
  progressBar_->setRange(0, 1000);
  progressBar_->setValue(0);
}

void SourceDialog::showError(const QString& text) {
  errorLabel_->setText(text);
  errorLabel_->setVisible(!text.isEmpty());
}

}  // namespace morvex::dsm
