#include "tests/tally/print_capture.h"

#include <commdlg.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

namespace {

// Wine runs Unix programs and sees the Unix root as drive Z:.
std::string DosPath(const std::string& unixPath) {
  std::string path = "Z:" + unixPath;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

// Where the PDF printer of this run writes (tools/services.sh).
std::string PdfFolder() {
  const char* folder = std::getenv("SHEETDESK_PDF_DIR");
  return folder ? folder : "";
}

// Runs a shell command line of the host and waits for it: Wine does not
// wait for Unix programs, so the command leaves a marker file when done, or
// "<marker>.failed" when it failed, its error output then shown here (a
// missing program fails the test at once rather than by its time limit).
bool RunHostCommand(const std::string& command, const std::string& marker) {
  const std::string errors = marker + ".errors";
  std::string commandLine = "/bin/sh -c \"(" + command + ") 2>" + errors + " && touch " + marker +
                            " || touch " + marker + ".failed\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0,
                      nullptr, nullptr, &startup, &process)) {
    return false;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  const std::string markerPath = DosPath(marker);
  const std::string failedPath = markerPath + ".failed";
  const std::string errorsPath = DosPath(errors);
  for (int tries = 0; tries < 600; ++tries) {
    const bool done = GetFileAttributesA(markerPath.c_str()) != INVALID_FILE_ATTRIBUTES;
    const bool failed = GetFileAttributesA(failedPath.c_str()) != INVALID_FILE_ATTRIBUTES;
    if (done || failed) {
      if (failed) {
        std::ifstream file(errorsPath, std::ios::binary);
        std::fprintf(stderr, "%s failed: %s\n", command.c_str(),
                     std::string(std::istreambuf_iterator<char>(file), {}).c_str());
      }
      DeleteFileA(markerPath.c_str());
      DeleteFileA(failedPath.c_str());
      DeleteFileA(errorsPath.c_str());
      return done;
    }
    Sleep(50);
  }
  return false;
}

// The file of the folder whose name holds `documentName`, once cups-pdf
// has finished it (the printer renames it into place when whole).
std::string FindFinishedPdf(const std::string& documentName, int seconds = 60) {
  const std::string pattern =
      DosPath(PdfFolder()) + "\\*" + documentName + "*.pdf";
  long long lastSize = -1;
  for (int tries = 0; tries < seconds * 10; ++tries) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      FindClose(search);
      const long long size =
          (static_cast<long long>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
      if (size > 0 && size == lastSize) return found.cFileName;
      lastSize = size;
    }
    Sleep(100);
  }
  return "";
}

// A page as pdftoppm writes it: grey (P5), or colour (P6) with its grey
// made from the colours.
bool ReadPageImage(const std::string& path, PdfPage* page) {
  std::ifstream file(path, std::ios::binary);
  std::string magic;
  int maxValue = 0;
  file >> magic >> page->width >> page->height >> maxValue;
  file.get();
  if ((magic != "P5" && magic != "P6") || page->width <= 0 || page->height <= 0) return false;
  const size_t pixels = static_cast<size_t>(page->width) * page->height;
  if (magic == "P5") {
    page->gray.resize(pixels);
    file.read(reinterpret_cast<char*>(page->gray.data()), static_cast<std::streamsize>(pixels));
    return static_cast<bool>(file);
  }
  page->rgb.resize(pixels * 3);
  file.read(reinterpret_cast<char*>(page->rgb.data()), static_cast<std::streamsize>(pixels * 3));
  page->gray.resize(pixels);
  for (size_t i = 0; i < pixels; ++i) {
    const unsigned char* c = &page->rgb[i * 3];
    page->gray[i] = static_cast<unsigned char>((c[0] * 299 + c[1] * 587 + c[2] * 114) / 1000);
  }
  return static_cast<bool>(file);
}

std::vector<std::vector<PdfPage>> RenderPrintedPages(const std::string& documentName,
                                                     const std::vector<int>& dpis, bool colour);

}  // namespace

std::string WaitForPdfFile(const std::string& documentName, int seconds) {
  const std::string pdf = FindFinishedPdf(documentName, seconds);
  return pdf.empty() ? pdf : DosPath(PdfFolder()) + "\\" + pdf;
}

std::string DefaultPrinterName() {
  char device[512] = "";
  GetProfileStringA("windows", "device", "", device, sizeof device);
  std::string name = device;
  return name.substr(0, name.find(','));
}

std::string PrintingUnavailable() {
  if (PdfFolder().empty()) return "no PDF printer folder (tools/services.sh start)";
  if (DefaultPrinterName().empty()) return "no default printer (cupsd with the PDF printer)";
  return "";
}

INT_PTR ChooseDefaultPrinterAt(const ModalDialogCall& call, int dpi) {
  return ChoosePrinterAt(call, DefaultPrinterName(), dpi);
}

INT_PTR ChoosePrinterAt(const ModalDialogCall& call, const std::string& printer, int dpi) {
  if (call.kind != "PrintDlg") return call.real(call.data);
  auto* dialog = static_cast<PRINTDLGA*>(call.data);
  DEVMODEA mode{};
  bool passed = false;
  if (dialog->hDevMode) {
    const auto* given = static_cast<const DEVMODEA*>(GlobalLock(dialog->hDevMode));
    std::memcpy(&mode, given, std::min<size_t>(given->dmSize, sizeof mode));
    GlobalUnlock(dialog->hDevMode);
    mode.dmSize = sizeof mode;
    passed = true;
  }
  if (dpi > 0) {
    mode.dmSpecVersion = DM_SPECVERSION;
    mode.dmSize = sizeof mode;
    mode.dmFields |= DM_PRINTQUALITY | DM_YRESOLUTION;
    mode.dmPrintQuality = static_cast<short>(dpi);
    mode.dmYResolution = static_cast<short>(dpi);
    passed = true;
  }
  dialog->hDC = CreateDCA("WINSPOOL", printer.c_str(), nullptr, passed ? &mode : nullptr);
  return dialog->hDC != nullptr;
}

INT_PTR ChooseDefaultPrinter(const ModalDialogCall& call) {
  return ChooseDefaultPrinterAt(call, 0);
}

namespace {
constexpr char kRefusingPrinter[] = "REFUSING";
}  // namespace

INT_PTR ChooseRefusingPrinter(const ModalDialogCall& call) {
  if (call.kind != "PrintDlg") return call.real(call.data);
  auto* dialog = static_cast<PRINTDLGA*>(call.data);
  // The names of the printer chosen, as the dialog hands them back.
  const WORD device = sizeof(DEVNAMES);
  const size_t bytes = device + sizeof kRefusingPrinter;
  dialog->hDevNames = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
  auto* names = static_cast<DEVNAMES*>(GlobalLock(dialog->hDevNames));
  names->wDriverOffset = names->wOutputOffset = static_cast<WORD>(bytes - 1);
  names->wDeviceOffset = device;
  std::memcpy(reinterpret_cast<char*>(names) + device, kRefusingPrinter, sizeof kRefusingPrinter);
  GlobalUnlock(dialog->hDevNames);
  dialog->hDC = CreateDCA("WINSPOOL", kRefusingPrinter, nullptr, nullptr);
  return dialog->hDC != nullptr;
}

std::string PrinterMissing(const char* printer) {
  const HDC dc = CreateDCA("WINSPOOL", printer, nullptr, nullptr);
  if (!dc) return std::string("no printer ") + printer + " (tools/services.sh start)";
  DeleteDC(dc);
  return "";
}

std::string RefusingPrinterMissing() { return PrinterMissing(kRefusingPrinter); }

std::string UniqueDocumentName(const char* what) {
  static int serial = 0;
  std::ostringstream name;
  name << "sdtest-" << GetCurrentProcessId() << "-" << GetTickCount() << "-"
       << ++serial << "-" << what;
  return name.str();
}

int PdfPage::AtMm(double xMm, double yMm) const {
  const int x = static_cast<int>(xMm * dpi / 25.4 + 0.5);
  const int y = static_cast<int>(yMm * dpi / 25.4 + 0.5);
  if (x < 0 || y < 0 || x >= width || y >= height) return 255;
  return At(x, y);
}

bool PdfPage::DarkNearMm(double xMm, double yMm, int tolerancePx) const {
  const int cx = static_cast<int>(xMm * dpi / 25.4 + 0.5);
  const int cy = static_cast<int>(yMm * dpi / 25.4 + 0.5);
  for (int y = cy - tolerancePx; y <= cy + tolerancePx; ++y) {
    for (int x = cx - tolerancePx; x <= cx + tolerancePx; ++x) {
      if (x >= 0 && y >= 0 && x < width && y < height && At(x, y) < 128) return true;
    }
  }
  return false;
}

int PdfPage::InkInMm(double leftMm, double topMm, double rightMm, double bottomMm,
                     int level) const {
  const double px = dpi / 25.4;
  int ink = 0;
  for (int y = static_cast<int>(topMm * px); y < static_cast<int>(bottomMm * px); ++y) {
    for (int x = static_cast<int>(leftMm * px); x < static_cast<int>(rightMm * px); ++x) {
      if (x >= 0 && y >= 0 && x < width && y < height && At(x, y) < level) ++ink;
    }
  }
  return ink;
}

int PdfPage::ColourInMm(double leftMm, double topMm, double rightMm, double bottomMm,
                        COLORREF colour, int tolerance) const {
  const double px = dpi / 25.4;
  int count = 0;
  for (int y = static_cast<int>(topMm * px); y < static_cast<int>(bottomMm * px); ++y) {
    for (int x = static_cast<int>(leftMm * px); x < static_cast<int>(rightMm * px); ++x) {
      if (x < 0 || y < 0 || x >= width || y >= height || rgb.empty()) continue;
      const unsigned char* c = &rgb[(static_cast<size_t>(y) * width + x) * 3];
      if (std::abs(c[0] - GetRValue(colour)) <= tolerance && std::abs(c[1] - GetGValue(colour)) <= tolerance &&
          std::abs(c[2] - GetBValue(colour)) <= tolerance) {
        ++count;
      }
    }
  }
  return count;
}

std::vector<std::vector<PdfPage>> WaitForPrintedPagesAt(const std::string& documentName,
                                                       const std::vector<int>& dpis) {
  return RenderPrintedPages(documentName, dpis, false);
}

std::vector<PdfPage> WaitForPrintedColourPages(const std::string& documentName, int dpi) {
  std::vector<std::vector<PdfPage>> renderings = RenderPrintedPages(documentName, {dpi}, true);
  return renderings.empty() ? std::vector<PdfPage>() : std::move(renderings[0]);
}

namespace {

std::vector<std::vector<PdfPage>> RenderPrintedPages(const std::string& documentName,
                                                     const std::vector<int>& dpis, bool colour) {
  std::vector<std::vector<PdfPage>> renderings;
  const std::string pdf = FindFinishedPdf(documentName);
  if (pdf.empty()) return renderings;
  const std::string unixPdf = PdfFolder() + "/" + pdf;
  for (int dpi : dpis) {
    std::vector<PdfPage> pages;
    const std::string prefix = "/tmp/" + documentName + "-" + std::to_string(dpi);
    std::ostringstream command;
    command << "/usr/bin/pdftoppm " << (colour ? "" : "-gray ") << "-r " << dpi << " '" << unixPdf << "' "
            << prefix;
    if (RunHostCommand(command.str(), prefix + ".done")) {
      // pdftoppm numbers the pages 1, 2, ... padded to the page count's
      // width: the width is that of the first page's name.
      auto name = [&](int n, int width) {
        char number[16];
        std::snprintf(number, sizeof number, "%0*d", width, n);
        return DosPath(prefix + "-" + number + (colour ? ".ppm" : ".pgm"));
      };
      int width = 1;
      while (width < 6 && GetFileAttributesA(name(1, width).c_str()) == INVALID_FILE_ATTRIBUTES) ++width;
      for (int n = 1;; ++n) {
        const std::string file = name(n, width);
        PdfPage page;
        page.dpi = dpi;
        if (!ReadPageImage(file, &page)) break;
        pages.push_back(std::move(page));
        DeleteFileA(file.c_str());
      }
    }
    renderings.push_back(std::move(pages));
  }
  DeleteFileA(DosPath(unixPdf).c_str());
  return renderings;
}

}  // namespace

std::vector<PdfPage> WaitForPrintedPages(const std::string& documentName, int dpi) {
  std::vector<std::vector<PdfPage>> renderings = WaitForPrintedPagesAt(documentName, {dpi});
  return renderings.empty() ? std::vector<PdfPage>() : std::move(renderings[0]);
}

PdfText WaitForPrintedText(const std::string& documentName) {
  PdfText text;
  const std::string pdf = FindFinishedPdf(documentName);
  if (pdf.empty()) return text;
  const std::string unixPdf = PdfFolder() + "/" + pdf;
  const std::string out = "/tmp/" + documentName + ".txt";
  if (RunHostCommand("python3 " SHEETDESK_PDF_TEXT_SCRIPT " '" + unixPdf + "' " + out, out + ".done")) {
    std::ifstream file(DosPath(out), std::ios::binary);
    std::string line;
    if (std::getline(file, line) && line.rfind("pages\t", 0) == 0) text.pages = std::atoi(line.c_str() + 6);
    // "page<TAB>x<TAB>y<TAB>text": the text keeps its spaces.
    while (std::getline(file, line)) {
      PdfTextRun run;
      const size_t textAt = line.find('\t', line.find('\t', line.find('\t') + 1) + 1);
      if (textAt == std::string::npos ||
          std::sscanf(line.c_str(), "%d %lf %lf", &run.page, &run.x, &run.y) != 3) {
        continue;
      }
      run.text = line.substr(textAt + 1);
      text.runs.push_back(std::move(run));
    }
  }
  DeleteFileA(DosPath(out).c_str());
  DeleteFileA(DosPath(unixPdf).c_str());
  return text;
}
