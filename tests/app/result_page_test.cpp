#include "morvex/app/result_page.h"

#include <gtest/gtest.h>

#include "morvex/app/cp1251.h"
#include "morvex/bmp.h"
#include "temp_folder.h"
#include "case_name.h"

namespace morvex::app {
namespace {

// The result page put together from its sixteen fragments.
std::string ExpectedResultPage(const std::string& title, const std::string& z1, const std::string& z2,
                               const std::string& value) {
  const std::string utf8 = std::string("<body background=\"res://") + morvex::testing::ProcSelfExe() + "/RT_RCDATA/bgimg\">" +
                           "<META http-equiv=Content-Type content=\"text/html; charset=windows-1251\">" +
                           "<p align=center><b>" + title + "</b></p><table align=center>" +
                           "<tr align=center><td width=130 bgcolor=FFC4C4>&nbsp;Красная зона (1)</td><td width=60>" +
                           z1 + "</td></tr>" + "<tr align=center><td bgcolor=AAD2FF>&nbsp;Синяя зона (2)</td><td>" +
                           z2 + "</td></tr>" + "<tr align=center><td bgcolor=C0FFC0>&nbsp;Достоинство</td><td>" +
                           value + "</td></tr></table>";
  return ToCp1251(utf8);
}

struct DepthCase {
  int bits;
  const char* label;
};

class BitDepth : public ::testing::TestWithParam<DepthCase> {};

TEST_P(BitDepth, LabelsTheLoadedDepth) {
  Bitmap b(2, 2);
  b.setSourceBitDepth(GetParam().bits);
  EXPECT_EQ(BitDepthLabel(b), GetParam().label);
}

INSTANTIATE_TEST_SUITE_P(Table, BitDepth,
                         ::testing::Values(DepthCase{1, "1"}, DepthCase{4, "4"}, DepthCase{8, "8"}, DepthCase{15, "15"},
                                           DepthCase{16, "16"}, DepthCase{24, "24"}, DepthCase{32, "32"},
                                           DepthCase{2, "??"}, DepthCase{12, "??"}, DepthCase{48, "??"}),
                         [](const auto& info) { return ::morvex::testing::CaseName("bits", info.param.bits); });

TEST(BitDepthLabel, EightBitGreyFileReadsEight) {
  testing::TempFolder dir;
  Bitmap grey(4, 3, PixelFormat::Indexed8);
  SaveBmpFile(dir / "grey.bmp", grey);
  const Bitmap loaded = LoadBmpFile(dir / "grey.bmp");
  EXPECT_EQ(BitDepthLabel(loaded), "8");
}

TEST(AnalysisStatusText, HeightFirstThenWidthDepthAndDetails) {
  const Bitmap picture(2600, 1200);
  const std::vector<std::string> details = {"770x1772", "03,125 сек", "1,25"};
  EXPECT_EQ(AnalysisStatusText(picture, "24", details),
            "Изображение: 1200x2600x24  |  Банкнота: 770x1772  |  Наклон: 1,25°  |  Время обработки: 03,125 сек");
}

TEST(AnalysisStatusText, KeepsTheLabelTakenBeforeTheAnalysis) {
  const Bitmap picture(10, 20);
  EXPECT_EQ(AnalysisStatusText(picture, "8", {"5x9", "00,16 сек", "0,00"}),
            "Изображение: 20x10x8  |  Банкнота: 5x9  |  Наклон: 0,00°  |  Время обработки: 00,16 сек");
}

TEST(FileStatusText, NamesTheDisplayedFile) {
  EXPECT_EQ(FileStatusText("Note-200-1-1-0100-АА1234567"), "Обрабатывается файл Note-200-1-1-0100-АА1234567");
}

TEST(ResultPage, FileResultBytes) {
  AnalisysResult r{"1234567", "1234*67", 100, false, 200};
  const std::string page = ResultPage(FileResultTitle("Note-200-1-1-0100-АА1234567.bmp"), r);
  EXPECT_EQ(page, ExpectedResultPage("Результат анализа файла Note-200-1-1-0100-АА1234567.bmp", "1234567",
                                     "1234*67", "100"));
  // The heading's first word in Windows-1251, byte for byte.
  EXPECT_NE(page.find("\xD0\xE5\xE7\xF3\xEB\xFC\xF2\xE0\xF2 "), std::string::npos);
}

TEST(ResultPage, FailureResultShowsHashesAndMinusOne) {
  AnalisysResult r{"#######", "#######", -1, false, 300};
  EXPECT_EQ(ResultPage(kScanResultTitle, r),
            ExpectedResultPage("Результат анализа изображения со сканера", "#######", "#######", "-1"));
}

TEST(ResultPage, FileNameWithMarkupIsEscaped) {
  AnalisysResult r{"0000001", "0000001", 1000, true, 150};
  EXPECT_EQ(ResultPage(FileResultTitle("a<b>&\"c\".bmp"), r),
            ExpectedResultPage("Результат анализа файла a&lt;b&gt;&amp;&quot;c&quot;.bmp", "0000001", "0000001",
                               "1000"));
}

}  // namespace
}  // namespace morvex::app
