#include "selection_dialog.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <memory>
#include <utility>
#include <vector>

#include "scanner_search.h"

namespace morvex::dsm {

namespace {

QString ItemText(const morvex::sane::DeviceInfo& d) {
  return QStringLiteral("%1 %2 (%3)")
      .arg(QString::fromStdString(d.vendor), QString::fromStdString(d.model), QString::fromStdString(d.name));
}

class SelectionDialog : public QDialog {
 public:
  SelectionDialog(QWidget* parent, std::string remembered) : QDialog(parent), wanted_(std::move(remembered)) {
    setObjectName(QStringLiteral("ScannerSelection"));
    setWindowTitle(QStringLiteral("Выбор сканера"));
    setModal(true);

    auto* heading = new QLabel(QStringLiteral("Выберите сканер, с которого будут получены изображения:"), this);
    heading->setWordWrap(true);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("scannerList"));
    list_->setMinimumSize(420, 160);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("statusLabel"));
    status_->setWordWrap(true);
    busy_ = new QProgressBar(this);
    busy_->setObjectName(QStringLiteral("busyIndicator"));
    busy_->setRange(0, 0);  // no figure: it only shows that the search goes on
    busy_->setTextVisible(false);
    busy_->setMaximumHeight(12);

    searchAgain_ = new QPushButton(QStringLiteral("Искать снова"), this);
    searchAgain_->setObjectName(QStringLiteral("searchAgainButton"));
    ok_ = new QPushButton(QStringLiteral("Выбрать"), this);
    ok_->setObjectName(QStringLiteral("okButton"));
    ok_->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Отмена"), this);
    cancel->setObjectName(QStringLiteral("cancelButton"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(searchAgain_);
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(list_, 1);
    layout->addWidget(busy_);
    layout->addWidget(status_);
    layout->addLayout(buttons);

    connect(searchAgain_, &QPushButton::clicked, this, [this] { search(); });
    connect(ok_, &QPushButton::clicked, this, [this] { choose(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] { choose(); });
    connect(list_, &QListWidget::currentRowChanged, this, [this] { updateOk(); });
    search();
  }

  // The search thread is joined before the dialog goes, so that its result is
  // never posted to a dialog that no longer exists.
  ~SelectionDialog() override { search_.reset(); }

  std::string chosen() const { return chosen_; }

 private:
  void search() {
    if (searching_) return;
    if (QListWidgetItem* item = list_->currentItem()) wanted_ = item->data(Qt::UserRole).toString().toStdString();
    searching_ = true;
    list_->clear();
    list_->setEnabled(false);
    searchAgain_->setEnabled(false);
    busy_->show();
    status_->setText(QStringLiteral("Идёт поиск сканеров… Это может занять несколько секунд."));
    updateOk();
    search_.reset();
    search_ = std::make_unique<ScannerSearch>([this](std::vector<morvex::sane::DeviceInfo> devices, std::string error) {
      QMetaObject::invokeMethod(
          this, [this, devices = std::move(devices), error = std::move(error)] { showFound(devices, error); },
          Qt::QueuedConnection);
    });
  }

  void showFound(const std::vector<morvex::sane::DeviceInfo>& devices, const std::string& error) {
    searching_ = false;
    busy_->hide();
    searchAgain_->setEnabled(true);
    list_->setEnabled(true);
    for (const morvex::sane::DeviceInfo& d : devices) {
      auto* item = new QListWidgetItem(ItemText(d), list_);
      item->setData(Qt::UserRole, QString::fromStdString(d.name));
      item->setToolTip(QString::fromStdString(d.type + ", " + d.name));
      if (d.name == wanted_) list_->setCurrentItem(item);
    }
    if (!list_->currentItem() && list_->count() > 0) list_->setCurrentRow(0);
    if (!error.empty()) {
      status_->setText(QStringLiteral("Не удалось получить список сканеров: %1").arg(QString::fromStdString(error)));
    } else if (devices.empty()) {
      status_->setText(QStringLiteral("Сканеры не найдены. Проверьте, что сканер подключён и включён, "
                                      "и нажмите «Искать снова»."));
    } else {
      status_->setText(QStringLiteral("Найдено сканеров: %1.").arg(devices.size()));
    }
    updateOk();
    list_->setFocus();
  }

  void updateOk() { ok_->setEnabled(!searching_ && list_->currentItem() != nullptr); }

  void choose() {
    QListWidgetItem* item = list_->currentItem();
    if (searching_ || !item) return;
    chosen_ = item->data(Qt::UserRole).toString().toStdString();
    accept();
  }

  std::string wanted_;
  std::string chosen_;
  bool searching_ = false;
  QListWidget* list_ = nullptr;
  QLabel* status_ = nullptr;
  QProgressBar* busy_ = nullptr;
  QPushButton* searchAgain_ = nullptr;
  QPushButton* ok_ = nullptr;
  std::unique_ptr<ScannerSearch> search_;
};

}  // namespace

std::optional<std::string> RunSelectionDialog(QWidget* parent, const std::string& remembered) {
  SelectionDialog dialog(parent, remembered);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.chosen();
}

}  // namespace morvex::dsm
