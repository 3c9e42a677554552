// Tallies of a generated table of survey records on both drivers, written
// as CSV files: every cell of simple tallies and of cross tabulations by one
// and by two grouping items is compared with counts computed here, for
// several choices of printed items, count and percentage lines and
// percentage bases.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <map>

#include "designer/survey.h"
#include "foundation/db.h"
#include "tally/tally.h"
#include "tests/support/table_rows.h"
#include "tests/tally/survey_fixture.h"

namespace {

using Row = std::vector<std::string>;

// The settings of one tally, as the print-settings screen leaves them.
struct TallyFlags {
  std::string items;         // 印字項目
  std::string countPercent;  // 件数％印字
  int base;                  // 百分率計算
};

bool On(const std::string& flags, int position) {
  return static_cast<int>(flags.size()) >= position && flags[position - 1] == '1';
}

std::string Count(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.0f", value);
  return text;
}

// count / base x 100 to a tenth, half up, in integers.
std::string Percent(double count, double base) {
  if (base <= 0 || count < 1) return "0.0";
  const long long tenths = (2000LL * static_cast<long long>(count) + static_cast<long long>(base)) /
                           (2 * static_cast<long long>(base));
  char text[32];
  std::snprintf(text, sizeof text, "%lld.%lld", tenths / 10, tenths % 10);
  return text;
}

std::vector<std::string> Split(const std::string& list) {
  Row values;
  std::string value;
  bool quoted = false;
  for (char c : list) {
    if (c == '"') {
      quoted = !quoted;
    } else if (c == ',' && !quoted) {
      values.push_back(value);
      value.clear();
    } else {
      value += c;
    }
  }
  values.push_back(value);
  return values;
}

// The expected lines of a tally, built apart from the program's own code.
class ExpectedTally {
 public:
  ExpectedTally(const std::vector<FixtureRecord>& records, const TallyFlags& flags, int groups)
      : records_(records), flags_(flags), groups_(groups) {}

  std::vector<Row> Rows() {
    for (size_t qi = 0; qi < kFixtureQuestions.size(); ++qi) {
      const FixtureQuestion& q = kFixtureQuestions[qi];
      if (!*q.codes || !*q.choices) continue;            // not tabulated
      if (q.group != 0 && q.group <= groups_) continue;  // a grouping item of this tally
      Question(qi);
    }
    return rows_;
  }

 private:
  bool IncludeNoAnswer() const { return On(flags_.items, 5); }
  bool IncludeOver() const { return On(flags_.items, 6); }
  bool ShowsNoAnswer(const FixtureQuestion& q) const { return IncludeNoAnswer() && !q.exempt; }

  Row Prefix(const std::string& first, const std::string& second) const {
    Row row;
    if (groups_ >= 1) row.push_back(first);
    if (groups_ >= 2) row.push_back(second);
    return row;
  }

  void Question(size_t qi) {
    const FixtureQuestion& q = kFixtureQuestions[qi];
    Row title = Prefix("", "");
    title.push_back(q.text);
    rows_.push_back(title);
    Row heading = Prefix("AREA", "STORE");
    const Row labels = Split(q.choices);
    heading.insert(heading.end(), labels.begin(), labels.end());
    if (ShowsNoAnswer(q)) heading.push_back("無回答");
    if (IncludeOver()) heading.push_back("ｵｰﾊﾞｰ");
    if (On(flags_.items, 1)) heading.push_back("合　計");
    if (On(flags_.items, 4)) heading.push_back("件　数");
    rows_.push_back(heading);
    if (On(flags_.items, 3)) {
      Row codes = Prefix("", "");
      const Row list = std::string(q.codes).find(',') != std::string::npos ? Split(q.codes) : [&] {
        Row chars;
        for (char c : std::string(q.codes)) chars.push_back(std::string(1, c));
        return chars;
      }();
      for (size_t k = 0; k < list.size(); ++k) codes.push_back(list[k] == labels[k] ? "" : list[k]);
      if (ShowsNoAnswer(q)) codes.push_back("");
      if (IncludeOver()) codes.push_back("*");
      if (On(flags_.items, 1)) codes.push_back("");
      if (On(flags_.items, 4)) codes.push_back("");
      rows_.push_back(codes);
    }
    if (groups_ == 0) {
      Lines(qi, records_, "", "", false);
    } else if (groups_ == 1) {
      const Row areas = Split(kFixtureQuestions[1].codes);
      const Row names = Split(kFixtureQuestions[1].choices);
      for (size_t a = 0; a < areas.size(); ++a)
        Lines(qi, Select(areas[a], ""), names[a], "", false);
      if (On(flags_.items, 2)) Lines(qi, records_, "合計", "", false);
    } else {
      const Row areas = Split(kFixtureQuestions[1].codes);
      const Row names = Split(kFixtureQuestions[1].choices);
      Row stores;
      for (const FixtureRecord& r : records_) stores.push_back(r.at("STORE"));
      std::sort(stores.begin(), stores.end());
      stores.erase(std::unique(stores.begin(), stores.end()), stores.end());
      for (size_t a = 0; a < areas.size(); ++a) {
        for (size_t s = 0; s < stores.size(); ++s) {
          Lines(qi, Select(areas[a], stores[s]), s == 0 ? names[a] : "", stores[s], false);
        }
        if (On(flags_.items, 2)) Lines(qi, Select(areas[a], ""), "", "小計", false);
      }
      if (On(flags_.items, 2)) Lines(qi, records_, "合計", "", true);
    }
    rows_.push_back({});
    rows_.push_back({});
  }

  std::vector<FixtureRecord> Select(const std::string& area, const std::string& store) const {
    std::vector<FixtureRecord> selected;
    for (const FixtureRecord& r : records_) {
      if (r.at("AREA") == area && (store.empty() || r.at("STORE") == store)) selected.push_back(r);
    }
    return selected;
  }

  // The count line and the percentage line of some records.
  void Lines(size_t qi, const std::vector<FixtureRecord>& records, const std::string& first,
             const std::string& second, bool grandTotal) {
    const FixtureQuestion& q = kFixtureQuestions[qi];
    const ExpectedCounts e = CountExpected(records, qi, IncludeNoAnswer(), IncludeOver());
    const double base = flags_.base == 2 ? e.counts[0] : e.base;
    const bool counts = On(flags_.countPercent, 1) || !On(flags_.countPercent, 2);
    const bool percents = On(flags_.countPercent, 2);
    auto line = [&](bool percent, Row row) {
      auto cell = [&](double count) {
        if (grandTotal && count < 1) return std::string();
        return percent ? Percent(count, base) : Count(count);
      };
      for (size_t k = 1; k < e.counts.size(); ++k) row.push_back(cell(e.counts[k]));
      if (ShowsNoAnswer(q)) row.push_back(cell(e.noAnswer));
      if (IncludeOver()) row.push_back(cell(e.over));
      if (On(flags_.items, 1)) row.push_back(cell(e.counts[0]));
      if (On(flags_.items, 4)) row.push_back(percent ? "" : cell(e.base));
      rows_.push_back(row);
    };
    line(!counts, Prefix(first, second));
    if (counts && percents) line(true, Prefix("", ""));
  }

  const std::vector<FixtureRecord>& records_;
  TallyFlags flags_;
  int groups_;
  std::vector<Row> rows_;
};

class TallyTable : public SurveyDbTest {
 protected:
  void SetUp() override {
    SurveyDbTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    records_ = GenerateRecords(240, 16);
    WriteSurvey(records_);
    ASSERT_EQ(LoadSurveyItems(), 0) << testing::PrintToString(Boxes());
    ASSERT_EQ(ReloadTallyQuestions(), 1);
    ForgetBoxes();
  }

  // Runs the tally into a CSV file and returns its rows.
  std::vector<Row> Run(int kind, const TallyFlags& flags) {
    g_printSettings.printType = kPrintTypeTally;
    g_printSettings.printItems = flags.items;
    g_printSettings.countPercent = flags.countPercent;
    g_printSettings.percentBase = flags.base;
    g_printSettings.file = TestFile("tally.csv");
    DeleteFileA(g_printSettings.file.c_str());
    EXPECT_EQ(RunTally(-1, kind), 0);
    EXPECT_EQ(Boxes(), (Row{"ＣＳＶファイル“" + g_printSettings.file + "”に出力しました。"}));
    ForgetBoxes();
    return ReadCsvRows(g_printSettings.file);
  }

  void ExpectRows(const std::vector<Row>& got, const std::vector<Row>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) EXPECT_EQ(got[i], want[i]) << "line " << i + 1;
  }

  std::vector<FixtureRecord> records_;
};

TEST_P(TallyTable, SimpleTalliesCountEveryChoice) {
  const TallyFlags cases[] = {
      {"111111", "11", 1},  // every column, both lines, percentages of the records
      {"110000", "01", 2},  // only percentages, of the checks; empty answers left out
      {"000110", "1", 1},   // counts only; the record count and 無回答
  };
  for (const TallyFlags& flags : cases) {
    SCOPED_TRACE(flags.items + " " + flags.countPercent);
    ExpectRows(Run(kTallySimple, flags), ExpectedTally(records_, flags, 0).Rows());
  }
}

TEST_P(TallyTable, CrossTabulationByOneItemSelectsEqualValues) {
  // The first grouping item holds 1, 2, 10, 11 and 21: the line of "1"
  // counts none of the records of 10, 11 or 21.
  const TallyFlags flags = {"011111", "11", 1};
  ExpectRows(Run(kTallyCrossFirst, flags), ExpectedTally(records_, flags, 1).Rows());
}

TEST_P(TallyTable, CrossTabulationByTwoItemsWithSubtotalsAndGrandTotal) {
  // The second grouping item is a written text: its values (with a quote,
  // "%" and "_") select their own rows only.
  const TallyFlags flags = {"010011", "10", 1};
  ExpectRows(Run(kTallyCrossBoth, flags), ExpectedTally(records_, flags, 2).Rows());
}

// The same records in the older layout of a tally table, each answer in
// the column of its question's number ("回答01", ...): the same tallies,
// the grouping items found by their questions' numbers too.
TEST_P(TallyTable, NumberedAnswerColumnsTallyAsNamedOnes) {
  Exec({std::string("drop table ") + kTallyTable});
  WriteTallyTable(records_, true);
  const TallyFlags flags = {"111111", "11", 1};
  for (int groups = 0; groups <= 2; ++groups) {
    SCOPED_TRACE(groups);
    ExpectRows(Run(kTallySimple + groups, flags), ExpectedTally(records_, flags, groups).Rows());
  }
}

TEST_P(TallyTable, AQuestionOfMoreThan512ChoicesIsRefused) {
  std::string codes;
  for (int i = 1; i <= 513; ++i) codes += (i > 1 ? "," : "") + std::to_string(i);
  g_survey.items[4].codes = codes;  // SAT
  g_survey.items[4].answerCount = 513;
  g_printSettings.file = TestFile("tally.csv");
  g_printSettings.printItems = "000000";
  g_printSettings.countPercent = "1";
  ASSERT_EQ(RunTally(-1, kTallySimple), 0);
  const Row boxes = Boxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0], "選択肢の数が最大数(512)を超えました。");
  const std::vector<Row> rows = ReadCsvRows(g_printSettings.file);
  EXPECT_EQ(std::count(rows.begin(), rows.end(), Row{"満足度を選んでください"}), 0);
  EXPECT_EQ(std::count(rows.begin(), rows.end(), Row{"利用目的（複数回答）"}), 1);
}

// A number marked in a grid of two digit columns counts once, as the
// number: one column a value the records hold, not 20 columns of digits
// each counted once in every column.
TEST_P(TallyTable, ADigitGridCountsTheNumberItsColumnsSpell) {
  SurveyItem& age = g_survey.items[6];
  ASSERT_EQ(age.itemName, "AGE");
  age.codes = "01234567890123456789";
  age.choices = "0,1,2,3,4,5,6,7,8,9,0,1,2,3,4,5,6,7,8,9";
  age.commaList = false;
  age.answerCount = 20;
  std::map<std::string, int> held;
  for (const FixtureRecord& record : records_) ++held[record.at("AGE")];
  Row labels, counts;
  for (const auto& [value, count] : held) {
    labels.push_back(value);
    counts.push_back(std::to_string(count));
  }
  const std::vector<Row> rows = Run(kTallySimple, {"000000", "1", 1});
  const auto at = std::find(rows.begin(), rows.end(), Row{"年代"});
  ASSERT_LT(at + 2, rows.end()) << testing::PrintToString(rows);
  EXPECT_EQ(at[1], labels);
  EXPECT_EQ(at[2], counts);
}

TEST_P(TallyTable, ACrossTabulationWithoutItsGroupingItemWritesNothing) {
  g_survey.groupItem[2].clear();
  const std::vector<Row> rows = Run(kTallyCrossBoth, {"010000", "10", 1});
  EXPECT_TRUE(rows.empty());
}

// A CSV file that cannot take the tally (a device that takes no byte) is
// told as such, never as written.
TEST_P(TallyTable, ACsvFileThatCannotBeWrittenIsNotToldAsWritten) {
  g_printSettings.printType = kPrintTypeTally;
  g_printSettings.printItems = "111111";
  g_printSettings.countPercent = "11";
  g_printSettings.file = "Z:\\dev\\full";
  EXPECT_NE(RunTally(-1, kTallySimple), 0);
  const Row boxes = Boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].find("出力しました"), std::string::npos) << boxes[0];
}

INSTANTIATE_TEST_SUITE_P(Drivers, TallyTable, testing::Values(kDbKindFile, kDbKindServer),
                         KindName);

// Rows of one grouping value, selected from a table of its own.
class TallySelection : public SurveyDbTest {
 protected:
  // The keys of the rows the selection of `value` holds.
  Row Select(const char* value) {
    Row keys;
    for (int rc = SearchTallyByPattern(g_tally.slot, value, "", 1); rc == 0;
         rc = db_nread(g_tally.slot)) {
      keys.push_back(GetColumnText(g_tally.slot, "番号"));
    }
    return keys;
  }
};

TEST_P(TallySelection, ItemsOfSeveralMarksSelectTheRowsThatHoldTheMark) {
  Exec({std::string("create table ") + kTallyTable + " (番号 varchar(4), MARKS varchar(5))",
        std::string("insert into ") + kTallyTable +
            " values ('01', '1'), ('02', '%'), ('03', '_'),"
            " ('04', '1%'), ('05', 'a_b'), ('06', 'x'), ('07', '!'), ('08', '1!'), ('09', '')"});
  g_survey.tallyTable = kTallyTable;
  g_survey.questionCount = 1;
  g_survey.items[1].itemName = "MARKS";
  g_survey.items[1].codes = "1%_!";  // single characters: several marks a row
  g_survey.groupItem[1] = "MARKS";
  ASSERT_EQ(OpenTallyTable(), 0);
  // In the order of the item, then the key.
  EXPECT_EQ(Select("1"), (Row{"01", "08", "04"}));
  EXPECT_EQ(Select("%"), (Row{"02", "04"}));
  EXPECT_EQ(Select("_"), (Row{"03", "05"}));
  EXPECT_EQ(Select("!"), (Row{"07", "08"}));
  // The same item as a comma list of single answers: equal values only.
  g_survey.items[1].codes = "1,%,_,!";
  g_survey.items[1].commaList = true;
  g_survey.items[1].maxAnswers = 1;
  EXPECT_EQ(Select("1"), (Row{"01"}));
  EXPECT_EQ(Select("_"), (Row{"03"}));
  EXPECT_EQ(Boxes(), Row{});
}

INSTANTIATE_TEST_SUITE_P(Drivers, TallySelection, testing::Values(kDbKindFile, kDbKindServer),
                         KindName);

}  // namespace
