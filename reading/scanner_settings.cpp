// Settings of the scanner: the brightness handed to it, the scanner list
// file "%s\SCANERS" (the current scanner, then the names offered) and the
// choice of the scanner among those installed, which the imaging library
// offers.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "foundation/csv_token.h"
#include "foundation/files.h"
#include "foundation/imaging.h"
#include "foundation/msgbox.h"
#include "reading/reading.h"

namespace {

constexpr int kScannerListBytes = 1024;
constexpr int kScannerTokenBytes = 128;
constexpr int kMaxScannerNames = 20;
constexpr int kScannerNameBytes = 50;

// The library's scanner session, open from the first choice until the
// workbench closes (ImageKit 5 has none: its list needs no session).
HANDLE g_scannerSession = nullptr;

std::string ScannerListPath(const char* programFolder) {
  return std::string(programFolder) + "\\SCANERS";
}

}  // namespace

int SelectScanner(HWND owner) {
  const HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  if (!g_scannerSession && ImagingLibraryVersion() == 7) {
    g_scannerSession = IkScanInitialize(owner, "ImageKit7", "ImageKit", "ImageKit", "ImageKit7");
  }
  char name[kScannerNameBytes + 1] = "";
  const bool chosen = IkScanList(g_scannerSession, name, sizeof name) != 0 && name[0];
  SetCursor(previous);
  if (!chosen) return -1;  // the scanner chosen before stays
  const std::string path = ScannerListPath(GetProgramFolder().c_str());
  // Written as the list's first name alone, without a line end.
  std::FILE* file = std::fopen(path.c_str(), "wb");
  bool written = file && std::fputs(name, file) >= 0;
  if (file && std::fclose(file) != 0) written = false;
  if (!written) {
    ShowWorkbenchMessage("", "“%s”に書き込めません。", path.c_str());
    return -1;
  }
  return 0;
}

void CloseScanner() {
  if (g_scannerSession) IkScanTerminate(g_scannerSession);
  g_scannerSession = nullptr;
}

int ScanBrightnessParameter(int maximum, int brightness) {
  return static_cast<int>(std::lround(maximum * 2.0 / 100 * brightness * 10 - maximum));
}

int LoadScannerList(const char* programFolder, std::string* current,
                    std::vector<std::string>* names) {
  std::FILE* file = std::fopen(ScannerListPath(programFolder).c_str(), "rb");
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

