// The sheet's read items as the entry screens and the output table see
// them: the write-in and check fields of MUPA_FLD (area codes 0001 to 0999,
// both sides, in side and area order), their array elements, the column of
// the output table each gives, and the candidate lists of their conversion
// texts. Private to entry/.
#pragma once

#include <string>
#include <vector>

// Most elements one array field gives.
constexpr int kMaxArrayElements = 300;

// One MUPA_FLD row, column by column.
struct SheetFieldDef {
  std::string side, code, name, title, titlePlace;  // ＯＣＲコード 領域コード 領域名 タイトル タイトル位置
  std::string charType, edit, condition, overlay;   // 文字型 編集 変換条件 重ね文字
  std::string mask, minText, maxText, fullWidth;    // 有効文字種 最小値 最大値 全半角
  std::string icon, refTable, keyItem, fetchItem, writeItem;  // アイコン 参照テーブル キー項目名 取得項目名 書込項目名
  int count = 0, firstMember = 0, members = 0, decimals = 0;  // 文字数 配列開始 配列個数 少数部桁数
  int boxWidth = 0, x = 0, y = 0, threshold = 0, bSize = 0;   // 横幅 Ｘ座標 Ｙ座標 しきい値 Ｂサイズ

  bool IsCheck() const { return edit == "ﾁｪｯｸ"; }
  bool IsArray() const { return members > 0 && firstMember >= 0; }
  // The 10th character of 有効文字種: postal codes.
  bool IsPostalCode() const { return mask.size() >= 10 && mask[9] == '1'; }
  // The name of each element ("%s%02d" from 配列開始), or the name alone.
  std::vector<std::string> ElementNames() const;
};

// The read items of the current sheet definition: 0 (possibly none), or -1
// when MUPA_FLD cannot be read (reported by the database layer).
int ReadSheetFieldDefs(std::vector<SheetFieldDef>* defs);

// The output column of a field: the type word of the table description
// ("char*", "int", "long", "double"), its size and decimals.
struct OutputColumnDef {
  std::string type;
  int size = 0;
  int decimals = 0;
};
OutputColumnDef DeriveOutputColumn(const SheetFieldDef& def);
// 予備３ of a sheet whose key the reading run numbers.
constexpr int kKeyNumberedByRun = 2;
// The width of the key item `name` of a sheet whose key the run numbers,
// as declared (LoadSheetKeyItems: its own width, or its field's boxes):
// the run numbers the records to it. `fallback` (the width of the key's
// field) when the key is read from the sheet or declares no width.
int DeclaredKeyWidth(const std::string& name, int fallback);

// Comma lists of candidates. A plain list has a comma and no "=".
bool IsPlainCommaList(const std::string& text);
bool IsKeyValueList(const std::string& text);
// Bytes of the longest token.
int MaxTokenLength(const std::string& list);
// The tokens whose first byte is a single-byte character other than "^",
// joined by ","; `longest` takes the longest token of the list.
std::string CandidatesFromList(const std::string& list, int* longest);
// The values of the key=value tokens joined by ","; `longest` takes the
// longest value, or the sum of all value lengths with `sumLengths`.
std::string CandidatesFromPairs(const std::string& list, bool sumLengths, int* longest);

struct AreaFrame;
// The sheet's pictures: the cut-out frames of the front, then of the back,
// whose images the reading run stores in "IMG01", "IMG02", ... 0, or -1
// (reported).
// `backs` (may be null) takes how many of them are the back's (the last).
int ReadSheetPictures(std::vector<AreaFrame>* frames, int* backs = nullptr);

// Grows with the names written so far: a name is written once.
class WrittenNames {
 public:
  bool Has(const std::string& name) const;
  void Add(const std::string& name) { names_.push_back(name); }
  const std::vector<std::string>& names() const { return names_; }

 private:
  std::vector<std::string> names_;
};
