// The era table file and era dates: lines of the table, date texts taken
// apart, and era dates converted to Western dates.
#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/dates.h"

namespace {

// A table in the file's form: newest first, quotes allowed, CR LF line ends,
// and lines that are no era.
const char kTable[] =
    "2019,5,1,\"R-ERA\",R\r\n"
    "\r\n"
    "1989,1,8,H-ERA,h\r\n"        // the letter in lower case
    "1926,12,25,S-ERA\r\n"        // no letter: no era
    "0,1,1,ZERO,Z\r\n"            // no year: no era
    "1926,12,25,\"S,ERA\",S\r\n"  // a quoted comma does not split
    "1912,7,30,T-ERA,T\r\n"
    "1900,1,1,OLDER,T\n";  // a later line of a known letter never wins

TEST(EraTable, ReadsTheErasOfItsLinesInFileOrder) {
  std::vector<EraEntry> eras;
  ASSERT_EQ(ParseEraTable(kTable, &eras), 5);
  struct Want {
    int year, month, day;
    const char* name;
    char letter;
  };
  const Want want[] = {{2019, 5, 1, "R-ER", 'R'},  // names are cut to 4 bytes
                       {1989, 1, 8, "H-ER", 'H'},
                       {1926, 12, 25, "S,ER", 'S'},
                       {1912, 7, 30, "T-ER", 'T'},
                       {1900, 1, 1, "OLDE", 'T'}};
  for (size_t k = 0; k < eras.size(); ++k) {
    SCOPED_TRACE(k);
    EXPECT_EQ(eras[k].startYear, want[k].year);
    EXPECT_EQ(eras[k].startMonth, want[k].month);
    EXPECT_EQ(eras[k].startDay, want[k].day);
    EXPECT_EQ(eras[k].name, want[k].name);
    EXPECT_EQ(eras[k].letter, want[k].letter);
  }
}

TEST(EraTable, CutsFieldsAtTheirLimitsAndNeverInsideACharacter) {
  EraEntry era;
  // "令和令" in Shift-JIS: four bytes keep two characters.
  ASSERT_EQ(ParseEraTableLine("201912,0512,0199,\x97\xdf\x98\x61\x97\xdf,Rx", &era), 0);
  EXPECT_EQ(era.startYear, 2019);
  EXPECT_EQ(era.startMonth, 5);
  EXPECT_EQ(era.startDay, 1);
  EXPECT_EQ(era.name, "\x97\xdf\x98\x61");
  EXPECT_EQ(era.letter, 'R');
  // A name whose 4th byte would be a lead byte keeps three.
  ASSERT_EQ(ParseEraTableLine("2019,5,1,A\x97\xdf\x98\x61,R", &era), 0);
  EXPECT_EQ(era.name, "A\x97\xdf");
  // An overlong line is no era line, and nothing overflows.
  const std::string longLine = "2019,5,1," + std::string(5000, 'N') + ",R";
  EXPECT_EQ(ParseEraTableLine(longLine.c_str(), &era), -1);
}

TEST(EraTable, SplitsDateTexts) {
  struct Case {
    const char* text;
    const char* year;
    const char* month;
    const char* day;
  };
  const Case cases[] = {
      {"2024/1/5", "2024", "1", "5"},
      {"H01/02/03", "01", "02", "03"},
      {"R6 3 15", "6", "3", "15"},
      {"R 6  3/15", "6", "3", "15"},  // runs of separators split once
      {"2024/1", "2024", "1", ""},
      {"1a2b/3", "12", "3", ""},                               // letters inside are dropped
      {"\x82\x60\x82\x51/1/2", "\x82\x60\x82\x51", "1", "2"},  // "Ａ２": the trail byte 'Q' stays
      {"", "", "", ""},
      {"2024/01/051", "", "", ""},  // longer than 10 bytes
      {"1/2/3/4", "1", "2", "3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    char year[16], month[16], day[16];
    EXPECT_EQ(SplitDateText(year, month, day, c.text), 0);
    EXPECT_STREQ(year, c.year);
    EXPECT_STREQ(month, c.month);
    EXPECT_STREQ(day, c.day);
  }
}

TEST(EraTable, ConvertsEraDatesToWesternDates) {
  std::vector<EraEntry> eras;
  ParseEraTable(kTable, &eras);
  struct Case {
    const char* what;
    const char* text;
    int result;
    const char* date;
  };
  const Case cases[] = {
      {"plain", "H1/2/3", 0, "1989/02/03"},
      {"lower-case letter", "h01/02/03", 0, "1989/02/03"},
      {"blanks", "R6 3 15", 0, "2024/03/15"},
      {"the first day is year 1", "R1/5/1", 0, "2019/05/01"},
      {"the first line of a letter wins", "T2/1/1", 0, "1913/01/01"},
      {"missing month and day", "S2", 0, "1927/00/00"},
      {"unknown letter", "X1/1/1", -1, ""},
      {"a Western date", "2024/01/05", -1, ""},
      {"no era year", "H", -1, ""},
      {"leading separators", "H//3", 0, "1991/00/00"},
      {"too long to split", "H01/02/0345", -1, ""},
      {"empty", "", -1, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    char out[kDateTextSize] = "junk";
    EXPECT_EQ(ConvertEraDateWith(eras, out, c.text), c.result);
    EXPECT_STREQ(out, c.date);
  }
}

TEST(EraTable, ReadsTheTableFile) {
  std::vector<EraEntry> eras;
  EXPECT_EQ(LoadEraTableFile("no-such-era-table.txt", &eras), -1);
  EXPECT_TRUE(eras.empty());

  const char* path = "era_table_test.txt";
  std::FILE* file = std::fopen(path, "wb");
  ASSERT_NE(file, nullptr);
  std::fputs(kTable, file);
  std::fclose(file);
  ASSERT_EQ(LoadEraTableFile(path, &eras), 0);
  EXPECT_EQ(eras.size(), 5u);
  std::remove(path);
}

TEST(EraTable, WritesWesternDatesInEraForm) {
  std::vector<EraEntry> eras;
  ParseEraTable(kTable, &eras);
  struct Case {
    const char* what;
    const char* date;
    int style;
    int result;
    const char* text;
  };
  const Case cases[] = {
      {"compact", "2024/03/05", 0, 0, "R-ER 6年 3月 5日"},
      {"spaced", "2024/03/05", 2, 0, "R-ER  6 年  3 月  5 日"},
      {"the first day is year 1", "2019/05/01", 1, 0, "R-ER 1年 5月 1日"},
      {"the day before belongs to the era before", "2019/04/30", 0, 0, "H-ER31年 4月30日"},
      {"the first fitting line wins", "1926/12/25", 0, 0, "S,ER 1年12月25日"},
      {"an older line of a known letter", "1905/01/01", 0, 0, "OLDE 6年 1月 1日"},
      {"before every era", "1899/12/31", 0, -1, ""},
      {"empty", "", 0, -1, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    char out[kDateTextSize] = "junk";
    EXPECT_EQ(WesternToEraTextWith(eras, out, c.date, c.style), c.result);
    EXPECT_STREQ(out, c.text);
  }
  char out[kDateTextSize] = "junk";
  EXPECT_EQ(WesternToEraTextWith({}, out, "2024/03/05", 0), -1) << "no table: no era";
  EXPECT_STREQ(out, "");
}

TEST(EraTable, NormalizesWhatIsTypedIntoADateField) {
  std::vector<EraEntry> eras;
  ParseEraTable(kTable, &eras);
  struct Case {
    const char* typed;
    const char* stored;
  };
  const Case cases[] = {
      {"2024/1/5", "2024/01/05"},
      {"2024 1 5", "2024/01/05"},
      {"h1/2/3", "1989/02/03"},     // an era letter in lower case
      {"R1/5/1", "2019/05/01"},
      {"X1/2/3", "0001/02/03"},     // an unknown letter: reformatted as digits
      {"2024/01/05", "2024/01/05"},  // ten bytes stay as typed
      {"2024/01/0512", "0000/00/00"},
      {"2024", "2024/00/00"},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    char out[kDateTextSize];
    NormalizeDateTextWith(eras, out, c.typed);
    EXPECT_STREQ(out, c.stored);
  }
  char out[kDateTextSize];
  NormalizeDateTextWith({}, out, "H1/2/3");
  EXPECT_STREQ(out, "0001/02/03") << "without an era table the text is kept as digits";
}

}  // namespace
