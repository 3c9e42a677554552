// Reading runs in operation over generated sheets in the feeder, into an
// SQLite output table: the rows, the logs line by line, ENDCODE.TXT and
// READEND.TXT, the pages deleted or kept, and every way a sheet stops the
// run with its message.
#include <string>
#include <vector>

#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "reading/reading.h"
#include "tests/reading/run_fixture.h"
#include "tests/support/test_pictures.h"
#include "tools/sheetgen/page_reader.h"

namespace {

using Texts = std::vector<std::string>;

SheetFieldRow Check(const char* code, const char* name, int x, int y, int boxes, int most) {
  SheetFieldRow row;
  row.code = code;
  row.name = name;
  row.x = x;
  row.y = y;
  row.count = boxes;
  row.boxWidth = 5;
  row.boxHeight = 5;
  row.gap = 2;
  row.edit = "ﾁｪｯｸ";
  row.threshold = 100;
  row.decimals = most;
  return row;
}

// An A4 sheet read with three marks at 300 dpi: its key ID numbered by the
// run, four check fields and a write-in field.
SheetDefinition RunSheet() {
  SheetDefinition d;
  SheetPaperRow paper;
  paper.name = "RUNTEST";
  paper.outputTable = "OUT1";
  paper.compensationMode = 3;
  paper.keyNumbering = 2;
  paper.noiseSize = 2;
  d.papers.push_back(paper);
  SheetFieldRow id;
  id.code = "0001";
  id.name = "ID";
  id.x = 240, id.y = 200, id.count = 4;
  id.type = "一括";
  id.edit = "０埋";
  d.fields.push_back(id);
  d.fields.push_back(Check("0002", "Q1", 240, 280, 5, 5));
  SheetFieldRow flag = Check("0003", "Q2", 240, 340, 1, 1);
  flag.charType = "ﾌﾗｸﾞ";
  flag.condition = "0=N,1=Y";
  d.fields.push_back(flag);
  SheetFieldRow codes = Check("0004", "Q3", 240, 400, 3, 1);
  codes.overlay = "abc";
  d.fields.push_back(codes);
  SheetFieldRow required = Check("0005", "Q4", 240, 460, 4, 4);
  required.required = 2;
  d.fields.push_back(required);
  SheetFieldRow name;
  name.code = "0006";
  name.name = "NAME";
  name.x = 240, name.y = 540, name.count = 6;
  name.type = "一括";
  d.fields.push_back(name);
  SheetKeyRow key;
  key.name = "ID";
  key.width = 4;
  d.keys.push_back(key);
  return d;
}

// The boxes filled on one sheet, field by field (Q1 to Q4).
struct Sheet {
  std::vector<int> q1, q2, q3, q4;
};

class ReadingRunTest : public ReadingDbTest {
 protected:
  void SetUp() override {
    ReadingDbTest::SetUp();
    definition_ = RunSheet();
    // The references a clean scan of the sheet registers.
    const ReferenceMarks r = RegisterCleanPage(definition_, "0001", 300);
    SheetMarkRow marks;
    marks.x1 = r.x1, marks.y1 = r.y1, marks.x2 = r.x2, marks.y2 = r.y2;
    marks.x3 = r.x3, marks.y3 = r.y3;
    definition_.marks.push_back(marks);
    InstallFeeder();
  }

  // Writes the definition and the output table's description, then readies
  // the sheet as the workbench does.
  void Prepare() {
    WriteDefinition(definition_);
    WriteOutputSpec("OUT1", {"ID:char*:4", "Q1", "Q2:char:1", "Q3", "Q4", "NAME"});
    ASSERT_EQ(LoadCurrentSheetPaper(), 0);
    BuildCanvas(definition_);
    g_currentSheet.projectMode = kOperationMode;
    ASSERT_EQ(ValidateSheetFields(), 0) << testing::PrintToString(Boxes());
    g_readingRun.subMode = kScanRun;
    g_readingRun.dpi = 300;
  }

  // Puts the sheets into the feeder, scanned with small random shifts and
  // turns.
  void Feed(const std::vector<Sheet>& sheets) {
    for (std::size_t k = 0; k < sheets.size(); ++k) {
      SheetRequest request;
      request.seed = static_cast<uint32_t>(k + 1);
      SheetRandom random(request.seed);
      request.scan = RandomDegradation(random);
      request.fills = {{"Q1", sheets[k].q1}, {"Q2", sheets[k].q2}, {"Q3", sheets[k].q3},
                       {"Q4", sheets[k].q4}};
      char name[32];
      std::snprintf(name, sizeof name, "PAGE%05d.BMP", static_cast<int>(k + 1));
      const GeneratedSheet sheet = GenerateSheet(definition_, request);
      ASSERT_EQ(sheet.error, "");
      ASSERT_TRUE(WriteSheetBmp(FeedPath(name), sheet));
    }
  }

  std::vector<std::map<std::string, std::string>> OutputRows() {
    return Rows(kOutputDb, "OUT1", "ID");
  }
  std::string Log(const char* suffix) { return ReadBytes(Path(std::string("log\\SHEET") + suffix)); }
  bool InFeeder(const char* name) { return GetFileAttributesA(FeedPath(name).c_str()) != INVALID_FILE_ATTRIBUTES; }

  SheetDefinition definition_;
};

const std::string kRuleEquals = std::string(100, '=') + "\r\n";
const std::string kRuleDashes = std::string(100, '-') + "\r\n";

TEST_F(ReadingRunTest, EverySheetBecomesOneRowWithItsLogLines) {
  Prepare();
  Feed({{{0, 2}, {0}, {1}, {3}}, {{4}, {}, {0, 2}, {0, 1}}, {{}, {0}, {}, {2}}});
  ASSERT_EQ(RunSheetReading(), 0) << testing::PrintToString(Boxes());
  EXPECT_TRUE(Boxes().empty()) << testing::PrintToString(Boxes());
  const auto rows = OutputRows();
  ASSERT_EQ(rows.size(), 3u);
  const char* expected[3][6] = {{"0001", "13", "Y", "b", "4", ""},
                                {"0002", "5", "N", "", "12", ""},
                                {"0003", "", "Y", "", "3", ""}};
  const char* columns[6] = {"ID", "Q1", "Q2", "Q3", "Q4", "NAME"};
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 6; ++c) EXPECT_EQ(rows[r].at(columns[c]), expected[r][c]) << r << columns[c];
  }
  EXPECT_EQ(Log("_PUT.LOG"),
            kRuleEquals + "〔000001〕 \r\n◎ [ID] 0001 13 Y b 4  \r\n" + kRuleDashes +
                "〔000002〕 \r\n◎ [ID] 0002 5 N  12  \r\n" + kRuleDashes +
                "〔000003〕 \r\n◎ [ID] 0003  Y  3  \r\n" + kRuleDashes);
  EXPECT_EQ(Log("_ERR.LOG"),
            kRuleEquals + "〔000001〕 \r\n〔ID：０００１〕\r\n" + kRuleDashes +
                "〔000002〕 \r\n〔ID：０００２〕\r\n“Q3”のチェック数が“1”を越えました。\r\n" +
                kRuleDashes + "〔000003〕 \r\n〔ID：０００３〕\r\n" + kRuleDashes);
  EXPECT_EQ(ReadBytes(Path("log\\ENDCODE.TXT")), "0003\r\n");
  EXPECT_EQ(ReadBytes(Path("log\\READEND.TXT")), "1\r\n");
  EXPECT_FALSE(InFeeder("PAGE00001.BMP"));
  EXPECT_EQ(GetFileAttributesA(ImagePath("SCAN_300.BMP").c_str()), INVALID_FILE_ATTRIBUTES)
      << "the scanned page is deleted after its sheet";
}

}  // namespace
