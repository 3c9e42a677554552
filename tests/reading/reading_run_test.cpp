// Reading runs in operation over generated sheets in the feeder, into an
// output table on SQLite and on PostgreSQL: the rows, the logs line by line, ENDCODE.TXT and
// READEND.TXT, the pages deleted or kept, and every way a sheet stops the
// run with its message.
#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "reading/reading.h"
#include "screen/screen.h"
#include "tests/reading/run_fixture.h"
#include "tests/reading/run_setup.h"
#include "tests/support/host_run.h"
#include "tests/support/required_service.h"
#include "tests/support/test_pictures.h"
#include "tools/sheetgen/page_reader.h"

namespace {

using Texts = std::vector<std::string>;

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// An A4 sheet read with three marks at 300 dpi: its key ID numbered by the
// run, four check fields and a write-in field.
SheetDefinition RunSheet() {
  SheetDefinition d = NumberedKeySheet("RUNTEST", "OUT1");
  d.papers[0].noiseSize = 2;
  d.fields.push_back(CountedCheckFieldRow("0002", "Q1", 240, 280, 5, 5));
  SheetFieldRow flag = CountedCheckFieldRow("0003", "Q2", 240, 340, 1, 1);
  flag.charType = "ﾌﾗｸﾞ";
  flag.condition = "0=N,1=Y";
  d.fields.push_back(flag);
  SheetFieldRow codes = CountedCheckFieldRow("0004", "Q3", 240, 400, 3, 1);
  codes.overlay = "abc";
  d.fields.push_back(codes);
  SheetFieldRow required = CountedCheckFieldRow("0005", "Q4", 240, 460, 4, 4);
  required.required = 2;
  d.fields.push_back(required);
  d.fields.push_back(WriteInFieldRow("0006", "NAME", 240, 540, 6));
  SheetKeyRow key;
  key.name = "ID";
  key.width = 4;
  d.keys.push_back(key);
  return d;
}

// The boxes filled on one sheet, field by field (Q1 to Q4, and ID when the
// key is read from marks).
struct Sheet {
  Sheet(std::vector<int> a, std::vector<int> b, std::vector<int> c, std::vector<int> d,
        std::vector<int> key = {})
      : q1(a), q2(b), q3(c), q4(d), id(key) {}
  std::vector<int> q1, q2, q3, q4, id;
};

class ReadingRunTest : public ReadingStoreTest {
 protected:
  void SetUp() override {
    ReadingStoreTest::SetUp();
    if (IsSkipped()) return;
    definition_ = RunSheet();
    // The references a clean scan of the sheet registers.
    definition_.marks.push_back(RegisteredMarkRow(definition_, "0001", 300));
    InstallFeeder();
  }

  // Writes the definition and the output table's description, then readies
  // the sheet as the workbench does.
  void Prepare(std::vector<std::string> extraColumns = {}) {
    DropOutputTable(definition_.papers[0].outputTable);
    WriteDefinition(definition_);
    std::vector<std::string> columns = {"ID:char*:4", "Q1", "Q2:char:1", "Q3", "Q4", "NAME"};
    columns.insert(columns.end(), extraColumns.begin(), extraColumns.end());
    WriteOutputSpec(definition_.papers[0].outputTable, columns);
    ASSERT_EQ(LoadCurrentSheetPaper(), 0);
    BuildCanvas();
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
                       {"Q4", sheets[k].q4}, {"ID", sheets[k].id}};
      char name[32];
      std::snprintf(name, sizeof name, "PAGE%05d.BMP", static_cast<int>(k + 1));
      const GeneratedSheet sheet = GenerateSheet(definition_, request);
      ASSERT_EQ(sheet.error, "");
      ASSERT_TRUE(WriteSheetBmp(FeedPath(name), sheet));
    }
  }

  // The back of the sheet: a paired scan, the back's own marks (with the
  // one under the top-left mark that tells it from the front) and two check
  // fields, B1 (a code of four) and B2 (up to three marks).
  void AddBackSide() {
    definition_.papers[0].scanType = 3;
    SheetPaperRow back = definition_.papers[0];
    back.side = "0002";
    definition_.papers.push_back(back);
    SheetFieldRow b1 = CountedCheckFieldRow("0001", "B1", 240, 300, 4, 1);
    b1.side = "0002";
    b1.overlay = "wxyz";
    definition_.fields.push_back(b1);
    SheetFieldRow b2 = CountedCheckFieldRow("0002", "B2", 240, 420, 3, 3);
    b2.side = "0002";
    definition_.fields.push_back(b2);
    definition_.marks.push_back(RegisteredMarkRow(definition_, "0002", 300));
  }

  // A page of a side: scanned with small random shifts and turns, or clean
  // (seed 0) as a stored page is once aligned.
  SheetRequest Page(const std::string& side, const std::vector<FieldFill>& fills, uint32_t seed) {
    SheetRequest request;
    request.side = side;
    request.fills = fills;
    if (seed == 0) return request;
    request.seed = seed;
    SheetRandom random(seed);
    request.scan = RandomDegradation(random);
    return request;
  }

  // Puts a page into the feeder as its `number`th page.
  void FeedPage(int number, const SheetRequest& request) {
    char name[32];
    std::snprintf(name, sizeof name, "PAGE%05d.BMP", number);
    const GeneratedSheet sheet = GenerateSheet(definition_, request);
    ASSERT_EQ(sheet.error, "");
    ASSERT_TRUE(WriteSheetBmp(FeedPath(name), sheet));
  }

  // Puts the front and then the back of each sheet into the feeder; the
  // sheet `turned` (from 0) goes in back first.
  void FeedTwoSided(const std::vector<Sheet>& fronts, const std::vector<Sheet>& backs,
                    int turned = -1) {
    uint32_t page = 0;
    for (std::size_t k = 0; k < fronts.size(); ++k) {
      const SheetRequest front =
          Page("0001", {{"Q1", fronts[k].q1}, {"Q2", fronts[k].q2}, {"Q3", fronts[k].q3},
                        {"Q4", fronts[k].q4}}, page + 1);
      const SheetRequest back = Page("0002", {{"B1", backs[k].q1}, {"B2", backs[k].q2}}, page + 2);
      const bool backFirst = static_cast<int>(k) == turned;
      for (const SheetRequest* request : {backFirst ? &back : &front, backFirst ? &front : &back}) {
        char name[32];
        std::snprintf(name, sizeof name, "PAGE%05u.BMP", ++page);
        const GeneratedSheet sheet = GenerateSheet(definition_, *request);
        ASSERT_EQ(sheet.error, "");
        ASSERT_TRUE(WriteSheetBmp(FeedPath(name), sheet));
      }
    }
  }

  // A master table (CODE, TEXT) of the output database, holding `rows`,
  // looked up by the value of `field`: its TEXT goes into the field `into`,
  // and a value it lacks stops the sheet.
  void UseMaster(const char* field, const std::vector<std::pair<std::string, std::string>>& rows,
                 const std::string& table = "MST", const char* into = "NAME") {
    WriteBytes(Path(table + ".SPC"),
               table + "\r\nFIELD\r\n\"CODE\",\"char*\",\"CODE\",20,0,0,\"\",20\r\n"
                       "\"TEXT\",\"char*\",\"TEXT\",20,0,0,\"\",20\r\nINDEX\r\n"
                       "\"CODE\",\"△\"\r\nEND\r\n");
    DropOutputTable(table);
    const int master = OpenOutputTable(table);
    ASSERT_GT(master, 0);
    for (const auto& [code, text] : rows) {
      db_clear(master);
      SetColumnText(master, "CODE", code.c_str());
      SetColumnText(master, "TEXT", text.c_str());
      ASSERT_EQ(db_add(master), 0);
    }
    db_close(master);
    ScreenItem& item = Item(FindCanvasField(field));
    item.refTable = table;
    item.keyItemName = "CODE";
    item.fetchItemName = "TEXT";
    item.writeItemName = into;
    item.masterError = 1;
  }

  std::vector<std::map<std::string, std::string>> OutputRows() {
    return Rows(kOutputDb, definition_.papers[0].outputTable.c_str(), "ID");
  }
  std::string Log(const char* suffix) { return ReadBytes(Path(std::string("log\\SHEET") + suffix)); }

  // The run in a process of its own, on the test's database, stopped by
  // kill -9 as an operator stops it: once it stored `records` records and
  // waits before their sheet leaves the feeder, or once `killAfterPages`
  // more sheets went to the tray and then `delay` ms later. Given neither,
  // it runs to its end.
  void RunProgram(int records, int killAfterPages, DWORD delay) {
    std::vector<std::string> arguments = {folder(), OnServer() ? "server" : "file"};
    if (records > 0) arguments.push_back(std::to_string(records));
    DeleteFileA(Path("stopped").c_str());
    const int before = CountFiles(Path("fed\\*.BMP"));
    const HostRun run(folder(), "reading_run_program.exe", arguments);
    ASSERT_TRUE(run.started());
    if (records > 0 || killAfterPages > 0) {
      const DWORD start = GetTickCount();
      while (!(records > 0 ? Exists(Path("stopped")) : CountFiles(Path("fed\\*.BMP")) >= before + killAfterPages) &&
             !run.Ended() && GetTickCount() - start < 120000) {
        Sleep(2);
      }
      Sleep(delay);
      run.Kill();
    }
    ASSERT_TRUE(run.WaitEnd(120000));
    if (Exists(Path("stopped"))) {
      EXPECT_EQ(run.Status(), 128 + 9) << "killed where it waits";
    }
  }

  // Sheets told apart by their marks: sheet k marks Q1 k % 5, Q2 when k is
  // even, Q4 k % 4.
  static std::vector<Sheet> CountedSheets(int count) {
    std::vector<Sheet> sheets;
    for (int k = 0; k < count; ++k) {
      sheets.push_back({{k % 5}, k % 2 ? std::vector<int>{} : std::vector<int>{0}, {}, {k % 4}});
    }
    return sheets;
  }
  // Row r is counted sheet r under the key numbered r + 1.
  static void ExpectCountedSheets(const std::vector<std::map<std::string, std::string>>& rows) {
    for (std::size_t r = 0; r < rows.size(); ++r) {
      SCOPED_TRACE(r);
      char key[8];
      std::snprintf(key, sizeof key, "%04d", static_cast<int>(r + 1));
      EXPECT_EQ(rows[r].at("ID"), key);
      EXPECT_EQ(rows[r].at("Q1"), std::to_string(r % 5 + 1));
      EXPECT_EQ(rows[r].at("Q2"), r % 2 ? "N" : "Y");
      EXPECT_EQ(rows[r].at("Q4"), std::to_string(r % 4 + 1));
    }
  }

  bool InFeeder(const char* name) { return GetFileAttributesA(FeedPath(name).c_str()) != INVALID_FILE_ATTRIBUTES; }

  SheetDefinition definition_;
};

const std::string kRuleEquals = std::string(100, '=') + "\r\n";
const std::string kRuleDashes = std::string(100, '-') + "\r\n";

TEST_P(ReadingRunTest, EverySheetBecomesOneRowWithItsLogLines) {
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

// A sheet that lies further from its registered place than the sheet's
// threshold is logged with its key and its shift in _HOS.LOG.
TEST_P(ReadingRunTest, ShiftsFromTheThresholdOnAreLoggedByKey) {
  Prepare();
  g_sheetSettings.shiftThreshold = 12;
  const double shifts[4][2] = {{0, 0}, {2, 0}, {0.5, 0.5}, {0, -1}};  // mm right, down
  for (int k = 0; k < 4; ++k) {
    SheetRequest request = Page("0001", {{"Q4", {0}}}, 0);
    request.scan.shiftXmm = shifts[k][0];
    request.scan.shiftYmm = shifts[k][1];
    FeedPage(k + 1, request);
  }
  ASSERT_EQ(RunSheetReading(), 0);
  EXPECT_EQ(Boxes(), Texts{});
  EXPECT_EQ(OutputRows().size(), 4u);
  EXPECT_EQ(Log("_HOS.LOG"), "〔ID：０００２〕X：24 ／ Y：0\r\n〔ID：０００４〕X：0 ／ Y：-12\r\n");
}

// The key read from a row of ten choices (one mark, a digit) instead of
// numbered by the run.
void KeyFromMarks(SheetDefinition* d) {
  d->papers[0].keyNumbering = 1;
  SheetFieldRow& id = d->fields[0];
  id = CountedCheckFieldRow("0001", "ID", 240, 200, 10, 1);
  id.overlay = "0123456789";
}

const char kCancelled[] = "　書込みをキャンセルしました。\r\n";

TEST_P(ReadingRunTest, AStoredKeyStopsTheRunAndTheSheetsAfterItStayInTheFeeder) {
  KeyFromMarks(&definition_);
  Prepare();
  Feed({{{0}, {0}, {}, {0}, {3}}, {{1}, {}, {}, {1}, {3}}, {{2}, {0}, {}, {2}, {4}}});
  ASSERT_EQ(RunSheetReading(), 0);
  EXPECT_EQ(Boxes(), Texts{"「ID」“3”はすでに登録されていますので、読み取り処理を中断しました。"});
  const auto rows = OutputRows();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].at("Q1"), "1");
  EXPECT_EQ(Log("_ERR.LOG"), kRuleEquals + "〔000001〕 \r\n〔ID：３〕\r\n" + kRuleDashes +
                                 "〔000002〕 \r\n〔ID：３〕\r\n“3”は、すでに登録されています。\r\n" +
                                 kCancelled + kRuleDashes);
  EXPECT_EQ(ReadBytes(Path("log\\ENDCODE.TXT")), "3\r\n");
  EXPECT_EQ(ReadBytes(Path("log\\READEND.TXT")), "1\r\n") << "also after a stopped run";
  EXPECT_TRUE(InFeeder("PAGE00002.BMP")) << "a sheet not stored stays in the feeder";
  EXPECT_TRUE(InFeeder("PAGE00003.BMP"));
}

// A numbered key on a grid of marks: whatever its boxes hold, every sheet
// takes the run's next number.
TEST_P(ReadingRunTest, ANumberedKeyIsNumberedNeverRead) {
  SheetFieldRow& id = definition_.fields[0];
  id = CountedCheckFieldRow("0001", "ID", 240, 200, 10, 3);
  id.overlay = "0123456789";
  Prepare();
  Feed({{{0}, {0}, {}, {0}, {1, 2, 3, 4}}, {{1}, {0}, {}, {1}}, {{2}, {0}, {}, {2}, {5}}});
  ASSERT_EQ(RunSheetReading(), 0);
  EXPECT_EQ(Boxes(), Texts{});
  const auto rows = OutputRows();
  ASSERT_EQ(rows.size(), 3u);
  for (std::size_t r = 0; r < rows.size(); ++r) {
    EXPECT_EQ(rows[r].at("ID"), "000" + std::to_string(r + 1));
    EXPECT_EQ(rows[r].at("Q1"), std::to_string(r + 1));
  }
  EXPECT_EQ(Log("_ERR.LOG").find("チェック数"), std::string::npos);
}

// A key marked on a grid of four columns of digits, down each column: the
// digits marked are the key, as many as were marked.
TEST_P(ReadingRunTest, AKeyMarkedOnAGridIsWhatWasMarked) {
  definition_.papers[0].keyNumbering = 1;
  SheetFieldRow& id = definition_.fields[0];
  id = CountedCheckFieldRow("0001", "ID", 600, 200, 40, 4);  // right of the other fields
  id.type = "Ｙ";
  id.arrayCount = 10;
  id.arrayGap = 1;
  id.overlay = "0123456789012345678901234567890123456789";
  Prepare();
  // Box 10 c + d is the digit d of column c.
  Feed({{{0}, {}, {}, {0}, {0, 11, 22, 33}}, {{1}, {}, {}, {1}, {5, 17}}, {{2}, {}, {}, {2}, {29}}});
  ASSERT_EQ(RunSheetReading(), 0);
  EXPECT_EQ(Boxes(), Texts{});
  const auto rows = OutputRows();
  ASSERT_EQ(rows.size(), 3u) << Log("_ERR.LOG");
  EXPECT_EQ(rows[0].at("ID"), "0123");
  EXPECT_EQ(rows[1].at("ID"), "57");
  EXPECT_EQ(rows[2].at("ID"), "9");
  EXPECT_EQ(rows[1].at("Q1"), "2");
}

TEST_P(ReadingRunTest, AStoredKeyIsOverwrittenWhenTheSheetAllowsIt) {
  KeyFromMarks(&definition_);
  definition_.papers[0].existingData = 2;
  Prepare();
  Feed({{{0}, {0}, {}, {0}, {3}}, {{1}, {}, {}, {1}, {3}}});
  ASSERT_EQ(RunSheetReading(), 0);
  EXPECT_EQ(Boxes(), Texts{});
  const auto rows = OutputRows();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].at("Q1"), "2");
  EXPECT_EQ(rows[0].at("Q2"), "N");
  EXPECT_NE(Log("_ERR.LOG").find(" 「ID」“3”は、上書き修正しました。\r\n"), std::string::npos);
}

TEST_P(ReadingRunTest, FaultsOfAValueStopTheRunWithTheirMessages) {
  struct Case {
    const char* what;
    void (*change)(SheetDefinition*);
    Sheet sheet;
    Texts boxes;
    const char* logLine;
    const char* masterField = nullptr;  // looks its value up in MST
  };
  const Case cases[] = {
      {"a required field left blank", nullptr, {{0}, {0}, {}, {}},
       {"「Q4」には、何も記入されていません。\n読み取り処理を中断しました。"},
       "“Q4”には、何も記入されていません。\r\n"},
      {"an empty key", KeyFromMarks, {{0}, {0}, {}, {0}, {}},
       {"「キー項目欄：ID」には、何も記入されていません。\n「ID」に記入しない場合は、シート設計"
        "画面の「ID欄」を右クリックして、“自動的に連番をつける”に設定してください。"},
       "　キー項目欄“ID”には、何も記入されていません。\r\n"},
      {"below the minimum",
       [](SheetDefinition* d) { d->fields[4].minimum = "2"; },
       {{0}, {0}, {}, {0}},
       {"「Q4」に“2”に満たない値が記入されています。読み取った値＝“1”\n読み取り処理を中断しました。"},
       "“Q4”に“2”に満たない値“1”が記入されています。\r\n"},
      {"above the maximum",
       [](SheetDefinition* d) { d->fields[1].maximum = "3"; },
       {{4}, {0}, {}, {0}},
       {"「Q1」に“3”を越える値が記入されています。読み取った値＝“5”\n読み取り処理を中断しました。"},
       "“Q1”に“3”を越える値“5”が記入されています。\r\n"},
      {"a required field with a master left blank", nullptr, {{0}, {0}, {}, {}},
       {"「Q4」が空白です。\n「Q4欄」は、“空白不可”に設定されていますので、処理を中断します。\n"
        "処理を中断しないようにする場合は、「シート定義」の【記入エラー発生時】を“処理を続行”に"
        "設定してください。"},
       "〔ID：０００１〕\r\n", "Q4"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TearDown();
    SetUp();
    if (c.change) c.change(&definition_);
    Prepare();
    if (c.masterField) UseMaster(c.masterField, {{"1", "ONE"}});
    Feed({c.sheet, {{0}, {0}, {}, {0}, {5}}});
    ASSERT_EQ(RunSheetReading(), 0);
    EXPECT_EQ(Boxes(), c.boxes);
    EXPECT_TRUE(OutputRows().empty());
    const std::string err = Log("_ERR.LOG");
    EXPECT_NE(err.find(std::string(c.logLine) + kCancelled), std::string::npos) << err;
    EXPECT_FALSE(Exists(Path("log\\ENDCODE.TXT")));
    EXPECT_EQ(ReadBytes(Path("log\\READEND.TXT")), "1\r\n");
    EXPECT_FALSE(Exists(ImagePath("SCAN_300.BMP"))) << "a stopped sheet's page is deleted too";
    EXPECT_TRUE(InFeeder("PAGE00002.BMP"));
  }
}

TEST_P(ReadingRunTest, AfterAFaultTheSheetGoesOnWhenTheSheetSaysSo) {
  definition_.papers[0].errorSetting = 2;
  definition_.fields[2].maximum = "M";  // the flag: "Y" is above it
  Prepare();
  Feed({{{0}, {0}, {}, {}}});
  ASSERT_EQ(RunSheetReading(), 0);
  EXPECT_EQ(Boxes(), Texts{});
  const auto rows = OutputRows();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].at("Q2"), "*") << "a one-character column takes \"*\"";
  EXPECT_EQ(rows[0].at("Q4"), "");
  const std::string err = Log("_ERR.LOG");
  EXPECT_NE(err.find("“Q2”に“M”を越える値“Y”が記入されています。\r\n"), std::string::npos);
  EXPECT_NE(err.find("“Q4”には、何も記入されていません。\r\n"), std::string::npos);
  EXPECT_EQ(err.find(kCancelled), std::string::npos);
}

// A master or address look-up with nowhere to put what it finds refuses
// the run before anything is opened or read, unless the sheet only cuts
// out images.
TEST_P(ReadingRunTest, ALookUpWithNowhereToWriteRefusesTheRun) {
  struct Case {
    const char* what;
    const char* mask;   // of Q1: position 10 looks its value up as a postal code
    const char* table;  // Q1's master
    const char* into;
    int cutOut;
    const char* box;
  };
  const Case cases[] = {
      {"a master", "1000000000", "MST", "NOPE", 0,
       "マスターファイル“MST”の“TEXT”を出力するフィールド“NOPE”がありません。"},
      {"an address, no field named", "1000000001", "", "", 0,
       "“全国住所データ”を参照する場合は、記入欄“Q1”の「参照マスター定義」で「書込データ項目」"
       "に、住所を出力する項目名を入力してください。"},
      {"an address, no such field", "1000000001", "", "NOPE", 0,
       "住所を出力するフィールド“NOPE”がありません。"},
      {"images only", "1000000001", "", "NOPE", 2, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TearDown();
    SetUp();
    definition_.fields[1].mask = c.mask;
    definition_.papers[0].ruledLines = c.cutOut;
    Prepare();
    ScreenItem& q1 = Item(FindCanvasField("Q1"));
    q1.refTable = c.table;
    q1.keyItemName = *c.table ? "CODE" : "";
    q1.fetchItemName = *c.table ? "TEXT" : "";
    q1.writeItemName = c.into;
    Feed({{{0}, {0}, {}, {0}}});
    if (!c.box) {
      EXPECT_EQ(RunSheetReading(), 0);
      EXPECT_EQ(Boxes(), Texts{});
      EXPECT_EQ(OutputRows().size(), 1u);
      continue;
    }
    EXPECT_EQ(RunSheetReading(), -1);
    EXPECT_EQ(Boxes(), Texts{c.box});
    EXPECT_FALSE(Exists(Path("log\\SHEET_PUT.LOG")));
    EXPECT_TRUE(InFeeder("PAGE00001.BMP"));
  }
}

TEST_P(ReadingRunTest, ARowThatCannotBeStoredKeepsItsPageAndWritesNoEndCode) {
  Prepare();
  // An output table that refuses the second sheet's row.
  const int slot = OutputStatementSlot("OUT1");
  ASSERT_GT(slot, 0);
  ASSERT_EQ(ExecSlotSql(slot,
                        "create table OUT1 (ID varchar(4), Q1 varchar(20) check (Q1 <> '2'), "
                        "Q2 varchar(1), Q3 varchar(20), Q4 varchar(20), NAME varchar(20))",
                        0),
            0);
  db_disconnect(slot);
  Feed({{{0}, {0}, {}, {0}}, {{1}, {0}, {}, {0}}, {{2}, {0}, {}, {0}}});
  ASSERT_EQ(RunSheetReading(), 0);
  const Texts boxes = Boxes();
  ASSERT_GE(boxes.size(), 2u);
  EXPECT_EQ(boxes[boxes.size() - 2], "“OUT1”に登録できません。");
  EXPECT_EQ(boxes.back(), "「ID」“0002”の読み取り結果を書き込めませんでしたので、読み取り処理を"
                          "中断しました。\n読み取ったイメージ“" +
                              ImagePath("SCAN_300.BMP") + "”は残してあります。");
  EXPECT_EQ(OutputRows().size(), 1u);
  EXPECT_EQ(ReadBytes(Path("log\\ENDCODE.TXT")), "0001\r\n");
  EXPECT_NE(GetFileAttributesA(ImagePath("SCAN_300.BMP").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(InFeeder("PAGE00003.BMP"));
}

TEST_P(ReadingRunTest, NumbersThatWouldWrapOntoStoredKeysAreRefused) {
  Prepare();
  const int slot = OpenOutputTable("OUT1");
  ASSERT_GT(slot, 0);
  db_clear(slot);
  SetColumnText(slot, "ID", "9998");
  ASSERT_EQ(db_add(slot), 0);
  db_close(slot);
  Feed({{{0}, {0}, {}, {0}}, {{1}, {0}, {}, {0}}});
  ASSERT_EQ(RunSheetReading(), 0);
  EXPECT_EQ(Boxes(), Texts{"「ID」の連番が“0000”で桁数の上限に達しましたので、読み取り処理を中断"
                           "しました。\n登録済みのデータを上書きしないよう、連番の桁数を増やして"
                           "ください。"});
  const auto rows = OutputRows();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[1].at("ID"), "9999");
}

// The designer stores the width of a key read on the sheet as 0: the key is
// as wide as its field's boxes, so the run numbers it to fill them.
TEST_P(ReadingRunTest, AKeyStoredWithoutAWidthIsAsWideAsItsField) {
  definition_.keys[0].width = 0;
  for (SheetFieldRow& row : definition_.fields) {
    if (row.name == "ID") row.count = 6;
  }
  Prepare();
  ASSERT_EQ(LoadSheetKeyItems(), 0);
  ASSERT_EQ(g_sheetKeys.items.size(), 1u);
  EXPECT_EQ(g_sheetKeys.items[0].width, 6);
}

TEST_P(ReadingRunTest, APageWithoutItsMarksIsNotReadInOperation) {
  Prepare();
  SheetDefinition unmarked = definition_;
  unmarked.papers[0].compensationMode = 0;  // printed without marks
  const GeneratedSheet sheet = GenerateSheet(unmarked, SheetRequest());
  ASSERT_TRUE(WriteSheetBmp(FeedPath("PAGE00001.BMP"), sheet));
  Feed({});
  ASSERT_TRUE(WriteSheetBmp(FeedPath("PAGE00002.BMP"), GenerateSheet(definition_, SheetRequest())));
  ASSERT_EQ(RunSheetReading(), 0);
  EXPECT_TRUE(OutputRows().empty());
  EXPECT_TRUE(InFeeder("PAGE00002.BMP"));
}

// The run goes on in a process of its own, which is killed once a random
// number of pages has left the feeder: every row it stored is whole, and the
// pages it did not finish are still in the feeder.
TEST_P(ReadingRunTest, ARunKilledAtARandomPageKeepsItsRowsAndLeavesTheRestInTheFeeder) {
  Prepare();
  Feed(CountedSheets(20));
  const DWORD seed = GetTickCount();
  SCOPED_TRACE(testing::Message() << "seed " << seed);
  const int killAfter = 2 + static_cast<int>(SheetRandom(seed).Below(14));
  SCOPED_TRACE(testing::Message() << "killed after " << killAfter << " pages");

  RunProgram(0, killAfter, 0);

  const int fed = CountFiles(Path("fed\\*.BMP"));
  const int waiting = CountFiles(FeedPath("*.BMP"));
  EXPECT_GE(fed, killAfter);
  EXPECT_LT(fed, 20) << "the run was killed before its end";
  EXPECT_EQ(fed + waiting, 20);
  const auto rows = OutputRows();
  ASSERT_GE(static_cast<int>(rows.size()), fed);
  ASSERT_LE(static_cast<int>(rows.size()), fed + 1) << "the page being read when killed";
  ExpectCountedSheets(rows);
  // The pages after the last stored row are the feeder's, as they were put.
  for (int k = static_cast<int>(rows.size()) + 1; k <= 20; ++k) {
    char name[32];
    std::snprintf(name, sizeof name, "PAGE%05d.BMP", k);
    EXPECT_TRUE(InFeeder(name)) << name;
  }
}

// Runs killed ten times over on each database, by kill -9 of the program's
// process: at a random moment, or right after a record was stored and
// before its sheet left the feeder. Every sheet is stored once or is still in the feeder; a
// last run stores the rest.
class ReadingRunKilled : public ReadingRunTest {
 protected:
  // Every stored row is the sheet of its number, once; the sheet being
  // stored when the run stopped may be stored and still in the feeder.
  void ExpectEachSheetOnce(int sheets) {
    const int fed = CountFiles(Path("fed\\*.BMP"));
    EXPECT_EQ(fed + CountFiles(FeedPath("*.BMP")), sheets) << "no sheet lost";
    const auto rows = OutputRows();
    EXPECT_GE(static_cast<int>(rows.size()), fed);
    EXPECT_LE(static_cast<int>(rows.size()), fed + 1);
    ExpectCountedSheets(rows);
  }
};

TEST_P(ReadingRunKilled, EverySheetIsStoredOnceHoweverOftenTheRunStops) {
  definition_.papers[0].outputTable = "READKILL";
  Prepare();
  constexpr int kSheets = 20;
  Feed(CountedSheets(kSheets));
  const DWORD seed = GetTickCount();
  SCOPED_TRACE(testing::Message() << "seed " << seed);
  SheetRandom random(seed);
  for (int stop = 1; stop <= 10; ++stop) {
    SCOPED_TRACE(testing::Message() << "stop " << stop);
    if (stop % 2 == 1) {
      RunProgram(2, 0, 0);  // the first sheet's record, if stored before, and one more
    } else {
      RunProgram(0, 1, static_cast<DWORD>(random.Below(60)));
    }
    ExpectEachSheetOnce(kSheets);
    if (HasFailure()) return;
  }
  RunProgram(0, 0, 0);
  EXPECT_EQ(CountFiles(FeedPath("*.BMP")), 0);
  EXPECT_EQ(OutputRows().size(), static_cast<std::size_t>(kSheets));
  ExpectEachSheetOnce(kSheets);
}

INSTANTIATE_ON_BOTH_DATABASES(ReadingRunKilled);

// Areas cut out of every sheet (the sheet's ruled lines of size 99), and
// the field images shown on the card form.
void CutOutAreas(SheetDefinition* d) {
  d->papers[0].ruledLines = 1;
  d->papers[0].blankAreas = 1;
  d->papers[0].recordImages = 1;
  d->fields[1].mask = "10000000001";  // Q1 and NAME keep a field image
  d->fields[5].mask = "10000000001";
  // Area 1 takes in Q1; area 2 lies on blank paper.
  d->lines = {{"0001", "001", 'C', 99, 230, 270, 400, 310},
              {"0001", "002", 'C', 99, 600, 900, 700, 950}};
}

int BmpWidth(const std::string& path) {
  const std::string bytes = ReadBytes(path);
  return bytes.size() < 26 ? -1 : static_cast<unsigned char>(bytes[18]) | static_cast<unsigned char>(bytes[19]) << 8;
}

int BmpHeight(const std::string& path) {
  const std::string bytes = ReadBytes(path);
  return bytes.size() < 26 ? -1 : static_cast<unsigned char>(bytes[22]) | static_cast<unsigned char>(bytes[23]) << 8;
}

TEST_P(ReadingRunTest, AreasAndFieldImagesAreCutOutAndBlankAreasLeftOut) {
  CutOutAreas(&definition_);
  definition_.papers[0].keepImage = 1;
  Prepare({"IMG01:char*:255", "IMG02:char*:255"});
  CreateDirectoryA(Path("cut").c_str(), nullptr);
  g_readingPlaces.cutImageFolder = Path("cut");
  Feed({{{0, 2}, {0}, {}, {0}}});
  ASSERT_EQ(RunSheetReading(), 0);
  EXPECT_EQ(Boxes(), Texts{});
  const auto rows = OutputRows();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].at("IMG01"), Path("cut\\IMG_0001_01.BMP"));
  EXPECT_EQ(rows[0].at("IMG02"), "") << "a blank area is not kept";
  EXPECT_TRUE(Exists(Path("cut\\IMG_0001_01.BMP")));
  EXPECT_FALSE(Exists(Path("cut\\IMG_0001_02.BMP")));
  EXPECT_GT(MeasureSheetImageInk(Path("cut\\IMG_0001_01.BMP").c_str(), kInkFullWidth), 120);
  // Q1's image: five boxes of 5 mm and their gaps, a sheet dot the printed
  // quarter millimetre, as wide as the scan made the sheet.
  const double ratio = CurrentCompensation().widthRatio;
  const double dot = 300 / 25.4 / 4;
  EXPECT_EQ(BmpWidth(ImagePath("0001_Q1.BMP")), std::lround(std::lround((5 + 2) * 5 * 4 * dot) * ratio));
  // Boxes 5 mm high; a write-in field's image takes 4 pixel rows more above
  // and below them.
  const long boxRows = std::lround(std::lround(5 * 4 * dot) * CurrentCompensation().heightRatio);
  EXPECT_EQ(BmpHeight(ImagePath("0001_Q1.BMP")), boxRows);
  EXPECT_EQ(BmpHeight(ImagePath("0001_NAME.BMP")), boxRows + 8);
  EXPECT_TRUE(Exists(ImagePath("0001.BMP"))) << "the page is kept under its key";
}

// A read number that its column cannot hold stops the sheet as a value
// above its maximum would, never stored wrapped round (70000 as 4464).
TEST_P(ReadingRunTest, ANumberItsColumnCannotHoldStopsTheSheet) {
  SheetFieldRow number = CountedCheckFieldRow("0007", "N", 240, 620, 5, 5);
  number.overlay = "70000";
  definition_.fields.push_back(number);
  Prepare({"N:int"});
  FeedPage(1, Page("0001", {{"N", {0}}, {"Q4", {0}}}, 1));
  FeedPage(2, Page("0001", {{"N", {0, 1, 2, 3, 4}}, {"Q4", {0}}}, 2));
  ASSERT_EQ(RunSheetReading(), 0);
  EXPECT_EQ(Boxes(), Texts{"「N」に“32767”を越える値が記入されています。読み取った値＝“70000”\n"
                           "読み取り処理を中断しました。"});
  const auto rows = OutputRows();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].at("N"), "7");
  EXPECT_NE(Log("_ERR.LOG").find("“N”に“32767”を越える値“70000”が記入されています。"),
            std::string::npos);
}

// A resume point that cannot be written ends the run after the sheet it
// belongs to: no later sheet is stored past a wrong ENDCODE.
TEST_P(ReadingRunTest, AResumePointThatCannotBeWrittenEndsTheRun) {
  Prepare();
  ASSERT_TRUE(CreateDirectoryA(Path("log\\ENDCODE.TXT").c_str(), nullptr));  // in the way
  Feed({{{0}, {0}, {}, {0}}, {{1}, {0}, {}, {1}}});
  ASSERT_EQ(RunSheetReading(), 0);
  EXPECT_EQ(Boxes(), Texts{"読み取りを再開する位置を“" + g_readingPlaces.endCodePath +
                           "”に書き込めませんでしたので、読み取り処理を中断しました。\n"
                           "「ID」“0001”までの読み取り結果は書き込んであります。"});
  EXPECT_EQ(OutputRows().size(), 1u);
  EXPECT_TRUE(InFeeder("PAGE00002.BMP"));
}

// A page that cannot be kept under its key ends the run with its record
// stored and the page left where it is, before the next sheet's page takes
// the work file's place; nothing is left in the kept page's name.
TEST_P(ReadingRunTest, APageThatCannotBeKeptStopsTheRunAndStaysWhereItIs) {
  definition_.papers[0].keepImage = 1;
  Prepare();
  ASSERT_TRUE(CreateDirectoryA(ImagePath("0001.BMP").c_str(), nullptr));  // in the way
  Feed({{{0}, {0}, {}, {0}}, {{1}, {0}, {}, {1}}});
  ASSERT_EQ(RunSheetReading(), 0);
  const Texts boxes = Boxes();
  ASSERT_EQ(boxes.size(), 2u) << testing::PrintToString(boxes);
  EXPECT_EQ(boxes[0], ImagePath("0001.BMP") + " を作成できません。");
  EXPECT_EQ(boxes[1], "「ID」“0001”の読み取り結果は書き込みましたが、読み取ったイメージを保存"
                      "できませんでしたので、読み取り処理を中断しました。\n読み取ったイメージ“" +
                          ImagePath("SCAN_300.BMP") + "”は残してあります。");
  EXPECT_EQ(OutputRows().size(), 1u);
  EXPECT_TRUE(Exists(ImagePath("SCAN_300.BMP")));
  EXPECT_TRUE(InFeeder("PAGE00002.BMP"));
}

// The areas of the back are numbered on from the front's; a blank area of
// either side is left out of the record.
TEST_P(ReadingRunTest, TheBacksAreasAreNumberedOnFromTheFronts) {
  CutOutAreas(&definition_);
  AddBackSide();
  definition_.lines.push_back({"0002", "001", 'C', 99, 230, 290, 400, 330});  // around B1
  definition_.lines.push_back({"0002", "002", 'C', 99, 600, 900, 700, 950});  // blank paper
  Prepare({"B1", "B2", "IMG01:char*:255", "IMG02:char*:255", "IMG03:char*:255",
           "IMG04:char*:255"});
  CreateDirectoryA(Path("cut").c_str(), nullptr);
  g_readingPlaces.cutImageFolder = Path("cut");
  FeedTwoSided({{{0, 2}, {0}, {}, {0}}}, {{{1}, {}, {}, {}}});
  ASSERT_EQ(RunSheetReading(), 0);
  EXPECT_EQ(Boxes(), Texts{});
  const auto rows = OutputRows();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].at("IMG01"), Path("cut\\IMG_0001_01.BMP"));
  EXPECT_EQ(rows[0].at("IMG02"), "");
  EXPECT_EQ(rows[0].at("IMG03"), Path("cut\\IMG_0001_03.BMP"));
  EXPECT_EQ(rows[0].at("IMG04"), "");
  EXPECT_TRUE(Exists(Path("cut\\IMG_0001_03.BMP")));
  EXPECT_FALSE(Exists(Path("cut\\IMG_0001_02.BMP")));
  EXPECT_FALSE(Exists(Path("cut\\IMG_0001_04.BMP")));
}

TEST_P(ReadingRunTest, ATestScanStoresNothingAndNamesItsImagesApart) {
  CutOutAreas(&definition_);
  Prepare({"IMG01:char*:255", "IMG02:char*:255"});
  const int slot = OpenOutputTable("OUT1");
  ASSERT_GT(slot, 0);
  db_clear(slot);
  SetColumnText(slot, "ID", "0001");
  SetColumnText(slot, "IMG02", "kept");
  ASSERT_EQ(db_add(slot), 0);
  db_close(slot);
  g_readingRun.testScan = 1;
  Feed({{{0}, {0}, {}, {0}}});
  ASSERT_EQ(RunSheetReading(), 0);
  EXPECT_EQ(Boxes(), Texts{});
  const auto rows = OutputRows();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].at("IMG02"), "kept") << "the stored row is not touched";
  EXPECT_TRUE(Exists(Path("IMG_TEST_01.BMP")));
  EXPECT_FALSE(Exists(Path("IMG_0001_01.BMP")));
  EXPECT_EQ(Log("_PUT.LOG"), "");
  EXPECT_FALSE(Exists(Path("log\\READEND.TXT")));
}

TEST_P(ReadingRunTest, MasterColumnsAreCopiedAndAMissStopsWhenTheFieldSaysSo) {
  definition_.fields[1].decimals = 1;  // one mark: Q1 is a code
  Prepare();
  UseMaster("Q1", {{"1", "ONE"}});
  Feed({{{0}, {0}, {}, {0}}, {{4}, {0}, {}, {0}}});
  ASSERT_EQ(RunSheetReading(), 0);
  EXPECT_EQ(Boxes(), Texts{"「Q1」“5”は、マスターファイル「MST」に登録されていませんので、処理を"
                           "中断します。\n処理を中断しないようにする場合は、シート設計画面で、"
                           "「Q1」の欄の「参照マスター定義」の「マスターデータを検索できない場合は"
                           "処理を中断する」のチェックを外してください。"});
  const auto rows = OutputRows();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].at("NAME"), "ONE");
  EXPECT_NE(Log("_ERR.LOG").find("“Q1”の“5”は、マスターファイル“MST”に登録されていません。\r\n"),
            std::string::npos);
}

// A stored page read once in design is read whatever its masters lack: the
// miss is logged, the record written.
TEST_P(ReadingRunTest, AMasterMissDoesNotStopADesignReadOfTheStoredPage) {
  Prepare();
  UseMaster("Q1", {{"1", "ONE"}});
  g_currentSheet.projectMode = kDesignMode;
  g_readingRun.subMode = kStoredPageRun;
  WritePage("SCAN_300.BMP", definition_, Page("0001", {{"Q1", {4}}, {"Q4", {0}}}, 0));
  ASSERT_EQ(RunSheetReading(), 0);
  const Texts boxes = Boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].rfind("イメージの基準位置とのズレはありません。", 0), 0u) << boxes[0];
  const auto rows = OutputRows();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].at("Q1"), "5");
  EXPECT_EQ(rows[0].at("NAME"), "");
  const std::string err = Log("_ERR.LOG");
  EXPECT_NE(err.find("“Q1”の“5”は、マスターファイル“MST”に登録されていません。\r\n"), std::string::npos);
  EXPECT_EQ(err.find(kCancelled), std::string::npos);
}

// Values holding a quote (a key item set in the definition, a text a
// master gave) find the rows that hold them: the last stored number of the
// key item's records, and the master row of the text.
TEST_P(ReadingRunTest, ValuesHoldingAQuoteFindTheirRecordsAndTheirMasterRows) {
  SheetKeyRow branch;
  branch.code = "01";
  branch.name = "BRANCH";
  branch.initial = "O'NEIL";
  definition_.keys.front().code = "02";
  definition_.keys.insert(definition_.keys.begin(), branch);
  Prepare({"BRANCH"});
  const int slot = OpenOutputTable("OUT1");
  ASSERT_GT(slot, 0);
  for (const char* stored : {"OTHER:0007", "O'NEIL:0001"}) {
    const std::string row = stored;
    db_clear(slot);
    SetColumnText(slot, "BRANCH", row.substr(0, row.find(':')).c_str());
    SetColumnText(slot, "ID", row.substr(row.find(':') + 1).c_str());
    ASSERT_EQ(db_add(slot), 0);
  }
  db_close(slot);
  UseMaster("Q1", {{"1", "O'NEIL"}});
  UseMaster("NAME", {{"O'NEIL", "IRISH"}}, "MST2", "Q3");
  Feed({{{0}, {0}, {}, {0}}, {{0}, {}, {}, {1}}});
  ASSERT_EQ(RunSheetReading(), 0);
  EXPECT_EQ(Boxes(), Texts{});
  const auto rows = OutputRows();
  ASSERT_EQ(rows.size(), 4u);
  const char* expected[4][4] = {{"O'NEIL", "0001", "", ""},
                                {"O'NEIL", "0002", "O'NEIL", "IRISH"},
                                {"O'NEIL", "0003", "O'NEIL", "IRISH"},
                                {"OTHER", "0007", "", ""}};
  const char* columns[4] = {"BRANCH", "ID", "NAME", "Q3"};
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c) EXPECT_EQ(rows[r].at(columns[c]), expected[r][c]) << r << columns[c];
  }
  EXPECT_EQ(ReadBytes(Path("log\\ENDCODE.TXT")), "0003\r\n");
}

TEST_P(ReadingRunTest, AStoredPageIsReadOnceInDesignAndTheResultTold) {
  Prepare();
  g_currentSheet.projectMode = kDesignMode;
  g_readingRun.subMode = kStoredPageRun;
  SheetRequest request;
  request.fills = {{"Q1", {1}}, {"Q4", {0}}};
  WritePage("SCAN_300.BMP", definition_, request);
  ASSERT_EQ(RunSheetReading(), 0);
  EXPECT_EQ(Boxes(), Texts{"イメージの基準位置とのズレはありません。\n\nＸ１＝118 Ｙ１＝165 ／ "
                           "Ｘ２＝2361 Ｙ２＝165 ／ Ｘ３＝118 Ｙ３＝3388\n傾き＝0.00度\n"
                           "横幅＝2496  高さ＝3508 ／ 横幅率＝1.00  高さ率＝1.00\n\n"
                           "記入した部分がくっきり写っていない場合は、画面右上のボタンで、"
                           "スキャナーの「明るさ」を濃く設定してください。"});
  EXPECT_EQ(g_readingRun.message, "読み取った内容は、データベース“" + g_currentSheet.outputDatabase +
                                      "”のテーブル“OUT1”に出力しました。");
  const auto rows = OutputRows();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].at("Q1"), "2");
  EXPECT_TRUE(Exists(ImagePath("SCAN_300.BMP"))) << "design keeps the page";
  EXPECT_FALSE(Exists(Path("log\\READEND.TXT")));
}

// What a design read of the stored page tells of how the page lay, by the
// sheet's compensation and its registered marks.
TEST_P(ReadingRunTest, ADesignReadTellsHowThePageLay) {
  const std::string head =
      "文字認識処理を行いました。\n読み取られた内容が正しく認識されているかを入力修正画面で確認"
      "してください。\n誤認識が多い場合は、青い矢印のボタンでイメージの位置合わせ（イメージ上の"
      "文字が記入欄の枠に収まるように）を行ってください。\n";
  const std::string brightness = "\n\n記入した部分がくっきり写っていない場合は、画面右上のボタン"
                                 "で、スキャナーの「明るさ」を濃く設定してください。";
  struct Case {
    const char* what;
    int mode;
    bool registered;
    double shiftXmm, shiftYmm;
    std::string box;
    double skew = 0;
  };
  const Case cases[] = {
      {"shifted", 3, true, 1, 0.5,
       "イメージの基準位置とのズレが、Ｘ方向＝12、Ｙ方向＝6 生じていますので、イメージの位置を"
       "自動補正して文字認識を行いました。\n\nＸ１＝130 Ｙ１＝171 ／ Ｘ２＝2373 Ｙ２＝171 ／ "
       "Ｘ３＝130 Ｙ３＝3394\n傾き＝0.00度\n横幅＝2496  高さ＝3508 ／ 横幅率＝1.00  高さ率＝1.00" +
           brightness},
      {"two marks, nothing registered", 2, false, 0, 0,
       head + "正しく認識されていたら〔基準位置登録〕を押して、イメージの正しい位置を登録して"
              "ください。\n\nＸ１＝71 Ｙ１＝71 ／ Ｘ２＝2409 Ｙ２＝71\n傾き＝0.00度\n"
              "横幅＝2496  高さ＝3508 ／ 横幅率＝1.00"},
      {"one mark, nothing registered", 1, false, 0, 0,
       head + "正しく認識されていたら〔基準位置登録〕を押して、イメージの正しい位置を登録して"
              "ください。\n読み取ったイメージが傾く場合は、メインメニューの 「ＯＣＲシート定義」"
              " で、【補正】 を“２点補正”にチェックしてください。\n\nＸ１＝71 Ｙ１＝71 ／ 2496 × "
              "3508"},
      {"turned straight on a larger canvas", 3, true, 0, 0,
       "イメージの基準位置とのズレが、Ｘ方向＝31、Ｙ方向＝22 生じていますので、イメージの位置を"
       "自動補正して文字認識を行いました。\n\nＸ１＝149 Ｙ１＝187 ／ Ｘ２＝2391 Ｙ２＝187 ／ "
       "Ｘ３＝149 Ｙ３＝3410\n傾き＝0.00度 ／ 補正前の傾き＝-1.00度\n横幅＝2560  高さ＝3552 ／ "
       "横幅率＝1.00  高さ率＝1.00" + brightness,
       1},
      {"compensation off", 0, false, 0, 0,
       head + "「補正機能」が“無効”に設定されていますので、傾きやズレの補正は行いません。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TearDown();
    SetUp();
    definition_.papers[0].compensationMode = c.mode;
    if (!c.registered) definition_.marks.clear();
    Prepare();
    g_currentSheet.projectMode = kDesignMode;
    g_readingRun.subMode = kStoredPageRun;
    SheetRequest request = Page("0001", {{"Q4", {0}}}, 0);
    request.scan.shiftXmm = c.shiftXmm;
    request.scan.shiftYmm = c.shiftYmm;
    request.scan.skewDegrees = c.skew;
    WritePage("SCAN_300.BMP", definition_, request);
    ASSERT_EQ(RunSheetReading(), 0);
    EXPECT_EQ(Boxes(), Texts{c.box});
  }
}

TEST_P(ReadingRunTest, AMissingStoredPageIsToldAndLogsNoSheet) {
  Prepare();
  g_readingRun.subMode = kStoredPageRun;
  ASSERT_EQ(RunSheetReading(), 0);
  EXPECT_EQ(Boxes(), Texts{"イメージファイルが作成されていません。\nイメージスキャナによる読み取り"
                           "処理を行ってください。"});
  EXPECT_TRUE(OutputRows().empty());
  EXPECT_EQ(Log("_PUT.LOG"), kRuleEquals);
  EXPECT_EQ(Log("_ERR.LOG"), kRuleEquals);
}

TEST_P(ReadingRunTest, AScanInDesignOnlyAlignsItsPages) {
  Prepare();
  g_currentSheet.projectMode = kDesignMode;
  Feed({{{0}, {0}, {}, {0}}, {{1}, {0}, {}, {0}}});
  ASSERT_EQ(RunSheetReading(), 0);
  EXPECT_EQ(Boxes(), Texts{});
  EXPECT_TRUE(OutputRows().empty());
  EXPECT_FALSE(Exists(Path("log\\SHEET_PUT.LOG"))) << "no logs are opened";
  EXPECT_TRUE(Exists(ImagePath("CONV_300.BMP"))) << "the last page, aligned";
  EXPECT_FALSE(InFeeder("PAGE00002.BMP"));
}

TEST_P(ReadingRunTest, BothSidesOfASheetGoIntoOneRowWhicheverWayTheyAreFed) {
  AddBackSide();
  Prepare({"B1", "B2"});
  FeedTwoSided({{{0, 2}, {0}, {1}, {3}}, {{4}, {}, {0}, {0, 1}}, {{1}, {0}, {}, {2}}},
               {{{2}, {0, 2}, {}, {}}, {{}, {1}, {}, {}}, {{0}, {}, {}, {}}}, 1);
  ASSERT_EQ(RunSheetReading(), 0);
  EXPECT_EQ(Boxes(), Texts{});
  const auto rows = OutputRows();
  ASSERT_EQ(rows.size(), 3u);
  const char* expected[3][5] = {{"0001", "13", "4", "y", "13"},
                                {"0002", "5", "12", "", "2"},
                                {"0003", "2", "3", "w", ""}};
  const char* columns[5] = {"ID", "Q1", "Q4", "B1", "B2"};
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 5; ++c) EXPECT_EQ(rows[r].at(columns[c]), expected[r][c]) << r << columns[c];
  }
  const std::string put = Log("_PUT.LOG");
  for (const char* line : {"〔000001〕表面 \r\n", "〔000001〕裏面 \r\n", "〔000003〕裏面 \r\n"}) {
    EXPECT_NE(put.find(line), std::string::npos) << line << put;
  }
  EXPECT_EQ(put.find("〔000004〕"), std::string::npos) << "the number is raised once a sheet";
  EXPECT_EQ(ReadBytes(Path("log\\ENDCODE.TXT")), "0003\r\n");
  EXPECT_FALSE(InFeeder("PAGE00006.BMP"));
}

// A back fed first and upside down shows its back mark only once it is
// turned round: the pages are still swapped, and both sides read right. A
// back whose marks do not agree with its printing (its top-left mark lost,
// so that the mark below it would stand in) stops the run unread.
TEST_P(ReadingRunTest, AnUpsideDownBackIsReadAsTheBackOrNotAtAll) {
  AddBackSide();
  Prepare({"B1", "B2"});
  SheetRequest back = Page("0002", {{"B1", {2}}, {"B2", {0, 2}}}, 0);
  back.scan.upsideDown = true;
  back.scan.skewDegrees = 0.6;
  FeedPage(1, back);
  FeedPage(2, Page("0001", {{"Q1", {0, 2}}, {"Q4", {3}}}, 0));
  ASSERT_EQ(RunSheetReading(), 0);
  EXPECT_EQ(Boxes(), Texts{});
  auto rows = OutputRows();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].at("Q1"), "13");
  EXPECT_EQ(rows[0].at("Q4"), "4");
  EXPECT_EQ(rows[0].at("B1"), "y");
  EXPECT_EQ(rows[0].at("B2"), "13");

  TearDown();
  SetUp();
  AddBackSide();
  Prepare({"B1", "B2"});
  FeedPage(1, Page("0001", {{"Q1", {1}}, {"Q4", {0}}}, 0));
  GeneratedSheet lost = GenerateSheet(definition_, Page("0002", {{"B1", {1}}}, 0));
  const PrintedMark mark = PrintedMarks(definition_, "0002", 300)[0];
  for (int y = mark.top; y < mark.top + mark.size; ++y) {
    for (int x = mark.left; x < mark.left + mark.size; ++x) lost.black[y * lost.width + x] = 0;
  }
  ASSERT_TRUE(WriteSheetBmp(FeedPath("PAGE00002.BMP"), lost));
  ASSERT_EQ(RunSheetReading(), 0);
  EXPECT_EQ(OutputRows().size(), 0u) << "the back was read off its marks";
}

// Sheets fed across are turned upright before they are read: a quarter
// anticlockwise, the back of a paired scan a quarter clockwise.
TEST_P(ReadingRunTest, SheetsFedAcrossAreTurnedUprightBeforeTheyAreRead) {
  for (bool twoSided : {false, true}) {
    SCOPED_TRACE(twoSided ? "two-sided" : "one side");
    TearDown();
    SetUp();
    if (twoSided) AddBackSide();
    Prepare({"B1", "B2"});
    SheetRequest front = Page("0001", {{"Q1", {1}}, {"Q4", {0}}}, 5);
    front.scan.quarterTurns = 1;
    FeedPage(1, front);
    if (twoSided) {
      SheetRequest back = Page("0002", {{"B1", {3}}, {"B2", {1, 2}}}, 6);
      back.scan.quarterTurns = -1;
      FeedPage(2, back);
    }
    ASSERT_EQ(RunSheetReading(), 0);
    EXPECT_EQ(Boxes(), Texts{});
    const auto rows = OutputRows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].at("Q1"), "2");
    EXPECT_EQ(rows[0].at("Q4"), "1");
    EXPECT_EQ(rows[0].at("B1"), twoSided ? "z" : "");
    EXPECT_EQ(rows[0].at("B2"), twoSided ? "23" : "");
  }
}

TEST_P(ReadingRunTest, ADesignReadOfTheBackGoesIntoTheRecordOfTheFrontReadBeforeIt) {
  // Two sides of a sheet, or two sheets that make one set.
  struct Case {
    int scanType;
    const char* refusal;
  };
  for (const Case& c : {Case{3, "裏面の認識処理は、表面の認識処理の直後に行ってください。"},
                        Case{4, "２枚目の認識処理は、１枚目の認識処理の直後に行ってください。"}}) {
    SCOPED_TRACE(c.scanType);
    TearDown();
    SetUp();
    AddBackSide();
    definition_.papers[0].scanType = definition_.papers[1].scanType = c.scanType;
    Prepare({"B1", "B2"});
    g_currentSheet.projectMode = kDesignMode;
    g_readingRun.subMode = kStoredPageRun;
    WritePage("SCAN1_300.BMP", definition_, Page("0001", {{"Q1", {1}}, {"Q4", {0}}}, 0));
    WritePage("SCAN2_300.BMP", definition_, Page("0002", {{"B1", {3}}, {"B2", {1, 2}}}, 0));

    BuildCanvas("0002");
    ASSERT_EQ(RunSheetReading(), 0);
    const Texts refused = Boxes();
    EXPECT_NE(std::find(refused.begin(), refused.end(), c.refusal), refused.end())
        << testing::PrintToString(refused);
    EXPECT_TRUE(OutputRows().empty());

    BuildCanvas("0001");
    ASSERT_EQ(RunSheetReading(), 0);
    BuildCanvas("0002");
    ASSERT_EQ(RunSheetReading(), 0);
    const auto rows = OutputRows();
    ASSERT_EQ(rows.size(), 1u) << testing::PrintToString(Boxes());
    EXPECT_EQ(rows[0].at("Q1"), "2");
    EXPECT_EQ(rows[0].at("B1"), "z");
    EXPECT_EQ(rows[0].at("B2"), "23");
  }
}

TEST_P(ReadingRunTest, ChoicesLaidOutInRowsAreReadWhereTheirMarkStands) {
  // Twelve choices in four rows of three (Ｘ, row by row) or three columns
  // of four (Ｙ, column by column), one mark allowed, one code each.
  struct Case {
    const char* type;
    int box;
    const char* value;
  };
  for (const Case& c : {Case{"Ｘ", 7, "h"}, Case{"Ｙ", 7, "h"}, Case{"Ｘ", 11, "l"},
                        Case{"Ｙ", 2, "c"}}) {
    SCOPED_TRACE(std::string(c.type) + std::to_string(c.box));
    TearDown();
    SetUp();
    SheetFieldRow rows = CountedCheckFieldRow("0007", "Q5", 600, 280, 12, 1);
    rows.type = c.type;
    rows.arrayCount = 4;
    rows.arrayGap = 2;
    rows.overlay = "abcdefghijkl";
    definition_.fields.push_back(rows);
    Prepare({"Q5"});
    const GeneratedSheet sheet = GenerateSheet(
        definition_, Page("0001", {{"Q4", {0}}, {"Q5", {c.box}}}, 3));
    ASSERT_EQ(sheet.error, "");
    ASSERT_TRUE(WriteSheetBmp(FeedPath("PAGE00001.BMP"), sheet));
    ASSERT_EQ(RunSheetReading(), 0);
    EXPECT_EQ(Boxes(), Texts{});
    const auto read = OutputRows();
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].at("Q5"), c.value);
  }
}

INSTANTIATE_ON_BOTH_DATABASES(ReadingRunTest);

}  // namespace
