// OpenScreen: a screen of a screen database opened by its code in the
// window its type selects. The S_SCREEN row decides the type, the size and
// place of the window and the function keys; the data-entry windows open
// their data sets; the field rows become items; then the window is bound
// to a free slot. Every failure leaves no slot, item, data set or table
// slot of the screen behind.
#include <windows.h>

#include <cstring>
#include <string>
#include <utility>

#include "foundation/db.h"
#include "foundation/db_sql.h"
#include "foundation/msgbox.h"
#include "foundation/sjis_text.h"
#include "screen/screen.h"
#include "screen/screen_words.h"

namespace {

constexpr int kOcrCardScreen = 91;   // '[': the card opened for screen edit
constexpr int kCardPrintCommand = 211;
constexpr int kFixedScreens[] = {91, 92};

// The columns of an S_SCREEN row, read in the order the engine uses them.
struct ScreenRow {
  std::string name, code, type, table, database, inputWord, formatFile, inputMode;
  std::string cursorMove, frame, position, paper, title, keyFields;
  char keys[kFunctionKeyPositions + 1] = {};
  int charSize = 0, pitch = 0, width = 0, height = 0, x = 0, y = 0, index = 0, lines = 0;
  int number = 0, borate = 0, reader = 0, port = 0;
  char transparent = 0, sideScroll = 0;
};

ScreenRow ReadScreenRow(int t) {
  ScreenRow r;
  r.name = GetColumnText(t, "SCRNAME");
  r.code = GetColumnText(t, "SCRCODE");
  r.type = GetColumnText(t, "SCRTYPE");
  r.table = GetColumnText(t, "SCRTBL");
  r.database = GetColumnText(t, "SCRDBS");
  r.inputWord = GetColumnText(t, "SCREDT");
  r.formatFile = GetColumnText(t, "PFORM");
  r.inputMode = GetColumnText(t, "SCRINP");
  r.cursorMove = GetColumnText(t, "CURMOV");
  r.frame = GetColumnText(t, "SCRFRM");
  r.position = GetColumnText(t, "SCRPOS");
  r.paper = GetColumnText(t, "PAPSIZE");
  r.title = GetColumnText(t, "SCRTITLE");
  r.keyFields = GetColumnText(t, "SCRKEYFLD");
  for (int i = 0; i < kFunctionKeyPositions; ++i) r.keys[i] = GetColumnCharIdx(t, "SCRFKEY", i);
  r.keys[kFunctionKeyPositions] = '\0';
  r.charSize = GetColumnInt(t, "SCRCSIZ");
  r.pitch = GetColumnInt(t, "SCRLPCH");
  r.width = GetColumnInt(t, "SCRWID");
  r.height = GetColumnInt(t, "SCRHIG");
  r.x = GetColumnInt(t, "SCRX");
  r.y = GetColumnInt(t, "SCRY");
  r.index = GetColumnInt(t, "SCRIDX");
  r.lines = GetColumnInt(t, "LINCNT");
  r.number = GetColumnInt(t, "SCRNO");
  r.transparent = GetColumnChar(t, "SCRTRN");
  r.borate = GetColumnInt(t, "BORATE");
  r.reader = GetColumnInt(t, "READER");
  r.port = GetColumnInt(t, "COMPORT");
  r.sideScroll = GetColumnChar(t, "SCRLSCRL");
  return r;
}

bool IsFixedScreen(int number) {
  for (int n : kFixedScreens) {
    if (n == number) return true;
  }
  return false;
}

// Writes the function-key string back into the screen's row.
void StoreFunctionKeys(int t, const char* keys) {
  for (int i = 0; i < kFunctionKeyPositions; ++i) SetColumnCharIdx(t, "SCRFKEY", i, keys[i]);
  UpdateCurrentRow(t);
}

// Size, place and window kind of the window.
struct WindowLayout {
  int x = 0, y = 0, width = 0, height = 0;
  int standardItemMode = -1;
};

WindowLayout DecideLayout(const ScreenRow& r, int type, WindowSlot& slot) {
  const ScreenMetrics& m = g_screen.metrics;
  std::string position = r.position;
  if (type == kScreenTypeForm) {
    slot.windowKind = kWindowKindList;
    position = "最大";
  }
  WindowLayout layout;
  const PaperChoice paper = PaperFromWord(r.paper);
  if (paper.known && !paper.imageSized) {
    if (paper.windowKind >= 0) slot.windowKind = paper.windowKind;
    if (paper.widthCode != 0) {
      layout.width = paper.widthCode;
      layout.height = paper.heightCode;
      layout.standardItemMode = 0;
    } else {
      const double baseWidth = 2 * slot.fontUnit + m.vscrollWidth;
      const double baseHeight = slot.rowHeight + m.hscrollHeight + 52;
      layout.width = static_cast<int>(baseWidth + paper.widthAdded);
      layout.height = static_cast<int>(baseHeight + paper.heightAdded);
      layout.standardItemMode = -2;
    }
    if (paper.maximized) position = "最大";
  } else {
    if (paper.imageSized) slot.windowKind = kWindowKindImage;
    layout.width = slot.scrWidth > 0 ? slot.scrWidth * slot.fontUnit : 0;
    layout.height = slot.scrHeight > 0 ? slot.scrHeight * slot.rowPitch : 0;
  }
  if (type == kScreenTypeForm) layout.standardItemMode = 0;
  const PositionChoice place = PositionFromWord(position);
  layout.x = place.known ? place.x : r.x * slot.fontUnit;
  layout.y = place.known ? place.y : r.y * slot.rowPitch;
  return layout;
}

// The window a screen of `type` is shown in; null when there is none.
HWND WindowForType(int type, int slot, int openMode, HWND owner) {
  switch (type) {
    case kScreenTypeMenu:
      if (openMode == -6) return owner;
      if (slot == 0 && g_screen.mainWindow && !IsWindowVisible(g_screen.mainWindow)) {
        return g_screen.mainWindow;
      }
      return GetWorkWindow(WorkWindow::kMenu);
    case kScreenTypeList: return GetWorkWindow(WorkWindow::kList);
    case kScreenTypeCard: return GetWorkWindow(WorkWindow::kCard);
    case kScreenTypeSet: return GetWorkWindow(WorkWindow::kSet);
    default: return nullptr;
  }
}

// Makes the items built so far the range of a slot that has no window: a
// form, whose items are printed from the slot.
int BindFormSlot(int s, int windowCode) {
  WindowSlot& slot = Slot(s);
  slot.state = 1;
  slot.windowCode = windowCode;
  slot.window = nullptr;
  return TakeBuildingItems(s);
}

class ScreenOpener {
 public:
  ScreenOpener(const char* folder, const char* database, const char* code, int number, int openMode,
               const char* parameter, HWND owner)
      : folder_(folder), database_(database), code_(code), number_(number), openMode_(openMode),
        parameter_(parameter ? parameter : ""), owner_(owner),
        place_(std::exchange(g_screenDefs.nextDataSetPlace, ScreenDataSetPlace())) {}

  int Open() {
    g_screenDefs.standardItemMode = 0;
    sizeClass_ = GetScreenSizeClass();
    s_ = openMode_ == -6 ? FindActiveWindowSlot() : FindFreeWindowSlot();
    if (s_ < 0) {
      if (openMode_ == -6) {
        ShowInfoMessage("Control", "ウインドウハンドルエラーです。(%d)", 0);
      } else {
        ShowInfoMessage("Control", "同時に開ける画面は %d つまでです。", kWindowSlotCount);
      }
      return -1;
    }
    if (database_.empty()) {
      ShowInfoMessage("", "スクリーン定義ファイル名が設定されていません。(%s)", code_.c_str());
      return -1;
    }
    const HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    const int rc = OpenInSlot();
    if (rc != 0) Abandon();
    SetCursor(g_screen.arrowCursor ? g_screen.arrowCursor : previous);
    if (rc == 0 && type_ == kScreenTypeMenu && !secondScreen_.empty()) {
      OpenScreen("", secondDatabase_.c_str(), secondScreen_.c_str(), -1, -1, "");
    }
    return rc;
  }

 private:
  int OpenInSlot() {
    WindowSlot& slot = Slot(s_);
    slot.openMode = openMode_;
    ForgetLastScreen();
    if (openMode_ == -6) DeleteEditControl(s_);  // the slot's items are built again
    if (LoadScreenDef(s_, folder_.c_str(), database_.c_str(), code_.c_str()) != 0) return -1;
    const int t = g_screenDefs.screenDefSlot;
    ScreenRow r = ReadScreenRow(t);
    if (r.height == -1) heightFromScreen_ = true;

    slot.screenName = r.name;
    slot.keyFields = r.keyFields;
    std::string dataSpecFile;
    const size_t dotS = r.table.find(".S");
    if (dotS != std::string::npos) {
      dataSpecFile = r.table;
      r.table.clear();
    }
    slot.screenNumber = number_ == -1 ? r.number : number_;
    const ScreenTypeChoice choice = ScreenTypeFromWord(r.type, openMode_);
    type_ = choice.type;
    slot.screenType = type_;
    g_screenDefs.screenInput = r.inputMode;

    if (choice.ocrCard) {
      slot.ocrCardMode = number_ == kOcrCardScreen ? 2 : 1;
      r.keys[12] = '1';
      g_screenDefs.ocrCardLines = r.lines > 0 ? r.lines : 73;
    } else {
      slot.ocrCardMode = 0;
      if (IsFixedScreen(slot.screenNumber)) r.keys[12] = '1';
    }
    slot.buttonsUnframed = r.transparent == '1' ? 1 : 0;
    slot.borateFlag = (type_ == kScreenTypeList || type_ == kScreenTypeCard) && r.borate == 1 ? 1 : 0;

    slot.fontUnit = ScreenFontUnit(r.charSize, type_, sizeClass_);
    slot.rowHeight = 3 * slot.fontUnit - 1;
    slot.rowPitch = ScreenRowPitch(r.pitch, slot.fontUnit);
    if (heightFromScreen_) r.height = g_screen.metrics.clampHeight / slot.rowPitch;

    if (g_screen.mainWindow) SendMessageA(g_screen.mainWindow, kMsgScreenNumber, slot.screenNumber, 0);
    slot.owner = owner_ ? owner_ : GetActiveWindow();

    const size_t length = r.table.size();
    if (length >= 2 && (r.table.back() == 'V' || r.table.back() == 'v') &&
        GetDbcsByteKind(r.table.c_str(), static_cast<int>(length) - 1) == 0) {
      r.table.resize(length - 2);
      slot.vFlag = 1;
    } else {
      slot.vFlag = 0;
    }

    switch (type_) {
      case kScreenTypeMenu:
      case kScreenTypeForm:
        r.inputWord = "BUTT";
        break;
      case kScreenTypeList:
        g_list.columns.clear();
        g_list.bufferChanged = 0;
        break;
      case kScreenTypeCard:
        g_screenDefs.cardEntryState = CardEntryStateFromWord(r.inputMode);
        g_screenDefs.cardParameter = parameter_;
        break;
      case kScreenTypeSet:
        g_screenDefs.setParameter = parameter_;
        break;
      default:
        break;
    }
    SetUpFunctionKeyString(t, r, slot);

    slot.listMode = choice.listSubKind;
    slot.listCFlag = choice.listCFlag;
    if (choice.setEdit) slot.openMode = -15;
    const int inputStyle = InputStyleFromWord(r.inputWord);
    const int cursorMode = CursorMoveFromWord(r.cursorMove);
    slot.scrWidth = r.width;
    slot.scrHeight = r.height;
    slot.frameFlag = FrameFlagFromWord(r.frame, slot.frameFlag);
    SetWindowFormatFile(s_, r.formatFile.c_str());

    const WindowLayout layout = DecideLayout(r, type_, slot);
    const int keyNumber = r.index >= 1 && r.index <= 20 ? r.index : 0;

    if (OpenDataSet(r, keyNumber, dataSpecFile, choice.listSubKind) != 0) return -1;
    if (BuildItems() != 0) return -1;
    if (type_ == kScreenTypeCard) BuildQueryCondition(s_);
    slot.title = r.title;
    CloseScreenDefSlots(s_);

    int standardItemMode = layout.standardItemMode;
    if (openMode_ == -3 || GetOcrIniSettings().editorFlag == 1 || slot.ocrCardMode == 2) {
      standardItemMode = 0;
    }
    g_screenDefs.standardItemMode = standardItemMode;
    if (BindWindow(layout, inputStyle, cursorMode, standardItemMode, r.title) != 0) return -1;

    if (type_ == kScreenTypeMenu && !r.table.empty() && dataSpecFile.empty()) {
      secondScreen_ = r.table;
      secondDatabase_ = r.database;
    }
    return 0;
  }

  // What the screen opened before left of its fields; the defaults of key
  // fields stay, as their caller set them for this open.
  static void ForgetLastScreen() {
    ScreenDefinitionState& d = g_screenDefs;
    d.f9Commands.clear();
    d.candidateFields = 0;
    d.markedFieldName.clear();
    d.cardCodeChar.clear();
    d.cardSField.clear();
    d.cardAField.clear();
    d.setFirstField.clear();
    d.cardFieldCount = d.setFieldCount = d.cardButtons = 0;
    d.cardFlag = 0;
  }

  // The function-key string of the slot, written back into the row where
  // the screen's type gives it one.
  void SetUpFunctionKeyString(int t, ScreenRow& r, WindowSlot& slot) {
    if (type_ == kScreenTypeMenu) {
      slot.functionKeys.clear();
      StoreFunctionKeys(t, "                ");
      return;
    }
    if (type_ == kScreenTypeSheet) {
      if (g_sheetCanvas.pitch > 0) slot.rowPitch = g_sheetCanvas.pitch;
      slot.functionKeys = r.keys;
      return;
    }
    if (std::strlen(r.keys) < kFunctionKeyPositions && *DefaultFunctionKeys(type_)) {
      std::memcpy(r.keys, DefaultFunctionKeys(type_), kFunctionKeyPositions);
      if (IsFixedScreen(slot.screenNumber)) r.keys[12] = '1';
      StoreFunctionKeys(t, r.keys);
    }
    slot.functionKeys = r.keys;
  }

  // The data set of a list, card or set screen: 0, or -1 after the message.
  int OpenDataSet(const ScreenRow& r, int keyNumber, const std::string& dataSpecFile, int subKind) {
    WindowSlot& slot = Slot(s_);
    switch (type_) {
      case kScreenTypeList: {
        const std::string& database = place_.database.empty() ? r.database : place_.database;
        const std::string& spec = place_.specFile.empty() ? dataSpecFile : place_.specFile;
        if (OpenScreenDataSet(place_.folder.c_str(), database.c_str(), r.table.c_str(), -1, spec.c_str(),
                              place_.specBlock.c_str(), keyNumber, subKind) != 0) {
          return -1;
        }
        g_list.extraWhere = place_.extraWhere;
        dataSetOpened_ = true;
        slot.lineScrollFlag = r.sideScroll == '1' ? 1 : 0;
        if (LoadScreenFieldRows(s_) != 0) {
          ShowInfoMessage("", "スクリーン%sはオープンできません。", code_.c_str());
          return -1;
        }
        BuildQueryCondition(s_);
        const int rows = ListRowCount(r.lines, g_screenItems.totalCount,
                                      static_cast<int>(g_list.columns.size()));
        int width = 0, height = 0;
        return LayoutScreenFields(GetWorkWindow(WorkWindow::kList), s_, g_list.left, g_list.top, rows,
                                  g_list.inputMode, &width, &height, r.reader, r.port);
      }
      case kScreenTypeCard:
      case kScreenTypeSet: {
        const DataSetOpener opener =
            GetDataSetOpener(type_ == kScreenTypeCard ? WorkWindow::kCard : WorkWindow::kSet);
        if (!opener) {
          ShowInfoMessage("Control", "ウインドウハンドルエラーです。(%d)", 0);
          return -1;
        }
        if (opener(place_.folder.c_str(), r.database.c_str(), r.table.c_str(), keyNumber) != 0) return -1;
        dataSetOpened_ = true;
        return 0;
      }
      default:
        return 0;
    }
  }

  int BuildItems() {
    WindowSlot& slot = Slot(s_);
    if (type_ == kScreenTypeList) return 0;  // the list's layout made them
    if (BuildScreenFields(s_, type_, -1) != 0) return -1;
    if (type_ == kScreenTypeSheet) return 0;
    const int keys = SetupFunctionKeys(s_, type_);
    if (keys < 0) return -1;
    if (type_ == kScreenTypeCard && g_screen.mainWindow) {
      SendMessageA(g_screen.mainWindow, kMsgFunctionKeys, slot.screenNumber, keys);
    }
    return 0;
  }

  // Binds the window its type selects: 0, or -1 after the message.
  int BindWindow(const WindowLayout& layout, int inputStyle, int cursorMode, int standardItemMode,
                 const std::string& title) {
    WindowSlot& slot = Slot(s_);
    if (type_ == kScreenTypeSheet) return BindSheetCanvas(slot.screenNumber);
    if (type_ == kScreenTypeForm && openMode_ != -6) return BindFormSlot(s_, slot.screenNumber);
    const HWND window = WindowForType(type_, s_, openMode_, slot.owner);
    if (openMode_ == -6) {
      return CreateStandardItems(type_ == kScreenTypeList ? GetWorkWindow(WorkWindow::kList) : slot.owner,
                                 s_, 0);
    }
    if (FindFreeWindowSlot() != s_) {
      ShowInfoMessage("Control", "同時に開ける画面は %d つまでです。", kWindowSlotCount);
      return -1;
    }
    const bool menu = type_ == kScreenTypeMenu;
    const bool card = type_ == kScreenTypeCard && (openMode_ == -4 || openMode_ == -14);
    int rc;
    if (menu && openMode_ == -9) {
      rc = OpenScreenWindow(window, 0, 0, 0, 0, -1, slot.screenNumber, inputStyle, cursorMode,
                            standardItemMode, "");
    } else {
      rc = OpenScreenWindow(window, layout.x, layout.y, layout.width, layout.height, card ? -1 : 0,
                            slot.screenNumber, inputStyle, cursorMode, standardItemMode,
                            title.c_str());
    }
    if (rc != 0) return -1;  // reported by OpenScreenWindow; the slot is free again
    if (card) {
      g_screenDefs.cardFlag = 1;
      SendMessageA(window, kMsgCardPrint, kCardPrintCommand, 0);
    }
    return 0;
  }

  // The project sheet in the sheet canvas, inside the workbench window.
  int BindSheetCanvas(int windowCode) {
    const SheetCanvasState& canvas = g_sheetCanvas;
    const int width = canvas.columns * canvas.pitch;
    const int height = canvas.rows * canvas.pitch;
    const WorkbenchSettings& w = g_workbench;
    int rc;
    if (w.panelLayout[0] == 2 || w.panelLayout[1] == 2) {
      rc = OpenSheetCanvasWindow(-1, width, height, windowCode, -1);
    } else if (w.hiddenBar == 2) {
      rc = OpenSheetCanvasWindow(-1, 0, 0, windowCode, -1);
    } else {
      rc = OpenSheetCanvasWindow(-1, width, height, windowCode, 0);
    }
    if (rc != 0) return -1;
    const HWND workbench = FindWindowA("KQE_READ", nullptr);
    if (workbench && Slot(s_).window) {
      SetParent(Slot(s_).window, workbench);
      PlaceCanvasInWorkbench(s_, workbench);
    }
    return 0;
  }

  // Gives back what the open took: the data set, the items being built,
  // the slot's values and the table slots.
  void Abandon() {
    if (dataSetOpened_) CloseScreenDataSet(s_);
    CloseScreenDefSlots(s_);
    if (openMode_ == -6) {
      DiscardBuildingItems();
      return;
    }
    if (Slot(s_).state == kFreeSlotState) {
      DiscardBuildingItems();
      ResetWindowSlot(s_);
    }
  }

  std::string folder_, database_, code_;
  int number_;
  int openMode_;
  std::string parameter_;
  HWND owner_;
  ScreenDataSetPlace place_;  // SetNextScreenDataSet; an empty folder: the database folder
  int s_ = -1;
  int type_ = 0;
  int sizeClass_ = 0;
  bool heightFromScreen_ = false;
  bool dataSetOpened_ = false;
  std::string secondScreen_, secondDatabase_;
};

}  // namespace

int LoadScreenDef(int s, const char* folder, const char* database, const char* code) {
  WindowSlot& slot = Slot(s);
  slot.screenDbFolder = folder;
  slot.screenDatabase = database;
  slot.screenCode = code;
  const char* spec = g_screenDefs.specFile.c_str();
  const int kind = g_screenDefs.screenDbKind;
  const int t = db_open(folder, database, kScreenTable, kind, spec, "SCRTBL", "");
  if (t < 0) {
    ShowInfoMessage("", "スクリーン定義ファイル“%s”をオープンできません。", kScreenTable);
    return -1;
  }
  g_screenDefs.screenDefSlot = t;
  const int found = slot.openMode == -2 ? db_find_key(5, t, code, 0) : db_search_key(t, code, 0);
  if (found != 0) {
    ShowInfoMessage("", "“%s”にスクリーン定義情報“%s”がありません。", database, code);
    return -1;
  }
  slot.screenCode = GetColumnText(t, "SCRCODE");
  if (slot.openMode == -10) {
    g_screenDefs.fieldDefSlot = OpenSheetFieldTable();
    return g_screenDefs.fieldDefSlot < 0 ? -1 : 0;
  }
  const int f = db_open(folder, database, kFieldTable, kind, spec, "FLDTBL",
                        "select * from %s where SCRCODE=%s", kFieldTable,
                        SqlLiteral(slot.screenCode.c_str()).c_str());
  if (f < 0) {
    ShowErrorMessage("", "フィールド定義ファイル“%s”をオープンできません。", kFieldTable);
    return -1;
  }
  g_screenDefs.fieldDefSlot = f;
  return 0;
}


int OpenScreenDef(const char* folder, const char* database, const char* code, int number,
                  int openMode, const char* parameter, HWND owner) {
  return ScreenOpener(folder ? folder : "", database ? database : "", code ? code : "", number,
                      openMode, parameter, owner)
      .Open();
}

int OpenScreen(const char* folder, const char* database, const char* code, int number,
               int openMode, const char* parameter) {
  return OpenScreenDef(folder, database, code, number, openMode, parameter, nullptr);
}
