// The sample client as a user runs it: a dictionary file and a 1-bit BMP of
// three bars, read as one character, as a field of three cells and as a
// line; and the messages of a wrong call.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "ocrlib/dictwriter/dict_writer.h"

namespace {

#if defined(_WIN32)
constexpr const char* kClient = "mupa_read.exe";
#else
constexpr const char* kClient = "./mupa_read";
#endif

void PutU16(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  b[at] = static_cast<uint8_t>(v);
  b[at + 1] = static_cast<uint8_t>(v >> 8);
}
void PutU32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  PutU16(b, at, v & 0xFFFF);
  PutU16(b, at + 2, v >> 16);
}

// A bottom-up 1-bit BMP, palette white then black, with vertical bars of 3
// columns at the given lefts, rows 4..27 of 32; its header may claim another
// height.
void WriteBars(const std::string& path, int width, const std::vector<int>& lefts, uint32_t headerHeight = 32) {
  const int height = 32, stride = (width + 31) / 32 * 4;
  std::vector<uint8_t> b(62 + static_cast<size_t>(stride) * height, 0);
  b[0] = 'B', b[1] = 'M';
  PutU32(b, 2, static_cast<uint32_t>(b.size()));
  PutU32(b, 10, 62);
  PutU32(b, 14, 40);
  PutU32(b, 18, width);
  PutU32(b, 22, headerHeight);
  PutU16(b, 26, 1);
  PutU16(b, 28, 1);
  PutU32(b, 46, 2);
  b[54] = b[55] = b[56] = 0xFF;  // entry 0 white, entry 1 black
  for (int y = 4; y < 28; ++y) {
    uint8_t* row = &b[62 + static_cast<size_t>(height - 1 - y) * stride];
    for (int left : lefts) {
      for (int x = left; x < left + 3; ++x) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    }
  }
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), b.size());
}

struct ClientRun {
  int status;
  std::string output;
};

ClientRun RunClient(const std::string& arguments) {
  const std::string out = "mupa_read_test.out";
  const int status = std::system((std::string(kClient) + " " + arguments + " >" + out + " 2>&1").c_str());
  std::stringstream text;
  text << std::ifstream(out).rdbuf();
  std::remove(out.c_str());
  return {status, text.str()};
}

int Lines(const std::string& text) {
  int n = 0;
  for (char c : text) n += c == '\n';
  return n;
}

TEST(MupaRead, ReadsACharacterAFieldAndALine) {
  ASSERT_EQ(WriteDictBytes("mupa_read_test.dic", EncodeDictFile(MakeDigitPatternDict())), 0);
  WriteBars("mupa_read_test.bmp", 48, {6, 22, 38});
  const ClientRun one = RunClient("mupa_read_test.dic mupa_read_test.bmp char --types 1");
  EXPECT_EQ(one.status, 0) << one.output;
  EXPECT_EQ(Lines(one.output), 1) << one.output;
  EXPECT_NE(one.output.find("confidence"), std::string::npos) << one.output;
  const ClientRun field = RunClient("mupa_read_test.dic mupa_read_test.bmp field --cells 3 --types 1");
  EXPECT_EQ(field.status, 0) << field.output;
  EXPECT_EQ(Lines(field.output), 4) << field.output;  // three cells and the end
  const ClientRun line = RunClient("mupa_read_test.dic mupa_read_test.bmp line --types 1");
  EXPECT_EQ(line.status, 0) << line.output;
  EXPECT_EQ(Lines(line.output), 4) << line.output;
  EXPECT_NE(line.output.find("end  box 6,4-40,27"), std::string::npos) << line.output;

  const ClientRun missing = RunClient("mupa_read_test.dic no_such.bmp line");
  EXPECT_NE(missing.status, 0);
  EXPECT_NE(missing.output.find("cannot open the image"), std::string::npos) << missing.output;
  // Heights whose size no page has: top-first rows of INT32_MIN included.
  for (const uint32_t height : {0u, 0x80000000u, 32768u}) {
    SCOPED_TRACE(height);
    WriteBars("mupa_read_test_height.bmp", 48, {6}, height);
    const ClientRun huge = RunClient("mupa_read_test.dic mupa_read_test_height.bmp char");
    EXPECT_NE(huge.status, 0);
    EXPECT_NE(huge.output.find("image too large"), std::string::npos) << huge.output;
  }
  std::remove("mupa_read_test_height.bmp");
  const ClientRun usage = RunClient("mupa_read_test.dic mupa_read_test.bmp word");
  EXPECT_NE(usage.status, 0);
  EXPECT_NE(usage.output.find("usage:"), std::string::npos) << usage.output;
  std::remove("mupa_read_test.dic");
  std::remove("mupa_read_test.bmp");
}

}  // namespace
