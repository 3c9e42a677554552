// The journal of the sheet whose record is being added (see reading.h): one
// line of the pages' digest, then a line "name<TAB>value" per key item.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <string>
#include <vector>

#include "designer/sheet_settings.h"
#include "foundation/sjis_text.h"
#include "reading/reading.h"
#include "screen/screen.h"

namespace {

std::string JournalPath() {
  const std::string& database = g_sheetDefinition.database;
  std::vector<char> name(database.size() + 1);
  GetFileBaseName(name.data(), database.c_str());
  return g_currentSheet.logFolder + "\\" + name.data() + "_PAGE.TXT";
}

// Bytes of the packed DIB a block holds: header, palette and pixel rows
// (the block itself may be larger, its tail undefined).
SIZE_T DibBytes(const BITMAPINFOHEADER& header, SIZE_T blockSize) {
  if (header.biSize < sizeof header || header.biSize > blockSize) return 0;
  const SIZE_T colours = header.biClrUsed    ? header.biClrUsed
                         : header.biBitCount <= 8 ? SIZE_T{1} << header.biBitCount
                                                  : 0;
  const SIZE_T stride = ((static_cast<SIZE_T>(std::abs(header.biWidth)) * header.biBitCount + 31) / 32) * 4;
  const SIZE_T size = header.biSize + colours * sizeof(RGBQUAD) + stride * std::abs(header.biHeight);
  return std::min(size, blockSize);
}

}  // namespace

std::string PageDigest(HGLOBAL page) {
  // 64-bit FNV-1a over the image: header, palette and pixels.
  std::uint64_t hash = 14695981039346656037ull;
  const SIZE_T block = page ? GlobalSize(page) : 0;
  if (const auto* bytes = static_cast<const unsigned char*>(block ? GlobalLock(page) : nullptr)) {
    const SIZE_T size = block >= sizeof(BITMAPINFOHEADER)
                            ? DibBytes(*reinterpret_cast<const BITMAPINFOHEADER*>(bytes), block)
                            : 0;
    for (SIZE_T i = 0; i < size; ++i) hash = (hash ^ bytes[i]) * 1099511628211ull;
    GlobalUnlock(page);
  }
  char text[20];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
  return text;
}

int WritePageJournal(const StoredPage& page) {
  std::string text = page.digest + "\r\n";
  for (const auto& [name, value] : page.keys) {
    // A value the journal cannot hold on its line leaves no journal.
    if (value.find_first_of("\t\r\n") != std::string::npos) {
      DeletePageJournal();
      return 0;
    }
    text += name + "\t" + value + "\r\n";
  }
  HANDLE file = CreateFileA(JournalPath().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return -1;
  DWORD written = 0;
  const BOOL ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == text.size() ? 0 : -1;
}

StoredPage ReadPageJournal() {
  StoredPage page;
  std::string text;
  if (std::FILE* file = std::fopen(JournalPath().c_str(), "rb")) {
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, n);
    std::fclose(file);
  }
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    const std::string line = text.substr(start, end - start);
    if (start == 0) {
      page.digest = line;
      continue;
    }
    const std::size_t tab = line.find('\t');
    if (tab == std::string::npos) return StoredPage();
    page.keys.emplace_back(line.substr(0, tab), line.substr(tab + 1));
  }
  // A journal cut short names no sheet.
  if (start != text.size() || page.keys.empty()) return StoredPage();
  return page;
}

void DeletePageJournal() { DeleteFileA(JournalPath().c_str()); }
