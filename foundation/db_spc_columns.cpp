// Table-specification files in the slots: the columns of a table read into
// a slot of its own (SqlTblSet), the keys and kind of an open table, and the
// key column lists that ordering and searching use.
#include <cstdio>
#include <cstring>

#include "foundation/bounded_format.h"
#include "foundation/db_internal.h"
#include "foundation/msgbox.h"
#include "foundation/sjis_text.h"

namespace {

void ShowSpecNotice(const SpecNotice& notice, const char* section, const char* path) {
  switch (notice.kind) {
    case SpecNotice::kUnusedColumn:
      ShowInfoMessage("", "未使用項目 [%s:%s]", section, notice.name.c_str());
      break;
    case SpecNotice::kUnknownType:
      ShowInfoMessage("SqlTblSet()", "項目“%s”の型“%s”は使用できません。\n(%s)", notice.name.c_str(),
                      notice.value.c_str(), path);
      break;
    case SpecNotice::kBadLength:
      ShowInfoMessage("SqlTblSet()", "項目“%s”の桁数“%s”は使用できません。\n(%s)", notice.name.c_str(),
                      notice.value.c_str(), path);
      break;
  }
}

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

int SqlTblSet(const char* section, const char* specFile) {
  const int slot = TakeFreeSlot(kSlotFromSpec);
  if (slot < 0) return -1;
  TableSlot& s = g_tableSlots[slot];
  FormatTextBounded(s.sectionName, kSlotNameSize, "%s", section);
  const std::string path = BuildSpecPath(GetSpecFolder(), specFile);
  std::string text;
  if (!ReadWholeFile(path.c_str(), text)) {
    ShowInfoMessage("SqlTblSet()", "%s はありません。", path.c_str());
    ResetSlot(slot);
    return -1;
  }
  const SpecColumns spec = ParseSpecColumns(text, section);
  for (const SpecNotice& notice : spec.notices) ShowSpecNotice(notice, section, path.c_str());
  for (const SpecColumn& column : spec.columns) {
    const int entry = AddColumnEntry(slot, column.name.c_str(), column.type, column.length, true);
    if (entry < 0) break;
    g_columns[entry].flag = column.flag;
    g_columns[entry].width = column.width;
    g_columns[entry].decimals = column.decimals;
  }
  LoadTableSpec(slot, "", section, specFile);
  if (GetSlotColumnCount(slot) == 0) {
    ShowInfoMessage("", "%s にﾚｺｰﾄﾞﾌｨｰﾙﾄﾞはありません。", path.c_str());
    ResetSlot(slot);
    return -1;
  }
  return slot;
}

int LoadTableSpec(int slot, const char* folder, const char* section, const char* specFile) {
  if (slot < 0) {
    if (!*specFile) return -1;
    slot = 0;
  }
  TableSlot& s = g_tableSlots[slot];
  const std::string where = *folder ? folder : GetSpecFolder();
  std::string path = BuildSpecPath(where.c_str(), *specFile ? specFile : s.tableName);
  if (!FileExists(path)) {
    path = (where.empty() ? std::string() : where + "\\") + s.tableName + ".IDX";
  }
  s.keyText.clear();
  s.keyCount = 0;
  std::string text;
  if (ReadWholeFile(path.c_str(), text)) {
    const SpecKeys keys = ParseSpecKeys(text, section);
    s.keyText = keys.keyText;
    s.keyCount = keys.keyCount;
    s.specKind = keys.specKind;
  }
  return 0;
}

int GetKeyColumnList(int slot, int keyNumber, std::string& plain, std::string& qualified) {
  if (!IsSlotNumber(slot)) return -1;
  TableSlot& s = g_tableSlots[slot];
  if (SelectKeyColumns(s.keyText, keyNumber, s.tableName, plain, qualified) != 0) return -1;
  s.keyList = plain;
  s.keyListQualified = qualified;
  return 0;
}

int GetKeyColumns(int slot, std::string& column, int keyNumber) {
  std::string plain;
  std::string qualified;
  if (GetKeyColumnList(slot, keyNumber + 1, plain, qualified) != 0) return -1;
  column = LastListColumn(plain);
  return 0;
}

int SqlTblSetByName(const char*, const char* path) {
  const char* name = path;
  for (const char* p = path; *p; p += SjisCharLength(p)) {
    if (*p == '\\' || *p == '#' || *p == ':') name = p + 1;
  }
  return SqlTblSet("", name);
}
