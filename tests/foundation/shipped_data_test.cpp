// What the program ships in data/ reads back as intended.
#include <cstdio>

#include <gtest/gtest.h>

#include "foundation/ocr_ini.h"

namespace {

TEST(ShippedData, SampleOcrIniChoosesTheFileDatabase) {
  const char* path = SHEETDESK_DATA_DIR "/OCR.INI";
  std::FILE* file = std::fopen(path, "r");
  ASSERT_NE(file, nullptr) << path;  // a missing file would read as defaults
  std::fclose(file);
  OcrIniSettings settings;
  SetOcrIniDefaults(settings);
  ASSERT_EQ(ReadOcrIniFile(path, "C:\\SHEETDESK", settings), 0);
  EXPECT_EQ(settings.defaultDbKind, kDbKindFile);
  EXPECT_STREQ(settings.serverName, "");
  EXPECT_EQ(settings.debugLevel, 0);
}

}  // namespace
