// Scanner settings of a run: the brightness handed to the scanner and the
// scanner list file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reading/reading.h"
#include "tests/platform/image_fixtures.h"

namespace {

TEST(Scanning, BrightnessSpansTheScannersRange) {
  struct Case {
    int maximum, brightness, parameter;
  };
  const Case cases[] = {{1000, 5, 0}, {1000, 10, 1000}, {1000, 1, -800},
                        {255, 10, 255}, {255, 5, 0},    {255, 1, -204}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.maximum << ", " << c.brightness);
    EXPECT_EQ(ScanBrightnessParameter(c.maximum, c.brightness), c.parameter);
  }
}

TEST(Scanning, TheScannerListKeepsItsLastNameWholeWithOrWithoutALineEnd) {
  const std::string folder = FreshFolder("scanners");
  struct Case {
    const char* what;
    const char* file;
    int result;
    const char* current;
    std::vector<std::string> names;
  };
  const Case cases[] = {
      {"one name, no line end", "Feeder,Feeder", 0, "Feeder", {"Feeder"}},
      {"line end", "B,A,B\r\n", 0, "B", {"A", "B"}},
      {"quoted comma", "\"X,1\",\"X,1\",Y", 0, "X,1", {"X,1", "Y"}},
      {"empty", "", -1, "", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteBytes(folder + "\\SCANERS", c.file);
    std::string current;
    std::vector<std::string> names;
    EXPECT_EQ(LoadScannerList(folder.c_str(), &current, &names), c.result);
    EXPECT_EQ(current, c.current);
    EXPECT_EQ(names, c.names);
  }
  std::string current;
  std::vector<std::string> names;
  EXPECT_EQ(LoadScannerList((folder + "\\none").c_str(), &current, &names), -1);
}

}  // namespace
