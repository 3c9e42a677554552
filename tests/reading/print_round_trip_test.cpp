// Sheets printed by the program and read back: numbered sheets printed
// through CUPS to a PDF, rendered at 200, 300 and 400 dpi to 1-bit pages,
// filled by the sheet generator's pen on the rendered page, scanned with a
// shift, skew, scale and specks, and read with the reading run's steps:
// every box reads as filled, and each sheet's number stands inside the
// boxes of its field. The frames print pale, as a drop-out colour the
// scanner's threshold leaves out.
#include <gtest/gtest.h>

#include "tests/reading/run_fixture.h"
#include "tests/support/required_service.h"
#include "tools/print_round_trip/round_trip.h"
#include "tools/sheetgen/page_reader.h"

namespace {

class PrintRoundTrip : public ReadingDbTest {
 protected:
  void ExpectFewerMarksReadBack(int mode);
};

TEST_F(PrintRoundTrip, PrintedSheetsReadBackAsFilled) {
  const std::string why = PrintingUnavailable();
  if (!why.empty()) SKIP_WITHOUT_SERVICE(why);
  const SheetDefinition sheet = RoundTripSheet();
  WriteDefinition(sheet);
  ASSERT_EQ(UsePaleFrames(folder().c_str(), kSheetDb), 0);
  BuildCanvas();
  const std::vector<int> dpis = {200, 300, 400};
  std::vector<std::vector<PdfPage>> rendered;
  std::string fault;
  ASSERT_EQ(PrintNumberedSheets("000098", "000099", 600, dpis, &rendered, &fault), 0)
      << fault << testing::PrintToString(Boxes());
  for (size_t d = 0; d < dpis.size(); ++d) {
    SCOPED_TRACE(dpis[d]);
    ASSERT_EQ(rendered[d].size(), 2u);
    for (size_t p = 0; p < rendered[d].size(); ++p) {
      SCOPED_TRACE(p);
      const GeneratedSheet printed = PrintedPageOf(rendered[d][p]);
      const FieldInk number = InkOfField(sheet, printed, "ID");
      EXPECT_EQ(number.boxesInked, 6) << "a digit in every box of the number";
      EXPECT_EQ(number.outside, 0) << "nothing of it beside the field";
      for (uint32_t seed : {1u, 2u}) {
        for (bool degrade : {false, true}) {
          SCOPED_TRACE(testing::Message() << "seed " << seed << (degrade ? ", scanned" : ""));
          const RoundTripCase c{dpis[d], seed + 10 * static_cast<uint32_t>(p), degrade};
          const RoundTripResult result = ReadFilledPage(sheet, printed, c);
          EXPECT_TRUE(result.read);
          EXPECT_GT(result.boxes, 40);
          EXPECT_EQ(result.wrong, 0) << testing::PrintToString(result.faults);
        }
      }
    }
  }
  EXPECT_TRUE(Boxes().empty()) << testing::PrintToString(Boxes());
}

// One and two registration marks print where the reader looks for them as
// well as three do (above): a sheet of each mode, printed, read back.
void PrintRoundTrip::ExpectFewerMarksReadBack(int mode) {
  SheetDefinition sheet = RoundTripSheet();
  sheet.papers[0].compensationMode = mode;
  WriteDefinition(sheet);
  ASSERT_EQ(UsePaleFrames(folder().c_str(), kSheetDb), 0);
  BuildCanvas();
  std::vector<std::vector<PdfPage>> rendered;
  std::string fault;
  ASSERT_EQ(PrintNumberedSheets("000001", "000001", 600, {300}, &rendered, &fault), 0)
      << fault << testing::PrintToString(Boxes());
  ASSERT_EQ(rendered[0].size(), 1u);
  const GeneratedSheet printed = PrintedPageOf(rendered[0][0]);
  // One mark registers a shift only: that sheet is read unturned.
  const RoundTripResult result = ReadFilledPage(sheet, printed, {300, 3, mode == 2});
  EXPECT_TRUE(result.read);
  EXPECT_GT(result.boxes, 40);
  EXPECT_EQ(result.wrong, 0) << testing::PrintToString(result.faults);
  EXPECT_TRUE(Boxes().empty()) << testing::PrintToString(Boxes());
}

TEST_F(PrintRoundTrip, OneMarkSheetsReadBackAsFilled) {
  const std::string why = PrintingUnavailable();
  if (!why.empty()) SKIP_WITHOUT_SERVICE(why);
  ExpectFewerMarksReadBack(1);
}

TEST_F(PrintRoundTrip, TwoMarkSheetsReadBackAsFilled) {
  const std::string why = PrintingUnavailable();
  if (!why.empty()) SKIP_WITHOUT_SERVICE(why);
  ExpectFewerMarksReadBack(2);
}

}  // namespace
