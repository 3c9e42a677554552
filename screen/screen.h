// The screen engine: every data-driven screen of the program, the menu
// included. Five window slots bind windows to ranges of one global item
// table; painting walks a slot's items through one drawing context.
//
// Global state (defined in the .cpp named beside each block):
//   g_windowSlots   five slots, state -9 when free      (window_slots.cpp)
//   g_screenItems   at most 2100 items of all slots      (item_table.cpp)
//   g_screen        the engine's one copy of focus, mouse and metrics state
//                                                        (window_slots.cpp)
//   g_ruledLines    300 ruled lines of all slots, and the line editing
//                   state                                (ruled_lines.cpp)
//   g_designSelection, g_designWorkRect, g_sheetPaper, g_sheetCanvas
//                   the design view's values             (design_view.cpp)
//   g_screenDefs, g_sheetDefinition
//                   what opening a screen keeps          (screen_tables.cpp)
//   g_list          the list screen and its query        (list_dataset.cpp)
//   g_workbench, g_workbenchMetrics
//                   the workbench's button bar           (work_buttons.cpp)
// Everything runs on the GUI thread. Each function that returns 0/-1 (or a
// code) says what every result means and whether a failure was already
// reported: a reported failure was shown once, in a message box, by the
// function that found it, and callers do not report it again; a search that
// finds nothing is quiet.
#pragma once

#include <windows.h>
#include <imm.h>

#include <string>
#include <vector>

#include "foundation/gdi_draw.h"
#include "foundation/image_cache.h"
#include "screen/calendar_dates.h"
#include "screen/number_format.h"

// ---------------------------------------------------------------------------
// Capacities and fixed values
constexpr int kWindowSlotCount = 5;
constexpr int kFreeSlotState = -9;
constexpr int kMaxScreenItems = 2100;
constexpr int kMaxMultiLineCells = 1024;
constexpr int kMaxScreenFields = 400;
constexpr int kMaxListColumns = 230;
constexpr int kMaxQueryConditions = 8;
constexpr int kEditControlIdBase = 1000;  // + slot
constexpr int kSlotStaticIds[2] = {5000, 5001};
constexpr int kSlotTimerId = 1;
constexpr int kSlotTimerMilliseconds = 1000;
constexpr int kSheetMarginUnit = 4;     // pixels per sheet unit
constexpr int kNoItem = -1;

// Window kinds of a slot. 1 to 10 are also the paper codes of sheet-like
// screens (page painting draws their outline).
constexpr int kWindowKindOrdinary = 0;
constexpr int kWindowKindList = 11;     // no timer, no hover tip
constexpr int kWindowKindImage = 12;    // sized to its background image
constexpr int kWindowKindFull = 13;     // "EXEC": full screen, no hint box

// Screen types of a slot.
constexpr int kScreenTypeMenu = 1;
constexpr int kScreenTypeList = 2;
constexpr int kScreenTypeCard = 3;
constexpr int kScreenTypeSet = 5;
constexpr int kScreenTypeForm = 6;
constexpr int kScreenTypeSheet = 8;

// Item states (the state byte); SetFieldState takes these plus one.
constexpr int kItemEnabled = 0;
constexpr int kItemProtected = 1;
constexpr int kItemHidden = 2;

// Item classes (the frame index of a field row).
constexpr int kItemClassNone = 255;
constexpr int kItemClassNoFrame = 1;
constexpr int kItemClassThinFrame = 2;
constexpr int kItemClassThickFrame = 3;
constexpr int kItemClassIcon = 4;
// The print flag of the buttons of the key bar: a printed screen leaves
// them out.
constexpr int kItemNotPrinted = 255;
constexpr int kItemClassSunken = 5;
constexpr int kItemClassPlan = 6;
constexpr int kItemClassSheet = 7;
// Group values of the function-key buttons.
constexpr int kGroupEnabledKey = 1;
constexpr int kGroupProtectedKey = 2;
constexpr int kGroupEscapeKey = 9;

// Key codes the engine itself gives items and sends.
constexpr int kKeyEscape = 100;
constexpr int kKeyF1 = 112;
constexpr int kKeyCbbox = 131;
constexpr int kKeyRuler = 48;
constexpr int kKeyLineType1 = 132;  // LTYPE1 .. LTYPE5 are 132 .. 136
constexpr int kKeyCycleItem = 150;

// Private window messages between screens, work windows and the main window.
constexpr UINT kMsgScreenCommand = WM_USER + 101;   // 1125, wParam command
// A selection list picked a record for its owner (wParam screen number);
// the owner answers 1 when it took the record.
constexpr UINT kMsgRecordPicked = WM_USER + 102;    // 1126
constexpr UINT kMsgFieldChosen = WM_USER + 103;     // 1127, wParam key code
constexpr UINT kMsgPrintOutput = WM_USER + 104;     // 1128
constexpr UINT kMsgPreviewOutput = WM_USER + 105;   // 1129
constexpr UINT kMsgSlotOpened = WM_USER + 106;      // 1130, wParam slot
constexpr UINT kMsgCloseWindow = WM_USER + 107;     // 1131
constexpr UINT kMsgFieldMessage = WM_USER + 108;    // 1132
constexpr UINT kMsgScreenNumber = WM_USER + 109;    // 1133
constexpr UINT kMsgScreenBuilt = WM_USER + 110;     // 1134, wParam window code
// What a screen window tells its owner: fill its fields (wParam screen
// number), it has closed, and may it close (the owner may veto).
constexpr UINT kMsgFillScreen = WM_USER + 111;      // 1135
constexpr UINT kMsgScreenClosed = WM_USER + 112;    // 1136
constexpr UINT kMsgCloseQuery = WM_USER + 122;      // 1146
constexpr UINT kMsgLineEditLeft = WM_USER + 115;    // 1139
constexpr UINT kMsgScreenBuilding = WM_USER + 116;  // 1140, wParam window code
constexpr UINT kMsgLookupChosen = WM_USER + 118;    // 1142, wParam key code
constexpr UINT kMsgDateChosen = WM_USER + 124;      // 1148
constexpr UINT kMsgFunctionKeys = WM_USER + 129;    // 1153
constexpr UINT kMsgCardPrint = WM_USER + 132;       // 1156; also a pop-up's
                                                    // chosen code
constexpr UINT kMsgHeaderMenu = WM_USER + 138;      // 1162

// ---------------------------------------------------------------------------
// Screen items (item_table.cpp)

// One item of the ScreenItemTable. What a value is formatted by and the text
// it becomes lead the record, so that filling a page of list cells reads one
// cache line of each; the other columns AddScreenItem sets follow; the rest
// are reset there and filled by the loader, the field engine, the reading run
// or painting.
struct ScreenItem {
  std::string displayText;  // what painting and the field engine show
  int length = 0;           // characters or lines; boxes: the width
  int capacity = 0;         // text capacity in bytes
  char kind = 'X';          // 'B' button, 'M' mark, 'R' radio, 'C' check, ...
  char edit = 'L';          // edit letter
  int count = 0;            // choices of R/C, glyph of 'c', image sizing
  std::string caption;     // title; image file name of an image item
  std::string name;        // matched by field references
  int column = 0;          // character units (pixels for sheet items)
  int row = 0;             // rows (pixels for sheet items)
  int yOffset = 0;         // pixels added to the pixel y
  int width = 0;           // characters
  int charSize = 0;        // pixels; <= 0 takes the slot's font unit
  int protectByte = 0;     // non-zero: fixed to the window, not scrolled
  int keyCode = 0;         // command sent by a button (message 1125)
  int state = kItemEnabled;
  int colorA = 0;          // text colour code (the option column)
  int titleStyle = 1;      // caption placement and special classes
  double minimum = 0;
  double maximum = 0;
  std::string guide;       // guide line while focused
  std::string choices;     // choice list / initial value; 'o': its text

  std::string code;        // field code; sheet items: the area code
  int xOffset = 0;         // pixels added to the pixel x
  int itemClass = kItemClassNone;
  int engineByte = 255;
  ImageHandle image = 0;   // bound image of an 'I' item
  int keyCode2 = 0;        // second key column of B, M, R, C
  int colorB = -1;         // box colour code: -1 none, else special or colour
  int pixelX = 0, pixelY = 0, pixelWidth = 0, pixelHeight = 0;
  std::string defaultText;  // also the font spec and the box pattern ('^')
  std::string sheetText;
  std::string fieldName;
  std::string actionClass;  // up to 31 characters
  std::string actionTarget;

  // Values of the field row that built the item.
  std::string minText, maxText, execText, joinText;
  int printFlag = 0;       // kItemNotPrinted: left out of a printed screen
  int recordCode = 0;      // FLDRCD, or FLDIDX for kind 'o'
  int heightValue = 0;     // FLDHIG
  int groupValue = 0;      // 1: a button bound to a key code; key-bar buttons: kGroup*Key
  int groupSize = 0;       // members on member 1, -1 on the others
  int memberNumber = 0;    // number in its repeating group
  int memberIndex = 0;
  int linkValue = 0;       // -1 on repeated copies
  int fontCode = 0;        // face code of its value (0: the entry font)
  int keyField = 0;
  // Card fields: where Enter jumps, where the record's image stands (2
  // right, 0 below, -1 none) and the line break of its CSV output.
  std::string jumpTarget;
  int imagePlacement = 0;
  int tabFlag = 0;

  // OCR-sheet items (item class 7).
  int frameStyle = 0;       // 0 none (design frame), 1 dotted, 2 solid
  int boxWidth = 0, boxHeight = 0, boxGap = 0;  // sheet units
  int boxesPerRow = 0;
  int boxLayout = 0;        // 2 rows, 3 columns
  int rowGap = 0;
  int faceFlag = 0;         // 1: caption in face 1
  int markType = 0;         // 23 circles, 24 ...
  int threshold = 0;
  int fullWidth = 0;
  int overlapDigit = 0;
  int groupMode = 0;
  int strokeWeight = 0;
  int blankNotAllowed = 0;
  int shading = 0;
  int charType = 0;
  int masterError = 0;
  int boxShape = 0;
  int bSize = 0;
  int blankCellFlag = 0;
  int cellFrameStyle = 0;
  int marker = 0;           // -1: frame drawn green
  int numberingMode = 0;    // 1 to 3
  int numberSource = 0;
  int numberStyle = 0;
  int extraNumber = 0;
  int useHandwriting = 0;   // font code 3: the handwriting face
  std::string markChar;
  std::string readValues;   // densities of the last reading, 4 a value
  std::string validChars, refTable, keyItemName, fetchItemName;
  std::string writeItemName, overlayText, conversionText;
  ImageHandle picture = 0;  // picture drawn beside the box
};

struct ScreenItemTable {
  ScreenItem items[kMaxScreenItems];
  int totalCount = 0;      // items of all slots plus those being built
  int buildingCount = 0;   // items of the screen being built (at the end)
};
extern ScreenItemTable g_screenItems;

inline ScreenItem& Item(int i) { return g_screenItems.items[i]; }

// ---------------------------------------------------------------------------
// Window slots (window_slots.cpp)

// Data set of a slot (lists, cards, sets).
struct ScreenDataSet {
  std::string folder, database, table, specFile, specBlock, keyColumn;
  int dbKind = 0;
  int keyNumber = 0;
  int tableSlot = -1;
  int subKind = 0;
};

// Where the rows of a row bar lie: the list's left and right, its first
// row's top and the distance between rows, in content pixels.
struct RowBar {
  int left = 0, right = 0, firstTop = 0, pitch = 1;
};

struct WindowSlot {
  int state = kFreeSlotState;
  int windowCode = 0;
  HWND window = nullptr;
  HWND commandWindow = nullptr;  // receives 1130 and 1125; kept at close
  int windowKind = kWindowKindOrdinary;
  int screenType = 0;
  UINT_PTR timerId = 0;
  int inputMode = 0;             // 1 field input, 2 button selection, 3 = 1
                                 // and the window takes the focus at open
  int openState = 0;             // cursor-movement mode (Enter moves ...)
  int fontUnit = kBaseCharWidth;
  int rowHeight = 3 * kBaseCharWidth - 1;
  int rowPitch = 3 * kBaseCharWidth + 1;
  int topMargin = 8;
  int headerHeight = 0;
  int headerUnit = 0;
  int firstItem = 0, itemCount = 0, lastItem = -1;
  int firstLine = 0, lineCount = 0;
  int contentWidth = 0, contentHeight = 0;
  int windowWidth = 0, windowHeight = 0;
  int clientRight = 0, clientBottom = 0;
  int placingHeight = 0;         // placing height this window was sized by
  int scrollX = 0, scrollY = 0;
  int scrollPosH = 0, scrollPosV = 0;
  int scrollMaxH = 0, scrollMaxV = 0;
  std::string pendingImage;      // background image or next format file
  ImageHandle backgroundImage = 0;
  std::string formatFile;        // ruled-line format file of the slot
  std::string slotText;          // last look-up choice of a button
  int lineEditMode = 0;          // ruled lines being edited (design mode)
  int lineEditLock = 0;
  HWND statics[2] = {nullptr, nullptr};
  HWND editControl = nullptr;
  WNDPROC previousEditProc = nullptr;
  HFONT editFont = nullptr;
  int hasPasswordItem = 0;       // an item of edit letter 'P'
  int cbboxItem = -1, rulerItem = -1, lastLineButton = -1;
  int guideColourFlag = 1;       // 0: guide lines in cyan

  // Values of the screen definition.
  std::string screenDbFolder, screenDatabase, screenCode, screenName;
  std::string keyFields, functionKeys, title;
  int openMode = 0, screenNumber = 0, scrWidth = 0, scrHeight = 0;
  int listMode = 0;              // list sub-kind: 1, 2, 4 add a scroll bar
  int frameFlag = 1;             // SCRFRM: item frames drawn
  int buttonsUnframed = 0;       // SCRTRN: buttons drawn without frames
  int borateFlag = 0, lineScrollFlag = 0, listCFlag = 0, ocrCardMode = 0;
  int vFlag = 0, keyUnit = 0;
  HWND owner = nullptr;
  ScreenDataSet dataSet;

  // Field engine values.
  int lastFocusItem = -1;        // target of "/PREV"
  int rowSelectionMode = 0;      // 0, 1, 2, 4
  int rowBarCount = 0;
  int popupButtonItem = -1;
  int mouseX = 0, mouseY = 0;    // last recorded mouse position
  int reorderState = 0;          // list reordering (4: dragging rows)
  int reorderable = 0;
  std::string boxTexts[2];       // texts the two STATIC children show
  RowBar rowBar;                 // the rows of the row bar (rowBarCount)
};
extern WindowSlot g_windowSlots[kWindowSlotCount];

inline WindowSlot& Slot(int s) { return g_windowSlots[s]; }
inline bool IsValidSlot(int s) { return s >= 0 && s < kWindowSlotCount; }

// Display metrics measured once at start-up (InitScreenEngine); tests may
// replace them.
struct ScreenMetrics {
  int screenWidth = 1024;    // SM_CXFULLSCREEN
  int clampHeight = 740;     // SM_CYFULLSCREEN
  int placingHeight = 760;   // SM_CYFULLSCREEN + SM_CYCAPTION
  int captionHeight = 20;    // SM_CYCAPTION
  int vscrollWidth = 16;     // SM_CXVSCROLL
  int hscrollHeight = 16;    // SM_CXHSCROLL (sic: the width metric)
  int screenPixels = 1024;   // SM_CXSCREEN, for the size class
  int functionKeys = 12;     // GetKeyboardType(2): 12, or 15 on older keyboards
};

// The engine's one copy of what is not per slot.
struct ScreenEngineState {
  HWND mainWindow = nullptr;
  HCURSOR arrowCursor = nullptr;
  ScreenMetrics metrics;
  int currentSlot = 0;
  int openingSlot = -1;
  int screenSizeClass = 0;
  int itemExtentRight = 0, itemExtentBottom = 0;
  int refusalFlag = 0;          // set by the main window while it handles 1134
  // Focus and input.
  int currentItem = -1, previousItem = -1, pendingItem = -1;
  int mouseItem = -1;
  int clickItem = -1;
  int hoverItem = -1, hoverTicks = 0;
  int navigationKey = 0;
  int lastCommandKey = 0;
  int fieldEdited = 0;
  int caretColumn = 0, typedDigits = 0;
  int recordedRow = 0, recordedColumn = 0;
  int lastPopupChoice = 0;
  int popupOpen = 0;
  HWND popupWindow = nullptr;
  HIMC imeContext = nullptr;
  HWND imeWindow = nullptr;  // the window imeContext was taken from
  std::string focusText;
  std::string lastGuideLine;
  // Keys and clicks of the field engine.
  int shiftHeld = 0, ctrlHeld = 0;  // at the last message of an edit control
  int imeOpen = 0;                  // open status of the input method then
  int focusMovePending = 0;         // a key moved the pending item
  int clickInProgress = 0;          // a click handler is sending a command
  int enterPressed = 0;             // between Enter's key-down and key-up
  HWND keyDownWindow = nullptr;     // the edit control that took the last key-down
  int keyDownKey = 0;               // and its key, until its key-up
  int currentKeyCode = 0;           // key code of the current item
  int selectedRow = 0;              // row of the row bar
  int recordedX = 0, recordedY = 0;  // pixel position of the item keys left
  int clickX = 0, clickY = 0;       // last click in content coordinates
  int clickSlot = -1;
  int pressedItem = -1;             // button the last press hit
  // The point of the mouse message being handled (client coordinates of
  // `mouseMessageWindow`): where the button went down, even when the
  // pointer has moved on since.
  HWND mouseMessageWindow = nullptr;
  POINT mouseMessagePoint{};
};
extern ScreenEngineState g_screen;

// ---------------------------------------------------------------------------
// Start-up (window_slots.cpp)

// Measures the display, resets the five slots and the item table and
// remembers the main window and the arrow cursor. Returns 0 (it cannot fail).
int InitScreenEngine(HWND mainWindow);
// The owner of the slot that is opening refuses it (call while handling
// 1134): the slot stays bound and shown, without 1130 and focus.
void RefuseScreenOpen();

// ---------------------------------------------------------------------------
// Window slots (window_slots.cpp, window_placement.cpp,
// screen_child_proc.cpp)
// The first free slot (0 to 4), or -1 when all five are in use (quiet).
int FindFreeWindowSlot();
// Binds `window` to a free slot with the items being built (AddScreenItem),
// sizes and shows it, and tells the main window (1140, 1134) and the window
// (1130). Returns 0 when bound (also when the main window refused the open:
// the slot then stays bound without 1130 and focus); -1 after a message for
// no window, no free slot, too many items or a window already shown, with
// the slot and the items being built given back.
int OpenScreenWindow(HWND window, int x, int y, int width, int height,
                     int rowPitch, int windowCode, int inputMode,
                     int openState, int standardItemMode, const char* title);
// Binds the sheet canvas window (class "Ocr") to a free slot, or with
// `slot` >= 0 only re-sizes that slot. Returns 0, or -1 after a message (no
// such window, no free slot, too many items, the window shown already), the
// slot given back.
int OpenSheetCanvasWindow(int slot, int contentWidth, int contentHeight,
                          int windowCode, int noShow);
// Places the bound canvas of slot `slot` inside the workbench window: below
// its button bar, right of its ruler, as large as the workbench allows,
// with scroll bars over the rest of the sheet.
void PlaceCanvasInWorkbench(int slot, HWND workbench);
// Binds the image view window (class "WITHIMAGE") to a free slot. Returns 0,
// or -1 after a message as for OpenSheetCanvasWindow.
int OpenImageViewWindow(int contentWidth, int contentHeight, int windowCode);
void CloseScreenWindow(int slot, int refocus);
void ResetWindowSlot(int slot);
// The slot of the active window, or -1 when no slot holds it (quiet).
int FindActiveWindowSlot();
// Makes the slot of the active window current and refocuses its field.
// Returns the slot, or -1 when no slot holds the active window (quiet;
// nothing changes).
int SelectActiveWindowSlot();
// Makes `slot` current. Returns 0, or -1 when it has no window (quiet; it is
// current anyway).
int SelectWindowSlot(int slot);
void RefocusCurrentField();
// Focuses "/PREV" of the current slot in the input modes 1 and 2. Returns 0.
int RefocusPreviousField();
void RepaintCurrentWindow();
LRESULT ScreenChildWndProc(HWND window, UINT message, WPARAM wParam,
                           LPARAM lParam);
// 1 when (x, y) lies in the design editor's work rectangle, else 0.
int IsPointInWorkArea(int x, int y);

// Size and position of a window being opened, from the width, height and
// position codes (-2 centre, -3 right, -4 bottom, -5 full, -6 zero, -7 at
// the mouse, -8 full height + 30, -9 .. -12 beside the screen).
struct WindowPlacementRequest {
  int x = 0, y = 0, width = 0, height = 0;
  int fontUnit = kBaseCharWidth;
  int itemRight = 0, itemBottom = 0;  // extents of the slot's items
  int listMode = 0;
  int imageWidth = -1, imageHeight = -1;  // kind 12: the background image
  int mouseX = 0, mouseY = 0;
};
struct WindowPlacement {
  int x = 0, y = 0, width = 0, height = 0;  // given to MoveWindow
  int contentWidth = 0, contentHeight = 0;  // the size asked for
  int windowWidth = 0, windowHeight = 0;    // with room for scroll bars
  int placingHeight = 0;  // the placing height this window is sized by
};
WindowPlacement ComputeWindowPlacement(const WindowPlacementRequest& request,
                                       const ScreenMetrics& metrics);
// 1 up to 640 pixels, 2 for 800, 3 for 1024, 4 for 1280, 5 for 1600, else 6.
int ScreenSizeClassForWidth(int width);

// ---------------------------------------------------------------------------
// Ruled lines of screens and sheets, and the design view (ruled_lines.cpp,
// design_view.cpp). The screen engine loads and paints the lines; the sheet
// designer edits them and sets the design view's values, which painting
// reads.

constexpr int kMaxRuledLines = 300;
constexpr int kRuledLineCutFrame = 99;  // size code of the cutting frame

// One ruled line: end points in content pixels of its window.
struct RuledLine {
  char kind = 0;        // 'L' line, 'C' drawn but not picked, 0 free
  int sizeCode = 0;     // 1, 2, 5 dashed, 7, 8, 99 cutting frame
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};
extern RuledLine g_ruledLines[kMaxRuledLines];  // lines of all window slots

// The one ruled-line editing state.
struct RuledLineEditState {
  int selectedLine = -1;
  int shownLine = -1;
  int grabbedEdge = 0;
  int moved = 0;
  int dragMode = 0;
  int linesChanged = 0;
  int gridSnap = 1;
  int frameRequest = 0;  // the next line drawn on the sheet is a cutting frame
};
extern RuledLineEditState g_lineEdit;

// The format file name of the first free window slot (the window opened
// next); shares its buffer with the background image name.
void SetNextWindowFormatFile(const char* name);
// The format file name of a given slot.
void SetWindowFormatFile(int slot, const char* name);
// The background image of the window opened next; that window is sized to
// the image (window kind 12).
void SetNextWindowImage(const char* name);
// Gives back the ruled lines of a slot (kind 0) and empties its range.
void FreeSlotRuledLines(int slot);
// Loads a window's ruled lines (ruled_line_store.cpp) from its format file,
// or else from its screen's S_LINE rows (the project sheet's MUPA_LIN
// rows), into a run of free entries of the table. Returns 0 (also when the
// table has no room: the window then shows none), or -1 when the slot has
// neither a format file nor a screen database, or the format file can be
// neither read nor made (quiet). A missing format file is made empty, with
// a message; database failures were reported by the database layer.
int LoadLineDefinitions(int slot);

// Design-mode selection: the rectangle the design editor shows (state 1 or
// 4), framed by page painting.
struct DesignSelection {
  int state = 0;
  int left = 0, top = 0, right = 0, bottom = 0;
};
extern DesignSelection g_designSelection;

// Work rectangle of the design editor (inclusive edges).
struct DesignWorkRect {
  int left = 0, top = 0, right = -1, bottom = -1;
};
extern DesignWorkRect g_designWorkRect;

// Paper settings of the current sheet side, as far as painting reads them.
struct SheetPaperSettings {
  int printColourState = 0;  // 0 and 40: monochrome printing
  int int8 = 0;              // ＩＮＴ８: guide marks in handwriting cells
};
extern SheetPaperSettings g_sheetPaper;

// The sheet canvas window ("Ocr") and its grid.
struct SheetCanvasState {
  HWND window = nullptr;
  int scale = 4;           // pixels per millimetre (dots per grid unit)
  int columns = 0, rows = 0, pitch = 0;  // grid extent of the canvas
  int displayRatio = 100;  // pictures beside sheet items, in percent
};
extern SheetCanvasState g_sheetCanvas;

inline int SheetDotsPerGridUnit() { return g_sheetCanvas.scale; }

// ---------------------------------------------------------------------------
// Item table (item_table.cpp, item_layout.cpp; caption rectangles in
// page_paint.cpp)
// Adds an item to the screen being built. Returns its item number, or -1
// after a message when the table is full (the items being built are then
// given back).
int AddScreenItem(const char* caption, const char* name, int column, int row,
                  int yOffset, int width, int length, int charSize, char kind,
                  int count, int protectByte, int keyCode, char edit,
                  int state, int colorA, int titleStyle, double minimum,
                  double maximum, const char* guide, const char* choices);
// Takes back the items of the screen being built (after a refused open).
void DiscardBuildingItems();
// Sets the item's text capacity from its kind, edit letter and size.
// Returns 0.
int SetItemTextCapacity(int item);
// Sets the item's choices or initial value ("*..." names a file). Returns 0.
int SetItemValue(int item, const char* text);
// Sets the text of a multi-line item, cut to its columns x lines. Returns 0,
// or -1 after a message when those cells exceed 1024 (the text is kept cut).
int AllocMultiLineItemText(int item, const char* text);
void SplitItemFileReference(int item, const char* text);
void SetItemLaunchFile(int item, const char* fileName);
// SetItemLaunchFile. Returns 0.
int BindItemActionFile(int item, const char* fileName);
void LayoutScreenItem(int slot, int item, int keepPosition);
void LayoutSheetItem(int item);
// Adds the slot's hidden standard items (CBBOX, RULER, the line-type
// buttons), lays out its items and creates its edit control. Returns 0, or
// -1 after AddScreenItem's message when the table is full.
int CreateStandardItems(HWND window, int slot, int mode);
// Makes the items built since the last open the slot's range (unless it
// has one) and lays them out. Returns 0.
int TakeBuildingItems(int slot);
// Destroys the slot's edit control (a failure is shown and passed over) and
// gives back its items; slot -1 is the current slot. Returns the slot.
int DeleteEditControl(int slot);
void SetItemValueByRef(const char* ref, const char* text);
void SetItemValueInSlot(int slot, const char* ref, const char* text);
void SetItemGuideText(const char* ref, const char* text);
// Title style of the current item, or 0 when there is none.
int GetCurrentItemType();
// Set the slot's row pitch or font unit. Return the slot.
int SetSlotGridStep(int slot, int pitch);
int GetSlotGridStep(int slot);
int SetSlotFontUnit(int slot, int unit);
int GetSlotTopMargin(int slot);
// Offset of the referenced item from the slot's first item, or -1 when the
// reference names no item (quiet).
int GetFieldOffsetInSlot(int slot, const char* ref);
const char* GetSlotItemName(int slot, int n);
const char* GetSlotItemFieldName(int slot, int n);
const char* GetSlotItemValueText(int slot, int n);
int GetWindowItemIndex(int slot, int n);
// Byte position of the first single-byte "*" of the item's caption, or -1
// when there is none; GetCaptionSplitText gives the caption with every such
// "*" turned into a blank.
int GetCaptionSplitColumn(int item);
const char* GetCaptionSplitText();  // the caption GetCaptionSplitColumn made
const char* FormatItemDisplayText(int item);
// The slot that owns an item, or -1 (an item being built has none).
int FindItemSlot(int item);

// Caption rectangle of an item and where it stands.
constexpr int kCaptionNone = 0, kCaptionBeside = 1, kCaptionAboveBelow = 2,
              kCaptionSplit = 3;
struct ItemCaptionRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int placement = kCaptionNone;
};
// The item's caption rectangle and placement. Returns the caption's length
// in bytes (0 when it has none).
int GetItemRect(int item, ItemCaptionRect* rect);
// The rectangles a caption is drawn in, with their texts: none, one, or
// for a caption split at '*' the part before the item and the part after.
struct CaptionPart {
  ItemCaptionRect rect;
  std::string text;
};
std::vector<CaptionPart> GetCaptionParts(int item);

// ---------------------------------------------------------------------------
// Field access by name (field_focus.cpp, field_access.cpp, field_columns.cpp)
//
// Work windows read and write the fields of the current slot (or of a given
// slot: the "Screen" forms) by field reference. A name that is not found is
// not reported: setters do nothing, getters give 0, "" or leave the buffer.
// "Idx" forms take a name and an index and form "%s%02d" (below 100) or
// "%s%03d". Text getters copy into the caller's buffer, which needs room for
// the field's text capacity + 1 bytes.

// Item of `ref` in the slot (index, "/CUR", "/MPOS", "/NEXT", "/PREV",
// "/HOME", "/TOPOFLINE", "/+n", "/-n" or a name); -1 when none. "/NEXT"
// runs the Enter key's navigation and "/PREV" makes the slot's last item
// current. Offsets are not checked against the slot's range.
int ResolveFieldRef(int slot, const char* ref);
// Focuses the item of `ref`, or the slot's first item with the edit control
// hidden when it names none.
void FocusField(const char* ref);
// The indexed name "%s%02d" / "%s%03d" in a shared buffer.
const char* IndexedFieldName(const char* name, int index);

// The input method as the engine calls it: imm32, or a fake under test.
// Every context taken is given back (releaseContext).
struct InputMethodCalls {
  HIMC (*getContext)(HWND window);
  BOOL (*releaseContext)(HWND window, HIMC context);
  BOOL (*getOpenStatus)(HIMC context);
  BOOL (*setOpenStatus)(HIMC context, BOOL open);
};
// Installs `calls`; null restores imm32.
void SetInputMethodCalls(const InputMethodCalls* calls);
// Takes and remembers the window's input context (giving back the one
// remembered before); returns its open status.
int OpenImeContext(HWND window);
// 1 when the window's input method is open.
int IsImeOpen(HWND window);
// Opens (on = 1) or closes (on = 0) the remembered input context.
void SetFieldImeMode(HWND window, int on);

void SetFieldInt(const char* name, int value);
void SetFieldIntIdx(const char* name, int index, int value);
void SetScreenFieldInt(int slot, const char* name, int value);
void SetFieldLong(const char* name, long value);
void SetFieldLongIdx(const char* name, int index, long value);
void SetScreenFieldLong(int slot, const char* name, long value);
void SetFieldChar(const char* name, char value);
void SetFieldCharIdx(const char* name, int index, char value);
void SetScreenFieldChar(int slot, const char* name, char value);
void SetFieldDouble(const char* name, double value);
void SetFieldDoubleIdx(const char* name, int index, double value);
void SetScreenFieldDouble(int slot, const char* name, double value);
void SetFieldText(const char* name, const char* text);
void SetFieldTextIdx(const char* name, int index, const char* text);
void SetScreenFieldText(int slot, const char* name, const char* text);
int GetFieldInt(const char* name);
int GetFieldIntIdx(const char* name, int index);
long GetFieldLong(const char* name);
long GetFieldLongIdx(const char* name, int index);
char GetFieldChar(const char* name);
char GetFieldCharIdx(const char* name, int index);
double GetFieldDouble(const char* name);
double GetFieldDoubleIdx(const char* name, int index);
void GetFieldText(const char* name, char* buffer);
void GetFieldTextIdx(const char* name, int index, char* buffer);
// The value in a shared buffer, valid until the next call ("" when none).
const char* GetFieldTextPtr(const char* name);
void GetFieldDisplayText(const char* name, char* buffer);
void GetFieldDisplayTextIdx(const char* name, int index, char* buffer);
void ClearField(const char* name);
void ClearFieldIdx(const char* name, int index);
void HideField(const char* name);
void ProtectField(const char* name);
void ProtectFieldIdx(const char* name, int index);
void UnprotectField(const char* name);
void UnprotectFieldIdx(const char* name, int index);
// Code 1 enabled, 2 protected, 3 hidden; "/BUTT" sets every button and mark
// of the slot.
void SetFieldState(const char* name, int code);
// The state, -1 for a name that is not found.
int GetFieldState(const char* name);
void SetFieldInitialText(const char* name, const char* text);
void GetFieldInitialText(const char* name, char* buffer);
int GetFieldAttrA(const char* name);  // width
int GetFieldAttrB(const char* name);  // length
void SetFieldFlags(const char* name, int width, int length);
char GetFieldByteAttr(const char* name);  // edit letter
char GetFieldKind(const char* name);
int GetFieldTypeCode(const char* name);  // title style
// The item's key code; for "/NEXT" the key code of the pending item. 0 in
// line-edit mode.
int GetFieldLink(const char* name);
// The number formed by the last two characters of the item's name.
int GetFieldNameSuffix(const char* name);
void GetFieldNameByRef(const char* ref, char* buffer);
void GetFieldCaption(const char* name, char* buffer);
void SetFieldCaptionAndRepaint(const char* name, const char* text);
void GetFieldHelpText(const char* name, char* buffer);
void SetFieldItems(const char* name, const char* text);
void SetFieldColorA(const char* name, int code);
void SetFieldColorAIdx(const char* name, int index, int code);
void SetFieldOption(int slot, const char* name, int code);
void SetFieldColorB(const char* name, int code);
void SetFieldColorBIdx(const char* name, int index, int code);
// a >= 0 sets colour A, b >= 0 colour B.
void SetFieldColors(const char* name, int colorA, int colorB);
int GetFieldChoiceIndex(const char* name);
// 1 pixel width, 2 pixel height, 3 pixel x, 4 pixel right; else 0.
int GetFieldGeometry(const char* name, int what);
void SetFieldScore(const char* name, int column, int width);
char GetSlotItemKind(int slot, int n);
// First item of the current slot bound to `key` (27 finds 100); -1 when none.
int FindFieldByKey(int key);
// Repeating groups name01, name02 ...: Up moves i to i - 1 for i = from ..
// to (i > 1), Down moves i - 1 to i for i = to down to from (i > 1).
void ShiftFieldsUp(const char* name, int from, int to);
void ShiftFieldsDown(const char* name, int from, int to);
// Shift up, then name(to) := value; shift down, then name(from) := value.
void ShiftInsertText(const char* name, int from, int to, const char* text);
void ShiftUpSetFieldChar(const char* name, int from, int to, char value);
void ShiftUpSetFieldInt(const char* name, int from, int to, int value);
void ShiftUpSetFieldLong(const char* name, int from, int to, long value);
void ShiftUpSetFieldDouble(const char* name, int from, int to, double value);
void ShiftUpClearField(const char* name, int from, int to);
void ShiftDownSetFieldText(const char* name, int from, int to, const char* text);
void ShiftDownSetFieldChar(const char* name, int from, int to, char value);
void ShiftDownSetFieldInt(const char* name, int from, int to, int value);
void ShiftDownSetFieldLong(const char* name, int from, int to, long value);
void ShiftDownSetFieldDouble(const char* name, int from, int to, double value);
void ShiftDownClearField(const char* name, int from, int to);
void CopyFieldValueIdx(const char* destination, int destinationIndex,
                       const char* source, int sourceIndex);
// The field takes the column of its own name of the table slot's record.
void SetFieldTextFromTable(const char* name, int tableSlot);
// As SetFieldTextFromTable; an empty column gives `fallback`.
void SetFieldFromTable(const char* name, int tableSlot, const char* fallback);
void SetFieldIntFromTableAlt(const char* name, int tableSlot);
void SetFieldCharFromTable(const char* name, int tableSlot);
void SetFieldDoubleFromTable(const char* name, int tableSlot);
// The text the current field held when the focus came to it.
void GetScreenTitle(char* buffer);
// Puts that text back into the current field and marks it edited.
void FocusCurrentField();

// ---------------------------------------------------------------------------
// Field values and checks (field_values.cpp)

// 'N' for the numeric kinds t h j - b f N, 's' for unsigned numbers, else
// the kind letter.
int GetItemValueClass(int item);
// Formats `text` by the item's kind, edit letter, length and decimals into
// its display text.
void FormatItemValue(int item, const char* text);
// Repaints the value of one item on its window.
void PaintItemValue(int slot, int item);
// The edit control's text, cut to the item's length without a dangling lead
// byte, into `buffer` (room for the length + 1); kinds 'c', 'R', 'C' are not
// read.
void ReadEditText(int item, char* buffer);
// Checks the current item's typed value against its limits (and kind 'd'
// against Latin letters). 0 accepted; -1 rejected after an information box,
// the field then holding the violated limit.
int CheckItemValue();
int IsFieldEdited();
void SetFieldEdited(int value);
void MarkFieldEdited();
// Sets a value by reference: formatted, shown in the edit control when the
// item is current, repainted. Kind 'P' ignores an empty text.
void SetItemValueForCommand(int slot, const char* ref, const char* text);
// The same for an item of the slot given by its number.
void SetItemValueAt(int slot, int item, const char* text);
// A value by reference as the work windows read it (mark texts as their
// numbers, 'Z' zero-padded, 'R' right-aligned, 'K' without separators).
void GetItemValueForCommand(int slot, const char* ref, char* buffer);
// A value by reference as stored, trailing blanks removed.
void GetItemRawValue(int slot, const char* ref, char* buffer);

// ---------------------------------------------------------------------------
// Focus, keys and field actions (focus_moves.cpp, edit_subclass.cpp,
// key_commands.cpp, guide_box.cpp, row_bar.cpp)

// Input state of a slot: 1 field input (input mode 1 or 3), 2 button
// selection.
int SlotInputState(const WindowSlot& slot);
// Whether the buttons and marks are kinds that are pressed, not typed into.
inline bool IsButtonOrMark(char kind) { return kind == 'M' || kind == 'B'; }
LRESULT CALLBACK EditSubclassProc(HWND window, UINT message, WPARAM wParam,
                                  LPARAM lParam);
// 1 when the navigation key chose a pending item and the value passed its
// check, else 0 (no move, rejected value, arrow with Shift or Ctrl).
int MoveFocusByKey();
// 0 when the item can take the focus by a key, else -1.
int CanFocusItem(int item);
// Moves the focus to the pending item (the owner calls it after a key
// command).
void ApplyPendingFocus();
void CompleteFocusMove();
// The mouse takes the focus from the field being typed into to `item` of
// the same slot: the field is left as Tab leaves it (its value checked and
// kept, its owner told with the Tab command). 0, or -1 when the check keeps
// the focus in the field.
int LeaveFieldForItem(int item);
// A key as a command to the owner (Esc as 100).
void SendKeyCommand(int key);
// Presses a button: 0 done, -1 a pop-up was open (now closed) or no ruled
// line was selected for a line-type button, -3 the item is not enabled.
int RunFieldAction(int item);
// Repaints a button with look 2 (normal) or 3 (pressed).
void PaintItemState(int item, int look);
void ShowFieldPopupButton(int show, int item);
// Sets the pixel rectangle: a width or height below 1 hides the item, else
// it is enabled and repainted.
void SetItemPixelRect(int item, int x, int y, int width, int height);
// As SetItemPixelRect, keeping the width when `width` is negative and never
// changing the state.
void MoveItemPixelRect(int item, int x, int y, int width, int height);
// The grey guide box of the slot's second STATIC child: lines split at "|";
// placement 1 below the item, else at the top left of the content.
void ShowEditGuideBox(int item, const char* text, int placement);
// Moves both STATIC children of the slot to size 0.
void MoveSlotStatics(int slot);
// Size of a guide box of `text` in a slot of font unit `unit`.
struct GuideBoxSize {
  int width = 0, height = 0, lines = 0;
};
GuideBoxSize MeasureGuideBox(const char* text, int unit);
int GuideLineHeight(int unit);
// Makes a STATIC child of a slot paint the box text the slot gives it.
void AttachGuideBox(HWND child);
void HideItemHintBox();
// Hides the hover tip of a slot the mouse has left.
void HideSlotHintBox(int slot);
// Row bar of the row-selection modes (0 none, 1, 2, 4).
void SetWindowEditMode(int mode);
void SetWindowInputMode(int mode);
void NotifyScreenEditMode(int mode);
void MoveRowBar(int key);
// The row of the row bar under the mouse, made the selected row; 0 when none.
int HitTestListHeader();
void SendListHeaderCommand();
void UpdateFunctionKeyButtons();
// Draws the bar of the selected row (page painting calls it last).
void PaintRowBar(int slot);
// The editor program of "TXT" and "DOC" actions; empty: Notepad.
void SetEditorProgram(const char* program);

int GetCurrentItemIndex();
void GetItemPixelRect(int item, int* x, int* y, int* width, int* height);
int GetLastFieldKey();
int GetNavigationKey();
int GetSelectedRow();
int GetLastPopupChoice();
int IsShiftKeyHeld();
int IsCtrlKeyHeld();
// Whether Shift and Ctrl are down as of the message being handled, read in
// one look at the keyboard (each look is a round trip to the window system
// under Wine, and keys and page moves take it every time).
struct ModifierKeys {
  bool shift = false;
  bool ctrl = false;
};
ModifierKeys ReadModifierKeys();
int IsClickInProgress();
int GetSlotOpenState();
void ScreenEngineNoOp();

// Design (line-edit) mode acts through the sheet designer, which installs
// these at start-up; a missing one does nothing (toggling the mode flips
// the slot's flag).
struct DesignModeCalls {
  void (*toggleLineEditMode)() = nullptr;
  void (*toggleGridSnap)() = nullptr;
  void (*deleteSelectedLine)() = nullptr;
  // Shift + arrow: 1 right, 2 left, 3 down, 4 up.
  void (*shiftLayout)(int direction) = nullptr;
  // A line-type button (132 .. 136) sets the selected line's size; -1 when
  // no line is selected.
  int (*setSelectedLineType)(int keyCode) = nullptr;
  // A press on an item in design mode: 0 grabbed, -1 in the header band, -3
  // an item that cannot be grabbed.
  int (*grabItem)(int item) = nullptr;
  // A press on no item: picks or starts a ruled line; -1.
  int (*hitTestRuledLine)() = nullptr;
  // Mouse moves and the release while an item or a line is dragged; the
  // release gives 1 when it ended a drag.
  void (*trackDrag)() = nullptr;
  int (*dropDraggedItem)() = nullptr;
};
void SetDesignModeCalls(const DesignModeCalls& calls);
const DesignModeCalls& GetDesignModeCalls();
// Enters or leaves line-edit mode of the current window.
void ToggleScreenLineEditMode();

// ---------------------------------------------------------------------------
// Mouse clicks and hit tests (mouse_clicks.cpp, hit_tests.cpp)

// A press: the item hit (enabled), 0 a design-mode grab, -1 nothing hit (or
// the header band), -2 a window without items (after a beep), -3 a
// protected item or one that cannot be grabbed.
int HandleItemClick();
int HandleSheetItemClick(int mode);
// A release: RunFieldAction's result for a button under the mouse, else -1;
// -2 after a beep for a window without items.
int HitTestItemAtMouse();
// 0 when the mouse is over no protected item and no button, else -1.
int HitTestListItemAtMouse();
// The pixel rectangle of an item (width and height swapped for edit
// letter 'V'), and whether it is tested in window coordinates (fixed items,
// the ruler, title style 13) and holds a point of the content.
RECT ItemPixelRect(int item);
bool IsFixedToWindow(int slot, int item);
bool ItemHoldsPoint(int slot, int item, POINT content);
// The ruler and the line-type buttons take no clicks outside design mode.
bool IsSkippedOutsideDesign(const WindowSlot& slot, int item);
// A copy of a repeating item (its name ends in a number of 1 or more and
// its link value is -1).
bool IsRepeatedCopy(const ScreenItem& item);
// The outer rectangle the design-mode hit tests use.
void GetItemHitRect(int item, int* left, int* top, int* right, int* bottom);
// The item under a point of the content (window coordinates for fixed
// items), -1 in the header band or over none.
int FindDesignItemAtPoint(int x, int y);
void InvalidateItem(int item);
void InvalidateContentRect(int left, int top, int right, int bottom,
                           int erase);
// Cursor position in client coordinates of the current slot's window.
void GetMouseInWindow(int* x, int* y);
void GetMouseInWindowScreen(int* x, int* y);
// Stores the mouse position of the slot; RestoreDragOrigin makes it the
// click position again.
void RecordMousePosition(int slot);
void RestoreDragOrigin(int slot);
// The item under the mouse (buttons, radios, checks), or -1.
int TrackMouseOnItems();
// One tick of the slot's timer: the hover tip from the 2nd to the 12th.
void ShowItemHintBox();
void ClosePopupIfOpen();

// ---------------------------------------------------------------------------
// Candidate pop-up and calendar (popup_list.cpp, popup_lookup.cpp,
// popup_dialogs.cpp, choice_list.cpp, calendar.cpp)

// The program's icon resource.
constexpr int kProgramIconId = 101;
// Registers a window class of the pop-ups (redrawn whole when sized, arrow
// cursor, the program's icon, light grey, a menu of the class's name) unless
// it is registered already. False when it cannot be registered.
bool RegisterPopupClass(const char* name, WNDPROC procedure);
// Creates the "Sel" pop-up window under `owner` (at start-up); null when it
// cannot be made. ShowFieldPopup makes it when nobody did.
HWND RegisterSelWindow(HWND owner);
// Opens the pop-up of an item's choice list (candidates, a master look-up,
// a file or folder dialog, the calendar). 0 shown (or "nothing to show"
// reported); -1 an empty list (a beep for one empty token) or a table that
// could not be opened (reported).
int ShowFieldPopup(int item);
// The same window as a menu of comma-separated entries at the mouse; the
// choice goes to the slot's window as 1162. 0, or -1 without a window.
int ShowItemContextMenu(const char* entries, int flag);
LRESULT SelWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Columns the last pop-up transferred into fields (1 for a plain list).
int GetChosenCandidateCode();
// Closes, without a choice, the pop-up a slot shows (its look-up table
// too): the slot is closing.
void DropPopupOfSlot(int slot);
// Opens the month calendar for the current field. 0, or -1 when no window
// or slot was left (reported by the slot code).
int ShowCalendar(int mode);
LRESULT CALLBACK CalendarWndProc(HWND window, UINT message, WPARAM wParam,
                                 LPARAM lParam);

// ---------------------------------------------------------------------------
// Screen definitions: OpenScreen and the field rows (screen_open.cpp,
// screen_tables.cpp, field_rows.cpp, field_build.cpp)

// The screen tables of a screen database.
constexpr char kScreenTable[] = "S_SCREEN";
constexpr char kFieldTable[] = "S_FIELD";
constexpr char kLineTable[] = "S_LINE";
constexpr char kSheetFieldTable[] = "MUPA_FLD";
constexpr char kSheetSpecFile[] = "MUPADATA";
constexpr int kMaxFieldDefaults = 10;

// The sheet-definition database the program works on and the sheet (side)
// code of its current sheet; set by the shell, read by the project screen.
struct SheetDefinitionRef {
  std::string folder, database;
  std::string sheetCode = "0001";
  int kind = 1;  // the file database (the tests run it on the server too)
};
extern SheetDefinitionRef g_sheetDefinition;  // (screen_tables.cpp)

// One field row as the builder reads it, from S_FIELD or from MUPA_FLD
// (the sheet's extras below). Refilled for every row.
struct ScreenFieldRecord {
  std::string code, name, title, lock, join, guide, choices, frame, edit;
  std::string titlePlace, type, textColour, backColour, exec, execField, list;
  std::string direction, minText, maxText, defaultText, jump, imagePlace;
  std::string screenName;  // the row's SCRNAME
  int shownMembers = 0, firstMember = 0, members = 0;
  int width = 0, secondSize = 0, charSize = 0, height = 0;
  int x = 0, y = 0, xShift = 0, yShift = 0, decimals = 0;
  int codeChar = 0, printFlag = 0, recordCode = 0, indexChar = 0;
  double minimum = 0, maximum = 0;
  int page = 0, tabFlag = 0, memberShift = 0;
  bool marked = false;     // FLDNAME began with "*"
  // Sheet items (MUPA_FLD).
  int fullWidth = 0, overlapDigit = 0, rowGap = 0;
};

// Where a list or card screen's data set lies when not where its screen
// says (see SetNextScreenDataSet).
struct ScreenDataSetPlace {
  std::string folder, database, specFile, specBlock, extraWhere;
};

// What the engine keeps between the steps of opening a screen and hands to
// the work windows that show it.
struct ScreenDefinitionState {
  std::string specFile = "FSCRTBL3.SPC";  // screen-table specification
  bool specHasExec = true;                // FLDEXEC and FLDSFLD are read
  // Kind of the screen databases: the file database beside the program
  // (the tests run them on the server database too).
  int screenDbKind = 1;
  int screenDefSlot = -1;   // table slot of S_SCREEN while a screen opens
  int fieldDefSlot = -1;    // table slot of S_FIELD or MUPA_FLD
  int standardItemMode = 0;
  std::string screenInput;  // SCRINP of the screen being built
  ScreenFieldRecord row;    // the field row being built
  std::string f9Commands;   // FLDKOHO of the row "FKEY09"
  int candidateFields = 0;  // fields with candidates (F11)
  std::string markedFieldName;
  struct Default {
    std::string name, value;
  };
  std::vector<Default> defaults;  // at most kMaxFieldDefaults
  ScreenDataSetPlace nextDataSetPlace;  // SetNextScreenDataSet
  // Handed to the card and set windows.
  int cardEntryState = 1;   // 0 browse, 1 entry, 2 entry with "Ｎ"
  int cardFlag = 0;         // open modes -4 and -14
  int ocrCardLines = 73;
  std::string cardParameter, setParameter;
  std::string cardCodeChar, cardSField, cardAField, setFirstField;
  int cardFieldCount = 0, setFieldCount = 0, cardButtons = 0;
};
extern ScreenDefinitionState g_screenDefs;  // (screen_tables.cpp)

// Chooses the screen-table specification the screens are read with:
// "FSCRTBL3.SPC" when the folder of table descriptions holds it (fields
// with their execution text), else "FSCRTBL2.SPC". Call once at start-up.
void SelectScreenTableSpec();

// Opens the screen `code` of the screen database `database` (its folder;
// empty: the database folder) in the window its type selects. `number` -1
// takes SCRNO; `openMode` -1 is an ordinary open (see OpenScreenDef).
// Returns 0, or -1 after its message (nothing of the screen is left open).
int OpenScreen(const char* folder, const char* database, const char* code,
               int number, int openMode, const char* parameter);
// As OpenScreen, owned by `owner` (null: the active window).
int OpenScreenDef(const char* folder, const char* database, const char* code,
                  int number, int openMode, const char* parameter,
                  HWND owner);
// Opens S_SCREEN on the row of `code` and the field rows for window slot
// `slot`: 0, or -1 after the message (the caller closes the table slots).
int LoadScreenDef(int slot, const char* folder, const char* database,
                  const char* code);
// Closes the screen-definition and field-definition table slots.
void CloseScreenDefSlots(int slot);
// Loads every screen text ("*.txt", UTF-8) of `textFolder` into the screen
// tables of `database` in `dbFolder` (empty: the database folder), each
// screen replacing the rows stored under its code. Every text is read and
// checked first: a text that is not understood, or a value that would not
// store as written, stops the load before anything is written. Returns the
// number of screens loaded, or -1 after the message.
int LoadScreenTexts(const char* textFolder, const char* dbFolder, const char* database);

// Field rows into ScreenDefinitionState::row.
void ReadScreenFieldRow();
void ReadSheetFieldRow();
// MUPA_FLD of the current sheet, newer columns added: table slot, or -1
// after "フォーマット定義ファイルをオープンできません。".
int OpenSheetFieldTable();
int OpenSheetFieldsByCodes();
// Turns the field rows of the field-definition slot into items of the
// screen being built. Returns 0, or -1 after the message of the row that
// stopped it (a key field without its default, a full item table, more
// than 400 fields); the items made so far are the caller's to discard.
int BuildScreenFields(int slot, int screenType, int start);
// Renames the first S_FIELD row whose FLDNAME begins with `prefix`: 0,
// also for an empty table; -1 when no row matches (quiet).
int FindFieldRowByName(const char* prefix, const char* newName);
void SetFieldDefault(const char* name, const char* value);
// Where the next screen's data set lies when not where its screen says (its
// table stays the screen's): folder (a card takes only the folder),
// database, the table's specification file and block (its keys), and a
// condition a list's rows must meet besides its key fields' (not used when
// storing). Taken by the next OpenScreen, opened or not.
void SetNextScreenDataSet(const ScreenDataSetPlace& place);
// 0 after adding the field's default to the query conditions, or -1 after
// "フィールド“%s”の初期値は設定されていません。".
int RequireFieldDefault(const char* name);

// ---------------------------------------------------------------------------
// Function-key bar, the workbench button bar and the item adders
// (function_keys.cpp, work_buttons.cpp)

// Builds the key bar of a data screen; returns the x (in key units) after
// its last button, 0 for menus (1) and project sheets (8).
int SetupFunctionKeys(int slot, int screenType);
// The name a function-key button shows on its face ("Esc", "F1" ...); ""
// for any other item.
std::string FunctionKeyLabel(const ScreenItem& item);
int AddKeyButton(const char* caption, const char* name, int x, int xShift, int y, int command,
                 int state, int frameFlag, const char* bitmap, const char* guide,
                 const char* choices);
int AddScreenRadio(const char* caption, const char* name, int x, int y, int yOffset, int width,
                   int secondSize, int charSize, int command, int state, const char* guide,
                   const char* choices, const char* joinText);
int AddScreenCheck(const char* caption, const char* name, int x, int y, int yOffset, int width,
                   int secondSize, int charSize, int command, int state, const char* guide,
                   const char* choices, const char* joinText);
int AddScreenItemX(const char* caption, const char* name, int x, int xShift, int y,
                   int secondSize, int charSize, int state);
int AddScreenButton(const char* caption, const char* name, int x, int xShift, int y, int command,
                    int state, const char* bitmap, const char* guide, const char* choices);
int AddScreenIconButton(const char* caption, const char* name, int x, int command, int state,
                        const char* bitmap, const char* guide, const char* choices);
int AddScreenStatic(const char* caption, const char* name, int x, int yOffset, int width,
                    int secondSize, int command, int state, const char* guide,
                    const char* choices);

// Sheet settings that steer the workbench windows.
struct WorkbenchSettings {
  std::string buttonMask = "111110111";  // operation mode: one character a button
  int scannerDialog = 2;                 // 1: the scanner's own settings screen
  int panelLayout[2] = {0, 0};           // either 2: the bar is a small panel
  int hiddenBar = 0;                     // 2: the bar lies outside the screen
  int otherSettings[4] = {0, 0, 0, 0};   // set with the three above in mode 1
};
extern WorkbenchSettings g_workbench;  // (work_buttons.cpp)
// The workbench grid (SetScreenLayoutMetrics).
struct WorkbenchMetrics {
  int unit = 8, columnStep = 5, rowHeight = 40, barHeight = 114, leftMargin = 40, divisor = 4;
  int visibleColumns = 0, visibleRows = 0, zoomColumns = 0, zoomRows = 0;
  int sheetColumns = 0, sheetRows = 0;   // of the current sheet
};
extern WorkbenchMetrics g_workbenchMetrics;
// Builds and opens the workbench's button bar on "KQE_READ": 0, or -1
// after the message of the failing step.
int BuildOcrWorkButtons(int mode, const char* title);
void SetScreenLayoutMetrics();
// Writes an item's position back to its definition row: 0, or -1 after the
// database layer's message.
int SaveFieldPosition(int tableSlot, int slot, int item);
void SendToBothWindows(HWND window, UINT message, WPARAM wParam);

// ---------------------------------------------------------------------------
// Work windows of the screens (work_windows.cpp). The engine binds screens
// to these windows by type; their owner registers the classes, creates the
// windows at start-up and gives the engine what opening needs.

enum class WorkWindow { kMenu, kList, kCard, kSet };
// The class name ("Men", "Lst", "Cad", "Sup") and the created window.
const char* WorkWindowClass(WorkWindow which);
HWND GetWorkWindow(WorkWindow which);
void SetWorkWindow(WorkWindow which, HWND window);
// Registers the data set of a card or set screen in the next free slot:
// 0, or -1 after the message.
using DataSetOpener = int (*)(const char* folder, const char* database, const char* table,
                              int keyNumber);
void SetDataSetOpener(WorkWindow which, DataSetOpener opener);
DataSetOpener GetDataSetOpener(WorkWindow which);
// Registers the class of a work window ("Men", "Lst", "Cad", "Sup"; a
// light grey popup with a dialog frame) with `procedure` unless it is
// registered, and creates its hidden window: the window, kept for
// GetWorkWindow, or null when the class cannot be registered.
HWND CreateWorkWindow(WorkWindow which, WNDPROC procedure, UINT classStyle);
// The list window's procedure, given by its owner; until then the list
// window paints its screen.
void SetListWindowProc(WNDPROC procedure);
// Registers "Lst" and creates its hidden window: the window, or null.
HWND RegisterListWindow(HWND mainWindow);

// Registers a window class of the program unless it is registered: the
// arrow cursor, a stock brush, an icon resource of the program (0: the
// standard icon) and the class name as its menu name. False when it
// cannot be registered.
bool RegisterProgramClass(const char* name, WNDPROC procedure, UINT classStyle, int brush, int iconId);
// Paints the page of `slot` on its window (WM_PAINT of a screen window):
// true when painted, false when the slot is not valid or not the window's
// (the caller leaves the message to the default handling).
bool PaintSlotWindow(HWND window, int slot);

// A window class of the program and its one window, made hidden at start-up.
struct HiddenWindowClass {
  const char* name;           // class name, also the class's menu name
  WNDPROC procedure;
  UINT classStyle;
  DWORD style;                // of the window
  DWORD exStyle = 0;
  int brush = LTGRAY_BRUSH;   // stock brush of the background
  int iconId = 0;             // an icon resource of the program; 0 the standard icon
  const char* title = "";
  HWND parent = nullptr;
};
// Registers the class unless it is registered (arrow cursor) and creates its
// window at 0, 0 with size 0 x 0, not shown: the window, or null when the
// class cannot be registered or the window made.
HWND CreateHiddenWindow(const HiddenWindowClass& spec);
// The window of a class among this program's windows, top-level or child
// (the canvas and the image view live inside other windows once opened);
// another program's window of the class is never taken. Null when none.
HWND FindProgramWindow(const char* className);

// ---------------------------------------------------------------------------
// List columns, data sets and the list query (list_dataset.cpp,
// list_columns.cpp, list_query.cpp)
// One column of a list screen.
struct ListColumn {
  std::string name;        // the cells are name01, name02, ...
  std::string title;
  int width = 0;           // characters
  int length = 0;          // bytes a cell holds; 0: its width
  char kind = 'X';
  char edit = 'L';
  int decimals = 0, state = kItemEnabled, titleStyle = 1, charSize = 0;
  int colorA = 0, colorB = -1, itemClass = -1;
  double minimum = 0, maximum = 0;
  std::string guide, choices, joinText, joinedTable, minText, maxText;
  int tabFlag = 0, recordCode = 0;
  int extraWidth = 0;      // pixels
  int dbType = 0;          // of the open data set's column
};

// The repeating group of a list: columns first .. first + count - 1, of
// which `shown` stand in the window at once from `offset`.
struct ListGroup {
  int first = -1, count = 0, shown = 0, offset = 0;
};

struct QueryCondition {
  std::string column, value;
};

// The list screen being built or shown, and its query.
struct ListState {
  std::vector<ListColumn> columns;           // at most kMaxListColumns
  ListGroup group;
  std::vector<QueryCondition> conditions;    // at most kMaxQueryConditions
  // Values the rows a list adds are given beside what is typed (a grid of
  // description texts adds rows without a frame), set by the list's maker.
  std::vector<QueryCondition> newRowValues;
  std::string conditionText, extraWhere, filterText;
  std::string selectText;                    // the last SELECT of the data set
  std::vector<std::string> headerTexts;      // set by the list window's owner
  int bufferChanged = 0;   // a layout changed the columns since the open
  int hashFlag = 0;        // a field with "#" candidates: the other fields are built too
  int newRowsAllowed = 1;
  int inputMode = 1;       // 1 entry, 2 no new rows ("△"), 3 "Ｎ"
  int left = 1, top = 3;   // of the grid, in columns and rows
  int rows = 0;            // rows shown
  int keyResult = 0;       // SetupFunctionKeys of the list
  int changedFlag = 0;     // SetScreenFlagA
  int closeVeto = 0;       // CancelListWindowClose
  int key12Remembered = 0; // sub-kind 4 turned position 12 from '3' to '2'
  std::string firstKey, lastKey;  // of the data set (ShowDataNotRegistered)
  int slot = -1;           // window slot of the current list
  HWND groupScrollBar = nullptr, rowScrollBar = nullptr;
};
extern ListState g_list;  // (list_dataset.cpp)

// Registers a data set in the next free window slot: 0, or -1 after
// "オープン済みです。[%s][%s]" when that slot's data set is still open.
int OpenScreenSlot(const char* folder, const char* database, const char* table, int dbKind,
                   const char* specFile, const char* specBlock, int keyNumber);
// OpenScreenSlot for a list screen being built; resets the list: 0 / -1.
int OpenScreenDataSet(const char* folder, const char* database,
                      const char* table, int dbKind, const char* specFile,
                      const char* specBlock, int keyNumber, int subKind);
// Gives a slot's data set back: its table slot closed, its names emptied.
void CloseScreenDataSet(int slot);
void SetScreenTableNames(const char* database, const char* table, const char* specFile);
void SetScreenDataFolder(const char* folder);
void SetScreenSlotValue(int dbKind);
void AddQueryCondition(const char* column, const char* value);
void SetQueryConditionValue(const char* column, const char* value);
// The conditions as "table.column='value'" joined by " and ", each value
// quoted by the database layer's literal rule.
void BuildQueryCondition(int slot);
void SetStatusText(const char* format, ...) __attribute__((format(printf, 1, 2)));
// The list columns from the field rows: 0, or -1 after the message.
int LoadScreenFieldRows(int slot);
int FindListColumn(const char* name);
// Sets a column's title: its index, or -1 when there is no such column.
int SetListColumnTitle(const char* name, const char* text);
void GetListColumnNames(int shownColumn, char* name, char* title);
int MapListColumn(int column);
int ClampListColumn(int column);
// Lays the grid out on `window`: 0, or -1 after the message.
int LayoutScreenFields(HWND window, int slot, int left, int top, int rows,
                       int inputMode, int* width, int* height, int reader,
                       int port);
// A list screen built by code (the grid editors), numbered by its window
// code in the notices to its owner: the slot, or -1.
// List sub-kinds of a list built in code: an input list, whose Enter moves
// on to the next cell (a selection list, sub-kind 1, takes Enter as picking
// its row for the owner).
constexpr int kInputListKind = 2;
int CreateScreenWindow(HWND window, int windowCode, int left, int top, int width, int height,
                       int rows, int fontUnit, int subKind, int inputMode, int cursorMode,
                       int borate, const char* functionKeys, const char* title, int reader,
                       int port);
int GetScreenGeometry(int* leftX, int* firstRowY, int* rightX, int* secondRowY, int* rows);
// The table of a column: its joined table, or the data set's table; ""
// after "マージスクリプトが間違っています。(%s)".
std::string ResolveColumnTable(int listOrCard, int slot, const char* column);
// Builds the SELECT of the list (1) or card (2) data set of `slot`: 0, or
// -1 after the message.
int BuildListDataQuery(int listOrCard, int slot);
int OpenListDataTable(int listOrCard, int slot);
// The data set of the current list opened again: its table slot, or -1.
int ReloadListData();
int ShowDataNotRegistered();
int FindDataSetHandle(int windowCode);
void CreateListScrollBar(int range, int page);
void LayoutListScrollBar();
void HideListScrollBar();
int WriteScreenDocument();
void SetScreenFlagA();
int GetScreenFlagA();
void CancelListWindowClose();

// ---------------------------------------------------------------------------
// Scrolling and screen size (scrolling.cpp; GetScreenSizeClass in
// window_slots.cpp). Number formatting is in number_format.h.
// Scroll ranges: a bar over total - visible pixels, hidden when everything
// is visible. Return the range's maximum (0 when the bar is hidden).
int SetScrollRangeH(HWND window, int slot, int bar, int total, int visible);
int SetScrollRangeV(HWND window, int slot, int bar, int total, int visible);
int SetScrollRangeVAt(HWND window, int slot, int bar, int total, int visible,
                      int position);
int UpdateScrollRangeH(HWND window, int slot);
int UpdateScrollRangeV(HWND window, int slot);
// Scroll requests (SB_* in the low word of `request`) on the slot's content
// or on a scroll-bar control (bar SB_CTL). Return the new position.
int ScrollScreenHPlain(HWND window, int slot, int bar, WPARAM request,
                       int extent, int lines, int pages, int pageLines,
                       int position);
int ScrollScreenHSnap(HWND window, int slot, int bar, WPARAM request,
                      int extent, int lines, int pages, int pageLines,
                      int position);
int ScrollScreenVPlain(HWND window, int slot, int bar, WPARAM request,
                       int extent, int lines, int pages, int pageLines,
                       int position);
int ScrollScreenVSnap(HWND window, int slot, int bar, WPARAM request,
                      int extent, int lines, int pages, int pageLines,
                      int position);
int ScrollScreenVTo(HWND window, int slot, int bar, WPARAM request,
                    int extent, int lines, int pageStep, int position);
// ScreenSizeClassForWidth of the display.
int GetScreenSizeClass();
void GetDisplayLineHeight(int* unit, int* height, int* second);
// A zero-filled moveable block, or null after a message.
HGLOBAL AllocZeroed(SIZE_T bytes);

// The pure part of a scroll request: where the position goes and by how
// much the content moves.
struct ScrollMove {
  int position = 0;  // the new position
  int delta = 0;     // content scrolled by this many pixels (ScrollWindow)
};
// `request` is the low word of the scroll message (SB_LINEUP .. SB_THUMB-
// POSITION, SB_TOP, SB_BOTTOM), `thumb` its high word.
ScrollMove ComputeScrollMove(int request, int thumb, int position,
                             int maximum, int lineStep, int pageStep);
// Snaps to the nearest multiple of the line step (a remainder of half the
// step goes up); a step below 1 leaves the position alone.
int SnapScrollPosition(int position, int lineStep);

// ---------------------------------------------------------------------------
// Drawing context and its fonts (paint_context.cpp). Colour codes and the
// font builder are foundation/gdi_draw.h.

// The one current drawing context. Painting routines may nest (a field
// repainted while a page paints): each begin pushes a context and each end
// pops it, so the outer DC and font survive.
struct PaintContext {
  HDC dc = nullptr;
  HWND window = nullptr;
  PAINTSTRUCT paint{};
  int kind = 0;             // how the DC was taken: paint, window DC, given
  int savedDcState = 0;     // SaveDC of a given DC
  int slot = -1;
  int penStyle = PS_SOLID;  // 0 solid, 2 dotted, 5 none
  int fillStyle = -1;       // 6 solid, 0-5 hatches, negative: none
  COLORREF fillColor = 0;
  GdiOwner<HFONT> font;     // the one font this context created
  HGDIOBJ previousFont = nullptr;  // selected before the first created font
  int fontFace = -2, fontSize = -2, fontWeight = -2;
  int frameColor = 0;       // frame colour of sheet items (1 or 4)
  int left = 0, top = 0, right = 0, bottom = 0;  // item paint rectangle
};
PaintContext& ActivePaintContext();
HDC PaintDC();

// The bracket begins return the context's DC, or null when contexts are
// nested too deep (quiet; nothing is drawn, and a window's update region is
// validated all the same). Each begin that returned a DC is ended once.
HDC BeginScreenPaint(HWND window, int slot);
HDC BeginScreenPaintPlain(HWND window, int slot, int x, int y);
void EndScreenPaint();
HDC GetScreenDC(HWND window, int slot, int x, int y);
void ReleaseScreenDC();
// Paints on a DC the caller owns (a memory bitmap, a printer page) with the
// slot's scroll origin; the DC is given back as it was by EndScreenPaintDC.
HDC BeginScreenPaintDC(HDC dc, int slot, int x, int y);
void EndScreenPaintDC();
void ResetPaintState(HWND window, int x, int y);
// Sets the pen style of the primitives. Returns the style.
int SetPaintPenStyle(int style);
COLORREF SetPaintBrush(int fillStyle, int colorCode);
void SelectScreenFont(int face, int size);
void SelectScreenFontSize(int face, int size, int weight);
void SetPaintCharacterExtra(int extra);
// Width of the text in the current font; 0 outside a paint bracket.
int MeasureTextWidth(const char* text);
// Height of "□" in the current font; 0 outside a paint bracket.
int MeasureBoxCharHeight();

// ---------------------------------------------------------------------------
// Drawing primitives (paint_primitives.cpp, paint_text.cpp)
void MoveToPaint(int x, int y);
void LineToPaint(int x, int y);
void DrawRectLines(int left, int top, int right, int bottom);
void DrawPaintLine(int x1, int y1, int x2, int y2, int width, int color);
void DrawFrameLines(int left, int top, int right, int bottom, int thickness,
                    int color);
void DrawCross(HDC dc, int left, int top, int right, int bottom, int part,
               int color);
void DrawTriangle(HDC dc, int x1, int y1, int x2, int y2, int x3, int y3,
                  int color);
void DrawBox(int left, int top, int right, int bottom, int corner, int color);
void DrawBoxStyled(int left, int top, int right, int bottom, int corner,
                   int penStyle, int penColor, int fillStyle, int fillColor);
void DrawGrayBox(int left, int top, int right, int bottom, int edgeType);
void FillCellRect(int left, int top, int right, int bottom, int shade);
void DrawScreenFieldArea(int slot, int left, int top, int right, int bottom);
void DrawFieldFrame(int slot, int x, int y, int right, int bottom);
void DrawCircleAt(int cx, int cy, int radius, int penWidth, int color);
void DrawCircleThin(int cx, int cy, int radius, int color);
void DrawPaintCircle(int left, int top, int right, int bottom, int radius,
                     int color);
void DrawPaintEllipse(int left, int top, int right, int bottom, int color);
void DrawBannedMark(int cx, int cy, int radius, int color);
void DrawMarkBall(int cx, int cy, int radius, int color, int shadow);
void Draw3DEdge(int left, int top, int right, int bottom, int type);
void Draw3DEdgeDark(int left, int top, int right, int bottom, int type);
void DrawTextPlain(int x, int y, const char* text);
void DrawTextAt(int x, int y, const char* text, int color);
void DrawTextOpaque(int x, int y, const char* text, int width, int textColor,
                    int backColor);
void DrawTextSplitTwo(int lineLength, int lineGap, int x, int y,
                      const char* text);
void DrawTextMaybeWrapped(int mode, int lineLength, int lineHeight, int x,
                          int y, const char* text);
void DrawWrappedText(HDC dc, int lineLength, int lineHeight, int x, int y,
                     const char* text);
void DrawTextLinesCentred(int x, int y, const char* text, int width);
void DrawCharCells(int item, int x, int y, const char* text);
void DrawCellGuideMarks(int left, int top, int right, int bottom, int mode);
void DrawDoubleCircle(int left, int top, int right, int bottom);
void DrawRuler(int left, int top, int right, int bottom, int step, int color);
void DrawPaintImage(ImageHandle image, int left, int top, int width,
                    int height);

// ---------------------------------------------------------------------------
// Painting of items and pages (paint_items.cpp, paint_value.cpp,
// paint_marks.cpp, paint_sheet.cpp, page_paint.cpp)
void PaintItemCaption(int item, const char* caption);
void PaintItemFrame(int item, int mode);
void PaintListField(int item, const char* text);
void ComputeItemPaintRect(int item);
void DrawCheckChoices(int item, const char* value);
void DrawCaptionLines(int item, const char* caption, int printColor);
void DrawSelectionFrame(int left, int top, int right, int bottom,
                        int frameStyle, int boxCode);
void DrawIconCaption(int size, int centreX, const char* text);
void DrawItemNumber(int item);
// The number a numbered sheet item shows beside it, by its numbering mode:
// 1 the number its name ends in, 2 its member number, 3 its extra number;
// -1 for an item that shows none (no mode, or no number source).
int SheetItemNumber(int item);
void DrawTwoStateCaption(int item, const char* value, int left, int right,
                         int y, int order);
void FillFormatMask(int item, char* out);
void PaintScreenPage(HWND window, int slot);
void PaintSlotItems(int slot, int pass);

// Helpers the painters share.
// Fixed items (protect byte set) stay put while the content scrolls.
inline bool IsFixedItem(const ScreenItem& item) { return item.protectByte != 0; }
// The slot being painted, or -1.
int PaintSlot();
// True while the slot being painted is in design (line-edit) mode.
bool PaintingInDesignMode();
// Half of a pixel span, rounded half up.
inline int HalfUp(int span) { return span >= 0 ? (span + 1) / 2 : span / 2; }
// A one-pixel frame in a pen style of its own; the context's pen style
// stays as it was.
void DrawFrameInPen(int left, int top, int right, int bottom, int color, int penStyle);
// A box filled and outlined solid in one colour code.
void FillBoxSolid(int left, int top, int right, int bottom, int color);
// The lines of a text separated by single-byte "|" (never a byte of a
// double-byte character).
std::vector<std::string> SplitAtBars(const char* text);
// Whether an item's caption gets a frame on a slot (frames on, and not for
// title style 10, kinds 'R' and 'C' or item classes 1, 4, 6 and 7).
bool ItemHasCaptionFrame(int slot, const ScreenItem& item);
// Glyph of a two-state mark (kind 'c') by its count and value.
void PaintTwoStateMark(int item, const char* value);
// Value layer of an OCR-sheet item (item class 7): a text item's message and
// frame, a field's boxes with the densities of the last reading.
void PaintSheetItemValue(int item);
