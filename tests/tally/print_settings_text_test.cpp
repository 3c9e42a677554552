// Lines of the print-settings file written and read back, the defaults of a
// code without a line, the print codes of tallies and the papers the
// settings name.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tally/tally.h"

namespace {

PrintSettings Sample() {
  PrintSettings s;
  s.code = "L00101";
  s.startCode = "0001";
  s.endCode = "0999";
  s.paper = "Ｂ５横";
  s.topMargin = 14;
  s.charSize = 9;
  s.leftMargin = 16;
  s.lines = 45;
  s.lineSpacing = 3;
  s.reserved10 = 7;
  s.previewReduction = 1.5;
  s.labelWidth = 91;
  s.labelHeight = 55;
  s.columns = 3;
  s.labelRows = 5;
  s.labelTop = 11;
  s.labelLeft = 13;
  s.framePrint = 1;
  s.notch = 12;
  s.upperLimit = 80;
  s.lowerLimit = 2;
  s.quoteTexts = 1;
  s.field = "氏名";
  s.file = "C:\\表示\\out.csv";
  s.titleLine = 1;
  s.pageNumbers = 0;
  s.radarMaximum = 60;
  s.firstLabel = 4;
  return s;
}

void ExpectSameFileFields(const PrintSettings& a, const PrintSettings& b) {
  EXPECT_EQ(a.code, b.code);
  EXPECT_EQ(a.startCode, b.startCode);
  EXPECT_EQ(a.endCode, b.endCode);
  EXPECT_EQ(a.paper, b.paper);
  EXPECT_EQ(a.topMargin, b.topMargin);
  EXPECT_EQ(a.charSize, b.charSize);
  EXPECT_EQ(a.leftMargin, b.leftMargin);
  EXPECT_EQ(a.lines, b.lines);
  EXPECT_EQ(a.lineSpacing, b.lineSpacing);
  EXPECT_EQ(a.reserved10, b.reserved10);
  EXPECT_DOUBLE_EQ(a.previewReduction, b.previewReduction);
  EXPECT_EQ(a.labelWidth, b.labelWidth);
  EXPECT_EQ(a.labelHeight, b.labelHeight);
  EXPECT_EQ(a.columns, b.columns);
  EXPECT_EQ(a.labelRows, b.labelRows);
  EXPECT_EQ(a.labelTop, b.labelTop);
  EXPECT_EQ(a.labelLeft, b.labelLeft);
  EXPECT_EQ(a.framePrint, b.framePrint);
  EXPECT_EQ(a.notch, b.notch);
  EXPECT_EQ(a.upperLimit, b.upperLimit);
  EXPECT_EQ(a.lowerLimit, b.lowerLimit);
  EXPECT_EQ(a.quoteTexts, b.quoteTexts);
  EXPECT_EQ(a.field, b.field);
  EXPECT_EQ(a.file, b.file);
  EXPECT_EQ(a.titleLine, b.titleLine);
  EXPECT_EQ(a.pageNumbers, b.pageNumbers);
  EXPECT_EQ(a.radarMaximum, b.radarMaximum);
  EXPECT_EQ(a.firstLabel, b.firstLabel);
}

TEST(PrintSettingsLine, WritesTheFileForm) {
  EXPECT_EQ(FormatPrintSettingsLine(Sample()),
            "L00101,0001,0999,Ｂ５横,14,9,16,45,3,7,0,0,1.5,91,55,3,5,0,0,11,13,1,12,80,2,1,0,"
            "氏名,C:\\表示\\out.csv,1,0,60,4");
}

TEST(PrintSettingsLine, ReadsBackWhatItWrote) {
  struct Case {
    const char* what;
    std::string file;
    std::string field;
  };
  const Case cases[] = {
      {"plain", "C:\\表示\\out.csv", "氏名"},
      {"a comma in the file name", "C:\\売上,集計\\a.csv", "A,B"},
      {"quotes", "say \"x\".csv", "\""},
      {"256 bytes", std::string(252, 'f') + ".csv", ""},
      {"empty texts", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PrintSettings written = Sample();
    written.file = c.file;
    written.field = c.field;
    PrintSettings read;
    EXPECT_EQ(ParsePrintSettingsLine(FormatPrintSettingsLine(written).c_str(), read),
              kPrintSettingsFields);
    ExpectSameFileFields(read, written);
  }
}

// A line whose first texts are empty keeps them in their places: written
// back, it reads again under the same (empty) code with every later field
// where it was.
TEST(PrintSettingsLine, EmptyLeadingTextsKeepTheirPlaces) {
  const char* line = ",,,Ａ４縦,14,10,14,50,1";
  PrintSettings read = Sample();
  ParsePrintSettingsLine(line, read);
  const std::string written = FormatPrintSettingsLine(read);
  EXPECT_EQ(written.substr(0, std::strlen(line)), line);
  EXPECT_EQ(PrintSettingsLineCode(written.c_str()), "");
  PrintSettings again;
  ParsePrintSettingsLine(written.c_str(), again);
  ExpectSameFileFields(again, read);
}

TEST(PrintSettingsLine, GapsAreNotKept) {
  PrintSettings written = Sample();
  written.gapX = 5;
  written.gapY = 6;
  PrintSettings read;
  read.gapX = 9;
  read.gapY = 9;
  ParsePrintSettingsLine(FormatPrintSettingsLine(written).c_str(), read);
  EXPECT_EQ(read.gapX, 0);
  EXPECT_EQ(read.gapY, 0);
  // A line written by hand with RSPC 5 reads back 0 as well.
  ParsePrintSettingsLine("X,,,Ａ４縦,1,2,3,4,5,0,0,0,1.0,1,1,1,1,5,7", read);
  EXPECT_EQ(read.gapX, 0);
  EXPECT_EQ(read.gapY, 0);
}

TEST(PrintSettingsLine, AShortLineLeavesTheRestAsTheyWere) {
  PrintSettings read = Sample();
  EXPECT_EQ(ParsePrintSettingsLine("EQPG01,1,2,Ａ４縦,30", read), 5);
  EXPECT_EQ(read.code, "EQPG01");
  EXPECT_EQ(read.topMargin, 30);
  EXPECT_EQ(read.charSize, 9);
  EXPECT_EQ(read.file, Sample().file);
}

TEST(PrintSettingsLine, TextsAreCutToTheirRoom) {
  PrintSettings read;
  const std::string longCode = "ABCDEFGH";
  const std::string longPaper = "Ａ４縦長";  // 8 bytes: the last character goes
  ParsePrintSettingsLine((longCode + ",s,e," + longPaper + "," + std::string(300, 'p')).c_str(),
                         read);
  EXPECT_EQ(read.code, "ABCDEF");
  EXPECT_EQ(read.paper, "Ａ４縦");
  EXPECT_EQ(read.topMargin, 0);
  EXPECT_EQ(PrintSettingsLineCode("L00001,a,b"), "L00001");
  EXPECT_EQ(PrintSettingsLineCode(""), "");
}

TEST(PrintSettingsDefaults, ByPrintType) {
  PrintSettings list = Sample();
  list.printType = kPrintTypeList;
  SetDefaultPrintSettings(list, "L00201");
  EXPECT_EQ(list.code, "L00201");
  EXPECT_EQ(list.paper, "Ａ４縦");
  EXPECT_EQ(list.pageNumbers, 1);
  EXPECT_EQ(list.lines, 50);
  EXPECT_EQ(list.charSize, 10);
  EXPECT_EQ(list.framePrint, -1);
  EXPECT_EQ(list.topMargin, 14);
  EXPECT_EQ(list.labelWidth, 91);
  EXPECT_EQ(list.file, "");
  // The range and the fields without a default stay.
  EXPECT_EQ(list.startCode, "0001");
  EXPECT_EQ(list.radarMaximum, 60);

  PrintSettings labels;
  labels.printType = kPrintTypeLabels;
  SetDefaultPrintSettings(labels, "C00201");
  EXPECT_EQ(labels.topMargin, 24);
  EXPECT_EQ(labels.leftMargin, 20);
  EXPECT_EQ(labels.labelWidth, 85);
  EXPECT_EQ(labels.labelHeight, 42);
  EXPECT_EQ(labels.labelRows, 6);
  EXPECT_EQ(labels.labelTop, 4);
  EXPECT_EQ(labels.labelLeft, 4);
}

TEST(PrintSettingsCodes, TallySettingsHaveCodesOfTheirOwn) {
  struct Case {
    int type, setting;
    const char* code;
  };
  const Case cases[] = {
      {25, 1, "EQPG01"}, {25, 3, "EQPG03"}, {26, 2, "EQPG05"}, {27, 1, "EQPG06"},
      {28, 3, "EQPG10"}, {29, 3, "EQPG12"}, {29, 1, "EQPG10"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TallyPrintCode(c.type, c.setting), c.code) << c.type << " " << c.setting;
  }
}

TEST(PrintSettingsPreview, PageOfThePaper) {
  const PreviewPage a4 = ComputePreviewPage("Ａ４横", 1.0);
  EXPECT_EQ(a4.width, 1515);  // 2970 x 0.51 = 1514.7
  EXPECT_EQ(a4.height, 1071);
  EXPECT_EQ(a4.inset, 30);
  EXPECT_TRUE(a4.framed);
  const PreviewPage half = ComputePreviewPage("Ｂ５縦", 2.0);
  EXPECT_EQ(half.width, 464);  // 1820 x 0.51 / 2 = 464.1
  EXPECT_EQ(half.height, 655);
  EXPECT_EQ(half.inset, 15);
  EXPECT_FALSE(ComputePreviewPage("はがき", 1.0).framed);
  EXPECT_EQ(ComputePreviewPage("Ａ４縦", 0.0).width, 1071);  // no reduction: 1.0
}

TEST(PrintSettingsFlags, CountsAndPercentagesNeverBothOff) {
  struct Case {
    const char* flags;
    int box;
    bool on;
    int type;
    const char* result;
  };
  const Case cases[] = {
      {"11", 1, false, 25, "01"}, {"01", 2, false, 25, "10"}, {"10", 1, false, 27, "01"},
      {"01", 1, true, 25, "11"},  {"010", 3, true, 28, "011"}, {"010", 2, false, 28, "100"},
      {"", 2, true, 29, "01"},    {"01", 3, true, 29, "01"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ToggleCountPercent(c.flags, c.box, c.on, c.type), c.result)
        << c.flags << " box " << c.box;
  }
}

TEST(PrintSettingsPaper, SizesAndOrientation) {
  struct Case {
    const char* paper;
    int code, orientation, width, height;
  };
  const Case cases[] = {
      {"Ａ４縦", 2, 1, 2100, 2970}, {"Ａ４横", 2, 2, 2970, 2100}, {"Ａ３横", 1, 2, 4200, 2970},
      {"Ｂ５縦", 4, 1, 1820, 2570}, {"Ｂ４横", 3, 2, 3640, 2570}, {"Ａ５縦", 6, 1, 1485, 2100},
      {"Ａ６横", 7, 2, 1485, 1050}, {"はがき", 8, 1, 1000, 1475}, {"封筒", 8, 1, 1200, 2600},
      {"", 2, 1, 2100, 2970},       {"Ｌ判", 2, 1, 2100, 2970},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.paper);
    const PaperSpec spec = PaperOfSetting(c.paper);
    EXPECT_EQ(spec.paperCode, c.code);
    EXPECT_EQ(spec.orientation, c.orientation);
    EXPECT_EQ(spec.widthTenthMm, c.width);
    EXPECT_EQ(spec.heightTenthMm, c.height);
  }
}

}  // namespace
