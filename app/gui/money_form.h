// TMoneyForm: the main window. Its own title bar, the toolbar with the
// commands, the file browser, the preview, the two HTML panels and the status
// line; every command is one of its handlers.
#pragma once

#include <QWidget>
#include <string>

#include "morvex/bitmap.h"
#include "morvex/reference_digits.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QFileInfo;

namespace morvex::gui {

class BmpFileList;
class CollapseSplitter;
class FolderTree;
class GradientButton;
class HtmlView;
class JetButton;
class PictureBox;
class TProgressForm;
class UserMessages;

class TMoneyForm : public QWidget {
  Q_OBJECT

 public:
  // `mainForm` is the application's main form, which the close button
  // closes; the progress window is shown during folder runs.
  TMoneyForm(TProgressForm& progressForm, UserMessages& messages, QWidget* mainForm = nullptr);
  ~TMoneyForm() override;

  // Handlers.
  void FormCreate();
  void FormClose();
  void ExitClick();
  void JetButton1Click();
  void JetButton3Click();
  bool ShellListView1AddFolder(const QFileInfo& item) const;
  void ShellListView1Click();
  void ShellListView1Change();
  void ShellListView1DblClick();
  // Returns true when it used the key.
  bool ShellListView1KeyDown(int key);
  void GradBtn2Click();
  void GradBtn3Click();
  void GradBtn1Click();
  void HelpClick();

  // The panels of the body's splitter, in order.
  enum BodyPanel { LeftPanel = 0, CentrePanel = 1, ReportPanel = 2 };

  // Parts the tests and the screenshots look at.
  FolderTree* folderTree() const { return folderTree_; }
  BmpFileList* fileList() const { return fileList_; }
  PictureBox* preview() const { return preview_; }
  const Bitmap& previewBitmap() const { return previewBitmap_; }
  HtmlView* resultsView() const { return resultsView_; }
  HtmlView* reportView() const { return reportView_; }
  QGroupBox* reportGroup() const { return reportGroup_; }
  CollapseSplitter* bodySplitter() const { return bodySplitter_; }
  QLabel* statusLabel() const { return statusLabel_; }
  QLabel* titleLabel() const { return titleLabel_; }
  QCheckBox* renameBox() const { return cbReanme_; }
  GradientButton* fileButton() const { return gradBtn2_; }
  GradientButton* folderButton() const { return gradBtn3_; }
  GradientButton* scanButton() const { return gradBtn1_; }
  GradientButton* helpButton() const { return help_; }
  JetButton* aboutButton() const { return jetButton3_; }
  JetButton* minimiseButton() const { return jetButton1_; }
  JetButton* closeButton() const { return exit_; }
  const ReferenceDigits& referenceDigits() const { return references_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* makeTitleBar();
  QWidget* makeToolBar();
  QWidget* makeBody();
  QWidget* makeStatusBar();
  void setInitialPanelSizes();
  void setStatus(const std::string& utf8);
  void showPreview();
  void loadPreview(const QString& path);
  void reportError(const std::exception& error);

  TProgressForm& progressForm_;
  UserMessages& messages_;
  QWidget* mainForm_;
  ReferenceDigits references_;
  Bitmap previewBitmap_;
  bool folderRunning_ = false;

  JetButton* jetButton3_ = nullptr;  // About
  JetButton* jetButton1_ = nullptr;  // minimise
  JetButton* exit_ = nullptr;        // close
  QLabel* titleLabel_ = nullptr;
  GradientButton* gradBtn2_ = nullptr;  // file
  GradientButton* gradBtn3_ = nullptr;  // folder
  GradientButton* gradBtn1_ = nullptr;  // scan
  GradientButton* help_ = nullptr;
  QCheckBox* cbReanme_ = nullptr;
  FolderTree* folderTree_ = nullptr;
  BmpFileList* fileList_ = nullptr;
  PictureBox* preview_ = nullptr;
  HtmlView* resultsView_ = nullptr;
  HtmlView* reportView_ = nullptr;
  QGroupBox* reportGroup_ = nullptr;
  CollapseSplitter* bodySplitter_ = nullptr;
  CollapseSplitter* leftSplitter_ = nullptr;
  CollapseSplitter* centreSplitter_ = nullptr;
  QLabel* statusLabel_ = nullptr;
};

}  // namespace morvex::gui
