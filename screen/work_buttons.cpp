// The button bar of the OCR-sheet workbench: in design mode (1) every
// button, in operation mode (2) the buttons the sheet's mask leaves, packed
// from the left; the image shift and stretch buttons, the side switch, the
// scanner fields and the message lines; opened on the workbench window.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "foundation/db.h"
#include "foundation/msgbox.h"
#include "screen/screen.h"

WorkbenchSettings g_workbench;
WorkbenchMetrics g_workbenchMetrics;

namespace {

constexpr int kBarWindowCode = 90;
constexpr int kButtonStep = 5;       // units from one button to the next
constexpr int kPanelButtonWidth = 40;
constexpr int kPanelMargin = 36;
constexpr int kHidden = kItemHidden;
// The side switch: room for "１枚目" beside its boxes, and two lines of
// boxes below the caption row.
constexpr int kSideSwitchWidth = 8;
constexpr int kSideSwitchHeight = 48;
constexpr char kMarkStateGuide[] = "基準位置の登録状態";

// One button of the bar: its mask position in operation mode (-1: always,
// -2: design mode only) and its place in design mode.
struct WorkButton {
  const char* name;
  int command;
  const char* caption;
  const char* bitmap;
  const char* guide;
  const char* choices;
  int designPlace;   // -1: not in design mode
  int maskPosition;  // -1: always in operation mode, -2: never
};

const WorkButton kButtons[] = {
    {"PRJESC", 100, "閉じる", "QUIT_S.BMP", "画面を閉じて終了します", "", 0, -1},
    {"PRINT", 112, "印刷", "OCRPRN_O.BMP", "読み取りを行うＯＣＲシートを印刷します", "", 1, 0},
    {"OCRREAD", 113, "読取", "OCRRED_O.BMP", nullptr, "", 2, 1},
    {"IMGCHR", 114, "変換", "IMGCHR_O.BMP", "読み取ったイメージをデータ化します", "", 3, -2},
    {"LOGDSP", 115, "ログ", "LOGDSP_O.BMP",
     "エラーログ(読み取りエラー情報)の表示、または、削除を行います", "エラーログ表示,エラーログ削除", 4, 2},
    {"CARDINP", 116, "ｶｰﾄﾞ", "CARD_O.BMP", "読み取った内容をカード形式で表示します", "", 5, -2},
    {"ZOKUSEI", 116, "属性", "ZOKUSEI_O.BMP", "記入欄やテキスト項目の属性を変更します",
     " マーク欄, 質問内容, 説明文等, 囲 み 枠,ｸﾘｯﾌﾟﾎﾞｰﾄﾞ", -1, 3},
    {"LISTINP", 117, "一覧", "LIST_O.BMP", "読み取った内容を一覧表形式で表示します", "", 6, 4},
    {"DELTBL", 119, "初期化", "DELTBL_O.BMP",
     "読み取った内容を出力するテーブル、または、イメージファイルを削除します", "", 7, -2},
    {"DATCLR", 119, "初期化", "DELTBL_O.BMP", "読み取ったデータ、イメージ、ログなどを削除します", "", -1, 6},
    {"OCREDT", 120, "編集", "OCREDT_O.BMP", "フォーマット編集モードの切り換えを行います", "", 8, -2},
};

const char* ReadGuide(int mode) {
  return mode == 1 ? "イメージスキャナでテスト読み取りを行います"
                   : "イメージスキャナで読み取りを行いデータ化します";
}

bool Shown(const WorkButton& b, int mode, const std::string& mask) {
  if (mode == 1) return b.designPlace >= 0;
  if (b.maskPosition == -1) return true;
  if (b.maskPosition < 0) return false;
  return static_cast<size_t>(b.maskPosition) < mask.size() && mask[b.maskPosition] == '1';
}

bool MaskSet(const std::string& mask, size_t position) {
  return position < mask.size() && mask[position] == '1';
}

// Adds an item and reports whether the table took it.
bool Added(int item) { return item >= 0; }

class BarBuilder {
 public:
  explicit BarBuilder(int mode) : mode_(mode) {}

  int Build() {
    const std::string& mask = g_workbench.buttonMask;
    int n = 0;
    for (const WorkButton& b : kButtons) {
      if (!Shown(b, mode_, mask)) continue;
      const int place = mode_ == 1 ? b.designPlace : n;
      if (!Added(AddScreenIconButton(b.caption, b.name, kButtonStep * place + 2, b.command, kItemEnabled,
                                     b.bitmap, b.guide ? b.guide : ReadGuide(mode_), b.choices))) {
        return -1;
      }
      ++n;
      next_ = std::max(next_, kButtonStep * (place + 1) + 2);
    }
    shownButtons_ = n;
    if (MaskSet(mask, 7) && AddShiftButtons() != 0) return -1;
    if (MaskSet(mask, 8) && AddStretchButtons() != 0) return -1;
    if (AddSideSwitch() != 0 || AddEditButtons() != 0 || AddRightSide() != 0) return -1;
    return 0;
  }

  int shownButtons() const { return shownButtons_; }

 private:
  int AddShiftButtons() {
    const int x = next_;
    const bool ok = Added(AddScreenButton("", "LT", x, 3, 17, 151, kItemEnabled, "LT_O.BMP",
                                          "読み取ったイメージを１ﾋﾟｸｾﾙ 左へ移動します", "")) &&
                    Added(AddScreenButton("", "RT", x + 4, -1, 17, 152, kItemEnabled, "RT_O.BMP",
                                          "読み取ったイメージを１ﾋﾟｸｾﾙ 右へ移動します", "")) &&
                    Added(AddScreenButton("", "UP", x + 2, 0, 6, 153, kItemEnabled, "UP_O.BMP",
                                          "読み取ったイメージを１ﾋﾟｸｾﾙ 上へ移動します", "")) &&
                    Added(AddScreenButton("ｲﾒｰｼﾞｼﾌﾄ", "DW", x + 2, 0, 28, 154, kItemEnabled, "DW_O.BMP",
                                          "読み取ったイメージを１ﾋﾟｸｾﾙ 下へ移動します", ""));
    next_ += 8;
    return ok ? 0 : -1;
  }

  int AddStretchButtons() {
    const char* names[] = {"MAGNI1", "REDUCT1", "MAGNI2", "REDUCT2"};
    const char* captions[] = {"", "", "", "　ｲﾒｰｼﾞ伸縮"};
    const char* guides[] = {"読み取ったイメージを横方向に拡大します", "読み取ったイメージを横方向に縮小します",
                            "読み取ったイメージを縦方向に拡大します", "読み取ったイメージを縦方向に縮小します"};
    for (int k = 0; k < 4; ++k) {
      const std::string bitmap = std::string(names[k]) + ".BMP";
      if (!Added(AddScreenButton(captions[k], names[k], next_ + 4 * (k % 2), 0, k < 2 ? 6 : 28, 156 + k,
                                 kItemEnabled, bitmap.c_str(), guides[k], ""))) {
        return -1;
      }
    }
    for (int k = 0; k < 2; ++k) {
      const char* name = k == 0 ? "IMGRATE1" : "IMGRATE2";
      const char* guide = k == 0 ? "イメージの横方向の倍率" : "イメージの縦方向の倍率";
      if (!Added(AddScreenItem("", name, next_ + 8, 10 + 22 * k, 0, 4, 4, 7, 'N', 2, 0, 0, 'R',
                               kItemEnabled, 0, 5, 0, 0, guide, ""))) {
        return -1;
      }
    }
    next_ += 15;
    return 0;
  }

  int AddSideSwitch() {
    const int i = AddScreenRadio("", "RYOUMEN", next_, 40, 0, kSideSwitchWidth, 23, 7, 204, kHidden,
                                 "｢表面｣と｢裏面｣の表示を切り替えます", "表面,裏面", "");
    if (!Added(i)) return -1;
    Item(i).xOffset = 2;
    Item(i).minimum = -1.0;
    // Its two lines one under the other, each as tall as its box.
    Item(i).pixelHeight = kSideSwitchHeight;
    return Added(AddScreenItemX("表示面", "RYOUTTL", next_, 0, 20, 1, 7, kItemEnabled)) ? 0 : -1;
  }

  int AddEditButtons() {
    int x = next_ + 10;
    if (mode_ == 1) {
      if (!Added(AddScreenButton("項目移動", "FLDIDOU", x, -4, 8, 121, kHidden, "FLDIDOU.BMP",
                                 "表(裏)の項目を裏(表)に移動します", "チェック欄,テキスト項目"))) {
        return -1;
      }
      x += kButtonStep;
    } else {
      x += 6;
    }
    if (!Added(AddScreenButton("拡大", "WITHIMG", x, 0, 8, 133, kItemEnabled, "WITHIMG.BMP",
                               "イメージを拡大して表示します", ""))) {
      return -1;
    }
    x += kButtonStep;
    if (mode_ == 1) {
      if (!Added(AddScreenStatic("基準位置登録", "OCRFORM", x, 8, 11, 26, 128, kItemEnabled,
                                 "シートのズレを自動補正するための基準位置を登録します",
                                 "基準になる位置を登録,登録された位置を消去,{1}")) ||
          !Added(AddScreenItem("", "位置記憶", x, 40, 0, 12, 12, 7, 'X', 0, 0, 105, 'L', kItemEnabled, 0,
                               5, 0, 0, kMarkStateGuide, ""))) {
        return -1;
      }
      x += 14;
    }
    if (!Added(AddScreenRadio("自動配置(ｽﾅｯﾌﾟ)", "スナップ", x, 8, 0, -1, 23, 7, 205, kHidden, "", "", "")) ||
        !Added(AddScreenRadio("読取ｲﾒｰｼﾞ表示", "IMGDISP", x, 40, 0, -1, 23, 7, 202, kHidden,
                              "スキャナーで読み取られたイメージを表示します", "", ""))) {
      return -1;
    }
    x += 16;
    if (mode_ != 1) return 0;
    if (GetOcrIniSettings().entryFlag == 1 &&
        !Added(AddScreenButton("一覧表", "OCRJYOK", 114, 0, 8, 123, kItemEnabled, "ZOKUSEI_O.BMP", "",
                               "記入欄,テキスト項目"))) {
      return -1;
    }
    const struct {
      const char *name, *caption, *guide, *choices;
      int command;
    } extra[] = {
        {"KNARABI", "並び", "記入欄の並び順を変更します", "記入欄,テキスト項目", 133},
        {"CHKLIST", "ﾁｪｯｸ覧", "チェック欄を一覧表形式で表示します", "", 134},
        {"KINPRIN", "印刷", "記入欄・チェック欄一覧表を印刷します", "", 135},
    };
    for (const auto& b : extra) {
      const std::string bitmap = std::string(b.name) + ".BMP";
      if (!Added(AddScreenButton(b.caption, b.name, x, 0, 8, b.command, kHidden, bitmap.c_str(), b.guide,
                                 b.choices))) {
        return -1;
      }
      x += kButtonStep;
    }
    return 0;
  }

  // The scanner and message fields at the right of the bar, one under the
  // other (the margins side by side).
  int AddRightSide() {
    const int unit = std::max(1, g_workbenchMetrics.unit);
    const int x = g_screen.metrics.screenWidth / unit - 27;
    constexpr int kRowStep = 24;
    int row = 8;
    auto field = [&](const char* name, int width, int command, const char* guide, const char* choices,
                     int state, int shift = 0) {
      return Added(AddScreenItem("", name, x + shift, row, 0, width, width, 7, 'X', 0, 0, command, 'L', state, 0,
                                 5, 0, 0, guide, choices));
    };
    // A short name to the left of a field, shown and hidden with it.
    auto label = [&](const char* text, const char* field, int state) {
      const std::string name = std::string(field) + "TTL";
      const int columns = static_cast<int>(std::strlen(text)) + 1;
      return Added(AddScreenItemX(text, name.c_str(), x - columns, 0, row + 3, 1, 7, state));
    };
    auto nextField = [&](const char* name, int width, int command, const char* guide, const char* choices,
                         int state) {
      const bool added = field(name, width, command, guide, choices, state);
      row += kRowStep;
      return added;
    };
    if (mode_ == 2 && !nextField("位置記憶", 12, 105, kMarkStateGuide, "", kItemEnabled)) return -1;
    if (!label("ｽｷｬﾅ", "SCANER", kItemEnabled) ||
        !nextField("SCANER", 24, 125, "使用するイメージスキャナ名（TWAINドライバ名）", "", kItemEnabled)) {
      return -1;
    }
    const char* types = "フラットベッド,ＡＤＦ,ＡＤＦ両面,ＡＤＦ２枚１組,(4)";
    const char* levels = " 1, 2, 3, 4, 5, 6, 7, 8, 9,10,(10)";
    // With the scanner's own dialog the brightness is the dialog's: its field
    // stays hidden under the type.
    const bool ok = g_workbench.scannerDialog == 1
                        ? label("ﾀｲﾌﾟ", "SCNTYPE", kItemEnabled) &&
                              field("SCNTYPE", 12, 127, "使用するイメージスキャナのタイプ", types, kItemEnabled) &&
                              label("明るさ", "BRIGHT", kHidden) &&
                              nextField("BRIGHT", 4, 131, "イメージの濃度(明るさ)", levels, kHidden)
                        : label("明るさ", "BRIGHT", kItemEnabled) &&
                              nextField("BRIGHT", 4, 131, "イメージの濃度(明るさ)", levels, kItemEnabled) &&
                              label("ﾀｲﾌﾟ", "SCNTYPE", kItemEnabled) &&
                              nextField("SCNTYPE", 12, 127, "使用するイメージスキャナのタイプ", types, kItemEnabled);
    // The left margin, and beside it the top one.
    if (!ok || !label("余白", "LMGN", kItemEnabled) || !field("LMGN", 4, 0, "イメージの左側の余白（ﾋﾟｸｾﾙ）", "", kItemEnabled) ||
        !field("TMGN", 4, 0, "イメージの上部の余白（ﾋﾟｸｾﾙ）", "", kItemEnabled, 6)) {
      return -1;
    }
    row += kRowStep;
    if (!nextField("OCRMSG", 26, 0, "読み取りの結果と進み具合", "", kItemEnabled)) return -1;
    const std::string& mask = g_workbench.buttonMask;
    if (mode_ == 2 && (MaskSet(mask, 3) || MaskSet(mask, 4)) && !nextField("RECCNT", 20, 0, "出力テーブルに登録されている件数", "", kItemEnabled)) {
      return -1;
    }
    return field("EDITMSG", 26, 0, "編集モードの操作", "", kItemEnabled) ? 0 : -1;
  }

  int mode_;
  int next_ = 2;
  int shownButtons_ = 0;
};

}  // namespace

void SetScreenLayoutMetrics() {
  WorkbenchMetrics& w = g_workbenchMetrics;
  const ScreenMetrics& m = g_screen.metrics;
  w.unit = 8;
  w.columnStep = 5;
  w.rowHeight = 40;
  w.barHeight = 114;
  w.leftMargin = 40;
  w.divisor = 4;
  w.visibleColumns = std::min(w.sheetColumns, (m.screenWidth - 60) / 40);
  w.visibleRows = std::min(w.sheetRows, (m.placingHeight - 114 - 30) / 40);
  const int zoomCell = 5 * 8 * 2;
  w.zoomColumns = std::min(w.sheetColumns, (m.screenWidth - 60) / zoomCell);
  w.zoomRows = std::min(w.sheetRows, (m.placingHeight - 114 - 30) / zoomCell);
}

int BuildOcrWorkButtons(int mode, const char* title) {
  WorkbenchSettings& w = g_workbench;
  if (mode == 1) {
    w.buttonMask = "111110011";
    w.panelLayout[0] = w.panelLayout[1] = w.hiddenBar = 1;
    for (int& setting : w.otherSettings) setting = 1;
  } else if (w.hiddenBar == 2) {
    w.buttonMask = "000000000";
  }
  SetScreenLayoutMetrics();
  BarBuilder bar(mode);
  if (bar.Build() != 0) {
    DiscardBuildingItems();
    return -1;
  }
  const HWND workbench = FindWindowA("KQE_READ", nullptr);
  const ScreenMetrics& m = g_screen.metrics;
  const int pitch = 1;
  int rc;
  if (mode == 2 && (w.panelLayout[0] == 2 || w.panelLayout[1] == 2)) {
    rc = OpenScreenWindow(workbench, -3, -4, kPanelButtonWidth * bar.shownButtons() + kPanelMargin, 106, pitch,
                          kBarWindowCode, 2, 2, -1, title);
  } else if (mode == 2 && w.hiddenBar == 2) {
    rc = OpenScreenWindow(workbench, m.screenWidth, m.placingHeight, 1, 1, pitch, kBarWindowCode, 2, 2, -1, "");
  } else {
    rc = OpenScreenWindow(workbench, 0, 0, -5, -5, pitch, kBarWindowCode, 2, 2, -1, title);
  }
  return rc == 0 ? 0 : -1;
}
