#include "tests/program/survey_walk.h"

#include <gmock/gmock.h>

#include <commdlg.h>

#include <algorithm>
#include <cstdio>

#include "designer/designer.h"
#include "designer/field_editor.h"
#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "foundation/files.h"
#include "screen/screen.h"
#include "shell/shell.h"
#include "tests/support/required_service.h"
#include "tests/support/table_rows.h"
#include "tests/support/test_pictures.h"
#include "tests/support/window_picture.h"

std::vector<std::string> SplitList(const std::string& list) {
  std::vector<std::string> texts;
  size_t start = 0;
  for (size_t comma; (comma = list.find(',', start)) != std::string::npos; start = comma + 1) {
    texts.push_back(list.substr(start, comma - start));
  }
  texts.push_back(list.substr(start));
  return texts;
}

void ExpectCsvRows(const std::vector<CsvRow>& got, const std::vector<CsvRow>& want) {
  EXPECT_EQ(got.size(), want.size());
  for (size_t i = 0; i < std::min(got.size(), want.size()); ++i) {
    EXPECT_EQ(got[i], want[i]) << "line " << i + 1;
  }
}

std::string Percent(int count, int base) {
  if (base <= 0 || count < 1) return "0.0";
  const int tenths = (2000 * count + base) / (2 * base);
  return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

Counts CountAnswers(const Answers& sheets, const TallyQuestion& q) {
  Counts counts;
  counts.hits.resize(q.boxes);
  for (const auto& sheet : sheets) {
    const std::string& answer = sheet.at(q.name);
    counts.empty += answer.empty();
    for (int box = 0; box < q.boxes; ++box) {
      counts.hits[box] += answer.find(static_cast<char>('1' + box)) != std::string::npos;
    }
  }
  return counts;
}

void AddCountLines(std::vector<CsvRow>& rows, const CsvRow& prefix, const Counts& c) {
  std::vector<int> cells = c.hits;
  cells.push_back(c.empty);
  int total = 0;
  for (int n : cells) total += n;
  cells.push_back(total);
  CsvRow counts = prefix, percents(prefix.size());
  for (int n : cells) {
    counts.push_back(std::to_string(n));
    percents.push_back(Percent(n, total));
  }
  rows.push_back(counts);
  rows.push_back(percents);
}

CsvRow TallyHeading(const CsvRow& prefix, const TallyQuestion& q) {
  CsvRow heading = prefix;
  for (const std::string& choice : SplitList(q.choices)) heading.push_back(choice);
  heading.push_back("無回答");
  heading.push_back("合　計");
  return heading;
}

std::vector<CsvRow> ExpectedSimpleTally(const Answers& sheets, const std::vector<TallyQuestion>& questions) {
  std::vector<CsvRow> rows;
  for (const TallyQuestion& q : questions) {
    rows.push_back({q.title});
    rows.push_back(TallyHeading({}, q));
    AddCountLines(rows, {}, CountAnswers(sheets, q));
    rows.insert(rows.end(), 2, CsvRow());
  }
  return rows;
}

void SurveyWalk::StartWalk(const std::string& pictures) {
  if (server() && !ReadRunServer(&server_)) {
    SKIP_WITHOUT_SERVICE("SHEETDESK_PG is not set: no PostgreSQL server for this run");
  }
  SetSheetDesigner(true);
  pictures_ = GetProgramFolder() + "\\" + pictures + (server() ? "_pg" : "");
  RemoveTree(pictures_);
  CreateDirectoryA(pictures_.c_str(), nullptr);
  ASSERT_EQ(Start(), StartOutcome::kMenuOpen) << testing::PrintToString(Boxes());
  if (server()) ChooseServer();
}

void SurveyWalk::TearDown() {
  DeleteFileA((GetProgramFolder() + "\\SCANFEED.INI").c_str());
  for (const std::string& table : tables_) DropServerTable(table.c_str());
  ProgramTest::TearDown();
}

void SurveyWalk::ChooseServer() {
  Command(kCmdServerChoice);
  const int slot = SlotOfCode("SERV-SEL");
  ASSERT_GE(slot, 0) << testing::PrintToString(Boxes());
  SetItemValueForCommand(slot, "ＤＢ種別", std::to_string(kDbKindServer).c_str());
  SetItemValueForCommand(slot, "サーバー名", server_.name.c_str());
  SelectWindowSlot(slot);
  SendKeyCommand(kKeyEscape);
  RunPostedMessages();
  ASSERT_LT(SlotOfCode("SERV-SEL"), 0) << testing::PrintToString(Boxes());
}

void SurveyWalk::LogIn() {
  const int login = SlotOfNumber(kLoginScreen);
  if (login < 0) return;
  const HWND window = FindWindowA("Pas", nullptr);
  if (server()) {
    ClickOn(window, CentreOf(login, "ログイン名"));
    SendMessageA(GetFocus(), EM_SETSEL, 0, -1);
    TypeInFocus(server_.user);
    ClickOn(window, CentreOf(login, "パスワード"));
    TypeInFocus(server_.password);
    PressKeyInFocus(VK_RETURN);
    return;
  }
  LogInIfAsked();
}

void SurveyWalk::DropServerTable(const char* table) {
  if (!server()) return;
  if (std::find(tables_.begin(), tables_.end(), table) == tables_.end()) tables_.push_back(table);
  const int t = db_alloc_slot("", server_.database.c_str(), table, kDbKindServer);
  if (t < 0) return;
  ExecSlotSql(t, (std::string("drop view if exists ") + table + "_集計用").c_str(), 1);
  ExecSlotSql(t, (std::string("drop table if exists ") + table).c_str(), 1);
  db_disconnect(t);
}

void SurveyWalk::Picture(HWND window, const char* step) {
  EXPECT_TRUE(SaveWindowPicture(window, pictures_ + "\\" + step + ".png")) << step;
}

void SurveyWalk::InstallFeeder() {
  ASSERT_TRUE(WriteBytes(GetProgramFolder() + "\\SCANFEED.INI",
                         "[Feeder]\r\nName=Test Feeder\r\nFolder=" + folder() +
                             "\\feed\r\nTray=" + folder() + "\\fed\r\n"));
  CreateDirectoryA((folder() + "\\feed").c_str(), nullptr);
}

HWND SurveyWalk::Canvas() {
  const HWND inside = FindWindowExA(FindWindowA("KQE_READ", nullptr), nullptr, "Ocr", nullptr);
  return inside ? inside : FindWindowA("Ocr", nullptr);
}

void SurveyWalk::ChooseNewDefinition(const char* name) {
  const std::string teigi = folder() + "\\teigi";
  CreateDirectoryA(teigi.c_str(), nullptr);
  const std::string chosen = teigi + "\\" + name + ".mdb";
  ModalDialogRecorder dialogs([&chosen](const ModalDialogCall& call) -> INT_PTR {
    auto* ofn = static_cast<OPENFILENAMEA*>(call.data);
    lstrcpynA(ofn->lpstrFile, chosen.c_str(), static_cast<int>(ofn->nMaxFile));
    return 1;
  });
  Command(kCmdChooseDefinition);
  ASSERT_EQ(DefinitionName(), name) << testing::PrintToString(Boxes());
  ForgetBoxes();
}

void SurveyWalk::TypeSheetSettings(Fields fields, const char* picture) {
  Command(kCmdSheetSettings);
  const int settings = SheetSettingsSlot();
  ASSERT_GE(settings, 0) << testing::PrintToString(Boxes());
  // On the server the output database is named; the file one has its default path.
  if (server()) fields.push_back({"データベース", server_.database});
  for (const auto& [name, value] : fields) SetItemValueForCommand(settings, name, value.c_str());
  if (picture) Picture(Slot(settings).window, picture);
  SelectWindowSlot(settings);
  PressKeyInFocus(VK_ESCAPE);
  ASSERT_LT(SheetSettingsSlot(), 0) << testing::PrintToString(Boxes());
}

void SurveyWalk::ChooseMenuLine(POINT at, int line) {
  const int slot = SlotOfWindow(Canvas());
  ASSERT_GE(slot, 0);
  const LPARAM point = MAKELPARAM(at.x - Slot(slot).scrollX, at.y - Slot(slot).scrollY);
  PostMessageA(Canvas(), WM_RBUTTONDOWN, MK_RBUTTON, point);
  PostMessageA(Canvas(), WM_RBUTTONUP, 0, point);
  RunPostedMessages();
  ChoosePopupLine(line);
}

void SurveyWalk::FillEditor(const Fields& fields, const char* picture,
                            const std::vector<std::pair<const char*, int>>& choices) {
  const int editor = SheetFieldEditorSlot();
  ASSERT_GE(editor, 0) << testing::PrintToString(Boxes());
  for (const auto& [name, row] : choices) ClickOn(Slot(editor).window, ChoiceCentre(editor, name, row));
  for (const auto& [name, value] : fields) SetItemValueForCommand(editor, name, value.c_str());
  if (picture) Picture(Slot(editor).window, picture);
  SelectWindowSlot(editor);
  PressKeyInFocus(VK_ESCAPE);
  ASSERT_LT(SheetFieldEditorSlot(), 0) << testing::PrintToString(Boxes());
}

Answers SurveyWalk::OutputRows(const char* table, const char* key, const std::vector<std::string>& columns) {
  Answers rows;
  const int t = db_open(g_output.folder.c_str(), g_output.database.c_str(), table, g_output.dbKind, table,
                        table, "");
  if (t < 0) return rows;
  for (int rc = db_toppos(t, key); rc == 0; rc = db_nread(t)) {
    std::map<std::string, std::string> row;
    for (const std::string& column : columns) row[column] = GetColumnText(t, column.c_str());
    rows.push_back(row);
  }
  db_close(t);
  return rows;
}

void SurveyWalk::Retype(HWND form, const char* name, const std::string& text, UINT key) {
  const int slot = SlotOfWindow(form);
  ASSERT_GE(slot, 0);
  ASSERT_GE(ResolveFieldRef(slot, name), 0) << name;
  ClickOn(form, CentreOf(slot, name));
  SendMessageA(GetFocus(), EM_SETSEL, 0, -1);
  TypeInFocus(text);
  PressKeyInFocus(key);
}

void SurveyWalk::MakeSurvey(const char* group, int questions) {
  ForgetBoxes();
  Command(kCmdSurveyItems);
  LogIn();
  const int slot = SlotOfCode("KOMK-INP2");
  ASSERT_GE(slot, 0) << testing::PrintToString(Boxes());
  boxes().Answer(IDYES);
  ClickOn(Slot(slot).window, CentreOf(slot, "TRANSFER"));
  ASSERT_EQ(Boxes().size(), 2u) << testing::PrintToString(Boxes());
  const std::string transferred = std::to_string(questions) + "件の質問項目を転送入力しました。";
  EXPECT_EQ(Boxes()[1].rfind(transferred, 0), 0u) << Boxes()[1];
  ForgetBoxes();
  int row = 1;
  char cell[40];
  for (; row <= 20; ++row) {
    std::snprintf(cell, sizeof cell, "項目名%02d", row);
    if (FieldText(slot, cell) == group) break;
  }
  ASSERT_LE(row, 20) << group;
  std::snprintf(cell, sizeof cell, "チェック01%02d", row);
  ClickOn(Slot(slot).window, CentreOf(slot, cell));
  PressKeyInFocus(VK_RETURN);
  Picture(Slot(slot).window, "18_survey_items");
  ClickOn(Slot(slot).window, CentreOf(slot, "FKEY00"));
  ASSERT_LT(SlotOfCode("KOMK-INP2"), 0) << testing::PrintToString(Boxes());
  EXPECT_THAT(Boxes(), testing::IsEmpty());
}

std::vector<CsvRow> SurveyWalk::ExportTally(int menu, const char* button, const char* file) {
  ClickItem(Slot(menu).window, button);
  const HWND settings = FindWindowA("Prn", nullptr);
  EXPECT_TRUE(IsWindowVisible(settings)) << button << testing::PrintToString(Boxes());
  if (!IsWindowVisible(settings)) return {};
  const int slot = SlotOfWindow(settings);
  // 無回答 (the fifth box) ticked once; the tallies keep it.
  if (FieldText(slot, "印字項目") == "110000") ClickOn(settings, ChoiceCentre(slot, "印字項目", 4));
  EXPECT_EQ(FieldText(slot, "印字項目"), "110010") << button;
  PressKeyInFocus(VK_F7);
  const HWND dialog = FindWindowA("CsvInp", nullptr);
  EXPECT_TRUE(IsWindowVisible(dialog)) << button << testing::PrintToString(Boxes());
  if (!IsWindowVisible(dialog)) return {};
  const std::string path = pictures_ + "\\" + file;
  Retype(dialog, "TXTFILE", path, VK_TAB);
  if (std::string(button) == "SIMPLE") Picture(dialog, "26_csv_dialog");
  ForgetBoxes();
  boxes().Answer(IDYES);
  ClickItem(dialog, "F01");
  RunPostedMessages();
  EXPECT_THAT(Boxes(), testing::ElementsAre("集計表の内容をＣＳＶファイル“" + path + "”に出力します。",
                                            "ＣＳＶファイル“" + path + "”に出力しました。"));
  EXPECT_FALSE(IsWindowVisible(dialog));
  ClickItem(settings, "P00");
  EXPECT_FALSE(IsWindowVisible(settings)) << button;
  ForgetBoxes();
  return ReadCsvRows(path);
}
