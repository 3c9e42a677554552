// Settings of the scanner: the brightness handed to it and the scanner list
// file "%s\SCANERS" (the current scanner, then the names offered).
#include <cmath>
#include <cstdio>
#include <cstring>

#include "foundation/csv_token.h"
#include "reading/reading.h"

namespace {

constexpr int kScannerListBytes = 1024;
constexpr int kScannerTokenBytes = 128;
constexpr int kMaxScannerNames = 20;

}  // namespace

int ScanBrightnessParameter(int maximum, int brightness) {
  return static_cast<int>(std::lround(maximum * 2.0 / 100 * brightness * 10 - maximum));
}

int LoadScannerList(const char* programFolder, std::string* current,
                    std::vector<std::string>* names) {
  const std::string path = std::string(programFolder) + "\\SCANERS";
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return -1;
  char line[kScannerListBytes + 1] = "";
  const std::size_t read = std::fread(line, 1, kScannerListBytes, file);
  std::fclose(file);
  line[read] = '\0';
  // Only a line end is dropped: the file is written without one.
  std::size_t length = std::strlen(line);
  while (length > 0 && (line[length - 1] == '\n' || line[length - 1] == '\r')) line[--length] = '\0';
  if (length == 0) return -1;
  CsvCursor cursor;
  char token[kScannerTokenBytes + 1];
  names->clear();
  int rc = 0;
  for (int n = 0; rc >= 0 && n <= kMaxScannerNames; ++n) {
    rc = NextCsvTokenWith(cursor, token, kScannerTokenBytes, line);
    if (n == 0) {
      *current = token;
    } else if (token[0]) {
      names->push_back(token);
    }
  }
  return 0;
}

