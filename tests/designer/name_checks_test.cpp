// The name rules as a user meets them: which names are refused, which are
// warned of and accepted, and the message of each.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "designer/name_rules.h"
#include "tests/support/hook_recorder.h"

namespace {

using Texts = std::vector<std::string>;

const char kForbidden[] = "「出力テーブル名」に“半角カッコ”および“記号”“空白”は使用できません。";

struct Case {
  const char* what;
  const char* name;
  int result;
  Texts boxes;
};

void RunCases(const Case* cases, size_t count, int (*check)(const char*)) {
  for (size_t i = 0; i < count; ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(c.what);
    MessageBoxRecorder boxes;
    EXPECT_EQ(check(c.name), c.result);
    EXPECT_EQ(boxes.texts(), c.boxes);
  }
}

TEST(NameChecks, TableAndColumnNamesOfTheOutputDatabase) {
  const std::string reservedDate = "「出力テーブル名」に“date”は使用できません。";
  const std::string digitWarning =
      "数字で始まる「出力テーブル名」は、推奨されません。\n"
      "Access から 直接、テーブルにアクセスする際にエラーになる場合があります。";
  const Case cases[] = {
      {"plain", "KAITO", 0, {}},
      {"double-byte", "回答表", 0, {}},
      {"blank", "KA ITO", -1, {kForbidden}},
      {"comma", "A,B", -1, {kForbidden}},
      {"backslash", "A\\B", -1, {kForbidden}},
      {"half-width corner bracket", "A\xA2" "B", -1, {kForbidden}},
      {"sign last", "ABC%", -1, {kForbidden}},
      // "表" is 95 5C and "ソ" 83 5C: their trail bytes are the backslash.
      {"trail byte of a sign's code", "表ソ", 0, {}},
      {"leading digit warns", "2KAITO", 0, {digitWarning}},
      {"leading full-width digit warns", "２回", 0, {digitWarning}},
      {"reserved word in any case", "date", -1, {reservedDate}},
      {"image column, two digits", "IMG12", -1, {"「出力テーブル名」に“IMG12”は使用できません。"}},
      {"image column, three digits", "img123", -1, {"「出力テーブル名」に“img123”は使用できません。"}},
      {"IMG and a letter", "IMGA", 0, {}},
      {"IMG and one digit", "IMG1", 0, {}},
  };
  RunCases(cases, std::size(cases), [](const char* name) { return CheckNameText(name, "出力テーブル名"); });
}

TEST(NameChecks, ColumnNamesTypedIntoAField) {
  const Case withWords[] = {
      {"plain", "TIMES", 0, {}},
      {"leading digit refused", "1A", -1, {"数字で始まる「出力テーブル名」は付けられません。"}},
      {"full-width digit passes", "１A", 0, {}},
      {"sign", "A-B", -1, {kForbidden}},
      {"reserved word", "Time", -1, {"「出力テーブル名」に“Time”は使用できません。"}},
  };
  RunCases(withWords, std::size(withWords),
           [](const char* name) { return CheckFieldNameText(name, "出力テーブル名", 1); });
  const Case withoutWords[] = {{"reserved words allowed", "TIME", 0, {}}};
  RunCases(withoutWords, std::size(withoutWords),
           [](const char* name) { return CheckFieldNameText(name, "出力テーブル名", 0); });
}

TEST(NameChecks, FirstLineOfAText) {
  EXPECT_EQ(CopyFirstLine("abc\r\ndef"), "abc");
  EXPECT_EQ(CopyFirstLine("whole"), "whole");
  EXPECT_EQ(CopyFirstLine("\nrest"), "");
}

}  // namespace
