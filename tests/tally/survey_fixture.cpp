#include "tests/tally/survey_fixture.h"

#include <windows.h>

#include <sstream>

#include "designer/survey.h"
#include "foundation/db.h"
#include "foundation/db_sql.h"
#include "foundation/files.h"
#include "tally/tally.h"

const std::vector<FixtureQuestion> kFixtureQuestions = {
    {"SEX", "性別", "男性,女性", "12", 1, 0, 0, false},
    {"AREA", "地域", "北,南,東,西,中央", "1,2,10,11,21", 1, 1, 0, false},
    {"STORE", "店舗", "", "", 0, 2, 0, false},
    {"SAT", "満足度を選んでください", "とても満足,満足,普通,不満,とても不満", "12345", 1, 0, 0,
     false},
    {"USE", "利用目的（複数回答）", "仕事,買い物,旅行,その他", "1234", 4, 0, 0, false},
    {"AGE", "年代", "10代,20代,30代,40代,50代以上", "10,20,30,40,50", 1, 0, 0, true},
    {"BUY", "購入品（2つまで）", "パン,牛乳,卵", "01,02,03", 2, 0, 0, false},
    {"COLOR", "好きな色は？(赤,青など)", "赤,\"青,紺\",緑", "ABC", 1, 0, 0, false},
    {"AGREE", "同意しますか", "はい,いいえ", "12", 1, 0, 1, false},
    {"MEMO", "ご意見", "", "", 0, 0, 0, false},
};

namespace {

// A small generator of its own, so the records are the same everywhere.
struct Lcg {
  unsigned state;
  unsigned Next(unsigned bound) {
    state = state * 1103515245u + 12345u;
    return (state >> 8) % bound;
  }
  template <class T>
  const T& Pick(const std::vector<T>& from) {
    return from[Next(static_cast<unsigned>(from.size()))];
  }
};

std::vector<std::string> CodeList(const FixtureQuestion& q) {
  std::vector<std::string> codes;
  const std::string text = q.codes;
  if (text.find(',') == std::string::npos) {
    for (size_t i = 0; i < text.size(); ++i) codes.push_back(text.substr(i, 1));
  } else {
    std::stringstream in(text);
    std::string code;
    while (std::getline(in, code, ',')) codes.push_back(code);
  }
  return codes;
}

}  // namespace

std::vector<FixtureRecord> GenerateRecords(int count, unsigned seed) {
  Lcg random{seed};
  const std::vector<std::string> areas = {"1", "2", "10", "11", "21"};
  const std::vector<std::string> stores = {"A", "AB", "O'Hara", "50%off", "x_y", "xzy"};
  const std::vector<std::string> sat = {"1", "2", "3", "4", "5", "5", "4", "", "*3"};
  const std::vector<std::string> use = {"1", "13", "31", "24", "1234", "11", "2", "", "*", "3"};
  const std::vector<std::string> age = {"10", "20", "30", "40", "50", "20", "0", "60"};
  const std::vector<std::string> buy = {"01", "0103", "02", "0202", "03", "0301", "", "*", "0109"};
  const std::vector<std::string> colors = {"A", "B", "C", "B", "", "*"};
  const std::vector<std::string> agree = {"1", "2", "1", ""};
  std::vector<FixtureRecord> records;
  for (int i = 1; i <= count; ++i) {
    FixtureRecord r;
    char key[16];
    std::snprintf(key, sizeof key, "%06d", i);
    r["番号"] = key;
    const unsigned sex = random.Next(20);
    r["SEX"] = sex < 9 ? "1" : sex < 17 ? "2" : sex < 19 ? "" : "*";
    r["AREA"] = random.Pick(areas);
    r["STORE"] = random.Pick(stores);
    r["SAT"] = random.Pick(sat);
    r["USE"] = random.Pick(use);
    r["AGE"] = random.Pick(age);
    r["BUY"] = random.Pick(buy);
    r["COLOR"] = random.Pick(colors);
    r["AGREE"] = random.Pick(agree);
    r["MEMO"] = "メモ" + std::to_string(i % 7);
    records.push_back(r);
  }
  return records;
}

ExpectedCounts CountExpected(const std::vector<FixtureRecord>& records, size_t question,
                             bool includeNoAnswer, bool includeOver) {
  const FixtureQuestion& q = kFixtureQuestions[question];
  const std::vector<std::string> codes = CodeList(q);
  const bool commaList = std::string(q.codes).find(',') != std::string::npos;
  ExpectedCounts e;
  e.counts.assign(codes.size() + 1, 0);
  for (const FixtureRecord& record : records) {
    const std::string answer = record.at(q.column);
    if (answer.empty() && !q.exempt) {
      ++e.noAnswer;
      if (includeNoAnswer) ++e.counts[0], ++e.base;
      continue;
    }
    if (!answer.empty() && answer[0] == '*') {
      ++e.over;
      if (includeOver) ++e.counts[0], ++e.base;
      continue;
    }
    if (codes.empty()) continue;
    for (size_t k = 0; k < codes.size(); ++k) {
      const std::string& code = codes[k];
      int hits = 0;
      if (!commaList) {
        for (char c : answer) hits += std::string(1, c) == code;
      } else if (q.maxAnswers < 2) {
        hits = answer == code;
      } else {
        for (int piece = 0; piece < q.maxAnswers; ++piece) {
          if (answer.size() >= (piece + 1) * code.size() &&
              answer.substr(piece * code.size(), code.size()) == code) {
            ++hits;
          }
        }
      }
      e.counts[k + 1] += hits;
      e.counts[0] += hits;
    }
    ++e.base;
  }
  return e;
}

std::string SurveyDbTest::StoredGraphColor(int type, int slot) {
  const int table = db_open("", kDb, "GCOLOR", -1, "FSCRTBL3", "GCOLOR", "");
  if (table < 0) return "";
  char code[8];
  std::snprintf(code, sizeof code, "%02d", type);
  const std::string text =
      db_search(table, code, "CODE") == 0 ? GetColumnTextIdx(table, "GCOL", slot) : "";
  db_close(table);
  return text;
}

void SurveyDbTest::SetUp() {
  DbTest::SetUp();
  if (IsSkipped() || HasFatalFailure()) return;
  // The shipped table descriptions, beside the test's own.
  for (const char* spec : {"MUPADATA.SPC", "調査定義.SPC", "調査項目.SPC", "FSCRTBL3.SPC"}) {
    CopyFileA((GetProgramFolder() + "\\" + spec).c_str(), TestFile(spec).c_str(), FALSE);
  }
  const int slot = db_alloc_slot("", kDb, "T1", -1);
  ASSERT_GT(slot, 0);
  for (const char* table :
       {"調査定義", "調査項目", kTallyTable, "MUPA_PRN", "MUPA_FLG", "GCOLOR"}) {
    ExecSlotSql(slot, (std::string("drop table ") + table).c_str(), 1);
  }
  db_disconnect(slot);
  g_survey = SurveyState();
  g_survey.database = kDb;
  g_survey.dataDatabase = kDb;
  g_survey.outputTable = "回答";
  g_printSettings = PrintSettings();
  ForgetBoxes();
}

void SurveyDbTest::TearDown() {
  CloseTallyTable();
  DbTest::TearDown();
}

void SurveyDbTest::WriteSurvey(const std::vector<FixtureRecord>& records) {
  // The survey's own row comes from its first opening.
  const int definition = OpenSurveyDefinition();
  ASSERT_GT(definition, 0);
  SetColumnText(definition, "調査名", "お客様アンケート");
  ASSERT_EQ(db_update(definition), 0);
  db_close(definition);

  const int items = db_open("", kDb, "調査項目", -1, "調査項目", "", "");
  ASSERT_GT(items, 0);
  int number = 0;
  for (const FixtureQuestion& q : kFixtureQuestions) {
    db_clear(items);
    char code[8];
    std::snprintf(code, sizeof code, "%03d", ++number);
    SetColumnText(items, "質問コード", code);
    SetColumnText(items, "項目名", q.column);
    SetColumnText(items, "質問内容", q.text);
    SetColumnText(items, "選択肢", q.choices);
    SetColumnText(items, "カウントデータ", q.codes);
    SetColumnInt(items, "最大回答数", q.maxAnswers);
    SetColumnInt(items, "チェック01", q.group == 1);
    SetColumnInt(items, "チェック02", q.group == 2);
    SetColumnInt(items, "チェック05", q.exempt);
    ASSERT_EQ(db_add(items), 0) << q.column;
  }
  db_close(items);
  WriteTallyTable(records, false);
}

void SurveyDbTest::WriteTallyTable(const std::vector<FixtureRecord>& records, bool numberedColumns) {
  std::string create = std::string("create table ") + kTallyTable + " (番号 varchar(6) primary key";
  int number = 0;
  for (const FixtureQuestion& q : kFixtureQuestions) {
    char numbered[16];
    std::snprintf(numbered, sizeof numbered, "回答%02d", ++number);
    create += std::string(",") + (numberedColumns ? numbered : q.column) +
              (q.numeric ? " integer" : " varchar(20)");
  }
  std::vector<std::string> statements = {create + ")"};
  for (const FixtureRecord& r : records) {
    std::string insert =
        std::string("insert into ") + kTallyTable + " values (" + SqlLiteral(r.at("番号").c_str());
    for (const FixtureQuestion& q : kFixtureQuestions) {
      const std::string& value = r.at(q.column);
      insert += "," + (q.numeric ? value : SqlLiteral(value.c_str()));
    }
    statements.push_back(insert + ")");
  }
  Exec(statements);
  ForgetBoxes();
}
