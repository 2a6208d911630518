#include "gui_support.h"

#include <QFile>
#include <QTest>
#include <fstream>

#include "bmp_file_list.h"
#include "folder_tree.h"
#include "morvex/bmp.h"
#include "notegen.h"

namespace morvex::gui::test {

std::filesystem::path FsPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

std::string WriteNote(const std::filesystem::path& folder, int index, bool grey8, bool numberSide) {
  notegen::GenerationOptions options = notegen::PresetOptions(notegen::SampleSet::Clean);
  options.dpiMin = 150;
  options.dpiMax = 160;
  options.grey8 = grey8;
  notegen::NotePlan plan = notegen::DrawNotePlan(options, 4711, index);
  plan.numberSide = numberSide;
  static const notegen::NoteRenderer renderer;
  const Bitmap scan = renderer.render(plan);
  const std::string name = notegen::NoteFileName(plan);
  SaveBmpFile(folder / name, scan);
  return name;
}

void WriteDamagedBmp(const std::filesystem::path& path) {
  std::ofstream out(path, std::ios::binary);
  out << "BM this is not a bitmap at all";
}

void WritePlainBmp(const std::filesystem::path& path, int width, int height) {
  Bitmap b(width, height, PixelFormat::Rgb24);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) b.setPixel(x, y, MakeColour(20, 120, 200));
  SaveBmpFile(path, b);
}

WindowFixture::WindowFixture() : form_(std::make_unique<TMoneyForm>(progress_, messages_)) { form_->show(); }

WindowFixture::~WindowFixture() = default;

bool WindowFixture::ShowFolder(int expectedFiles) {
  if (!form_->folderTree()->selectPath(dir_.path())) return false;
  return QTest::qWaitFor([&] { return form_->fileList()->shownNames().size() == expectedFiles; }, 5000);
}

bool WindowFixture::SelectFile(const QString& name) {
  if (!QTest::qWaitFor([&] { return form_->fileList()->shownNames().contains(name); }, 5000)) return false;
  return form_->fileList()->selectFile(name);
}

}  // namespace morvex::gui::test
