// The card-form window "Cad": takes the card screen's slot and data set,
// shows one record at a time with its record images, writes what was typed
// before any key leaves the record, and runs the keys of the card (paging,
// new record, copy, delete, input lock) and its jobs (range delete, range
// input, number search and CSV output through the job dialog) and its
// printing. Closing gives the slot, the data set and the images back.
#include <windows.h>

#include <cstdio>
#include <string>

#include "designer/screen_menu.h"
#include "designer/sheet_settings.h"
#include "entry/card_form.h"
#include "entry/entry.h"
#include "entry/screen_windows.h"
#include "entry/list_form.h"
#include "foundation/db.h"
#include "foundation/db_sql.h"
#include "foundation/msgbox.h"
#include "screen/screen.h"
#include "tally/tally.h"

CardFormState g_cardForm;

namespace {

constexpr UINT kMsgRefresh = WM_USER + 114;       // 1138
constexpr UINT kMsgCardOpened = WM_USER + 117;    // 1141
constexpr UINT kMsgJobResult = WM_USER + 130;     // 1154

constexpr int kKeyPrevious = 112, kKeyNext = 113, kKeyFirst = 114, kKeyNew = 115;
constexpr int kKeyCopy = 116, kKeyDelete = 118, kKeyNumberSearch = 119, kKeyLockNow = 122, kKeyLock = 123;
constexpr int kKeyLastFunction = 127;
constexpr int kKeyCsvOutput = 125;  // the CSV output key of a sheet's card
// The card opened for screen edit: its design mode, and its window made a
// character wider or narrower, a row taller or shorter.
constexpr int kKeyScreenEdit = 124;
constexpr int kKeyWiden = 156, kKeyNarrow = 157, kKeyHeighten = 158, kKeyLower = 159;
// Screens 91 and 92 edit the card of a sheet: open without the input lock.
constexpr int kSheetCardScreen = 91, kSheetCardScreen2 = 92;
// The card-form entry screen generated for a sheet.
constexpr char kSheetCardCode[] = "201";

HWND Owner() { return IsValidSlot(g_cardForm.slot) ? Slot(g_cardForm.slot).owner : nullptr; }

int ScreenNumber() { return IsValidSlot(g_cardForm.slot) ? Slot(g_cardForm.slot).screenNumber : 0; }

void SendToOwner(UINT message, WPARAM wParam) {
  const HWND owner = Owner();
  if (owner) SendMessageA(owner, message, wParam, 0);
}

bool IsSheetCard(int screenNumber) { return screenNumber == kSheetCardScreen || screenNumber == kSheetCardScreen2; }

// The start mode of the screen: its input setting, or the records of its
// search condition.
int StartMode() {
  if (!g_list.conditions.empty() || !g_list.conditionText.empty()) return kCardStartFound;
  switch (g_screenDefs.cardEntryState) {
    case 0: return kCardStartFirst;
    case 2: return kCardStartNew;
    default: return kCardStartNewCode;
  }
}

// The code field: the field of the key column, else the card's first field.
int FindKeyItem(int slot) {
  const int key = ResolveFieldRef(slot, Slot(slot).dataSet.keyColumn.c_str());
  if (key >= 0) return key;
  return g_screenDefs.markedFieldName.empty() ? -1 : ResolveFieldRef(slot, g_screenDefs.markedFieldName.c_str());
}

bool TakeScreen(HWND window, int slot) {
  FreeCardImages();
  g_cardForm = CardFormState();
  g_cardForm.slot = slot;
  SelectWindowSlot(slot);
  SetCursor(LoadCursor(nullptr, IDC_WAIT));
  if (BuildListDataQuery(2, slot) != 0) return false;
  LoadLineDefinitions(slot);
  const WindowSlot& s = Slot(slot);
  if (s.owner && s.owner != window) EnableWindow(s.owner, FALSE);
  char printCode[16];
  std::snprintf(printCode, sizeof printCode, "C%05d", IsSheetCard(s.screenNumber) ? kSheetCardScreen : s.screenNumber);
  g_cardForm.printCode = printCode;
  g_cardForm.tableSlot = s.dataSet.tableSlot;
  g_cardForm.keyNumber = s.dataSet.keyNumber;
  g_cardForm.table = s.dataSet.table;
  g_cardForm.keyColumn = s.dataSet.keyColumn;
  g_cardForm.keyItem = FindKeyItem(slot);
  if (g_cardForm.keyItem >= 0 && Item(g_cardForm.keyItem).length > 0) {
    g_cardForm.codeWidth = Item(g_cardForm.keyItem).length;
  }
  // The card of a sheet corrects the records the run stored: it shows them
  // from the first and takes corrections unlocked.
  g_cardForm.sheetCard = s.ocrCardMode != 0;
  g_cardForm.startMode = g_cardForm.sheetCard && StartMode() != kCardStartFound ? kCardStartFirst : StartMode();
  // A sheet's card screen keeps the size of its record images itself.
  g_cardForm.imagePercent = g_cardForm.sheetCard ? g_screenDefs.ocrCardLines : g_cardImages.sizePercent;
  GetWindowRect(window, &g_cardForm.openedAt);
  SendToOwner(kMsgCardOpened, s.screenNumber);
  if (g_cardForm.startMode == kCardStartFirst || g_cardForm.startMode == kCardStartFound) {
    ShowFirstStoredCard();
  } else {
    StartNewCard();
  }
  g_cardForm.locked = !IsSheetCard(s.screenNumber) && !g_cardForm.sheetCard && s.openMode != -15;
  SetCursor(LoadCursor(nullptr, IDC_ARROW));
  SendToOwner(kMsgFillScreen, s.screenNumber);
  InvalidateRect(window, nullptr, TRUE);
  return true;
}

// A value typed into the current field counts as an edit of the record.
void TakePendingEdit() {
  if (!TakeTypedValue()) return;
  g_cardForm.pendingEdits += 1;
  TakeCardDate();
}

// A card window the operator moved or sized opens there again: its place
// and size go into the screen's row in whole character units and rows (a
// position word would place it by itself, so the row keeps none).
void KeepCardPlacement(int slot) {
  const WindowSlot& s = Slot(slot);
  RECT now;
  if (!s.window || IsIconic(s.window) || !GetWindowRect(s.window, &now) || EqualRect(&now, &g_cardForm.openedAt)) {
    return;
  }
  const int t = db_open(s.screenDbFolder.c_str(), s.screenDatabase.c_str(), kScreenTable, g_screenDefs.screenDbKind,
                        g_screenDefs.specFile.c_str(), "SCRTBL", "select * from %s where SCRCODE=%s", kScreenTable,
                        SqlLiteral(s.screenCode.c_str()).c_str());
  if (t < 0) return;
  const auto units = [](long pixels, int unit) { return static_cast<int>((pixels + unit / 2) / unit); };
  if (db_tfind(t, 0) == 0) {
    SetColumnText(t, "SCRPOS", "");
    SetColumnInt(t, "SCRX", units(now.left, s.fontUnit));
    SetColumnInt(t, "SCRY", units(now.top, s.rowPitch));
    SetColumnInt(t, "SCRWID", units(now.right - now.left, s.fontUnit));
    SetColumnInt(t, "SCRHIG", units(now.bottom - now.top, s.rowPitch));
    db_update(t);
  }
  db_close(t);
}

// Closes the card; what is typed is written first. A code already taken,
// or a write the database refused (told by its message), keeps the card
// open with the typed values, as Esc does.
void CloseCard() {
  const int slot = g_cardForm.slot;
  if (!IsValidSlot(slot)) return;
  const int current = g_screen.currentItem;
  TakePendingEdit();
  if (current == g_cardForm.keyItem && current >= 0 && CheckNewCardCode() != 0) {
    RefocusCurrentField();
    return;
  }
  if (WriteCardRecord() != 0) {
    RefocusCurrentField();
    return;
  }
  // Ctrl, Shift and Alt held: the operator may drop the card's table.
  if (GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_SHIFT) < 0 && GetKeyState(VK_MENU) < 0 &&
      g_cardForm.tableSlot > 0) {
    const ScreenDataSet& set = Slot(slot).dataSet;
    if (AskYesNo("", "テーブル“%s-%s”を削除してもよろしいですか？", set.database.c_str(), set.table.c_str()) == IDYES) {
      DropTable(g_cardForm.tableSlot, set.table.c_str());
    }
  }
  FreeCardImages();
  CloseScreenDataSet(slot);
  KeepCardPlacement(slot);
  const HWND owner = Owner();
  const int number = ScreenNumber();
  g_cardForm = CardFormState();
  if (owner) EnableWindow(owner, TRUE);
  CloseScreenWindow(slot, 1);
  if (owner) SendMessageA(owner, kMsgScreenClosed, number, 0);
}

// The job dialog of a range job or the number search, over the codes the
// table holds.
void OpenCardJob(int job) {
  if (g_cardForm.tableSlot <= 0) return;
  JobDialogTarget target;
  target.printCode = g_cardForm.printCode;
  target.table = g_cardForm.table;
  target.codeWidth = g_cardForm.codeWidth;
  if (g_cardForm.keyItem >= 0) target.keyTitle = Item(g_cardForm.keyItem).caption;
  if (target.keyTitle.empty()) target.keyTitle = "コード番号";
  const int t = g_cardForm.tableSlot;
  if (db_tfind(t, g_cardForm.keyNumber) == 0) target.firstKey = GetColumnText(t, g_cardForm.keyColumn.c_str());
  if (db_efind(t, g_cardForm.keyNumber) == 0) target.lastKey = GetColumnText(t, g_cardForm.keyColumn.c_str());
  g_cardForm.jobItem = g_screen.currentItem;
  OpenJobDialogFor(Slot(g_cardForm.slot).window, job, target);
}

void RunCardJob(int job) {
  const JobSettings& s = GetJobSettings(g_cardForm.printCode);
  switch (job) {
    case kJobRangeDelete: DeleteCardRange(s.start, s.end); break;
    case kJobRangeInput: InputCardRange(g_cardForm.jobItem, s.start, s.end, s.value); break;
    case kJobNumberSearch: SearchCardNumber(s.code); break;
    case kJobCsvOutput: {
      const std::string path = ResolveFolderPath(s.file);
      if (!path.empty()) ExportCardCsv(path, s.start, s.end, s.titles != 0, s.quotes != 0);
      break;
    }
    default: break;
  }
}

// The buttons of the card: the jobs of the job dialog and printing.
bool IsCardButton(int command) {
  return command == kJobCsvOutput || command == kJobRangeDelete || command == kJobRangeInput ||
         (command >= kCardPrintAll && command <= kCardPrintShown);
}

void RunCardButton(int command) {
  if (command >= kCardPrintAll && command <= kCardPrintShown) {
    OpenCardPrintSettings(command);
  } else if (IsCardButton(command)) {
    OpenCardJob(command);
  }
}

// Keys that leave the shown record, and the buttons whose jobs read the
// table: what was typed is written first.
bool InScreenEdit() { return IsValidSlot(g_cardForm.slot) && Slot(g_cardForm.slot).ocrCardMode == 2; }

// The window grows or shrinks by one unit; its size is kept as it closes.
void StretchCard(int command) {
  const WindowSlot& s = Slot(g_cardForm.slot);
  RECT now;
  if (!s.window || !GetWindowRect(s.window, &now)) return;
  const int across = command == kKeyWiden ? s.fontUnit : command == kKeyNarrow ? -s.fontUnit : 0;
  const int down = command == kKeyHeighten ? s.rowPitch : command == kKeyLower ? -s.rowPitch : 0;
  const int width = now.right - now.left + across, height = now.bottom - now.top + down;
  if (width <= s.fontUnit || height <= s.rowPitch) return;
  SetWindowPos(s.window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool LeavesRecord(int command) {
  return command == VK_PRIOR || command == VK_NEXT || command == kKeyEscape ||
         (command >= kKeyF1 && command <= kKeyLastFunction) || IsCardButton(command);
}

void RunCommand(int command) {
  switch (command) {
    case kKeyPrevious:
    case VK_PRIOR:
      ShowPreviousCard();
      break;
    case kKeyNext:
    case VK_NEXT:
      ShowNextCard();
      break;
    case kKeyFirst: ShowFirstCard(); break;
    case kKeyNew: StartNewCard(); break;
    case kKeyCopy:
    case kKeyDelete:
      if (g_cardForm.locked) {
        ShowInfoMessage("", "入力画面がロックされています。");
      } else if (command == kKeyCopy) {
        CopyCardRecord();
      } else {
        DeleteCardRecord();
      }
      break;
    case kKeyNumberSearch: OpenCardJob(kJobNumberSearch); break;
    case kKeyCsvOutput:
      if (IsSheetCard(ScreenNumber())) OpenCardJob(kJobCsvOutput);
      break;
    case kKeyLock: g_cardForm.locked = !g_cardForm.locked; break;
    case kKeyLockNow: g_cardForm.locked = true; break;
    case kKeyScreenEdit:
      if (InScreenEdit()) ToggleScreenLineEditMode();
      break;
    case kKeyWiden:
    case kKeyNarrow:
    case kKeyHeighten:
    case kKeyLower:
      if (InScreenEdit()) StretchCard(command);
      break;
    default:
      RunCardButton(command);
      break;
  }
}

void HandleCommand(int command) {
  if (!IsValidSlot(g_cardForm.slot)) return;
  const int current = g_screen.currentItem;
  TakePendingEdit();
  // A code typed for a new record must be free; the focus stays until it is.
  if (current == g_cardForm.keyItem && current >= 0 && CheckNewCardCode() != 0) {
    g_screen.focusMovePending = 0;
    RefocusCurrentField();
    return;
  }
  if (g_cardForm.tableSlot > 0) {
    // A record that cannot be written stays on the card with its values.
    if (LeavesRecord(command) && WriteCardRecord() != 0) return;
    RunCommand(command);
  }
  SendToOwner(kMsgFieldMessage, ScreenNumber());
  if (command == kKeyEscape) {
    CloseCard();
    return;
  }
  ApplyPendingFocus();
}

}  // namespace

LRESULT CALLBACK CardWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // Clicks, hover tips, scrolling and the focus act on the screen as in
  // every screen window.
  ScreenChildWndProc(window, message, wParam, lParam);
  switch (message) {
    case kMsgSlotOpened:
      if (!TakeScreen(window, static_cast<int>(wParam))) CloseCard();
      return 0;
    case WM_PAINT:
      if (PaintSlotWindow(window, g_cardForm.slot)) {
        PaintCardImages(window);
        return 0;
      }
      break;
    case kMsgScreenCommand:
      HandleCommand(static_cast<int>(wParam));
      return 0;
    case kMsgFieldChosen:
      TakePendingEdit();
      WriteCardRecord();
      SendToOwner(kMsgFieldMessage, ScreenNumber());
      return 0;
    case kMsgCardPrint:
      // The buttons' requests; what is typed is written first.
      TakePendingEdit();
      if (WriteCardRecord() == 0) RunCardButton(static_cast<int>(wParam));
      return 0;
    case kMsgPrintOutput:
    case kMsgPreviewOutput:
      // Asked by the print-settings screen of cards.
      PrintCards(message == kMsgPrintOutput ? kReportPrinter : kReportPreview);
      return 0;
    case kMsgJobResult:
      RunCardJob(static_cast<int>(wParam));
      return 0;
    case kMsgRefresh:
      EnableWindow(window, TRUE);
      if (!g_cardForm.shownCode.empty()) ShowCardRecord(g_cardForm.shownCode);
      return 0;
    case WM_RBUTTONDOWN:
      PassMenuToMainWindow(message, ScreenNumber());
      if (InScreenEdit()) {
        SelectWindowSlot(g_cardForm.slot);
        ShowScreenDesignMenu(1);
      }
      return 0;
    case kMsgHeaderMenu:
      // The design menu's choice: the main window hears of it too.
      PassMenuToMainWindow(message, ScreenNumber(), lParam);
      if (InScreenEdit()) RunScreenMenuChoice(static_cast<int>(lParam));
      return 0;
    case kMsgCloseWindow:
    case WM_CLOSE:
      CloseCard();
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void PointNextScreenAtOutputDatabase() {
  const CurrentSheet& sheet = g_currentSheet;
  if (sheet.outputKind == kDbKindServer) return;
  ScreenDataSetPlace place;
  place.folder = sheet.outputFolder;
  SetNextScreenDataSet(place);
}

int OpenSheetCardForm(HWND owner, const char* folder, const char* database, const char* imageFolder) {
  const int t = db_open_nocreate(folder, database, kScreenTable, g_screenDefs.screenDbKind, g_screenDefs.specFile.c_str(),
                                 "SCRTBL", "select * from %s where SCRCODE=%s", kScreenTable,
                                 SqlLiteral(kSheetCardCode).c_str());
  const bool generated = t > 0 && db_tfind(t, 0) == 0;
  if (t > 0) db_close(t);
  if (!generated) return 1;
  SetCardImageComparison(imageFolder, 0);
  PointNextScreenAtOutputDatabase();
  return OpenScreenDef(folder, database, kSheetCardCode, -1, -1, "", owner);
}
