// A generated survey for the tally's tests: ten questions of every kind a
// tally counts (single marks, several marks, comma lists of one value or of
// two in a row, a numeric column, an exempt question, write-in items as a
// grouping item and as a question without choices) and a tally table of
// generated records, written into the test database of DbTest on both
// drivers. The expected counts are computed here, apart from the tally.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "tests/foundation/db_test_support.h"

// One question as the survey stores it and the tally table holds it.
struct FixtureQuestion {
  const char* column;
  const char* text;
  const char* choices;
  const char* codes;
  int maxAnswers;
  int group;     // 1 or 2: a grouping item of cross tabulations
  int exempt;    // チェック05
  bool numeric;  // an integer column
};
extern const std::vector<FixtureQuestion> kFixtureQuestions;

// One generated record: the answer of each question's column as text.
using FixtureRecord = std::map<std::string, std::string>;

// Counts of one question over some records.
struct ExpectedCounts {
  std::vector<double> counts;  // [0] total, [k] choice k
  double noAnswer = 0, over = 0, base = 0;
};
// Counts `question` (index into kFixtureQuestions) over the records that
// `select` accepts, as the tally should.
ExpectedCounts CountExpected(const std::vector<FixtureRecord>& records, size_t question,
                             bool includeNoAnswer, bool includeOver);

// The records of the tally table, generated from a seed.
std::vector<FixtureRecord> GenerateRecords(int count, unsigned seed);

class SurveyDbTest : public DbTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Writes 調査定義, 調査項目 and the tally table with `records`, and points
  // the survey at them.
  void WriteSurvey(const std::vector<FixtureRecord>& records);
  // Writes the tally table of `records`. `numberedColumns`: in the older
  // layout, each answer in a column named by its question's number
  // ("回答01", ...), not by its item.
  void WriteTallyTable(const std::vector<FixtureRecord>& records, bool numberedColumns);
  // The colour text stored for `slot` in the GCOLOR row of `type`; "" when
  // the row is missing.
  static std::string StoredGraphColor(int type, int slot);
  // The path of a file in the test folder.
  std::string TestFile(const char* name) const { return folder() + "\\" + name; }

  static constexpr const char* kTallyTable = "回答_集計用";
};

