// Files dropped on the sheet canvas. In design a picture becomes a bitmap
// item, a text file a text item of its first line and a CSV file the
// questions of the check-field list, which opens; while the sheet is
// read, the images go to the reading layer, which reads them as scanned
// sheets.
#include <algorithm>
#include <cstdio>

#include "designer/field_editor.h"
#include "designer/question_list.h"
#include "designer/sheet_canvas.h"
#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "foundation/msgbox.h"
#include "foundation/sjis_text.h"
#include "screen/screen.h"

namespace {

constexpr size_t kItemFileNameLimit = 100;

std::string UpperExtension(const std::string& path) {
  std::vector<char> extension(path.size() + 1);
  GetFileExtensionUpper(extension.data(), path.c_str());
  return extension.data();
}

int DropInDesign(int slot, const std::string& path, POINT at) {
  const std::string extension = UpperExtension(path);
  if (extension == "BMP" || extension == "JPG" || extension == "TXT") {
    // A picture item keeps its file's name; a text item only the first line.
    if (extension != "TXT" && SheetPictureName(path).size() > kItemFileNameLimit) {
      ShowInfoMessage("", "ファイル名（フォルダ名を含む）は、100バイト以内の長さにしてください。\n\n〔%s〕",
                      path.c_str());
      return -1;
    }
    const WindowSlot& s = Slot(slot);
    return AddDroppedSheetFile(slot, path, at.x + s.scrollX, at.y + s.scrollY);
  }
  if (extension == "CSV") {
    if (OpenCheckFieldGrid(slot) != 0) return -1;
    return ImportQuestionCsv(path) < 0 ? -1 : 0;
  }
  ShowInfoMessage("", "拡張子“%s”のファイルは使えません。\n\n〔%s〕", extension.c_str(), path.c_str());
  return -1;
}

}  // namespace

int DropFilesOnCanvas(int slot, const std::vector<std::string>& files, POINT at) {
  if (!IsValidSlot(slot) || files.empty()) return -1;
  SelectWindowSlot(slot);
  // Only the input mode reads; every other mode of the window designs.
  if (Slot(slot).lineEditMode != 0) return DropInDesign(slot, files[0], at);
  const CanvasReadingCalls& reading = GetCanvasReadingCalls();
  if (!reading.readDroppedImages) return -1;
  return reading.readDroppedImages(files) < 0 ? -1 : 0;
}
