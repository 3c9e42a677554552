// The value side of the field engine: an item's display text formatted by
// its kind and edit letter, typed values read back from the slot's edit
// control and checked against the item's limits, the field-edited flag, and
// values read and written by field reference.
#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "foundation/bounded_format.h"
#include "foundation/msgbox.h"
#include "foundation/sjis_text.h"
#include "foundation/text_utils.h"
#include "screen/screen.h"

namespace {

// Mark texts, spelled as bytes like number_format.cpp's.
constexpr const char kMarkStar[] = "\x81\x96";    // ＊
constexpr const char kMarkDash[] = "\x81\x7c";    // －
constexpr const char kMarkCircle[] = "\x81\x9b";  // ○
constexpr const char kMarkCross[] = "\x81\x7e";   // ×

constexpr int kNoMark = -9999;

bool IsNumericClass(int valueClass) { return valueClass == 'N' || valueClass == 's'; }

// A loop the compiler unrolls rather than a call of strchr: every cell of a
// page asks.
bool KindIsOneOf(char kind, const char* kinds) {
  for (const char* k = kinds; *k; ++k) {
    if (*k == kind) return true;
  }
  return false;
}

// The kinds with mark texts for some values (see ParseMarkText).
bool HasMarkTexts(char kind) { return KindIsOneOf(kind, "thj-bf"); }

// The kinds that show some values in a form of their own (ApplyKindRule).
bool HasKindRule(char kind) { return KindIsOneOf(kind, "tjh-bfad"); }

// "0" or an integer of at most 15 digits without a leading zero: exact as a
// double, so "%.0f" writes it back unchanged.
bool IsPlainInteger(const std::string& text) {
  const size_t start = !text.empty() && text[0] == '-' ? 1 : 0;
  const size_t digits = text.size() - start;
  if (digits == 0 || digits > 15) return false;
  if (text[start] == '0') return text == "0";
  for (size_t at = start; at < text.size(); ++at) {
    if (text[at] < '0' || text[at] > '9') return false;
  }
  return true;
}

void DropTrailingBlanks(std::string& text) { text.erase(text.find_last_not_of(' ') + 1); }

std::string WithoutTrailingBlanks(std::string text) {
  DropTrailingBlanks(text);
  return text;
}

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string RightAligned(const std::string& text, int width) {
  return static_cast<int>(text.size()) >= width ? text
                                                : std::string(width - text.size(), ' ') + text;
}

// Keeps the first `bytes` bytes of `text`, never ending inside a character.
void CutTextInPlace(std::string& text, int bytes) {
  if (bytes <= 0) {
    text.clear();
  } else if (static_cast<int>(text.size()) > bytes) {
    text.resize(CharBoundaryLength(text.c_str(), bytes));
  }
}

std::string CutText(std::string text, int bytes) {
  CutTextInPlace(text, bytes);
  return text;
}

std::string Printed(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Printed(const char* format, ...) {
  char buffer[512];
  va_list args;
  va_start(args, format);
  FormatTextBoundedV(buffer, sizeof buffer, format, args);
  va_end(args);
  return buffer;
}

// `value` with `decimals` decimals as "%.*f" writes it, without printf: a
// page of number cells is formatted many times faster.
std::string FixedDecimals(double value, int decimals) {
  char text[400];  // the widest double: 309 digits, sign, point and up to 80 decimals
  if (!std::isfinite(value) || decimals > 80) return Printed("%.*f", decimals, value);
  return std::string(text, WriteFixedDecimals(text, text + sizeof text, value, decimals));
}

// The value of a number text as strtod reads it (`end` after the number).
// The usual plain decimals are read by from_chars, which gives the same
// nearest double many times faster than the runtime's conversion: a page of
// number cells reads hundreds.
double ReadNumber(const char* text, const char** end = nullptr) {
  const char* last = text + std::strspn(text, "-.0123456789");
  double value = 0;
  if (last != text && *last == '\0') {
    const std::from_chars_result read = std::from_chars(text, last, value);
    if (read.ec == std::errc()) {
      if (end) *end = read.ptr;
      return value;
    }
  }
  char* stop = nullptr;
  value = std::strtod(text, &stop);
  if (end) *end = stop;
  return value;
}

// Step 1 of formatting: a numeric value written by the edit letter, the
// count of decimals and the length.
std::string FormatNumericText(const ScreenItem& item, const std::string& text) {
  const int length = item.length;
  if (text.empty()) return std::string(std::max(0, length), ' ');
  if (item.edit == 'Z') return text;
  if (item.edit == 'K') {
    std::string digits(text.size() + 1, '\0');
    const double value = ExtractNumberText(digits.data(), text.c_str());
    const std::string grouped = FormatThousands(value);
    if (static_cast<int>(grouped.size()) > length) return std::string(std::max(0, item.width), '*');
    return RightAligned(grouped, length);
  }
  if (HasMarkTexts(item.kind) && ParseMarkText(item.kind, text.c_str()) != kNoMark) return text;
  // Most values of a page are plain integers shown without decimals.
  if (item.count < 1 && IsPlainInteger(text)) {
    return static_cast<int>(text.size()) > length ? RightAligned("*", length) : text;
  }
  double value = ReadNumber(text.c_str());
  // Kind 'h' rounds half up; printf would round a half to even first.
  if (item.kind == 'h' && item.count >= 1) value = RoundToDecimals(value, item.count);
  const std::string written =
      item.count < 1 ? FixedDecimals(value, 0) : RightAligned(FixedDecimals(value, item.count), length);
  if (static_cast<int>(written.size()) > length) return RightAligned("*", length);
  return written;
}

// A numeric value that FormatNumericText keeps as it is: most of a page's
// numbers, which then need no second copy.
bool IsShownAsWritten(const ScreenItem& item, const std::string& text) {
  if (text.empty() || item.edit == 'K') return false;
  return item.edit == 'Z' ||
         (item.count < 1 && static_cast<int>(text.size()) <= item.length && IsPlainInteger(text));
}

// Step 4: the kinds that show some values in a form of their own. Returns
// the new display text (or the old one).
std::string ApplyKindRule(ScreenItem& item, const std::string& stored) {
  const std::string t = Trimmed(stored);
  const char* end = nullptr;
  const double value = ReadNumber(t.c_str(), &end);
  // The numeric kinds read a number; the overflow mark "*" is none and
  // stays as it is.
  const bool number = end != t.c_str();
  if (std::strchr("tjh-bf", item.kind) && !number &&
      ParseMarkText(item.kind, t.c_str()) == kNoMark) {
    return stored;
  }
  switch (item.kind) {
    case 't':
      if (t == kMarkStar || t == kMarkDash) return stored;
    {
      // A value beyond a short's range shows as it is, not wrapped round.
      const int whole = DecimalTextToInt(t.c_str());
      if (whole < SHRT_MIN || whole > SHRT_MAX) return FormatIntFixed(whole, item.length);
      return FormatShortFixed(static_cast<short>(whole), item.length);
    }
    case 'j':
      if (t == kMarkDash) return stored;
      return FormatIntFixed(std::atoi(t.c_str()), item.length);
    case 'h':
      if (t == kMarkDash || t == kMarkStar) return stored;
      if (value == -2) return RightAligned(kMarkDash, item.length);
      if (value == -1) return RightAligned(kMarkStar, item.length);
      return RightAligned(FixedDecimals(RoundToDecimals(value, std::max(0, item.count)), std::max(0, item.count)),
                          item.length);
    case '-':
      if (t != kMarkDash && value == 0) return kMarkDash;
      return stored;
    case 'b': return value == 0 ? "" : stored;
    case 'f':
      if (t == kMarkCircle || t == kMarkCross) return stored;
      if (std::atoi(t.c_str()) == 0) return kMarkCircle;
      if (std::atoi(t.c_str()) == -1) return kMarkCross;
      return stored;
    case 'a': item.colorA = t == "*" ? 3 : t == "$" ? 5 : 0; return stored;
    case 'd':
      if (!stored.empty() && stored[0] >= 'a' && stored[0] <= 'z') {
        std::string upper = stored;
        upper[0] = static_cast<char>(upper[0] - 'a' + 'A');
        return upper;
      }
      return stored;
    default: return stored;
  }
}

bool ItemInSlot(int slot, int i) {
  if (!IsValidSlot(slot)) return false;
  const WindowSlot& s = Slot(slot);
  return s.itemCount > 0 && i >= s.firstItem && i <= s.lastItem;
}

// The edit control showing an item: its slot's, else the current slot's.
HWND EditControlOf(int i) {
  const int slot = FindItemSlot(i);
  return Slot(slot >= 0 ? slot : g_screen.currentSlot).editControl;
}

// The current item's value taken from the edit control, where the typing is.
void RefreshFromEditControl(int i) {
  ScreenItem& item = Item(i);
  if (i != g_screen.currentItem || item.state != kItemEnabled) return;
  if (item.kind == 'c' || item.kind == 'R' || item.kind == 'C') return;
  std::string text(std::max(item.length, 0) + 1, '\0');
  ReadEditText(i, text.data());
  item.displayText = text.c_str();
}

// The value of an item as GetItemValueForCommand gives it out.
std::string OutputValue(const ScreenItem& item) {
  std::string value = item.displayText;
  // Only the numeric kinds have mark texts ("" is kind 'b''s mark for 0).
  const int mark = ParseMarkText(item.kind, value.c_str());
  if (mark != kNoMark) value = Printed("%.0f", static_cast<double>(mark));
  if (item.edit == 'Z' && !Trimmed(value).empty()) {
    const std::string digits = Trimmed(value);
    value = static_cast<int>(digits.size()) >= item.length
                ? digits
                : std::string(item.length - digits.size(), '0') + digits;
  } else if ((item.kind == 'X' || item.kind == 'K' || item.kind == 's') && item.edit == 'R') {
    value = RightAligned(value, item.length);
  } else if (item.edit == 'K') {
    std::string digits(value.size() + 1, '\0');
    ExtractNumberText(digits.data(), value.c_str());
    value = digits.c_str();
  }
  return WithoutTrailingBlanks(value);
}

void CopyOut(const std::string& text, char* buffer) {
  std::memcpy(buffer, text.c_str(), text.size() + 1);
}

}  // namespace

int GetItemValueClass(int i) {
  const char kind = Item(i).kind;
  if (KindIsOneOf(kind, "thj-bfN")) return 'N';
  return static_cast<unsigned char>(kind);
}

void FormatItemValue(int i, const char* text) {
  ScreenItem& item = Item(i);
  // One working text for every value, and the item's own text assigned
  // over: a page of cells allocates next to nothing.
  static std::string shown;
  shown.assign(text ? text : "");
  if (IsNumericClass(GetItemValueClass(i)) && !IsShownAsWritten(item, shown)) {
    shown = FormatNumericText(item, shown);
  }
  DropTrailingBlanks(shown);
  CutTextInPlace(shown, item.capacity);
  if (!shown.empty() && HasKindRule(item.kind)) {
    shown = ApplyKindRule(item, shown);
    CutTextInPlace(shown, item.capacity);
  }
  item.displayText.assign(shown);
}

void ReadEditText(int i, char* buffer) {
  const ScreenItem& item = Item(i);
  if (item.kind == 'c' || item.kind == 'R' || item.kind == 'C') return;
  const HWND edit = EditControlOf(i);
  const int length = std::max(item.length, 0);
  std::string text;
  if (edit) {
    text.assign(GetWindowTextLengthA(edit) + 1, '\0');
    GetWindowTextA(edit, text.data(), static_cast<int>(text.size()));
    text.resize(std::strlen(text.c_str()));
  }
  CopyOut(CutText(text, length), buffer);
}

int IsFieldEdited() { return g_screen.fieldEdited; }

void SetFieldEdited(int value) { g_screen.fieldEdited = value; }

void MarkFieldEdited() { g_screen.fieldEdited = 1; }

int CheckItemValue() {
  const int i = g_screen.currentItem;
  if (i < 0) return 0;
  ScreenItem& item = Item(i);
  RefreshFromEditControl(i);
  std::string text = item.displayText;
  std::string message;
  double limit = 0;
  bool limitViolated = false;
  if (IsNumericClass(GetItemValueClass(i)) && (item.minimum != 0 || item.maximum != 0)) {
    const double v = std::strtod(text.c_str(), nullptr);
    const int mark = ParseMarkText(item.kind, text.c_str());
    if (mark != kNoMark) text = Printed("%.0f", static_cast<double>(mark));
    if (v < item.minimum && v != 0) {
      message = Printed("“%.0f”未満の値は入力できません。[%s]", item.minimum, text.c_str());
      limit = item.minimum;
      limitViolated = true;
    } else if (v > item.maximum) {
      message = Printed("“%.0f”を越える値は入力できません。[%s]", item.maximum, text.c_str());
      limit = item.maximum;
      limitViolated = true;
    }
  }
  if (message.empty() && item.kind == 'd' && !text.empty() &&
      !((text[0] >= 'A' && text[0] <= 'Z') || (text[0] >= 'a' && text[0] <= 'z'))) {
    message = Printed("“%s”は入力できません。( A ～ Z )", text.c_str());
  }
  if (message.empty()) return 0;
  // The box pumps messages through the edit control: keep the key being
  // handled for the caller.
  const int key = g_screen.navigationKey;
  MessageBeep(0);
  ShowInfoMessage("", "%s", message.c_str());
  if (limitViolated) SetFieldDouble("/CUR", limit);
  g_screen.navigationKey = key;
  g_screen.fieldEdited = 1;
  g_screen.caretColumn = 0;
  g_screen.typedDigits = 0;
  return -1;
}

void SetItemValueForCommand(int slot, const char* ref, const char* text) {
  if (!ref || !ref[0]) return;
  const int i = ResolveFieldRef(slot, ref);
  if (!ItemInSlot(slot, i)) return;
  if (Item(i).kind == 'P' && (!text || !text[0])) return;
  SetItemValueAt(slot, i, text);
}

void SetItemValueAt(int slot, int i, const char* text) {
  if (!ItemInSlot(slot, i)) return;
  ScreenItem& item = Item(i);
  FormatItemValue(i, text);
  if (i == g_screen.currentItem && !IsButtonOrMark(item.kind) && item.kind != 'c' &&
      item.state == kItemEnabled) {
    const HWND edit = Slot(slot).editControl;
    if (edit) SetWindowTextA(edit, item.displayText.c_str());
  }
  PaintItemValue(slot, i);
}

void GetItemValueForCommand(int slot, const char* ref, char* buffer) {
  const int i = ResolveFieldRef(slot, ref);
  if (!ItemInSlot(slot, i)) return;
  RefreshFromEditControl(i);
  CopyOut(OutputValue(Item(i)), buffer);
}

void GetItemRawValue(int slot, const char* ref, char* buffer) {
  const int i = ResolveFieldRef(slot, ref);
  if (!ItemInSlot(slot, i)) return;
  RefreshFromEditControl(i);
  CopyOut(WithoutTrailingBlanks(Item(i).displayText), buffer);
}

void PaintItemValue(int slot, int i) {
  const ScreenItem& item = Item(i);
  const bool choices = item.kind == 'R' || item.kind == 'C';
  if (item.state == kItemHidden) return;
  if (!choices && item.displayText.empty()) {
    if (item.titleStyle == 11) return;
    if ((item.titleStyle == 6 || item.titleStyle == 7) && item.code.compare(0, 1, "T") != 0) return;
  }
  std::string text = item.displayText;
  const bool whole = choices || IsButtonOrMark(item.kind) || item.edit == 'S' || item.edit == 'I' ||
                     item.edit == 'v' || item.titleStyle == 15;
  if (!whole) text = CutText(text, item.edit == 'R' ? item.length : item.width);
  const WindowSlot& s = Slot(slot);
  if (!s.window) return;
  if (!GetScreenDC(s.window, slot, s.scrollX, s.scrollY)) return;
  PaintListField(i, text.c_str());
  ReleaseScreenDC();
}
