// The card form after a reading run: a sheet read from the feeder into its
// output table, its record images cut out beside the page, and the card of
// the output table showing the record with the images; the operator
// corrects a read value and the row holds the correction.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "designer/sheet_settings.h"
#include "entry/card_form.h"
#include "entry/entry.h"
#include "foundation/db.h"
#include "foundation/files.h"
#include "reading/reading.h"
#include "screen/screen.h"
#include "tests/entry/form_input.h"
#include "tests/platform/image_fixtures.h"
#include "tests/reading/run_fixture.h"
#include "tests/screen/screen_fixture.h"
#include "tests/support/test_pictures.h"
#include "tests/support/window_picture.h"
#include "tools/sheetgen/page_reader.h"

namespace {

// The card-form entry screen of the sheet ("201") over the output table:
// the key, the read marks of Q1 and the written name, each with its record
// image to its right.
const char kCardText[] =
    "[screen]\nSCRCODE = 201\nSCRNAME = 201\nSCRTYPE = ｶｰﾄﾞ\nSCRTITLE = 読み取り結果の修正\n"
    "SCRTBL = OUT1\nSCRDBS = OUTDB\nSCRINP = △\nSCRCSIZ = 8\nSCRWID = 90\nSCRHIG = 24\nSCRPOS = 左上\n"
    "SCRNO = 35\nSCRFKEY = 2222222222222000\n\n"
    "[field]\nFLDCODE = 001\nFLDNAME = ID\nFLDTITLE = ＩＤ\nFLDTYPE = 数字\nFLDEDT = ZERO\nFLDSMSU = 4\n"
    "FLDX = 14\nFLDY = 3\nFLDUNQ = ×\n\n"
    "[field]\nFLDCODE = 002\nFLDNAME = Q1\nFLDTITLE = 問１\nFLDTYPE = 半角\nFLDSMSU = 5\n"
    "FLDX = 14\nFLDY = 6\nFLDUNQ = →\n\n"
    "[field]\nFLDCODE = 003\nFLDNAME = NAME\nFLDTITLE = 氏名\nFLDTYPE = 半角\nFLDSMSU = 12\n"
    "FLDX = 14\nFLDY = 12\nFLDUNQ = →\n";

std::string Utf8(const char* text) {
  std::wstring wide(std::strlen(text) + 1, L'\0');
  wide.resize(MultiByteToWideChar(932, 0, text, -1, wide.data(), static_cast<int>(wide.size())) - 1);
  std::string out(wide.size() * 3 + 1, '\0');
  out.resize(WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), static_cast<int>(wide.size()), out.data(),
                                 static_cast<int>(out.size()), nullptr, nullptr));
  return out;
}

// One sheet of an A4 definition read with three marks at 300 dpi: its key
// numbered by the run, a check field of five boxes and a write-in field.
SheetDefinition CardSheet() {
  SheetDefinition d = NumberedKeySheet("CARDTEST", "OUT1");
  d.papers[0].recordImages = 1;
  SheetFieldRow q1 = CountedCheckFieldRow("0002", "Q1", 240, 280, 5, 5);
  q1.mask = "10000000001";  // the field keeps its image for the card
  d.fields.push_back(q1);
  SheetFieldRow name = WriteInFieldRow("0003", "NAME", 240, 360, 6);
  name.mask = "10000000001";
  d.fields.push_back(name);
  SheetKeyRow key;
  key.name = "ID";
  key.width = 4;
  d.keys.push_back(key);
  d.marks.push_back(RegisteredMarkRow(d, "0001", 300));
  return d;
}

class CardAfterReadingTest : public ReadingDbTest {
 protected:
  void TearDown() override {
    if (IsValidSlot(g_cardForm.slot)) SendMessageA(Slot(g_cardForm.slot).window, kMsgCloseWindow, 0, 0);
    for (HWND window : windows_) DestroyWindow(window);
    SetCardImageComparison("", 0);
    ReadingDbTest::TearDown();
  }

  std::vector<HWND> windows_;
};

TEST_F(CardAfterReadingTest, AReadValueIsCorrectedBesideItsRecordImage) {
  const SheetDefinition definition = CardSheet();
  InstallFeeder();
  WriteDefinition(definition);
  WriteOutputSpec("OUT1", {"ID:char*:4", "Q1", "NAME"});
  ASSERT_EQ(LoadCurrentSheetPaper(), 0);
  BuildCanvas();
  g_currentSheet.projectMode = kOperationMode;
  ASSERT_EQ(ValidateSheetFields(), 0) << testing::PrintToString(Boxes());
  g_readingRun.subMode = kScanRun;
  g_readingRun.dpi = 300;
  SheetRequest request;
  request.fills = {{"Q1", {1, 3}}};
  const GeneratedSheet sheet = GenerateSheet(definition, request);
  ASSERT_EQ(sheet.error, "");
  ASSERT_TRUE(WriteSheetBmp(FeedPath("PAGE00001.BMP"), sheet));
  ASSERT_EQ(RunSheetReading(), 0) << testing::PrintToString(Boxes());
  const auto read = Rows(kOutputDb, "OUT1", "ID");
  ASSERT_EQ(read.size(), 1u);
  const std::string readQ1 = read[0].at("Q1");
  ASSERT_NE(GetFileAttributesA(ImagePath("0001_Q1.BMP").c_str()), INVALID_FILE_ATTRIBUTES);

  // The card of the output table, beside the record images of the run.
  const HWND main = CreateTestWindow("main");
  windows_.push_back(main);
  InitScreenEngine(main);
  g_screen.metrics = TestMetrics();
  // The card finds the output database in the run's long folder, not in
  // the program's database folder.
  ASSERT_EQ(SetDbFolder(FreshFolder(std::string(GetProgramFolder()) + "\\cardrun").c_str()), 0);
  CreateDirectoryA(Path("texts").c_str(), nullptr);
  ASSERT_TRUE(WriteBytes(Path("texts\\201.txt"), Utf8(kCardText)));
  CopyFileA((GetProgramFolder() + "\\FSCRTBL3.SPC").c_str(), Path("FSCRTBL3.SPC").c_str(), FALSE);
  const HWND card = RegisterCardWindow(main);
  ASSERT_NE(card, nullptr);
  windows_.push_back(card);
  const HWND owner = CreateTestWindow("owner");
  windows_.push_back(owner);
  const char* images = g_readingPlaces.imageFolder.c_str();
  ForgetBoxes();
  EXPECT_EQ(OpenSheetCardForm(owner, folder().c_str(), kSheetDb, images), 1) << "no card screen generated yet";
  EXPECT_EQ(Boxes(), std::vector<std::string>{});
  // The sheet's card screen, as generation leaves it in the sheet database.
  ASSERT_EQ(LoadScreenTexts(Path("texts").c_str(), folder().c_str(), kSheetDb), 1) << testing::PrintToString(Boxes());
  ASSERT_EQ(OpenSheetCardForm(owner, folder().c_str(), kSheetDb, images), 0) << testing::PrintToString(Boxes());
  PumpMessages();
  const int slot = g_cardForm.slot;
  ASSERT_TRUE(IsValidSlot(slot)) << testing::PrintToString(Boxes());
  EXPECT_EQ(ShownText(slot, "ID"), "0001");
  EXPECT_EQ(ShownText(slot, "Q1"), readQ1);
  ASSERT_EQ(g_cardForm.images.size(), 2u) << "Q1 and NAME beside their images";
  EXPECT_EQ(g_cardForm.images[0].item, ResolveFieldRef(slot, "Q1"));
  if (const char* pictures = std::getenv("SHEETDESK_PICTURES"); pictures && *pictures) {
    ShowWindow(card, SW_SHOW);
    SaveWindowPicture(card, std::string(pictures) + "\\card_form_after_reading.png");
  }

  // The operator corrects Q1 and leaves the card.
  ASSERT_TRUE(TypeIntoField(slot, "Q1", "5"));
  PressKey(Slot(slot).editControl, VK_ESCAPE);
  PumpMessages();
  EXPECT_FALSE(IsValidSlot(g_cardForm.slot)) << "Esc closed the card";
  const int t = db_open(folder().c_str(), kOutputDb, "OUT1", kDbKindFile, "", "", "");
  ASSERT_GT(t, 0);
  ASSERT_EQ(db_tfind(t, 0), 0);
  EXPECT_EQ(std::string(GetColumnText(t, "Q1")), "5");
  EXPECT_EQ(std::string(GetColumnText(t, "NAME")), read[0].at("NAME"));
  EXPECT_NE(db_nread(t), 0) << "one row";
  db_close(t);
  EXPECT_EQ(Boxes(), std::vector<std::string>{});
}

}  // namespace
