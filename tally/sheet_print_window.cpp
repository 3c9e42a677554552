// The sheet print window "PrnSheet": a small topmost window that asks for
// the page margins and scale ratio (a set for printers and a set for PDF
// output, kept in MUPA_PAP "0001") and, for numbered sheets, the range of
// identification numbers and the write-in field that receives them. It
// stores what it shows when it closes by a button and, unless cancelled,
// starts the fitting print job.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "foundation/db_sql.h"
#include "foundation/gdi_draw.h"
#include "foundation/msgbox.h"
#include "reading/reading.h"
#include "screen/screen.h"
#include "shell/shell.h"
#include "tally/sheet_printing.h"

SheetPrintWindowState g_sheetPrintWindow;

namespace {

constexpr int kCommandCancel = 100;
constexpr int kCommandExecute = 112;
constexpr int kCommandPdf = 201;
constexpr int kCommandIdField = 202;
constexpr int kCommandRatio = 203;
constexpr int kWindowNumber = 98;
constexpr int kWindowWidth = 326;
constexpr int kRowPitch = 24;
constexpr int kNumberColumn = 12;
// The digits as the sheets print them, in the handwriting face: the user
// checks that the printed numbers look like these.
constexpr char kHandwritingSample[] = "０１２３４５６７８９";
constexpr char kHandwritingSampleItem[] = "KQMUPAb";
constexpr int kHandwritingFaceCode = 4;
constexpr int kHandwritingSampleInset = 3;  // pixels inside the item's frame

SheetPrintWindowState& W() { return g_sheetPrintWindow; }

bool Numbered() { return W().printType == kPrintTypeNumberedSheets; }

std::string Text(const char* name) {
  char value[1024] = "";
  GetItemValueForCommand(W().slot, name, value);
  std::string text = value;
  text.erase(0, text.find_first_not_of(' '));
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}
int Number(const char* name) { return std::atoi(Text(name).c_str()); }
void Show(const char* name, const std::string& text) {
  SetItemValueForCommand(W().slot, name, text.c_str());
  if (IsValidSlot(W().slot)) InvalidateRect(W().window, nullptr, FALSE);
}

void AddNumber(const char* name, const char* caption, int row, int width) {
  AddScreenItem(caption, name, kNumberColumn, row, 0, width, width, 0, 'N', 0, 0,
                name == std::string("WARIAI") ? kCommandRatio : 0, 'R', kItemEnabled, 0, 1, 0,
                999999999999.0, "", "");
}
void AddNote(const char* name, const char* text, int row) {
  const int width = static_cast<int>(std::strlen(text));
  AddScreenItem(text, name, 1, row, 0, std::max(width, 1), std::max(width, 1), 8, 'X', 0, 0, 0,
                'L', kItemProtected, 0, 7, 0, 0, text, "");
}

// The rows of the window for its print type: its height is 24 a row + 72.
int BuildItems(const std::string& idChoices) {
  if (AddScreenButton("ｷｬﾝｾﾙ", "DEF00", 2, 0, 0, kCommandCancel, kItemEnabled, "QUIT_S.BMP",
                      "印刷せずに画面を閉じます", "") < 0 ||
      AddScreenButton("実 行", "DEF01", 8, 0, 0, kCommandExecute, kItemEnabled, "PRINTOUT.BMP",
                      "ＯＣＲシートを印刷します", "") < 0) {
    return -1;
  }
  int row = 3;
  if (Numbered()) {
    AddNote("FMSG1", "印刷する識別番号の範囲を設定してください｡", row++);
    AddNumber("PRESNO", "開始番号", row++, 12);
    AddNumber("PREENO", "終了番号", row++, 12);
    AddNote("FLDTTL", "識別番号を印刷する欄", row++);
    AddScreenItem("", "プレプリント欄", 2, row++, 0, 24, 30, 0, 'X', 0, 0, kCommandIdField, 'L',
                  kItemEnabled, 0, 1, 0, 0, "識別番号を印刷する記入欄を選んでください",
                  idChoices.c_str());
    AddNote("FMSG2", "印刷後､シートに印刷された識別番号が､下記", row++);
    AddNote("FMSG3", "の書体になっているか確認してください｡", row++);
    // Drawn by the window itself (PaintHandwritingSample): the engine
    // draws captions in its own faces only.
    const int width = static_cast<int>(std::strlen(kHandwritingSample));
    AddScreenItem("", kHandwritingSampleItem, 1, row++, 0, width, width, 8, 'X', 0, 0, 0, 'L',
                  kItemProtected, 0, 7, 0, 0, "", "");
  }
  AddScreenCheck("ＰＤＦファイルに出力", "PDFPUT", 2, row++, 0, 24, kRowPitch, 8, kCommandPdf,
                 kItemEnabled, "PDFファイルに出力する場合はチェックしてください", "", "");
  AddNumber("LFTMGN", "左側余白", row++, 3);
  AddNumber("TOPMGN", "上部余白", row++, 3);
  AddNumber("WARIAI", "割合", row++, 3);
  AddScreenItem("", "WMSG", 1, row++, 0, 40, 60, 0, 'X', 0, 0, 0, 'L', kItemProtected, 2, 5, 0, 0,
                "", "");
  return row;
}

// The MUPA_PAP row "0001" of the sheet definition: the slot positioned on
// it, or -1 after the message.
int OpenPaperRow() {
  const SheetDefinitionRef& sheet = g_sheetDefinition;
  const int slot = db_open(sheet.folder.c_str(), sheet.database.c_str(), kPaperTable, sheet.kind,
                           kSheetSpecSet, kPaperTable, "select * from MUPA_PAP where ＯＣＲコード=%s",
                           SqlLiteral("0001").c_str());
  if (slot < 0) return -1;
  if (db_toppos(slot, "ＯＣＲコード") != 0) {
    db_close(slot);
    ShowInfoMessage("", "シート“0001”の用紙の設定がありません。");
    return -1;
  }
  return slot;
}

// The margins shown, into the set they belong to.
void TakeShownSet() {
  PrintMarginSet& set = W().pdfShown ? W().sets.pdf : W().sets.printer;
  set.left = Number("LFTMGN");
  set.top = Number("TOPMGN");
  set.ratio = Number("WARIAI");
}

// The name proposed for the numbers: the sheet's last key item.
std::string ProposedIdField() {
  if (g_sheetKeys.items.empty()) LoadSheetKeyItems();
  return g_sheetKeys.items.empty() ? std::string() : g_sheetKeys.items.back().name;
}

void FillFields() {
  const int slot = OpenPaperRow();
  std::string idField;
  if (slot >= 0) {
    PrintMarginSets& sets = W().sets;
    sets.printer = {GetColumnInt(slot, "左側余白１"), GetColumnInt(slot, "上部余白１"),
                    GetColumnInt(slot, "割合１")};
    sets.pdf = {GetColumnInt(slot, "左側余白２"), GetColumnInt(slot, "上部余白２"),
                GetColumnInt(slot, "割合２")};
    sets.pdfOutput = GetColumnInt(slot, "ＰＤＦ出力") == 1 ? 1 : 0;
    idField = ColumnText(slot, "プレプリント欄");
    db_close(slot);
  }
  Show("PDFPUT", W().sets.pdfOutput ? "1" : "0");
  LoadPrintMargins(W().sets.pdfOutput);
  if (!Numbered()) return;
  if (idField.empty()) idField = ProposedIdField();
  Show("プレプリント欄", idField);
  SetIdRangeWidth(idField.c_str());
  Show("PRESNO", W().startNumber);
  Show("PREENO", W().endNumber);
  std::string screen;
  if (FindMergePrintScreen(&screen) == 0 && !screen.empty()) {
    ShowInfoMessage("",
                    "〔マスター定義〕で「シートに差し込み印刷する」の欄がチェックされています。\n"
                    "差し込み印刷を有効にする場合は〔ＯＣＲシート定義〕の「シートに識別番号を印刷する」"
                    "を無効にしてください。");
  }
}

// Stores the identification field and the shown margin set.
void StoreSettings() {
  TakeShownSet();
  if (Numbered()) {
    W().startNumber = Text("PRESNO");
    W().endNumber = Text("PREENO");
  }
  SavePrintMargins(W().pdfShown ? 1 : 0);
}

void CloseWindow() {
  if (!IsValidSlot(W().slot)) return;
  const int slot = W().slot;
  W().slot = -1;
  for (const char* owner : {"Ocr", "KQE_READ"}) {
    if (HWND window = FindWindowA(owner, nullptr)) EnableWindow(window, TRUE);
  }
  CloseScreenWindow(slot, 1);
  ShowWindow(W().window, SW_HIDE);
  if (HWND workbench = FindWindowA("KQE_READ", nullptr)) SetActiveWindow(workbench);
  // Only "実 行" prints: a window closed any other way stores its settings
  // (if a button stored them) and prints nothing.
  if (W().lastCommand != kCommandExecute) return;
  if (Numbered()) {
    PrintSheetsWithIds(W().sideChoice);
    // The next opening offers the rest of a stopped run.
    if (!g_sheetPrintRequest.nextNumber.empty()) W().startNumber = g_sheetPrintRequest.nextNumber;
    return;
  }
  std::string screen;
  if (FindMergePrintScreen(&screen) != 0) return;  // the screen table cannot be read
  MergeDefinition merge;
  if (!screen.empty() && LoadMergeDefinition(screen, &merge) == 0 &&
      AskYesNo("", "ＯＣＲシートに、マスターファイル“%s”の差し込み印刷を行いますか？",
               merge.table.c_str()) == IDYES) {
    const int arrays = SheetHasMasterArrays(merge.table);
    if (arrays == 1) MergePrintArrays(W().sideChoice, merge);
    if (arrays == 0) MergePrintSheets(W().sideChoice, merge);
    return;
  }
  PrintSheetJob(W().sideChoice);
}

void HandleCommand(int command) {
  W().lastCommand = command;
  switch (command) {
    case kCommandPdf: {
      // The shown set keeps what was typed; the other set is shown.
      TakeShownSet();
      LoadPrintMargins(Text("PDFPUT") == "1" ? 1 : 0);
      return;
    }
    case kCommandIdField: SetIdRangeWidth(Text("プレプリント欄").c_str()); return;
    case kCommandRatio:
      if (GetKeyState(VK_SHIFT) < 0) return;
      StoreSettings();
      return;
    case kCommandCancel:
      StoreSettings();
      PostMessageA(W().window, kMsgCloseWindow, 0, 0);
      return;
    case kCommandExecute:
      StoreSettings();
      if (Numbered() && Text("PRESNO").empty()) {
        ShowInfoMessage("", "開始番号が入力されていません。");
        FocusField("PRESNO");
        return;
      }
      if (Numbered() && Text("PREENO").empty()) {
        ShowInfoMessage("", "終了番号が入力されていません。");
        FocusField("PREENO");
        return;
      }
      break;
    default: ApplyPendingFocus(); return;
  }
  SheetPrintRequest& r = g_sheetPrintRequest;
  const PrintMarginSet shown = ShownMarginSet(W().sets, W().pdfShown);
  r.leftMargin = shown.left * 4;
  r.topMargin = shown.top * 4;
  r.ratio = shown.ratio;
  if (Numbered()) {
    r.idField = Text("プレプリント欄");
    r.startNumber = W().startNumber;
    r.endNumber = W().endNumber;
  }
  PostMessageA(W().window, kMsgCloseWindow, 0, 0);
}

}  // namespace

int BuildIdFieldChoices(std::string* choices) {
  choices->clear();
  const SheetDefinitionRef& sheet = g_sheetDefinition;
  const int slot = db_open(sheet.folder.c_str(), sheet.database.c_str(), kSheetFieldTable,
                           sheet.kind, kSheetSpecSet, kSheetFieldTable,
                           "select * from MUPA_FLD where 領域コード>=%s and 領域コード<=%s and "
                           "編集<>%s",
                           SqlLiteral("0001").c_str(), SqlLiteral("0999").c_str(),
                           SqlLiteral("ﾁｪｯｸ").c_str());
  int found = 0;
  if (slot >= 0) {
    for (int rc = db_toppos(slot, "ＯＣＲコード,領域コード"); rc == 0; rc = db_nread(slot)) {
      if (GetColumnInt(slot, "配列開始") >= 0 && GetColumnInt(slot, "配列個数") > 0) continue;
      *choices += ColumnText(slot, "領域名");
      *choices += ",";
      ++found;
    }
    db_close(slot);
  }
  *choices += "(5)";
  return found > 0 ? 0 : -1;
}

void SetIdRangeWidth(const char* field) {
  const int item = FindCanvasField(field ? field : "");
  if (item < 0) return;
  const int width = std::clamp(SheetFieldSpecOf(item).boxCount, 1, 12);
  for (const char* name : {"PRESNO", "PREENO"}) {
    const int i = ResolveFieldRef(W().slot, name);
    if (i < 0) continue;
    Item(i).width = width;
    Item(i).length = width;
    LayoutScreenItem(W().slot, i, 1);
  }
  if (IsValidSlot(W().slot)) InvalidateRect(W().window, nullptr, TRUE);
}

void LoadPrintMargins(int pdf) {
  W().pdfShown = pdf == 1;
  const PrintMarginSet shown = ShownMarginSet(W().sets, W().pdfShown);
  Show("LFTMGN", std::to_string(shown.left));
  Show("TOPMGN", std::to_string(shown.top));
  Show("WARIAI", std::to_string(shown.ratio));
  Show("WMSG", MarginSetNote(W().pdfShown));
}

int SavePrintMargins(int pdf) {
  const int slot = OpenPaperRow();
  if (slot < 0) return -1;
  const PrintMarginSets& sets = W().sets;
  SetColumnInt(slot, "左側余白１", sets.printer.left);
  SetColumnInt(slot, "上部余白１", sets.printer.top);
  SetColumnInt(slot, "割合１", sets.printer.ratio);
  SetColumnInt(slot, "左側余白２", sets.pdf.left);
  SetColumnInt(slot, "上部余白２", sets.pdf.top);
  SetColumnInt(slot, "割合２", sets.pdf.ratio);
  SetColumnInt(slot, "ＰＤＦ出力", pdf == 1 ? 1 : 0);
  if (Numbered()) SetColumnText(slot, "プレプリント欄", Text("プレプリント欄").c_str());
  const int rc = db_update(slot);
  db_close(slot);
  W().sets.pdfOutput = pdf == 1 ? 1 : 0;
  return rc;
}

int OpenSerialPrintScreen(int printType, int sideChoice) {
  if (!W().window || IsValidSlot(W().slot)) return -1;
  if (printType == kPrintTypeNumberedSheets && CheckHandwritingFont() != 0) return -1;
  W().printType = printType;
  W().sideChoice = sideChoice;
  W().lastCommand = 0;
  std::string choices;
  if (printType == kPrintTypeNumberedSheets) BuildIdFieldChoices(&choices);
  const int rows = BuildItems(choices);
  if (rows < 0) {
    DiscardBuildingItems();
    return -1;
  }
  for (const char* owner : {"Ocr", "KQE_READ"}) {
    if (HWND window = FindWindowA(owner, nullptr)) EnableWindow(window, FALSE);
  }
  if (OpenScreenWindow(W().window, -2, -2, kWindowWidth, kRowPitch * rows + 72, kRowPitch,
                       kWindowNumber, 1, 0, 0, "ＯＣＲシートの印刷") != 0) {
    for (const char* owner : {"Ocr", "KQE_READ"}) {
      if (HWND window = FindWindowA(owner, nullptr)) EnableWindow(window, TRUE);
    }
    return -1;
  }
  return 0;
}

namespace {

// The sample digits in the handwriting face, in the sample item's place.
void PaintHandwritingSample(HWND window) {
  const int i = ResolveFieldRef(W().slot, kHandwritingSampleItem);
  if (i < 0) return;
  const ScreenItem& item = Item(i);
  const WindowSlot& s = Slot(W().slot);
  // Inside the item's sunken frame.
  const int inset = kHandwritingSampleInset;
  const RECT inside{item.pixelX - s.scrollX + inset, item.pixelY - s.scrollY + inset,
                    item.pixelX - s.scrollX + item.pixelWidth - inset,
                    item.pixelY - s.scrollY + item.pixelHeight - inset};
  HDC dc = GetDC(window);
  GdiOwner<HFONT> font(CreateFontByCode(kHandwritingFaceCode, inside.bottom - inside.top, FW_NORMAL));
  const HGDIOBJ previous = SelectObject(dc, font.get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  ExtTextOutA(dc, inside.left, inside.top, ETO_CLIPPED, &inside, kHandwritingSample,
              static_cast<UINT>(std::strlen(kHandwritingSample)), nullptr);
  SelectObject(dc, previous);
  ReleaseDC(window, dc);
}

}  // namespace

LRESULT CALLBACK PrintSheetWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ScreenChildWndProc(window, message, wParam, lParam);
  switch (message) {
    case WM_PAINT:
      if (PaintSlotWindow(window, W().slot)) {
        if (Numbered()) PaintHandwritingSample(window);
        return 0;
      }
      break;
    case kMsgSlotOpened:
      W().slot = static_cast<int>(wParam);
      FillFields();
      return 0;
    case kMsgScreenCommand: HandleCommand(static_cast<int>(wParam)); return 0;
    case kMsgFieldChosen:
      if (wParam == static_cast<WPARAM>(kCommandIdField)) HandleCommand(kCommandIdField);
      return 0;
    case WM_CLOSE:
    case kMsgCloseWindow: CloseWindow(); return 0;
    default: break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
