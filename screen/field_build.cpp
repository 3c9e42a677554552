// BuildScreenFields: the field rows of a screen (S_FIELD) or of the project
// sheet (MUPA_FLD) turned into items of the screen being built, repeating
// groups unrolled into numbered members. Up to 400 fields a screen; a sheet
// has no such limit but the item table's 2100.
#include <algorithm>
#include <string>

#include "foundation/db.h"
#include "foundation/db_text.h"
#include "foundation/msgbox.h"
#include "foundation/sjis_text.h"
#include "screen/screen.h"
#include "screen/screen_words.h"

namespace {

// Default positions of fields without one start at this row counter.
constexpr int kFirstDefaultPlace = 3;

std::string Numbered(const std::string& name, int number) {
  char text[96];
  std::snprintf(text, sizeof text, number < 100 ? "%s%02d" : "%s%03d", name.c_str(), number);
  return text;
}

// The caption of member `number`: a leading "?" becomes the number.
std::string MemberCaption(const std::string& title, int number) {
  if (title.empty() || title[0] != '?') return title;
  return std::to_string(number) + title.substr(1);
}

// Texts spread over up to three columns: the second and third follow only
// when the second is set.
std::string JoinedColumns(int t, const char* first, const char* second, const char* third) {
  std::string text = GetColumnText(t, first);
  const std::string more = GetColumnText(t, second);
  if (!more.empty()) text += more + GetColumnText(t, third);
  return text;
}

// Where a row's members stand and how they are named.
struct Member {
  int k;             // 1 .. members
  int number;        // the member number in names and captions
  bool grouped;
};

// The values of an OCR-sheet item that MUPA_FLD gives beyond the field row.
void TakeSheetValues(int t, int i, const Member& m, int members) {
  const ScreenFieldRecord& r = g_screenDefs.row;
  ScreenItem& item = Item(i);
  const std::string frame = GetColumnText(t, "タイトル枠");
  item.itemClass = kItemClassSheet;
  item.frameStyle = frame == "有" || frame == "点" ? 1 : frame == "実" ? 2 : 0;
  item.boxWidth = GetColumnInt(t, "横幅");
  item.boxHeight = GetColumnInt(t, "高さ");
  item.rowGap = r.rowGap;
  item.faceFlag = std::string(GetColumnText(t, "文字種別")) == "Ｇ" ? 1 : 0;
  const bool check = item.edit == 'C';
  const bool text = !item.code.empty() && item.code[0] == 'T';
  item.markType = GetColumnInt(t, "マーク型");
  if (check) {
    item.fontCode = ChoiceFontCode(GetColumnText(t, "選択肢フォント"));
    item.threshold = GetColumnInt(t, "しきい値");
    if (item.threshold == 0) item.threshold = 10;
  } else {
    item.threshold = text ? GetColumnInt(t, "しきい値") : 0;
  }
  item.fullWidth = r.fullWidth;
  item.memberNumber = GetColumnInt(t, "配列番号");
  item.groupSize = 0;
  item.overlapDigit = r.overlapDigit;
  const int firstPrinted = GetColumnInt(t, "印字開始番号");
  if (firstPrinted > 0) item.memberNumber = firstPrinted + m.k - 1;
  item.groupMode = !m.grouped ? 0 : m.k == 1 ? 1 : 2;
  item.strokeWeight = GetColumnInt(t, "文字太");
  item.blankNotAllowed = GetColumnInt(t, "空白不可");
  item.shading = GetColumnInt(t, "網掛け");
  const std::string charType = GetColumnText(t, "文字型");
  item.charType = charType == "数値" ? 2 : charType == "ﾌﾗｸﾞ" ? 3 : 1;
  item.validChars = GetColumnText(t, "有効文字種");
  item.refTable = GetColumnText(t, "参照テーブル");
  item.keyItemName = GetColumnText(t, "キー項目名");
  item.fetchItemName = GetColumnText(t, "取得項目名");
  item.masterError = GetColumnInt(t, "マスターエラー");
  item.writeItemName = GetColumnText(t, "書込項目名");
  if (m.grouped && !item.writeItemName.empty()) {
    item.writeItemName = Numbered(item.writeItemName, m.number);
  }
  item.minText = GetColumnText(t, "最小値");
  item.maxText = GetColumnText(t, "最大値");
  item.overlayText = JoinedColumns(t, "重ね文字", "重ね文字２", "重ね文字３");
  // A text item's message is what the canvas shows and the printing prints
  // inside its frame; its title stands beside the frame as any caption.
  if (text) item.sheetText = item.overlayText;
  item.conversionText = JoinedColumns(t, "変換条件", "変換条件２", "変換条件３");
  item.bSize = GetColumnInt(t, "Ｂサイズ");
  item.boxGap = item.bSize;  // the canvas lays its boxes out as they print and read
  if (check) {
    item.boxShape = TitlePlacementCode(GetColumnText(t, "背景色"));
    if (item.boxShape == 3 && members > 1 && m.k > 1) item.overlayText.clear();
    item.count = GetColumnInt(t, "少数部桁数");
  } else {
    item.boxShape = 20;
    item.count = item.edit == 'I' ? 1 : GetColumnInt(t, "少数部桁数");
  }
  if (!m.grouped && (r.recordCode == 2 || r.recordCode == 3)) {
    item.groupSize = std::min(r.members, item.width);  // rows, at most one a box
    item.memberNumber = 0;
    // The canvas lays the boxes out in those rows, as they print.
    item.boxesPerRow = item.groupSize;
    item.boxLayout = r.recordCode;
  }
  LayoutSheetItem(i);
}

class FieldBuilder {
 public:
  FieldBuilder(int slot, int type) : slot_(slot), type_(type), sheet_(type == kScreenTypeSheet) {}

  int Build() {
    const int t = g_screenDefs.fieldDefSlot;
    int rc = db_tfind(t, 0);
    for (; rc == 0; rc = db_nread(t)) {
      if (sheet_) {
        ReadSheetFieldRow();
      } else {
        ReadScreenFieldRow();
      }
      if (BuildRow(t) != 0) return -1;
    }
    if (type_ == kScreenTypeCard) g_screenDefs.cardFieldCount = fields_;
    if (type_ == kScreenTypeSet) g_screenDefs.setFieldCount = fields_;
    return 0;
  }

 private:
  int BuildRow(int t) {
    const ScreenFieldRecord& r = g_screenDefs.row;
    if (r.name == "FKEY09") {
      g_screenDefs.f9Commands = r.choices;
      return 0;
    }
    if (r.list == "○" || r.lock == "＃" || r.lock == "－") return 0;
    // "NAME(3)": the item is NAME03; "(?" and no index leave the name alone.
    std::string buffer = r.name;
    const int n = TakeDefaultChoice(buffer.data());
    const std::string name = buffer.c_str();
    const bool key = r.lock == "Ｄ";
    const int openMode = Slot(slot_).openMode;
    if (key) {
      if (openMode == -8 && !r.defaultText.empty()) SetFieldDefault(name.c_str(), r.defaultText.c_str());
      if (openMode != -7 && RequireFieldDefault(name.c_str()) != 0) return -1;
      if (r.type == "非表") return 0;
    }
    const bool grouped = r.firstMember >= 0 && r.members > 1 && !r.direction.empty();
    const int members = grouped ? r.members : 1;
    int x = r.x;
    int baseRow = r.y;
    if (grouped && r.y < 1 && r.x < 1) {
      x = 10;
      baseRow = defaultPlace_;
    }
    int xShift = r.xShift;
    for (int k = 1; k <= members; ++k) {
      const Member m{k, grouped ? (r.firstMember < 0 ? k : k + r.firstMember - 1) : n, grouped};
      if (BuildMember(t, name, m, members, x, baseRow, xShift, key) != 0) return -1;
    }
    return 0;
  }

  int BuildMember(int t, const std::string& name, const Member& m, int members, int x, int baseRow,
                  int& xShift, bool key) {
    const ScreenFieldRecord& r = g_screenDefs.row;
    const char kind = FieldAttrCode(r.type);
    int place = TitlePlacementCode(r.titlePlace);
    const int state = AttrWordCode(r.lock, g_screenDefs.screenInput == "×");
    const char edit = sheet_ ? EditLetterFromWord(r.edit) : EditCharCode(r.edit);
    if ((kind == 'M' || kind == 'B') && r.decimals == -1 && GetOcrIniSettings().debugLevel == 0) {
      return 0;
    }
    std::string itemName = name;
    std::string caption = r.title;
    if (m.grouped) {
      itemName = Numbered(name, m.number);
      caption = MemberCaption(r.title, m.number);
      const bool titlesAbove = place == 3 && r.direction == "↓";
      const bool titlesLeft = place == 1 && r.direction == "→";
      if ((titlesAbove || titlesLeft) && m.k > 1 && r.overlapDigit != 1) place = 5;
    } else if (m.number >= 0) {
      itemName = Numbered(name, m.number);
    }

    int column = x;
    int row = baseRow;
    int charSize = r.charSize;
    if (!m.grouped) {
      if (!sheet_ && r.x < 1 && r.y < 1) {
        column = 10;
        row = 2 * defaultPlace_++;
      }
    } else if (r.direction != "→") {
      row = sheet_ ? (GetColumnInt(t, "高さ") + r.rowGap) * SheetDotsPerGridUnit() * (m.k - 1) + baseRow
                   : baseRow + m.k - 1;
    } else if (edit == 'V') {
      if (charSize <= 0) charSize = Slot(slot_).fontUnit;
      if (r.height < 1) {
        column = x + 3 * m.k - 3;
      } else if (m.k > 1) {
        xShift += r.height;
      }
    } else {
      column = x + (kind == 'o' ? r.width : r.width + 2) * (m.k - 1);
    }
    if (m.grouped && r.direction == "→" && !sheet_ && m.k > 1) xShift += r.memberShift;

    int colorA = ColorWordCode(r.textColour);
    if (colorA == -1 && !sheet_) colorA = 0;
    int codeChar = r.codeChar;
    if (fields_ == 0 && type_ != kScreenTypeList) {
      if (codeChar == 0) codeChar = '?';
      if (type_ == kScreenTypeSet) g_screenDefs.setFirstField = itemName;
      if (type_ == kScreenTypeCard) {
        g_screenDefs.cardCodeChar = std::string(1, static_cast<char>(codeChar));
        g_screenDefs.markedFieldName = name;
      }
    }
    if (codeChar == 0) codeChar = ' ';
    if (type_ == kScreenTypeList && (kind == 'M' || kind == 'B') && !r.choices.empty() &&
        r.choices[0] == '#') {
      g_list.hashFlag = 1;
    }
    if (!r.choices.empty() && kind != 'M' && kind != 'B') g_screenDefs.candidateFields += 1;

    // The sheet's items are protected from typing, never fixed to the
    // window: they scroll and paint with the paper.
    const int fixed = state == kItemProtected && !sheet_ ? 1 : 0;
    const int i = AddScreenItem(caption.c_str(), itemName.c_str(), column, row, r.yShift, r.width,
                                r.secondSize, charSize, kind, r.decimals, fixed,
                                codeChar, edit, state, colorA, place, r.minimum, r.maximum,
                                r.guide.c_str(), r.choices.c_str());
    if (i < 0) {
      ShowErrorMessage("", "%s (%s)を作成できません。", caption.c_str(), itemName.c_str());
      return -1;
    }
    ScreenItem& item = Item(i);
    item.code = r.code;
    item.minText = r.minText;
    item.maxText = r.maxText;
    item.execText = r.exec;
    item.joinText = r.join;
    if (type_ == kScreenTypeCard && ((!r.join.empty() && r.join[0] == '#') || edit == 'I')) {
      item.joinText.clear();
    }
    item.colorB = ColorWordCode(r.backColour);
    item.itemClass = AttrWordIndex(r.frame);
    item.groupSize = m.grouped ? (m.k == 1 ? members : -1) : 0;
    item.memberNumber = m.number;
    item.memberIndex = m.k;
    item.xOffset = xShift;
    item.printFlag = r.printFlag;
    item.recordCode = kind == 'o' ? r.indexChar : r.recordCode;
    if (kind == 'o') item.count = r.decimals;
    item.heightValue = r.height;
    item.groupValue = type_ != kScreenTypeMenu && r.recordCode >= 100 && r.recordCode <= 135 ? 1 : 0;
    item.fieldName = name;
    item.keyField = key ? 1 : 0;
    if (sheet_) TakeSheetValues(t, i, m, members);
    if (type_ == kScreenTypeCard) TakeCardValues(item, edit, itemName);
    fields_ += 1;
    if (!sheet_ && fields_ > kMaxScreenFields) {
      ShowInfoMessage("", "フィールド数が %d を超えました。", kMaxScreenFields);
      return -1;
    }
    if (type_ == kScreenTypeCard && Slot(slot_).borateFlag && place == 5 && state == kItemEnabled &&
        kind != 'R') {
      return AddCardButton(caption, itemName, column, row);
    }
    return 0;
  }

  void TakeCardValues(ScreenItem& item, char edit, const std::string& itemName) {
    const ScreenFieldRecord& r = g_screenDefs.row;
    item.jumpTarget = r.jump;
    item.imagePlacement = ImagePlacementFromWord(r.imagePlace);
    item.tabFlag = r.tabFlag;
    if (edit == 'S') g_screenDefs.cardSField = itemName;
    if (edit == 'A') g_screenDefs.cardAField = itemName;
  }

  // The button a card field of a screen with header buttons gets in front
  // of it, named after the field with "B".
  int AddCardButton(const std::string& caption, const std::string& itemName, int column, int row) {
    const int length = static_cast<int>(caption.size());
    const int command = 300 + ++g_screenDefs.cardButtons;
    const int state = g_screenDefs.cardParameter.empty() ? kItemEnabled : kItemProtected;
    const int i = AddScreenItem(caption.c_str(), (itemName + "B").c_str(), column - length - 1, row, 0,
                                length - 1, length - 1, 0, 'B', 0, 0, command, 'S', state, 0, 6, 0, 0,
                                "", "");
    if (i < 0) {
      ShowErrorMessage("", "%s (%s)を作成できません。", caption.c_str(), (itemName + "B").c_str());
      return -1;
    }
    Item(i).itemClass = kItemClassIcon;
    fields_ += 1;
    return 0;
  }

  int slot_;
  int type_;
  bool sheet_;
  int fields_ = 0;
  int defaultPlace_ = kFirstDefaultPlace;
};

}  // namespace

int BuildScreenFields(int slot, int screenType, int start) {
  // Items take their numbers from their place in the table; `start` (the
  // count of items before them) needs no counter of its own.
  static_cast<void>(start);
  return FieldBuilder(slot, screenType).Build();
}
