// A TWAIN data source for the tests: a duplex sheet feeder whose sheets are
// the 1-bit BMP files of a folder, fed in name order and moved to "fed"
// beside them once taken. Resolutions 200, 300 and 400, brightness -1000 to
// 1000, black and white, native or memory transfer. Set up by the settings
// file the variable SHEETDESK_TEST_SOURCE names:
//   [Source]
//   Folder=...        the sheets
//   Transfer=native   native, memory or both (what ICAP_XFERMECH offers)
//   JamAt=0           the transfer (from 1) that jams, 0 none
//   CancelAt=0        the transfer that the operator cancels, 0 none
//   Screen=ok         what the settings screen does: ok or close
//   Log=...           every operation the application asked for, a line each
// Installed by the tests where Wine's source manager looks for sources.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/twain_protocol.h"
#include "tests/support/environment_text.h"

namespace {

constexpr char kProductName[] = "Sheetdesk Test Scanner";
constexpr int kResolutions[] = {200, 300, 400};

struct Settings {
  std::string folder;
  std::string transfer;
  int jamAt = 0;
  int cancelAt = 0;
  std::string screen;
  std::string log;
};

struct SourceState {
  Settings settings;
  TwIdentity self = {};
  TwIdentity application = {};
  bool open = false;
  std::vector<std::string> sheets;  // waiting, in name order
  // Capabilities.
  TwUInt16 mechanism = kTwsxNative;
  int xferCount = -1;
  int xResolution = 200;
  int yResolution = 200;
  double brightness = 0;
  bool feeder = true;
  bool duplex = false;
  TwUInt16 pixelType = kTwptBlackWhite;
  // The run.
  int transfers = 0;      // started this run
  int pending = 0;
  bool inTransfer = false;
  bool transferDone = false;
  std::vector<uint8_t> page;  // the DIB being moved through memory
  size_t rowsSent = 0;
  TwUInt16 condition = kTwccSuccess;
  HWND screen = nullptr;
};
SourceState g_source;

std::string Setting(const std::string& file, const char* key, const char* fallback) {
  char value[MAX_PATH];
  GetPrivateProfileStringA("Source", key, fallback, value, sizeof value, file.c_str());
  return value;
}

void ReadSettings() {
  const std::string file = EnvironmentText("SHEETDESK_TEST_SOURCE");
  Settings& s = g_source.settings;
  s.folder = Setting(file, "Folder", "");
  s.transfer = Setting(file, "Transfer", "native");
  s.jamAt = std::atoi(Setting(file, "JamAt", "0").c_str());
  s.cancelAt = std::atoi(Setting(file, "CancelAt", "0").c_str());
  s.screen = Setting(file, "Screen", "ok");
  s.log = Setting(file, "Log", "");
}

void Log(const std::string& line) {
  if (g_source.settings.log.empty()) return;
  std::ofstream(g_source.settings.log, std::ios::app) << line << "\n";
}

void FindSheets() {
  std::vector<std::string>& sheets = g_source.sheets;
  sheets.clear();
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((g_source.settings.folder + "\\*.bmp").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) sheets.push_back(found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  std::sort(sheets.begin(), sheets.end());
}

int Waiting() {
  const int sheets = static_cast<int>(g_source.sheets.size());
  return g_source.xferCount < 0 ? sheets : std::min(sheets, g_source.xferCount);
}

TwUInt16 Fail(TwUInt16 condition) {
  g_source.condition = condition;
  return kTwrcFailure;
}

// Tells the application through its source manager.
void Notify(TwUInt16 message) {
  HMODULE manager = GetModuleHandleA("TWAINDSM.dll");
  if (!manager) manager = GetModuleHandleA("twain_32.dll");
  auto entry = manager ? reinterpret_cast<DsmEntryProc>(
                           reinterpret_cast<void*>(GetProcAddress(manager, "DSM_Entry")))
                       : nullptr;
  if (entry) entry(&g_source.self, &g_source.application, kDgControl, kDatNull, message, nullptr);
}

HANDLE Container(const void* data, size_t size) {
  HANDLE handle = GlobalAlloc(GHND, size);
  if (handle) {
    std::memcpy(GlobalLock(handle), data, size);
    GlobalUnlock(handle);
  }
  return handle;
}

HANDLE OneValue(TwUInt16 type, TwUInt32 item) {
  const TwOneValue one = {type, item};
  return Container(&one, sizeof one);
}

HANDLE Enumeration(TwUInt16 type, const std::vector<TwUInt32>& items, TwUInt32 current) {
  std::vector<uint8_t> data(offsetof(TwEnumeration, itemList) + items.size() * 4);
  auto* list = reinterpret_cast<TwEnumeration*>(data.data());
  list->itemType = type;
  list->numItems = static_cast<TwUInt32>(items.size());
  list->currentIndex = list->defaultIndex = static_cast<TwUInt32>(
      std::find(items.begin(), items.end(), current) - items.begin());
  std::memcpy(list->itemList, items.data(), items.size() * 4);
  return Container(data.data(), data.size());
}

TwUInt16 GetCapability(TwCapability* capability) {
  SourceState& s = g_source;
  switch (capability->cap) {
    case kIcapXferMech: {
      std::vector<TwUInt32> offered;
      if (s.settings.transfer != "memory") offered.push_back(kTwsxNative);
      if (s.settings.transfer != "native") offered.push_back(kTwsxMemory);
      capability->containerType = kTwonEnumeration;
      capability->container = Enumeration(kTwtyUInt16, offered, s.mechanism);
      break;
    }
    case kIcapPixelType:
      capability->containerType = kTwonEnumeration;
      capability->container = Enumeration(kTwtyUInt16, {kTwptBlackWhite}, s.pixelType);
      break;
    case kIcapXResolution:
    case kIcapYResolution: {
      std::vector<TwUInt32> items;
      for (int dpi : kResolutions) items.push_back(Fix32Item(dpi));
      const int current = capability->cap == kIcapXResolution ? s.xResolution : s.yResolution;
      capability->containerType = kTwonEnumeration;
      capability->container = Enumeration(kTwtyFix32, items, Fix32Item(current));
      break;
    }
    case kIcapBrightness: {
      const TwRange range = {kTwtyFix32, Fix32Item(-1000), Fix32Item(1000), Fix32Item(1),
                             Fix32Item(0), Fix32Item(s.brightness)};
      capability->containerType = kTwonRange;
      capability->container = Container(&range, sizeof range);
      break;
    }
    case kCapFeederEnabled:
    case kCapDuplexEnabled:
      capability->containerType = kTwonOneValue;
      capability->container =
          OneValue(kTwtyBool, capability->cap == kCapFeederEnabled ? s.feeder : s.duplex);
      break;
    case kCapFeederLoaded:
      FindSheets();
      capability->containerType = kTwonOneValue;
      capability->container = OneValue(kTwtyBool, s.sheets.empty() ? 0 : 1);
      break;
    case kCapXferCount:
      capability->containerType = kTwonOneValue;
      capability->container = OneValue(kTwtyInt16, static_cast<TwUInt16>(s.xferCount));
      break;
    default:
      return Fail(kTwccCapUnsupported);
  }
  return capability->container ? TwUInt16{kTwrcSuccess} : Fail(kTwccLowMemory);
}

TwUInt16 SetCapability(const TwCapability* capability) {
  SourceState& s = g_source;
  if (capability->containerType != kTwonOneValue || !capability->container) {
    return Fail(kTwccBadValue);
  }
  const auto* one = static_cast<const TwOneValue*>(GlobalLock(capability->container));
  const double value = ItemValue(one->itemType, one->item);
  GlobalUnlock(capability->container);
  char line[64];
  std::snprintf(line, sizeof line, "set %04x %g", capability->cap, value);
  Log(line);
  const int whole = static_cast<int>(value);
  switch (capability->cap) {
    case kIcapXferMech:
      if ((whole == kTwsxNative && s.settings.transfer == "memory") ||
          (whole == kTwsxMemory && s.settings.transfer == "native") ||
          (whole != kTwsxNative && whole != kTwsxMemory)) {
        return Fail(kTwccBadValue);
      }
      s.mechanism = static_cast<TwUInt16>(whole);
      return kTwrcSuccess;
    case kIcapPixelType:
      if (whole != kTwptBlackWhite) return Fail(kTwccBadValue);
      return kTwrcSuccess;
    case kIcapXResolution:
    case kIcapYResolution:
      if (std::find(std::begin(kResolutions), std::end(kResolutions), whole) ==
          std::end(kResolutions)) {
        return Fail(kTwccBadValue);
      }
      (capability->cap == kIcapXResolution ? s.xResolution : s.yResolution) = whole;
      return kTwrcSuccess;
    case kIcapBrightness:
      if (value < -1000 || value > 1000) return Fail(kTwccBadValue);
      s.brightness = value;
      return kTwrcSuccess;
    case kCapFeederEnabled: s.feeder = whole != 0; return kTwrcSuccess;
    case kCapDuplexEnabled: s.duplex = whole != 0; return kTwrcSuccess;
    case kCapXferCount: s.xferCount = static_cast<int16_t>(whole); return kTwrcSuccess;
    default: return Fail(kTwccCapUnsupported);
  }
}

// The settings screen: a window of its own, answered by the settings file
// (OK or closed) a moment after it shows.
void CALLBACK AnswerScreen(HWND window, UINT, UINT_PTR timer, DWORD) {
  KillTimer(window, timer);
  const bool ok = g_source.settings.screen == "ok";
  Log(ok ? "screen ok" : "screen closed");
  if (ok) {
    g_source.pending = Waiting();
    Notify(kMsgXferReady);
  } else {
    Notify(kMsgCloseDsReq);
  }
}

TwUInt16 Enable(const TwUserInterface* screen) {
  SourceState& s = g_source;
  FindSheets();
  s.transfers = 0;
  Log(std::string("enable screen=") + (screen->showUi ? "1" : "0"));
  if (screen->showUi) {
    s.screen = CreateWindowA("STATIC", "Sheetdesk Test Scanner", WS_POPUP | WS_CAPTION | WS_VISIBLE,
                             40, 40, 240, 120, static_cast<HWND>(screen->parent), nullptr,
                             nullptr, nullptr);
    SetTimer(s.screen, 1, 50, AnswerScreen);
    return kTwrcSuccess;
  }
  s.pending = Waiting();
  Notify(kMsgXferReady);
  return kTwrcSuccess;
}

bool LoadPage() {
  const std::string file = g_source.settings.folder + "\\" + g_source.sheets.front();
  std::ifstream in(file, std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (bytes.size() < 14 + sizeof(BITMAPINFOHEADER)) return false;
  g_source.page.assign(bytes.begin() + 14, bytes.end());
  auto* header = reinterpret_cast<BITMAPINFOHEADER*>(g_source.page.data());
  header->biXPelsPerMeter = MulDiv(g_source.xResolution, 10000, 254);
  header->biYPelsPerMeter = MulDiv(g_source.yResolution, 10000, 254);
  g_source.rowsSent = 0;
  return true;
}

// Starts a transfer: false, with the answer, when the feeder refuses it.
bool StartTransfer(TwUInt16* answer) {
  SourceState& s = g_source;
  if (s.pending <= 0 || s.sheets.empty()) {
    *answer = Fail(kTwccSeqError);
    return false;
  }
  if (s.inTransfer) return true;  // a memory transfer under way
  ++s.transfers;
  if (s.transfers == s.settings.jamAt) {
    Log("jam");
    *answer = Fail(kTwccPaperJam);
    return false;
  }
  if (s.transfers == s.settings.cancelAt) {
    Log("cancel");
    s.transferDone = false;
    *answer = kTwrcCancel;
    return false;
  }
  if (!LoadPage()) {
    *answer = Fail(kTwccOperationError);
    return false;
  }
  s.inTransfer = true;
  return true;
}

const BITMAPINFOHEADER& PageHeader() {
  return *reinterpret_cast<const BITMAPINFOHEADER*>(g_source.page.data());
}
size_t PageStride() {
  return ((static_cast<size_t>(PageHeader().biWidth) * PageHeader().biBitCount + 31) / 32) * 4;
}
size_t PageRows() { return static_cast<size_t>(std::abs(PageHeader().biHeight)); }
const uint8_t* PageRow(size_t y) {
  const BITMAPINFOHEADER& h = PageHeader();
  const size_t colours = h.biBitCount <= 8 ? (h.biClrUsed ? h.biClrUsed : 1u << h.biBitCount) : 0;
  const uint8_t* bits = g_source.page.data() + h.biSize + colours * sizeof(RGBQUAD);
  return bits + (h.biHeight > 0 ? PageRows() - 1 - y : y) * PageStride();
}

TwUInt16 NativeTransfer(HANDLE* dib) {
  TwUInt16 answer;
  if (!StartTransfer(&answer)) return answer;
  *dib = Container(g_source.page.data(), g_source.page.size());
  g_source.inTransfer = false;
  g_source.transferDone = true;
  Log("native page " + std::to_string(g_source.transfers));
  return kTwrcXferDone;
}

TwUInt16 ImageInfo(TwImageInfo* info) {
  if (g_source.pending <= 0 || g_source.sheets.empty()) return Fail(kTwccSeqError);
  if (!g_source.inTransfer && !LoadPage()) return Fail(kTwccOperationError);
  *info = {};
  info->xResolution = Fix32Of(g_source.xResolution);
  info->yResolution = Fix32Of(g_source.yResolution);
  info->imageWidth = PageHeader().biWidth;
  info->imageLength = static_cast<int32_t>(PageRows());
  info->samplesPerPixel = 1;
  info->bitsPerSample[0] = 1;
  info->bitsPerPixel = 1;
  info->pixelType = kTwptBlackWhite;
  return kTwrcSuccess;
}

TwUInt16 MemoryTransfer(TwImageMemXfer* strip) {
  SourceState& s = g_source;
  TwUInt16 answer;
  if (!StartTransfer(&answer)) return answer;
  const size_t stride = PageStride();
  const size_t rows = std::min(strip->memory.length / stride, PageRows() - s.rowsSent);
  if (rows == 0) return Fail(kTwccBadValue);
  auto* to = static_cast<uint8_t*>(strip->memory.memory);
  for (size_t row = 0; row < rows; ++row) {
    std::memcpy(to + row * stride, PageRow(s.rowsSent + row), stride);
  }
  strip->compression = 0;
  strip->bytesPerRow = static_cast<TwUInt32>(stride);
  strip->columns = PageHeader().biWidth;
  strip->rows = static_cast<TwUInt32>(rows);
  strip->xOffset = 0;
  strip->yOffset = static_cast<TwUInt32>(s.rowsSent);
  strip->bytesWritten = static_cast<TwUInt32>(rows * stride);
  s.rowsSent += rows;
  if (s.rowsSent < PageRows()) return kTwrcSuccess;
  s.inTransfer = false;
  s.transferDone = true;
  Log("memory page " + std::to_string(s.transfers));
  return kTwrcXferDone;
}

TwUInt16 EndTransfer(TwPendingXfers* pending) {
  SourceState& s = g_source;
  if (s.transferDone) {
    const std::string fed = s.settings.folder + "\\fed";
    CreateDirectoryA(fed.c_str(), nullptr);
    MoveFileA((s.settings.folder + "\\" + s.sheets.front()).c_str(),
              (fed + "\\" + s.sheets.front()).c_str());
    s.sheets.erase(s.sheets.begin());
    s.transferDone = false;
    --s.pending;
  }
  s.inTransfer = false;
  pending->count = static_cast<TwUInt16>(std::max(s.pending, 0));
  Log("end " + std::to_string(pending->count));
  return kTwrcSuccess;
}

TwUInt16 Control(TwIdentity* origin, TwUInt16 data, TwUInt16 message, void* payload) {
  SourceState& s = g_source;
  switch (data) {
    case kDatIdentity:
      if (message == kMsgGet || message == kMsgOpenDs) {
        auto* identity = static_cast<TwIdentity*>(payload);
        const TwUInt32 id = identity->id;
        *identity = {};
        identity->id = id;
        identity->version.majorNumber = 1;
        std::snprintf(identity->version.info, sizeof identity->version.info, "1.0");
        identity->protocolMajor = kTwainProtocolMajor;
        identity->protocolMinor = kTwainProtocolMinor;
        identity->supportedGroups = kDfAppOrDsGroups;
        std::snprintf(identity->manufacturer, sizeof identity->manufacturer, "sheetdesk");
        std::snprintf(identity->productFamily, sizeof identity->productFamily, "Test");
        std::snprintf(identity->productName, sizeof identity->productName, "%s", kProductName);
        if (message == kMsgOpenDs) {
          ReadSettings();
          s.self = *identity;
          s.application = *origin;
          s.open = true;
          s.xferCount = -1;
          s.mechanism = s.settings.transfer == "memory" ? kTwsxMemory : kTwsxNative;
          Log("open " + std::string(origin->productName));
        }
        return kTwrcSuccess;
      }
      if (message == kMsgCloseDs) {
        Log("close");
        s.open = false;
        return kTwrcSuccess;
      }
      return Fail(kTwccBadProtocol);
    case kDatCapability:
      if (message == kMsgGet || message == kMsgGetCurrent) {
        return GetCapability(static_cast<TwCapability*>(payload));
      }
      if (message == kMsgSet) return SetCapability(static_cast<TwCapability*>(payload));
      return Fail(kTwccBadProtocol);
    case kDatUserInterface:
      if (message == kMsgEnableDs) return Enable(static_cast<TwUserInterface*>(payload));
      if (message == kMsgDisableDs) {
        Log("disable");
        if (s.screen) DestroyWindow(s.screen);
        s.screen = nullptr;
        return kTwrcSuccess;
      }
      return Fail(kTwccBadProtocol);
    case kDatEvent: {
      auto* event = static_cast<TwEvent*>(payload);
      event->message = kMsgNull;
      return kTwrcNotDsEvent;
    }
    case kDatPendingXfers:
      if (message == kMsgEndXfer) return EndTransfer(static_cast<TwPendingXfers*>(payload));
      if (message == kMsgReset) {
        Log("reset");
        s.pending = 0;
        s.inTransfer = s.transferDone = false;
        static_cast<TwPendingXfers*>(payload)->count = 0;
        return kTwrcSuccess;
      }
      return Fail(kTwccBadProtocol);
    case kDatSetupMemXfer: {
      // Strips of a few rows, so a page takes several.
      auto* setup = static_cast<TwSetupMemXfer*>(payload);
      const TwUInt32 row = s.inTransfer || !s.page.empty() ? static_cast<TwUInt32>(PageStride()) : 64;
      *setup = {row, row * 16, row * 16};
      return kTwrcSuccess;
    }
    case kDatStatus: {
      auto* status = static_cast<TwStatus*>(payload);
      status->conditionCode = s.condition;
      s.condition = kTwccSuccess;
      return kTwrcSuccess;
    }
    default:
      return Fail(kTwccBadProtocol);
  }
}

}  // namespace

extern "C" TwUInt16 WINAPI DS_Entry(TwIdentity* origin, TwUInt32 group,
                                                         TwUInt16 data, TwUInt16 message,
                                                         void* payload) {
  if (group == kDgControl) return Control(origin, data, message, payload);
  if (group != kDgImage) return Fail(kTwccBadProtocol);
  switch (data) {
    case kDatImageNativeXfer: return NativeTransfer(static_cast<HANDLE*>(payload));
    case kDatImageInfo: return ImageInfo(static_cast<TwImageInfo*>(payload));
    case kDatImageMemXfer: return MemoryTransfer(static_cast<TwImageMemXfer*>(payload));
    default: return Fail(kTwccBadProtocol);
  }
}
