// Printing cards: the print-settings screen of cards chooses the codes
// (every record, the range printed last, or the shown card) and the paper;
// then each record from the start code is shown on the card and its screen
// page printed, one page a record, with its record images beside or below
// their fields. The preview beside the settings shows the first record.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "entry/card_form.h"
#include "foundation/db.h"
#include "foundation/msgbox.h"
#include "screen/screen.h"
#include "tally/tally.h"

namespace {

// The card's print job draws screen pixels as report units of 0.2 mm.
constexpr char kScreenUnits[] = "L";

// The codes to print from `start` (or the first stored after it) up to
// `end` (empty: the last), at most `limit` of them.
std::vector<std::string> CodesToPrint(const std::string& start, const std::string& end, size_t limit) {
  std::vector<std::string> codes;
  const int t = g_cardForm.tableSlot;
  for (int rc = db_find_key_or_next(t, start.c_str(), g_cardForm.keyNumber); rc == 0 && codes.size() < limit;
       rc = db_nread(t)) {
    std::string code = GetColumnText(t, g_cardForm.keyColumn.c_str());
    if (!end.empty() && code > end) break;
    codes.push_back(std::move(code));
  }
  return codes;
}

// The card window's title up to its "(" (the keys' guide that follows is
// not the name of what is printed).
std::string PrintTitle() {
  char title[256] = "";
  GetWindowTextA(Slot(g_cardForm.slot).window, title, sizeof title);
  const std::string text = title;
  return text.substr(0, text.find('('));
}

// What the card showed before printing took its fields: shown again.
void ShowCardAgain(int entryState, const std::string& code) {
  if (entryState == kCardStoredRecord && ShowCardRecord(code) == 0) return;
  if (entryState == kCardNewRecord) StartNewCard();
}

}  // namespace

int OpenCardPrintSettings(int command) {
  if (g_cardForm.tableSlot <= 0 || !IsValidSlot(g_cardForm.slot)) return -1;
  const int t = g_cardForm.tableSlot;
  const char* key = g_cardForm.keyColumn.c_str();
  std::string start, end;
  if (db_tfind(t, g_cardForm.keyNumber) == 0) start = GetColumnText(t, key);
  if (db_efind(t, g_cardForm.keyNumber) == 0) end = GetColumnText(t, key);
  if (start.empty()) {
    ShowInfoMessage("", "データは登録されていません。");
    return -1;
  }
  if (command == kCardPrintShown) {
    if (g_cardForm.entryState != kCardStoredRecord) {
      ShowInfoMessage("", "印刷するデータが画面に表示されていません。");
      return -1;
    }
    start = end = g_cardForm.shownCode;
  } else if (command == kCardPrintRange) {
    // The range the operator set the last time, where there is one.
    FindPrintSettingsLine(g_cardForm.printCode.c_str());
    if (!g_printSettings.startCode.empty()) start = g_printSettings.startCode;
    if (!g_printSettings.endCode.empty()) end = g_printSettings.endCode;
  }
  return BuildPrintSettingsScreen(Slot(g_cardForm.slot).window, kPrintTypeCards, 0, PrintTitle().c_str(),
                                  g_cardForm.printCode.c_str(), start.c_str(), end.c_str(), 0);
}

int PrintCards(int mode) {
  if (g_cardForm.tableSlot <= 0 || !IsValidSlot(g_cardForm.slot)) return -1;
  const PrintSettings& settings = g_printSettings;
  const std::vector<std::string> codes =
      CodesToPrint(settings.startCode, settings.endCode, mode == kReportPreview ? 1 : SIZE_MAX);
  if (codes.empty() && mode == kReportPrinter) {
    ShowInfoMessage("", "“%s”は登録されていません。", settings.startCode.c_str());
    return -1;
  }
  const int entryState = g_cardForm.entryState;
  const std::string shownCode = g_cardForm.shownCode;
  ApplyPrintSettingsToReport(Slot(g_cardForm.slot).window);
  if (StartPrintJobDefault(mode, kScreenUnits) == 0) return -1;  // cancelled, or reported
  int rc = 0;
  for (const std::string& code : codes) {
    if (ShowCardRecord(code) != 0) continue;  // deleted since the codes were read
    DrawWindowItems(g_cardForm.slot, 0, 0);
    PrintCardImages(code);
    NextPrintPage();
    if (AbortPrintJob() != 0) {
      rc = -1;
      break;
    }
  }
  if (EndPrintJob() != 0) rc = -1;
  ShowCardAgain(entryState, shownCode);
  return rc;
}
