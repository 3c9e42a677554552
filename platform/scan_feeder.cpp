// A run takes the page files in name order: every page of a multi-page file
// in turn, a colour or grey page made black and white by the brightness and
// the drop-out colour when the program asks for 1-bit pages. The files of a
// sheet leave the feeder for the tray once the program took the sheet (both
// pages of a two-sided one); a page the program refuses stops the run and
// stays in the feeder with the later files, as does a file that cannot be
// read (a paper jam).
#include "platform/scan_feeder.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/dib_image.h"
#include "platform/image_files.h"
#include "platform/image_ops.h"

namespace {

constexpr char kSection[] = "Feeder";
constexpr int kResolutions[] = {200, 300, 400};
constexpr int kLowestBrightness = 1;
constexpr int kHighestBrightness = 10;
constexpr int kDefaultBrightness = 5;
constexpr const char* kPageExtensions[] = {"BMP", "TIF", "TIFF", "PNG", "JPG", "JPEG", "GIF"};

// Where the last "\\" of a path stands, npos when there is none: a
// double-byte character whose second byte is 0x5C ("表", "ソ") is no
// separator.
size_t LastSeparator(const std::string& path) {
  size_t last = std::string::npos;
  for (size_t i = 0; i < path.size(); ++i) {
    if (IsDBCSLeadByte(static_cast<BYTE>(path[i])) && i + 1 < path.size()) {
      ++i;
    } else if (path[i] == '\\') {
      last = i;
    }
  }
  return last;
}

std::string ProgramFolder() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length < MAX_PATH ? length : 0);
  const size_t slash = LastSeparator(folder);
  return slash == std::string::npos ? std::string(".") : folder.substr(0, slash);
}

bool IsAbsolute(const std::string& path) {
  return (path.size() >= 2 && path[1] == ':') || (!path.empty() && path[0] == '\\');
}

std::string Resolve(const std::string& folder, const std::string& base) {
  return IsAbsolute(folder) ? folder : base + "\\" + folder;
}

std::string ProfileText(const std::string& file, const char* key, const char* fallback) {
  char value[MAX_PATH];
  GetPrivateProfileStringA(kSection, key, fallback, value, sizeof value, file.c_str());
  return value;
}

bool IsPageFile(const char* name) {
  const char* dot = std::strrchr(name, '.');
  if (!dot) return false;
  for (const char* extension : kPageExtensions) {
    if (lstrcmpiA(dot + 1, extension) == 0) return true;
  }
  return false;
}

bool NameBefore(const std::string& a, const std::string& b) {
  return CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE | SORT_STRINGSORT, a.c_str(), -1,
                        b.c_str(), -1) == CSTR_LESS_THAN;
}

// Names of the page files waiting in the feeder, in name order. The tray
// takes a file by its name, never by splitting its path.
std::vector<std::string> WaitingFiles(const FeederSettings& feeder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((feeder.folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsPageFile(found.cFileName)) {
      names.push_back(found.cFileName);
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
  std::sort(names.begin(), names.end(), NameBefore);
  return names;
}

// Pages waiting in the feeder: every page of a multi-page file; a file that
// cannot be read counts as one, the page that will jam.
int WaitingPages(const FeederSettings& feeder) {
  int pages = 0;
  for (const std::string& name : WaitingFiles(feeder)) {
    const std::string file = feeder.folder + "\\" + name;
    IKFileInfo info;
    pages += ReadImageFileInfo(file.c_str(), 0, &info) && info.pageCount > 0 ? info.pageCount : 1;
  }
  return pages;
}

bool MoveToTray(const FeederSettings& feeder, const std::string& name) {
  const std::string source = feeder.folder + "\\" + name;
  const std::string target = feeder.tray + "\\" + name;
  return MoveFileExA(source.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED) != 0;
}

bool ValidResolution(int dpi) {
  return std::find(std::begin(kResolutions), std::end(kResolutions), dpi) !=
         std::end(kResolutions);
}

LevelChannel DropOutChannel(int dropOutColor) {
  switch (dropOutColor) {
    case kIkDropOutRed: return LevelChannel::kRed;
    case kIkDropOutGreen: return LevelChannel::kGreen;
    case kIkDropOutBlue: return LevelChannel::kBlue;
    default: return LevelChannel::kLuminance;
  }
}

// Brighter settings make fewer pixels black: 1 takes levels below 192,
// 5 below 128, 10 below 48.
int ThresholdOf(int brightness) {
  const int clamped = std::clamp(brightness, kLowestBrightness, kHighestBrightness);
  return 128 + (kDefaultBrightness - clamped) * 16;
}

void StampResolution(HGLOBAL page, const ScanRequest& request) {
  ImageLock lock(page);
  lock.header().biXPelsPerMeter = PelsPerMeterFromDpi(request.xResolution);
  lock.header().biYPelsPerMeter = PelsPerMeterFromDpi(request.yResolution);
}

// Page `page` of a file as the program asked for it; 0 when unreadable.
HGLOBAL FeedPage(const std::string& file, int page, const ScanRequest& request) {
  int bits = 0;
  HGLOBAL image = LoadImageFilePage(file.c_str(), page, kIkFileUnknown, nullptr, nullptr, nullptr);
  {
    ImageLock lock(image);
    if (lock.ok()) bits = lock.bitsPerPixel();
  }
  if (image && request.blackAndWhite && bits != 1) {
    HGLOBAL converted = BlackAndWhiteImage(image, DropOutChannel(request.dropOutColor),
                                           ThresholdOf(request.brightness));
    FreeImage(image);
    image = converted;
  }
  if (image) StampResolution(image, request);
  return image;
}

// A white back for a two-sided run whose last sheet has no back page.
HGLOBAL BlankPage(int width, int height, const ScanRequest& request) {
  HGLOBAL page = request.blackAndWhite
                     ? CreateImage(width, height, 1, kBlackWhitePalette, 2, 0, 0)
                     : CreateImage(width, height, 24, nullptr, 0, 0, 0);
  if (!page) return nullptr;
  {
    ImageLock lock(page);
    FillRaster(lock.raster(), request.blackAndWhite ? 1 : kWhite);
  }
  StampResolution(page, request);
  return page;
}

const char* SidesText(int sides) {
  switch (sides) {
    case kIkScanFlatbed: return "フラットベッド";
    case kIkScanTwoSided: return "両面";
    default: return "片面";
  }
}

// The feeder's settings screen: what the run will take. False when the
// operator cancels.
bool ConfirmRun(const ScanRequest& request, const FeederSettings& feeder, int files) {
  char text[MAX_PATH + 200];
  std::snprintf(text, sizeof text, "給紙フォルダ：%s\nファイル数：%d\n解像度：%d dpi\n読み取り面：%s",
                feeder.folder.c_str(), files, request.xResolution, SidesText(request.sides));
  return MessageBoxA(request.owner, text, feeder.name.c_str(),
                     MB_OKCANCEL | MB_ICONINFORMATION) == IDOK;
}

}  // namespace

bool FindFeeder(const char* scanner, FeederSettings* settings) {
  const std::string program = ProgramFolder();
  const std::string file = program + "\\" + kFeederSettingsFile;
  if (GetFileAttributesA(file.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
  const std::string folder = ProfileText(file, "Folder", "");
  if (folder.empty()) return false;
  settings->name = ProfileText(file, "Name", "Sheet Feeder");
  settings->folder = Resolve(folder, program);
  const std::string tray = ProfileText(file, "Tray", "");
  settings->tray = tray.empty() ? settings->folder + "\\fed" : Resolve(tray, program);
  return !scanner || !*scanner || settings->name == scanner;
}

int FeederCapability(const char* scanner, int capability, std::vector<int>* values,
                     int* current) {
  values->clear();
  FeederSettings feeder;
  if (!FindFeeder(scanner, &feeder)) return 0;
  switch (capability) {
    case kIkCapBrightness:
      for (int b = kLowestBrightness; b <= kHighestBrightness; ++b) values->push_back(b);
      *current = kDefaultBrightness;
      return kIkContainerRange;
    case kIkCapXResolution:
    case kIkCapYResolution:
      values->assign(std::begin(kResolutions), std::end(kResolutions));
      *current = kResolutions[0];
      return kIkContainerEnumeration;
    case kIkCapFeederLoaded:
      *current = WaitingFiles(feeder).empty() ? 0 : 1;
      values->push_back(*current);
      return kIkContainerOneValue;
    case kIkCapFeederPages:
      *current = WaitingPages(feeder);
      values->push_back(*current);
      return kIkContainerOneValue;
    default:
      return 0;
  }
}

int RunFeeder(const ScanRequest& request, IKScanPageProc callback) {
  FeederSettings feeder;
  if (!callback || !FindFeeder(request.scanner.c_str(), &feeder) ||
      !ValidResolution(request.xResolution) || !ValidResolution(request.yResolution) ||
      request.sides < kIkScanFlatbed || request.sides > kIkScanTwoSided) {
    return kIkScanFailed;
  }
  const std::vector<std::string> files = WaitingFiles(feeder);
  if (files.empty()) return kIkScanNoPaper;
  if (request.showSettings && !ConfirmRun(request, feeder, static_cast<int>(files.size()))) {
    return kIkScanCancelled;
  }
  CreateDirectoryA(feeder.tray.c_str(), nullptr);
  int delivered = 0;
  int lastWidth = 0, lastHeight = 0;
  // Files whose pages all went to the sheet in hand: they leave with it.
  std::vector<std::string> taken;
  auto sheetTaken = [&] {
    for (const std::string& name : taken) {
      if (!MoveToTray(feeder, name)) return false;
    }
    taken.clear();
    return true;
  };
  for (const std::string& name : files) {
    const std::string file = feeder.folder + "\\" + name;
    IKFileInfo info;
    const int pages = ReadImageFileInfo(file.c_str(), 0, &info) ? info.pageCount : 0;
    if (pages < 1) return kIkScanFeedError;
    // A file of several sheets goes once one of them was taken, so that no
    // sheet of it is taken twice.
    bool sheetOfFileTaken = false;
    for (int page = 0; page < pages; ++page) {
      HGLOBAL image = FeedPage(file, page, request);
      if (!image) {
        if (sheetOfFileTaken) MoveToTray(feeder, name);
        return kIkScanFeedError;
      }
      {
        ImageLock lock(image);
        lastWidth = lock.width();
        lastHeight = lock.height();
      }
      const int answer = callback(image, ++delivered);
      FreeImage(image);
      if (answer <= 0) {
        if (sheetOfFileTaken) MoveToTray(feeder, name);
        return delivered;
      }
      if (request.sides == kIkScanFlatbed) return MoveToTray(feeder, name) ? delivered : kIkScanFeedError;
      if (page == pages - 1) taken.push_back(name);
      if (request.sides != kIkScanTwoSided || delivered % 2 == 0) {
        sheetOfFileTaken = true;
        if (!sheetTaken()) return kIkScanFeedError;
      }
    }
  }
  if (request.sides == kIkScanTwoSided && delivered % 2 == 1) {
    HGLOBAL back = BlankPage(lastWidth, lastHeight, request);
    if (!back) return kIkScanFeedError;
    const int answer = callback(back, ++delivered);
    FreeImage(back);
    if (answer > 0 && !sheetTaken()) return kIkScanFeedError;
  }
  return delivered;
}
