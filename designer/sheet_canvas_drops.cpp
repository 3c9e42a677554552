// Files dropped on the sheet canvas. In design a picture becomes a bitmap
// item and a text file a text item of its first line; while the sheet is
// read, the images go to the reading layer, which reads them as scanned
// sheets.
#include <algorithm>
#include <cstdio>

#include "designer/field_editor.h"
#include "designer/sheet_canvas.h"
#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "foundation/msgbox.h"
#include "foundation/sjis_text.h"
#include "screen/screen.h"

namespace {

constexpr size_t kItemFileNameLimit = 100;
constexpr size_t kTextLineLimit = 200;

std::string UpperExtension(const std::string& path) {
  std::vector<char> extension(path.size() + 1);
  GetFileExtensionUpper(extension.data(), path.c_str());
  return extension.data();
}

// The first line of a text file, up to 200 bytes, without CR.
std::string FirstLineOf(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return "";
  char buffer[kTextLineLimit + 1] = "";
  const size_t read = std::fread(buffer, 1, kTextLineLimit, file);
  std::fclose(file);
  std::string line(buffer, read);
  line = line.substr(0, line.find('\n'));
  line.erase(std::remove(line.begin(), line.end(), '\r'), line.end());
  return line;
}

// The row of a new bitmap (BMP, JPG) or text (TXT) item for a dropped file,
// at the top left of the sheet. 0, or -1 after the message.
int AddDroppedFileItem(const std::string& path, bool picture) {
  const std::string code = NextFreeSheetCode(picture ? 'B' : 'T');
  if (code.empty()) {
    ShowInfoMessage("", "シートの項目は %d 個までです。", 999);
    return -1;
  }
  const int t = OpenSheetFieldTable();
  if (t < 0) return -1;
  db_clear(t);
  SetColumnText(t, "ＯＣＲコード", g_sheetDefinition.sheetCode.c_str());
  SetColumnText(t, "領域コード", code.c_str());
  SetColumnText(t, "入力許可", "×");
  SetColumnText(t, "種別", "MUPA");
  SetColumnText(t, "有効文字種", "1000000000");
  SetColumnText(t, "タイトル枠", "無");
  SetColumnText(t, "タイトル位置", "×");
  SetColumnInt(t, "空白不可", 1);
  SetColumnInt(t, "Ｘ座標", 40);
  SetColumnInt(t, "Ｙ座標", 40);
  if (picture) {
    // The path without its drive, as the items keep their pictures.
    const size_t colon = path.find(':');
    SetColumnText(t, "領域名", code.c_str());
    SetColumnText(t, "編集", "BMAP");
    SetColumnText(t, "タイプ", "PBUT");
    SetColumnText(t, "アイコン", colon == 1 ? path.substr(2).c_str() : path.c_str());
    SetColumnInt(t, "Ｂサイズ", 1);
    SetColumnInt(t, "サイズ", 7);
  } else {
    const std::string line = FirstLineOf(path);
    SetColumnText(t, "領域名", code.c_str());
    SetColumnText(t, "タイトル", line.c_str());
    SetColumnText(t, "文字型", "文字");
    SetColumnText(t, "編集", "左詰");
    SetColumnInt(t, "文字数", static_cast<int>(line.size()));
    SetColumnInt(t, "文字太", 1);
    SetColumnInt(t, "サイズ", 8);
  }
  const int rc = db_add(t);
  db_close(t);
  return rc == 0 ? 0 : -1;
}

int DropInDesign(int slot, const std::string& path) {
  const std::string extension = UpperExtension(path);
  if (extension == "BMP" || extension == "JPG" || extension == "TXT") {
    if (path.size() > kItemFileNameLimit) {
      ShowInfoMessage("", "ファイル名（フォルダ名を含む）は、100バイト以内の長さにしてください。\n\n〔%s〕",
                      path.c_str());
      return -1;
    }
    if (AddDroppedFileItem(path, extension != "TXT") != 0) return -1;
    return RebuildWindowItems(slot, 1);
  }
  if (extension == "CSV") {
    ShowInfoMessage("", "この機能は、まだ組み込まれていません。");
    return -1;
  }
  ShowInfoMessage("", "拡張子“%s”のファイルは使えません。\n\n〔%s〕", extension.c_str(), path.c_str());
  return -1;
}

}  // namespace

int DropFilesOnCanvas(int slot, const std::vector<std::string>& files) {
  if (!IsValidSlot(slot) || files.empty()) return -1;
  SelectWindowSlot(slot);
  // Only the input mode reads; every other mode of the window designs.
  if (Slot(slot).lineEditMode != 0) return DropInDesign(slot, files[0]);
  const CanvasReadingCalls& reading = GetCanvasReadingCalls();
  if (!reading.readDroppedImages) return -1;
  return reading.readDroppedImages(files) < 0 ? -1 : 0;
}
