// The rules of the function-key bar (screen_words.h): corrections of a
// screen's key string, where its buttons stand, the F9 pop-up and the
// guide texts.
#include <cstring>

#include "screen/screen_words.h"

namespace {

constexpr int kKeyButtons = 13;  // Esc and F1 to F12

const char kListCommands[] =
    "CSVﾌｧｲﾙ 入力(201),CSVﾌｧｲﾙ 出力(202),印        刷(203),範囲指定削除(204),範囲指定入力(205)";
const char kListHeading[] =
    "メニューを表示します|○CSVﾌｧｲﾙ 入力|○CSVﾌｧｲﾙ 出力|○印        刷|○範囲指定削除|○範囲指定入力";

bool IsFixedScreen(int number) { return number == 91 || number == 92; }

}  // namespace

bool FixFunctionKeys(char* keys, const FunctionKeyFacts& facts) {
  const std::string before = keys;
  if (std::strlen(keys) < 16) return false;
  const bool list = facts.screenType == 2;
  if (list && facts.sideScroll) {
    bool any = false;
    for (int p : {1, 2, 3, 4, 6, 8}) any = any || keys[p] == '2';
    if (any) {
      for (int p : {1, 2, 3, 4, 6, 8}) keys[p] = '1';
    }
  }
  if (list && !facts.newRowsAllowed && keys[5] == '2') keys[5] = '1';
  if (list && keys[6] == '2' && (facts.listInputMode == 1 || !facts.newRowsAllowed)) keys[6] = '1';
  if (keys[11] == '2' && facts.candidateFields == 0) keys[11] = '1';
  return before != keys;
}

std::vector<FunctionKeyPlace> FunctionKeyPlaces(const char* keys, int functionKeys, int* next) {
  std::vector<FunctionKeyPlace> places;
  const bool fifteen = functionKeys == 15;
  const size_t length = std::strlen(keys);
  int x = 1;
  for (int p = 0; p < kKeyButtons && static_cast<size_t>(p) < length; ++p) {
    if (keys[p] == '0') continue;
    places.push_back({p, x, keys[p] == '1' ? 1 : 0});
    x += 5;
    const bool gap = p == 0 || (fifteen ? p == 5 || p == 10 : p == 4 || p == 8);
    if (gap) x += 1;
  }
  if (next) *next = x;
  return places;
}

F9Menu ChooseF9Menu(int screenType, int openMode, int screenNumber, int windowKind) {
  if (screenType == 2) {
    if (openMode == -12 || openMode == -11) {
      return {"CSVﾌｧｲﾙ 入力(201),CSVﾌｧｲﾙ 出力(202),印        刷(203),範囲指定削除(204),"
              "範囲指定入力(205),文字列サーチ(208),(6)",
              ""};
    }
    if (openMode == -13) return {"CSVﾌｧｲﾙ 出力(202),印        刷(203),文字列サーチ(208)", ""};
    if (IsFixedScreen(screenNumber)) {
      return {"CSVﾌｧｲﾙ 入力(201),CSVﾌｧｲﾙ 出力(202),範囲指定削除(204),範囲指定入力(205)",
              "メニューを表示します|○CSVﾌｧｲﾙ 入力|○CSVﾌｧｲﾙ 出力|○範囲指定削除|○範囲指定入力"};
    }
    return {kListCommands, kListHeading};
  }
  if (screenType == 3) {
    if (windowKind == 10) {
      return {"ラベル 印 刷(212),名  刺 印 刷(213),範囲指定削除(204),範囲指定入力(205)", ""};
    }
    if (IsFixedScreen(screenNumber)) {
      return {"範囲指定削除(204),範囲指定入力(205),CSVﾌｧｲﾙ 出力(202)",
              "メニューを表示します|○範囲指定削除|○範囲指定入力|○CSVﾌｧｲﾙ 出力"};
    }
    return {"帳  票 印 刷(211),範囲指定削除(204),範囲指定入力(205),CSVﾌｧｲﾙ 出力(202)",
            "メニューを表示します|○帳  票 印 刷|○範囲指定削除|○範囲指定入力|○CSVﾌｧｲﾙ 出力"};
  }
  return {};
}

std::string FunctionKeyGuide(int position, int screenType, int cardEntryState) {
  const bool list = screenType == 2;
  switch (position) {
    case 0: return "画面を閉じます";
    case 1: return "前頁を表示します";
    case 2: return "次頁を表示します";
    case 3: return "先頭頁を表示します";
    case 4:
      return screenType == 3 && cardEntryState != 0 ? "新規登録モードに移行します" : "最終頁を表示します";
    case 5: return list ? "上行を複写します" : "直前の表示頁を複写します";
    case 6: return list ? "カーソル(キャレット)行に１行挿入します" : "";
    case 7: return list ? "カーソル(キャレット)行を削除します" : "表示頁を削除します";
    case 8: return "コード番号で検索します";
    case 9: return "メニューを表示します";
    case 11: return "候補ウインドウを表示します";
    case 12: return "入力モードを切換えます";
    default: return "";
  }
}
