// Opens a screen that holds every kind of item the screen engine paints
// (fields, captions in every placement, buttons, choice boxes, two-state
// marks, arrows, images, vertical and multi-line text, OCR-sheet items and
// ruled lines) and saves what the engine paints in its window as a PNG, for
// a person to look at.
//
// Usage: screen_snapshot [out.png]
#include <windows.h>

#include <cstdio>
#include <cstdint>
#include <string>
#include <vector>

#include "foundation/db.h"
#include "foundation/imaging.h"
#include "screen/screen.h"
#include "tests/support/test_pictures.h"
#include "tools/screen_snapshot/slot_picture.h"

namespace {

constexpr int kWidth = 1000;
constexpr int kHeight = 720;

LRESULT CALLBACK SnapshotWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    if (BeginScreenPaint(window, 0)) {
      PaintScreenPage(window, 0);
      EndScreenPaint();
    }
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateSnapshotWindow(const char* title) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = SnapshotWindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
  wc.lpszClassName = "ScreenSnapshot";
  RegisterClassA(&wc);
  return CreateWindowExA(0, "ScreenSnapshot", title, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

// A 16 x 16 picture with four coloured quarters, for the image items.
void WriteSampleBitmap(const char* path) {
  const int size = 16;
  const COLORREF quarters[4] = {RGB(255, 0, 0), RGB(0, 160, 0), RGB(0, 0, 255), RGB(255, 200, 0)};
  std::vector<std::uint8_t> rgb;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const COLORREF c = quarters[(y < size / 2 ? 0 : 2) + (x < size / 2 ? 0 : 1)];
      rgb.insert(rgb.end(), {GetRValue(c), GetGValue(c), GetBValue(c)});
    }
  }
  WriteBmpRgb(path, size, size, rgb);
}

struct Sample {
  int item;
  const char* value;
};

int Field(const char* caption, const char* name, int column, int row, int width, char kind,
          char edit, int titleStyle) {
  return AddScreenItem(caption, name, column, row, 0, width, width, 0, kind, 0, 0, 0, edit, 0, 0,
                       titleStyle, 0, 0, "", "");
}

int Box(const char* caption, const char* name, int column, int row, int width, int height,
        char kind, int boxColor, int titleStyle, const char* choices) {
  return AddScreenItem(caption, name, column, row, 0, width, height, 0, kind, 0, boxColor, 0, 'S',
                       0, 0, titleStyle, 0, 0, "", choices);
}

int Mark(const char* name, int column, int row, int count) {
  return AddScreenItem("", name, column, row, 0, 3, 3, 0, 'c', count, 0, 0, 'L', 0, 1, 5, 0, 0, "",
                       "");
}

// Builds the items; returns the values to show once the screen is open.
std::vector<Sample> BuildSampleScreen() {
  std::vector<Sample> values;
  auto with = [&](int item, const char* value) { values.push_back({item, value}); };
  with(Field("半角", "HAN", 10, 1, 12, 'X', 'L', 1), "ABC123");
  with(Field("全角", "ZEN", 10, 2, 12, 'K', 'L', 1), "日本語");
  with(Field("数字", "NUM", 10, 3, 8, 'N', 'R', 1), "12345");
  with(Field("郵便", "ZIP", 10, 4, 10, 'z', 'L', 1), "123-4567");
  const int wrapped = Field("複行", "MULTI", 10, 5, 12, 'F', 'L', 1);
  Item(wrapped).length = 24;
  Item(wrapped).pixelHeight = 40;
  with(wrapped, "ながい文章は折り返して表示します");
  const int locked = Field("保護", "LOCK", 10, 7, 12, 'X', 'L', 1);
  Item(locked).state = kItemProtected;
  with(locked, "PROTECTED");
  with(Field("上の見出し", "ABOVE", 10, 9, 12, 'X', 'L', 3), "above");
  with(Field("金額*円", "SPLIT", 10, 10, 8, 'X', 'R', 1), "1,200");
  with(Field("右の見出し", "RIGHT", 2, 11, 8, 'X', 'L', 2), "right");
  with(Field("下の見出し", "BELOW", 10, 12, 12, 'X', 'L', 4), "below");
  const int centred = Field("中央", "CENTRE", 10, 14, 12, 'X', 'S', 1);
  Item(centred).itemClass = kItemClassThickFrame;
  with(centred, "centre");

  Box("登録", "SAVE", 36, 1, 8, 23, 'B', 4, 6, "");
  Box("検索", "FIND", 46, 1, 8, 23, 'M', 1, 6, "");
  Box("標準", "PLAIN", 56, 1, 8, 23, 'B', 255, 6, "");
  const int twoLines = Box("二行のボタン", "TWO", 36, 2, 6, 40, 'B', 6, 6, "");
  Item(twoLines).count = 2;
  with(Box("性別", "SEX", 36, 4, 12, 90, 'R', 2, 5, "男,女,不明"), "2");
  with(Box("", "HOBBY", 52, 4, 12, 90, 'C', 1, 5, "読書,音楽,運動"), "101");
  with(Box("同意する", "AGREE", 36, 9, 12, 23, 'R', 4, 6, ""), "1");

  int column = 68;
  int row = 1;
  for (const auto& mark : {std::pair<int, const char*>{0, "1"}, {2, "1"}, {3, "2"}, {11, "5"},
                           {12, "0"}, {13, "0"}, {16, "2"}, {17, "1"}, {18, "1"}, {19, "2"},
                           {20, "1"}, {21, "1"}, {33, "0"}, {1, "2"}}) {
    with(Mark(("MARK" + std::to_string(mark.first)).c_str(), column, row, mark.first),
         mark.second);
    column += 6;
    if (column > 110) {
      column = 68;
      row += 2;
    }
  }
  for (int style = 18; style <= 21; ++style) {
    const int arrow = AddScreenItem("", "ARROW", 68 + (style - 18) * 5, 7, 0, 2, 23, 0, 'B', 0,
                                    255, 0, 'L', 0, 1, style, 0, 0, "", "");
    Item(arrow).colorA = 1;
  }
  with(AddScreenItem("", "SCALE", 90, 7, 0, 10, 10, 0, 'X', 0, 0, 0, 'L', 0, 0, 12, 0, 0, "", ""),
       "");
  with(Field("", "SLASH", 68, 9, 6, 'L', '/', 5), "");
  const int vertical = Field("", "TATE", 76, 9, 10, 'X', 'V', 5);
  Item(vertical).pixelHeight = 30;
  with(vertical, "縦書き");
  with(Field("", "FREE", 82, 9, 16, 'X', 'v', 5), "自由な文章を中央に寄せます");
  const int picture = AddScreenItem("", "PICTURE", 102, 9, 0, 6, 6, 0, 'X', 1, 0, 0, 'I', 0, 0, 5,
                                    0, 0, "", "");
  with(picture, "snapshot_sample");
  with(AddScreenItem("", "NOIMAGE", 102, 11, 0, 6, 6, 0, 'X', 0, 0, 0, 'I', 0, 0, 5, 0, 0, "",
                     ""),
       "missing.bmp");
  AddScreenItem("", "MEMO", 2, 7, 0, 24, 3, 0, 'o', 0, 0, 'Y', 'L', 0, 0, 5, 0, 0,
                "複数行の入力欄", "一行目の文章です　　　　二行目の文章です");

  // OCR-sheet items: a framed text and a row of check boxes with densities.
  const int text = AddScreenItem("", "T001", 560, 470, 0, 12, 1, 8, 'X', 0, 0, 0, 'L', 0, 13, 5,
                                 0, 0, "", "");
  Item(text).itemClass = kItemClassSheet;
  Item(text).code = "T001";
  Item(text).sheetText = "問１ あなたの年代";
  Item(text).frameStyle = 2;
  Item(text).fontCode = 2;
  const int check = AddScreenItem("", "Q01", 560, 520, 0, 5, 1, 7, 'X', 0, 0, 0, 'C', 0, 13, 5, 0,
                                  0, "", "");
  Item(check).itemClass = kItemClassSheet;
  Item(check).code = "0001";
  Item(check).boxWidth = 6;
  Item(check).boxHeight = 5;
  Item(check).boxGap = 3;
  Item(check).markType = 24;
  Item(check).markChar = "1";
  Item(check).threshold = 30;
  Item(check).readValues = "12,55,0,31,8";
  Item(check).numberingMode = 3;
  Item(check).numberSource = 1;
  Item(check).extraNumber = 1;
  for (int sheetItem : {text, check}) LayoutSheetItem(sheetItem);
  return values;
}

void AddRuledLines(int slot) {
  const RuledLine lines[] = {
      {'L', 1, 8, 400, 520, 400},    {'L', 2, 8, 410, 520, 410},
      {'L', 5, 8, 420, 520, 420},    {'L', 7, 8, 432, 520, 432},
      {'L', 2, 540, 460, 980, 600},  {'L', kRuledLineCutFrame, 530, 450, 990, 610},
      {'L', 8, 700, 625, 980, 700},
  };
  int k = 0;
  for (const RuledLine& line : lines) g_ruledLines[k++] = line;
  Slot(slot).firstLine = 0;
  Slot(slot).lineCount = k;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string out = argc > 1 ? argv[1] : "screen_snapshot.png";
  WriteSampleBitmap("snapshot_sample.bmp");
  const HWND mainWindow = CreateSnapshotWindow("main");
  InitScreenEngine(mainWindow);
  ReadOcrIni();  // title colour and fonts of the program's settings
  BindImagingLibrary();
  const std::vector<Sample> values = BuildSampleScreen();
  const HWND window = CreateSnapshotWindow("screen snapshot");
  Slot(0).scrHeight = 27;
  if (OpenScreenWindow(window, 0, 0, kWidth, kHeight, 0, 99, 1, 1, 0, "screen snapshot") != 0) {
    std::fprintf(stderr, "the sample screen did not open\n");
    return 1;
  }
  for (const Sample& v : values) Item(v.item).displayText = v.value;
  AddRuledLines(0);
  g_screen.currentItem = -1;  // every field painted, none under the edit control
  UpdateWindow(window);
  RECT client{};
  GetClientRect(window, &client);
  const int width = client.right > 0 ? client.right : kWidth;
  const int height = client.bottom > 0 ? client.bottom : kHeight;
  const bool written = WritePng(out, width, height, PaintSlotPicture(0, width, height));
  CloseScreenWindow(0, 0);
  DestroyWindow(window);
  DestroyWindow(mainWindow);
  UnbindImagingLibrary();
  std::remove("snapshot_sample.bmp");
  if (!written) {
    std::fprintf(stderr, "cannot write %s\n", out.c_str());
    return 1;
  }
  std::printf("wrote %s (%d x %d)\n", out.c_str(), width, height);
  return 0;
}
