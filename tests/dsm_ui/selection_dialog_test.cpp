// The scanner selection: SANE's devices listed after a search off the GUI
// thread, the remembered one preselected, OK, Cancel and no scanner at all.
#include "selection_dialog.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <cstdlib>
#include <fstream>
#include <set>
#include <string>

#include "case_name.h"
#include "dialog_support.h"
#include "temp_folder.h"

namespace morvex::dsm {
namespace {

using morvex::testing::WaitFor;
using morvex::testing::WhenShown;

QListWidget* ListOf(QWidget* dialog) { return dialog->findChild<QListWidget*>("scannerList"); }
QPushButton* Button(QWidget* dialog, const char* name) { return dialog->findChild<QPushButton*>(name); }

bool Listed(QWidget* dialog) {
  return WaitFor([dialog] { return ListOf(dialog)->count() >= 4 && Button(dialog, "searchAgainButton")->isEnabled(); });
}

TEST(SelectionDialogTest, ListsSanesScannersAndPreselectsTheRememberedOne) {
  std::set<std::string> names;
  QString firstText, current, status;
  bool okEnabled = false;
  WhenShown("ScannerSelection", [&](QWidget* dialog) {
    if (Listed(dialog)) {
      QListWidget* list = ListOf(dialog);
      for (int i = 0; i < list->count(); ++i) names.insert(list->item(i)->data(Qt::UserRole).toString().toStdString());
      firstText = list->findItems("test:0", Qt::MatchContains).value(0)->text();
      current = list->currentItem() ? list->currentItem()->data(Qt::UserRole).toString() : QString();
      status = dialog->findChild<QLabel*>("statusLabel")->text();
      okEnabled = Button(dialog, "okButton")->isEnabled();
    }
    QTest::mouseClick(Button(dialog, "okButton"), Qt::LeftButton);
  });
  const std::optional<std::string> chosen = RunSelectionDialog(nullptr, "pnm:1");
  EXPECT_EQ(names, (std::set<std::string>{"pnm:0", "pnm:1", "test:0", "test:1"}));
  EXPECT_TRUE(firstText.contains("frontend-tester")) << firstText.toStdString();
  EXPECT_TRUE(firstText.contains("Noname")) << firstText.toStdString();
  EXPECT_EQ(current, "pnm:1");
  EXPECT_TRUE(okEnabled);
  EXPECT_TRUE(status.contains("4")) << status.toStdString();
  EXPECT_EQ(chosen, "pnm:1");
}

TEST(SelectionDialogTest, OkGivesTheScannerTheUserPicked) {
  WhenShown("ScannerSelection", [&](QWidget* dialog) {
    if (Listed(dialog)) ListOf(dialog)->setCurrentItem(ListOf(dialog)->findItems("(test:1)", Qt::MatchEndsWith).value(0));
    QTest::mouseClick(Button(dialog, "okButton"), Qt::LeftButton);
  });
  EXPECT_EQ(RunSelectionDialog(nullptr, "test:0"), "test:1");
}

TEST(SelectionDialogTest, AForgottenScannerPreselectsTheFirst) {
  QString current;
  WhenShown("ScannerSelection", [&](QWidget* dialog) {
    if (Listed(dialog)) current = ListOf(dialog)->currentItem()->data(Qt::UserRole).toString();
    QTest::mouseClick(Button(dialog, "cancelButton"), Qt::LeftButton);
  });
  RunSelectionDialog(nullptr, "gone:7");
  EXPECT_FALSE(current.isEmpty());
}

struct Dismissal {
  std::string name;
  std::function<void(QWidget*)> act;
};

class SelectionDismissed : public ::testing::TestWithParam<Dismissal> {};

TEST_P(SelectionDismissed, GivesNothing) {
  WhenShown("ScannerSelection", [](QWidget* dialog) {
    Listed(dialog);
    GetParam().act(dialog);
  });
  EXPECT_EQ(RunSelectionDialog(nullptr, "test:0"), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, SelectionDismissed,
    ::testing::Values(
        Dismissal{"cancel_button", [](QWidget* d) { QTest::mouseClick(Button(d, "cancelButton"), Qt::LeftButton); }},
        Dismissal{"window_closed", [](QWidget* d) { d->close(); }},
        Dismissal{"escape_key", [](QWidget* d) { QTest::keyClick(d, Qt::Key_Escape); }}),
    [](const auto& info) { return morvex::testing::CaseName(info.param.name); });

TEST(SelectionDialogTest, SearchAgainSearchesOffTheGuiThreadAndKeepsTheChoice) {
  bool searchingShown = false, okDisabledWhileSearching = false, listEmptiedWhileSearching = false;
  WhenShown("ScannerSelection", [&](QWidget* dialog) {
    if (Listed(dialog)) {
      ListOf(dialog)->setCurrentItem(ListOf(dialog)->findItems("(pnm:0)", Qt::MatchEndsWith).value(0));
      QTest::mouseClick(Button(dialog, "searchAgainButton"), Qt::LeftButton);
      // The click returns at once: the search runs on its own thread.
      searchingShown = dialog->findChild<QProgressBar*>("busyIndicator")->isVisible() &&
                       dialog->findChild<QLabel*>("statusLabel")->text().contains("поиск", Qt::CaseInsensitive);
      okDisabledWhileSearching = !Button(dialog, "okButton")->isEnabled();
      listEmptiedWhileSearching = ListOf(dialog)->count() == 0;
      Listed(dialog);
    }
    QTest::mouseClick(Button(dialog, "okButton"), Qt::LeftButton);
  });
  EXPECT_EQ(RunSelectionDialog(nullptr, "test:0"), "pnm:0");
  EXPECT_TRUE(searchingShown);
  EXPECT_TRUE(okDisabledWhileSearching);
  EXPECT_TRUE(listEmptiedWhileSearching);
}

TEST(SelectionDialogTest, NoScannerSaysSoAndOkStaysDisabled) {
  // A SANE configuration with no backends at all, and not the system's.
  morvex::testing::TempFolder config;
  config.write("dll.conf", "");
  const std::string old = std::getenv("SANE_CONFIG_DIR") ? std::getenv("SANE_CONFIG_DIR") : "";
  setenv("SANE_CONFIG_DIR", config.path().c_str(), 1);
  QString status;
  bool okEnabled = true;
  int count = -1;
  WhenShown("ScannerSelection", [&](QWidget* dialog) {
    WaitFor([dialog] { return Button(dialog, "searchAgainButton")->isEnabled(); });
    status = dialog->findChild<QLabel*>("statusLabel")->text();
    okEnabled = Button(dialog, "okButton")->isEnabled();
    count = ListOf(dialog)->count();
    QTest::mouseClick(Button(dialog, "okButton"), Qt::LeftButton);  // disabled: nothing happens
    QTest::mouseClick(Button(dialog, "cancelButton"), Qt::LeftButton);
  });
  const auto chosen = RunSelectionDialog(nullptr, "test:0");
  setenv("SANE_CONFIG_DIR", old.c_str(), 1);
  EXPECT_EQ(chosen, std::nullopt);
  EXPECT_EQ(count, 0);
  EXPECT_FALSE(okEnabled);
  EXPECT_TRUE(status.contains("не найдены")) << status.toStdString();
}

}  // namespace
}  // namespace morvex::dsm
