// The rows of the question list as whole sets: a question file imported,
// the question texts brought to one length or stripped of their filling,
// and every question deleted. Each changes its rows in one transaction and
// then shows the list's page again.
#include <windows.h>

#include <string>
#include <vector>

#include "designer/question_list.h"
#include "designer/question_list_rules.h"
#include "foundation/db.h"
#include "foundation/db_sql.h"
#include "foundation/msgbox.h"
#include "screen/screen.h"

namespace {

// Question files are small; a larger file is no question file.
constexpr LONGLONG kQuestionFileLimit = 4 << 20;

// The whole file, or false after the message.
bool ReadQuestionFile(const std::string& path, std::string& text) {
  if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
    ShowInfoMessage("", "ＣＳＶファイル“%s”はありません。", path.c_str());
    return false;
  }
  // Opened exclusively: a file a spreadsheet still writes is not read half.
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    ShowInfoMessage("", "ＣＳＶファイル“%s”をオープンできません。", path.c_str());
    return false;
  }
  LARGE_INTEGER size{};
  bool ok = GetFileSizeEx(file, &size) && size.QuadPart <= kQuestionFileLimit;
  text.assign(ok ? static_cast<size_t>(size.QuadPart) : 0, '\0');
  DWORD read = 0;
  if (ok && !text.empty()) {
    ok = ReadFile(file, text.data(), static_cast<DWORD>(text.size()), &read, nullptr) && read == text.size();
  }
  CloseHandle(file);
  if (!ok) ShowInfoMessage("", "ＣＳＶファイル“%s”をオープンできません。", path.c_str());
  return ok;
}

// The gap between the boxes of a new question: wider for choices of more
// than two bytes.
int GapForChoices(const std::string& choices) { return LongestCsvEntry(choices) > 2 ? 16 : 10; }

// Runs `write` on the list's rows in one transaction: its result, or -1
// (reported) when the table cannot be opened or the transaction fails.
template <class Write>
int WriteListRows(Write write) {
  const int t = OpenQuestionListTable();
  if (t < 0) return -1;
  if (BeginTableTransaction(t) != 0) {
    db_close(t);
    return -1;
  }
  const int rc = write(t);
  const int ended = EndTableTransaction(t, rc >= 0);
  db_close(t);
  return rc >= 0 && ended == 0 ? rc : -1;
}

struct QuestionText {
  std::string listCode, title;
};

// The questions of the codes from `first` to `last`: 0, or -1 (reported).
int ReadQuestionRange(const std::string& first, const std::string& last, std::vector<QuestionText>& texts) {
  const int t = OpenQuestionListTable();
  if (t < 0) return -1;
  for (int rc = db_toppos(t, "一覧コード"); rc == 0; rc = db_nread(t)) {
    const std::string code = GetColumnText(t, "一覧コード");
    if (code >= first && code <= last) texts.push_back({code, GetColumnText(t, "タイトル")});
  }
  db_close(t);
  return 0;
}

// Writes the texts back: 0, or -1 (reported; none written).
int WriteQuestionTexts(const std::vector<QuestionText>& texts) {
  return WriteListRows([&texts](int t) {
    for (const QuestionText& q : texts) {
      const std::string sql = "update MUPA_LST set タイトル=" + SqlLiteral(q.title.c_str()) +
                              " where 一覧コード=" + SqlLiteral(q.listCode.c_str());
      if (db_exec(t, sql.c_str()) != 0) return -1;
    }
    return 0;
  });
}

}  // namespace

int ImportQuestionCsv(const std::string& path) {
  std::string text;
  if (!ReadQuestionFile(path, text)) return -1;
  const QuestionTextResult read = ReadQuestionCsv(text);
  if (!read.ok()) {
    ShowInfoMessage("", "%s", read.error.c_str());
    return -1;
  }
  const int t = OpenQuestionListTable();
  if (t < 0) return -1;
  const std::string last = db_endpos(t, "一覧コード") == 0 ? GetColumnText(t, "一覧コード") : "";
  db_close(t);
  std::string error;
  const std::vector<std::string> codes = NextListCodes(last, read.rows.size(), error);
  if (codes.empty()) {
    ShowInfoMessage("", "%s", error.c_str());
    return -1;
  }
  if (!last.empty() &&
      AskYesNo("", "すでにデータが存在します。追加登録しますか？\n　追加する先頭コード“%s”", codes[0].c_str()) != IDYES) {
    return -1;
  }
  HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  const int added = WriteListRows([&](int list) {
    for (size_t k = 0; k < read.rows.size(); ++k) {
      const QuestionCsvRow& row = read.rows[k];
      db_clear(list);
      SetColumnText(list, "ＯＣＲコード", g_sheetDefinition.sheetCode.c_str());
      SetColumnText(list, "一覧コード", codes[k].c_str());
      SetColumnText(list, "領域名", row.name.c_str());
      SetColumnText(list, "タイトル", row.title.c_str());
      SetColumnText(list, "重ね文字", row.choices.c_str());
      SetColumnInt(list, "横幅", 5);
      SetColumnInt(list, "高さ", 5);
      SetColumnInt(list, "Ｂサイズ", GapForChoices(row.choices));
      SetColumnInt(list, "最大数", 1);
      SetColumnInt(list, "しきい値", 10);
      if (db_add(list) != 0) return -1;
    }
    return static_cast<int>(read.rows.size());
  });
  SetCursor(previous);
  if (added > 0) RefreshQuestionList();
  return added;
}

int PadQuestionTexts(const std::string& first, const std::string& last, int widthChars, const std::string& fill) {
  std::vector<QuestionText> texts;
  if (ReadQuestionRange(first, last, texts) != 0) return -1;
  for (QuestionText& q : texts) q.title = PadQuestionText(q.title, widthChars, fill);
  if (WriteQuestionTexts(texts) != 0) return -1;
  RefreshQuestionList();
  ShowInfoMessage("", "後部余白を“%s”で埋めました。", fill.c_str());
  return 0;
}

int TrimQuestionTexts(const std::string& first, const std::string& last, const std::string& fill) {
  std::vector<QuestionText> texts;
  if (ReadQuestionRange(first, last, texts) != 0) return -1;
  for (QuestionText& q : texts) q.title = TrimQuestionText(q.title, fill);
  if (WriteQuestionTexts(texts) != 0) return -1;
  RefreshQuestionList();
  ShowInfoMessage("", "後部余白(文字)“%s”を削除しました。", fill.c_str());
  return 0;
}

int DeleteAllQuestions() {
  const int count = CountQuestions();
  if (count < 0) return -1;
  if (count == 0) {
    ShowInfoMessage("", "削除する質問は登録されていません。");
    return -1;
  }
  if (AskYesNo("", "%ld件の質問のすべてを削除してもよろしいですか？", static_cast<long>(count)) != IDYES) return -1;
  if (WriteListRows([](int t) { return db_exec(t, "delete from MUPA_LST"); }) != 0) return -1;
  RefreshQuestionList();
  ShowInfoMessage("", "すべての質問を削除しました。");
  return 0;
}
