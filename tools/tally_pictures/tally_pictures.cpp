// Prints the tally of a sample survey once per kind of output, for a person
// to look at: a simple tally, a cross tabulation, bar, choice, pie and radar
// graphs and a radar chart of a grouping item's values; then opens the
// print-settings screen of the tally table and of pie graphs with their
// preview, the graph-colour window and the tally's menu screens the
// program ships, and saves what the display shows as PNGs in the folder of
// argument 3. The survey (a file database in the folder given as argument
// 1) holds 8 questions and 120 generated records. Each job is named
// "<argument 2>-<kind>" so that tally_pictures.sh finds its PDF. Message
// boxes go to stderr; the print dialog is answered with the default
// printer. Exit code 0 when every job printed and every picture was saved.
#include <windows.h>
// after windows.h
#include <commdlg.h>

#include <cstdio>
#include <string>
#include <vector>

#include "designer/survey.h"
#include "entry/entry.h"
#include "foundation/db.h"
#include "foundation/db_sql.h"
#include "foundation/files.h"
#include "foundation/test_hooks.h"
#include "screen/screen.h"
#include "tally/tally.h"
#include "tests/support/test_pictures.h"
#include "tools/screen_snapshot/slot_picture.h"

namespace {

constexpr char kDatabase[] = "TALLYSAMPLE";
constexpr char kTallyTable[] = "回答_集計用";

struct Question {
  const char* column;
  const char* text;
  const char* choices;
  const char* codes;
  int maxAnswers;
  int group;
};

const Question kQuestions[] = {
    {"SEX", "性別", "男性,女性", "12", 1, 0},
    {"AREA", "お住まいの地域", "北海道,東北,関東,中部,近畿,九州", "1,2,3,4,5,6", 1, 1},
    {"SAT", "店舗の満足度", "とても満足,満足,普通,不満,とても不満", "12345", 1, 0},
    {"USE", "ご利用の目的（複数回答）", "仕事,買い物,旅行,食事,その他", "12345", 5, 0},
    {"AGE", "年代", "10代,20代,30代,40代,50代,60代以上", "10,20,30,40,50,60", 1, 0},
    {"STAFF", "スタッフの対応", "良い,普通,悪い", "123", 1, 0},
    {"AGAIN", "また利用したいですか", "はい,いいえ,わからない", "123", 1, 0},
    {"MEMO", "ご意見", "", "", 0, 0},
};

int ShowOnStderr(const MessageBoxCall& call, void*) {
  std::fprintf(stderr, "message: %s\n", call.text.c_str());
  return IDOK;
}

INT_PTR AnswerPrintDialog(const ModalDialogCall& call, void*) {
  if (call.kind != "PrintDlg") return call.real(call.data);
  char device[512] = "";
  GetProfileStringA("windows", "device", "", device, sizeof device);
  std::string printer = device;
  printer = printer.substr(0, printer.find(','));
  auto* dialog = static_cast<PRINTDLGA*>(call.data);
  const auto* mode =
      dialog->hDevMode ? static_cast<const DEVMODEA*>(GlobalLock(dialog->hDevMode)) : nullptr;
  dialog->hDC = CreateDCA("WINSPOOL", printer.c_str(), nullptr, mode);
  if (mode) GlobalUnlock(dialog->hDevMode);
  return dialog->hDC != nullptr;
}

// A share of answers that look like a real survey: a few choices favoured.
std::string Answer(unsigned& seed, const Question& q) {
  seed = seed * 1103515245u + 12345u;
  const unsigned roll = (seed >> 8) % 100;
  if (roll < 4) return "";
  if (roll < 6 && q.maxAnswers == 1) return "*";
  const std::string codes = q.codes;
  const bool commaList = codes.find(',') != std::string::npos;
  std::vector<std::string> list;
  if (commaList) {
    for (size_t at = 0; at <= codes.size();) {
      const size_t comma = codes.find(',', at);
      list.push_back(codes.substr(at, comma == std::string::npos ? std::string::npos : comma - at));
      at = comma == std::string::npos ? codes.size() + 1 : comma + 1;
    }
  } else {
    for (char c : codes) list.push_back(std::string(1, c));
  }
  const size_t pick = (roll * roll / 100 + seed % 3) % list.size();
  std::string answer = list[pick];
  if (q.maxAnswers > 1 && roll % 3 == 0) answer += list[(pick + 2) % list.size()];
  return answer;
}

bool Exec(const std::string& sql) {
  const int slot = db_alloc_slot("", kDatabase, "T", -1);
  if (slot < 0) return false;
  const bool done = db_exec(slot, sql.c_str()) == 0;
  db_disconnect(slot);
  return done;
}

bool WriteSurvey() {
  for (const char* table : {"調査定義", "調査項目", kTallyTable, "MUPA_PRN", "MUPA_FLG"}) {
    const int slot = db_alloc_slot("", kDatabase, "T", -1);
    ExecSlotSql(slot, (std::string("drop table ") + table).c_str(), 1);
    db_disconnect(slot);
  }
  const int definition = OpenSurveyDefinition();
  if (definition < 0) return false;
  SetColumnText(definition, "調査名", "お客様アンケート集計");
  db_update(definition);
  db_close(definition);
  const int items = db_open("", kDatabase, "調査項目", -1, "調査項目", "", "");
  if (items < 0) return false;
  int number = 0;
  for (const Question& q : kQuestions) {
    db_clear(items);
    char code[8];
    std::snprintf(code, sizeof code, "%03d", ++number);
    SetColumnText(items, "質問コード", code);
    SetColumnText(items, "項目名", q.column);
    SetColumnText(items, "質問内容", q.text);
    SetColumnText(items, "選択肢", q.choices);
    SetColumnText(items, "カウントデータ", q.codes);
    SetColumnInt(items, "最大回答数", q.maxAnswers);
    SetColumnInt(items, "チェック01", q.group == 1);
    if (db_add(items) != 0) return false;
  }
  db_close(items);
  std::string create = std::string("create table ") + kTallyTable + " (番号 varchar(6)";
  for (const Question& q : kQuestions) create += std::string(",") + q.column + " varchar(20)";
  if (!Exec(create + ")")) return false;
  unsigned seed = 7;
  for (int i = 1; i <= 120; ++i) {
    char key[16];
    std::snprintf(key, sizeof key, "'%06d'", i);
    std::string insert = std::string("insert into ") + kTallyTable + " values (" + key;
    for (const Question& q : kQuestions) {
      insert += "," + SqlLiteral(*q.codes ? Answer(seed, q).c_str() : "とても良い");
    }
    if (!Exec(insert + ")")) return false;
  }
  return true;
}

struct Output {
  const char* name;
  int kind;
  int printType;
  int tallySetting;
};

const Output kOutputs[] = {
    {"tally", kTallySimple, kPrintTypeTally, 1}, {"cross", kTallyCrossFirst, kPrintTypeTally, 2},
    {"bar", 4, kPrintTypeBarGraph, 1},           {"choice", 7, kPrintTypeChoiceGraph, 2},
    {"pie", 8, kPrintTypePieGraph, 1},           {"radar", 10, kPrintTypeRadarGraph, 1},
    {"radarchart", 12, kPrintTypeRadarGraph, 3},
};

bool PrintOutput(const Output& output, const std::string& prefix) {
  g_printSettings = PrintSettings();
  g_printSettings.printType = output.printType;
  LoadPrintTableSettings(TallyPrintCode(output.printType, output.tallySetting).c_str());
  LoadPrintFlags();
  // Every column of the tables, and the empty and over-selected answers.
  g_printSettings.printItems = output.printType == kPrintTypeTally ? "111111" : "000011";
  g_reportOutput.documentName = prefix + "-" + output.name;
  return RunTally(kReportPrinter, output.kind) == 0;
}

// The owner of the print-settings screen: it draws the tally the screen
// asks for on the preview (1129) or the printer (1128).
LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kMsgPreviewOutput || message == kMsgPrintOutput) {
    RunTally(message == kMsgPrintOutput ? kReportPrinter : kReportPreview,
             static_cast<int>(wParam));
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateOwner() {
  WNDCLASSA wc{};
  wc.lpfnWndProc = OwnerProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "TallyPicturesOwner";
  RegisterClassA(&wc);
  return CreateWindowA(wc.lpszClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                       GetModuleHandleA(nullptr), nullptr);
}

void PumpMessages(int milliseconds) {
  const DWORD end = GetTickCount() + milliseconds;
  while (GetTickCount() < end) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    Sleep(20);
  }
}

// What the display shows of `window`, as a PNG.
bool CaptureWindow(HWND window, const std::string& path) {
  int width = 0, height = 0;
  const std::vector<std::uint8_t> rgb = CopyWindowPicture(window, &width, &height);
  return !rgb.empty() && WritePng(path, width, height, rgb);
}

// The print-settings screen of a print type with its preview, as a PNG.
bool CaptureSettingsScreen(HWND owner, int printType, const std::string& path) {
  g_printSettings = PrintSettings();
  if (OpenPrintOptionsScreen(owner, printType, 1, "印刷設定", TallyPrintCode(printType, 1).c_str(),
                             "", "", 0) != 0) {
    return false;
  }
  PumpMessages(1500);
  const bool saved = CaptureWindow(g_printSettingsWindow.window, path);
  SendMessageA(g_printSettingsWindow.window, kMsgCloseWindow, 0, 0);
  PumpMessages(200);
  return saved;
}

// The graph-colour window of pie graphs on a slot, as a PNG.
bool CaptureColorWindow(const std::string& path) {
  g_graphColorWindow.slot = 2;
  g_graphColorWindow.colorText = "05-03";
  OpenGraphColorScreen(kGraphPie);
  PumpMessages(800);
  const bool saved = CaptureWindow(g_graphColorWindow.window, path);
  SendMessageA(g_graphColorWindow.window, kMsgCloseWindow, 0, 0);
  PumpMessages(200);
  return saved;
}

// The tally's menu screens the program ships, loaded into a screen
// database of the work folder and opened in the menu window, as PNGs
// named after their codes.
bool CaptureShippedScreens(HWND owner, const std::string& folder) {
  if (LoadScreenTexts((GetProgramFolder() + "\\screens").c_str(), "", "KQQSCR") <= 0) return false;
  RegisterMenuWindow(owner);
  RegisterSupWindow(owner);
  for (const char* code : {"SPRN-MENU", "GCOL-SET", "GCOL-SET2"}) {
    if (OpenScreen("", "KQQSCR", code, -1, -1, "") != 0) return false;
    PumpMessages(500);
    const int slot = g_screen.currentSlot;
    if (!IsValidSlot(slot)) return false;
    RECT client{};
    GetClientRect(Slot(slot).window, &client);
    const std::string path = folder + "\\screen-" + code + ".png";
    if (!WritePng(path, client.right, client.bottom,
                  PaintSlotPicture(slot, client.right, client.bottom))) {
      return false;
    }
    CloseScreenWindow(slot, 0);
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: tally_pictures <folder> <job prefix> <picture folder>\n");
    return 2;
  }
  SetMessageBoxHook(ShowOnStderr, nullptr);
  SetModalDialogHook(AnswerPrintDialog, nullptr);
  db_init();
  SetSpecFolder(GetProgramFolder().c_str());
  SetDbFolder(argv[1]);
  SetDbServer(kDbKindFile, 7, "");
  g_survey.database = kDatabase;
  g_survey.dataDatabase = kDatabase;
  g_survey.outputTable = "回答";
  int result = 0;
  if (!WriteSurvey() || LoadSurveyItems() != 0 || ReloadTallyQuestions() != 1) {
    std::fprintf(stderr, "the sample survey could not be written\n");
    result = 1;
  }
  for (const Output& output : kOutputs) {
    if (result == 0 && !PrintOutput(output, argv[2])) result = 1;
  }
  const HWND owner = CreateOwner();
  InitScreenEngine(owner);
  RegisterPrintSettingsClass();
  CreateGraphColorWindow();
  const std::string pictures = argv[3];
  for (const auto& [type, name] : {std::pair<int, const char*>{kPrintTypeTally, "settings-tally"},
                                   {kPrintTypePieGraph, "settings-pie"}}) {
    if (result == 0 && !CaptureSettingsScreen(owner, type, pictures + "\\" + name + ".png")) {
      result = 1;
    }
  }
  if (result == 0 && !CaptureColorWindow(pictures + "\\graph-colours.png")) result = 1;
  if (result == 0 && !CaptureShippedScreens(owner, pictures)) result = 1;
  db_term();
  return result;
}
