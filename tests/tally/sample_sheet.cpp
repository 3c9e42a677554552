#include "tests/tally/sample_sheet.h"

#include <windows.h>

#include <cstdio>

#include "foundation/db.h"
#include "foundation/db_sql.h"
#include "screen/screen.h"

namespace {

std::string Number(int value) { return std::to_string(value); }

// The rows of one field: its code, name, title, kind of field and place in
// canvas pixels (4 a millimetre), then what sets it apart.
SheetFieldRow Field(const char* code, const char* name, const char* title, const char* titlePlace,
                    const char* edit, int x, int y, SheetFieldRow more) {
  SheetFieldRow row = {{"領域コード", SqlText(code)}, {"領域名", SqlText(name)},
                       {"タイトル", SqlText(title)},   {"タイトル位置", SqlText(titlePlace)},
                       {"編集", SqlText(edit)},        {"Ｘ座標", Number(x)},
                       {"Ｙ座標", Number(y)},          {"サイズ", Number(8)}};
  row.insert(row.end(), more.begin(), more.end());
  return row;
}

SheetFieldRow Boxes(int count, int width, int height, int pitch) {
  return {{"文字数", Number(count)}, {"横幅", Number(width)}, {"高さ", Number(height)},
          {"Ｂサイズ", Number(pitch)}};
}

SheetFieldRow Join(std::initializer_list<SheetFieldRow> parts) {
  SheetFieldRow all;
  for (const SheetFieldRow& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

HWND ProgramWindow(const char* className) {
  if (HWND window = FindWindowA(className, nullptr)) return window;
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  windowClass.lpszClassName = className;
  RegisterClassA(&windowClass);
  return CreateWindowA(className, className, WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr,
                       GetModuleHandleA(nullptr), nullptr);
}

}  // namespace

std::string SqlText(const char* text) { return SqlLiteral(text); }

const std::vector<SheetFieldRow>& SampleSheetFields() {
  static const std::vector<SheetFieldRow> rows = {
      Field("T001", "", "", "×", "左詰", 220, 56,
            {{"重ね文字", SqlText("アンケート調査票")}, {"文字太", "2"}, {"サイズ", "12"},
             {"文字数", "10"}, {"横幅", "100"}, {"高さ", "12"}}),
      Field("0001", "ID", "受付番号", "←", "左詰", 160, 140,
            Join({Boxes(6, 5, 7, 1),
                  {{"有効文字種", SqlText("1000000000")}, {"最大値", SqlText("199999")},
                   {"全半角", SqlText("半角")}, {"タイプ", SqlText("一括")}, {"網掛け", "0"}}})),
      Field("0002", "AGE", "年代", "↑", "ﾁｪｯｸ", 160, 220,
            Join({Boxes(6, 6, 5, 2),
                  {{"背景色", SqlText("Ｍ")}, {"マーク型", "1"}, {"しきい値", "30"},
                   {"重ね文字", SqlText("123456")}, {"網掛け", "2"}, {"少数部桁数", "1"},
                   {"タイトル枠", SqlText("実")}}})),
      Field("0003", "Q1", "問１ 満足していますか", "↑", "ﾁｪｯｸ", 160, 300,
            Join({Boxes(3, 5, 5, 25),
                  {{"背景色", SqlText("→")}, {"しきい値", "120"},
                   {"重ね文字", SqlText("はい,いいえ,わからない")}, {"網掛け", "1"},
                   {"少数部桁数", "1"}}})),
      Field("0004", "Q2", "問２ よく使うもの|（いくつでも）", "←", "ﾁｪｯｸ", 160, 380,
            Join({Boxes(8, 5, 5, 12),
                  {{"タイプ", SqlText("Ｘ")}, {"配列個数", "2"}, {"配列行間", "4"},
                   {"少数部桁数", "8"}, {"背景色", SqlText("→")}, {"マーク型", "1"},
                   {"しきい値", "30"}, {"重ね文字", SqlText("Ａ,Ｂ,Ｃ,Ｄ,Ｅ,Ｆ,Ｇ,Ｈ")},
                   {"網掛け", "1"}}})),
      Field("0005", "ZIP", "郵便番号", "←", "左詰", 160, 500,
            Join({Boxes(7, 5, 7, 1),
                  {{"有効文字種", SqlText("1000000001")}, {"全半角", SqlText("半角")},
                   {"網掛け", "1"}}})),
      Field("0006", "KANA", "氏名（カナ）", "←", "左詰", 160, 580,
            Join({Boxes(10, 6, 8, 0),
                  {{"有効文字種", SqlText("0001000000")}, {"全半角", SqlText("全角")},
                   {"文字太", "1"}, {"網掛け", "0"}}})),
      Field("0007", "REI", "記入例", "←", "ﾁｪｯｸ", 160, 660,
            Join({Boxes(6, 6, 6, 4),
                  {{"背景色", SqlText("×")}, {"しきい値", "-1"},
                   {"変換条件", SqlText("*･-ﾚX|")}, {"網掛け", "1"}}})),
      Field("0008", "DAY", "記入日", "←", "左詰", 160, 740,
            Join({Boxes(6, 5, 7, 1),
                  {{"重ね文字", SqlText("20")}, {"有効文字種", SqlText("1000000000")},
                   {"全半角", SqlText("半角")}, {"網掛け", "1"}}})),
      Field("T002", "", "", "×", "左詰", 160, 820,
            {{"重ね文字", SqlText("0123456789")}, {"文字太", "3"}, {"サイズ", "10"},
             {"文字数", "10"}, {"横幅", "120"}, {"高さ", "14"}, {"タイトル枠", SqlText("実")}}),
      Field("0009", "Q3", "問３ 評価", "←", "ﾁｪｯｸ", 160, 900,
            Join({Boxes(5, 6, 6, 2),
                  {{"背景色", SqlText("Ｃ")}, {"しきい値", "120"},
                   {"重ね文字", SqlText("ｱｲｳｴｵ")}, {"網掛け", "2"}, {"少数部桁数", "1"}}})),
  };
  return rows;
}

int WriteSheetFields(const char* database, int kind, const std::vector<SheetFieldRow>& rows) {
  const int dropper = db_alloc_slot("", database, kSheetFieldTable, kind);
  if (dropper <= 0) return -1;
  ExecSlotSql(dropper, "drop table MUPA_FLD", 1);
  db_disconnect(dropper);
  if (CreateTableFromSpec("", database, kSheetFieldTable, kind, kSheetSpecFile, kSheetFieldTable) !=
      0) {
    return -1;
  }
  const int slot = db_alloc_slot("", database, kSheetFieldTable, kind);
  if (slot <= 0) return -1;
  int rc = 0;
  for (const SheetFieldRow& row : rows) {
    std::string names = "ＯＣＲコード", values = "'0001'";
    for (const auto& [name, value] : row) {
      names += std::string(",") + name;
      values += "," + value;
    }
    const std::string insert = "insert into MUPA_FLD (" + names + ") values (" + values + ")";
    rc = rc ? rc : db_exec(slot, insert.c_str());
  }
  db_disconnect(slot);
  return rc;
}

int LoadProjectScreen(const std::string& textFolder) {
  CreateDirectoryA(textFolder.c_str(), nullptr);
  const std::string path = textFolder + "\\PLN.txt";
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return -1;
  std::fputs("[screen]\nSCRCODE=PLN\nSCRNAME=PRJ1-PLN\nSCRTYPE=PROJ\nCURMOV=R\nSCREDT=BUTT\n",
             file);
  std::fclose(file);
  return LoadScreenTexts(textFolder.c_str(), "", kProjectScreenDb) == 1 ? 0 : -1;
}

int OpenSheetCanvas(const char* database, int kind) {
  if (!ProgramWindow("KQE_READ") || !ProgramWindow("Ocr")) return -1;
  g_sheetDefinition = SheetDefinitionRef();
  g_sheetDefinition.database = database;
  g_sheetDefinition.kind = kind;
  g_sheetCanvas = SheetCanvasState();
  g_sheetCanvas.window = FindWindowA("Ocr", nullptr);
  g_sheetCanvas.columns = 84;  // A4 upright: 840 x 1190 pixels
  g_sheetCanvas.rows = 119;
  g_sheetCanvas.pitch = 10;
  return OpenScreen("", kProjectScreenDb, "PLN", -1, -10, "");
}
