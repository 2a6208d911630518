// The morvex command line run as a separate process.
#include <cstdlib>
#include <sstream>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include "morvex/app/cp1251.h"
#include "morvex/bmp.h"
#include "case_name.h"
#include "temp_folder.h"

namespace {

using morvex::testing::CaseName;
using morvex::testing::ReadBytes;
using morvex::testing::TempFolder;

struct Outcome {
  int status = -1;
  std::string out, err;
};

std::string Quote(const std::string& s) {
  std::string q = "'";
  for (const char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

// Runs morvex in the folder `cwd` (when given) with standard input read from `input`.
Outcome Morvex(const std::vector<std::string>& args, const std::string& cwd = "",
               const std::string& input = "/dev/null") {
  static TempFolder scratch;
  std::string command = cwd.empty() ? "" : "cd " + Quote(cwd) + " && ";
  command += Quote(MORVEX_CLI);
  for (const auto& a : args) command += " " + Quote(a);
  command += " >" + Quote((scratch / "out").string()) + " 2>" + Quote((scratch / "err").string()) + " <" +
             Quote(input);
  const int rc = std::system(command.c_str());
  Outcome r;
  r.status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
  r.out = scratch.read("out");
  r.err = scratch.read("err");
  return r;
}

// A dark image: the engine finds no note marks and gives its failure answer.
void WriteDark(const TempFolder& dir, const std::string& name) {
  morvex::SaveBmpFile(dir / name, morvex::testing::SolidBitmap(240, 120, morvex::MakeColour(10, 10, 10)));
}

TEST(Cli, HelpDescribesTheCommands) {
  const Outcome r = Morvex({"--help"});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("morvex analyse FILE..."), std::string::npos);
  EXPECT_NE(r.out.find("morvex batch DIR"), std::string::npos);
  EXPECT_NE(r.out.find("morvex batch --files-from LIST"), std::string::npos);
  EXPECT_NE(r.out.find("morvex generate --out DIR"), std::string::npos);
}

// A command and the way it is asked for help.
struct HelpCase {
  std::string command, flag;
};

class CliCommandHelp : public ::testing::TestWithParam<HelpCase> {};

TEST_P(CliCommandHelp, PrintsTheCommandsUsageAndExitsWithZero) {
  const HelpCase& c = GetParam();
  // Help wins over everything else on the line, even an unknown option.
  for (const auto& args : {std::vector<std::string>{c.command, c.flag},
                           std::vector<std::string>{c.command, "--no-such-option", c.flag}}) {
    const Outcome r = Morvex(args);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out.rfind("Usage:\n  morvex " + c.command + " ", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("Exit status: 0 success"), std::string::npos) << r.out;
  }
}

INSTANTIATE_TEST_SUITE_P(Commands, CliCommandHelp,
                         ::testing::Values(HelpCase{"analyse", "--help"}, HelpCase{"analyse", "-h"},
                                           HelpCase{"batch", "--help"}, HelpCase{"batch", "-h"},
                                           HelpCase{"generate", "--help"}, HelpCase{"generate", "-h"}),
                         [](const ::testing::TestParamInfo<HelpCase>& info) {
                           return info.param.command + (info.param.flag == "-h" ? "_h" : "_help");
                         });

TEST(CliCommandHelp, GenerateListsTheGeneratorsOptions) {
  const Outcome r = Morvex({"generate", "--help"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("  --count N"), std::string::npos) << r.out;
}

class CliUsage : public ::testing::TestWithParam<std::vector<std::string>> {};

TEST_P(CliUsage, WrongCommandLineExitsWithTwo) {
  const Outcome r = Morvex(GetParam());
  EXPECT_EQ(r.status, 2) << r.err;
  EXPECT_NE(r.err.find("morvex: "), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Table, CliUsage,
                         ::testing::Values(std::vector<std::string>{}, std::vector<std::string>{"scan", "--fast"},
                                           std::vector<std::string>{"analyse"},
                                           std::vector<std::string>{"analyse", "a.bmp", "--marked"},
                                           std::vector<std::string>{"analyse", "a.bmp", "b.bmp", "--marked", "o.bmp"},
                                           std::vector<std::string>{"analyse", "a.bmp", "--fast"},
                                           std::vector<std::string>{"batch"},
                                           std::vector<std::string>{"batch", "/tmp", "/var"},
                                           std::vector<std::string>{"batch", "/tmp", "--jobs", "0"},
                                           std::vector<std::string>{"batch", "/tmp", "--jobs", "2x"},
                                           std::vector<std::string>{"batch", "/tmp", "--report"},
                                           std::vector<std::string>{"batch", "/tmp", "--fast"},
                                           std::vector<std::string>{"batch", "--files-from"},
                                           std::vector<std::string>{"batch", "/tmp", "--files-from", "list.txt"}),
                         [](const ::testing::TestParamInfo<std::vector<std::string>>& info) {
                           std::string line;
                           for (const auto& a : info.param) line += a + " ";
                           return line.empty() ? std::string("no_arguments") : CaseName(line);
                         });

TEST(CliAnalyse, GoesOnAfterAFailedFileAndExitsWithOne) {
  TempFolder dir;
  WriteDark(dir, "dark.bmp");
  dir.write("broken.bmp", "BMnot really");
  const Outcome r = Morvex({"analyse", (dir / "broken.bmp").string(), (dir / "missing.bmp").string(),
                        (dir / "dark.bmp").string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("broken.bmp: Bitmap image is not valid"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("missing.bmp"), std::string::npos);
  EXPECT_NE(r.out.find("dark.bmp\n  Zone1Number   #######\n  Zone2Number   #######\n  Denomination  -1\n"),
            std::string::npos)
      << r.out << r.err;
  EXPECT_NE(r.out.find("  Note size     119x240\n"), std::string::npos) << r.out;
}

TEST(CliAnalyse, JsonIsOneObjectPerFile) {
  TempFolder dir;
  WriteDark(dir, "a.bmp");
  WriteDark(dir, "b \"quoted\".bmp");
  const Outcome r = Morvex({"analyse", "--json", (dir / "a.bmp").string(), (dir / "b \"quoted\".bmp").string()});
  EXPECT_EQ(r.status, 0) << r.err;
  ASSERT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 2) << r.out;
  EXPECT_NE(r.out.find("b \\\"quoted\\\".bmp\",\"Zone1Number\":\"#######\",\"Zone2Number\":\"#######\","
                       "\"Denomination\":-1,\"UpsideDown\":false,\"Dpi\":"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("\"Details\":[\"119x240\","), std::string::npos) << r.out;
}

TEST(CliAnalyse, MarkedPictureIsWritten) {
  TempFolder dir;
  WriteDark(dir, "a.bmp");
  const Outcome r = Morvex({"analyse", (dir / "a.bmp").string(), "--marked", (dir / "marked.bmp").string()});
  ASSERT_EQ(r.status, 0) << r.err;
  const morvex::Bitmap marked = morvex::LoadBmpFile(dir / "marked.bmp");
  EXPECT_EQ(marked.width(), 240);
  EXPECT_EQ(marked.height(), 120);
  EXPECT_EQ(marked.sourceBitDepth(), 24);
}

void MakeDarkFolder(const TempFolder& dir) {
  // The back side is read right in all three values, the front side in none.
  for (int i = 0; i < 6; ++i) {
    WriteDark(dir, "Note-200-0-1-0100-АА000000" + std::to_string(i) + ".bmp");
    WriteDark(dir, "Note-200-1-1-0500-ЯЯ765432" + std::to_string(i) + ".bmp");
  }
}

TEST(CliBatch, PrintsTheCountsAndWritesTheReport) {
  TempFolder dir, out;
  MakeDarkFolder(dir);
  const Outcome r = Morvex({"batch", dir.path().string(), "--report", (out / "report.html").string(), "--results",
                        (out / "rows.csv").string(), "--jobs", "1"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.substr(0, r.out.find("Время анализа: ")),
            "Всего банкнот: 12\nВерно в зоне1 и/или зоне2: 6\nВерно в зоне1: 6\nВерно в зоне2: 6\n"
            "Верно достоинство: 6\n");
  const std::string report = ReadBytes(out / "report.html");
  const std::string head = morvex::app::ToCp1251(
      "<META http-equiv=Content-Type content=\"text/html; charset=windows-1251\"><body background=\"res://" +
      std::string(MORVEX_CLI) + "/RT_RCDATA/bgimg\"><table align=center border=1>");
  EXPECT_EQ(report.substr(0, head.size()), head);
  EXPECT_EQ(report.substr(report.size() - 4), "<hr>");
  const std::string rows = ReadBytes(out / "rows.csv");
  EXPECT_EQ(std::count(rows.begin(), rows.end(), '\n'), 13);
  EXPECT_NE(rows.find("\nNote-200-0-1-0100-АА0000000.bmp,#######,#######,-1,0,"), std::string::npos) << rows;
}

TEST(CliBatch, TwoJobsGiveTheSameBytesAsOne) {
  TempFolder dir, out;
  MakeDarkFolder(dir);
  const Outcome one = Morvex({"batch", dir.path().string(), "--jobs", "1", "--report", (out / "1.html").string(),
                          "--results", (out / "1.jsonl").string()});
  const Outcome two = Morvex({"batch", dir.path().string(), "--jobs", "2", "--report", (out / "2.html").string(),
                          "--results", (out / "2.jsonl").string()});
  ASSERT_EQ(one.status, 0) << one.err;
  ASSERT_EQ(two.status, 0) << two.err;
  EXPECT_EQ(ReadBytes(out / "2.html"), ReadBytes(out / "1.html"));
  EXPECT_EQ(ReadBytes(out / "2.jsonl"), ReadBytes(out / "1.jsonl"));
  EXPECT_NE(ReadBytes(out / "1.jsonl").find("{\"name\":\"Note-200-0-1-0100-АА0000000.bmp\",\"zone1\":\"#######\""),
            std::string::npos);
}

TEST(CliBatch, FirstErrorEndsTheRunWithoutReport) {
  TempFolder dir, out;
  MakeDarkFolder(dir);
  WriteDark(dir, "Note-200-1-1-01O0-ЯЯ7654320_x.bmp");  // a letter O in the value
  for (const char* jobs : {"1", "2"}) {
    const Outcome r = Morvex({"batch", dir.path().string(), "--jobs", jobs, "--report", (out / "r.html").string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Note-200-1-1-01O0-ЯЯ7654320_x.bmp: '01O0' is not a valid integer value"), std::string::npos)
        << r.err;
    EXPECT_FALSE(out.exists("r.html"));
  }
}

TEST(CliBatch, RenameGivesEveryFileItsTemplateName) {
  TempFolder dir;
  WriteDark(dir, "scan1.bmp");
  WriteDark(dir, "scan2.bmp");
  const Outcome r = Morvex({"batch", dir.path().string(), "--rename", "--jobs", "2"});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::vector<std::string> names = dir.names();
  ASSERT_EQ(names.size(), 2u);
  EXPECT_EQ(names[0].substr(8), "-1-1--0001-ХХ#######.bmp");
  EXPECT_EQ(names[1].substr(8), "-1-1--0001-ХХ#######_0.bmp");
  EXPECT_NE(r.out.find("Верно в зоне1: 0\n"), std::string::npos);
}

// The summary without its last line, the run's time.
std::string Counts(const std::string& out) { return out.substr(0, out.find("Время анализа: ")); }

TEST(CliBatchList, ListOfTheFolderGivesTheBytesOfTheFolderRun) {
  TempFolder dir, out;
  MakeDarkFolder(dir);
  std::string list;
  for (const auto& name : dir.names()) list += name + "\n";  // the folder run's order, too
  out.write("list.txt", list);
  const Outcome folder = Morvex({"batch", dir.path().string(), "--report", (out / "folder.html").string(),
                                 "--results", (out / "folder.csv").string()});
  // Names relative to the folder the command runs in.
  const Outcome listed = Morvex({"batch", "--files-from", (out / "list.txt").string(), "--report",
                                 (out / "list.html").string(), "--results", (out / "list.csv").string()},
                                dir.path().string());
  ASSERT_EQ(folder.status, 0) << folder.err;
  ASSERT_EQ(listed.status, 0) << listed.err;
  EXPECT_EQ(Counts(listed.out), Counts(folder.out));
  EXPECT_EQ(ReadBytes(out / "list.html"), ReadBytes(out / "folder.html"));
  EXPECT_EQ(ReadBytes(out / "list.csv"), ReadBytes(out / "folder.csv"));
  EXPECT_NE(Counts(folder.out).find("Всего банкнот: 12\n"), std::string::npos) << folder.out;
}

TEST(CliBatchList, StandardInputKeepsListOrderAndPathsAndSkipsEmptyLines) {
  TempFolder dir, out;
  MakeDarkFolder(dir);
  const std::string second = (dir / "Note-200-0-1-0100-АА0000003.bmp").string();
  const std::string first = (dir / "Note-200-1-1-0500-ЯЯ7654321.bmp").string();
  out.write("list.txt", "\n" + first + "\r\n\n" + second + "\n" + first);
  const Outcome r = Morvex({"batch", "--files-from", "-", "--results", (out / "rows.jsonl").string()}, "",
                           (out / "list.txt").string());
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("Всего банкнот: 3\nВерно в зоне1 и/или зоне2: 1\n"), std::string::npos) << r.out;
  std::vector<std::string> names;
  std::istringstream rows(ReadBytes(out / "rows.jsonl"));
  for (std::string row; std::getline(rows, row);) names.push_back(row.substr(9, row.find("\",") - 9));
  EXPECT_EQ(names, (std::vector<std::string>{first, second, first}));
}

TEST(CliBatchList, MissingListedFileFailsBeforeAnyAnalysis) {
  TempFolder dir, out;
  MakeDarkFolder(dir);
  const std::string missing = (dir / "Note-200-1-1-0500-ЯЯ9999999.bmp").string();
  out.write("list.txt", (dir / "Note-200-0-1-0100-АА0000003.bmp").string() + "\n" + missing + "\n");
  const Outcome r = Morvex({"batch", "--files-from", (out / "list.txt").string(), "--results",
                            (out / "rows.csv").string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("morvex: " + missing + ": No such file or directory"), std::string::npos) << r.err;
  EXPECT_FALSE(out.exists("rows.csv"));
}

TEST(CliBatchList, UnreadableListFails) {
  TempFolder out;
  const Outcome r = Morvex({"batch", "--files-from", (out / "no-list.txt").string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("cannot read " + (out / "no-list.txt").string()), std::string::npos) << r.err;
}

TEST(CliBatch, MissingFolderFails) {
  TempFolder dir;
  const Outcome r = Morvex({"batch", (dir / "nothing").string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("nothing"), std::string::npos);
}

}  // namespace

// The robust reading on the command line: each zone's confidence is added to
// the output, and the exact reading's output stays as it was.
TEST(CliRobust, AnalyseAddsTheConfidences) {
  TempFolder dir;
  WriteDark(dir, "a.bmp");
  const Outcome text = Morvex({"analyse", "--robust", (dir / "a.bmp").string()});
  ASSERT_EQ(text.status, 0) << text.err;
  EXPECT_NE(text.out.find("  Zone2Number   #######\n  Zone1Confidence 0.000\n  Zone2Confidence 0.000\n  Denomination  -1\n"),
            std::string::npos)
      << text.out;
  const Outcome json = Morvex({"analyse", "--json", "--robust", (dir / "a.bmp").string()});
  ASSERT_EQ(json.status, 0) << json.err;
  EXPECT_NE(json.out.find("\"Zone2Number\":\"#######\",\"Zone1Confidence\":0.000,\"Zone2Confidence\":0.000,"
                          "\"Denomination\":-1"),
            std::string::npos)
      << json.out;
  const Outcome exact = Morvex({"analyse", "--json", (dir / "a.bmp").string()});
  EXPECT_EQ(exact.out.find("Confidence"), std::string::npos) << exact.out;
}

TEST(CliRobust, BatchRowsEndWithTheConfidences) {
  TempFolder dir, out;
  MakeDarkFolder(dir);
  for (const char* name : {"rows.csv", "rows.jsonl"}) {
    const Outcome r = Morvex({"batch", dir.path().string(), "--robust", "--jobs", "2", "--results", (out / name).string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, r.out.find("Время анализа: ")),
              "Всего банкнот: 12\nВерно в зоне1 и/или зоне2: 6\nВерно в зоне1: 6\nВерно в зоне2: 6\n"
              "Верно достоинство: 6\n");
  }
  const std::string csv = ReadBytes(out / "rows.csv");
  EXPECT_EQ(csv.substr(0, csv.find('\n')),
            "name,zone1,zone2,denomination,upside_down,dpi,zone1_match,zone2_match,denomination_match,new_name,"
            "zone1_confidence,zone2_confidence");
  const std::size_t row = csv.find("\nNote-200-0-1-0100-АА0000000.bmp,#######,#######,-1,0,");
  ASSERT_NE(row, std::string::npos) << csv;
  EXPECT_EQ(csv.substr(csv.find(",1,1,1,", row), 20), ",1,1,1,,0.000,0.000\n") << csv;
  const std::string jsonl = ReadBytes(out / "rows.jsonl");
  EXPECT_NE(jsonl.find(",\"new_name\":null,\"zone1_confidence\":0.000,\"zone2_confidence\":0.000}\n"),
            std::string::npos)
      << jsonl;

  const Outcome exact = Morvex({"batch", dir.path().string(), "--jobs", "1", "--results", (out / "exact.csv").string()});
  ASSERT_EQ(exact.status, 0) << exact.err;
  const std::string rows = ReadBytes(out / "exact.csv");
  EXPECT_EQ(rows.substr(0, rows.find('\n')),
            "name,zone1,zone2,denomination,upside_down,dpi,zone1_match,zone2_match,denomination_match,new_name");
}
