#include "money_form.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <exception>
#include <thread>
#include <vector>

#include "app_info.h"
#include "batch_runner.h"
#include "bitmap_image.h"
#include "bmp_file_list.h"
#include "collapse_splitter.h"
#include "drag_panel.h"
#include "folder_tree.h"
#include "gradient_button.h"
#include "gui_resources.h"
#include "html_view.h"
#include "jet_button.h"
#include "morvex/app/batch.h"
#include "morvex/app/batch_report.h"
#include "morvex/app/html.h"
#include "morvex/app/result_page.h"
#include "morvex/app/utf8.h"
#include "morvex/bmp.h"
#include "morvex/engine.h"
#include "morvex/grey_image.h"
#include "morvex/twain/multitwain.h"
#include "picture_box.h"
#include "progress_form.h"
#include "res_protocol.h"
#include "scanned_image.h"
#include "user_messages.h"
#include "wait_cursor.h"
#include "window_placement.h"

namespace morvex::gui {
namespace {

constexpr int kWidth = 772;
constexpr int kHeight = 588;
constexpr int kTitleHeight = 28;
constexpr int kToolBarHeight = 41;
constexpr int kStatusHeight = 24;
constexpr int kLeftWidth = 233;
constexpr int kReportWidth = 388;
constexpr int kTreeHeight = 170;
constexpr int kResultsHeight = 185;

const QColor kFormColour(233, 233, 233);
const QColor kTitleTop(163, 163, 202);
const QColor kStatusBottom(150, 150, 150);

const QString kReportCaption = QStringLiteral("Отчёт");
const QString kHelpCaption = QStringLiteral("Справка");
const QString kInitialStatus = QStringLiteral("#####");
const QString kNoRoomForScanText = QStringLiteral("TBitMap: Нет ресурсов для загрузки изображения!");

std::filesystem::path FsPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

QLabel* MakeDragLabel(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setAttribute(Qt::WA_TransparentForMouseEvents);
  label->setAttribute(Qt::WA_TranslucentBackground);
  // The labels read the same while the window is disabled for a folder run:
  // the status line is how that run talks to the user.
  QPalette pal = label->palette();
  pal.setColor(QPalette::Disabled, QPalette::WindowText, pal.color(QPalette::Active, QPalette::WindowText));
  label->setPalette(pal);
  return label;
}

QGroupBox* MakeGroup(const QString& caption, QWidget* content) {
  auto* group = new QGroupBox(caption);
  auto* layout = new QVBoxLayout(group);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(content);
  return group;
}

}  // namespace

TMoneyForm::TMoneyForm(TProgressForm& progressForm, UserMessages& messages, QWidget* mainForm)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint),
      progressForm_(progressForm),
      messages_(messages),
      mainForm_(mainForm) {
  InitGuiResources();
  setObjectName(QStringLiteral("MoneyForm"));
  setWindowTitle(kApplicationTitle);
  setWindowIcon(QIcon(kProgramIcon));
  setFixedSize(kWidth, kHeight);
  QFont small = font();
  small.setPixelSize(11);
  setFont(small);
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, kFormColour);
  setPalette(pal);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(makeTitleBar());
  layout->addWidget(makeToolBar());
  layout->addWidget(makeBody(), 1);
  layout->addWidget(makeStatusBar());
  // Lay the window out now, so that the panels get their sizes from the
  // real size of the body rather than from a guess.
  layout->activate();
  setInitialPanelSizes();
  CentreOnScreen(*this);
  FormCreate();
}

TMoneyForm::~TMoneyForm() = default;

QWidget* TMoneyForm::makeTitleBar() {
  auto* bar = new DragPanel(kTitleTop, Qt::white);
  bar->setFixedHeight(kTitleHeight);

  jetButton3_ = new JetButton(QPixmap(kGreyButtonStrip), bar);
  jetButton3_->setObjectName(QStringLiteral("JetButton3"));
  jetButton3_->setText(QStringLiteral("A"));
  QFont about(QStringLiteral("DejaVu Serif"));
  about.setItalic(true);
  about.setBold(true);
  about.setPixelSize(15);
  jetButton3_->setFont(about);
  jetButton3_->setCaptionColour(Qt::white);
  jetButton3_->move(4, 2);
  jetButton3_->setToolTip(QStringLiteral("О программе"));
  connect(jetButton3_, &QAbstractButton::clicked, this, &TMoneyForm::JetButton3Click);

  titleLabel_ = MakeDragLabel(kTitleLabelText, bar);
  titleLabel_->setObjectName(QStringLiteral("TitleLabel"));
  QFont titleFont = titleLabel_->font();
  titleFont.setBold(true);
  titleFont.setPixelSize(13);
  titleLabel_->setFont(titleFont);
  titleLabel_->setGeometry(36, 0, 500, kTitleHeight);

  jetButton1_ = new JetButton(QPixmap(kBlueButtonStrip), bar);
  jetButton1_->setObjectName(QStringLiteral("JetButton1"));
  jetButton1_->setSymbol(PaintMinimiseArrow);
  jetButton1_->setCaptionColour(Qt::white);
  jetButton1_->move(kWidth - 4 - 25 - 3 - 25, 2);
  jetButton1_->setToolTip(QStringLiteral("Свернуть"));
  connect(jetButton1_, &QAbstractButton::clicked, this, &TMoneyForm::JetButton1Click);

  exit_ = new JetButton(QPixmap(kBlueButtonStrip), bar);
  exit_->setObjectName(QStringLiteral("Exit"));
  exit_->setText(QStringLiteral("X"));
  QFont x = exit_->font();
  x.setBold(true);
  x.setPixelSize(13);
  exit_->setFont(x);
  exit_->setCaptionColour(Qt::yellow);
  exit_->move(kWidth - 4 - 25, 2);
  exit_->setToolTip(QStringLiteral("Закрыть"));
  connect(exit_, &QAbstractButton::clicked, this, &TMoneyForm::ExitClick);
  return bar;
}

QWidget* TMoneyForm::makeToolBar() {
  auto* bar = new QWidget;
  bar->setFixedHeight(kToolBarHeight);
  auto button = [bar](const QString& caption, const char* name, int x, int width) {
    auto* b = new GradientButton(caption, bar);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(x, 8, width, 25);
    return b;
  };
  gradBtn2_ = button(QStringLiteral("Обработать файл"), "GradBtn2", 8, 126);
  gradBtn3_ = button(QStringLiteral("Обработать каталог"), "GradBtn3", 140, 136);
  // The check box lies on a disabled button that frames it.
  GradientButton* frame = button(QString(), "GradBtn4", 282, 140);
  frame->setEnabled(false);
  gradBtn1_ = button(QStringLiteral("Обработать скан"), "GradBtn1", 428, 126);
  GradientButton* filler = button(QString(), "GradBtn5", 560, 108);
  filler->setEnabled(false);
  help_ = button(QStringLiteral("Справка"), "Help", 674, 90);

  cbReanme_ = new QCheckBox(QStringLiteral("Переименовывать"), bar);
  cbReanme_->setObjectName(QStringLiteral("cbReanme"));
  cbReanme_->setAttribute(Qt::WA_TranslucentBackground);
  cbReanme_->setGeometry(frame->x() + 10, frame->y() + 4, frame->width() - 16, 17);
  cbReanme_->raise();

  connect(gradBtn2_, &QAbstractButton::clicked, this, &TMoneyForm::GradBtn2Click);
  connect(gradBtn3_, &QAbstractButton::clicked, this, &TMoneyForm::GradBtn3Click);
  connect(gradBtn1_, &QAbstractButton::clicked, this, &TMoneyForm::GradBtn1Click);
  connect(help_, &QAbstractButton::clicked, this, &TMoneyForm::HelpClick);
  return bar;
}

QWidget* TMoneyForm::makeBody() {
  folderTree_ = new FolderTree;
  folderTree_->setObjectName(QStringLiteral("ShellTreeView1"));
  fileList_ = new BmpFileList;
  fileList_->setObjectName(QStringLiteral("ShellListView1"));
  fileList_->setItemFilter([this](const QFileInfo& item) { return ShellListView1AddFolder(item); });
  fileList_->setKeyDownHandler([this](int key) { return ShellListView1KeyDown(key); });
  connect(fileList_, &BmpFileList::itemClicked, this, &TMoneyForm::ShellListView1Click);
  connect(fileList_, &BmpFileList::selectionChangedByUser, this, &TMoneyForm::ShellListView1Change);
  connect(fileList_, &BmpFileList::listDoubleClicked, this, &TMoneyForm::ShellListView1DblClick);
  connect(folderTree_, &FolderTree::folderSelected, fileList_, &BmpFileList::setFolder);

  leftSplitter_ = new CollapseSplitter(Qt::Vertical);
  leftSplitter_->addWidget(folderTree_);
  leftSplitter_->addWidget(fileList_);
  leftSplitter_->setCollapseTarget(1, 0);
  auto* left = MakeGroup(QStringLiteral("Выбрать каталог/файл"), leftSplitter_);

  preview_ = new PictureBox;
  preview_->setObjectName(QStringLiteral("Image1"));
  auto* imageGroup = MakeGroup(QStringLiteral("Изображение"), preview_);
  resultsView_ = new HtmlView;
  resultsView_->setObjectName(QStringLiteral("ResultsBrowser"));
  auto* resultsGroup = MakeGroup(QStringLiteral("Результаты"), resultsView_);
  centreSplitter_ = new CollapseSplitter(Qt::Vertical);
  centreSplitter_->addWidget(imageGroup);
  centreSplitter_->addWidget(resultsGroup);
  centreSplitter_->setCollapseTarget(1, 1);
  centreSplitter_->setStretchFactor(0, 1);
  centreSplitter_->setStretchFactor(1, 0);

  reportView_ = new HtmlView;
  reportView_->setObjectName(QStringLiteral("ReportBrowser"));
  reportGroup_ = MakeGroup(kReportCaption, reportView_);

  bodySplitter_ = new CollapseSplitter(Qt::Horizontal);
  bodySplitter_->addWidget(left);
  bodySplitter_->addWidget(centreSplitter_);
  bodySplitter_->addWidget(reportGroup_);
  bodySplitter_->setCollapseTarget(1, LeftPanel);
  bodySplitter_->setCollapseTarget(2, ReportPanel);
  bodySplitter_->setStretchFactor(LeftPanel, 0);
  bodySplitter_->setStretchFactor(CentrePanel, 1);
  bodySplitter_->setStretchFactor(ReportPanel, 0);

  return bodySplitter_;
}

void TMoneyForm::setInitialPanelSizes() {
  const int handles = 2 * bodySplitter_->handleWidth();
  bodySplitter_->setSizes({kLeftWidth, bodySplitter_->width() - kLeftWidth - kReportWidth - handles, kReportWidth});
  // The left splitter lies inside a group box, whose layout gives it its
  // size once the group has its own.
  leftSplitter_->parentWidget()->layout()->activate();
  leftSplitter_->setSizes({kTreeHeight, leftSplitter_->height() - kTreeHeight - leftSplitter_->handleWidth()});
  // The results group is 185 high, its view inside the group's frame.
  centreSplitter_->setSizes(
      {centreSplitter_->height() - kResultsHeight - centreSplitter_->handleWidth(), kResultsHeight});
}

QWidget* TMoneyForm::makeStatusBar() {
  auto* bar = new DragPanel(Qt::white, kStatusBottom);
  bar->setFixedHeight(kStatusHeight);
  statusLabel_ = MakeDragLabel(kInitialStatus, bar);
  statusLabel_->setObjectName(QStringLiteral("StatusLabel"));
  statusLabel_->setGeometry(6, 0, 585, kStatusHeight);
  auto* note = MakeDragLabel(QStringLiteral("демонстрационная версия"), bar);
  note->setObjectName(QStringLiteral("NoteLabel"));
  QFont small = note->font();
  small.setPixelSize(10);
  note->setFont(small);
  QPalette grey = note->palette();
  grey.setColor(QPalette::All, QPalette::WindowText, QColor(96, 96, 96));
  note->setPalette(grey);
  note->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  note->setGeometry(kWidth - 6 - 170, 0, 170, kStatusHeight);
  return bar;
}

void TMoneyForm::FormCreate() {
  references_ = LoadReferenceDigits();
  const std::string blank = app::BlankPage();
  resultsView_->SetPageText(blank);
  reportView_->SetPageText(blank);
  titleLabel_->setText(titleLabel_->text() + kVersion);
  bodySplitter_->collapse(ReportPanel);
  // The browser starts in the folder the program was started from.
  folderTree_->selectPath(QDir::currentPath());
}

void TMoneyForm::FormClose() { FreeReferenceDigits(references_); }

void TMoneyForm::closeEvent(QCloseEvent* event) {
  // A folder run's workers read the reference digits: the window stays
  // until the run is over.
  if (folderRunning_) {
    event->ignore();
    return;
  }
  FormClose();
  event->accept();
}

void TMoneyForm::ExitClick() {
  if (mainForm_)
    mainForm_->close();
  else
    close();
}

void TMoneyForm::JetButton1Click() { showMinimized(); }

void TMoneyForm::JetButton3Click() { messages_.ShowInformation(kAboutCaption, AboutText()); }

bool TMoneyForm::ShellListView1AddFolder(const QFileInfo& item) const {
  // The extension is what follows the last dot, so ending in ".bmp" is
  // having the extension ".bmp".
  return app::EndsWithCaseless(item.fileName().toStdString(), ".bmp");
}

void TMoneyForm::ShellListView1Click() { showPreview(); }

void TMoneyForm::ShellListView1Change() { showPreview(); }

void TMoneyForm::ShellListView1DblClick() { GradBtn2Click(); }

bool TMoneyForm::ShellListView1KeyDown(int key) {
  if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
  ShellListView1DblClick();
  return true;
}

void TMoneyForm::showPreview() {
  // A folder run never shows its images, also when it renames the selected file.
  if (folderRunning_) return;
  const auto item = fileList_->selectedItem();
  if (!item) return;
  try {
    loadPreview(item->path);
  } catch (const std::exception& e) {
    reportError(e);
  }
}

void TMoneyForm::loadPreview(const QString& path) {
  // Loaded aside first: a file that cannot be read leaves the preview as it was.
  Bitmap loaded;
  LoadBmpFile(FsPath(path), loaded);
  previewBitmap_ = std::move(loaded);
  preview_->setImage(ToQImage(previewBitmap_));
}

void TMoneyForm::setStatus(const std::string& utf8) { statusLabel_->setText(QString::fromStdString(utf8)); }

void TMoneyForm::reportError(const std::exception& error) { messages_.ShowError(QString::fromUtf8(error.what())); }

void TMoneyForm::GradBtn2Click() {
  const auto item = fileList_->selectedItem();
  if (!item) return;
  WaitCursor hourglass;
  setStatus(app::FileStatusText(item->displayName.toStdString()));
  QCoreApplication::processEvents();
  std::vector<std::string> details;
  try {
    loadPreview(item->path);
    const std::string depth = app::BitDepthLabel(previewBitmap_);
    AnalisysResult result;
    // The engine draws the marked image into the preview's own bitmap (and
    // leaves it as loaded when it fails).
    AnalyzeNote(previewBitmap_, true, &details, result, references_);
    preview_->setImage(ToQImage(previewBitmap_));
    const std::string fileName = QFileInfo(item->path).fileName().toStdString();
    resultsView_->SetPageText(app::ResultPage(app::FileResultTitle(fileName), result));
    if (!details.empty()) setStatus(app::AnalysisStatusText(previewBitmap_, depth, details));
  } catch (const std::exception& e) {
    hourglass.release();
    reportError(e);
  }
}

void TMoneyForm::GradBtn3Click() {
  const QString folder = folderTree_->selectedPath();
  if (folder.isEmpty()) return;
  const auto folderText = app::BatchFolderText(QFile::encodeName(folder).toStdString());
  if (!folderText) return;
  setStatus(app::FolderStatusText(*folderText));
  QCoreApplication::processEvents();

  app::BatchOptions options;
  options.Rename = cbReanme_->isChecked();
  options.Jobs = std::max(1u, std::thread::hardware_concurrency());
  bool shown = false;
  try {
    app::FolderBatch batch(FsPath(folder), references_, options);
    progressForm_.SetProgress(0, batch.total());
    setEnabled(false);
    folderRunning_ = true;
    progressForm_.show();
    progressForm_.raise();
    shown = true;
    QCoreApplication::processEvents();
    const app::BatchReport report =
        RunBatch(batch, [this](std::int32_t done, std::int32_t total) { progressForm_.SetProgress(done, total); });
    setStatus(report.TimeText);
    reportGroup_->setTitle(kReportCaption);
    reportView_->SetPageText(report.ReportPage);
    resultsView_->SetPageText(report.SummaryPage);
    bodySplitter_->collapse(LeftPanel);
    bodySplitter_->restore(ReportPanel);
  } catch (const std::exception& e) {
    if (shown) {
      progressForm_.hide();
      folderRunning_ = false;
      setEnabled(true);
    }
    reportError(e);
    return;
  }
  progressForm_.hide();
  folderRunning_ = false;
  setEnabled(true);
}

namespace {

// Releases the scanned DIB however the scan command ends.
class OwnedDib {
 public:
  explicit OwnedDib(HGLOBAL dib) : dib_(dib) {}
  ~OwnedDib() { twain::TWAIN_FreeDib(dib_); }
  OwnedDib(const OwnedDib&) = delete;
  OwnedDib& operator=(const OwnedDib&) = delete;
  HGLOBAL get() const { return dib_; }

 private:
  HGLOBAL dib_;
};

}  // namespace

void TMoneyForm::GradBtn1Click() {
  setStatus(kInitialStatus.toStdString());
  WaitCursor hourglass;
  Bitmap working;
  const HWND window = static_cast<QWidget*>(this);
  // Each call opens the TWAIN session and takes it down again; both report
  // their own failures.
  if (twain::TWAIN_SelectImageSource(window) == 0) return;
  const HGLOBAL acquired = twain::TWAIN_AcquireDib(window, 0);
  if (acquired == nullptr) return;
  OwnedDib dib(acquired);
  try {
    const DibSize size = ReadDibSize(dib.get());
    try {
      PutDibIntoBitmap(dib.get(), size, working);
    } catch (const OutOfGraphicsResources&) {
      messages_.ShowPlatformError(kNoRoomForScanText);
    }
    MakeGreyImage(working);
    previewBitmap_ = working;
    preview_->setImage(ToQImage(previewBitmap_));
    QCoreApplication::processEvents();
    std::vector<std::string> details;
    const std::string depth = app::BitDepthLabel(previewBitmap_);
    AnalisysResult result;
    // The outlines go into the working bitmap only: the preview keeps the
    // plain grey scan.
    AnalyzeNote(working, true, &details, result, references_);
    if (!details.empty()) setStatus(app::AnalysisStatusText(previewBitmap_, depth, details));
    resultsView_->SetPageText(app::ResultPage(app::kScanResultTitle, result));
  } catch (const std::exception& e) {
    hourglass.release();
    reportError(e);
  }
}

void TMoneyForm::HelpClick() {
  reportView_->Navigate(ResUrl(QStringLiteral("RT_HTML"), QStringLiteral("helphtml")));
  bodySplitter_->restore(ReportPanel);
  reportGroup_->setTitle(kHelpCaption);
}

}  // namespace morvex::gui
