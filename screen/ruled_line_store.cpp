// Loading a window's ruled lines: from its format file ("%c,%d,%d,%d,%d,%d"
// lines in the current folder), or else from the table of its screen
// database, S_LINE of a screen or MUPA_LIN of the project sheet. A window's
// lines take a run of free entries of the table, so the lines of other open
// windows are never overwritten.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "foundation/csv_token.h"
#include "foundation/db.h"
#include "foundation/db_sql.h"
#include "foundation/files.h"
#include "foundation/msgbox.h"
#include "screen/screen.h"

namespace {

constexpr int kLineTextSize = 2048;

// The lines of a format file; false when it can be neither read nor made.
bool ReadFormatFile(const std::string& name, std::vector<RuledLine>& lines) {
  char folder[MAX_PATH];
  const std::string path = std::string(GetCurrentFolder(folder, MAX_PATH)) + "\\" + name;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) {
    file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    std::fclose(file);
    ShowInfoMessage("", "ﾌｫｰﾏｯﾄﾌｧｲﾙ“%s”を作成しました。", path.c_str());
    return true;
  }
  char text[kLineTextSize + 1];
  while (std::fgets(text, sizeof text, file)) {
    std::vector<std::string> fields;
    CsvCursor cursor;
    char field[kLineTextSize + 1];
    int rc;
    do {
      rc = NextCsvTokenWith(cursor, field, kLineTextSize, text);
      fields.push_back(field);
    } while (rc > 0 && fields.size() < 6);
    if (fields.size() < 6 || fields[0].empty()) continue;
    lines.push_back({fields[0][0], std::atoi(fields[1].c_str()), std::atoi(fields[2].c_str()),
                     std::atoi(fields[3].c_str()), std::atoi(fields[4].c_str()),
                     std::atoi(fields[5].c_str())});
  }
  std::fclose(file);
  return true;
}

// The lines stored for a screen or the project sheet.
void ReadLineTable(const WindowSlot& slot, std::vector<RuledLine>& lines) {
  int t;
  if (slot.screenType == kScreenTypeSheet) {
    const SheetDefinitionRef& sheet = g_sheetDefinition;
    t = db_open(sheet.folder.c_str(), sheet.database.c_str(), "MUPA_LIN", sheet.kind, kSheetSpecFile,
                "MUPA_LIN", "select * from MUPA_LIN where ＯＣＲコード=%s order by ＯＣＲコード,LINCODE",
                SqlLiteral(sheet.sheetCode.c_str()).c_str());
  } else {
    t = db_open(slot.screenDbFolder.c_str(), slot.screenDatabase.c_str(), kLineTable,
                g_screenDefs.screenDbKind, g_screenDefs.specFile.c_str(), "LINTBL",
                "select * from %s where SCRCODE=%s order by SCRCODE,LINCODE", kLineTable,
                SqlLiteral(slot.screenCode.c_str()).c_str());
  }
  if (t < 0) return;
  for (int rc = db_toppos(t, "LINCODE"); rc == 0; rc = db_nread(t)) {
    lines.push_back({GetColumnChar(t, "LINSTYLE"), GetColumnInt(t, "LINSIZE"), GetColumnInt(t, "LINX1"),
                     GetColumnInt(t, "LINY1"), GetColumnInt(t, "LINX2"), GetColumnInt(t, "LINY2")});
  }
  db_close(t);
}

// The first entry of the lowest run of `count` free entries, or -1.
int FindFreeRun(int count) {
  int run = 0;
  for (int i = 0; i < kMaxRuledLines; ++i) {
    run = g_ruledLines[i].kind == 0 ? run + 1 : 0;
    if (run >= count) return i - count + 1;
  }
  return -1;
}

}  // namespace

int LoadLineDefinitions(int s) {
  WindowSlot& slot = Slot(s);
  std::vector<RuledLine> lines;
  if (!slot.formatFile.empty()) {
    if (!ReadFormatFile(slot.formatFile, lines)) return -1;
  } else if (slot.screenDatabase.empty() && slot.screenType != kScreenTypeSheet) {
    return -1;
  } else {
    ReadLineTable(slot, lines);
  }
  FreeSlotRuledLines(s);
  if (lines.empty()) return 0;
  const int first = FindFreeRun(static_cast<int>(lines.size()));
  if (first < 0) return 0;  // the table has no room for them: the window shows none
  for (size_t k = 0; k < lines.size(); ++k) g_ruledLines[first + k] = lines[k];
  slot.firstLine = first;
  slot.lineCount = static_cast<int>(lines.size());
  return 0;
}
