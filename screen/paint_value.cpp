// The value layer of an item (PaintListField): its font, its background by
// box code, and its value drawn by kind, edit letter and title style —
// marks, choice boxes, images, vertical text, postcodes, sheet items, arrow
// buttons, list-screen icon captions and plain text.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "foundation/text_utils.h"
#include "foundation/sjis_text.h"
#include "foundation/db.h"
#include "screen/screen.h"

namespace {

bool IsButtonKind(char kind) { return kind == 'M' || kind == 'B'; }

struct TextPlacement {
  int x = 0, y = 0;
  int size = 0;
};

// Face and weight of a three-character font spec ("_G7": face 1, weight
// 700); false for any other spec.
bool ParseFontSpec(const std::string& spec, int* face, int* weight) {
  if (spec.size() != 3 || spec[2] < '0' || spec[2] > '9') return false;
  static const struct {
    const char* letters;
    int face;
  } kSpecs[] = {{"_G", 1}, {"_M", 0}, {"PG", 3}, {"PM", 2}, {"EH", 4}};
  for (const auto& s : kSpecs) {
    if (spec.compare(0, 2, s.letters) == 0) {
      *face = s.face;
      *weight = (spec[2] - '0') * 100;
      return true;
    }
  }
  return false;
}

bool ShrinksToFit(const ScreenItem& item) {
  if (IsButtonKind(item.kind)) return true;
  if (item.edit == 'S' && item.titleStyle != 15 && item.colorB != 21) return true;
  return item.titleStyle == 6 || item.titleStyle == 7 || item.titleStyle == 11 ||
         item.edit == 'W';
}

// The lines a button shows: its text cut at the bars.
std::vector<std::string> ButtonLines(const ScreenItem& item, const char* text) {
  if (!IsButtonKind(item.kind) || !std::strchr(text, '|')) return {text};
  return SplitAtBars(text);
}

std::string LongestLine(const ScreenItem& item, const char* text) {
  std::string longest;
  for (const std::string& line : ButtonLines(item, text)) {
    if (MeasureTextWidth(line.c_str()) > MeasureTextWidth(longest.c_str())) longest = line;
  }
  return longest;
}

// Draws a button's lines centred in `face` (in `color`, or the colour set
// when -1); false for a text of one line, which the caller draws.
bool DrawButtonLines(const ScreenItem& item, const char* text, int size, const RECT& face, int color) {
  const std::vector<std::string> lines = ButtonLines(item, text);
  if (lines.size() < 2) return false;
  const int pitch = size + 2;
  int y = face.top + HalfUp(face.bottom - face.top - pitch * static_cast<int>(lines.size()));
  for (const std::string& line : lines) {
    const int x = face.left + HalfUp(face.right - face.left - MeasureTextWidth(line.c_str()));
    if (color < 0) {
      DrawTextPlain(x, y, line.c_str());
    } else {
      DrawTextAt(x, y, line.c_str(), color);
    }
    y += pitch;
  }
  return true;
}

// Chooses the value font; returns its size.
int SelectValueFont(const ScreenItem& item, const char* text) {
  int size = item.charSize * 2;
  if (IsButtonKind(item.kind) && item.itemClass != kItemClassIcon) size -= 1;
  int face;
  if (IsButtonKind(item.kind)) {
    face = GetOcrIniSettings().buttonFontFlag;
  } else if (item.itemClass == kItemClassSheet) {
    face = GetOcrIniSettings().editFontFlag;
  } else {
    face = item.fontCode != 0 ? item.fontCode : GetOcrIniSettings().editFontFlag;
  }
  int weight = FW_NORMAL;
  if (item.itemClass == kItemClassIcon && item.edit == 'I') {
    face = 1;
    weight = FW_BOLD;
  } else if (item.titleStyle == 15 ||
             (item.titleStyle == 6 && (item.kind == 'X' || item.kind == 'K') &&
              item.itemClass != kItemClassNoFrame)) {
    face = 1;
    size -= 1;
  }
  ParseFontSpec(item.defaultText, &face, &weight);
  SelectScreenFontSize(face, size, weight);
  if (ShrinksToFit(item)) {
    // A button of several lines ("画面を|閉じます") fits its longest line.
    const std::string longest = LongestLine(item, text);
    const int room = item.pixelWidth - size + 4;
    while (size > 1 && MeasureTextWidth(longest.c_str()) > room) {
      --size;
      SelectScreenFontSize(face, size, weight);
    }
  }
  return size;
}

TextPlacement PlaceText(int i, const ScreenItem& item, const char* text, int size) {
  const PaintContext& c = ActivePaintContext();
  TextPlacement p;
  p.size = size;
  const int width = c.right - c.left;
  const int height = c.bottom - c.top;
  const int cs = item.charSize;
  if (item.edit == 'V') {
    // The column of stacked characters is centred across the item.
    p.x = c.left + HalfUp(item.pixelHeight - size);
    p.y = c.top + item.pixelWidth - 1;
    return p;
  }
  if (item.titleStyle == 15 || item.edit == 'S' || item.edit == 'Z') {
    p.x = c.left + HalfUp(width - MeasureTextWidth(text));
  } else if (item.edit == 'R') {
    p.x = c.left + (item.width - static_cast<int>(std::strlen(text)) + 1) * cs - 1;
  } else {
    p.x = c.left + cs - 1;
  }
  p.y = c.top + HalfUp(height - size);
  const int slot = PaintSlot();
  if ((IsFixedItem(item) || item.titleStyle == 13 || i == g_screen.currentItem) &&
      IsValidSlot(slot)) {
    p.x += Slot(slot).scrollX;
    p.y += Slot(slot).scrollY;
  }
  if (item.edit == 'B') p.x += 2 * size;
  return p;
}

// Where the background of an item goes. Icon-class items other than images
// draw their raised frame one pixel inside the paint rectangle (the frame
// layer, painted before the value): their background stays within that
// frame, so that the frame survives the fill.
RECT BackgroundRect(const ScreenItem& item) {
  const PaintContext& c = ActivePaintContext();
  if (item.itemClass == kItemClassIcon && item.edit != 'I') {
    return RECT{c.left + 1, c.top + 1, c.right, c.bottom - 1};
  }
  return RECT{c.left, c.top, c.right, c.bottom};
}

// Draws the background; true when the item is complete (a coloured button
// with its caption).
bool PaintBackground(const ScreenItem& item, const char* text, const TextPlacement& p) {
  const PaintContext& c = ActivePaintContext();
  const bool design = PaintingInDesignMode();
  const int box = item.colorB;
  const RECT face = BackgroundRect(item);
  if (box == -2) {
    if (item.itemClass == kItemClassNoFrame && design) {
      DrawFrameInPen(c.left, c.top, c.right, c.bottom, 0, PS_DOT);
    }
    return false;
  }
  if (box == -1 || box == 10 || box == 11 || box == 13 || box == 21) {
    FillCellRect(face.left, face.top, face.right, face.bottom, -1);
    if (item.itemClass == kItemClassNoFrame && design && !IsFixedItem(item)) {
      DrawFrameInPen(c.left, c.top, c.right, c.bottom, 0, PS_DOT);
    }
    if (item.itemClass == kItemClassSunken || box == 10) {
      Draw3DEdge(c.left, c.top, c.right, c.bottom, 0);
    } else if (box == 11) {
      Draw3DEdge(c.left, c.top, c.right, c.bottom, 1);
    }
    return false;
  }
  const int fill = box >= 1 && box <= 9 && box != 7 ? box + 20 : box;
  if (IsButtonKind(item.kind)) {
    const bool keepPlain = item.state == kItemProtected &&
                           (item.itemClass == kItemClassPlan || item.itemClass == kItemClassSheet);
    if (!keepPlain) {
      FillBoxSolid(face.left, face.top, face.right, face.bottom, fill);
      FillBoxSolid(face.left + 1, face.top + 1, face.right - 1, face.bottom - 1, fill);
    }
    const bool light = item.colorA == 0 || item.colorA == 1;
    const int x = light ? p.x : p.x + 1;
    const int y = light ? p.y : p.y + 1;
    SetTextColor(c.dc, ColorFromCode(light ? 7 : 0));
    SetBkMode(c.dc, TRANSPARENT);
    if (item.count == 2) {
      DrawTextSplitTwo(std::max(1, item.width), p.size + 2, x, y, text);
    } else if (!DrawButtonLines(item, text, p.size, face, -1)) {
      DrawTextPlain(x, y, text);
    }
    return true;
  }
  const bool skip = item.kind == 'R' || item.kind == 'C' ||
                    (item.edit == 'I' && item.itemClass == kItemClassNoFrame);
  if (!skip) FillBoxSolid(face.left, face.top, face.right, face.bottom, fill);
  return false;
}

void PaintImageValue(const ScreenItem& item, const char* text) {
  const PaintContext& c = ActivePaintContext();
  const bool design = PaintingInDesignMode();
  const bool sheet = item.itemClass == kItemClassSheet;
  std::string name = *text ? text : item.joinText;
  if (!name.empty() && (name.size() < 4 || name[name.size() - 4] != '.')) name += ".BMP";
  // Without a value the item shows the picture its layout loaded (from its
  // default text or caption), as a form's fixed picture does.
  const ImageHandle image = name.empty() ? item.image : LoadImageCached(name.c_str());
  const bool ownSize = item.colorB == 12 || item.count == 1;
  if (image) {
    if (ownSize) {
      DrawPaintImage(image, c.left, c.top, 0, 0);
    } else {
      DrawPaintImage(image, c.left, c.top, c.right - c.left, c.bottom - c.top);
    }
    if (design) DrawFrameInPen(c.left, c.top, c.right, c.bottom, 0, PS_DOT);
    if (sheet) {
      SelectScreenFont(1, 12);
      DrawTextAt(c.left, c.bottom + 2, name.c_str(), 1);
    }
  } else {
    FillCellRect(c.left, c.top, c.right, c.bottom, -1);
    if (design) DrawFrameInPen(c.left, c.top, c.right, c.bottom, 0, PS_DOT);
    if (sheet && ownSize) {
      DrawFrameLines(c.left, c.top, c.left + 30, c.top + 30, 2, 2);
      DrawCross(nullptr, c.left, c.top, c.left + 30, c.top + 30, 0, 2);
      SelectScreenFont(1, 12);
      DrawTextAt(c.left + 34, c.top, name.c_str(), 2);
    }
  }
  if (item.colorB == 10 || item.itemClass == kItemClassSunken) {
    Draw3DEdge(c.left, c.top, c.right, c.bottom, 0);
  }
}

// Edit letter 'V': the text stacked in a column two characters wide.
void PaintVerticalText(const ScreenItem& item, const char* text, const TextPlacement& p) {
  const PaintContext& c = ActivePaintContext();
  RECT column{p.x, c.top, p.x + 2 * item.charSize, c.bottom};
  SetBkMode(c.dc, TRANSPARENT);
  DrawTextA(c.dc, text, -1, &column, DT_CENTER | DT_WORDBREAK);
}

// Edit letter 'v': half-width columns (count 1) or centred wrapped lines.
void PaintFreeText(const ScreenItem& item, const char* text) {
  if (!*text) return;
  const PaintContext& c = ActivePaintContext();
  const int cs = item.charSize;
  const int size = cs * 2 - 1;
  SelectScreenFont(1, size);
  SetTextColor(c.dc, ColorFromCode(item.colorA));
  SetBkMode(c.dc, TRANSPARENT);
  if (item.count == 1) {
    const std::string narrow = WideTextToNarrow(text);
    const int perColumn = std::max(1, (c.bottom - c.top) / std::max(1, size));
    const int columns = (static_cast<int>(narrow.size()) + perColumn - 1) / perColumn;
    const int columnWidth = size;
    int x = c.left + (c.right - c.left - columns * columnWidth) / 2;
    for (size_t k = 0; k < narrow.size(); ++k) {
      const int row = static_cast<int>(k) % perColumn;
      if (k > 0 && row == 0) x += columnWidth;
      DrawTextPlain(x, c.top + row * size, narrow.substr(k, 1).c_str());
    }
    return;
  }
  const int perLine = std::max(2, (item.pixelWidth - cs) / std::max(1, cs));
  const int length = static_cast<int>(std::strlen(text));
  const int lines = (length + perLine - 1) / perLine;
  std::string firstLine(perLine + 1, '\0');
  TakeTextChunk(0, perLine, firstLine.data(), text);
  const int x = c.left + (c.right - c.left - MeasureTextWidth(firstLine.c_str())) / 2;
  const int y = c.top + (c.bottom - c.top - lines * (size + 2)) / 2;
  DrawTextMaybeWrapped(lines == 1 ? 1 : 0, perLine, size + 2, x, y, text);
}

// Title style 12: a ruler-like box; line-type buttons and the cutting frame
// item; title styles 18 to 21: arrow buttons.
bool PaintSpecialItem(const ScreenItem& item) {
  PaintContext& c = ActivePaintContext();
  const int w = c.right - c.left, h = c.bottom - c.top;
  if (item.titleStyle == 12) {
    DrawFrameLines(c.left, c.top, c.right, c.bottom, 1, 0);
    for (int k = 1; k <= 4; ++k) {
      const int x = c.left + w * k / 5;
      DrawPaintLine(x, c.bottom - h / 3, x, c.bottom, 1, 0);
    }
    return true;
  }
  if (item.keyCode >= kKeyLineType1 && item.keyCode <= kKeyLineType1 + 4) {
    const int y = c.top + h / 2;
    switch (item.keyCode - kKeyLineType1) {
      case 0: DrawPaintLine(c.left + 4, y, c.right - 4, y, 1, 0); break;
      case 1: DrawPaintLine(c.left + 4, y, c.right - 4, y, 2, 0); break;
      case 2:
        SetPaintPenStyle(PS_DOT);
        DrawPaintLine(c.left + 4, y, c.right - 4, y, 1, 0);
        SetPaintPenStyle(PS_SOLID);
        break;
      case 3:
        DrawPaintLine(c.left + 4, y - 1, c.right - 4, y - 1, 1, 0);
        DrawPaintLine(c.left + 4, y, c.right - 4, y, 1, 7);
        break;
      default:
        SelectScreenFontSize(3, 14, 500);
        DrawTextAt(c.left + 2, c.top + HalfUp(h - 14), "切り取り", 4);
        break;
    }
    return true;
  }
  if (item.titleStyle >= 18 && item.titleStyle <= 21) {
    const int cx = c.left + w / 2, cy = c.top + h / 2;
    const int r = std::max(2, std::min(w, h) / 3);
    SetPaintBrush(6, item.colorA);
    switch (item.titleStyle) {
      case 18: DrawTriangle(nullptr, cx - r, cy, cx, cy - r, cx, cy + r, item.colorA); break;
      case 19: DrawTriangle(nullptr, cx + r, cy, cx, cy - r, cx, cy + r, item.colorA); break;
      case 20: DrawTriangle(nullptr, cx, cy - r, cx - r, cy, cx + r, cy, item.colorA); break;
      default: DrawTriangle(nullptr, cx, cy + r, cx - r, cy, cx + r, cy, item.colorA); break;
    }
    if (item.titleStyle <= 19) {
      const int stem = item.titleStyle == 18 ? cx : cx - r;
      FillBoxSolid(stem, cy - r / 3, stem + r, cy + r / 3 + 1, item.colorA);
    } else {
      const int stem = item.titleStyle == 20 ? cy : cy - r;
      FillBoxSolid(cx - r / 3, stem, cx + r / 3 + 1, stem + r, item.colorA);
    }
    c.fillStyle = -1;
    return true;
  }
  return false;
}

// Caption under a list-screen button, chosen by its key code.
const char* IconCaptionOfKey(const WindowSlot& slot, int key) {
  switch (key) {
    case 'd': return "閉じる";
    case 'p': return "前頁";
    case 'q': return "次頁";
    case 'r': return "先頭";
    case 's': return "最終";
    case 't': return "複写";
    case 'u': return "挿入";
    case 'v': return "削除";
    case 'w': return "検索";
    case 'x': return "ﾒﾆｭｰ";
    case 'z': return "候補";
    case '{':
      if (slot.screenType == kScreenTypeList && slot.reorderable && slot.reorderState == 0) {
        return "並び変更";
      }
      return "入力";
    case '|': return "編集";
    case '}':
      return slot.functionKeys.size() > 14 && slot.functionKeys[14] != '2' ? nullptr : "出力";
    case '~':
      return slot.functionKeys.size() > 15 && slot.functionKeys[15] != '2' ? nullptr : "印刷";
    default: return nullptr;
  }
}

// A function-key button shows its key's name on its face: grey while the
// key is protected.
void PaintFunctionKeyLabel(int i, const ScreenItem& item) {
  const std::string label = FunctionKeyLabel(item);
  if (label.empty()) return;
  const TextPlacement p = PlaceText(i, item, label.c_str(), SelectValueFont(item, label.c_str()));
  DrawTextAt(p.x, p.y, label.c_str(), item.state == kItemProtected ? 9 : 0);
}

bool PaintListScreenButton(const ScreenItem& item, const char* text) {
  const int slot = PaintSlot();
  if (!IsValidSlot(slot)) return false;
  const WindowSlot& s = Slot(slot);
  if (s.screenType != kScreenTypeList && s.screenType != kScreenTypeCard) return false;
  if (!IsFixedItem(item) || item.state != kItemEnabled || *text) return false;
  const PaintContext& c = ActivePaintContext();
  const char* caption = IconCaptionOfKey(s, item.keyCode);
  if (caption) DrawIconCaption(item.charSize * 2, c.left + (c.right - c.left) / 2, caption);
  if (s.screenType == kScreenTypeList && item.keyCode == 'd' && s.reorderState == 4) {
    SelectScreenFont(3, item.charSize * 2);
    DrawTextAt(3 * item.charSize, s.headerHeight + 4,
               "並び順を変更する場合は、該当する行をマウスでドラッグしてください。", 0);
  }
  return true;
}

// One star for each character of a password.
std::string PasswordStars(const std::string& text) {
  int characters = 0;
  for (size_t k = 0; k < text.size(); k += SjisCharLength(text.c_str() + k)) ++characters;
  return std::string(characters, '*');
}

}  // namespace

void PaintListField(int i, const char* value) {
  const ScreenItem& item = Item(i);
  PaintContext& c = ActivePaintContext();
  if (!c.dc || item.kind == 'o') return;
  const int slot = PaintSlot();
  const bool design = PaintingInDesignMode();
  if (IsValidSlot(slot)) {
    const WindowSlot& s = Slot(slot);
    if (i == g_screen.currentItem && s.windowKind == kWindowKindList) return;
    const bool keepsPlace = IsFixedItem(item) || item.titleStyle == 13 || i == g_screen.currentItem;
    if (!keepsPlace && item.pixelY - s.scrollY < s.headerHeight) return;
  }
  if (design && IsFixedItem(item)) return;
  std::string text = value ? value : "";
  if (design && text.empty() && item.titleStyle != 6 && item.titleStyle != 7 &&
      item.titleStyle != 11 && item.edit != 'I') {
    std::string mask(std::max(0, item.width) + 2, '\0');
    FillFormatMask(i, mask.data());
    text = mask.c_str();
  }
  if (item.kind == 'P' && text.empty()) return;
  // A password is never drawn: its edit control shows the same stars.
  if (!design && item.edit == 'P') text = PasswordStars(text);
  const int size = SelectValueFont(item, text.c_str());
  ComputeItemPaintRect(i);
  const TextPlacement p = PlaceText(i, item, text.c_str(), size);
  if (item.edit != 'I' && item.itemClass != kItemClassSheet &&
      PaintBackground(item, text.c_str(), p)) {
    return;
  }
  SetBkMode(c.dc, TRANSPARENT);
  if (text.empty()) PaintFunctionKeyLabel(i, item);
  if (item.kind == 'c') {
    PaintTwoStateMark(i, text.c_str());
  } else if (item.kind == 'R' || item.kind == 'C') {
    DrawCheckChoices(i, text.c_str());
  } else if (item.edit == '/' || item.kind == 'L') {
    DrawPaintLine(c.left, c.bottom, c.right, c.top, 1, 0);
  } else if (item.edit == 'I') {
    PaintImageValue(item, text.c_str());
    PaintListScreenButton(item, text.c_str());
  } else if (item.edit == 'V') {
    PaintVerticalText(item, text.c_str(), p);
  } else if (item.edit == 'v') {
    PaintFreeText(item, text.c_str());
  } else if (item.kind == 'z') {
    DrawTextAt(p.x, p.y, ("〒" + text).c_str(), item.colorA);
  } else if (item.itemClass == kItemClassSheet) {
    PaintSheetItemValue(i);
  } else if (!PaintSpecialItem(item) && !PaintListScreenButton(item, text.c_str())) {
    const int color = item.state == kItemProtected ? 9 : item.colorA;
    if (item.kind == 'F') {
      SetTextColor(c.dc, ColorFromCode(color));
      DrawWrappedText(c.dc, std::max(1, item.width), size + 2, p.x, p.y, text.c_str());
    } else if (!DrawButtonLines(item, text.c_str(), size, RECT{c.left, c.top, c.right, c.bottom}, color)) {
      DrawTextAt(p.x, p.y, text.c_str(), color);
    }
    if (item.frameStyle != 0) {
      DrawSelectionFrame(c.left, c.top, c.right, c.bottom, item.frameStyle, item.colorB);
    }
  }
}
