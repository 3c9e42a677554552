// The print-settings screen ("Prn") and its page preview ("Fom"): a band
// of settings 20 character units wide, built by code for the print type,
// beside a scrollable page that the owner of the print job paints when the
// screen asks (1129). Settings are loaded when the screen opens and saved
// when it closes: lists, cards, labels and the field list in the settings
// file, tallies, graphs and the image list in the print tables.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "designer/survey.h"
#include "foundation/msgbox.h"
#include "foundation/sjis_text.h"
#include "screen/screen.h"
#include "shell/shell.h"
#include "tally/report_internal.h"

PrintSettingsWindowState g_printSettingsWindow;

namespace {

constexpr UINT kMsgWindowBack = WM_USER + 114;    // 1138: show the owner again
constexpr UINT kMsgPrintOptions = WM_USER + 146;  // 1170: 1 settings, 2 CSV, 3 colours
// Commands of the screen.
constexpr int kCommandClose = 100;
constexpr int kCommandPrint = 112;  // F1, P01; in page mode the previous page
constexpr int kCommandNextPage = 113;
constexpr int kCommandFirstPage = 114;
constexpr int kCommandLastPage = 115;
constexpr int kCommandResetView = 116;  // F5
constexpr int kCommandLayout = 117;     // F6
constexpr int kCommandOutput = 118;     // F7
constexpr int kCommandManual = 119;     // F8
constexpr int kCommandSort = 201;
constexpr int kCommandLowerLimit = 203;
constexpr int kCommandTallySetting = 204;
constexpr int kCommandItems = 205;
constexpr int kCommandCountPercent = 206;
constexpr int kCommandPercentBase = 207;
constexpr int kCommandField = 209;
// Character units of the settings band.
constexpr int kBandUnits = 20;
// Bytes a note of the band holds.
constexpr int kNoteRoom = 40;
// Box colour of a raised button.
constexpr int kRaisedButton = 11;
// Pages the last-page choice offers at most.
constexpr int kMaxPageChoices = 99;

PrintSettingsWindowState& W() { return g_printSettingsWindow; }

bool IsTableType(int type) { return type >= kPrintTypeTally && type <= kPrintTypeImageList; }
bool IsTallyType(int type) { return type >= kPrintTypeTally && type <= kPrintTypeRadarGraph; }
bool IsBarType(int type) { return type == kPrintTypeBarGraph || type == kPrintTypeChoiceGraph; }
bool IsRoundType(int type) { return type == kPrintTypePieGraph || type == kPrintTypeRadarGraph; }

// The output kind the owner draws for this screen.
int OutputKind() {
  return IsTallyType(W().printType) ? TallyKindOfSetting(W().printType, W().tallySetting)
                                    : W().printType;
}

bool HasField(const char* name) { return GetFieldState(name) >= 0; }

// ---- Building the band --------------------------------------------------

// Lays the settings out one under the other: captions at the band's left,
// values at column 10.
struct Band {
  int row = 3;
  int unit = kBaseCharWidth;

  int RowPitch() const { return 3 * unit + 1; }

  void Number(const char* name, const char* caption, int width, double minimum, double maximum) {
    AddScreenItem(caption, name, 10, row, 0, width, width, 0, 'N', 0, 0, 0, 'R', kItemEnabled, 0, 1,
                  minimum, maximum, "", "");
    ++row;
  }
  void Text(const char* name, const char* caption, int width, const char* choices) {
    AddScreenItem(caption, name, 10, row, 0, width, width, 0, 'X', 0, 0, 0, 'L', kItemEnabled, 0, 1,
                  0, 0, "", choices);
    ++row;
  }
  // A choice of one of `choices` from the field's candidate list; the
  // choice comes back as 1127 with `command`.
  void Popup(const char* name, const char* caption, int width, const char* choices, int command) {
    // Room for the longest choice, however narrow the field is shown.
    int room = width;
    for (const std::string& choice : SplitCommaList(choices)) {
      room = std::max(room, static_cast<int>(choice.size()));
    }
    AddScreenItem(caption, name, 10, row, 0, width, room, 0, 'X', 0, 0, command, 'L', kItemEnabled,
                  0, 1, 0, 0, "", choices);
    ++row;
  }
  // Radio buttons (R) or check boxes (C) under their caption.
  void Choices(char kind, const char* name, const char* caption, const char* choices, int command) {
    const int count = CountCharDbcs(choices, ',') + 1;
    const int i = kind == 'R' ? AddScreenRadio(caption, name, 1, row, 0, kBandUnits - 3, 0, 0,
                                               command, kItemEnabled, "", choices, "")
                              : AddScreenCheck(caption, name, 1, row, 0, kBandUnits - 3, 0, 0,
                                               command, kItemEnabled, "", choices, "");
    if (i >= 0) {
      SetItemValue(i, choices);
      Item(i).pixelHeight = (count + 1) * RowPitch() + RowPitch() / 2;
    }
    row += count + 2;
  }
  // A button `lines` rows high.
  void Button(const char* name, const char* caption, int column, int command, int lines) {
    const int i = AddScreenItem(caption, name, column, row, 0, 7, 7, unit, 'B', 0, 0, command, 'S',
                                kItemEnabled, 0, 6, 0, 0, "", "");
    if (i < 0) return;
    Item(i).pixelHeight = lines * RowPitch() - 4;
    Item(i).colorB = kRaisedButton;
  }
  void Note(const char* name) {
    AddScreenItem("", name, 1, row, 0, kBandUnits - 2, kNoteRoom, 0, 'X', 0, 0, 0, 'L',
                  kItemProtected, 2, 5, 0, 0, "", "");
    ++row;
  }
};

std::string TallySettingChoices(int type) {
  if (type == kPrintTypeTally) {
    return g_survey.tallyChoiceList.empty() ? "単純集計" : g_survey.tallyChoiceList;
  }
  return type == kPrintTypeRadarGraph ? "設問ごと,グループごと,グループ比較"
                                      : "設問ごと,グループごと";
}

// The candidates of the last page: " 1" to the number of pages, then "(10)".
std::string PageChoices() {
  const int kind = OutputKind();
  const int pages = kind >= 1 && kind <= kSurveyTallyKinds ? g_survey.pages[kind] : 0;
  std::string choices;
  for (int page = 1; page <= std::min(pages, kMaxPageChoices); ++page) {
    char text[8];
    std::snprintf(text, sizeof text, "%2d,", page);
    choices += text;
  }
  return choices + "(10)";
}

void AddItemsOfType(int type, int flag, int unit) {
  Band band;
  band.unit = unit;
  band.row = 1;
  band.Button("P00", "画面を|閉じます", 1, kCommandClose, 2);
  band.Button("P01", "印刷を|行います", 10, kCommandPrint, 2);
  band.row = 4;
  const bool list =
      type == kPrintTypeList || type == kPrintTypeCards || type == kPrintTypeLabels || type == kPrintTypeFieldList;
  if (list) {
    band.Text("SNO", "開 始 番 号", 8, "");
    band.Text("ENO", "終 了 番 号", 8, "");
  }
  if (type == kPrintTypeImageList) {
    band.Text("IMGNO", "ｲﾒｰｼﾞNo.", 4, "");
    band.Text("IMGPATH", "参照フォルダ", 9, "");
  }
  band.Number("TMGN", "上部余白", 3, 0, 999);
  band.Number("LMGN", "左側余白", 3, 0, 999);
  band.Popup("YOSI", "用紙ｻｲｽﾞ", 6, "Ａ４縦,Ａ４横,Ａ３縦,Ａ３横,Ｂ５縦,Ｂ５横,Ｂ４縦,Ｂ４横", 0);
  const bool inji = type == kPrintTypeList || type == kPrintTypeFieldList || IsTallyType(type) ||
                    (type == kPrintTypeLabels && flag == 2);
  if (inji) band.Number("INJI", IsTallyType(type) ? "文字ｻｲｽﾞ" : "印字ｻｲｽﾞ", 3, 4, 50);
  if (type == kPrintTypeList || type == kPrintTypeLabels || type == kPrintTypeFieldList ||
      type == kPrintTypeTally || IsBarType(type)) {
    band.Number("LPCH", "行 間 隔", 3, 0, 99);
  }
  if (type == kPrintTypeList || type == kPrintTypeFieldList)
    band.Number("LINE", "印字行数", 3, 1, 999);
  if (type == kPrintTypeFieldList) {
    band.Popup("PRFIELD", "印字内容", 8, "変 換 の 条 件,選択肢(重ね文字)", kCommandField);
  }
  if (type == kPrintTypeLabels) {
    band.Number("LWID", "ﾗﾍﾞﾙ横幅", 3, 1, 999);
    band.Number("LHIG", "ﾗﾍﾞﾙ高さ", 3, 1, 999);
    band.Number("RCNT", "列数(横)", 2, 1, 99);
    band.Number("LCNT", "行数(縦)", 2, 1, 99);
    band.Number("YMGN", "上部余白", 3, 0, 999);
    band.Number("XMGN", "左側余白", 3, 0, 999);
    band.Choices('R', "WPRN", "枠 印 刷", "×,○", 0);
  }
  if (IsBarType(type)) {
    band.Number("NOTCH", "１％の幅", 3, 1, 99);
    band.Number("LHIG", "グラフ幅", 3, 1, 999);
  }
  if (IsRoundType(type)) {
    band.Number("NOTCH", "ｸﾞﾗﾌ直径", 3, 1, 999);
    band.Number("RCNT", "ｸﾞﾗﾌ列数", 2, 1, 9);
    band.Number("RSPC", "横ｸﾞﾗﾌ間", 3, 0, 999);
  }
  if (type == kPrintTypeImageList) {
    band.Number("LHIG", "欄サイズ", 3, 1, 999);
    band.Number("RCNT", "列数", 2, 1, 9);
    band.Number("RSPC", "横の間隔", 3, 0, 999);
    band.Number("LINE", "行数", 2, 1, 99);
  }
  if (IsTallyType(type) || type == kPrintTypeImageList) {
    const char* gap = type == kPrintTypeTally ? "集計表間"
                      : IsBarType(type)       ? "グラフ間"
                      : IsRoundType(type)     ? "縦ｸﾞﾗﾌ間"
                                              : "縦の間隔";
    band.Number("GSPC", gap, 3, 0, 999);
  }
  if (type == kPrintTypeRadarGraph) band.Number("SAIDAI", "最大値％", 3, 1, 100);
  if (!IsTallyType(type)) return;
  band.Choices('R', "NOPUT", "頁No印刷", "●,×", 0);
  band.Popup("クロス設定", "集計方法", 8, TallySettingChoices(type).c_str(), kCommandTallySetting);
  band.Choices('C', "印字項目", "印字項目",
               type == kPrintTypeTally ? "横合計,縦合計,選択肢番号,データ件数,無回答,選択数超過"
                                       : "無回答,選択数超過",
               kCommandItems);
  if (type != kPrintTypeBarGraph) {  // bars show both
    band.Choices('C', "件数％印字", "件数・％",
                 type == kPrintTypePieGraph ? "件数,比率(％),凡例に件数" : "件数,比率(％)",
                 kCommandCountPercent);
  }
  if (type == kPrintTypeTally) {
    band.Choices('R', "百分率計算", "百分率の計算", "ﾃﾞｰﾀ件数で割る,ﾁｪｯｸ総数で割る,設問ごとに設定",
                 kCommandPercentBase);
  }
  band.Number("STTPAGE", "開始頁", 2, 1, 99);
  band.Text("ENDPAGE", "終了頁", 4, PageChoices().c_str());
  band.Note("PRNMSG01");
  band.Note("PRNMSG02");
  ++band.row;
  band.Button("FLGSET", "様 式 設 定", 1, kCommandLayout, 1);
  band.Button(type == kPrintTypeTally ? "CSVPUT" : "COLSET",
              type == kPrintTypeTally ? "CSVﾌｧｲﾙ出力" : "グラフの配色", 10, kCommandOutput, 1);
}

// ---- Fields and settings ------------------------------------------------

struct IntField {
  const char* name;
  int PrintSettings::*setting;
};
const IntField kIntFields[] = {
    {"TMGN", &PrintSettings::topMargin},      {"LMGN", &PrintSettings::leftMargin},
    {"INJI", &PrintSettings::charSize},       {"LPCH", &PrintSettings::lineSpacing},
    {"LINE", &PrintSettings::lines},          {"LWID", &PrintSettings::labelWidth},
    {"LHIG", &PrintSettings::labelHeight},    {"RCNT", &PrintSettings::columns},
    {"LCNT", &PrintSettings::labelRows},      {"RSPC", &PrintSettings::gapX},
    {"GSPC", &PrintSettings::gapY},           {"YMGN", &PrintSettings::labelTop},
    {"XMGN", &PrintSettings::labelLeft},      {"NOTCH", &PrintSettings::notch},
    {"SAIDAI", &PrintSettings::radarMaximum},
};

// The index (from 1) of `text` among the comma list `choices`; 0 if none.
int ChoiceIndexOf(const char* choices, const std::string& text) {
  const std::vector<std::string> list = SplitCommaList(choices);
  for (size_t i = 0; i < list.size(); ++i) {
    if (list[i] == text) return static_cast<int>(i) + 1;
  }
  return 0;
}

// The texts the fields showed when last filled or read: closing stores
// only what the user changed since, so a field the screen could not show
// never overwrites its stored setting.
std::map<std::string, std::string> g_shownTexts;

void RememberShownTexts() {
  g_shownTexts.clear();
  const int slot = W().slot;
  if (!IsValidSlot(slot)) return;
  const WindowSlot& s = Slot(slot);
  for (int i = s.firstItem; i < s.firstItem + s.itemCount; ++i) {
    const std::string& name = Item(i).name;
    if (!name.empty()) g_shownTexts[name] = GetFieldTextPtr(name.c_str());
  }
}

// True when the field is on the band and its text is not what it showed.
bool Edited(const char* name) {
  if (!HasField(name)) return false;
  const auto shown = g_shownTexts.find(name);
  return shown == g_shownTexts.end() || shown->second != GetFieldTextPtr(name);
}

void FillFields() {
  const PrintSettings& s = g_printSettings;
  if (HasField("SNO")) SetFieldText("SNO", s.startCode.c_str());
  if (HasField("ENO")) SetFieldText("ENO", s.endCode.c_str());
  SetFieldText("YOSI", s.paper.c_str());
  for (const IntField& f : kIntFields) {
    if (HasField(f.name)) SetFieldInt(f.name, s.*f.setting);
  }
  if (HasField("WPRN")) SetFieldText("WPRN", s.framePrint == 1 ? "2" : "1");
  if (HasField("PRFIELD")) SetFieldText("PRFIELD", s.field.c_str());
  if (HasField("IMGNO"))
    SetFieldText("IMGNO", W().rangeStart.empty() ? "01" : W().rangeStart.c_str());
  if (!W().rangeStart.empty() && HasField("IMGNO")) ProtectField("IMGNO");
  if (HasField("IMGPATH") && s.csvOutput == 1) SetFieldText("IMGPATH", s.file.c_str());
  if (!IsTallyType(W().printType)) return;
  const std::string items = s.printItems;
  SetFieldText("印字項目",
               W().printType == kPrintTypeTally
                   ? items.c_str()
                   : (items.size() >= 6 ? items.substr(4, 2) : std::string("00")).c_str());
  if (HasField("件数％印字")) SetFieldText("件数％印字", s.countPercent.c_str());
  if (HasField("百分率計算")) SetFieldInt("百分率計算", s.percentBase);
  SetFieldText("NOPUT", s.pageNumbers > 0 ? "1" : "2");
  const std::vector<std::string> settings = SplitCommaList(TallySettingChoices(W().printType));
  if (W().tallySetting >= 1 && W().tallySetting <= static_cast<int>(settings.size())) {
    SetFieldText("クロス設定", settings[W().tallySetting - 1].c_str());
  }
  char page[8];
  std::snprintf(page, sizeof page, "%d", g_tally.startPage);
  SetFieldText("STTPAGE", page);
  if (g_tally.endPage > 0) SetFieldInt("ENDPAGE", g_tally.endPage);
  SetFieldText("PRNMSG01", g_tally.pageNote[0].c_str());
  SetFieldText("PRNMSG02", g_tally.pageNote[1].c_str());
  if (W().printType == kPrintTypeRadarGraph) {
    if (OutputKind() == 12) {
      ProtectField("件数％印字");
    } else {
      UnprotectField("件数％印字");
    }
  }
  RememberShownTexts();
}

// What reading the fields found.
enum class FieldsRead { kRefused, kUnchanged, kChanged };

// Reads the fields the user changed into the settings: refused when the
// range of codes runs backwards (after the message; the focus goes to ENO).
FieldsRead ReadFields() {
  PrintSettings& s = g_printSettings;
  if (HasField("SNO")) {
    const std::string start = GetFieldTextPtr("SNO");
    const std::string end = GetFieldTextPtr("ENO");
    if (!start.empty() && !end.empty() && end < start) {
      ShowInfoMessage("", "コード番号の設定(%s～%s)が間違っています。", start.c_str(), end.c_str());
      FocusField("ENO");
      return FieldsRead::kRefused;
    }
    if (Edited("SNO")) s.startCode = start;
    if (Edited("ENO")) s.endCode = end;
  }
  const std::string paper = GetFieldTextPtr("YOSI");
  if (Edited("YOSI") && !paper.empty() && paper != s.paper) {
    s.paper = paper;
    W().page = ComputePreviewPage(s.paper, s.previewReduction);
  }
  for (const IntField& f : kIntFields) {
    if (Edited(f.name)) s.*f.setting = GetFieldInt(f.name);
  }
  if (Edited("WPRN")) s.framePrint = GetFieldInt("WPRN") == 2 ? 1 : -1;
  if (Edited("NOPUT")) s.pageNumbers = GetFieldInt("NOPUT") == 1 ? 1 : 0;
  if (Edited("STTPAGE")) g_tally.startPage = std::max(1, GetFieldInt("STTPAGE"));
  if (Edited("ENDPAGE")) g_tally.endPage = GetFieldInt("ENDPAGE");
  if (Edited("IMGNO")) s.startCode = GetFieldTextPtr("IMGNO");
  if (Edited("IMGPATH") && s.csvOutput == 1) s.file = GetFieldTextPtr("IMGPATH");
  bool any = false;
  for (auto& [name, shown] : g_shownTexts) {
    if (!HasField(name.c_str())) continue;
    const std::string now = GetFieldTextPtr(name.c_str());
    if (now != shown) any = true;
    shown = now;
  }
  if (!any) return FieldsRead::kUnchanged;
  W().changed = 1;
  return FieldsRead::kChanged;
}

// ---- The owner and the preview -----------------------------------------

void SendToOwner(UINT message, WPARAM wParam) {
  if (W().owner) SendMessageA(W().owner, message, wParam, 0);
}

void RepaintPreview() {
  if (!W().preview) return;
  InvalidateRect(W().preview, nullptr, TRUE);
  UpdateWindow(W().preview);
}

// The preview beside the band: its size, scroll ranges and position.
void PlacePreview() {
  if (!W().preview || !W().window) return;
  RECT client{};
  GetClientRect(W().window, &client);
  const int unit = IsValidSlot(W().slot) ? Slot(W().slot).fontUnit : kBaseCharWidth;
  const int left = kBandUnits * unit;
  const int width = std::max(0, static_cast<int>(client.right) - left);
  MoveWindow(W().preview, left, 0, width, client.bottom, TRUE);
  const int maxX = std::max(0, W().page.width - width);
  const int maxY = std::max(0, W().page.height - static_cast<int>(client.bottom));
  W().scrollX = std::min(W().scrollX, maxX);
  W().scrollY = std::min(W().scrollY, maxY);
  SetScrollRange(W().preview, SB_HORZ, 0, maxX, FALSE);
  SetScrollRange(W().preview, SB_VERT, 0, maxY, FALSE);
  SetScrollPos(W().preview, SB_HORZ, W().scrollX, TRUE);
  SetScrollPos(W().preview, SB_VERT, W().scrollY, TRUE);
  ShowWindow(W().preview, SW_SHOW);
}

void MovePage(int command) {
  const int kind = OutputKind();
  const int last = kind >= 1 && kind <= kSurveyTallyKinds ? std::max(1, g_survey.pages[kind]) : 1;
  int& page = g_tally.startPage;
  switch (command) {
    case kCommandPrint: page = std::max(1, page - 1); break;
    case kCommandNextPage: page = std::min(last, page + 1); break;
    case kCommandFirstPage: page = 1; break;
    default: page = last; break;
  }
  char text[8];
  std::snprintf(text, sizeof text, "%d", page);
  SetFieldText("STTPAGE", text);
  RepaintPreview();
}

// In the page fields of tallies and graphs F1 to F4 turn the preview's
// pages.
bool InPageMode() {
  if (!IsTallyType(W().printType)) return false;
  char name[64] = "";
  GetFieldNameByRef("/CUR", name);
  return std::strcmp(name, "STTPAGE") == 0 || std::strcmp(name, "ENDPAGE") == 0;
}

void SaveSettings() {
  if (IsTableType(W().printType)) {
    SavePrintTableSettings(g_printSettings.code.c_str());
    SavePrintFlags();
  } else {
    SavePrintSettings(g_printSettings.code.c_str());
  }
}

// A new tally setting: the old one's settings saved, the new one's loaded.
void ChangeTallySetting() {
  const int setting =
      ChoiceIndexOf(TallySettingChoices(W().printType).c_str(), GetFieldTextPtr("クロス設定"));
  if (setting < 1 || setting == W().tallySetting) return;
  if (W().changed) SavePrintTableSettings(g_printSettings.code.c_str());
  W().tallySetting = setting;
  g_printSettings.tallySetting = setting;
  LoadPrintTableSettings(TallyPrintCode(W().printType, setting).c_str());
  if (g_printSettings.pageNumbers < 0) g_printSettings.pageNumbers = 0;
  LoadSurveyQuestionList(OutputKind());
  g_tally.startPage = 1;
  SetFieldItems("ENDPAGE", PageChoices().c_str());
  FillFields();
  W().changed = 0;
  RepaintPreview();
}

void TakeItems() {
  const std::string boxes = GetFieldTextPtr("印字項目");
  if (W().printType == kPrintTypeTally) {
    g_printSettings.printItems = boxes;
  } else {
    char items[16];
    std::snprintf(items, sizeof items, "0000%2s", boxes.c_str());
    for (char& c : items) {
      if (c == ' ') c = '0';
    }
    g_printSettings.printItems = items;
  }
}

// The boxes as clicked: the one that changed is the first that differs.
void TakeCountPercent() {
  const std::string boxes = GetFieldTextPtr("件数％印字");
  const std::string before = g_printSettings.countPercent;
  int box = 0;
  for (size_t i = 0; i < boxes.size() && box == 0; ++i) {
    if (i >= before.size() || boxes[i] != before[i]) box = static_cast<int>(i) + 1;
  }
  if (box == 0) return;
  g_printSettings.countPercent =
      ToggleCountPercent(before, box, boxes[box - 1] == '1', W().printType);
  SetFieldText("件数％印字", g_printSettings.countPercent.c_str());
}

void CloseScreen() {
  if (!IsValidSlot(W().slot)) return;
  ReadFields();
  SaveSettings();
  const int slot = W().slot;
  W().slot = -1;
  if (W().preview) ShowWindow(W().preview, SW_HIDE);
  CloseScreenWindow(slot, 1);
  ShowWindow(W().window, SW_HIDE);
  if (W().owner) {
    EnableWindow(W().owner, TRUE);
    SendToOwner(kMsgWindowBack, OutputKind());
  }
}

void HandleCommand(int command) {
  if (command == kCommandClose) {
    CloseScreen();
    return;
  }
  const FieldsRead read = ReadFields();
  if (read == FieldsRead::kRefused) return;
  if (command >= kCommandPrint && command <= kCommandLastPage && InPageMode()) {
    MovePage(command);
    return;
  }
  switch (command) {
    case kCommandPrint: SendToOwner(kMsgPrintOutput, OutputKind()); return;
    case kCommandResetView:
      W().scrollX = W().scrollY = 0;
      PlacePreview();
      break;
    case kCommandLayout: SendToOwner(kMsgPrintOptions, 1); return;
    case kCommandOutput:
      SendToOwner(kMsgPrintOptions, W().printType == kPrintTypeTally ? 2 : 3);
      return;
    case kCommandManual:
      if (IsCtrlKeyHeld()) {
        ChooseAdobeReader();
      } else {
        OpenManualPdf("百分率算出.PDF");
      }
      return;
    case kCommandSort: g_printSettings.quoteTexts = GetFieldInt("PSORT"); break;
    case kCommandLowerLimit: g_printSettings.lowerLimit = GetFieldInt("TMIN"); break;
    case kCommandTallySetting: ChangeTallySetting(); return;
    case kCommandItems: TakeItems(); break;
    case kCommandCountPercent: TakeCountPercent(); break;
    case kCommandPercentBase: g_printSettings.percentBase = GetFieldInt("百分率計算"); break;
    case kCommandField: g_printSettings.field = GetFieldTextPtr("PRFIELD"); break;
    default:
      // A field left by a key: the preview follows what it committed.
      ApplyPendingFocus();
      if (read == FieldsRead::kUnchanged) return;
      break;
  }
  RepaintPreview();
}

// Opens the band built for the settings, full size, with the preview.
int OpenBand(HWND owner, int printType, int tallySetting, const char* title, const char* start,
             const char* end, int flag) {
  PrintSettingsWindowState& w = W();
  if (!w.window) return -1;
  w.owner = owner;
  w.printType = printType;
  w.tallySetting = tallySetting;
  w.title = title ? title : "";
  w.rangeStart = start ? start : "";
  w.rangeEnd = end ? end : "";
  w.flag = flag;
  w.changed = 0;
  g_printSettings.printType = printType;
  g_printSettings.tallySetting = tallySetting;
  g_printSettings.previewReduction = 1.0;
  const int size = GetScreenSizeClass();
  const int unit = size == 1 ? 6 : size == 2 ? 7 : 9;
  const int slot = FindFreeWindowSlot();
  if (slot < 0) return -1;
  SetSlotFontUnit(slot, unit);
  AddItemsOfType(printType, flag, unit);
  if (OpenScreenWindow(w.window, -5, -5, -5, -5, 0, 0, 1, 0, 0, w.title.c_str()) != 0) return -1;
  if (owner) EnableWindow(owner, FALSE);
  return 0;
}

// The tally's cross settings follow the grouping items ticked on the list of
// its questions: none ticked hides them, else they offer the crosses.
void ShowCrossSettings() {
  const int choice = ResolveFieldRef(W().slot, "クロス設定");
  if (W().printType != kPrintTypeTally || choice < 0) return;
  const int groups = ReloadTallyQuestions();
  if (groups != 1 && groups != 2) return;
  Item(choice).state = groups == 2 ? kItemHidden : kItemEnabled;
  SetFieldItems("クロス設定", TallySettingChoices(W().printType).c_str());
  // A cross no longer offered gives way to the simple tally.
  const std::vector<std::string> settings = SplitCommaList(TallySettingChoices(W().printType));
  if (W().tallySetting > static_cast<int>(settings.size())) {
    SetFieldText("クロス設定", settings[0].c_str());
    ChangeTallySetting();
  }
  InvalidateRect(W().window, nullptr, TRUE);
}

}  // namespace

void CreatePrintPreviewWindow(HWND settingsWindow) {
  W().window = settingsWindow;
  WNDCLASSA wc{};
  wc.lpfnWndProc = PrintPreviewWndProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
  wc.lpszClassName = "Fom";
  if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return;
  W().preview = CreateWindowA("Fom", "", WS_CHILD | WS_HSCROLL | WS_VSCROLL, 0, 0, 0, 0,
                              settingsWindow, nullptr, GetModuleHandleA(nullptr), nullptr);
}

int BuildPrintSettingsScreen(HWND owner, int printType, int tallySetting, const char* title,
                             const char* printCode, const char* start, const char* end, int flag) {
  g_printSettings.printType = printType;
  FindPrintSettingsLine(printCode);
  g_printSettings.startCode = start ? start : "";
  g_printSettings.endCode = end ? end : "";
  return OpenBand(owner, printType, tallySetting, title, start, end, flag);
}

int OpenPrintOptionsScreen(HWND owner, int printType, int tallySetting, const char* title,
                           const char* printCode, const char* start, const char* end, int flag) {
  g_printSettings.printType = printType;
  if (LoadPrintTableSettings(printCode) != 0 || LoadPrintFlags() != 0) return -1;
  return OpenBand(owner, printType, tallySetting, title, start, end, flag);
}

void ReloadPrintSettingsQuestions() {
  if (!IsValidSlot(W().slot)) return;
  SelectWindowSlot(W().slot);
  ShowCrossSettings();
  LoadSurveyQuestionList(OutputKind());
  g_tally.startPage = 1;
  SetFieldItems("ENDPAGE", PageChoices().c_str());
  FillFields();
  RepaintPreview();
}

void ApplyPrintSettingsWindowTarget() {
  const PrintSettingsWindowState& w = W();
  if (!IsValidSlot(w.slot)) return;
  ReportOutputContext& r = g_reportOutput;
  r.fromPrintSettings = 0;
  r.requestingWindow = w.window;
  r.requestParameter = OutputKind();
  r.originX = w.scrollX;
  r.originY = w.scrollY;
  SetReportPreviewWindow(w.preview, w.page.zoom);
}

LRESULT CALLBACK PrintSettingsWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  PrintSettingsWindowState& w = W();
  switch (message) {
    case kMsgSlotOpened:
      w.slot = static_cast<int>(wParam);
      w.scrollX = w.scrollY = 0;
      w.page = ComputePreviewPage(g_printSettings.paper, g_printSettings.previewReduction);
      FillFields();
      PlacePreview();
      RepaintPreview();
      return 0;
    case kMsgScreenCommand: HandleCommand(static_cast<int>(wParam)); return 0;
    case kMsgFieldChosen:  // a field was left, or its candidate chosen
      if (wParam == kCommandTallySetting || wParam == kCommandField) {
        HandleCommand(static_cast<int>(wParam));
      } else if (ReadFields() == FieldsRead::kChanged) {
        RepaintPreview();
      }
      return 0;
    case kMsgPreviewOutput:  // a printer job of this screen ended
      RepaintPreview();
      return 0;
    case kMsgCloseWindow:
    case WM_CLOSE: CloseScreen(); return 0;
    case WM_SIZE: PlacePreview(); break;
    case WM_PAINT:
      if (IsValidSlot(w.slot) && BeginScreenPaint(window, w.slot)) {
        PaintScreenPage(window, w.slot);
        EndScreenPaint();
        return 0;
      }
      break;
    case WM_LBUTTONUP:
      ScreenChildWndProc(window, message, wParam, lParam);
      if (IsValidSlot(w.slot) && ReadFields() == FieldsRead::kChanged) RepaintPreview();
      return 0;
    case WM_LBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_MOUSELEAVE:
    case WM_TIMER:
    case WM_SETFOCUS: return ScreenChildWndProc(window, message, wParam, lParam);
    default: break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK PrintPreviewWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  PrintSettingsWindowState& w = W();
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      const RECT page{-w.scrollX, -w.scrollY, w.page.width - w.scrollX, w.page.height - w.scrollY};
      FillRect(dc, &page, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
      if (w.page.framed) {
        GdiOwner<HPEN> pen(CreatePen(PS_SOLID, 1, ColorFromCode(2)));
        SelectScope usePen(dc, pen.get());
        SelectScope useBrush(dc, GetStockObject(NULL_BRUSH));
        Rectangle(dc, page.left + w.page.inset, page.top + w.page.inset, page.right - w.page.inset,
                  page.bottom - w.page.inset);
      }
      EndPaint(window, &paint);
      // The owner draws the page's contents once the window is painted.
      if (w.owner && IsValidSlot(w.slot)) PostMessageA(w.owner, kMsgPreviewOutput, OutputKind(), 0);
      return 0;
    }
    case WM_HSCROLL:
    case WM_VSCROLL: {
      const bool across = message == WM_HSCROLL;
      int& position = across ? w.scrollX : w.scrollY;
      int low = 0, high = 0;
      GetScrollRange(window, across ? SB_HORZ : SB_VERT, &low, &high);
      switch (LOWORD(wParam)) {
        case SB_LINEUP: position -= 10; break;
        case SB_LINEDOWN: position += 10; break;
        case SB_PAGEUP: position -= 100; break;
        case SB_PAGEDOWN: position += 100; break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK: position = HIWORD(wParam); break;
        default: return 0;
      }
      position = std::clamp(position, low, high);
      SetScrollPos(window, across ? SB_HORZ : SB_VERT, position, TRUE);
      InvalidateRect(window, nullptr, TRUE);
      return 0;
    }
    default: break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void ShowTallyPageRange() {
  const PrintSettingsWindowState& w = W();
  if (!IsValidSlot(w.slot) || !IsTallyType(w.printType)) return;
  char page[8];
  std::snprintf(page, sizeof page, "%d", g_tally.startPage);
  SetScreenFieldText(w.slot, "STTPAGE", page);
  SetScreenFieldText(w.slot, "PRNMSG01", g_tally.pageNote[0].c_str());
  SetScreenFieldText(w.slot, "PRNMSG02", g_tally.pageNote[1].c_str());
}
