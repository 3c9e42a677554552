// What a sheet print job works out before it draws: the registration marks
// of every compensation mode with and without mark margins, front and
// back; the identification numbers of a run, and the runs refused because
// a number would not fit its field; the margin sets the window shows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tally/sheet_printing.h"

namespace {

using Squares = std::vector<std::vector<int>>;

Squares Marks(int mode, int mx, int my, bool back, int width = 210, int height = 297) {
  Squares out;
  for (const RegistrationSquare& s : RegistrationSquares(mode, width, height, mx, my, back)) {
    out.push_back({s.x, s.y, s.size});
  }
  return out;
}

TEST(SheetPrintPlan, RegistrationMarksFollowTheCompensationMode) {
  struct Case {
    const char* what;
    int mode, mx, my;
    bool back;
    Squares marks;
  };
  const Case cases[] = {
      {"mode 0: none", 0, 7, 7, true, {}},
      {"mode 3 without margins", 3, 0, 0, false, {{10, 14, 3}, {197, 14, 3}, {10, 284, 3}}},
      {"mode 3 with margins", 3, 7, 9, false, {{7, 9, 3}, {201, 9, 3}, {7, 288, 3}}},
      {"mode 3 back, margins", 3, 7, 9, true, {{7, 9, 3}, {201, 9, 3}, {7, 288, 3}, {7, 14, 3}}},
      {"mode 3 back", 3, 0, 0, true, {{10, 14, 3}, {197, 14, 3}, {10, 284, 3}, {10, 19, 3}}},
      {"mode 1", 1, 0, 0, false, {{6, 6, 2}}},
      {"mode 1 with margins", 1, 8, 8, false, {{8, 8, 2}}},
      {"mode 1 back", 1, 0, 0, true, {{6, 6, 2}, {6, 10, 2}}},
      {"mode 2", 2, 0, 0, false, {{6, 6, 2}, {202, 6, 2}}},
      {"mode 2 with margins, back", 2, 8, 9, true, {{8, 9, 2}, {200, 9, 2}, {8, 13, 2}}},
      {"one margin alone counts as none", 2, 8, 0, false, {{6, 6, 2}, {202, 6, 2}}},
      {"unknown mode", 4, 0, 0, false, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Marks(c.mode, c.mx, c.my, c.back), c.marks);
  }
  EXPECT_EQ(Marks(3, 0, 0, false, 297, 210), (Squares{{10, 14, 3}, {284, 14, 3}, {10, 197, 3}}))
      << "landscape";
}

std::vector<std::string> Numbers(const IdNumberRun& run) {
  std::vector<std::string> numbers;
  for (int64_t k = 0; k < run.Count(); ++k) numbers.push_back(run.At(k));
  return numbers;
}

TEST(SheetPrintPlan, NumberRunsGoEitherWayAndNeverWrap) {
  struct Case {
    const char* what;
    const char* start;
    const char* end;
    int width;
    std::vector<std::string> numbers;  // empty: refused
  };
  const Case cases[] = {
      {"downward", "0010", "0008", 4, {"0010", "0009", "0008"}},
      {"one sheet", "0042", "0042", 4, {"0042"}},
      {"up to all nines", "9998", "9999", 4, {"9998", "9999"}},
      {"down to zero", "0001", "0000", 4, {"0001", "0000"}},
      {"short numbers widened", "8", "12", 3, {"008", "009", "010", "011", "012"}},
      {"zeros beyond the field are no digits", "00099", "00100", 3, {"099", "100"}},
      {"past the field's digits", "9998", "10000", 4, {}},
      {"start past the field's digits", "12345", "1", 4, {}},
      {"not a number", "00A1", "0003", 4, {}},
      {"no start", "", "0003", 4, {}},
      {"full-width digits are not taken", "１", "2", 4, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    IdNumberRun run;
    std::string why;
    const int rc = PlanIdNumberRun(c.start, c.end, c.width, "ID", &run, &why);
    EXPECT_EQ(rc, c.numbers.empty() ? -1 : 0);
    if (rc == 0) {
      EXPECT_EQ(Numbers(run), c.numbers);
    } else {
      EXPECT_NE(why.find("ID"), std::string::npos) << why;
    }
  }
}

TEST(SheetPrintPlan, EachMarginSetShowsItsOwnValues) {
  PrintMarginSets sets;
  sets.printer = {5, 6, 0};
  sets.pdf = {7, 8, 0};
  EXPECT_EQ(ShownMarginSet(sets, false).ratio, 100);
  EXPECT_EQ(ShownMarginSet(sets, true).ratio, 103);
  EXPECT_EQ(ShownMarginSet(sets, true).left, 7);
  EXPECT_EQ(ShownMarginSet(sets, false).top, 6);
  sets.pdf.ratio = 97;
  EXPECT_EQ(ShownMarginSet(sets, true).ratio, 97);
  EXPECT_STREQ(MarginSetNote(false), "");
  EXPECT_STRNE(MarginSetNote(true), "");
}

TEST(SheetPrintPlan, AdviceOnlyForTwoSidedSheets) {
  EXPECT_STREQ(PrintAdviceText(false, false, false), "");
  EXPECT_STREQ(PrintAdviceText(false, true, false), "");
  const std::string portrait = PrintAdviceText(true, false, false);
  const std::string landscape = PrintAdviceText(true, true, false);
  const std::string oneSide = PrintAdviceText(false, false, true);
  EXPECT_NE(landscape.find("とじ方向"), std::string::npos);
  EXPECT_EQ(portrait.find("とじ方向"), std::string::npos);
  EXPECT_NE(portrait.find("両面印刷"), std::string::npos);
  EXPECT_EQ(oneSide.find("両面印刷"), std::string::npos);
  EXPECT_NE(oneSide.find("裏写り"), std::string::npos);
}

}  // namespace
