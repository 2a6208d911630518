#include "morvex/app/batch.h"

#include <chrono>
#include <gtest/gtest.h>
#include <map>
#include <thread>

#include "morvex/app/cp1251.h"
#include "morvex/app/note_template.h"
#include "morvex/arith.h"
#include "morvex/bmp.h"
#include "temp_folder.h"
#include "case_name.h"

namespace morvex::app {
namespace {

using morvex::testing::TempFolder;

// The folder pages, put together from their fragments.
std::string Head() {
  return "<META http-equiv=Content-Type content=\"text/html; charset=windows-1251\"><body background=\"res://" +
         morvex::testing::ProcSelfExe() + "/RT_RCDATA/bgimg\">";
}
const std::string kTableStart =
    "<table align=center border=1><tr bgcolor=\"C5C5D0\"><td align=center><b>Параметр</b></td><td "
    "align=center><b>Значение</b></td><td align=center><b>+/-</b></td></tr>";
std::string Rows(const std::string& name, const std::string& z1, const char* c1, const std::string& z2, const char* c2,
                 const std::string& value, const char* c3) {
  return "<tr bgcolor=\"E0E0EC\"><td align=center width=100>Имя файла</td><td align=center>" + name +
         "</td><td></td> </tr>" + "<tr><td align=center>Зона1</td><td align=center>" + z1 + "</td><td>" + c1 +
         "</td></tr>" + "<tr><td align=center>Зона2</td><td align=center>" + z2 + "</td><td>" + c2 + "</td></tr>" +
         "<tr><td align=center>Достоинство</td><td align=center>" + value + "</td><td>" + c3 + "</td></tr>";
}
std::string Summary(int n, int either, int z1, int z2, int value) {
  return "<center><b>Результаты</b><br><table border=1><tr><td width=180>Всего банкнот</td><td width=50>" +
         std::to_string(n) + "</td></tr>" + "<tr><td>Верно в зоне1 и/или зоне2</td><td>" + std::to_string(either) +
         "</td></tr>" + "<tr><td>Верно в зоне1</td><td>" + std::to_string(z1) + "</td></tr>" +
         "<tr><td>Верно в зоне2</td><td>" + std::to_string(z2) + "</td></tr>" + "<tr><td>Верно достоинство</td><td>" +
         std::to_string(value) + "</td></tr>" + "</table></center>";
}
std::string Report(const std::string& rows, const std::string& summary) {
  return ToCp1251(Head() + kTableStart + rows + "</table><br>" + summary + "<hr>");
}

// The fixture's notes are tiny bitmaps whose first pixel's red value picks
// what the stand-in analysis answers; code 255 raises the engine's error.
constexpr int kEngineFailure = 255;

class FakeEngine {
 public:
  void set(int code, AnalisysResult r) { results_[code] = std::move(r); }
  NoteAnalyser analyser() const {
    return [this](Bitmap& image, AnalisysResult& result) {
      const int code = RedOf(image.pixel(0, 0));
      // Later files sometimes finish first on other threads.
      std::this_thread::sleep_for(std::chrono::microseconds(300 * (code % 3)));
      if (code == kEngineFailure) throw ArithmeticError("division by zero");
      result = results_.at(code);
    };
  }

 private:
  std::map<int, AnalisysResult> results_;
};

void WriteNote(const TempFolder& dir, const std::string& name, int code) {
  SaveBmpFile(dir / name, morvex::testing::SolidBitmap(3, 2, MakeColour(static_cast<std::uint8_t>(code), 0, 0)));
}

const ReferenceDigits& NoReferences() {
  static const ReferenceDigits refs;
  return refs;
}

struct RunOutcome {
  std::optional<BatchReport> report;
  int failedAt = -1;
  std::string error;
  std::vector<BatchFileResult> files;
};

// `files` is a folder or a list of paths.
template <class Files>
RunOutcome RunAll(const Files& files, const FakeEngine& engine, bool rename, unsigned jobs) {
  BatchOptions options;
  options.Rename = rename;
  options.Jobs = jobs;
  options.Analyser = engine.analyser();
  FolderBatch run(files, NoReferences(), options);
  RunOutcome out;
  try {
    while (!run.finished()) out.files.push_back(run.step());
  } catch (const std::exception& e) {
    out.failedAt = run.done();
    out.error = e.what();
    return out;
  }
  out.report = run.finish();
  return out;
}

TEST(FolderBatch, ReportAndSummaryBytes) {
  TempFolder dir;
  FakeEngine engine;
  engine.set(1, {"1234567", "1234*67", 100, false, 200});
  engine.set(2, {"#######", "#######", -1, false, 150});
  WriteNote(dir, "Note-200-1-1-0100-АА1234567.bmp", 1);
  WriteNote(dir, "Note-150-1-1-0050-БВ7654321.bmp", 2);
  const RunOutcome out = RunAll(dir.path(), engine, false, 1);
  ASSERT_TRUE(out.report) << out.error;
  const std::string rows = Rows("Note-150-1-1-0050-БВ7654321.bmp", "#######", "Нет", "#######", "Нет", "-1", "Нет") +
                           Rows("Note-200-1-1-0100-АА1234567.bmp", "1234567", "Да", "1234*67", "Нет", "100", "Да");
  const std::string summary = Summary(2, 1, 1, 0, 1);
  EXPECT_EQ(out.report->ReportPage, Report(rows, summary));
  EXPECT_EQ(out.report->SummaryPage, ToCp1251(Head() + summary + "<hr>"));
  EXPECT_EQ(out.report->Total, 2);
  EXPECT_EQ(out.report->TimeText.rfind("Время анализа: ", 0), 0u);
  EXPECT_NE(out.report->TimeText.find(" (мин:сек:мсек)"), std::string::npos);
}

TEST(FolderBatch, EmptyFolderGivesHeaderRowAndZeros) {
  TempFolder dir;
  dir.write("notes.txt", "not a bitmap name");
  const RunOutcome out = RunAll(dir.path(), FakeEngine(), false, 2);
  ASSERT_TRUE(out.report);
  EXPECT_EQ(out.report->Total, 0);
  EXPECT_EQ(out.report->ReportPage, Report("", Summary(0, 0, 0, 0, 0)));
}

TEST(FolderBatch, CountsEachMatchAndEitherZone) {
  TempFolder dir;
  FakeEngine engine;
  engine.set(1, {"1111111", "1111111", 100, false, 300});  // all three
  engine.set(2, {"2222*22", "2222222", 10, false, 300});   // zone 2 only
  engine.set(3, {"3333333", "3333333", 500, true, 300});   // zone 1 and 2, wrong value
  engine.set(4, {"#######", "#######", -1, false, 300});   // back side, all three
  engine.set(5, {"5555555", "5555555", 50, false, 300});   // nothing (back side read as a note)
  WriteNote(dir, "Note-300-1-1-0100-АА1111111.bmp", 1);
  WriteNote(dir, "Note-300-1-1-0100-АА2222222.bmp", 2);
  WriteNote(dir, "Note-300-1-0-1000-АА3333333.bmp", 3);
  WriteNote(dir, "Note-300-0-1-0500-АА4444444.bmp", 4);
  WriteNote(dir, "Note-300-0-1-0050-АА5555555.bmp", 5);
  const RunOutcome out = RunAll(dir.path(), engine, false, 1);
  ASSERT_TRUE(out.report) << out.error;
  EXPECT_EQ(out.report->Counts, (BatchCounts{3, 4, 4, 2}));
  std::map<std::string, int> masks;
  for (const auto& f : out.files) masks[f.ListedName] = f.Mask;
  EXPECT_EQ(masks, (std::map<std::string, int>{{"Note-300-1-1-0100-АА1111111.bmp", 7},
                                               {"Note-300-1-1-0100-АА2222222.bmp", Zone2Match},
                                               {"Note-300-1-0-1000-АА3333333.bmp", Zone1Match | Zone2Match},
                                               {"Note-300-0-1-0500-АА4444444.bmp", 7},
                                               {"Note-300-0-1-0050-АА5555555.bmp", 0}}));
}

TEST(FolderBatch, RenameRunCountsNothingAndReportsOldNames) {
  TempFolder dir;
  FakeEngine engine;
  engine.set(1, {"1234567", "1234567", 100, false, 300});
  engine.set(2, {"7654321", "7654321", 1000, true, 200});
  WriteNote(dir, "a.bmp", 1);
  WriteNote(dir, "b.bmp", 1);  // the same result: the second gets "_0"
  WriteNote(dir, "c.bmp", 2);
  const RunOutcome out = RunAll(dir.path(), engine, true, 1);
  ASSERT_TRUE(out.report) << out.error;
  const std::string rows = Rows("a.bmp", "1234567", "Нет", "1234567", "Нет", "100", "Нет") +
                           Rows("b.bmp", "1234567", "Нет", "1234567", "Нет", "100", "Нет") +
                           Rows("c.bmp", "7654321", "Нет", "7654321", "Нет", "1000", "Нет");
  EXPECT_EQ(out.report->ReportPage, Report(rows, Summary(3, 0, 0, 0, 0)));
  EXPECT_EQ(dir.names(), (std::vector<std::string>{"Note-200-1-0-1000-ХХ7654321.bmp", "Note-300-1-1-0100-ХХ1234567.bmp",
                                                   "Note-300-1-1-0100-ХХ1234567_0.bmp"}));
  EXPECT_EQ(out.files[1].NewName, "Note-300-1-1-0100-ХХ1234567_0.bmp");

  // A second run lists the new names and compares against them.
  const RunOutcome again = RunAll(dir.path(), engine, false, 1);
  ASSERT_TRUE(again.report) << again.error;
  EXPECT_EQ(again.report->Counts, (BatchCounts{3, 3, 3, 3}));
  EXPECT_EQ(again.files[0].ListedName, "Note-200-1-0-1000-ХХ7654321.bmp");
}

TEST(FolderBatch, NameThatIsNotAnIntegerEndsTheRun) {
  TempFolder dir;
  FakeEngine engine;
  engine.set(1, {"1234567", "1234567", 100, false, 300});
  WriteNote(dir, "Note-300-1-1-0100-АА1234567.bmp", 1);
  WriteNote(dir, "scan.bmp", 1);
  const RunOutcome out = RunAll(dir.path(), engine, false, 1);
  EXPECT_FALSE(out.report);
  EXPECT_EQ(out.failedAt, 1);
  EXPECT_EQ(out.error, "'' is not a valid integer value");
}

TEST(FolderBatch, StepAfterAnErrorIsRefused) {
  TempFolder dir;
  dir.write("broken.bmp", "not a bitmap at all");
  WriteNote(dir, "next.bmp", 1);
  FakeEngine engine;
  engine.set(1, {"1234567", "1234567", 100, false, 300});
  BatchOptions options;
  options.Analyser = engine.analyser();
  FolderBatch run(dir.path(), NoReferences(), options);
  EXPECT_THROW(run.step(), BitmapFormatError);
  EXPECT_THROW(run.step(), std::logic_error);
  EXPECT_THROW(run.finish(), std::logic_error);
}

TEST(FolderBatch, UnreadableFileStopsRenamingButEarlierNamesStay) {
  TempFolder dir;
  FakeEngine engine;
  engine.set(1, {"1234567", "1234567", 100, false, 300});
  WriteNote(dir, "a.bmp", 1);
  dir.write("b.bmp", "BM but not really a bitmap");
  WriteNote(dir, "c.bmp", 1);
  const RunOutcome out = RunAll(dir.path(), engine, true, 1);
  EXPECT_FALSE(out.report);
  EXPECT_EQ(out.error, "Bitmap image is not valid");
  EXPECT_EQ(dir.names(), (std::vector<std::string>{"Note-300-1-1-0100-ХХ1234567.bmp", "b.bmp", "c.bmp"}));
}

TEST(FolderBatch, EngineErrorEndsTheRun) {
  TempFolder dir;
  FakeEngine engine;
  engine.set(1, {"1234567", "1234567", 100, false, 300});
  WriteNote(dir, "Note-300-1-1-0100-АА1234567.bmp", 1);
  WriteNote(dir, "Note-300-1-1-0100-АА7654321.bmp", kEngineFailure);
  const RunOutcome out = RunAll(dir.path(), engine, false, 1);
  EXPECT_EQ(out.failedAt, 1);
  EXPECT_EQ(out.error, "division by zero");
}

TEST(ListBatch, ReportsPathsInListOrderAndComparesFileNames) {
  TempFolder a, b;
  FakeEngine engine;
  engine.set(1, {"1234567", "1234567", 100, false, 200});
  engine.set(2, {"7654321", "7654*21", 50, false, 150});
  WriteNote(a, "Note-200-1-1-0100-АА1234567.bmp", 1);
  WriteNote(b, "Note-150-1-1-0050-БВ7654321.bmp", 2);
  // The list's order is kept: b's note before a's, unlike a folder listing.
  const std::vector<std::string> list = {(b / "Note-150-1-1-0050-БВ7654321.bmp").string(),
                                         (a / "Note-200-1-1-0100-АА1234567.bmp").string()};
  for (const unsigned jobs : {1u, 2u}) {
    const RunOutcome out = RunAll(list, engine, false, jobs);
    ASSERT_TRUE(out.report) << out.error;
    ASSERT_EQ(out.files.size(), 2u);
    EXPECT_EQ(out.files[0].ListedName, list[0]);
    EXPECT_EQ(out.files[0].Mask, Zone1Match | DenominationMatch);
    EXPECT_EQ(out.files[1].Mask, 7);
    EXPECT_EQ(out.report->ReportPage,
              Report(Rows(list[0], "7654321", "Да", "7654*21", "Нет", "50", "Да") +
                         Rows(list[1], "1234567", "Да", "1234567", "Да", "100", "Да"),
                     Summary(2, 2, 2, 1, 2)));
  }
}

TEST(ListBatch, RenamesEachFileInsideItsOwnFolder) {
  TempFolder a, b;
  FakeEngine engine;
  engine.set(1, {"1234567", "1234567", 100, false, 300});
  WriteNote(a, "scan.bmp", 1);
  WriteNote(b, "scan.bmp", 1);
  const RunOutcome out = RunAll(std::vector<std::string>{(a / "scan.bmp").string(), (b / "scan.bmp").string()},
                                engine, true, 1);
  ASSERT_TRUE(out.report) << out.error;
  // Each folder had no file of that name yet: neither gets "_0".
  EXPECT_EQ(a.names(), std::vector<std::string>{"Note-300-1-1-0100-ХХ1234567.bmp"});
  EXPECT_EQ(b.names(), std::vector<std::string>{"Note-300-1-1-0100-ХХ1234567.bmp"});
  EXPECT_EQ(out.files[1].NewName, "Note-300-1-1-0100-ХХ1234567.bmp");
}

TEST(ListBatch, PathThatIsNoFileStopsTheRunBeforeAnyAnalysis) {
  TempFolder dir;
  WriteNote(dir, "a.bmp", 1);
  const std::vector<std::string> list = {(dir / "a.bmp").string(), (dir / "gone.bmp").string()};
  EXPECT_THROW(FolderBatch(list, NoReferences()), std::system_error);
  EXPECT_THROW(FolderBatch(std::vector<std::string>{dir.path().string()}, NoReferences()), std::system_error);
}

const std::string kNotAnInteger = "Note-200-1-1-01 0-АБ1234567.bmp";

// A folder of mixed notes, optionally with two faults: a name that is not an
// integer and, later in list order, a broken bitmap.
void MakeMixedFolder(const TempFolder& dir, FakeEngine& engine, bool withFaults) {
  const char* numbers[] = {"1234567", "7654321", "1111111", "0000001"};
  const int values[] = {10, 50, 100, 500, 1000};
  for (int code = 1; code <= 40; ++code) {
    const std::string number = numbers[code % 4];
    const int value = values[code % 5];
    const bool back = code % 7 == 0;
    AnalisysResult r{number, code % 3 == 0 ? "12*4567" : number, value, code % 2 == 0, 150 + 50 * (code % 4)};
    if (back) r = {"#######", "#######", -1, false, 200};
    engine.set(code, r);
    char name[64];
    std::snprintf(name, sizeof name, "Note-%03d-%d-1-%04d-АБ%s.bmp", 200, back ? 0 : 1, code % 6 == 0 ? 100 : value,
                  code % 5 == 0 ? "7777777" : number.c_str());
    // Distinct names: the number field repeats, so add the code after it.
    WriteNote(dir, std::string(name).insert(std::string(name).size() - 4, "_" + std::to_string(code)), code);
  }
  if (withFaults) {
    // In list order: good files, the name that is not an integer, more good
    // files, the broken bitmap, more good files.
    WriteNote(dir, kNotAnInteger, 1);
    dir.write("Note-200-1-1-1000-АБ1234567_0.bmp", "broken");
  }
}

class ParallelRun : public ::testing::TestWithParam<unsigned> {};

TEST_P(ParallelRun, ReportIsThatOfOneThread) {
  TempFolder dir;
  FakeEngine engine;
  MakeMixedFolder(dir, engine, false);
  const RunOutcome one = RunAll(dir.path(), engine, false, 1);
  const RunOutcome many = RunAll(dir.path(), engine, false, GetParam());
  ASSERT_TRUE(one.report && many.report);
  EXPECT_EQ(many.report->ReportPage, one.report->ReportPage);
  EXPECT_EQ(many.report->SummaryPage, one.report->SummaryPage);
  EXPECT_EQ(many.report->Counts, one.report->Counts);
  EXPECT_GT(one.report->Counts.Zone1Correct, 0);
}

TEST_P(ParallelRun, FirstErrorIsThatOfOneThread) {
  TempFolder dir;
  FakeEngine engine;
  MakeMixedFolder(dir, engine, true);
  const RunOutcome one = RunAll(dir.path(), engine, false, 1);
  const RunOutcome many = RunAll(dir.path(), engine, false, GetParam());
  EXPECT_EQ(one.error, "'01 0' is not a valid integer value");
  EXPECT_GT(one.failedAt, 5);
  EXPECT_EQ(many.error, one.error);
  EXPECT_EQ(many.failedAt, one.failedAt);
}

TEST_P(ParallelRun, RenamingOrderIsThatOfOneThread) {
  TempFolder first, second;
  FakeEngine engine;
  MakeMixedFolder(first, engine, false);
  MakeMixedFolder(second, engine, false);
  const RunOutcome one = RunAll(first.path(), engine, true, 1);
  const RunOutcome many = RunAll(second.path(), engine, true, GetParam());
  ASSERT_TRUE(one.report && many.report);
  EXPECT_EQ(second.names(), first.names());
  ASSERT_EQ(many.files.size(), one.files.size());
  for (std::size_t i = 0; i < one.files.size(); ++i) {
    EXPECT_EQ(many.files[i].ListedName, one.files[i].ListedName);
    EXPECT_EQ(many.files[i].NewName, one.files[i].NewName);
  }
}

TEST_P(ParallelRun, LoadErrorAfterAGoodPrefixIsThatOfOneThread) {
  TempFolder dir;
  FakeEngine engine;
  MakeMixedFolder(dir, engine, true);
  std::filesystem::remove(dir / kNotAnInteger);
  const RunOutcome one = RunAll(dir.path(), engine, true, 1);
  TempFolder dir2;
  MakeMixedFolder(dir2, engine, true);
  std::filesystem::remove(dir2 / kNotAnInteger);
  const RunOutcome many = RunAll(dir2.path(), engine, true, GetParam());
  EXPECT_EQ(one.error, "Bitmap image is not valid");
  EXPECT_GT(one.failedAt, 5);
  EXPECT_LT(one.failedAt, 40);
  EXPECT_EQ(many.error, one.error);
  EXPECT_EQ(many.failedAt, one.failedAt);
  EXPECT_EQ(dir2.names(), dir.names());
}

INSTANTIATE_TEST_SUITE_P(Jobs, ParallelRun, ::testing::Values(2u, 3u, 8u),
                         [](const auto& info) { return ::morvex::testing::CaseName("jobs", info.param); });

}  // namespace
}  // namespace morvex::app
