// Shared pieces of the window tests: message boxes that only record, note
// files rendered on the spot, and a main window over a folder of its own.
#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "money_form.h"
#include "progress_form.h"
#include "user_messages.h"

namespace morvex::gui::test {

class RecordingMessages : public UserMessages {
 public:
  void ShowError(const QString& text) override { errors.push_back(text); }
  void ShowInformation(const QString& caption, const QString& text) override { information.push_back({caption, text}); }
  void ShowPlatformError(const QString& text) override { platformErrors.push_back(text); }

  QStringList errors;
  QStringList platformErrors;
  std::vector<std::pair<QString, QString>> information;
};

// A note scan rendered by the sample generator and written under its
// template name; returns that name. `index` picks the note of a fixed set.
std::string WriteNote(const std::filesystem::path& folder, int index, bool grey8 = false, bool numberSide = true);

// A file that starts like a bitmap but is not one.
void WriteDamagedBmp(const std::filesystem::path& path);

// Any small valid 24-bit bitmap (w x h, one colour).
void WritePlainBmp(const std::filesystem::path& path, int width, int height);

std::filesystem::path FsPath(const QString& path);

// A main window (without splash) whose browser shows a fresh folder.
class WindowFixture {
 public:
  WindowFixture();
  ~WindowFixture();

  QString folder() const { return dir_.path(); }
  std::filesystem::path folderPath() const { return FsPath(dir_.path()); }

  // Selects the folder in the tree and waits until the file list shows
  // `expectedFiles` entries.
  bool ShowFolder(int expectedFiles);
  // Selects one file of the list (waits for it to be listed).
  bool SelectFile(const QString& name);

  TMoneyForm& form() { return *form_; }
  TProgressForm& progress() { return progress_; }
  RecordingMessages& messages() { return messages_; }

 private:
  QTemporaryDir dir_;
  RecordingMessages messages_;
  TProgressForm progress_;
  std::unique_ptr<TMoneyForm> form_;
};

}  // namespace morvex::gui::test
